#include "platform/sourceview/SourceView.h"

#include "platform/KeyCodes.h"
#include "platform/sourceview/SourceMargin.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QWheelEvent>

#include <algorithm>
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
        return ctrl ? 0 : (sh ? CmdFindPrevious : CmdFindNext);
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
    case CmdBackspace:
    case CmdDelete:
    case CmdDeleteWordBefore:
    case CmdDeleteWordAfter:
        if (TextSelected()) {
            insertText(QString());
        } else {
            // No selection is made for it: none was shown, and none is painted away.
            const bool before = code == CmdBackspace || code == CmdDeleteWordBefore;
            const bool word = code == CmdDeleteWordBefore || code == CmdDeleteWordAfter;
            const TextPos to = before ? (word ? wordLeft(caret_) : charLeft(caret_))
                                      : (word ? wordRight(caret_) : charRight(caret_));
            document_.replace(std::min(to, caret_), std::max(to, caret_), QString());
        }
        break;
    case CmdCancel:
    case CmdGotoLine:
        break;
    case CmdIndent:
        IndentLines(false);
        break;
    case CmdOutdent:
        IndentLines(true);
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
    case CmdFindPrevious:
        FindPrevious();
        break;
    case CmdReplace:
        Replace();
        break;
    case CmdSelectAll:
        setCaret(document_.endPos(), {});
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
    ensureCaretVisible();
}

namespace {

// Letters, digits and "_" make words; blanks separate them; any other character is a word of its own kind.
int charKind(QChar c) {
    if (SourceLexer::isWordChar(c) || c.isMark())
        return 1;
    return c.isSpace() ? 0 : 2;
}

} // namespace

TextPos SourceView::charLeft(TextPos p) const {
    if (p.col == 0)
        return p.line == 0 ? p : TextPos{p.line - 1, document_.GetLineLength(p.line - 1)};
    QString scratch;
    const QStringView text = document_.lineText(p.line, scratch);
    int col = p.col - 1;
    // A surrogate pair and the marks on a letter go as one character.
    while (col > 0 && (text[col].isLowSurrogate() || text[col].isMark()))
        --col;
    return {p.line, col};
}

TextPos SourceView::charRight(TextPos p) const {
    QString scratch;
    const QStringView text = document_.lineText(p.line, scratch);
    if (p.col >= text.size())
        return p.line + 1 < document_.NumLines() ? TextPos{p.line + 1, 0} : p;
    int col = p.col + 1;
    while (col < text.size() && (text[col].isLowSurrogate() || text[col].isMark()))
        ++col;
    return {p.line, col};
}

TextPos SourceView::wordLeft(TextPos p) const {
    if (p.col == 0)
        return charLeft(p);
    QString scratch;
    const QStringView text = document_.lineText(p.line, scratch);
    int col = p.col;
    while (col > 0 && charKind(text[col - 1]) == 0)
        --col;
    if (col > 0) {
        const int kind = charKind(text[col - 1]);
        while (col > 0 && charKind(text[col - 1]) == kind)
            --col;
    }
    return {p.line, col};
}

TextPos SourceView::wordRight(TextPos p) const {
    QString scratch;
    const QStringView text = document_.lineText(p.line, scratch);
    if (p.col >= text.size())
        return charRight(p);
    int col = p.col;
    const int kind = charKind(text[col]);
    if (kind != 0)
        while (col < text.size() && charKind(text[col]) == kind)
            ++col;
    while (col < text.size() && charKind(text[col]) == 0)
        ++col;
    return {p.line, col};
}

void SourceView::moveCaretBy(int code) {
    const bool extend = code > CmdExtend;
    const int base = extend ? code - CmdExtend : code;
    TextPos to = caret_;
    switch (base) {
    case CmdUp:
    case CmdDown:
    case CmdPageUp:
    case CmdPageDown: {
        const int page = qMax(1, LinesInView() - 1);
        const int step = (base == CmdUp || base == CmdDown) ? 1 : page;
        moveVertically(base == CmdUp || base == CmdPageUp ? -step : step, extend);
        if (step > 1) {
            QScrollBar* bar = textArea_->verticalScrollBar();
            bar->setValue(bar->value() + (base == CmdPageUp ? -page : page));
        }
        return;
    }
    case CmdLeft:
    case CmdRight:
        if (!extend && TextSelected()) {
            // An arrow collapses the selection to its edge, as editors do.
            to = base == CmdLeft ? selStart() : selEnd();
            placeCaret(to);
            return;
        }
        to = base == CmdLeft ? charLeft(caret_) : charRight(caret_);
        break;
    case CmdLineStart:
        to.col = 0;
        break;
    case CmdLineEnd:
        to.col = document_.GetLineLength(to.line);
        break;
    case CmdDocStart:
        to = {};
        break;
    case CmdDocEnd:
        to = document_.endPos();
        break;
    case CmdWordLeft:
        to = wordLeft(caret_);
        break;
    case CmdWordRight:
        to = wordRight(caret_);
        break;
    default:
        return;
    }
    placeCaret(to, extend ? anchor_ : to);
}

void SourceView::moveVertically(int lines, bool extend) {
    // Columns are counted with TABs expanded, and the column aimed at is kept over short lines.
    if (desiredDisplayCol_ < 0) {
        int unusedLine;
        GetDisplayPos(caret_.col, caret_.line, desiredDisplayCol_, unusedLine);
    }
    const int target = qBound(0, caret_.line + lines, document_.NumLines() - 1);
    QString scratch;
    const QStringView text = document_.lineText(target, scratch);
    int col = 0;
    int display = 0;
    while (col < text.size()) {
        const int next = nextColumn(display, text[col]);
        if (next > desiredDisplayCol_)
            break;
        display = next;
        ++col;
    }
    const int wanted = desiredDisplayCol_;
    const TextPos to{target, col};
    placeCaret(to, extend ? anchor_ : to);
    desiredDisplayCol_ = wanted;
}

void SourceView::IndentLines(bool outdent) {
    int col1, line1, col2, line2;
    GetSel(col1, line1, col2, line2);
    // A selection ending at column 0 does not take in that last line.
    if (line2 > line1 && col2 == 0)
        --line2;
    document_.BeginUndoGroup();
    QString scratch;
    for (int line = line1; line <= line2; ++line) {
        if (!outdent)
            document_.replace({line, 0}, {line, 0}, QStringLiteral("\t"));
        else if (document_.lineText(line, scratch).startsWith(u'\t'))
            document_.replace({line, 0}, {line, 1}, QString());
    }
    document_.EndUndoGroup();
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
    // Windows reports AltGr as Ctrl+Alt: a character it gives ("@" or "|" on many layouts) is typing.
    const int ctrlAlt = keys::ShiftMaskCtrl | keys::ShiftMaskAlt;
    const bool altGr = (shift & ctrlAlt) == ctrlAlt && text.size() == 1 && text.at(0).isPrint();
    if (text.size() == 1 && (!(shift & ctrlAlt) || altGr))
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
    const bool multiLine = caret_.line != anchor_.line;
    if (const int code = commandForKey(keyCode, shift, multiLine)) {
        runCommand(code);
        e->accept();
        return;
    }
    if (ascii != typed && ascii >= 32) {
        insertText(QString(QChar(ascii)));
        ensureCaretVisible();
        e->accept();
        return;
    }
    // Unmapped Ctrl and Alt shortcuts are not run, so every command stays announced.
    if ((shift & (keys::ShiftMaskCtrl | keys::ShiftMaskAlt)) && typed == 0) {
        e->ignore();
        return;
    }
    QString input;
    if (keyCode == keys::VK_Return)
        input = QStringLiteral("\n");
    else if (e->key() == Qt::Key_Tab)
        input = QStringLiteral("\t");
    else if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c.isSurrogate(); }))
        input = text;
    if (input.isEmpty()) {
        e->ignore();
        return;
    }
    insertText(input);
    ensureCaretVisible();
    e->accept();
}

void SourceView::handleMousePress(QMouseEvent* e, bool doubleClick) {
    const TextPos at = hitTest(e->position().toPoint());
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Where the desktop has a selection clipboard, the middle button puts the text last selected
    // anywhere where it is pressed.
    if (e->button() == Qt::MiddleButton && clipboard->supportsSelection()) {
        const QString text = clipboard->text(QClipboard::Selection);
        if (!text.isEmpty()) {
            placeCaret(at);
            insertText(text);
        }
        return;
    }
    if (e->button() != Qt::LeftButton)
        return;
    if (doubleClick) {
        setCaret(at, at);
        SelectWord();
        lastDoubleClick_.start();
        return;
    }
    if (lastDoubleClick_.isValid() &&
        lastDoubleClick_.elapsed() < QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
        lastDoubleClick_.invalidate();
        const TextPos next = at.line + 1 < document_.NumLines()
                                 ? TextPos{at.line + 1, 0}
                                 : TextPos{at.line, document_.GetLineLength(at.line)};
        placeCaret(next, {at.line, 0});
        return;
    }
    dragPoint_ = e->position().toPoint();
    if (!(e->modifiers() & Qt::ShiftModifier) && insideSelection(at) && at != selStart() && at != selEnd()) {
        mayDragText_ = true;
        return;
    }
    selecting_ = true;
    placeCaret(at, e->modifiers() & Qt::ShiftModifier ? anchor_ : at);
}

void SourceView::startTextDrag() {
    mayDragText_ = false;
    auto* mime = new QMimeData;
    mime->setText(document_.textBetween(selStart(), selEnd()));
    auto* drag = new QDrag(textArea_);
    drag->setMimeData(mime);
    droppedHere_ = false;
    const Qt::DropAction done = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    // Moved into another program: the text leaves this one. Moved within this view, the drop did it.
    if (done == Qt::MoveAction && !droppedHere_ && TextSelected())
        insertText(QString());
    droppedHere_ = false;
}

namespace {

// Files are for the window around the view to open; only text is taken here.
bool takesText(const QMimeData* mime) {
    return mime && mime->hasText() && !mime->hasUrls();
}

} // namespace

bool SourceView::dragOver(const QMimeData* mime, QPoint p) {
    const bool take = takesText(mime);
    const TextPos before = dropPos_;
    dropPos_ = take ? hitTest(p) : TextPos{-1, -1};
    if (dropPos_ != before)
        Refresh();
    return take;
}

bool SourceView::dropText(const QMimeData* mime, QPoint p, bool fromHere, bool copy) {
    dragOver(nullptr, p); // the drop mark goes
    if (!takesText(mime))
        return false;
    const TextPos at = hitTest(p);
    // The drag's source leaves its own text alone when the drop was ours.
    droppedHere_ = fromHere;
    if (!fromHere || copy)
        placeCaret(document_.replace(at, at, mime->text()), at);
    else
        MoveSelectionTo(at.col, at.line);
    return true;
}

void SourceView::MoveSelectionTo(int col, int line) {
    const TextPos at = document_.clamp({line, col});
    if (!TextSelected() || insideSelection(at))
        return;
    const TextPos s = selStart();
    const TextPos e = selEnd();
    const QString text = document_.textBetween(s, e);
    document_.BeginUndoGroup();
    TextPos from = at;
    TextPos to;
    if (at < s) {
        document_.replace(s, e, QString());
        to = document_.replace(at, at, text);
    } else {
        // After the selection: the text goes in first, then the selection goes, and what lay after it
        // moves up by what it held.
        to = document_.replace(at, at, text);
        document_.replace(s, e, QString());
        const auto shift = [&](TextPos q) {
            return q.line == e.line ? TextPos{s.line, s.col + q.col - e.col}
                                    : TextPos{q.line - (e.line - s.line), q.col};
        };
        from = shift(at);
        to = shift(to);
    }
    document_.EndUndoGroup();
    placeCaret(to, from);
}

void SourceView::dragTo(QPoint p) {
    dragPoint_ = p;
    placeCaret(hitTest(p), anchor_);
    const QRect area = textArea_->viewport()->rect();
    if (p.y() < area.top() || p.y() > area.bottom() || p.x() < area.left() || p.x() > area.right()) {
        if (!dragScroll_.isActive())
            dragScroll_.start(50);
    } else {
        dragScroll_.stop();
    }
}

void SourceView::handleInput(QInputMethodEvent* e) {
    // Composed text arrives whole; what is still being composed is not shown.
    if (!e->commitString().isEmpty()) {
        insertText(e->commitString());
        ensureCaretVisible();
    }
    e->accept();
}

void SourceView::handleKeyRelease(QKeyEvent* e) {
    int keyCode = keys::virtualKey(*e);
    if (keyCode != 0)
        emit KeyUp(keyCode, keys::shiftMask(e->modifiers()));
}

void SourceView::handleMouseMove(QMouseEvent* e) {
    if (mayDragText_ && (e->buttons() & Qt::LeftButton) &&
        (e->position().toPoint() - dragPoint_).manhattanLength() >=
            QGuiApplication::styleHints()->startDragDistance())
        startTextDrag();
    else if (selecting_ && (e->buttons() & Qt::LeftButton))
        dragTo(e->position().toPoint());
    const QPoint pt = textArea_->viewport()->mapTo(this, e->position().toPoint());
    emit MouseMove(buttonMask(e->buttons()), keys::shiftMask(e->modifiers()), pt.x(), pt.y());
}

void SourceView::handleMouseRelease(QMouseEvent* e, QWidget* from) {
    if (e->button() == Qt::LeftButton) {
        // A click inside the selection that started no drag puts the caret there.
        if (std::exchange(mayDragText_, false) && from == textArea_->viewport())
            placeCaret(hitTest(e->position().toPoint()));
        selecting_ = false;
        dragScroll_.stop();
        if (TextSelected() && QGuiApplication::clipboard()->supportsSelection())
            QGuiApplication::clipboard()->setText(document_.textBetween(selStart(), selEnd()),
                                                  QClipboard::Selection);
    }
    const QPoint pt = from->mapTo(this, e->position().toPoint());
    emit MouseUp(buttonMask(e->button()), keys::shiftMask(e->modifiers()), pt.x(), pt.y());
}

SourceTextArea::SourceTextArea(SourceView& view) : QAbstractScrollArea(&view), view_(view) {
    installAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // Text may be dropped here; dropped files are refused, so they reach the window around the view.
    viewport()->setAcceptDrops(true);
}

void SourceTextArea::dragEnterEvent(QDragEnterEvent* e) {
    dragMoveEvent(e);
}

void SourceTextArea::dragMoveEvent(QDragMoveEvent* e) {
    if (view_.dragOver(e->mimeData(), e->position().toPoint()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void SourceTextArea::dragLeaveEvent(QDragLeaveEvent*) {
    view_.dragOver(nullptr, {});
}

void SourceTextArea::dropEvent(QDropEvent* e) {
    const bool fromHere = e->source() == this;
    const bool copy = e->dropAction() == Qt::CopyAction;
    if (view_.dropText(e->mimeData(), e->position().toPoint(), fromHere, copy))
        e->acceptProposedAction();
    else
        e->ignore();
}

void SourceTextArea::paintEvent(QPaintEvent* e) {
    view_.paintTextArea(e);
}

void SourceTextArea::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    view_.updateScrollBars();
    view_.updateMargin();
}

void SourceTextArea::scrollContentsBy(int dx, int dy) {
    view_.contentsScrolled(dx, dy);
}

void SourceTextArea::wheelEvent(QWheelEvent* e) {
    if (!(e->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(e);
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
    QAbstractScrollArea::keyReleaseEvent(e);
}

void SourceTextArea::mousePressEvent(QMouseEvent* e) {
    view_.handleMousePress(e, false);
}

void SourceTextArea::mouseDoubleClickEvent(QMouseEvent* e) {
    view_.handleMousePress(e, true);
}

void SourceTextArea::mouseMoveEvent(QMouseEvent* e) {
    view_.handleMouseMove(e);
}

void SourceTextArea::mouseReleaseEvent(QMouseEvent* e) {
    view_.handleMouseRelease(e, viewport());
}

void SourceTextArea::focusInEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusInEvent(e);
    view_.restartCaretBlink();
}

void SourceTextArea::focusOutEvent(QFocusEvent* e) {
    QAbstractScrollArea::focusOutEvent(e);
    view_.stopCaretBlink();
}

void SourceTextArea::inputMethodEvent(QInputMethodEvent* e) {
    view_.handleInput(e);
}

QVariant SourceTextArea::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return view_.caretRect();
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return view_.caret_.col;
    case Qt::ImSurroundingText:
        return view_.document_.GetLine(view_.caret_.line);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void SourceTextArea::contextMenuEvent(QContextMenuEvent* e) {
    e->accept();
}

bool SourceTextArea::event(QEvent* e) {
    // A character typed without Ctrl, Alt or Meta is text, whatever shortcut the window holds: taken
    // here, the key is not looked up among the window's shortcuts, a lookup through the keyboard map
    // that costs about as much as inserting the character.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        const QString text = k->text();
        if (!(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) && !text.isEmpty() &&
            text.at(0).isPrint()) {
            e->accept();
            return true;
        }
    }
    // Tab and Shift+Tab are editing keys here, not focus moves.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QAbstractScrollArea::event(e);
}
