#include "app/StartupProbe.h"
#include "platform/AppPaths.h"
#include "platform/DesktopTheme.h"
#include "platform/FrameStyle.h"
#include "platform/Prompts.h"
#include "platform/toolbars/ToolIcons.h"
#include "common/DocumentRules.h"
#include "shell/MDIMain.h"
#include "common/Settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStyle>

#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char** argv) {
#ifdef __GLIBC__
    // Blocks of 256 KB and more (a file's text, its line records) get pages of their own, returned
    // when freed. glibc would otherwise raise that limit to the largest block freed so far and carve
    // the next big blocks out of the heap: growing a file's text by one typed line then copies it all
    // to a new place and leaves the old one resident as a hole (2 MB at 100,000 lines).
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pinwright"));
    QApplication::setApplicationName(QStringLiteral("Pinwright"));
    QApplication::setApplicationVersion(QStringLiteral(PINWRIGHT_VERSION));
    // Every window, the editor windows' system menus included, shows the program's icon.
    QApplication::setWindowIcon(toolicons::application());
    QApplication::setStyle(new FrameStyle(QApplication::style()->name()));
    desktoptheme::follow(app);

    Settings settings(AppPaths::fromApplication());
    QtPrompts prompts;
    MDIMain frame(settings, prompts);
    StartupProbe::install(&frame, sinceStart);
    frame.MDIForm_Load(docrules::commandLinePath(QApplication::arguments().mid(1)));
    return app.exec();
}
