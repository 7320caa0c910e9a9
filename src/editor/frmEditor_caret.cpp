// Caret tracking: the status bar, the label section, the statement under the caret and the line scan.
#include "editor/frmEditor.h"

#include "common/AppState.h"
#include "editor/ColorTable.h"
#include "editor/LabelWatch.h"
#include "language/ReservedWords.h"
#include "language/SourceScan.h"
#include "language/StatementTable.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "toolchain/CaptureFile.h"

#include <QListWidget>
#include <QTextEdit>

void frmEditor::tokenBefore(int col, int line, int& cls, int& start, int& length) const {
    View_->GetTokenAt(col > 0 ? col - 1 : col, line, cls, start, length);
    // Blanks are no word of their own: after "HIGH " or "DEFINE OSC " the caret still stands in that
    // statement, so the space that asks for its list finds the statement or option it follows.
    if (cls == tokenclass::Plain && length > 0 && start > 0 && col > 0)
        View_->GetTokenAt(start - 1, line, cls, start, length);
}

QString frmEditor::positionText() const {
    int displayCol = 0, displayLine = 0;
    View_->GetDisplayPos(View_->CaretX(), View_->CaretY(), displayCol, displayLine);
    return QStringLiteral("Line: ") + text::Str(displayLine + 1) + QStringLiteral(" Col:") + text::Str(displayCol + 1);
}

void frmEditor::setStatusText(const QString& text) {
    if (statusText_ == text)
        return;
    statusText_ = text;
    emit caretStateChanged();
}

QString frmEditor::labelAtCaret() const {
    const SourceDocument& doc = View_->Document();
    const int line = doc.previousLineWhere(sourcescan::KindSlot, sourcescan::LabelLine, View_->CaretY());
    return line < 0 ? QString() : sourcescan::labelName(doc.GetLine(line));
}

bool frmEditor::errorAtCaret() const {
    return View_->Document().GetLineData(View_->CaretY(), capture::ErrorSlot) == capture::ErrorMark;
}

bool frmEditor::hasErrorMarks() const {
    const SourceDocument& doc = View_->Document();
    for (int line = 0; line < doc.NumLines(); ++line)
        if (doc.GetLineData(line, capture::ErrorSlot) == capture::ErrorMark)
            return true;
    return false;
}

bool frmEditor::includeAtCaret() const {
    return !sourcescan::includeName(View_->Document().GetLine(View_->CaretY())).isNull();
}

int frmEditor::caretTokenClass() const {
    // A caret just after a word still counts as on it.
    const int col = View_->CaretX(), line = View_->CaretY();
    int cls = 0, start = 0, length = 0;
    View_->GetTokenAt(col, line, cls, start, length);
    if (!colortable::isUserColoredClass(cls) && col > 0) {
        int before = 0;
        View_->GetTokenAt(col - 1, line, before, start, length);
        if (colortable::isUserColoredClass(before))
            cls = before;
    }
    return cls;
}

bool frmEditor::tokenColorable() const {
    return colortable::isUserColoredClass(state_.MouseTokenClass);
}

void frmEditor::View_CaretMove(int col, int line) {
    // The token at the caret is the one Token Color recolours, however the caret got there. A mouse
    // release sets it again from the point clicked.
    state_.MouseTokenClass = caretTokenClass();
    trackCaret(col, line);
    emit caretStateChanged();
}

void frmEditor::trackCaret(int col, int line) {
    SourceView& v = *View_;
    SourceDocument& doc = v.Document();
    AppState& s = state_;

    if (s.PBPCodes.isProTable() != s.PBPMode) {
        InitPBPCodes();
        LoadReservedWords();
        v.Refresh();
    }

    int displayCol = 0, displayLine = 0;
    v.GetDisplayPos(col, line, displayCol, displayLine);
    v.PositionToPoint(col, line, s.CaretPointX, s.CaretPointY);
    int cls = 0, start = 0, length = 0;
    tokenBefore(col, line, cls, start, length);
    const int L = displayLine + 1;

    if (caretLine_ != L) {
        s.QuickListMode = quicklists::Idle;
        List1_->hide();
        SyntaxHelp_->hide();
    }
    caretLine_ = L;

    CheckForLabels(col, line);

    const QString word = doc.GetLine(line).mid(start, length);
    // F1 reads the help context: the statement's page on a statement, the contents elsewhere.
    v.SetHelpContextID(0);
    if (cls == keywordclass::Define) {
        s.QuickListMode = quicklists::Idle;
        List1_->hide();
        const int k = s.PBPCodes.findDefine(word);
        s.StatementRow = qint16(k);
        if (k > 0)
            s.QuickListMode = k == 1 ? quicklists::OnDefine : quicklists::OnOption;
    } else if (const int k = cls == keywordclass::Statement ? s.PBPCodes.findStatement(word) : 0; k > 0) {
        s.QuickListMode = quicklists::OnStatement;
        List1_->hide();
        s.StatementRow = qint16(k);
        s.QuickListContext = {0, k, start + 1, length, L};
        v.SetHelpContextID(StatementTable::helpContext(k, s.PBPMode));
        statusText_ = s.PBPCodes.description(k);
        v.PositionToPoint(col, line, s.CaretPointX, s.CaretPointY);
        CheckForVariables(col, line);
        return;
    } else {
        if (cls == keywordclass::Statement) {
            s.QuickListMode = quicklists::Idle;
            List1_->hide();
        }
        s.StatementRow = 0;
        if (SyntaxHelp_->isVisible())
            SyntaxHelp_->hide();
    }
    statusText_.clear();
    if (const labelcheck::Problem* problem = labels_->problemAt(line, col))
        statusText_ = problem->message;

    if (doc.GetLineData(line, capture::ErrorSlot) == capture::ErrorMark)
        GetErrorDescription(L);
    CheckForVariables(col, line);
}
