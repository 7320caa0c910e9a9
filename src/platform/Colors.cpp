#include "platform/Colors.h"

#include <QGuiApplication>
#include <QPalette>

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

} // namespace colors
