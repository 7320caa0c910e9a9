#include "editor/DrawClass.h"

#include "platform/sourceview/SourceView.h"

#include <QPainter>

void DrawClass::PreDraw(QPainter*) {
    brush_ = QBrush(QColor(255, 0, 0));
    painting_ = true;
}

void DrawClass::PreDrawPage(QPainter*) {}

void DrawClass::PreDrawLine(DrawLineRecord& record) {
    if (!view_ || !painting_)
        return;
    if (view_->Document().GetLineData(record.line, 1) == 0)
        return;
    const int style = view_->MarginStyle();
    if (style == 0) {
        record.useOverrideColors = true;
        record.overrideText = qRgb(255, 255, 255);
        record.overrideBack = qRgb(255, 0, 0);
        return;
    }
    const int x0 = style == 2 ? record.xOrigin : 0;
    const int width = view_->MarginCells() * view_->CellWidth();
    const int height = view_->LineHeight();
    QPainter* p = record.painter;
    const QBrush kept = p->brush();
    p->setBrush(brush_);
    // The box spans [left, right) x [top, bottom), outlined with whatever pen the control left selected.
    const QRect box(QPoint(x0 + 3, record.y + 3), QPoint(x0 + width - 3 - 1, record.y + height - 3 - 1));
    p->fillRect(box, brush_);
    if (p->pen().style() != Qt::NoPen)
        p->drawRect(box.adjusted(0, 0, -1, -1));
    p->setBrush(kept);
}

void DrawClass::PostDrawPage(QPainter*) {}

void DrawClass::PostDraw(QPainter*) {
    painting_ = false;
}
