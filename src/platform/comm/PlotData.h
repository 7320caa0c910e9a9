#pragma once

#include <QByteArrayView>
#include <QList>
#include <QPointF>
#include <QString>

// The numbers of received lines as up to eight series over a bounded window of recent lines.
// A line gives one sample: its numbers in order are the values of series 1, 2, ...; fields are
// separated by commas, semicolons, blanks or TABs, a field may carry a label ("temp=37", "adc:512"),
// and fields that are not numbers are skipped. A line without numbers is no sample at all, so text
// between readings neither breaks nor shifts the series.
class PlotData {
public:
    static constexpr int MaxSeries = 8;

    struct Value {
        double value = 0;
        QString label; // the field's label, "" when it has none
    };

    explicit PlotData(int window = 1000) : window_(window < 2 ? 2 : window) {}

    // The numbers of one line, at most MaxSeries of them.
    static QList<Value> numbers(QByteArrayView line);

    // Adds a line; false when it holds no number.
    bool addLine(QByteArrayView line);
    void clear();

    int seriesCount() const { return int(series_.size()); }
    const QList<QPointF>& points(int series) const { return series_[series].points; }
    // The series' name: the label its first labelled value carried, or its number from 1.
    QString name(int series) const;
    // Samples added since the last clear; the x of the newest sample is samples() - 1.
    qint64 samples() const { return samples_; }
    int window() const { return window_; }
    // The smallest and largest value in the window; false when there is none.
    bool range(double& low, double& high) const;

private:
    struct Series {
        QList<QPointF> points;
        QString label;
    };
    int window_;
    qint64 samples_ = 0;
    QList<Series> series_;
};
