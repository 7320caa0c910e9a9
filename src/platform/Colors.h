#pragma once

#include <QColor>
#include <QList>
#include <cstdint>

// Colours as the settings store and the editor control keep them: signed 32-bit 0x00BBGGRR,
// or 0x800000nn for system colour nn, mapped onto the palette.
namespace colors {

inline constexpr std::int32_t SystemWindow = std::int32_t(0x80000005u); // -2147483643

constexpr std::int32_t rgb(int r, int g, int b) {
    return std::int32_t(r | (g << 8) | (b << 16));
}
constexpr bool isSystem(std::int32_t c) {
    return (std::uint32_t(c) & 0x80000000u) != 0;
}

// The QColor of a stored colour value; system colours come from the application palette.
QColor toQColor(std::int32_t value);

// True for a background that wants light text on it.
inline bool isDark(const QColor& background) {
    return background.lightness() < 128;
}

// The contrast ratio of two colours (1 to 21) by their relative luminance.
double contrast(const QColor& a, const QColor& b);

// The least contrast at which text reads on its background.
inline constexpr double ReadableContrast = 4.5;

// The first of `candidates` that reads on `background`; when none does, the one that comes closest,
// darkened or lightened (whichever the background wants) just enough to read.
QColor readable(const QList<QColor>& candidates, const QColor& background, double minimum = ReadableContrast);

// The colours of a small box that floats over the code (pop-up list, syntax line): a background a step
// away from the code's, a text colour that reads on it (the desktop's own when it does, else black
// or white), and a border between them.
struct PopupColors {
    QColor background;
    QColor text;
    QColor border;
};
PopupColors popupColors(const QColor& codeBackground, const QColor& desktopText);

// The stored value of a plain colour.
std::int32_t fromQColor(const QColor& c);

} // namespace colors
