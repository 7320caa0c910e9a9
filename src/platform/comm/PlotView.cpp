#include "platform/comm/PlotView.h"

#include "platform/comm/PlotData.h"
#include "platform/comm/TerminalText.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Eight colours that stay apart from each other on a light and on a dark background.
constexpr std::array<QRgb, PlotData::MaxSeries> kColours{0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e,
                                                        0x9467bd, 0x17becf, 0x8c564b, 0xe377c2};

QString tickText(double v, double step) {
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step)));
    return QString::number(v, 'f', decimals);
}

} // namespace

PlotView::PlotView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(160, 100);
}

QList<double> PlotView::ticks(double low, double high, int count) {
    QList<double> out;
    if (!(high > low) || count < 1 || !std::isfinite(low) || !std::isfinite(high))
        return out;
    const double rough = (high - low) / count;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    // The nice step whose number of intervals comes nearest to `count`.
    double step = power;
    for (const double f : {2.0, 5.0, 10.0})
        if (std::abs((high - low) / (power * f) - count) < std::abs((high - low) / step - count))
            step = power * f;
    for (double v = std::ceil(low / step) * step; v <= high + step * 1e-9; v += step)
        out.append(std::abs(v) < step * 1e-9 ? 0.0 : v);
    return out;
}

void PlotView::clearPlot() {
    series_.clear();
    xLow_ = 0;
    xHigh_ = 100;
    yLow_ = 0;
    yHigh_ = 1;
    update();
}

void PlotView::showData(const PlotData& plot) {
    series_.resize(plot.seriesCount());
    for (int i = 0; i < plot.seriesCount(); ++i)
        series_[i] = {plot.name(i), plot.points(i)};
    const double last = double(std::max<qint64>(plot.samples() - 1, 0));
    xLow_ = std::max(0.0, last - plot.window() + 1);
    xHigh_ = std::max(xLow_ + 10, last);
    double low = 0;
    double high = 0;
    if (plot.range(low, high)) {
        const double pad = high > low ? (high - low) * 0.05 : std::max(1.0, std::abs(high) * 0.05);
        yLow_ = low - pad;
        yHigh_ = high + pad;
    }
    update();
}

void PlotView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    const QFontMetrics fm(font());
    const QColor ink = pal.color(QPalette::Text);
    QColor faint = ink;
    faint.setAlpha(40);

    const QList<double> yTicks = ticks(yLow_, yHigh_, std::max(2, height() / (3 * fm.height())));
    const double yStep = yTicks.size() > 1 ? yTicks[1] - yTicks[0] : 1;
    int labelWidth = 0;
    for (const double v : yTicks)
        labelWidth = std::max(labelWidth, fm.horizontalAdvance(tickText(v, yStep)));
    int legendWidth = 0;
    for (const Series& s : series_)
        legendWidth = std::max(legendWidth, fm.horizontalAdvance(s.name) + fm.height() * 2);
    const QRect area = rect().adjusted(labelWidth + 10, fm.height() / 2 + 4, -(legendWidth + 10),
                                       -(2 * fm.height() + 8));
    if (area.width() < 10 || area.height() < 10)
        return;
    auto toX = [&](double x) { return area.left() + (x - xLow_) / (xHigh_ - xLow_) * area.width(); };
    auto toY = [&](double y) { return area.bottom() - (y - yLow_) / (yHigh_ - yLow_) * area.height(); };

    // Scales: grid lines with their values, the line numbers below, the axis title under them.
    p.setPen(ink);
    for (const double v : yTicks) {
        const int y = int(std::lround(toY(v)));
        p.setPen(faint);
        p.drawLine(area.left(), y, area.right(), y);
        p.setPen(ink);
        p.drawText(QRect(0, y - fm.height() / 2, labelWidth + 4, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   tickText(v, yStep));
    }
    const QList<double> xTicks = ticks(xLow_, xHigh_, std::max(2, area.width() / (fm.horizontalAdvance(u'0') * 8)));
    const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1;
    for (const double v : xTicks) {
        const int x = int(std::lround(toX(v)));
        p.setPen(faint);
        p.drawLine(x, area.top(), x, area.bottom());
        p.setPen(ink);
        // Centred under its grid line, but whole: the last label stops at the window's edge.
        const QString label = tickText(v, xStep);
        const int w = fm.horizontalAdvance(label) + 2;
        const int left = std::clamp(x - w / 2, 0, std::max(0, width() - w - 1));
        p.drawText(QRect(left, area.bottom() + 4, w, fm.height()), Qt::AlignHCenter | Qt::AlignTop, label);
    }
    p.drawText(QRect(area.left(), area.bottom() + 4 + fm.height(), area.width(), fm.height()), Qt::AlignHCenter,
               QStringLiteral("Line"));
    p.drawRect(area);

    p.save();
    p.setClipRect(area.adjusted(1, 1, 0, 0));
    for (int i = 0; i < series_.size(); ++i) {
        const QColor colour(kColours[size_t(i) % kColours.size()]);
        p.setPen(QPen(colour, 1.5));
        // Lines that lacked this series' column leave a gap; a value standing alone is a dot.
        for (const QList<QPointF>& run : terminaltext::runs(series_[i].points)) {
            QPolygonF line;
            line.reserve(run.size());
            for (const QPointF& pt : run)
                line.append(QPointF(toX(pt.x()), toY(pt.y())));
            if (line.size() == 1)
                p.fillRect(QRectF(line[0] - QPointF(1.5, 1.5), QSizeF(3, 3)), colour);
            else
                p.drawPolyline(line);
        }
    }
    p.restore();

    // The legend: a colour bar and the name of each series.
    int y = area.top();
    for (int i = 0; i < series_.size(); ++i, y += fm.height() + 4) {
        const int x = area.right() + 10;
        p.fillRect(QRect(x, y + fm.height() / 2 - 2, fm.height(), 4), QColor(kColours[size_t(i) % kColours.size()]));
        p.setPen(ink);
        p.drawText(QPoint(x + fm.height() + 4, y + fm.ascent()), series_[i].name);
    }
}
