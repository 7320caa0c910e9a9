#include "platform/sourceview/SourceView.h"

#include "platform/Colors.h"
#include "platform/sourceview/LineData.h"
#include "platform/sourceview/SourceMargin.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QVarLengthArray>

namespace {

// Calls the hook with the painter moved into SourceView coordinates.
class HookPainter {
public:
    HookPainter(QPainter& p, ISourceDraw2* hook, QPoint widgetOrigin)
        : p_(p), hook_(hook), origin_(widgetOrigin) {}
    explicit operator bool() const { return hook_ != nullptr; }
    template <typename F> void call(F&& f) {
        if (!hook_)
            return;
        p_.save();
        p_.translate(-origin_);
        f(*hook_, &p_);
        p_.restore();
    }

private:
    QPainter& p_;
    ISourceDraw2* hook_;
    QPoint origin_;
};

} // namespace

bool SourceView::isSimpleLine(QStringView text) {
    for (QChar c : text)
        if (c.unicode() >= 0x0300 || (c.unicode() < 0x20 && c != u'\t'))
            return false;
    return true;
}

qreal SourceView::cellAdvance() const {
    // Advances add up in 1/64 pixel steps in a layout; the same step keeps both ways of placing text
    // in the same columns.
    return qRound(QFontMetricsF(textArea_->font()).horizontalAdvance(QLatin1Char(' ')) * 64) / 64.0;
}

std::unique_ptr<QTextLayout> SourceView::layoutLine(int line) const {
    auto layout = std::make_unique<QTextLayout>(document_.GetLine(line), textArea_->font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(cellAdvance() * TabWidth);
    layout->setTextOption(option);
    layout->beginLayout();
    layout->createLine();
    layout->endLayout();
    return layout;
}

qreal SourceView::xOfCol(int line, int col) const {
    QString scratch;
    const QStringView text = document_.lineText(line, scratch);
    if (!isSimpleLine(text))
        return layoutLine(line)->lineAt(0).cursorToX(col);
    return displayColumn(line, std::min(col, int(text.size()))) * cellAdvance();
}

int SourceView::colAtX(int line, qreal x) const {
    QString scratch;
    const QStringView text = document_.lineText(line, scratch);
    if (!isSimpleLine(text))
        return layoutLine(line)->lineAt(0).xToCursor(x);
    // The nearer edge of the character under x.
    const qreal advance = cellAdvance();
    int d = 0;
    for (int i = 0; i < text.size(); ++i) {
        const int next = nextColumn(d, text[i]);
        if (x < (d + next) * advance / 2)
            return i;
        d = next;
    }
    return int(text.size());
}

int SourceView::textLeft() const {
    return viewportOrigin().x() + TextMargin - textArea_->horizontalScrollBar()->value();
}

int SourceView::xOrigin() const {
    return marginStyle_ == 2 ? -textArea_->horizontalScrollBar()->value() : textLeft();
}

void SourceView::drawLineText(QPainter& p, int line, const QRectF& r, const QColor* overrideText,
                              qreal clipLeft, qreal clipRight) {
    const QString text = document_.GetLine(line);
    // Lines of plain characters are placed by column; others are laid out for the paint.
    const bool simple = isSimpleLine(text);
    const std::unique_ptr<QTextLayout> layout = simple ? nullptr : layoutLine(line);
    const QTextLine tl = simple ? QTextLine() : layout->lineAt(0);
    const qreal left = r.left() + TextMargin - textArea_->horizontalScrollBar()->value();
    const qreal baseline = r.top() + QFontMetricsF(textArea_->font()).ascent();
    QVarLengthArray<int, 128> columns;
    if (simple) {
        columns.resize(text.size() + 1);
        int d = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            columns[i] = d;
            d = nextColumn(d, text[i]);
        }
        columns[text.size()] = d;
    }
    const qreal advance = cellAdvance();
    auto xAt = [&](int col) { return left + (simple ? columns[col] * advance : tl.cursorToX(col)); };
    // The selected columns of this line, and whether the selection goes on past its end.
    const TextPos s = selStart();
    const TextPos e = selEnd();
    const bool inSelection = line >= s.line && line <= e.line && s != e;
    const int from = inSelection ? (line == s.line ? s.col : 0) : 0;
    const int to = inSelection ? (line == e.line ? e.col : int(text.size())) : 0;
    const bool pastEnd = inSelection && line < e.line;
    const QPalette& pal = textArea_->palette();
    const QColor plain = pal.color(QPalette::Text);
    const QColor selectedText = pal.color(QPalette::HighlightedText);
    const QColor textBack = colors::toQColor(textBackColor_);

    const QList<SourceToken>& tokens = document_.tokens(line);
    if (!overrideText) {
        for (const SourceToken& t : tokens) {
            if (!tokenInfo_.HasBackgroundColor(t.cls))
                continue;
            const QColor back = tokenInfo_.background(t.cls, textBack);
            if (back != textBack)
                p.fillRect(QRectF(xAt(t.start), r.top(), xAt(t.start + t.length) - xAt(t.start), r.height()),
                           back);
        }
        if (to > from || pastEnd) {
            const qreal right = pastEnd ? xAt(to) + CellWidth() : xAt(to);
            p.fillRect(QRectF(xAt(from), r.top(), right - xAt(from), r.height()), pal.color(QPalette::Highlight));
        }
    }

    QFont normal = textArea_->font();
    QFont bold = normal;
    bold.setBold(true);
    bool isBold = false;
    p.setFont(normal);
    if (simple) {
        plainGlyphs_.use(QFont(normal, p.device()));
        boldGlyphs_.use(QFont(bold, p.device()));
    }
    for (const SourceToken& t : tokens) {
        if (t.cls == tokenclass::Plain)
            continue;
        if (simple && xAt(t.start) > clipRight + advance)
            break;
        const bool wantBold = !overrideText && tokenInfo_.isBold(t.cls);
        if (wantBold != isBold) {
            p.setFont(wantBold ? bold : normal);
            isBold = wantBold;
        }
        const QColor color = overrideText ? *overrideText : tokenInfo_.foreground(t.cls, plain);
        // Runs break at TABs (the text after one starts at the next stop) and at the selection edges.
        int i = t.start;
        const int end = t.start + t.length;
        while (i < end) {
            if (text.at(i) == u'\t') {
                ++i;
                continue;
            }
            const bool selected = !overrideText && i >= from && i < to;
            int j = i + 1;
            while (j < end && text.at(j) != u'\t' && (j >= from && j < to) == selected)
                ++j;
            // Characters of a simple line are placed by column: those wholly outside the part being
            // painted (by more than a cell, for a glyph that reaches over) are left out.
            int first = i;
            int last = j;
            if (simple) {
                while (first < last && xAt(first + 1) < clipLeft - advance)
                    ++first;
                while (last > first && xAt(last - 1) > clipRight + advance)
                    --last;
            }
            if (first < last) {
                p.setPen(selected ? selectedText : color);
                // Drawn from their glyphs, unshaped.
                const QPointF at(xAt(first), baseline);
                const QStringView run = QStringView(text).mid(first, last - first);
                if (!simple ||
                    !(isBold ? boldGlyphs_ : plainGlyphs_).draw(p, at, run, &columns[first], advance))
                    p.drawText(at, run.toString());
            }
            i = j;
        }
    }
    if (isBold)
        p.setFont(normal);
}

void SourceView::paintTextArea(QPaintEvent* e) {
    QWidget* vp = textArea_->viewport();
    QPainter p(vp);
    const QRect er = e->rect();
    p.fillRect(er, colors::toQColor(textBackColor_));
    HookPainter hook(p, drawHook_, viewportOrigin());
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PreDraw(hp); });
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PreDrawPage(hp); });

    const int originY = viewportOrigin().y();
    const qreal lineHeight = lineHeightF();
    const int lines = document_.NumLines();
    QRectF r(0, 0, vp->width(), lineHeight);
    for (int line = firstLine(); line < lines; ++line, r.translate(0, lineHeight)) {
        if (r.top() > er.bottom())
            break;
        if (r.bottom() < er.top())
            continue;
        DrawLineRecord rec;
        rec.painter = &p;
        rec.xOrigin = xOrigin();
        rec.y = int(r.top()) + originY;
        rec.line = line;
        hook.call([&rec](ISourceDraw2& h, QPainter* hp) {
            rec.painter = hp;
            h.PreDrawLine(rec);
        });
        if (rec.useOverrideColors) {
            const QColor text = QColor::fromRgb(rec.overrideText);
            p.fillRect(QRectF(0, r.top(), vp->width(), r.height()), QColor::fromRgb(rec.overrideBack));
            drawLineText(p, line, r, &text, er.left(), er.right() + 1);
        } else {
            drawLineText(p, line, r, nullptr, er.left(), er.right() + 1);
        }
    }

    if (caretOn_ && textArea_->hasFocus())
        p.fillRect(caretRect(), textArea_->palette().color(QPalette::Text));
    if (dropPos_.line >= 0) // where dragged text would land
        p.fillRect(caretRect(dropPos_).adjusted(0, 0, 1, 0), textArea_->palette().color(QPalette::Text));
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PostDrawPage(hp); });
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PostDraw(hp); });
}

void SourceView::paintMargin(QPaintEvent* e) {
    QPainter p(margin_);
    const QRect er = e->rect();
    const QColor back = colors::toQColor(backColor_);
    p.fillRect(er, back);
    const int w = MarginWidth();
    const int shift = marginStyle_ == 2 ? -textArea_->horizontalScrollBar()->value() : 0;
    const bool dark = colors::isDark(back);
    // Line numbers stay quieter than the text, but legible (3:1) on any background.
    const QColor numberColor = colors::readable({dark ? back.lighter(220) : back.darker(200)}, back, 3.0);
    const QColor lineColor = dark ? back.lighter(160) : back.darker(115);
    p.setPen(lineColor);
    p.drawLine(w - 1 + shift, er.top(), w - 1 + shift, er.bottom());

    HookPainter hook(p, drawHook_, margin_->mapTo(this, QPoint(0, 0)));
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PreDraw(hp); });
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PreDrawPage(hp); });
    const int caretLine = CaretY();
    const int cw = CellWidth();
    const int originY = viewportOrigin().y();
    const int marginTop = margin_->mapTo(this, QPoint(0, 0)).y();
    QFont bold = p.font();
    bold.setBold(true);
    const QFont normal = p.font();
    const qreal lineHeight = lineHeightF();
    const int lines = document_.NumLines();
    QRectF r(0, originY - marginTop, w, lineHeight);
    for (int line = firstLine(); line < lines; ++line, r.translate(0, lineHeight)) {
        if (r.top() > er.bottom())
            break;
        if (r.bottom() < er.top())
            continue;
        if (document_.HasBookmark(line)) {
            const QRectF mark(shift + 2, r.top() + 2, qMax(4, cw - 2), r.height() - 4);
            p.setRenderHint(QPainter::Antialiasing, true);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 128, 192));
            p.drawRoundedRect(mark, 2, 2);
            p.setRenderHint(QPainter::Antialiasing, false);
        }
        p.setFont(line == caretLine ? bold : normal);
        p.setPen(numberColor);
        p.drawText(QRectF(shift + cw, r.top(), w - 2 * cw + cw / 2, r.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(line + 1));
        DrawLineRecord rec;
        rec.xOrigin = xOrigin();
        rec.y = int(r.top()) + marginTop;
        rec.line = line;
        hook.call([&rec](ISourceDraw2& h, QPainter* hp) {
            rec.painter = hp;
            h.PreDrawLine(rec);
        });
    }
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PostDrawPage(hp); });
    hook.call([](ISourceDraw2& h, QPainter* hp) { h.PostDraw(hp); });
}

SourceMargin::SourceMargin(SourceView& view, QWidget* parent) : QWidget(parent), view_(view) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void SourceMargin::paintEvent(QPaintEvent* e) {
    view_.paintMargin(e);
}

void SourceMargin::mouseReleaseEvent(QMouseEvent* e) {
    view_.handleMouseRelease(e, this);
}
