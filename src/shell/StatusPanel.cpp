#include "shell/StatusPanel.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <QTextLayout>

namespace {
// Room left and right of the text, inside the frame.
constexpr int Padding = 3;
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
    QPainter p(this);
    // Opaque: the status bar behind is not painted again for a new text. A new text repaints the
    // inside alone; the frame is drawn when it is part of what needs painting.
    p.fillRect(e->rect(), palette().color(QPalette::Window));
    if (!contentsRect().contains(e->rect()))
        drawFrame(&p);
    const QRect r = contentsRect().adjusted(Padding, 0, -Padding, 0);
    p.setPen(palette().color(QPalette::WindowText));
    // Laid out once, both to measure it and to draw it.
    QTextLayout layout(text_, font());
    layout.beginLayout();
    const QTextLine line = layout.createLine();
    layout.endLayout();
    if (qCeil(line.naturalTextWidth()) <= r.width()) {
        layout.draw(&p, QPointF(r.left(), r.top() + (r.height() - line.height()) / 2));
        return;
    }
    // Too long for the panel: shown cut short until the window has made room for it.
    updateGeometry();
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, fontMetrics().elidedText(text_, Qt::ElideRight, r.width()));
}
