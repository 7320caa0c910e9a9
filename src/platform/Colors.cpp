#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace colors {

namespace {

QColor systemColor(int index) {
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0:
        return pal.color(QPalette::Window); // scroll bar
    case 1:
        return pal.color(QPalette::Window); // desktop
    case 2:
        return pal.color(QPalette::Highlight); // active caption
    case 3:
        return pal.color(QPalette::Inactive, QPalette::Highlight);
    case 4:
        return pal.color(QPalette::Window); // menu
    case 5:
        return pal.color(QPalette::Base); // window background
    case 6:
        return pal.color(QPalette::Shadow); // window frame
    case 7:
        return pal.color(QPalette::WindowText); // menu text
    case 8:
        return pal.color(QPalette::Text); // window text
    case 9:
        return pal.color(QPalette::HighlightedText); // caption text
    case 12:
        return pal.color(QPalette::Window); // MDI background
    case 13:
        return pal.color(QPalette::Highlight);
    case 14:
        return pal.color(QPalette::HighlightedText);
    case 15:
        return pal.color(QPalette::Button);
    case 16:
        return pal.color(QPalette::Dark);
    case 17:
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return pal.color(QPalette::ButtonText);
    case 20:
        return pal.color(QPalette::Light);
    case 23:
        return pal.color(QPalette::ToolTipText);
    case 24:
        return pal.color(QPalette::ToolTipBase);
    default:
        return pal.color(QPalette::Base);
    }
}

} // namespace

QColor toQColor(std::int32_t value) {
    const auto u = std::uint32_t(value);
    if (isSystem(value))
        return systemColor(int(u & 0xFFu));
    return QColor(int(u & 0xFFu), int((u >> 8) & 0xFFu), int((u >> 16) & 0xFFu));
}

std::int32_t fromQColor(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

namespace {

QColor mix(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

} // namespace

QColor readable(const QList<QColor>& candidates, const QColor& background, double minimum) {
    QColor best;
    for (const QColor& c : candidates) {
        if (contrast(c, background) >= minimum)
            return c;
        if (!best.isValid() || contrast(c, background) > contrast(best, background))
            best = c;
    }
    if (!best.isValid())
        best = QColor(Qt::black);
    // Black or white reaches at least 4.58:1 on any background; move towards it by halves.
    const QColor end = contrast(Qt::black, background) >= contrast(Qt::white, background) ? QColor(Qt::black)
                                                                                          : QColor(Qt::white);
    const auto at = [&](double t) {
        const QColor m = mix(best, end, t);
        return QColor(m.red(), m.green(), m.blue());
    };
    double lo = 0.0, hi = 1.0;
    for (int i = 0; i < 16; ++i) {
        const double mid = (lo + hi) / 2;
        (contrast(at(mid), background) >= minimum ? hi : lo) = mid;
    }
    return at(hi);
}

PopupColors popupColors(const QColor& codeBackground, const QColor& desktopText) {
    const bool dark = isDark(codeBackground);
    PopupColors c;
    // Lifted off a dark page, sunk into a light one.
    c.background = dark ? mix(codeBackground, Qt::white, 0.16) : mix(codeBackground, QColor(0, 40, 90), 0.08);
    const QColor plain = contrast(Qt::black, c.background) >= contrast(Qt::white, c.background)
                             ? QColor(Qt::black)
                             : QColor(Qt::white);
    c.text = desktopText.isValid() && contrast(desktopText, c.background) >= 4.5 ? desktopText : plain;
    c.border = mix(c.background, c.text, 0.55);
    return c;
}

} // namespace colors
