#include "platform/comm/SendHistory.h"

void SendHistory::add(const QString& line) {
    if (!line.isEmpty() && (lines_.isEmpty() || lines_.last() != line)) {
        lines_.append(line);
        if (lines_.size() > capacity_)
            lines_.removeFirst();
    }
    place_ = lines_.size();
    typed_.clear();
}

QString SendHistory::older(const QString& typed) {
    if (place_ == lines_.size())
        typed_ = typed;
    if (place_ > 0)
        --place_;
    return place_ < lines_.size() ? lines_[place_] : typed_;
}

QString SendHistory::newer() {
    if (place_ < lines_.size())
        ++place_;
    return place_ < lines_.size() ? lines_[place_] : typed_;
}
