// Keyboard and mouse: the pop-up list's keys, indent and outdent, the edit tools' states.
#include "editor/frmEditor.h"

#include "dialogs/frmGotoLine.h"
#include "editor/ColorTable.h"
#include "language/ReservedWords.h"
#include "language/SourceScan.h"
#include "platform/KeyCodes.h"
#include "platform/Prompts.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/ToolIds.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QTextEdit>

namespace {

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$' || c == u'%';
}

} // namespace

void frmEditor::View_KeyDown(int& KeyCode, int Shift) {
    // The key lists are Alt (4) times F9 to F12: 480, 484, 488 and 492.
    const int code = KeyCode * Shift;
    constexpr int first = int(keys::VK_F9) * keys::ShiftMaskAlt, last = int(keys::VK_F12) * keys::ShiftMaskAlt;
    if (code >= first && code <= last)
        ShowQuickList(qint16(code));
}

void frmEditor::View_KeyUp(int& KeyCode, int Shift) {
    Q_UNUSED(Shift);
    AppState& s = state_;
    SourceView& v = *View_;
    const int caret = v.CaretX();
    if (caret == 0 || caret == 1)
        return;
    int cls = 0, start = 0, length = 0;
    if (KeyCode == keys::VK_Space && s.QuickListMode == quicklists::OnStatement) {
        v.GetTokenAt(caret - 2, v.CaretY(), cls, start, length);
        if (cls == tokenclass::Symbol)
            s.StatementRow = 0;
    }
    if (KeyCode == keys::VK_Space) {
        if (s.QuickListMode == quicklists::OnDefine)
            s.QuickListMode = quicklists::WantOptions;
        else if (s.QuickListMode == quicklists::OnOption)
            s.QuickListMode = quicklists::WantValues;
        else if (s.QuickListMode == quicklists::OnStatement)
            s.QuickListMode = quicklists::WantArguments;
    }
    if (KeyCode == keys::VK_Return && s.QuickListMode != quicklists::Idle) {
        s.QuickListMode = quicklists::Idle;
        s.QuickListContext[1] = 0;
        List1_->hide();
    }
    if (KeyCode == keys::VK_OEM_1) {
        s.QuickListContext[1] = 0;
        if (s.QuickListMode == quicklists::OnStatement) {
            const Prompts::Answer a =
                s.prompts.message(this, QStringLiteral("Reserved Words Can Not Be Used As Labels!"),
                                  QStringLiteral("Error Line:") + text::Str(v.CaretY() + 1),
                                  Prompts::Buttons::OkCancel, Prompts::Icon::Exclamation);
            // Typing merges into one undo step, so the colon itself is taken out rather than undone.
            const int col = v.CaretX();
            if (a == Prompts::Answer::Ok && col > 0 && v.Document().GetLine(v.CaretY()).at(col - 1) == u':')
                v.Document().DeleteImpl(col - 1, v.CaretY(), col, v.CaretY());
        }
    }
    // The arrows have just moved the selection in the list: keep the user's choice.
    const bool listNavigation = KeyCode == keys::VK_Up || KeyCode == keys::VK_Down;
    if (List1_->isVisible() && listNavigation)
        return;
    if (List1_->isVisible()) {
        const int at = v.CaretX() - (KeyCode == keys::VK_Space ? 2 : 1);
        v.GetTokenAt(at, v.CaretY(), cls, start, length);
        const QString typed = v.Document().GetLine(v.CaretY()).mid(start, length).toUpper();
        int match = -1;
        for (int i = 0; i < List1_->count() && match < 0; ++i)
            if (!typed.isEmpty() && List1_->item(i)->text().toUpper().startsWith(typed))
                match = i;
        if (match < 0) {
            List1_->hide();
            v.Refresh();
        } else {
            List1_->setCurrentRow(match);
            if (KeyCode == keys::VK_Space)
                acceptEntry(start, v.CaretX());
        }
    }
    if (!List1_->isVisible())
        ShowQuickList(qint16(KeyCode));
}

void frmEditor::View_KeyPress(int& KeyAscii) {
    if (KeyAscii != keys::VK_Return || state_.QuickListMode != quicklists::Shown)
        return;
    if (List1_->isVisible() && List1_->currentRow() >= 0) {
        // The Enter that takes the entry also breaks the line, as it would without the list.
        acceptEntry(typedWordStart(), View_->CaretX());
    }
    hideQuickList();
}

int frmEditor::typedWordStart() const {
    const QString text = View_->Document().GetLine(View_->CaretY());
    int col = qMin(View_->CaretX(), int(text.size()));
    while (col > 0 && isWordChar(text.at(col - 1)))
        --col;
    return col;
}

void frmEditor::acceptEntry(int col1, int col2) {
    AppState& s = state_;
    SourceView& v = *View_;
    const QListWidgetItem* item = List1_->currentItem();
    const QString entry = item ? item->text() : QString();
    QString inserted;
    bool insert = item != nullptr;
    if (insert && s.ListMode == quicklists::InsertInclude && quicklists::isBrowseEntry(entry)) {
        QString chosen;
        insert = s.prompts.openFile(
            this, {QString(), QString(), QStringLiteral("Include Files (*.bas)|*.bas|All Files (*.*)|*.*|")},
            chosen);
        if (insert && chosen.isEmpty()) {
            s.prompts.message(this, QStringLiteral("No filename entered."), QStringLiteral("File Error"));
            insert = false;
        }
        if (insert) {
            const QString shortPath = GetShortPath(chosen);
            insert = !shortPath.isEmpty();
            inserted = u'"' + shortPath + u'"';
        }
    } else if (insert) {
        inserted = quicklists::insertedText(entry, s.ListMode);
    }
    const int line = v.CaretY();
    s.QuickListMode = quicklists::Idle;
    s.ListMode = 0;
    List1_->hide();
    if (insert)
        v.Document().InsertOverwrite(col1, line, col2, line, inserted);
    View_CaretMove(v.CaretX(), v.CaretY());
}

void frmEditor::List1_DblClick() {
    acceptEntry(View_->CaretX(), View_->CaretX());
}

void frmEditor::List1_GotFocus() {
    View_->SetFocus();
}

void frmEditor::View_ExecuteCommand(int& code) {
    if (code == SourceView::CmdIndent || code == SourceView::CmdOutdent) {
        View_->IndentLines(code == SourceView::CmdOutdent);
        code = 0;
        return;
    }
    if (code == SourceView::CmdGotoLine) {
        frmGotoLine dialog(frame_);
        dialog.exec();
        code = 0;
        return;
    }
    if (List1_->isVisible()) {
        const int row = List1_->currentRow();
        if (code == SourceView::CmdDown)
            List1_->setCurrentRow(qMin(row + 1, List1_->count() - 1));
        else if (code == SourceView::CmdUp)
            List1_->setCurrentRow(row - 1 >= 0 ? row - 1 : -1);
        else if (code == SourceView::CmdCancel)
            hideQuickList();
        if (code != SourceView::CmdLeft && code != SourceView::CmdRight && code != SourceView::CmdBackspace)
            code = 0;
        return;
    }
    if (state_.QuickListMode != quicklists::Idle && (code == SourceView::CmdUp || code == SourceView::CmdDown))
        state_.QuickListMode = quicklists::Idle;
}

void frmEditor::View_LinesChanged() {
    emit undoStateChanged();
}

void frmEditor::View_MouseUp(int Button, int Shift, int X, int Y) {
    int col = 0, line = 0, start = 0, length = 0;
    View_->HitTest(X, Y, col, line);
    View_->GetTokenAt(col, line, state_.MouseTokenClass, start, length);
    emit caretStateChanged();
    // A right click in the margin offers the margin styles, in the text the Edit menu.
    if (Button == 2)
        frame_.toolBars().PopupMenu(X < View_->MarginWidth() ? ids::ID_Options : ids::ID_Edit);
    // Ctrl+click on an INCLUDE line opens the file it names.
    if (Button == 1 && Shift == keys::ShiftMaskCtrl &&
        !sourcescan::includeName(View_->Document().GetLine(line)).isNull())
        if (const AppError err = frame_.openInclude(*this, line))
            frame_.ShowError(err);
}
