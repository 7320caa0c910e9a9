// The command dispatcher and the commands that act on the active editor window.
#include "shell/MDIMain.h"

#include "editor/ColorTable.h"
#include "editor/frmEditor.h"
#include "platform/ActiveToolBars.h"
#include "platform/Colors.h"
#include "platform/Prompts.h"
#include "platform/ShellServices.h"
#include "platform/SourceView.h"
#include "shell/DocumentRules.h"
#include "shell/ToolIds.h"
#include "shell/WebLinks.h"

#include <QApplication>
#include <QClipboard>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>

void MDIMain::registerCommands() {
    commands_ = {
        {ids::ID_New, &MDIMain::cmdNew},
        {ids::ID_Open, &MDIMain::cmdOpen},
        {ids::ID_Close, &MDIMain::cmdClose},
        {ids::ID_Save, &MDIMain::cmdSave},
        {ids::ID_SaveAs, &MDIMain::cmdSaveAs},
        {ids::ID_Print, &MDIMain::cmdPrint},
        {ids::ID_File1, &MDIMain::cmdFile1},
        {ids::ID_File2, &MDIMain::cmdFile2},
        {ids::ID_File3, &MDIMain::cmdFile3},
        {ids::ID_File4, &MDIMain::cmdFile4},
        {ids::ID_Exit, &MDIMain::cmdExit},
        {ids::ID_Undo, &MDIMain::cmdUndo},
        {ids::ID_Redo, &MDIMain::cmdRedo},
        {ids::ID_Cut, &MDIMain::cmdCut},
        {ids::ID_Copy, &MDIMain::cmdCopy},
        {ids::ID_Paste, &MDIMain::cmdPaste},
        {ids::ID_SelectAll, &MDIMain::cmdSelectAll},
        {ids::ID_SelectLine, &MDIMain::cmdSelectLine},
        {ids::ID_SelectWord, &MDIMain::cmdSelectWord},
        {ids::ID_BackgroundColor, &MDIMain::cmdBackgroundColor},
        {ids::ID_TokenColor, &MDIMain::cmdTokenColor},
        {ids::ID_Find, &MDIMain::cmdFind},
        {ids::ID_FindNext, &MDIMain::cmdFindNext},
        {ids::ID_Replace, &MDIMain::cmdReplace},
        {ids::ID_GotoLine, &MDIMain::cmdGotoLine},
        {ids::ID_TBook, &MDIMain::cmdTBook},
        {ids::ID_NBook, &MDIMain::cmdNBook},
        {ids::ID_PBook, &MDIMain::cmdPBook},
        {ids::ID_CBook, &MDIMain::cmdCBook},
        {ids::ID_Indent, &MDIMain::cmdIndent},
        {ids::ID_Outdent, &MDIMain::cmdOutdent},
        {ids::ID_ClearError, &MDIMain::cmdClearError},
        {ids::ID_ClearAllErrors, &MDIMain::cmdClearAllErrors},
        {ids::ID_NextError, &MDIMain::cmdNextError},
        {ids::ID_PreviousError, &MDIMain::cmdPreviousError},
        {ids::ID_NoMargin, &MDIMain::cmdNoMargin},
        {ids::ID_FixedMargin, &MDIMain::cmdFixedMargin},
        {ids::ID_ScrollingMargin, &MDIMain::cmdScrollingMargin},
        {ids::ID_Compile, &MDIMain::cmdCompile},
        {ids::ID_CompilerOptions, &MDIMain::cmdCompilerOptions},
        {ids::ID_Epic, &MDIMain::cmdEpic},
        {ids::ID_ProgrammerOptions, &MDIMain::cmdProgrammerOptions},
        {ids::ID_Debug, &MDIMain::cmdDebug},
        {ids::ID_TileH, &MDIMain::cmdTileH},
        {ids::ID_TileV, &MDIMain::cmdTileV},
        {ids::ID_Cascade, &MDIMain::cmdCascade},
        {ids::ID_Arrange, &MDIMain::cmdArrange},
        {ids::ID_Edit, &MDIMain::cmdEdit},
        {ids::ID_HelpTopics, &MDIMain::cmdHelpTopics},
        {ids::ID_WhatsNew, &MDIMain::cmdWhatsNew},
        {ids::ID_About, &MDIMain::cmdAbout},
        {ids::ID_OrderOnline, &MDIMain::cmdOrderOnline},
        {ids::ID_ProductUpdates, &MDIMain::cmdProductUpdates},
        {ids::ID_BugReport, &MDIMain::cmdBugReport},
        {ids::ID_PinwrightHomePage, &MDIMain::cmdHomePage},
        {ids::ID_KorvanaSystemsHomePage, &MDIMain::cmdMakerHomePage},
    };
}

void MDIMain::SSActiveToolBars1_ToolClick(const QString& id) {
    // The clicked id is compared exactly, letter case included.
    if (const auto it = commands_.constFind(id); it != commands_.constEnd()) {
        const AppError e = (this->*it.value())();
        if (e && !e.isCancel()) {
            ShowError(e);
            return;
        }
    }
    if (id.contains(u'.'))
        activateWindowEntry(id);
}

AppError MDIMain::requireEditor(frmEditor*& w) const {
    w = activeEditor();
    return w ? AppError::none() : AppError::objectNotSet();
}

// --- enabling rules ---

void MDIMain::enableCutCopy(frmEditor* w) {
    const bool selected = w->View().TextSelected();
    SSActiveToolBars1->SetEnabled(QStringLiteral("ID_CUT"), selected);
    SSActiveToolBars1->SetEnabled(QStringLiteral("ID_COPY"), selected);
}

void MDIMain::enablePaste() {
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    SSActiveToolBars1->SetEnabled(QStringLiteral("ID_PASTE"), clip && clip->hasText());
}

void MDIMain::enableUndoRedo(frmEditor* w) {
    SSActiveToolBars1->SetEnabled(QStringLiteral("ID_REDO"), w->View().Document().CanRedo());
    SSActiveToolBars1->SetEnabled(QStringLiteral("ID_UNDO"), w->View().Document().CanUndo());
}

void MDIMain::enableBookmarks(frmEditor* w) {
    const bool any = w->View().Document().NumBookmarks() != 0;
    for (const char* id : {"ID_NBOOK", "ID_PBOOK", "ID_CBOOK"})
        SSActiveToolBars1->SetEnabled(QString::fromLatin1(id), any);
}

void MDIMain::disableErrorTools() {
    SSActiveToolBars1->SetRedraw(false);
    for (const QString* id : {&ids::ID_ClearAllErrors, &ids::ID_ClearError, &ids::ID_NextError, &ids::ID_PreviousError})
        SSActiveToolBars1->SetEnabled(*id, false);
    SSActiveToolBars1->SetRedraw(true);
}

// --- file commands ---

AppError MDIMain::cmdClose() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    if (w->SaveModified()) {
        // The save question has been answered; the unload must not ask again.
        w->View().Document().SetModified(false);
        w->close();
    }
    return {};
}

AppError MDIMain::cmdSave() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    AppError err;
    w->View().Document().SaveFile(w->View().Document().PathName(), &err);
    return err;
}

AppError MDIMain::cmdPrint() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().PrintText();
    return {};
}

AppError MDIMain::cmdExit() {
    close();
    return {};
}

// --- editing ---

AppError MDIMain::cmdUndo() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Document().Undo();
    enableUndoRedo(w);
    return {};
}

AppError MDIMain::cmdRedo() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Document().Redo();
    enableUndoRedo(w);
    return {};
}

AppError MDIMain::cmdCut() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Cut();
    enablePaste();
    return {};
}

AppError MDIMain::cmdCopy() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Copy();
    enablePaste();
    return {};
}

AppError MDIMain::cmdPaste() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Paste();
    enableUndoRedo(w);
    return {};
}

AppError MDIMain::cmdSelectAll() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    const int last = w->View().Document().NumLines() - 1;
    w->View().SetSel(0, 0, w->View().Document().GetLineLength(last), last);
    enableCutCopy(w);
    return {};
}

AppError MDIMain::cmdSelectLine() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    const int line = w->View().CaretY();
    w->View().SetSel(0, line, w->View().Document().GetLineLength(line), line);
    enableCutCopy(w);
    return {};
}

AppError MDIMain::cmdSelectWord() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().SelectWord();
    return {};
}

AppError MDIMain::cmdFind() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Find();
    return {};
}

AppError MDIMain::cmdFindNext() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().FindNext();
    return {};
}

AppError MDIMain::cmdReplace() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().Replace();
    return {};
}

AppError MDIMain::cmdGotoLine() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().ExecuteCommand(39);
    return {};
}

AppError MDIMain::cmdIndent() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().ExecuteCommand(43);
    return {};
}

AppError MDIMain::cmdOutdent() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().ExecuteCommand(44);
    return {};
}

// --- bookmarks ---

AppError MDIMain::cmdTBook() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().ExecuteCommand(6);
    enableBookmarks(w);
    return {};
}

AppError MDIMain::cmdNBook() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    if (w->View().Document().NumBookmarks() != 0)
        w->View().ExecuteCommand(4);
    return {};
}

AppError MDIMain::cmdPBook() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    if (w->View().Document().NumBookmarks() != 0)
        w->View().ExecuteCommand(5);
    return {};
}

AppError MDIMain::cmdCBook() {
    for (const char* id : {"ID_NBOOK", "ID_PBOOK", "ID_CBOOK"})
        SSActiveToolBars1->SetEnabled(QString::fromLatin1(id), false);
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    if (w->View().Document().NumBookmarks() != 0)
        w->View().ExecuteCommand(1);
    return {};
}

// --- error marks ---

AppError MDIMain::cmdClearError() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    SourceDocument& doc = w->View().Document();
    const int line = w->View().CaretY();
    if (doc.GetLineData(line, 1) != 1)
        return {};
    doc.SetLineData(line, 1, 0);
    SSActiveToolBars1->SetEnabled(ids::ID_ClearError, false);
    w->View().Refresh();
    SetPanelText(2, QString());
    for (int i = 0; i < doc.NumLines(); ++i)
        if (doc.GetLineData(i, 1) == 1)
            return {};
    disableErrorTools();
    w->View().Refresh();
    return {};
}

AppError MDIMain::cmdClearAllErrors() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    SourceDocument& doc = w->View().Document();
    bool changed = false;
    for (int i = 0; i < doc.NumLines(); ++i)
        if (doc.GetLineData(i, 1) == 1) {
            doc.SetLineData(i, 1, 0);
            changed = true;
        }
    if (changed)
        w->View().Refresh();
    disableErrorTools();
    SetPanelText(2, QString());
    return {};
}

AppError MDIMain::cmdNextError() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    SourceDocument& doc = w->View().Document();
    const int line = docrules::nextMarkedLine(w->View().CaretY(), doc.NumLines(),
                                              [&doc](int l) { return doc.GetLineData(l, 1) == 1; });
    if (line >= 0)
        w->View().MoveCaret(0, line);
    return {};
}

AppError MDIMain::cmdPreviousError() {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    SourceDocument& doc = w->View().Document();
    const int line = docrules::previousMarkedLine(w->View().CaretY(), doc.NumLines(),
                                                  [&doc](int l) { return doc.GetLineData(l, 1) == 1; });
    if (line >= 0)
        w->View().MoveCaret(0, line);
    return {};
}

AppError MDIMain::cmdMargin(int style) {
    frmEditor* w = nullptr;
    if (AppError e = requireEditor(w))
        return e;
    w->View().SetMarginStyle(style);
    return {};
}

// --- colours ---

AppError MDIMain::cmdBackgroundColor() {
    QColor chosen;
    frmEditor* active = activeEditor();
    const QColor initial = active ? colors::toQColor(active->View().BackColor()) : QColor(Qt::white);
    if (!state_.prompts.chooseColor(this, initial, chosen))
        return AppError::cancelled();
    const qint32 c = colors::fromQColor(chosen);
    const QList<frmEditor*> windows = editors();
    for (frmEditor* w : windows) {
        w->View().SetBackColor(c);
        w->View().SetTextBackColor(c);
    }
    for (int cls = 0; cls <= 15; ++cls)
        for (frmEditor* w : windows)
            w->View().TokenInfo().SetBackgroundColor(cls, c, true);
    for (frmEditor* w : windows)
        w->View().Refresh();
    return {};
}

AppError MDIMain::cmdTokenColor() {
    QColor chosen;
    if (!state_.prompts.chooseColor(this, Qt::black, chosen))
        return AppError::cancelled();
    const qint32 c = colors::fromQColor(chosen);
    const QList<frmEditor*> windows = editors();
    if (colortable::isUserColoredClass(state_.MouseTokenClass)) {
        for (frmEditor* w : windows) {
            w->View().TokenInfo().SetForegroundColor(state_.MouseTokenClass, c, 1);
            w->View().PrintTokenInfo().SetForegroundColor(state_.MouseTokenClass, c, 1);
        }
    }
    for (frmEditor* w : windows)
        w->View().Refresh();
    state_.MouseTokenClass = 0;
    return {};
}

AppError MDIMain::cmdEdit() {
    if (state_.MouseTokenClass == 0)
        SSActiveToolBars1->SetEnabled(ids::ID_TokenColor, false);
    return {};
}

// --- windows ---

AppError MDIMain::cmdTileH() {
    // Horizontal tiles: each window as wide as the area, stacked from top to bottom.
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : windows)
        if (!w->isMinimized() && w->isVisible())
            shown << w;
    if (shown.isEmpty())
        return {};
    const QRect area = mdiArea_->viewport()->rect();
    const int h = area.height() / int(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(0, i * h, area.width(), h);
    }
    return {};
}

AppError MDIMain::cmdTileV() {
    // Vertical tiles: each window as tall as the area, side by side from left to right.
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    QList<QMdiSubWindow*> shown;
    for (QMdiSubWindow* w : windows)
        if (!w->isMinimized() && w->isVisible())
            shown << w;
    if (shown.isEmpty())
        return {};
    const QRect area = mdiArea_->viewport()->rect();
    const int wd = area.width() / int(shown.size());
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(i * wd, 0, wd, area.height());
    }
    return {};
}

AppError MDIMain::cmdCascade() {
    mdiArea_->cascadeSubWindows();
    return {};
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

// --- help and links ---

void MDIMain::ShellOpen(const QString& target) {
    if (!shell::openWithDesktop(target))
        state_.prompts.message(this, QStringLiteral("Unable to launch application."));
}

AppError MDIMain::cmdOrderOnline() {
    ShellOpen(weblinks::OrderOnline);
    return {};
}

AppError MDIMain::cmdProductUpdates() {
    ShellOpen(weblinks::ProductUpdates);
    return {};
}

AppError MDIMain::cmdBugReport() {
    ShellOpen(weblinks::BugReport);
    return {};
}

AppError MDIMain::cmdHomePage() {
    ShellOpen(weblinks::PinwrightHomePage);
    return {};
}

AppError MDIMain::cmdMakerHomePage() {
    ShellOpen(weblinks::MakerHomePage);
    return {};
}
