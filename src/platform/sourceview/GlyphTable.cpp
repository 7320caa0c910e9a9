#include "platform/sourceview/GlyphTable.h"

#include <QPainter>

void GlyphTable::use(const QFont& font) {
    if (raw_.isValid() && font == font_)
        return;
    font_ = font;
    raw_ = QRawFont::fromFont(font);
    glyphs_.fill(0);
}

quint32 GlyphTable::glyph(char16_t c) {
    if (c >= Size || !raw_.isValid())
        return 0;
    quint32& slot = glyphs_[c];
    if (!slot) {
        const QChar ch(c);
        quint32 g = 0;
        int n = 1;
        if (!raw_.glyphIndexesForChars(&ch, 1, &g, &n) || n != 1)
            g = 0;
        slot = g + 1;
    }
    return slot - 1;
}

bool GlyphTable::draw(QPainter& p, QPointF at, QStringView chars, const int* columns, qreal advance) {
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(chars.size());
    positions.reserve(chars.size());
    for (qsizetype k = 0; k < chars.size(); ++k) {
        const char16_t c = chars[k].unicode();
        if (c == u' ')
            continue;
        const quint32 g = glyph(c);
        if (!g)
            return false;
        indexes.append(g);
        positions.append(QPointF((columns[k] - columns[0]) * advance, 0));
    }
    if (indexes.isEmpty())
        return true;
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    p.drawGlyphRun(at, run);
    return true;
}
