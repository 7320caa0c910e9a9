#include "app/StartupProbe.h"
#include "platform/AppPaths.h"
#include "platform/DesktopTheme.h"
#include "platform/Prompts.h"
#include "platform/toolbars/ToolIcons.h"
#include "common/DocumentRules.h"
#include "shell/MDIMain.h"
#include "common/Settings.h"

#include <QApplication>
#include <QElapsedTimer>

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Pinwright"));
    QApplication::setApplicationName(QStringLiteral("Pinwright"));
    QApplication::setApplicationVersion(QStringLiteral(PINWRIGHT_VERSION));
    // Every window, the editor windows' system menus included, shows the program's icon.
    QApplication::setWindowIcon(toolicons::application());
    desktoptheme::follow(app);

    Settings settings(AppPaths::fromApplication());
    QtPrompts prompts;
    MDIMain frame(settings, prompts);
    StartupProbe::install(&frame, sinceStart);
    frame.MDIForm_Load(docrules::commandLinePath(QApplication::arguments().mid(1)));
    return app.exec();
}
