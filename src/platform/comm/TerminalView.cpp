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
}

void TerminalView::appendBatch(const ScrollBack::Batch& batch, const QString* openLine) {
    QScrollBar* bar = verticalScrollBar();
    const bool follow = batch.reset || bar->value() >= bar->maximum();
    if (batch.reset)
        clearAll();
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    if (openLine && openLineShown_) {
        cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    cursor.beginEditBlock();
    cursor.insertText(batch.text);
    if (openLine) {
        cursor.insertText(*openLine);
        openLineShown_ = !openLine->isEmpty();
    }
    cursor.endEditBlock();
    if (follow)
        bar->setValue(bar->maximum());
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
