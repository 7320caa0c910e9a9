#include "platform/sourceview/SourceView.h"

#include "platform/Colors.h"
#include "platform/Prompts.h"
#include "platform/sourceview/LineData.h"
#include "platform/sourceview/SourceMargin.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QAccessible>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextLayout>

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
    : QWidget(parent), textArea_(new SourceTextArea(*this)), margin_(new SourceMargin(*this, textArea_)),
      backColor_(colors::SystemWindow), textBackColor_(colors::SystemWindow) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textArea_);
    setFocusProxy(textArea_);

    const QFont font = monospaceFont();
    if (font.pointSizeF() > 0)
        normalPointSize_ = font.pointSizeF();
    setFont(font);
    textArea_->setFrameShape(QFrame::NoFrame);
    textArea_->viewport()->setMouseTracking(true);
    textArea_->viewport()->setCursor(Qt::IBeamCursor);

    connect(&caretBlink_, &QTimer::timeout, this, &SourceView::blinkCaret);
    // Held beyond the edge, the selection goes on a line (or a column) a beat: the caret is shown,
    // so the text scrolls under the pointer.
    connect(&dragScroll_, &QTimer::timeout, this, [this] {
        if (!selecting_) {
            dragScroll_.stop();
            return;
        }
        QPoint p = dragPoint_;
        const QRect area = textArea_->viewport()->rect();
        p.setY(p.y() < area.top() ? -1 : p.y() > area.bottom() ? area.bottom() + LineHeight() : p.y());
        placeCaret(hitTest(p), anchor_);
    });
    connect(&document_, &SourceDocument::linesChanged, this, &SourceView::LinesChanged);
    connect(&document_, &SourceDocument::keywordsChanged, this, &SourceView::Refresh);
    connect(&document_, &SourceDocument::repaintRequested, this, &SourceView::repaintLines);
    connect(&document_, &SourceDocument::textReplaced, this, &SourceView::onTextReplaced);
    connect(&document_, &SourceDocument::contentsReset, this, &SourceView::onContentsReset);
    connect(&tokenInfo_, &TokenStyles::changed, this, &SourceView::Refresh);
    applyColors();
    updateMargin();
    updateScrollBars();
}

SourceView::~SourceView() {
    // The text area goes first, while the document and the rest of the view still exist; its last
    // focus notifications must not reach a view that is being torn down.
    dying_ = true;
    delete textArea_;
}

QPoint SourceView::viewportOrigin() const {
    return textArea_->viewport()->mapTo(this, QPoint(0, 0));
}

int SourceView::CaretX() const {
    return caret_.col;
}
int SourceView::CaretY() const {
    return caret_.line;
}
bool SourceView::TextSelected() const {
    return caret_ != anchor_;
}

void SourceView::GetSel(int& col1, int& line1, int& col2, int& line2) const {
    const TextPos a = selStart();
    const TextPos b = selEnd();
    line1 = a.line;
    col1 = a.col;
    line2 = b.line;
    col2 = b.col;
}

void SourceView::SetSel(int col1, int line1, int col2, int line2) {
    placeCaret(document_.clamp({line2, col2}), document_.clamp({line1, col1}));
}

void SourceView::MoveCaret(int col, int line) {
    placeCaret(document_.clamp({qBound(0, line, document_.NumLines() - 1), col}));
}

void SourceView::setCaret(TextPos caret, TextPos anchor) {
    if (caret == caret_ && anchor == anchor_)
        return;
    const int first = std::min({caret.line, anchor.line, caret_.line, anchor_.line});
    const int last = std::max({caret.line, anchor.line, caret_.line, anchor_.line});
    const bool moved = caret != caret_;
    const bool selection = caret != anchor || caret_ != anchor_;
    // The margin shows the caret's line number in bold: its cells change only with the caret's line.
    if (caret.line != caret_.line) {
        repaintMarginLines(caret_.line, caret_.line);
        repaintMarginLines(caret.line, caret.line);
    }
    // A selection repaints its lines; a bare caret only the cell it leaves (and, blinking anew, the
    // one it comes to).
    if (selection)
        repaintText(first, last);
    else
        textArea_->viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
    caret_ = caret;
    anchor_ = anchor;
    if (moved && !dying_) {
        desiredDisplayCol_ = -1;
        restartCaretBlink();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent e(textArea_, offsetOf(caret_));
            QAccessible::updateAccessibility(&e);
        }
        emit CaretMove(caret_.col, caret_.line);
    }
    if (selection && !dying_)
        emit SelectionChanged();
}

void SourceView::placeCaret(TextPos caret, TextPos anchor) {
    setCaret(caret, anchor);
    // Every caret move made for the user (errors, bookmarks, find, go to line, label jumps) shows
    // the caret, scrolling no more than it takes: a line already in view stays where it is.
    ensureCaretVisible();
}

void SourceView::ensureCaretVisible() {
    QScrollBar* v = textArea_->verticalScrollBar();
    const int top = v->value();
    const int rows = LinesInView();
    if (caret_.line < top)
        v->setValue(caret_.line);
    else if (caret_.line >= top + rows)
        v->setValue(caret_.line - rows + 1);
    QScrollBar* h = textArea_->horizontalScrollBar();
    const int x = int(TextMargin + xOfCol(caret_.line, caret_.col));
    const int width = textArea_->viewport()->width();
    // Past the right edge the view goes a step further than it must (as far as the range lets it):
    // typing at the end of a long line scrolls once a step, not with every character.
    if (x - TextMargin < h->value())
        h->setValue(x - TextMargin);
    else if (x + CellWidth() > h->value() + width)
        h->setValue(x + CellWidth() - width + horizontalStep());
}

void SourceView::onTextReplaced(TextPos from, TextPos oldEnd, TextPos newEnd, const QString& removed) {
    // Positions after the edit move with the text; those inside what was replaced go to its end.
    auto follow = [&](TextPos p) {
        if (p < from)
            return p;
        if (p < oldEnd)
            return newEnd;
        if (p.line == oldEnd.line)
            return TextPos{newEnd.line, newEnd.col + p.col - oldEnd.col};
        return TextPos{p.line + newEnd.line - oldEnd.line, p.col};
    };
    const bool linesMoved = oldEnd.line != newEnd.line;
    // The widest line only grows here; a load measures it again.
    for (int line = from.line; line <= newEnd.line; ++line)
        widestLine_ = std::max(widestLine_, displayColumn(line, document_.GetLineLength(line)));
    const TextPos caret = follow(caret_);
    const TextPos anchor = follow(anchor_);
    if (linesMoved) {
        updateScrollBars();
        updateMargin();
        Refresh();
    } else {
        updateScrollBars();
        if (from.line == oldEnd.line && from.line == newEnd.line)
            repaintEdit(from.line, from.col, newEnd.col, removed);
        else
            repaintText(from.line, newEnd.line);
    }
    setCaret(caret, anchor);
    if (QAccessible::isActive())
        tellAssistants(from, removed, document_.textBetween(from, newEnd));
}

void SourceView::onContentsReset() {
    widestLine_ = 0;
    for (int line = 0; line < document_.NumLines(); ++line)
        widestLine_ = std::max(widestLine_, displayColumn(line, document_.GetLineLength(line)));
    caret_ = anchor_ = {};
    desiredDisplayCol_ = -1;
    textArea_->verticalScrollBar()->setValue(0);
    textArea_->horizontalScrollBar()->setValue(0);
    updateScrollBars();
    updateMargin();
    Refresh();
    if (!dying_)
        emit CaretMove(0, 0);
}

namespace {

// A new range makes the scroll area lay its bars out again (a queued call on the range signal),
// and laying out raises both bars, which repaints them and what lies under them. Only a bar that
// appears or disappears needs that; any other range goes in quietly and the bar repaints itself.
// (Nothing else listens to these bars' range: the view reads it when it needs it.)
void setMaximum(QScrollBar* bar, int max) {
    const bool layoutStays = (bar->maximum() > 0) == (max > 0) && bar->value() <= max;
    const QSignalBlocker quiet(layoutStays ? bar : nullptr);
    bar->setRange(0, max);
}

} // namespace

void SourceView::updateScrollBars() {
    QScrollBar* v = textArea_->verticalScrollBar();
    const int rows = LinesInView();
    setMaximum(v, std::max(0, document_.NumLines() - rows));
    v->setPageStep(rows);
    v->setSingleStep(1);
    QScrollBar* h = textArea_->horizontalScrollBar();
    const int width = textArea_->viewport()->width();
    const int needed = int(std::ceil(2 * TextMargin + (widestLine_ + 1) * cellAdvance()));
    // Past the view's width the range grows a step at a time, so that typing at the end of the
    // widest line changes (and repaints) the scroll bar once a step, not with every character.
    const int step = horizontalStep();
    setMaximum(h, needed > width ? (needed - width + step - 1) / step * step : 0);
    h->setPageStep(std::max(1, width));
    h->setSingleStep(CellWidth());
}

int SourceView::horizontalStep() const {
    return std::max(CellWidth(), textArea_->viewport()->width() / 4 / CellWidth() * CellWidth());
}

int SourceView::firstLine() const {
    return textArea_->verticalScrollBar()->value();
}

void SourceView::SetScrollPos(int col, int line) {
    textArea_->verticalScrollBar()->setValue(qMax(0, line));
    textArea_->horizontalScrollBar()->setValue(qMax(0, col) * CellWidth());
}

void SourceView::GetScrollPos(int& col, int& line) const {
    line = firstLine();
    const int cw = CellWidth();
    col = cw > 0 ? (textArea_->horizontalScrollBar()->value() + cw / 2) / cw : 0;
}

int SourceView::LinesInView() const {
    const qreal h = lineHeightF();
    return h > 0 ? qMax(1, int(textArea_->viewport()->height() / h)) : 1;
}

void SourceView::SelectWord() {
    QString scratch;
    const QStringView text = document_.lineText(caret_.line, scratch);
    // The marks on a letter belong to its word, as the word steps take them.
    auto word = [&](int i) {
        return i >= 0 && i < text.size() && (SourceLexer::isWordChar(text[i]) || text[i].isMark());
    };
    int from = caret_.col;
    if (!word(from) && word(from - 1))
        --from;
    if (!word(from))
        return;
    int to = from;
    while (word(from - 1))
        --from;
    while (word(to))
        ++to;
    placeCaret({caret_.line, to}, {caret_.line, from});
}

void SourceView::insertText(const QString& text) {
    // The caret follows the edit to the end of the new text (see onTextReplaced).
    document_.replace(selStart(), selEnd(), text);
}

void SourceView::Cut() {
    if (!TextSelected())
        return;
    Copy();
    insertText(QString());
}

void SourceView::Copy() {
    if (TextSelected())
        QGuiApplication::clipboard()->setText(document_.textBetween(selStart(), selEnd()));
}

void SourceView::Paste() {
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        insertText(text);
}

void SourceView::Undo() {
    if (const TextPos at = document_.undoRedo(true); at.line >= 0)
        placeCaret(at);
}

void SourceView::Redo() {
    if (const TextPos at = document_.undoRedo(false); at.line >= 0)
        placeCaret(at);
}

void SourceView::Refresh() {
    textArea_->viewport()->update();
    margin_->update();
}

void SourceView::SetFocus() {
    textArea_->setFocus();
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
    // The text area and the margin take the view's font.
    setFont(f);
    updateMargin();
    updateScrollBars();
    ensureCaretVisible();
    Refresh();
}

void SourceView::SetMarginStyle(int style) {
    marginStyle_ = (style >= 0 && style <= 2) ? style : 0;
    updateMargin();
}

int SourceView::MarginCells() const {
    // A line number stands right-aligned between one cell at the left (the bookmark) and half a cell
    // at the right (see paintMargin), in bold on the caret line: the last line's number must fit.
    const int cw = CellWidth();
    QFont bold = textArea_->font();
    bold.setBold(true);
    const QFontMetricsF fm(bold);
    qreal digit = 0;
    for (char16_t d = u'0'; d <= u'9'; ++d)
        digit = std::max(digit, fm.horizontalAdvance(QChar(d)));
    const qsizetype digits = QString::number(document_.NumLines()).size();
    const int room = 2 * cw - cw / 2;
    return std::max(MinMarginCells, int(std::ceil((digits * digit + room) / cw)));
}

int SourceView::CellWidth() const {
    return qMax(1, QFontMetrics(textArea_->font()).horizontalAdvance(QLatin1Char('x')));
}

int SourceView::LineHeight() const {
    return qRound(lineHeightF());
}

qreal SourceView::lineHeightF() const {
    // Whole pixels, so that lines far down the text do not drift against the margin.
    return std::max<qreal>(1, std::ceil(QFontMetricsF(textArea_->font()).height()));
}

qreal SourceView::lineTop(int line) const {
    return (line - firstLine()) * lineHeightF();
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
    QPalette pal = textArea_->palette();
    const QColor base = colors::toQColor(textBackColor_);
    pal.setColor(QPalette::Base, base);
    // Text of a class without a colour, and the caret: the desktop's text colour where it reads.
    pal.setColor(QPalette::Text, colors::readable({palette().color(QPalette::Text)}, base));
    textArea_->setPalette(pal);
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
    textArea_->setViewportMargins(w, 0, 0, 0);
    // Beside the lines only: under the horizontal scroll bar it would be painted with every move of
    // the bar.
    const QRect cr = textArea_->contentsRect();
    margin_->setGeometry(QRect(cr.left(), cr.top(), w, textArea_->viewport()->height()));
    margin_->setVisible(w > 0);
    margin_->update();
}

void SourceView::contentsScrolled(int dx, int dyLines) {
    // What stays in view moves with the text (columns and rows are whole pixels apart); only what
    // comes into view is painted. The margin moves with the lines, and sideways where it scrolls
    // with the text.
    const int dy = dyLines * LineHeight();
    textArea_->viewport()->scroll(dx, dy);
    const int marginDx = marginStyle_ == 2 ? dx : 0;
    if (marginDx != 0 || dy != 0)
        margin_->scroll(marginDx, dy);
}

std::pair<int, int> SourceView::rowsOf(int line1, int line2) const {
    const int h = textArea_->viewport()->height();
    const qreal top = qBound<qreal>(-1, lineTop(qMax(0, line1)), h + 1);
    const qreal bottom = qBound<qreal>(-1, lineTop(qMax(line1, line2) + 1), h + 1);
    if (bottom <= 0 || top >= h)
        return {0, -1};
    return {int(top), int(bottom)};
}

void SourceView::repaintText(int line1, int line2) {
    const auto [top, bottom] = rowsOf(line1, line2);
    if (bottom > top)
        textArea_->viewport()->update(QRect(0, top, textArea_->viewport()->width(), bottom - top));
}

void SourceView::repaintEdit(int line, int col, int newEndCol, const QString& removed) {
    QString scratch;
    const QStringView now = document_.lineText(line, scratch);
    const QString before = now.left(col).toString() + removed + now.mid(newEndCol).toString();
    // Laid-out lines may shape what comes before the edit anew: those are painted whole.
    if (!isSimpleLine(now) || !isSimpleLine(before)) {
        repaintText(line, line);
        return;
    }
    // What stands before the edit keeps its place, and its look unless a word's class changed; the
    // repaint starts a column early for a glyph that reaches into its left neighbour.
    const int first = std::max(
        0, SourceLexer::firstClassChange(document_.lexText(before), document_.tokens(line), col) - 1);
    const auto [top, bottom] = rowsOf(line, line);
    if (bottom <= top)
        return;
    const int left = std::max(0, int(std::floor(TextMargin + xOfCol(line, first))) -
                                     textArea_->horizontalScrollBar()->value());
    textArea_->viewport()->update(QRect(left, top, textArea_->viewport()->width() - left, bottom - top));
}

void SourceView::repaintMarginLines(int line1, int line2) {
    const auto [top, bottom] = rowsOf(line1, line2);
    if (bottom > top)
        margin_->update(QRect(0, top, margin_->width(), bottom - top));
}

void SourceView::repaintLines(int line1, int line2) {
    repaintText(line1, line2);
    repaintMarginLines(line1, line2);
}

void SourceView::SetDrawHook(ISourceDraw2* hook) {
    drawHook_ = hook;
    Refresh();
}

Prompts* SourceView::prompts() const {
    static QtPrompts fallback;
    return prompts_ ? prompts_ : &fallback;
}

TextPos SourceView::hitTest(QPoint p) const {
    const int line =
        qBound(0, firstLine() + int(std::floor(p.y() / lineHeightF())), document_.NumLines() - 1);
    const qreal x = p.x() + textArea_->horizontalScrollBar()->value() - TextMargin;
    return {line, colAtX(line, x)};
}

void SourceView::HitTest(int x, int y, int& col, int& line) const {
    const QPoint vp = viewportOrigin();
    const TextPos at = hitTest(QPoint(qMax(0, x - vp.x()), y - vp.y()));
    col = at.col;
    line = at.line;
}

void SourceView::GetTokenAt(int col, int line, int& tokenClass, int& tokenStart, int& tokenLength) const {
    tokenClass = 0;
    tokenStart = col;
    tokenLength = 0;
    if (line < 0 || line >= document_.NumLines() || col < 0)
        return;
    for (const SourceToken& t : document_.tokens(line)) {
        if (col >= t.start && col < t.start + t.length) {
            tokenClass = t.cls;
            tokenStart = t.start;
            tokenLength = t.length;
            return;
        }
    }
}

int SourceView::displayColumn(int line, int col) const {
    // Only a TAB takes more than one column.
    if (!document_.lineHasTab(line))
        return col;
    QString scratch;
    const QStringView text = document_.lineText(line, scratch);
    int d = 0;
    for (int i = 0; i < col; ++i)
        d = nextColumn(d, i < text.size() ? text[i] : QChar(u' '));
    return d;
}

void SourceView::GetDisplayPos(int col, int line, int& displayCol, int& displayLine) const {
    displayCol = displayColumn(line, col);
    displayLine = line;
}

void SourceView::PositionToPoint(int col, int line, int& x, int& y) const {
    const TextPos p = document_.clamp({line, col});
    x = textLeft() + qRound(xOfCol(p.line, p.col));
    y = qRound(lineTop(p.line)) + viewportOrigin().y();
}

QRect SourceView::caretRect(TextPos p) const {
    const int x = TextMargin + qRound(xOfCol(p.line, p.col)) - textArea_->horizontalScrollBar()->value();
    return QRect(x, int(lineTop(p.line)), 1, LineHeight());
}

void SourceView::restartCaretBlink() {
    if (dying_)
        return;
    caretOn_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (textArea_->hasFocus() && flash > 0)
        caretBlink_.start(flash / 2);
    else
        caretBlink_.stop();
    textArea_->viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
}

void SourceView::stopCaretBlink() {
    if (dying_)
        return;
    caretBlink_.stop();
    caretOn_ = false;
    textArea_->viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
}

void SourceView::blinkCaret() {
    caretOn_ = !caretOn_;
    textArea_->viewport()->update(caretRect().adjusted(-1, 0, 1, 0));
}
