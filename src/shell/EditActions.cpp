#include "shell/EditActions.h"

#include "common/ToolIds.h"
#include "editor/frmEditor.h"
#include "platform/ShellServices.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/LabelCombo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>

EditActions::EditActions(ActiveToolBars& bars, LabelCombo& labels, PanelWriter panels, QObject* parent)
    : QObject(parent), bars_(bars), labels_(labels), panels_(std::move(panels)),
      clipboardText_(shell::clipboardHoldsText()) {
    // Asking the clipboard can mean a round trip to another program: it is asked when it changes.
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        clipboardText_ = shell::clipboardHoldsText();
        showPaste();
    });
}

namespace {

// Document tools with no rule of their own: they follow the presence of a document.
const QList<const QString*>& plainTools() {
    static const QList<const QString*> tools = {
        &ids::ID_Close,           &ids::ID_Save,         &ids::ID_SaveAs,
        &ids::ID_ReopenEncoding,  &ids::ID_SaveEncoding, &ids::ID_Print,
        &ids::ID_SelectAll,       &ids::ID_SelectLine,   &ids::ID_SelectWord,
        &ids::ID_BackgroundColor, &ids::ID_Find,         &ids::ID_FindNext,
        &ids::ID_Replace,         &ids::ID_GotoLine,     &ids::ID_TBook,
        &ids::ID_Indent,          &ids::ID_Outdent,      &ids::ID_Compile,
        &ids::ID_Simulate,        &ids::ID_NoMargin,     &ids::ID_FixedMargin,
        &ids::ID_ScrollingMargin, &ids::ID_Device,       &ids::ID_GotoLabel,
    };
    return tools;
}

} // namespace

const QList<const QString*>& EditActions::documentTools() {
    // The plain ones and those the show*() rules below set.
    static const QList<const QString*> tools =
        plainTools() + QList<const QString*>{
                           &ids::ID_Undo,           &ids::ID_Redo,        &ids::ID_Cut,
                           &ids::ID_Copy,           &ids::ID_Paste,       &ids::ID_TokenColor,
                           &ids::ID_NBook,          &ids::ID_PBook,       &ids::ID_CBook,
                           &ids::ID_ClearError,     &ids::ID_NextError,   &ids::ID_PreviousError,
                           &ids::ID_ClearAllErrors, &ids::ID_OpenInclude,
                       };
    return tools;
}

void EditActions::setActive(QMdiSubWindow* window) {
    auto* editor = qobject_cast<frmEditor*>(window);
    if (editor == editor_ && !links_.isEmpty())
        return;
    for (const QMetaObject::Connection& c : std::as_const(links_))
        disconnect(c);
    links_.clear();
    editor_ = editor;
    if (editor) {
        links_ = {
            connect(editor, &frmEditor::caretStateChanged, this, &EditActions::showCaret),
            connect(editor, &frmEditor::undoStateChanged, this, &EditActions::showUndo),
            connect(editor, &frmEditor::selectionChanged, this, &EditActions::showSelection),
            connect(editor, &frmEditor::errorMarksChanged, this, &EditActions::showErrors),
            connect(editor, &frmEditor::labelsChanged, this, &EditActions::showLabels),
            connect(&editor->View().Document(), &SourceDocument::bookmarksChanged, this,
                    &EditActions::showBookmarks),
        };
    }
    refresh();
}

void EditActions::refresh() {
    bars_.SetRedraw(false);
    for (const QString* id : plainTools())
        enable(*id, editor_);
    showUndo();
    showPaste();
    showBookmarks();
    showErrors();
    showLabels();
    showCaret();
    showMarginStyle();
    bars_.SetRedraw(true);
}

void EditActions::showCaret() {
    panels_(1, editor_ ? editor_->positionText() : QString());
    panels_(2, editor_ ? editor_->statusText() : QString());
    labels_.select(editor_ ? editor_->labelAtCaret() : QString());
    enable(ids::ID_ClearError, editor_ && editor_->errorAtCaret());
    enable(ids::ID_OpenInclude, editor_ && editor_->includeAtCaret());
    showSelection();
    showTokenColor();
}

void EditActions::showUndo() {
    enable(ids::ID_Undo, editor_ && editor_->View().Document().CanUndo());
    enable(ids::ID_Redo, editor_ && editor_->View().Document().CanRedo());
}

void EditActions::showSelection() {
    const bool selected = editor_ && editor_->View().TextSelected();
    enable(ids::ID_Cut, selected);
    enable(ids::ID_Copy, selected);
}

void EditActions::showPaste() {
    enable(ids::ID_Paste, editor_ && clipboardText_);
}

void EditActions::showBookmarks() {
    const bool any = editor_ && editor_->View().Document().NumBookmarks() != 0;
    for (const QString* id : {&ids::ID_NBook, &ids::ID_PBook, &ids::ID_CBook})
        enable(*id, any);
}

void EditActions::showErrors() {
    const bool marked = editor_ && editor_->hasErrorMarks();
    for (const QString* id : {&ids::ID_ClearAllErrors, &ids::ID_NextError, &ids::ID_PreviousError})
        enable(*id, marked);
    enable(ids::ID_ClearError, editor_ && editor_->errorAtCaret());
}

void EditActions::showLabels() {
    labels_.setEntries(editor_ ? editor_->labels() : QStringList());
    labels_.select(editor_ ? editor_->labelAtCaret() : QString());
}

void EditActions::showTokenColor() {
    enable(ids::ID_TokenColor, editor_ && editor_->tokenColorable());
}

void EditActions::showMarginStyle() {
    const int style = editor_ ? editor_->View().MarginStyle() : -1;
    const QString* ids[] = {&ids::ID_NoMargin, &ids::ID_FixedMargin, &ids::ID_ScrollingMargin};
    for (int i = 0; i < 3; ++i)
        if (QAction* a = bars_.action(*ids[i]))
            a->setChecked(i == style);
}

void EditActions::enable(const QString& id, bool on) {
    if (bars_.Enabled(id) != on)
        bars_.SetEnabled(id, on);
}
