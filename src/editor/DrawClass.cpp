#include "editor/DrawClass.h"

#include "editor/LabelWatch.h"
#include "platform/Colors.h"
#include "platform/sourceview/SourceView.h"

#include <QPainter>
#include <QPainterPath>

void DrawClass::PreDraw(QPainter*) {
    brush_ = QBrush(QColor(255, 0, 0));
    painting_ = true;
}

void DrawClass::PreDrawPage(QPainter*) {}

void DrawClass::PreDrawLine(DrawLineRecord& record) {
    if (!view_ || !painting_)
        return;
    if (labels_)
        underlineProblems(record);
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

void DrawClass::underlineProblems(const DrawLineRecord& record) {
    const QList<labelcheck::Problem> problems = labels_->problemsOn(record.line);
    if (problems.isEmpty())
        return;
    // A red that stands out on the text's background, light or dark.
    const bool dark = colors::isDark(colors::toQColor(view_->TextBackColor()));
    QPen pen(dark ? QColor(255, 110, 110) : QColor(220, 0, 0));
    pen.setWidthF(1.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    QPainter* p = record.painter;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    // The wave fills the lowest three pixels of the line, below the baseline of most letters.
    const qreal bottom = record.y + view_->LineHeight() - 1.0;
    const qreal amplitude = 2.0;
    for (const labelcheck::Problem& problem : problems) {
        int x1 = 0, x2 = 0, y = 0;
        view_->PositionToPoint(problem.column, record.line, x1, y);
        view_->PositionToPoint(problem.column + problem.length, record.line, x2, y);
        QPainterPath wave(QPointF(x1, bottom));
        bool up = true;
        for (qreal x = x1 + 2; x < x2 + 2; x += 2, up = !up)
            wave.lineTo(qMin<qreal>(x, x2), up ? bottom - amplitude : bottom);
        p->drawPath(wave);
    }
    p->restore();
}

void DrawClass::PostDrawPage(QPainter*) {}

void DrawClass::PostDraw(QPainter*) {
    painting_ = false;
}
