#include "platform/sourceview/SourceView.h"

#include "platform/sourceview/FindReplaceDialog.h"
#include "platform/Prompts.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QScrollBar>


void SourceView::Find() {
    if (!findDialog_)
        findDialog_ = new FindReplaceDialog(*this, this);
    QString preset = caret_.line == anchor_.line ? document_.textBetween(selStart(), selEnd()) : QString();
    findDialog_->showFind(preset.isEmpty() ? lastFind_ : preset);
}

void SourceView::Replace() {
    if (!findDialog_)
        findDialog_ = new FindReplaceDialog(*this, this);
    QString preset = caret_.line == anchor_.line ? document_.textBetween(selStart(), selEnd()) : QString();
    findDialog_->showReplace(preset.isEmpty() ? lastFind_ : preset);
}

void SourceView::FindNext() {
    if (lastFind_.isEmpty()) {
        Find();
        return;
    }
    FindText(lastFind_, lastMatchCase_, lastWholeWord_, lastForward_);
}

void SourceView::FindPrevious() {
    if (lastFind_.isEmpty()) {
        Find();
        return;
    }
    const bool direction = lastForward_;
    FindText(lastFind_, lastMatchCase_, lastWholeWord_, !direction);
    lastForward_ = direction; // F3 keeps the direction the user chose
}

bool SourceView::FindText(const QString& what, bool matchCase, bool wholeWord, bool forward, QWidget* asker) {
    lastFind_ = what;
    lastMatchCase_ = matchCase;
    lastWholeWord_ = wholeWord;
    lastForward_ = forward;
    if (what.isEmpty())
        return false;
    TextPos start;
    TextPos end;
    bool found = document_.find(what, forward ? selEnd() : selStart(), matchCase, wholeWord, forward, start, end);
    if (!found) {
        found = document_.find(what, forward ? TextPos{} : document_.endPos(), matchCase, wholeWord, forward, start,
                               end);
        if (found)
            emit StatusMessage(forward ? QStringLiteral("Search wrapped to the top")
                                       : QStringLiteral("Search wrapped to the bottom"));
    }
    if (!found) {
        prompts()->message(asker ? asker : this, QStringLiteral("Cannot find \"%1\"").arg(what), QString(),
                           Prompts::Buttons::Ok, Prompts::Icon::Information);
        return false;
    }
    showFound(start, end);
    return true;
}

void SourceView::showFound(TextPos start, TextPos end) {
    placeCaret(end, start);
    // The match stands on a whole row with a line of context above and below, where there is room.
    QScrollBar* v = textArea_->verticalScrollBar();
    const int rows = LinesInView();
    const int context = rows >= 3 ? 1 : 0;
    if (start.line - context < v->value())
        v->setValue(start.line - context);
    else if (end.line + context >= v->value() + rows)
        v->setValue(end.line + context - rows + 1);
    if (!findDialog_ || !findDialog_->isVisible())
        return;
    QRect match = caretRect(start).united(caretRect(end));
    if (start.line != end.line) {
        match.setLeft(0);
        match.setRight(textArea_->viewport()->width());
    }
    findDialog_->keepClearOf(QRect(textArea_->viewport()->mapToGlobal(match.topLeft()), match.size()));
}

bool SourceView::ReplaceOnce(const QString& what, const QString& with, bool matchCase, bool wholeWord,
                             QWidget* asker) {
    if (what.isEmpty())
        return false;
    if (TextSelected() && document_.textBetween(selStart(), selEnd())
                                  .compare(what, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0)
        insertText(with);
    return FindText(what, matchCase, wholeWord, true, asker);
}

int SourceView::ReplaceAll(const QString& what, const QString& with, bool matchCase, bool wholeWord,
                           QWidget* asker) {
    lastFind_ = what;
    if (what.isEmpty())
        return 0;
    // All matches first, then the replacements from the last one back, so that the earlier matches
    // stay where they were found.
    QList<TextPos> matches;
    TextPos start;
    TextPos end;
    for (TextPos at; document_.find(what, at, matchCase, wholeWord, true, start, end); at = end)
        matches.append(start);
    const int count = int(matches.size());
    document_.BeginUndoGroup();
    for (auto m = matches.rbegin(); m != matches.rend(); ++m)
        document_.replace(*m, {m->line, m->col + int(what.size())}, with);
    document_.EndUndoGroup();
    const QString said = count == 0   ? QStringLiteral("Cannot find \"%1\"").arg(what)
                         : count == 1 ? QStringLiteral("Replaced 1 occurrence.")
                                      : QStringLiteral("Replaced %1 occurrences.").arg(count);
    prompts()->message(asker ? asker : this, said, QString(), Prompts::Buttons::Ok, Prompts::Icon::Information);
    return count;
}
