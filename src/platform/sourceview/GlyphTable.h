#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QRawFont>
#include <QStringView>
#include <array>

class QPainter;

// The glyphs of one font for the characters below U+0300, each looked up the first time it is drawn.
// A line of such characters in a fixed-pitch font is placed column by column anyway, so it can be
// drawn from these glyphs without being shaped again for every paint.
class GlyphTable {
public:
    // Makes the table one of `font` (resolved for the device drawn on); another font starts afresh.
    void use(const QFont& font);
    // The glyph of `c`; 0 when the font has none (or `c` is beyond the table): such text needs
    // shaping, which finds a font that has it.
    quint32 glyph(char16_t c);

    // Draws `chars` with their baseline at `at`, character k in display column columns[k] (the first
    // at `at`) of `advance` pixels each; spaces are skipped. False, and nothing drawn, when a
    // character has no glyph here.
    bool draw(QPainter& p, QPointF at, QStringView chars, const int* columns, qreal advance);

private:
    static constexpr char16_t Size = 0x300;
    QFont font_;
    QRawFont raw_;
    std::array<quint32, Size> glyphs_{}; // glyph + 1; 0 while not looked up
};
