#include "editor/DrawClass.h"

#include "editor/LabelWatch.h"
#include "toolchain/CaptureFile.h"
#include "platform/Colors.h"
#include "platform/sourceview/SourceView.h"

#include <QPainter>
#include <QPainterPath>

void DrawClass::PreDraw(QPainter*) {
    brush_ = QBrush(QColor(255, 0, 0));
    painting_ = true;
    underlined_.clear();
}

void DrawClass::PreDrawPage(QPainter*) {}

void DrawClass::PreDrawLine(DrawLineRecord& record) {
    if (!view_ || !painting_)
        return;
    paintErrorMark(record);
    if (labels_)
        noteProblems(record);
}

void DrawClass::paintErrorMark(DrawLineRecord& record) {
    if (view_->Document().GetLineData(record.line, capture::ErrorSlot) == 0)
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

void DrawClass::noteProblems(const DrawLineRecord& record) {
    QList<labelcheck::Problem> problems = labels_->problemsOn(record.line);
    if (problems.isEmpty())
        return;
    // A red that stands out on the names' background, light or dark; white on a line drawn white on red.
    QColor color(255, 255, 255);
    if (!record.useOverrideColors) {
        const QColor textBack = colors::toQColor(view_->TextBackColor());
        const bool dark = colors::isDark(view_->TokenInfo().background(tokenclass::Identifier, textBack));
        color = dark ? QColor(255, 110, 110) : QColor(220, 0, 0);
    }
    underlined_.push_back({record.line, record.y, color, std::move(problems)});
}

void DrawClass::underline(QPainter* p, const Underlined& u) const {
    QPen pen(u.color);
    pen.setWidthF(1.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p->setPen(pen);
    // A wave in the lowest three pixels of the line, below the baseline of most letters.
    const qreal bottom = u.y + view_->LineHeight() - 1.0;
    const qreal amplitude = 2.0;
    for (const labelcheck::Problem& problem : u.problems) {
        int x1 = 0, x2 = 0, y = 0;
        view_->PositionToPoint(problem.column, u.line, x1, y);
        view_->PositionToPoint(problem.column + problem.length, u.line, x2, y);
        QPainterPath wave(QPointF(x1, bottom));
        bool up = true;
        for (qreal x = x1 + 2; x < x2 + 2; x += 2, up = !up)
            wave.lineTo(qMin<qreal>(x, x2), up ? bottom - amplitude : bottom);
        p->drawPath(wave);
    }
}

void DrawClass::PostDrawPage(QPainter* painter) {
    if (underlined_.empty() || !view_ || !painter)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setBrush(Qt::NoBrush);
    for (const Underlined& u : underlined_)
        underline(painter, u);
    painter->restore();
    underlined_.clear();
}

void DrawClass::PostDraw(QPainter*) {
    painting_ = false;
}
