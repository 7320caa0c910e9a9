#include "platform/comm/PlotView.h"

#include "platform/comm/PlotData.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <cmath>

PlotView::PlotView(QWidget* parent)
    : QChartView(new QChart, parent), axisX_(new QValueAxis), axisY_(new QValueAxis) {
    QChart* c = chart();
    c->setAnimationOptions(QChart::NoAnimation);
    c->legend()->setAlignment(Qt::AlignRight);
    c->setMargins(QMargins(4, 4, 4, 4));
    axisX_->setLabelFormat(QStringLiteral("%d"));
    axisX_->setTitleText(QStringLiteral("Line"));
    c->addAxis(axisX_, Qt::AlignBottom);
    c->addAxis(axisY_, Qt::AlignLeft);
    // Many short segments repaint several times a second: plain lines keep each repaint short.
    setRenderHint(QPainter::Antialiasing, false);
    clearPlot();
}

void PlotView::clearPlot() {
    for (QLineSeries* s : std::as_const(series_))
        chart()->removeSeries(s);
    qDeleteAll(series_);
    series_.clear();
    shown_ = 0;
    axisX_->setRange(0, 100);
    axisY_->setRange(0, 1);
}

void PlotView::showData(const PlotData& plot) {
    while (series_.size() < plot.seriesCount()) {
        auto* s = new QLineSeries;
        chart()->addSeries(s);
        s->attachAxis(axisX_);
        s->attachAxis(axisY_);
        series_.append(s);
    }
    shown_ = plot.seriesCount();
    for (int i = 0; i < shown_; ++i) {
        if (series_[i]->name() != plot.name(i))
            series_[i]->setName(plot.name(i));
        series_[i]->replace(plot.points(i));
    }
    const double last = double(std::max<qint64>(plot.samples() - 1, 0));
    const double first = std::max(0.0, last - plot.window() + 1);
    axisX_->setRange(first, std::max(first + 10, last));
    double low = 0;
    double high = 0;
    if (plot.range(low, high)) {
        const double pad = high > low ? (high - low) * 0.05 : std::max(1.0, std::abs(high) * 0.05);
        axisY_->setRange(low - pad, high + pad);
    }
}
