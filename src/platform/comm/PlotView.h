#pragma once

#include <QChartView>
#include <QList>

class PlotData;
class QLineSeries;
class QValueAxis;

// The live plot of the numbers the board sends: one line per series over the samples of the window.
class PlotView : public QChartView {
    Q_OBJECT
public:
    explicit PlotView(QWidget* parent = nullptr);

    // Draws what `data` holds now.
    void showData(const PlotData& plot);
    void clearPlot();
    int shownSeries() const { return shown_; }
    QLineSeries* series(int i) const { return series_.value(i); }

private:
    QList<QLineSeries*> series_;
    QValueAxis* axisX_;
    QValueAxis* axisY_;
    int shown_ = 0;
};
