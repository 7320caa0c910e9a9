#include "platform/sourceview/LineData.h"

#include <algorithm>

static_assert(sizeof(LineData) <= 32, "a line's data stays small: every marked line has one");

qint32 LineData::slot(int n) const {
    if (n < 1 || n > SlotCount)
        return 0;
    if (all_)
        return (*all_)[size_t(n - 1)];
    for (int i = 0; i < Kept; ++i)
        if (numbers_[size_t(i)] == n)
            return values_[size_t(i)];
    return 0;
}

void LineData::setSlot(int n, qint32 value) {
    if (n < 1 || n > SlotCount)
        return;
    if (all_) {
        (*all_)[size_t(n - 1)] = value;
        return;
    }
    int free = -1;
    for (int i = 0; i < Kept; ++i) {
        if (numbers_[size_t(i)] == n) {
            // A slot set back to 0 gives its place up.
            values_[size_t(i)] = value;
            if (!value)
                numbers_[size_t(i)] = 0;
            return;
        }
        if (!numbers_[size_t(i)] && free < 0)
            free = i;
    }
    if (!value)
        return;
    if (free >= 0) {
        numbers_[size_t(free)] = quint8(n);
        values_[size_t(free)] = value;
        return;
    }
    all_ = std::make_unique<std::array<qint32, SlotCount>>();
    all_->fill(0);
    for (int i = 0; i < Kept; ++i)
        (*all_)[size_t(numbers_[size_t(i)] - 1)] = values_[size_t(i)];
    numbers_.fill(0);
    values_.fill(0);
    (*all_)[size_t(n - 1)] = value;
}

LineData::Marks LineData::marks() const {
    Marks m;
    for (int n = 1; n <= SlotCount; ++n)
        m.values[size_t(n - 1)] = slot(n);
    m.bookmark = bookmark_;
    return m;
}

void LineData::setMarks(const Marks& m) {
    all_.reset();
    numbers_.fill(0);
    values_.fill(0);
    for (int n = 1; n <= SlotCount; ++n)
        setSlot(n, m.values[size_t(n - 1)]);
    bookmark_ = m.bookmark;
}

bool LineData::hasMarks() const {
    if (bookmark_)
        return true;
    if (all_)
        return std::any_of(all_->cbegin(), all_->cend(), [](qint32 v) { return v != 0; });
    return std::any_of(numbers_.cbegin(), numbers_.cend(), [](quint8 n) { return n != 0; });
}
