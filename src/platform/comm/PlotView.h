#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QWidget>

class PlotData;

// The live plot of the numbers the board sends: one line per series over the samples of the window,
// with value and line-number scales and a legend of the series' names.
class PlotView : public QWidget {
    Q_OBJECT
public:
    explicit PlotView(QWidget* parent = nullptr);

    // Draws what `data` holds now.
    void showData(const PlotData& plot);
    void clearPlot();
    int shownSeries() const { return int(series_.size()); }
    // The points series `i` shows; empty for a series not shown.
    QList<QPointF> points(int i) const { return series_.value(i).points; }
    // The x range and the y range the scales show.
    QRectF range() const { return QRectF(QPointF(xLow_, yLow_), QPointF(xHigh_, yHigh_)); }

    // Tick values from `low` to `high` at a step of 1, 2 or 5 times a power of ten, about `count` of them.
    static QList<double> ticks(double low, double high, int count);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    struct Series {
        QString name;
        QList<QPointF> points;
    };
    QList<Series> series_;
    double xLow_ = 0;
    double xHigh_ = 100;
    double yLow_ = 0;
    double yHigh_ = 1;
};
