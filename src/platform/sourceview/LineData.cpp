#include "platform/sourceview/LineData.h"

void LineData::setMarks(const Marks& m) {
    slots_ = m.values;
    bookmark_ = m.bookmark;
}

void LineData::setSlot(int n, qint32 value) {
    if (n >= 1 && n <= SlotCount)
        slots_[size_t(n - 1)] = value;
}

bool LineData::hasMarks() const {
    if (bookmark_)
        return true;
    for (qint32 v : slots_)
        if (v != 0)
            return true;
    return false;
}
