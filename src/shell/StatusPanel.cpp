#include "shell/StatusPanel.h"

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
    setAccessibleName(text_);
    if (textWidth(text_) > width())
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
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter,
               fontMetrics().elidedText(text_, Qt::ElideRight, r.width()));
}
