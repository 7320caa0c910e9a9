#include "platform/sourceview/SourceView.h"

#include "platform/Colors.h"
#include "platform/sourceview/LineData.h"
#include "platform/Prompts.h"
#include "platform/sourceview/SourceMargin.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace {

bool sameAdvances(const QFont& f) {
    const QFontMetricsF m(f);
    return m.horizontalAdvance(QLatin1Char('i')) == m.horizontalAdvance(QLatin1Char('W'));
}

// The system's fixed font; when it does not really have equal advances, the first family that has.
QFont monospaceFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (sameAdvances(font))
        return font;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isFixedPitch(family))
            continue;
        QFont candidate(family, font.pointSize());
        if (sameAdvances(candidate) && QFontInfo(candidate).family() == family)
            return candidate;
    }
    return font;
}

} // namespace

SourceView::SourceView(QWidget* parent)
    : QWidget(parent), edit_(new SourceTextArea(*this)), margin_(new SourceMargin(*this, edit_)),
      backColor_(colors::SystemWindow), textBackColor_(colors::SystemWindow) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit_);
    setFocusProxy(edit_);

    const QFont font = monospaceFont();
    if (font.pointSizeF() > 0)
        normalPointSize_ = font.pointSizeF();
    setFont(font);
    edit_->setDocument(document_.textDocument());
    document_.textDocument()->setDefaultFont(font);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setFrameShape(QFrame::NoFrame);
    edit_->setTabStopDistance(cellAdvance() * TabWidth);
    edit_->viewport()->setMouseTracking(true);

    connect(edit_, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        if (dying_)
            return;
        desiredDisplayCol_ = -1;
        restartCaretBlink();
        emit CaretMove(CaretX(), CaretY());
    });
    connect(&caretBlink_, &QTimer::timeout, this, &SourceView::blinkCaret);
    connect(&document_, &SourceDocument::linesChanged, this, &SourceView::LinesChanged);
    connect(&document_, &SourceDocument::keywordsChanged, this, &SourceView::Refresh);
    connect(&document_, &SourceDocument::repaintRequested, this, &SourceView::repaintLines);
    connect(&tokenInfo_, &TokenStyles::changed, this, &SourceView::Refresh);
    connect(edit_, &QPlainTextEdit::blockCountChanged, this, &SourceView::updateMargin);
    connect(edit_, &QPlainTextEdit::updateRequest, margin_, [this](const QRect&, int) { margin_->update(); });
    connect(edit_->horizontalScrollBar(), &QScrollBar::valueChanged, margin_, [this] { margin_->update(); });
    applyColors();
    updateMargin();
}

SourceView::~SourceView() {
    // The text area goes first, while the document and the rest of the view still exist; its last
    // focus and cursor notifications must not reach a view that is being torn down.
    dying_ = true;
    delete edit_;
}

QTextCursor SourceView::cursor() const {
    return edit_->textCursor();
}

QPoint SourceView::viewportOrigin() const {
    return edit_->viewport()->mapTo(this, QPoint(0, 0));
}

int SourceView::CaretX() const {
    return cursor().positionInBlock();
}
int SourceView::CaretY() const {
    return cursor().blockNumber();
}
bool SourceView::TextSelected() const {
    return cursor().hasSelection();
}

void SourceView::GetSel(int& col1, int& line1, int& col2, int& line2) const {
    const QTextCursor c = cursor();
    const QTextDocument* doc = document_.textDocument();
    const QTextBlock b1 = doc->findBlock(c.selectionStart());
    const QTextBlock b2 = doc->findBlock(c.selectionEnd());
    line1 = b1.blockNumber();
    col1 = c.selectionStart() - b1.position();
    line2 = b2.blockNumber();
    col2 = c.selectionEnd() - b2.position();
}

void SourceView::SetSel(int col1, int line1, int col2, int line2) {
    QTextCursor c = cursor();
    c.setPosition(document_.position(col1, line1));
    c.setPosition(document_.position(col2, line2), QTextCursor::KeepAnchor);
    placeCursor(c);
}

void SourceView::MoveCaret(int col, int line) {
    QTextCursor c = cursor();
    c.setPosition(document_.position(col, qBound(0, line, document_.NumLines() - 1)));
    placeCursor(c);
}

void SourceView::placeCursor(const QTextCursor& c) {
    edit_->setTextCursor(c);
    // Every caret move made for the user (errors, bookmarks, find, go to line, label jumps) shows
    // the caret, scrolling no more than it takes: a line already in view stays where it is.
    edit_->ensureCursorVisible();
}

void SourceView::SetScrollPos(int col, int line) {
    edit_->verticalScrollBar()->setValue(qMax(0, line));
    edit_->horizontalScrollBar()->setValue(qMax(0, col) * CellWidth());
}

void SourceView::GetScrollPos(int& col, int& line) const {
    line = edit_->firstVisibleBlock().blockNumber();
    const int cw = CellWidth();
    col = cw > 0 ? (edit_->horizontalScrollBar()->value() + cw / 2) / cw : 0;
}

int SourceView::LinesInView() const {
    const qreal h = lineHeightF();
    return h > 0 ? qMax(1, int(edit_->viewport()->height() / h)) : 1;
}

void SourceView::SelectWord() {
    QTextCursor c = cursor();
    c.select(QTextCursor::WordUnderCursor);
    placeCursor(c);
}

void SourceView::Cut() {
    edit_->cut();
}
void SourceView::Copy() {
    edit_->copy();
}
void SourceView::Paste() {
    edit_->paste();
}
void SourceView::Undo() {
    QTextCursor c = cursor();
    document_.undoRedo(true, &c);
    placeCursor(c);
}

void SourceView::Redo() {
    QTextCursor c = cursor();
    document_.undoRedo(false, &c);
    placeCursor(c);
}

void SourceView::Refresh() {
    edit_->viewport()->update();
    margin_->update();
}

void SourceView::SetFocus() {
    edit_->setFocus();
}

void SourceView::SetZoom(int points) {
    const int lowest = int(std::ceil(MinPointSize - normalPointSize_));
    const int highest = int(std::floor(MaxPointSize - normalPointSize_));
    points = std::clamp(points, lowest, highest);
    if (points == zoom_)
        return;
    zoom_ = points;
    QFont f = font();
    f.setPointSizeF(normalPointSize_ + zoom_);
    // The text area and the margin take the view's font; the document lays its blocks out with it.
    setFont(f);
    document_.textDocument()->setDefaultFont(f);
    edit_->setTabStopDistance(cellAdvance() * TabWidth);
    updateMargin();
    Refresh();
}

void SourceView::SetMarginStyle(int style) {
    marginStyle_ = (style >= 0 && style <= 2) ? style : 0;
    updateMargin();
}

void SourceView::SetMarginCells(int cells) {
    marginCells_ = qMax(1, cells);
    updateMargin();
}

int SourceView::CellWidth() const {
    return qMax(1, QFontMetrics(edit_->font()).horizontalAdvance(QLatin1Char('x')));
}

int SourceView::LineHeight() const {
    return qRound(lineHeightF());
}

qreal SourceView::lineHeightF() const {
    // Lines never wrap, so every line is as high as the first; the last block also carries the
    // document's bottom margin.
    const QTextDocument* doc = document_.textDocument();
    const QTextBlock first = doc->begin();
    qreal h = edit_->blockBoundingRect(first).height();
    if (!first.next().isValid())
        h -= doc->documentMargin();
    return h > 0 ? h : QFontMetricsF(font()).height();
}

qreal SourceView::lineTop(int line) const {
    // QPlainTextEdit only knows where the blocks near the top of the view are, so the others are
    // counted from the first visible one.
    const QTextBlock top = edit_->firstVisibleBlock();
    const qreal y0 = edit_->blockBoundingGeometry(top).translated(edit_->contentOffset()).top();
    return y0 + (line - top.blockNumber()) * lineHeightF();
}

void SourceView::SetBackColor(qint32 color) {
    backColor_ = color;
    applyColors();
}

void SourceView::SetTextBackColor(qint32 color) {
    textBackColor_ = color;
    applyColors();
}

void SourceView::applyColors() {
    QPalette pal = edit_->palette();
    pal.setColor(QPalette::Base, colors::toQColor(textBackColor_));
    edit_->setPalette(pal);
    Refresh();
}

void SourceView::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    // A system background colour is looked up again when the desktop's palette changes.
    if (e->type() == QEvent::PaletteChange)
        applyColors();
}

void SourceView::updateMargin() {
    const int w = MarginWidth();
    edit_->setViewportMargins(w, 0, 0, 0);
    const QRect cr = edit_->contentsRect();
    margin_->setGeometry(QRect(cr.left(), cr.top(), w, cr.height()));
    margin_->setVisible(w > 0);
    margin_->update();
}

void SourceView::repaintLines(int line1, int line2) {
    const int h = edit_->viewport()->height();
    const qreal top = qBound<qreal>(-1, lineTop(qMax(0, line1)), h + 1);
    const qreal bottom = qBound<qreal>(-1, lineTop(qMax(line1, line2) + 1), h + 1);
    if (bottom <= 0 || top >= h)
        return;
    const QRect area(0, int(top), edit_->viewport()->width(), int(bottom - top) + 1);
    edit_->viewport()->update(area);
    margin_->update(QRect(0, area.top(), margin_->width(), area.height()));
}

void SourceView::SetDrawHook(ISourceDraw2* hook) {
    drawHook_ = hook;
    Refresh();
}

Prompts* SourceView::prompts() const {
    static QtPrompts fallback;
    return prompts_ ? prompts_ : &fallback;
}

void SourceView::HitTest(int x, int y, int& col, int& line) const {
    const QPoint vp = viewportOrigin();
    const QTextCursor c = edit_->cursorForPosition(QPoint(qMax(0, x - vp.x()), y - vp.y()));
    col = c.positionInBlock();
    line = c.blockNumber();
}

void SourceView::GetTokenAt(int col, int line, int& tokenClass, int& tokenStart, int& tokenLength) const {
    tokenClass = 0;
    tokenStart = col;
    tokenLength = 0;
    const QTextBlock b = document_.textDocument()->findBlockByNumber(line);
    if (!b.isValid() || col < 0)
        return;
    for (const SourceToken& t : document_.tokens(b)) {
        if (col >= t.start && col < t.start + t.length) {
            tokenClass = t.cls;
            tokenStart = t.start;
            tokenLength = t.length;
            return;
        }
    }
}

void SourceView::GetDisplayPos(int col, int line, int& displayCol, int& displayLine) const {
    const QString text = document_.GetLine(line);
    int d = 0;
    for (int i = 0; i < col; ++i) {
        if (i < text.size() && text.at(i) == u'\t')
            d = (d / TabWidth + 1) * TabWidth;
        else
            ++d;
    }
    displayCol = d;
    displayLine = line;
}

void SourceView::PositionToPoint(int col, int line, int& x, int& y) const {
    QTextCursor c(document_.textDocument());
    c.setPosition(document_.position(col, line));
    const QRect r = edit_->cursorRect(c);
    const QPoint vp = viewportOrigin();
    x = r.left() + vp.x();
    y = qRound(lineTop(c.blockNumber())) + vp.y();
}

void SourceView::restartCaretBlink() {
    if (dying_)
        return;
    caretOn_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (edit_->hasFocus() && flash > 0)
        caretBlink_.start(flash / 2);
    else
        caretBlink_.stop();
    edit_->viewport()->update(edit_->cursorRect().adjusted(-1, 0, 1, 0));
}

void SourceView::stopCaretBlink() {
    if (dying_)
        return;
    caretBlink_.stop();
    caretOn_ = false;
    edit_->viewport()->update(edit_->cursorRect().adjusted(-1, 0, 1, 0));
}

void SourceView::blinkCaret() {
    caretOn_ = !caretOn_;
    edit_->viewport()->update(edit_->cursorRect().adjusted(-1, 0, 1, 0));
}
