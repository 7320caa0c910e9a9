// The command dispatcher and the commands that act on the active editor window.
#include "shell/MDIMain.h"

#include "common/Settings.h"
#include "toolchain/CaptureFile.h"
#include "toolchain/frmProgrammer.h"
#include "editor/ColorTable.h"
#include "editor/frmEditor.h"
#include "language/HelpPages.h"
#include "platform/Colors.h"
#include "platform/HelpViewer.h"
#include "platform/Prompts.h"
#include "platform/ShellServices.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/CodeExplorer.h"
#include "common/DocumentRules.h"
#include "shell/EditActions.h"
#include "common/ToolIds.h"
#include "shell/WebLinks.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTabBar>

void MDIMain::registerCommands() {
    auto none = [](auto&& action) {
        return [action](auto&&... args) {
            action(args...);
            return AppError();
        };
    };
    auto link = [this](const QString& address) {
        return [this, address] {
            ShellOpen(address);
            return AppError();
        };
    };
    commands_ = {
        {ids::ID_New, [this] { return cmdNew(); }},
        {ids::ID_Open, [this] { return cmdOpen(); }},
        {ids::ID_File1, [this] { return cmdRecent(1); }},
        {ids::ID_File2, [this] { return cmdRecent(2); }},
        {ids::ID_File3, [this] { return cmdRecent(3); }},
        {ids::ID_File4, [this] { return cmdRecent(4); }},
        {ids::ID_Exit, none([this] { close(); })},
        {ids::ID_BackgroundColor, [this] { return cmdBackgroundColor(); }},
        {ids::ID_TokenColor, [this] { return cmdTokenColor(); }},
        {ids::ID_CBook, [this] { return cmdClearBookmarks(); }},
        {ids::ID_CodeExplorer, none([this] { setCodeExplorerShown(explorer_->isHidden()); })},
        {ids::ID_PrintLineNumbers, none([this] { setPrintLineNumbers(!printLineNumbers()); })},
        {ids::ID_CompilerOptions, [this] { return cmdCompilerOptions(); }},
        {ids::ID_StopSimulation, [this] { return cmdStopSimulation(); }},
        {ids::ID_SimulatorOptions, [this] { return cmdSimulatorOptions(); }},
        {ids::ID_Epic, none([this] { RunProgrammer(*this); })},
        {ids::ID_ProgrammerOptions, [this] { return cmdProgrammerOptions(); }},
        {ids::ID_Debug, [this] { return cmdDebug(); }},
        {ids::ID_TileH, [this] { return cmdTile(true); }},
        {ids::ID_TileV, [this] { return cmdTile(false); }},
        {ids::ID_Cascade, [this] { return cmdCascade(); }},
        {ids::ID_Arrange, [this] { return cmdArrange(); }},
        {ids::ID_HelpTopics, none([this] { help_->ShowHelpContents(); })},
        {ids::ID_StatementHelp, none([this] {
             // The caret handler keeps the help context of the statement under the caret (0 elsewhere).
             frmEditor* w = activeEditor();
             const int context = w ? w->View().HelpContextID() : 0;
             if (context > 0)
                 help_->ShowHelpTopic(context);
             else
                 help_->ShowHelpContents();
         })},
        {ids::ID_WhatsNew, none([this] { help_->ShowHelpTopic(HelpPages::WhatsNewContext); })},
        {ids::ID_About, [this] { return cmdAbout(); }},
        {ids::ID_OrderOnline, link(weblinks::OrderOnline)},
        {ids::ID_ProductUpdates, link(weblinks::ProductUpdates)},
        {ids::ID_BugReport, link(weblinks::BugReport)},
        {ids::ID_PinwrightHomePage, link(weblinks::PinwrightHomePage)},
        {ids::ID_KorvanaSystemsHomePage, link(weblinks::MakerHomePage)},
    };
    auto control = [none](int code) { return none([code](frmEditor& w) { w.View().ExecuteCommand(code); }); };
    auto margin = [none, this](int style) {
        return none([style, this](frmEditor& w) {
            w.View().SetMarginStyle(style);
            editActions_->showMarginStyle();
        });
    };
    // Without a window there is nothing to zoom, which is no error.
    auto zoom = [none, this](int code) {
        return none([this, code] {
            if (frmEditor* w = activeEditor())
                w->View().ExecuteCommand(code);
        });
    };
    commands_.insert(ids::ID_ZoomIn, zoom(SourceView::CmdZoomIn));
    commands_.insert(ids::ID_ZoomOut, zoom(SourceView::CmdZoomOut));
    commands_.insert(ids::ID_ZoomReset, zoom(SourceView::CmdZoomReset));
    editorCommands_ = {
        {ids::ID_OpenInclude, [this](frmEditor& w) { return openInclude(w, w.View().CaretY()); }},
        {ids::ID_Close, [this](frmEditor& w) { return cmdClose(w); }},
        {ids::ID_Save,
         [this](frmEditor& w) {
             const int tab = TaskBar_->currentIndex();
             const AppError err = saveDocument(w, w.View().Document().PathName());
             // A new document whose folder could not be made went to the home folder.
             if (!err && w.View().Document().PathName() != w.caption())
                 showRenamed(w, tab);
             return err;
         }},
        {ids::ID_SaveAs, [this](frmEditor& w) { return cmdSaveAs(w); }},
        {ids::ID_ReopenEncoding, [this](frmEditor& w) { return cmdReopenWithEncoding(w); }},
        {ids::ID_SaveEncoding, [this](frmEditor& w) { return cmdSaveWithEncoding(w); }},
        {ids::ID_Print, none([this](frmEditor& w) {
             w.View().SetPrintLineNumbers(printLineNumbers());
             w.View().PrintText();
         })},
        {ids::ID_Undo, none([](frmEditor& w) { w.View().Document().Undo(); })},
        {ids::ID_Redo, none([](frmEditor& w) { w.View().Document().Redo(); })},
        {ids::ID_Cut, none([](frmEditor& w) { w.View().Cut(); })},
        {ids::ID_Copy, none([](frmEditor& w) { w.View().Copy(); })},
        {ids::ID_Paste, none([](frmEditor& w) { w.View().Paste(); })},
        {ids::ID_SelectAll, [this](frmEditor& w) { return cmdSelectLines(w, true); }},
        {ids::ID_SelectLine, [this](frmEditor& w) { return cmdSelectLines(w, false); }},
        {ids::ID_SelectWord, none([](frmEditor& w) { w.View().SelectWord(); })},
        {ids::ID_Find, none([](frmEditor& w) { w.View().Find(); })},
        {ids::ID_FindNext, none([](frmEditor& w) { w.View().FindNext(); })},
        {ids::ID_Replace, none([](frmEditor& w) { w.View().Replace(); })},
        {ids::ID_GotoLine, control(SourceView::CmdGotoLine)},
        {ids::ID_Indent, control(SourceView::CmdIndent)},
        {ids::ID_Outdent, control(SourceView::CmdOutdent)},
        {ids::ID_TBook, [this](frmEditor& w) { return cmdBookmark(w, SourceView::CmdToggleBookmark); }},
        {ids::ID_NBook, [this](frmEditor& w) { return cmdBookmark(w, SourceView::CmdNextBookmark); }},
        {ids::ID_PBook, [this](frmEditor& w) { return cmdBookmark(w, SourceView::CmdPreviousBookmark); }},
        {ids::ID_ClearError, none([](frmEditor& w) { w.ClearError(); })},
        {ids::ID_ClearAllErrors, none([](frmEditor& w) { w.ClearAllErrors(); })},
        {ids::ID_NextError, [this](frmEditor& w) { return cmdGotoError(w, true); }},
        {ids::ID_PreviousError, [this](frmEditor& w) { return cmdGotoError(w, false); }},
        {ids::ID_NoMargin, margin(0)},
        {ids::ID_FixedMargin, margin(1)},
        {ids::ID_ScrollingMargin, margin(2)},
        {ids::ID_Compile, [this](frmEditor& w) { return cmdCompile(w); }},
        {ids::ID_Simulate, [this](frmEditor& w) { return cmdSimulate(w); }},
    };
}

void MDIMain::SSActiveToolBars1_ToolClick(const QString& id) {
    // The clicked id is compared exactly, letter case included.
    AppError error;
    if (const auto it = commands_.constFind(id); it != commands_.constEnd()) {
        error = (*it)();
    } else if (const auto ed = editorCommands_.constFind(id); ed != editorCommands_.constEnd()) {
        frmEditor* w = activeEditor();
        error = w ? (*ed)(*w) : AppError::objectNotSet();
    }
    if (error) {
        // A cancelled dialog ends its command silently.
        if (!error.isCancel())
            ShowError(error);
        return;
    }
    if (id.contains(u'.'))
        activateWindowEntry(id);
    // A save may have created or renamed a document's file.
    if (id == ids::ID_Save || id == ids::ID_SaveAs || id == ids::ID_Compile || id == ids::ID_SaveEncoding) {
        watchDocuments();
        showReadOnly();
    }
    showEncoding();
}

// --- text and marks ---

AppError MDIMain::cmdClose(frmEditor& w) {
    if (w.SaveModified()) {
        // The question has been answered; the window's own unload must not ask it again.
        w.View().Document().SetModified(false);
        w.close();
    }
    return {};
}

AppError MDIMain::cmdSelectLines(frmEditor& w, bool all) {
    const SourceDocument& doc = w.View().Document();
    const int first = all ? 0 : w.View().CaretY();
    const int last = all ? doc.NumLines() - 1 : first;
    w.View().SetSel(0, first, doc.GetLineLength(last), last);
    editActions_->refresh();
    return {};
}

AppError MDIMain::cmdBookmark(frmEditor& w, int code) {
    if (code == SourceView::CmdToggleBookmark) {
        w.View().ExecuteCommand(code);
    } else if (w.View().Document().NumBookmarks() != 0) {
        w.View().ExecuteCommand(code);
    }
    return {};
}

AppError MDIMain::cmdClearBookmarks() {
    frmEditor* w = activeEditor();
    if (!w)
        return AppError::objectNotSet();
    if (w->View().Document().NumBookmarks() != 0)
        w->View().ExecuteCommand(SourceView::CmdClearBookmarks);
    return {};
}

AppError MDIMain::cmdGotoError(frmEditor& w, bool next) {
    SourceDocument& doc = w.View().Document();
    const auto marked = [&doc](int l) { return doc.GetLineData(l, capture::ErrorSlot) == capture::ErrorMark; };
    const int caret = w.View().CaretY();
    const int line = next ? docrules::nextMarkedLine(caret, doc.NumLines(), marked)
                          : docrules::previousMarkedLine(caret, doc.NumLines(), marked);
    if (line >= 0)
        w.View().MoveCaret(0, line);
    return {};
}

// --- colours over every window ---

// Both commands write the store first and every open window then takes its colours from it, so the
// windows open now and those opened later show the same.
AppError MDIMain::cmdBackgroundColor() {
    QColor chosen;
    frmEditor* active = activeEditor();
    const QColor initial = active ? colors::toQColor(active->View().BackColor()) : QColor(Qt::white);
    const Prompts::ColorChoice choice = state_.prompts.chooseColor(this, initial, chosen);
    if (choice == Prompts::ColorChoice::Cancelled)
        return AppError::cancelled();
    const settings::Key& key = settings::colors::svBackGround;
    state_.settings.save(key, choice == Prompts::ColorChoice::Default ? QString::fromLatin1(key.value)
                                                                      : QString::number(colors::fromQColor(chosen)));
    recolorEditors();
    return {};
}

AppError MDIMain::cmdTokenColor() {
    const colortable::Row* row = colortable::rowOf(state_.MouseTokenClass);
    frmEditor* active = activeEditor();
    const QColor initial = row && active ? active->View().TokenInfo().foreground(row->tokenClass, Qt::black)
                                         : QColor(Qt::black);
    QColor chosen;
    const Prompts::ColorChoice choice = state_.prompts.chooseColor(this, initial, chosen);
    if (choice == Prompts::ColorChoice::Cancelled)
        return AppError::cancelled();
    if (row) {
        // The stock colour is stored as the declared one; an own colour equal to it is vouched for.
        const bool own = choice == Prompts::ColorChoice::Chosen;
        const qint32 c = own ? colors::fromQColor(chosen) : colortable::lightDefault(*row);
        const QString before = state_.settings.read(settings::colors::OwnColors);
        const QString after = colortable::vouched(before, *row, colortable::needsVouching(*row, c, own));
        state_.settings.save(row->key, QString::number(c));
        if (after != before)
            state_.settings.save(settings::colors::OwnColors, after);
        recolorEditors();
    }
    state_.MouseTokenClass = 0;
    return {};
}

void MDIMain::recolorEditors() {
    for (frmEditor* w : editors()) {
        w->applyColors();
        w->View().Refresh();
    }
}

// --- windows ---

QList<QMdiSubWindow*> MDIMain::arrangedWindows() const {
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : mdiArea_->subWindowList(QMdiArea::CreationOrder))
        if (!w->isMinimized() && w->isVisible())
            shown << w;
    return shown;
}

AppError MDIMain::cmdTile(bool horizontal) {
    // Horizontal tiles are as wide as the area and stacked from the top; vertical ones are as tall as
    // the area and stand side by side.
    QList<QMdiSubWindow*> shown = arrangedWindows();
    if (shown.isEmpty())
        return {};
    const QRect area = mdiArea_->viewport()->rect();
    const int n = int(shown.size());
    for (int i = 0; i < n; ++i) {
        shown[i]->showNormal();
        if (horizontal)
            shown[i]->setGeometry(0, i * (area.height() / n), area.width(), area.height() / n);
        else
            shown[i]->setGeometry(i * (area.width() / n), 0, area.width() / n, area.height());
    }
    return {};
}

AppError MDIMain::cmdCascade() {
    // Each window two thirds of the area, each next one a title bar lower and further right, back at
    // the top left when it would leave the area; the window in front stays in front.
    QList<QMdiSubWindow*> shown = arrangedWindows();
    if (shown.isEmpty())
        return {};
    QMdiSubWindow* active = mdiArea_->activeSubWindow();
    if (active && shown.removeOne(active))
        shown << active;
    const QRect area = mdiArea_->viewport()->rect();
    const QSize size(std::max(area.width() * 2 / 3, 1), std::max(area.height() * 2 / 3, 1));
    QStyleOptionTitleBar bar;
    bar.initFrom(shown[0]);
    const int step = std::max(shown[0]->style()->pixelMetric(QStyle::PM_TitleBarHeight, &bar, shown[0]), 8);
    const int places =
        std::max(std::min(area.width() - size.width(), area.height() - size.height()) / step, 0) + 1;
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(QRect(QPoint(step, step) * (i % places), size));
        shown[i]->raise();
    }
    if (active)
        mdiArea_->setActiveSubWindow(active);
    return {};
}

void MDIMain::installWindowKeys() {
    // The usual keys of a multiple-document program: next and previous window in the order of the tabs.
    const struct {
        QKeySequence key;
        int step;
    } keys[] = {{QKeySequence(Qt::CTRL | Qt::Key_F6), 1},
                {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), -1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
                {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1}};
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(k.key, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = k.step] { switchWindow(step); });
    }
}

void MDIMain::switchWindow(int step) {
    const int count = TaskBar_->count();
    if (count == 0)
        return;
    const int to = ((TaskBar_->currentIndex() + step) % count + count) % count;
    const QString caption = text::Trim(TaskBar_->tabText(to));
    for (frmEditor* w : editors())
        if (w->caption() == caption) {
            if (w->isMinimized())
                w->showNormal();
            mdiArea_->setActiveSubWindow(w);
            return;
        }
}

AppError MDIMain::cmdArrange() {
    // Minimised windows line up along the bottom of the area, left to right.
    const QRect area = mdiArea_->viewport()->rect();
    int x = 0;
    int y = area.bottom();
    for (QMdiSubWindow* w : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize s = w->size();
        if (x + s.width() > area.width() && x > 0) {
            x = 0;
            y -= s.height();
        }
        w->move(x, y - s.height() + 1);
        x += s.width();
    }
    return {};
}

void MDIMain::activateWindowEntry(const QString& id) {
    const QString caption = docrules::windowEntryCaption(id);
    for (frmEditor* w : editors())
        if (w->caption() == caption)
            mdiArea_->setActiveSubWindow(w);
}

// --- links ---

void MDIMain::ShellOpen(const QString& target) {
    if (!shell::openWithDesktop(target))
        state_.prompts.message(this, QStringLiteral("Unable to launch application."));
}
