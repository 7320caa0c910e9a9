#include "platform/sourceview/SourceView.h"

#include "platform/KeyCodes.h"
#include "platform/sourceview/SourceMargin.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QMimeData>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QWheelEvent>

#include <cstdlib>

namespace {

constexpr int VK_F2 = keys::VK_F1 + 1;
constexpr int VK_F3 = keys::VK_F1 + 2;

int buttonMask(Qt::MouseButtons b) {
    int mask = 0;
    if (b & Qt::LeftButton)
        mask |= 1;
    if (b & Qt::RightButton)
        mask |= 2;
    if (b & Qt::MiddleButton)
        mask |= 4;
    return mask;
}

} // namespace

int SourceView::commandForKey(int keyCode, int shift, bool multiLineSelection) const {
    using namespace keys;
    const bool sh = shift & ShiftMaskShift;
    const bool ctrl = shift & ShiftMaskCtrl;
    const bool alt = shift & ShiftMaskAlt;
    const int extend = sh ? CmdExtend : 0;
    if (alt) {
        if (keyCode == VK_Back && !ctrl && !sh)
            return CmdUndo;
        return 0;
    }
    switch (keyCode) {
    case VK_Up:
        return ctrl ? 0 : CmdUp + extend;
    case VK_Down:
        return ctrl ? 0 : CmdDown + extend;
    case VK_Left:
        return (ctrl ? CmdWordLeft : CmdLeft) + extend;
    case VK_Right:
        return (ctrl ? CmdWordRight : CmdRight) + extend;
    case VK_Prior:
        return ctrl ? 0 : CmdPageUp + extend;
    case VK_Next:
        return ctrl ? 0 : CmdPageDown + extend;
    case VK_Home:
        return (ctrl ? CmdDocStart : CmdLineStart) + extend;
    case VK_End:
        return (ctrl ? CmdDocEnd : CmdLineEnd) + extend;
    case VK_Back:
        return sh ? 0 : (ctrl ? CmdDeleteWordBefore : CmdBackspace);
    case VK_Delete:
        return sh ? CmdCut : (ctrl ? CmdDeleteWordAfter : CmdDelete);
    case VK_Insert:
        return sh ? CmdPaste : (ctrl ? CmdCopy : 0);
    case VK_Escape:
        return shift == 0 ? CmdCancel : 0;
    case VK_Tab:
        if (ctrl)
            return 0;
        return sh ? CmdOutdent : (multiLineSelection ? CmdIndent : 0);
    case ::VK_F2:
        if (ctrl)
            return sh ? CmdClearBookmarks : CmdToggleBookmark;
        return sh ? CmdPreviousBookmark : CmdNextBookmark;
    case ::VK_F3:
        return ctrl ? 0 : CmdFindNext;
    default:
        break;
    }
    if (!ctrl)
        return 0;
    switch (keyCode) {
    case 'X':
        return sh ? 0 : CmdCut;
    case 'C':
        return sh ? 0 : CmdCopy;
    case 'V':
        return sh ? 0 : CmdPaste;
    case 'Z':
        return sh ? CmdRedo : CmdUndo;
    case 'Y':
        return sh ? 0 : CmdRedo;
    case 'F':
        return sh ? 0 : CmdFind;
    case 'H':
        return sh ? 0 : CmdReplace;
    case 'A':
        return sh ? 0 : CmdSelectAll;
    case 'G':
        return sh ? 0 : CmdGotoLine;
    case VK_OEM_Plus:
        // Plus is a shifted key on many layouts; Ctrl+= zooms in as well.
        return CmdZoomIn;
    case VK_OEM_Minus:
        return sh ? 0 : CmdZoomOut;
    case '0':
        return sh ? 0 : CmdZoomReset;
    default:
        return 0;
    }
}

void SourceView::ExecuteCommand(int code) {
    runCommand(code);
}

void SourceView::runCommand(int code) {
    emit ExecuteCommandEvent(code);
    if (code == 0)
        return;
    switch (code) {
    case CmdClearBookmarks:
        document_.ClearBookmarks();
        break;
    case CmdNextBookmark:
    case CmdPreviousBookmark:
        if (const int line = document_.NextBookmark(CaretY(), code == CmdNextBookmark); line >= 0)
            MoveCaret(0, line);
        break;
    case CmdToggleBookmark:
        document_.SetBookmark(CaretY(), !document_.HasBookmark(CaretY()));
        break;
    case CmdBackspace: {
        QTextCursor c = cursor();
        c.deletePreviousChar();
        placeCursor(c);
        break;
    }
    case CmdDelete: {
        QTextCursor c = cursor();
        c.deleteChar();
        placeCursor(c);
        break;
    }
    case CmdDeleteWordBefore:
    case CmdDeleteWordAfter: {
        QTextCursor c = cursor();
        if (!c.hasSelection())
            c.movePosition(code == CmdDeleteWordBefore ? QTextCursor::PreviousWord : QTextCursor::NextWord,
                           QTextCursor::KeepAnchor);
        c.removeSelectedText();
        placeCursor(c);
        break;
    }
    case CmdCancel:
    case CmdGotoLine:
        break;
    case CmdIndent:
        indentLines(false);
        break;
    case CmdOutdent:
        indentLines(true);
        break;
    case CmdCut:
        Cut();
        break;
    case CmdCopy:
        Copy();
        break;
    case CmdPaste:
        Paste();
        break;
    case CmdUndo:
        Undo();
        break;
    case CmdRedo:
        Redo();
        break;
    case CmdFind:
        Find();
        break;
    case CmdFindNext:
        FindNext();
        break;
    case CmdReplace:
        Replace();
        break;
    case CmdSelectAll:
        edit_->selectAll();
        break;
    case CmdSelectWord:
        SelectWord();
        break;
    case CmdZoomIn:
    case CmdZoomOut:
    case CmdZoomReset: {
        const int before = zoom_;
        SetZoom(code == CmdZoomReset ? 0 : zoom_ + (code == CmdZoomIn ? 1 : -1));
        if (zoom_ != before)
            emit ZoomChanged(zoom_);
        break;
    }
    default:
        moveCaretBy(code);
        break;
    }
    edit_->ensureCursorVisible();
}

void SourceView::moveCaretBy(int code) {
    const bool extend = code > CmdExtend;
    const int base = extend ? code - CmdExtend : code;
    const auto mode = extend ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    QTextCursor c = cursor();
    QTextCursor::MoveOperation op = QTextCursor::NoMove;
    switch (base) {
    case CmdUp:
    case CmdDown:
    case CmdPageUp:
    case CmdPageDown: {
        const int page = qMax(1, edit_->viewport()->height() / qMax(1, LineHeight()) - 1);
        const int step = (base == CmdUp || base == CmdDown) ? 1 : page;
        moveVertically(base == CmdUp || base == CmdPageUp ? -step : step, extend);
        if (step > 1) {
            QScrollBar* bar = edit_->verticalScrollBar();
            bar->setValue(bar->value() + (base == CmdPageUp ? -page : page));
        }
        return;
    }
    case CmdLeft:
        op = QTextCursor::Left;
        break;
    case CmdRight:
        op = QTextCursor::Right;
        break;
    case CmdLineStart:
        op = QTextCursor::StartOfBlock;
        break;
    case CmdLineEnd:
        op = QTextCursor::EndOfBlock;
        break;
    case CmdDocStart:
        op = QTextCursor::Start;
        break;
    case CmdDocEnd:
        op = QTextCursor::End;
        break;
    case CmdWordLeft:
        op = QTextCursor::PreviousWord;
        break;
    case CmdWordRight:
        op = QTextCursor::NextWord;
        break;
    default:
        return;
    }
    if (!extend && c.hasSelection() && (base == CmdLeft || base == CmdRight)) {
        // An arrow collapses the selection to its edge, as editors do.
        const int pos = base == CmdLeft ? c.selectionStart() : c.selectionEnd();
        c.setPosition(pos);
    } else {
        c.movePosition(op, mode);
    }
    placeCursor(c);
}

void SourceView::moveVertically(int lines, bool extend) {
    // Columns are counted with TABs expanded, and the column aimed at is kept over short lines. Doing
    // this by text rather than by QTextCursor's Up/Down keeps the lines passed over from being laid out.
    QTextCursor c = cursor();
    const int line = c.blockNumber();
    if (desiredDisplayCol_ < 0) {
        int unusedLine;
        GetDisplayPos(c.positionInBlock(), line, desiredDisplayCol_, unusedLine);
    }
    const int target = qBound(0, line + lines, document_.NumLines() - 1);
    const QString text = document_.GetLine(target);
    int col = 0;
    int display = 0;
    while (col < text.size()) {
        const int next = text.at(col) == u'\t' ? (display / TabWidth + 1) * TabWidth : display + 1;
        if (next > desiredDisplayCol_)
            break;
        display = next;
        ++col;
    }
    const int wanted = desiredDisplayCol_;
    c.setPosition(document_.position(col, target),
                  extend ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    placeCursor(c);
    desiredDisplayCol_ = wanted;
}

void SourceView::indentLines(bool outdent) {
    int col1, line1, col2, line2;
    GetSel(col1, line1, col2, line2);
    // A selection ending at column 0 does not take in that last line.
    if (line2 > line1 && col2 == 0)
        --line2;
    QTextCursor c(document_.textDocument());
    c.beginEditBlock();
    for (int line = line1; line <= line2; ++line) {
        const int pos = document_.position(0, line);
        c.setPosition(pos);
        if (!outdent) {
            c.insertText(QStringLiteral("\t"));
        } else if (document_.GetLine(line).startsWith(u'\t')) {
            c.setPosition(pos + 1, QTextCursor::KeepAnchor);
            c.removeSelectedText();
        }
    }
    c.endEditBlock();
    SetSel(0, line1, document_.GetLineLength(line2), line2);
}

void SourceView::handleKeyPress(QKeyEvent* e) {
    int keyCode = keys::virtualKey(*e);
    const int shift = keys::shiftMask(e->modifiers());
    if (keyCode != 0) {
        emit KeyDown(keyCode, shift);
        if (keyCode == 0) {
            e->accept();
            return;
        }
    }
    const QString text = e->text();
    int ascii = 0;
    if (text.size() == 1 && !(shift & (keys::ShiftMaskCtrl | keys::ShiftMaskAlt)))
        ascii = text.at(0).unicode();
    if (keyCode == keys::VK_Return)
        ascii = 13;
    const int typed = ascii;
    if (ascii != 0) {
        emit KeyPress(ascii);
        if (ascii == 0) {
            e->accept();
            return;
        }
    }
    const QTextCursor c = cursor();
    const bool multiLine = c.hasSelection() && document_.textDocument()->findBlock(c.selectionStart()) !=
                                                   document_.textDocument()->findBlock(c.selectionEnd());
    if (const int code = commandForKey(keyCode, shift, multiLine)) {
        runCommand(code);
        e->accept();
        return;
    }
    if (ascii != typed && ascii >= 32) {
        QTextCursor ins = cursor();
        ins.insertText(QString(QChar(ascii)));
        placeCursor(ins);
        e->accept();
        return;
    }
    // Unmapped Ctrl and Alt shortcuts are not run, so every command stays announced.
    if ((shift & (keys::ShiftMaskCtrl | keys::ShiftMaskAlt)) && typed == 0) {
        e->ignore();
        return;
    }
    edit_->baseKeyPress(e);
}

void SourceView::handleKeyRelease(QKeyEvent* e) {
    int keyCode = keys::virtualKey(*e);
    if (keyCode != 0)
        emit KeyUp(keyCode, keys::shiftMask(e->modifiers()));
}

void SourceView::handleMouseMove(QMouseEvent* e) {
    const QPoint pt = edit_->viewport()->mapTo(this, e->position().toPoint());
    emit MouseMove(buttonMask(e->buttons()), keys::shiftMask(e->modifiers()), pt.x(), pt.y());
}

void SourceView::handleMouseRelease(QMouseEvent* e, QWidget* from) {
    const QPoint pt = from->mapTo(this, e->position().toPoint());
    emit MouseUp(buttonMask(e->button()), keys::shiftMask(e->modifiers()), pt.x(), pt.y());
}

SourceTextArea::SourceTextArea(SourceView& view) : QPlainTextEdit(&view), view_(view) {}

void SourceTextArea::paintEvent(QPaintEvent* e) {
    view_.paintTextArea(e);
}

void SourceTextArea::resizeEvent(QResizeEvent* e) {
    // A width change makes QPlainTextEdit lay out every block again (and keep a layout object for
    // each). Lines never wrap here, so the width does not matter to the layout: pass the resize on as a
    // height change only, which still updates the scroll bars.
    QResizeEvent heightOnly(e->size(), QSize(e->size().width(), e->oldSize().height()));
    QPlainTextEdit::resizeEvent(&heightOnly);
    view_.updateMargin();
}

void SourceTextArea::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        QPlainTextEdit::wheelEvent(e);
        return;
    }
    // One notch is 120; a touch pad sends smaller steps that add up to one.
    constexpr int Notch = 120;
    view_.wheelZoomAngle_ += e->angleDelta().y();
    while (std::abs(view_.wheelZoomAngle_) >= Notch) {
        const bool in = view_.wheelZoomAngle_ > 0;
        view_.wheelZoomAngle_ += in ? -Notch : Notch;
        view_.runCommand(in ? SourceView::CmdZoomIn : SourceView::CmdZoomOut);
    }
    e->accept();
}

void SourceTextArea::keyPressEvent(QKeyEvent* e) {
    view_.handleKeyPress(e);
}

void SourceTextArea::keyReleaseEvent(QKeyEvent* e) {
    view_.handleKeyRelease(e);
    QPlainTextEdit::keyReleaseEvent(e);
}

void SourceTextArea::mouseMoveEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseMoveEvent(e);
    view_.handleMouseMove(e);
}

void SourceTextArea::mouseReleaseEvent(QMouseEvent* e) {
    QPlainTextEdit::mouseReleaseEvent(e);
    view_.handleMouseRelease(e, viewport());
}

void SourceTextArea::focusInEvent(QFocusEvent* e) {
    QPlainTextEdit::focusInEvent(e);
    view_.restartCaretBlink();
}

void SourceTextArea::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    view_.stopCaretBlink();
}

bool SourceTextArea::canInsertFromMimeData(const QMimeData* source) const {
    return !source->hasUrls() && QPlainTextEdit::canInsertFromMimeData(source);
}

void SourceTextArea::contextMenuEvent(QContextMenuEvent* e) {
    e->accept();
}

bool SourceTextArea::event(QEvent* e) {
    // Tab and Shift+Tab are editing keys here, not focus moves.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QPlainTextEdit::event(e);
}
