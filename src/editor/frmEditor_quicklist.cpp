// The quick pop-up list List1 and the syntax line SyntaxHelp.
#include "editor/frmEditor.h"

#include "language/SourceScan.h"
#include "platform/KeyCodes.h"
#include "platform/Reports.h"
#include "platform/TextHelpers.h"
#include "platform/sourceview/SourceView.h"
#include "common/AppState.h"
#include "common/FrameServices.h"

#include <QListWidget>
#include <QTextEdit>

using namespace quicklists;

namespace {

constexpr int ListWidth = 127;
constexpr int ListDrop = 40;     // the list's top below the caret line's top
constexpr int SyntaxRight = 5;   // the syntax line's offset from the statement keyword
constexpr int SyntaxDrop = 20;
constexpr int ScrollLines = 10;  // how far the view moves when the list would not fit below
constexpr int ScrollColumns = 15;

} // namespace

QStringList frmEditor::listEntries(Source source) const {
    const SourceDocument& doc = View_->Document();
    switch (source) {
    case Source::DeclaredVariables: {
        QList<int> numbers;
        const QStringList lines = doc.linesWhere(sourcescan::KindSlot, sourcescan::VarLine, &numbers);
        QStringList names;
        names.reserve(lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString name = declaredName(lines[i], sourcescan::classesIn(doc.tokensOfLine(numbers[i])));
            if (!name.isNull())
                names.append(name);
        }
        return variableEntries(names);
    }
    case Source::Labels:
        return labelEntries(doc.linesWhere(sourcescan::KindSlot, sourcescan::LabelLine), doc.lexerConfig());
    case Source::DefineNames: {
        QStringList names;
        for (int i = 1; i <= StatementTable::DefineCount; ++i)
            names.append(state_.PBPCodes.define(i));
        return fixedEntries(source, state_.DevicePorts, names);
    }
    default:
        return fixedEntries(source, state_.DevicePorts);
    }
}

void frmEditor::fillList(Source source) {
    List1_->clear();
    List1_->addItems(listEntries(source));
    state_.ListMode = insertMode(source);
    listInsertMode_ = state_.ListMode;
}

void frmEditor::ShowQuickList(qint16 Key) {
    AppState& s = state_;
    SourceView& v = *View_;
    s.ListMode = 0;

    if (const KeyList keyed = keyList(Key, s.PBPMode); keyed.source != Source::None) {
        fillList(keyed.source);
        setStatusText(keyed.title);
        s.QuickListMode = quicklists::Shown;
    }
    List1_->setFixedWidth(ListWidth);
    stylePopups(); // the background may have been chosen since
    if (Key == keys::VK_Back && s.QuickListMode == quicklists::Shown)
        s.QuickListMode = quicklists::WantArguments;
    // A comma only continues the statement of the caret's own line.
    if (Key == keys::VK_OEM_Comma && s.QuickListContext[1] != 0 && s.QuickListContext[4] == v.CaretY() + 1)
        s.QuickListMode = quicklists::WantArguments;

    if (s.QuickListMode == quicklists::Shown) {
        // Shown again as it was filled: its entries are still inserted the way that list wants.
        s.ListMode = listInsertMode_;
        showList();
        return;
    }
    if (s.QuickListMode == quicklists::WantArguments) {
        const int line = s.QuickListContext[4] - 1;
        if (line < 0 || line >= v.Document().NumLines()) {
            reports::named(s.prompts, this, QStringLiteral("PopUP Error:"), AppError::fromNumber(9));
            return;
        }
        const int argument = argumentNumber(v.Document().GetLine(line), s.QuickListContext[2]);
        const StatementList choice = statementList(s.PBPMode, s.QuickListContext[1], argument);
        switch (choice.action) {
        case Action::Nothing:
            return;
        case Action::Hide:
        case Action::HideNoSyntax:
            List1_->hide();
            v.Refresh();
            if (choice.action == Action::Hide)
                showSyntaxLine();
            return;
        case Action::Branch: {
            Source source = choice.source;
            if (Key == keys::VK_OEM_Comma) {
                const int caret = v.CaretX();
                const QString lineText = v.Document().GetLine(v.CaretY());
                // The first comma from the keyword's length taken as a column, right before the caret.
                if (text::InStr(s.QuickListContext[3], lineText, QStringLiteral(",")) == caret)
                    v.Document().InsertOverwrite(caret, v.CaretY(), caret, v.CaretY(), QStringLiteral("["));
                source = Source::Labels;
            }
            fillList(source);
            break;
        }
        case Action::Show:
            fillList(choice.source);
            break;
        }
        s.QuickListMode = quicklists::Shown;
        showList();
        return;
    }
    if (!s.PBPMode)
        return;
    if (s.QuickListMode == quicklists::WantOptions) {
        fillList(Source::DefineNames);
        s.QuickListContext[2] = 0;
    } else if (s.QuickListMode == quicklists::WantValues) {
        fillList(defineValues(s.StatementRow));
        if (s.StatementRow == 34)
            s.QuickListContext[2] = 0;
    } else {
        return;
    }
    s.QuickListMode = quicklists::Shown;
    showList();
}

void frmEditor::showList() {
    AppState& s = state_;
    SourceView& v = *View_;
    SyntaxHelp_->hide();
    List1_->hide();
    v.PositionToPoint(v.CaretX(), v.CaretY(), s.CaretPointX, s.CaretPointY);
    int col = 0, line = 0;
    if (s.CaretPointY + ListDrop + List1_->height() > v.height()) {
        v.GetScrollPos(col, line);
        v.SetScrollPos(col, line + ScrollLines);
        v.PositionToPoint(v.CaretX(), v.CaretY(), s.CaretPointX, s.CaretPointY);
    }
    if (s.CaretPointX + List1_->width() > v.width()) {
        v.GetScrollPos(col, line);
        v.SetScrollPos(col + ScrollColumns, line);
        v.PositionToPoint(v.CaretX(), v.CaretY(), s.CaretPointX, s.CaretPointY);
    }
    v.Refresh();
    int top = s.CaretPointY + ListDrop;
    // Near the end of the text the view cannot scroll further: the list opens above the caret line.
    // (above the syntax line too, when there is one).
    const int above = s.CaretPointY - List1_->height() - (s.QuickListContext[2] > 0 ? ListDrop - SyntaxDrop : 0);
    if (top + List1_->height() > v.height() && above >= 0)
        top = above;
    List1_->move(s.CaretPointX, top);
    List1_->show();
    List1_->raise();
    if (s.QuickListContext[2] > 0)
        showSyntaxLine();
}

void frmEditor::showSyntaxLine() {
    AppState& s = state_;
    SourceView& v = *View_;
    if (s.QuickListContext[2] <= 0)
        return;
    const int row = s.QuickListContext[1];
    setStatusText(s.PBPCodes.description(row));
    int x = 0, y = 0;
    v.PositionToPoint(s.QuickListContext[2] - 1, v.CaretY(), x, y);
    const QString syntax = s.PBPCodes.syntax(row);
    stylePopups();
    SyntaxHelp_->setPlainText(syntax);
    const QFontMetrics fm(SyntaxHelp_->font());
    const int frame = 2 * SyntaxHelp_->frameWidth() + 4;
    SyntaxHelp_->setFixedSize(fm.horizontalAdvance(syntax) + frame + 4, fm.height() + frame);
    int top = y + SyntaxDrop;
    // On the last lines of the view the syntax line stands above the statement instead.
    if (top + SyntaxHelp_->height() > v.height() && y - SyntaxHelp_->height() >= 0)
        top = y - SyntaxHelp_->height();
    SyntaxHelp_->move(x + SyntaxRight, top);
    SyntaxHelp_->show();
    SyntaxHelp_->raise();
}

void frmEditor::hideQuickList() {
    List1_->setCurrentRow(-1);
    List1_->hide();
    SyntaxHelp_->hide();
    state_.QuickListMode = quicklists::Idle;
}
