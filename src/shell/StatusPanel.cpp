#include "shell/StatusPanel.h"

#include <QAccessible>
#include <QPainter>

namespace {
// Room left and right of the text, inside the frame.
constexpr int Padding = 3;
} // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
}

int StatusPanel::textWidth(const QString& text) const {
    return fontMetrics().horizontalAdvance(text) + 2 * Padding + 2 * frameWidth();
}

void StatusPanel::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    // Screen readers read the panel by its name.
    if (QAccessible::isActive())
        setAccessibleName(text_);
    // Whether the text fits is found out as it is painted (measuring it costs as much as drawing it):
    // while the panel is not shown the layout is asked at once.
    if (!isVisible())
        updateGeometry();
    update(contentsRect());
}

QSize StatusPanel::sizeHint() const {
    return QSize(textWidth(text_), fontMetrics().height() + 2 * frameWidth());
}

QSize StatusPanel::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void StatusPanel::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    QPainter p(this);
    const QRect r = contentsRect().adjusted(Padding, 0, -Padding, 0);
    const QFontMetrics fm = fontMetrics();
    const int needed = fm.horizontalAdvance(text_);
    // Too long for the panel: shown cut short until the window has made room for it.
    if (needed > r.width())
        updateGeometry();
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
               needed > r.width() ? fm.elidedText(text_, Qt::ElideRight, r.width()) : text_);
}
