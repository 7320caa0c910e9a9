#include "platform/sourceview/SourceView.h"

#include "platform/sourceview/FindReplaceDialog.h"
#include "platform/Prompts.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

QTextDocument::FindFlags findFlags(bool matchCase, bool wholeWord, bool forward) {
    QTextDocument::FindFlags flags;
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (!forward)
        flags |= QTextDocument::FindBackward;
    return flags;
}

} // namespace

void SourceView::Find() {
    if (!findDialog_)
        findDialog_ = new FindReplaceDialog(*this, this);
    const QTextCursor c = cursor();
    QString preset = c.selectedText();
    if (preset.contains(QChar::ParagraphSeparator))
        preset.clear();
    findDialog_->showFind(preset.isEmpty() ? lastFind_ : preset);
}

void SourceView::Replace() {
    if (!findDialog_)
        findDialog_ = new FindReplaceDialog(*this, this);
    QString preset = cursor().selectedText();
    if (preset.contains(QChar::ParagraphSeparator))
        preset.clear();
    findDialog_->showReplace(preset.isEmpty() ? lastFind_ : preset);
}

void SourceView::FindNext() {
    if (lastFind_.isEmpty()) {
        Find();
        return;
    }
    FindText(lastFind_, lastMatchCase_, lastWholeWord_, lastForward_);
}

bool SourceView::FindText(const QString& what, bool matchCase, bool wholeWord, bool forward) {
    lastFind_ = what;
    lastMatchCase_ = matchCase;
    lastWholeWord_ = wholeWord;
    lastForward_ = forward;
    if (what.isEmpty())
        return false;
    QTextDocument* doc = document_.textDocument();
    const auto flags = findFlags(matchCase, wholeWord, forward);
    QTextCursor found = doc->find(what, cursor(), flags);
    if (found.isNull()) {
        QTextCursor from(doc);
        from.movePosition(forward ? QTextCursor::Start : QTextCursor::End);
        found = doc->find(what, from, flags);
    }
    if (found.isNull()) {
        prompts()->message(this, QStringLiteral("Cannot find \"%1\"").arg(what), QString(),
                           Prompts::Buttons::Ok, Prompts::Icon::Information);
        return false;
    }
    placeCursor(found);
    edit_->ensureCursorVisible();
    return true;
}

bool SourceView::ReplaceOnce(const QString& what, const QString& with, bool matchCase, bool wholeWord) {
    if (what.isEmpty())
        return false;
    QTextCursor c = cursor();
    if (c.hasSelection() &&
        c.selectedText().compare(what, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0) {
        c.insertText(with);
        placeCursor(c);
    }
    return FindText(what, matchCase, wholeWord, true);
}

int SourceView::ReplaceAll(const QString& what, const QString& with, bool matchCase, bool wholeWord) {
    lastFind_ = what;
    if (what.isEmpty())
        return 0;
    QTextDocument* doc = document_.textDocument();
    const auto flags = findFlags(matchCase, wholeWord, true);
    QTextCursor edit(doc);
    int count = 0;
    QTextCursor found = doc->find(what, 0, flags);
    while (!found.isNull()) {
        if (count == 0)
            edit.beginEditBlock();
        edit.setPosition(found.selectionStart());
        edit.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
        edit.insertText(with);
        ++count;
        found = doc->find(what, edit.position(), flags);
    }
    if (count > 0)
        edit.endEditBlock();
    else
        prompts()->message(this, QStringLiteral("Cannot find \"%1\"").arg(what), QString(),
                           Prompts::Buttons::Ok, Prompts::Icon::Information);
    return count;
}
