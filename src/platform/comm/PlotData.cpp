#include "platform/comm/PlotData.h"

#include <cmath>
#include <limits>

namespace {

bool separator(char c) {
    return c == ',' || c == ';' || c == ' ' || c == '\t';
}

// A decimal number, nothing before or after it: sign, digits, fraction, exponent.
bool number(QByteArrayView field, double& out) {
    if (field.isEmpty())
        return false;
    const char first = field[0];
    if (!(first == '-' || first == '+' || first == '.' || (first >= '0' && first <= '9')))
        return false; // keeps out "nan", "inf" and hex forms that toDouble would read
    bool ok = false;
    out = field.toByteArray().toDouble(&ok);
    return ok && std::isfinite(out);
}

} // namespace

QList<PlotData::Value> PlotData::numbers(QByteArrayView line) {
    QList<Value> values;
    qsizetype i = 0;
    while (i < line.size() && values.size() < MaxSeries) {
        while (i < line.size() && separator(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !separator(line[i]))
            ++i;
        QByteArrayView field = line.sliced(start, i - start);
        if (field.isEmpty())
            continue;
        QString label;
        const qsizetype mark = std::max(field.lastIndexOf(':'), field.lastIndexOf('='));
        if (mark >= 0) {
            label = QString::fromUtf8(field.first(mark)).trimmed();
            field = field.sliced(mark + 1);
        }
        double v = 0;
        if (number(field, v))
            values.append({v, label});
    }
    return values;
}

bool PlotData::addLine(QByteArrayView line) {
    const QList<Value> values = numbers(line);
    if (values.isEmpty())
        return false;
    const double x = double(samples_++);
    for (int s = 0; s < values.size(); ++s) {
        if (s == series_.size())
            series_.append(Series{});
        Series& series = series_[s];
        if (series.label.isEmpty())
            series.label = values[s].label;
        series.points.append(QPointF(x, values[s].value));
    }
    // Every series keeps the samples of the window, whichever lines gave it values.
    const double oldest = x - window_ + 1;
    for (Series& series : series_) {
        qsizetype drop = 0;
        while (drop < series.points.size() && series.points[drop].x() < oldest)
            ++drop;
        if (drop)
            series.points.remove(0, drop);
    }
    return true;
}

void PlotData::clear() {
    samples_ = 0;
    series_.clear();
}

QString PlotData::name(int series) const {
    const QString& label = series_[series].label;
    return label.isEmpty() ? QString::number(series + 1) : label;
}

bool PlotData::range(double& low, double& high) const {
    low = std::numeric_limits<double>::infinity();
    high = -low;
    for (const Series& series : series_)
        for (const QPointF& p : series.points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    return low <= high;
}
