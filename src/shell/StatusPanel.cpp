#include "shell/StatusPanel.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace {
// Room left and right of the text, inside the frame.
constexpr int Padding = 3;

// Printable ASCII without the f-ligatures (ff, fi, fl) that fonts make by default.
bool plainAscii(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 || c > 0x7e)
            return false;
        if (c == u'f' && i + 1 < text.size() && QStringView(u"fil").contains(text[i + 1]))
            return false;
    }
    return true;
}

// The glyphs of a text in `raw`, each placed after the kerned advance of the one before; null when
// the font lacks one of them.
QGlyphRun placeGlyphs(const QRawFont& raw, const QString& text, qreal& width) {
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.size() != text.size() || glyphs.contains(0u))
        return {};
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    width = 0;
    for (const QPointF& a : advances) {
        positions.append(QPointF(width, 0));
        width += a.x();
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return run;
}

} // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int StatusPanel::textWidth(const QString& text) const {
    return qCeil(QFontMetricsF(font()).horizontalAdvance(text)) + 2 * Padding + 2 * frameWidth();
}

void StatusPanel::setText(const QString& text) {
    if (text == text_)
        return;
    QRect dirty = contentsRect();
    const int room = dirty.width() - 2 * Padding;
    // Placed texts that both fit: the glyphs before the first that differs stay, but for the one just
    // before it (its kerning with the next may change).
    const bool before = isVisible() && placed() && qCeil(runWidth_) <= room;
    const QList<QPointF> was = before ? run_.positions() : QList<QPointF>();
    const qsizetype same =
        std::mismatch(text_.cbegin(), text_.cend(), text.cbegin(), text.cend()).first - text_.cbegin();
    text_ = text;
    if (before && same > 1 && placed() && qCeil(runWidth_) <= room)
        dirty.setLeft(dirty.left() + Padding + qFloor(was[same - 1].x()) - 1);
    // Screen readers read the panel by its name.
    if (QAccessible::isActive())
        setAccessibleName(text_);
    // Whether the text fits is found out as it is painted: while the panel is not shown the layout is
    // asked at once.
    if (!isVisible())
        updateGeometry();
    update(dirty);
}

bool StatusPanel::placed() {
    const QFont font(this->font(), this);
    if (!probed_ || font != placedFont_) {
        probed_ = true;
        placedFont_ = font;
        placedText_.clear();
        run_ = QGlyphRun();
        runWidth_ = 0;
        raw_ = QRawFont::fromFont(font);
        // A sample of what the panels show, laid out by the font's shaping and placed glyph by glyph.
        static const QString sample =
            QStringLiteral("Line:  10 Col: 234 PBP UTF-8 AVTWYaeo.,;_-()[]'\"=+*/#%&!?<>");
        QTextLayout layout(sample, font, this);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        const QList<QGlyphRun> shaped = layout.glyphRuns();
        qreal width = 0;
        const QGlyphRun mine = raw_.isValid() ? placeGlyphs(raw_, sample, width) : QGlyphRun();
        rawLikeLayout_ = shaped.size() == 1 && !mine.isEmpty() &&
                         shaped.first().glyphIndexes() == mine.glyphIndexes() &&
                         std::equal(mine.positions().cbegin(), mine.positions().cend(),
                                    shaped.first().positions().cbegin(), shaped.first().positions().cend(),
                                    [](QPointF a, QPointF b) { return qAbs(a.x() - b.x()) < 1.0 / 64; });
        if (!rawLikeLayout_)
            raw_ = QRawFont();
    }
    if (!rawLikeLayout_ || !plainAscii(text_))
        return false;
    if (placedText_ != text_) {
        run_ = placeGlyphs(raw_, text_, runWidth_);
        placedText_ = text_;
    }
    return text_.isEmpty() || !run_.isEmpty();
}

QSize StatusPanel::sizeHint() const {
    return QSize(textWidth(text_), fontMetrics().height() + 2 * frameWidth());
}

QSize StatusPanel::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void StatusPanel::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    // Opaque: the status bar behind is not painted again for a new text. A new text repaints the
    // inside alone; the frame is drawn when it is part of what needs painting.
    p.fillRect(e->rect(), palette().color(QPalette::Window));
    if (!contentsRect().contains(e->rect()))
        drawFrame(&p);
    const QRect r = contentsRect().adjusted(Padding, 0, -Padding, 0);
    p.setPen(palette().color(QPalette::WindowText));
    if (placed()) {
        if (qCeil(runWidth_) <= r.width()) {
            // Where a layout would put it: its line centred, the baseline its ascent below the top.
            const QFontMetricsF metrics(placedFont_);
            const qreal height = std::ceil(metrics.ascent() + metrics.descent());
            if (!text_.isEmpty())
                p.drawGlyphRun(QPointF(r.left(), r.top() + (r.height() - height) / 2 + metrics.ascent()),
                               run_);
            return;
        }
    } else {
        // Laid out once, both to measure it and to draw it.
        QTextLayout layout(text_, font());
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        if (qCeil(line.naturalTextWidth()) <= r.width()) {
            layout.draw(&p, QPointF(r.left(), r.top() + (r.height() - line.height()) / 2));
            return;
        }
    }
    // Too long for the panel: shown cut short until the window has made room for it.
    updateGeometry();
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text_, Qt::ElideRight, r.width()));
}
