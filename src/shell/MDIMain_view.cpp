// The view: the code explorer panel, the zoom of the editors' font, and Open Include.
#include "shell/MDIMain.h"

#include "toolchain/IncludeFiles.h"
#include "editor/frmEditor.h"
#include "language/SourceScan.h"
#include "platform/Prompts.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/CodeExplorer.h"
#include "common/DocumentRules.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QAction>
#include <QMdiArea>

namespace {

const struct {
    Qt::DockWidgetArea area;
    const char* name;
} Sides[] = {{Qt::LeftDockWidgetArea, "Left"},
             {Qt::RightDockWidgetArea, "Right"},
             {Qt::TopDockWidgetArea, "Top"},
             {Qt::BottomDockWidgetArea, "Bottom"}};

Qt::DockWidgetArea sideNamed(const QString& name) {
    for (const auto& s : Sides)
        if (name.compare(QLatin1StringView(s.name), Qt::CaseInsensitive) == 0)
            return s.area;
    return Qt::LeftDockWidgetArea;
}

} // namespace

void MDIMain::buildCodeExplorer() {
    explorer_ = new CodeExplorer(*this);
    explorer_->hide();
    addDockWidget(sideNamed(settings_.read(settings::view::CodeExplorerSide)), explorer_);
    connect(explorer_, &CodeExplorer::closedByUser, this, [this] { setCodeExplorerShown(false); });
    connect(explorer_, &QDockWidget::dockLocationChanged, this, [this](Qt::DockWidgetArea area) {
        for (const auto& s : Sides)
            if (s.area == area)
                settings_.save(settings::view::CodeExplorerSide, QString::fromLatin1(s.name));
    });
    setCodeExplorerShown(settings_.read(settings::view::CodeExplorer) == QLatin1String("1"));
}

void MDIMain::setCodeExplorerShown(bool shown) {
    explorer_->setVisible(shown);
    SSActiveToolBars1->action(ids::ID_CodeExplorer)->setChecked(shown);
    settings_.save(settings::view::CodeExplorer, shown ? QStringLiteral("1") : QStringLiteral("0"));
}

void MDIMain::setEditorZoom(int points) {
    for (frmEditor* w : editors())
        w->View().SetZoom(points);
    // The size the editors could take, which may be less than asked for.
    if (frmEditor* w = activeEditor())
        points = w->View().Zoom();
    settings_.save(settings::view::EditorZoom, QString::number(points));
}

AppError MDIMain::openInclude(frmEditor& w, int line) {
    const QString name = sourcescan::includeName(w.View().Document().GetLine(line));
    if (name.isNull())
        return {};
    const QStringList folders = includefiles::searchFolders(
        w.View().Document().PathName(), settings_.read(settings::startup::CompilerPathName));
    const QString path = includefiles::find(name, folders);
    if (path.isEmpty()) {
        state_.prompts.message(this, includefiles::notFoundMessage(name, folders), QString(),
                               Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
        return {};
    }
    for (frmEditor* open : editors())
        if (docrules::sameFile(open->caption(), path)) {
            mdiArea_->setActiveSubWindow(open);
            open->View().SetFocus();
            return {};
        }
    return openChosenFile(path);
}

bool MDIMain::printLineNumbers() const {
    return settings_.read(settings::print::LineNumbers) == QLatin1String("1");
}

void MDIMain::setPrintLineNumbers(bool on) {
    SSActiveToolBars1->action(ids::ID_PrintLineNumbers)->setChecked(on);
    settings_.save(settings::print::LineNumbers, on ? QStringLiteral("1") : QStringLiteral("0"));
}
