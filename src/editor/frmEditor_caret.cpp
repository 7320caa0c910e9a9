// Caret tracking: the status bar, the label section, the statement under the caret and the line scan.
#include "editor/frmEditor.h"

#include "editor/LabelWatch.h"
#include "language/SourceScan.h"
#include "language/StatementTable.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/LabelCombo.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"

#include <QListWidget>
#include <QTextEdit>

namespace {

// The line number the position text of panel 1 shows ("Line:  12 Col: 5" gives 12).
int shownLine(const QString& panel) {
    const int at = text::InStr(1, panel, QStringLiteral("Line:"));
    return text::ValInt(panel.mid(at + 7 - 1));
}

} // namespace

void frmEditor::tokenBefore(int col, int line, int& cls, int& start, int& length) const {
    View_->GetTokenAt(col > 0 ? col - 1 : col, line, cls, start, length);
    // Blanks are no word of their own: after "HIGH " or "DEFINE OSC " the caret still stands in that
    // statement, so the space that asks for its list finds the statement or option it follows.
    if (cls == tokenclass::Plain && length > 0 && start > 0 && col > 0)
        View_->GetTokenAt(start - 1, line, cls, start, length);
}

void frmEditor::enableCutCopy() {
    const bool selected = View_->TextSelected();
    frame_.toolBars().SetEnabled(QStringLiteral("ID_CUT"), selected);
    frame_.toolBars().SetEnabled(QStringLiteral("ID_COPY"), selected);
}

void frmEditor::View_CaretMove(int col, int line) {
    SourceView& v = *View_;
    SourceDocument& doc = v.Document();
    AppState& s = state_;

    if (s.PBPCodes.isProTable() != s.PBPMode) {
        InitPBPCodes();
        LoadReservedWords();
        v.Refresh();
    }
    enableCutCopy();

    int displayCol = 0, displayLine = 0;
    v.GetDisplayPos(col, line, displayCol, displayLine);
    v.PositionToPoint(col, line, s.CaretPointX, s.CaretPointY);
    int cls = 0, start = 0, length = 0;
    tokenBefore(col, line, cls, start, length);
    const int L = displayLine + 1;
    const int C = displayCol + 1;

    if (shownLine(frame_.PanelText(1)) != L) {
        s.QuickListMode = 0;
        List1_->hide();
        SyntaxHelp_->hide();
    }
    frame_.SetPanelText(1, QStringLiteral("Line: ") + text::Str(L) + QStringLiteral(" Col:") + text::Str(C));

    CheckForLabels(col, line);
    const int labelLine = doc.previousLineWhere(sourcescan::KindSlot, sourcescan::LabelLine, line);
    frame_.labelCombo().select(labelLine < 0 ? QString() : sourcescan::labelName(doc.GetLine(labelLine)));

    const QString word = doc.GetLine(line).mid(start, length);
    // F1 reads the help context: the statement's page on a statement, the contents elsewhere.
    v.SetHelpContextID(0);
    if (cls == 11) {
        s.QuickListMode = 0;
        List1_->hide();
        const int k = s.PBPCodes.findDefine(word);
        s.StatementRow = qint16(k);
        if (k > 0)
            s.QuickListMode = k == 1 ? 11 : 13;
    } else if (const int k = cls == 10 ? s.PBPCodes.findStatement(word) : 0; k > 0) {
        s.QuickListMode = -1;
        List1_->hide();
        s.StatementRow = qint16(k);
        s.QuickListContext = {0, k, start + 1, length, L};
        v.SetHelpContextID(StatementTable::helpContext(k, s.PBPMode));
        frame_.SetPanelText(2, s.PBPCodes.description(k));
        v.PositionToPoint(col, line, s.CaretPointX, s.CaretPointY);
        CheckForVariables(col, line);
        return;
    } else {
        if (cls == 10) {
            s.QuickListMode = 0;
            List1_->hide();
        }
        s.StatementRow = 0;
        if (SyntaxHelp_->isVisible())
            SyntaxHelp_->hide();
    }
    frame_.SetPanelText(2, QString());
    if (const labelcheck::Problem* problem = labels_->problemAt(line, col))
        frame_.SetPanelText(2, problem->message);

    if (doc.GetLineData(line, 1) == 1) {
        GetErrorDescription(L);
        frame_.toolBars().SetEnabled(ids::ID_ClearError, true);
    } else {
        frame_.toolBars().SetEnabled(ids::ID_ClearError, false);
    }
    CheckForVariables(col, line);
}
