#include "platform/comm/TerminalView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>

TerminalView::TerminalView(int maxLines, QWidget* parent) : QPlainTextEdit(parent), maxLines_(maxLines) {
    setReadOnly(true);
    // Keys still reach keyPressEvent; the caret is not needed on received text.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    bound();
    // Any change of the range (a resize, a splitter moved, the view shown again, lines added or
    // dropped) keeps a following view at its end; any other move of the bar is the user's choice.
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, this, &TerminalView::onRangeChanged);
    connect(bar, &QScrollBar::valueChanged, this, &TerminalView::onScrolled);
}

void TerminalView::onRangeChanged() {
    QScrollBar* bar = verticalScrollBar();
    const int target = follow_.afterRangeChange(bar->value(), bar->maximum());
    if (target != bar->value()) {
        placing_ = true;
        bar->setValue(target);
        placing_ = false;
    }
}

void TerminalView::onScrolled(int value) {
    if (!placing_)
        follow_.moved(value, verticalScrollBar()->maximum());
}

void TerminalView::scrollToEnd() {
    follow_.reset();
    placing_ = true;
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    placing_ = false;
}

bool TerminalView::endShown() const {
    const QTextBlock last = document()->lastBlock();
    const QRectF box = blockBoundingGeometry(last).translated(contentOffset());
    return box.top() >= 0 && box.bottom() <= viewport()->height() + 1;
}

void TerminalView::bound() {
    // No undo history: received text would otherwise be kept twice, without limit.
    document()->setUndoRedoEnabled(false);
    document()->setMaximumBlockCount(maxLines_);
}

void TerminalView::clearAll() {
    clear();
    openLineShown_ = false;
    bound();
    scrollToEnd();
}

void TerminalView::insert(QTextCursor& cursor, const QString& text) {
    // Received text in the view's own colours; each sent run, up to its line end, in the link colour.
    QTextCharFormat sent;
    sent.setForeground(palette().color(QPalette::Link));
    sent.setProperty(SentText, true);
    qsizetype at = 0;
    while (at < text.size()) {
        const qsizetype mark = text.indexOf(terminaltext::SentMark, at);
        if (mark < 0) {
            cursor.insertText(text.mid(at), QTextCharFormat());
            return;
        }
        if (mark > at)
            cursor.insertText(text.mid(at, mark - at), QTextCharFormat());
        qsizetype end = text.indexOf(u'\n', mark);
        end = end < 0 ? text.size() : end + 1;
        // (A line typed key by key carries a mark before each piece.)
        cursor.insertText(text.mid(mark + 1, end - mark - 1).remove(terminaltext::SentMark), sent);
        at = end;
    }
}

void TerminalView::appendBatch(const ScrollBack::Batch& batch, const QString* openLine) {
    if (batch.reset)
        clearAll();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (openLine && openLineShown_) {
        cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.beginEditBlock();
    insert(cursor, batch.text);
    if (openLine) {
        cursor.insertText(*openLine, QTextCharFormat());
        openLineShown_ = !openLine->isEmpty();
    }
    cursor.endEditBlock();
    if (follow_.following())
        scrollToEnd();
}

void TerminalView::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() != QEvent::PaletteChange)
        return;
    // The desktop switched between light and dark: sent text takes the new link colour.
    QList<std::pair<int, int>> runs;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        for (auto f = b.begin(); !f.atEnd(); ++f)
            if (f.fragment().charFormat().boolProperty(SentText))
                runs.append({f.fragment().position(), f.fragment().length()});
    QTextCharFormat recoloured;
    recoloured.setForeground(palette().color(QPalette::Link));
    QTextCursor cursor(document());
    for (const auto& [at, length] : runs) {
        cursor.setPosition(at);
        cursor.setPosition(at + length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(recoloured);
    }
}

void TerminalView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) && textCursor().hasSelection()) {
        copy();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return;
    }
    if (!typing_) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested(QApplication::clipboard()->text());
        return;
    }
    // Scrolling keys keep their meaning; everything else is the user talking to the board.
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
        QPlainTextEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    emit keyTyped(event->key(), event->modifiers(), event->text());
}
