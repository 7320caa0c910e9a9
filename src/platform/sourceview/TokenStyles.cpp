#include "platform/sourceview/TokenStyles.h"

#include "platform/Colors.h"

TokenStyles::TokenStyles(QObject* parent) : QObject(parent) {}

void TokenStyles::SetForegroundColor(int cls, qint32 color, int) {
    if (!valid(cls))
        return;
    entries_[size_t(cls)].hasFore = true;
    entries_[size_t(cls)].fore = color;
    emit changed();
}

void TokenStyles::SetBackgroundColor(int cls, qint32 color, bool flag) {
    if (!valid(cls))
        return;
    entries_[size_t(cls)].hasBack = flag;
    entries_[size_t(cls)].back = color;
    emit changed();
}

void TokenStyles::SetTokenStyle(int cls, int style, int) {
    if (!valid(cls))
        return;
    entries_[size_t(cls)].style = style;
    emit changed();
}

QColor TokenStyles::foreground(int cls, const QColor& fallback) const {
    return HasForegroundColor(cls) ? colors::toQColor(ForegroundColor(cls)) : fallback;
}

QColor TokenStyles::background(int cls, const QColor& fallback) const {
    return HasBackgroundColor(cls) ? colors::toQColor(BackgroundColor(cls)) : fallback;
}

void TokenStyles::copyFrom(const TokenStyles& other) {
    entries_ = other.entries_;
    emit changed();
}
