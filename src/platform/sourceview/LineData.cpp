#include "platform/sourceview/LineData.h"

#include "platform/sourceview/SourceDocument.h"

#include <QTextBlock>
#include <QTextDocument>

LineData* LineData::of(QTextBlock block) {
    if (!block.isValid())
        return nullptr;
    if (auto* data = static_cast<LineData*>(block.userData()))
        return data;
    auto* data = new LineData(qobject_cast<SourceDocument*>(block.document()->parent()));
    block.setUserData(data);
    return data;
}

LineData* LineData::peek(const QTextBlock& block) {
    return block.isValid() ? static_cast<LineData*>(block.userData()) : nullptr;
}

LineData::~LineData() {
    if (owner_)
        owner_->lineDataDropped(*this);
}

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

void LineData::moveMarksTo(LineData& other) {
    if (&other == this)
        return;
    other.slots_ = slots_;
    other.bookmark_ = bookmark_;
    slots_.fill(0);
    bookmark_ = false;
}
