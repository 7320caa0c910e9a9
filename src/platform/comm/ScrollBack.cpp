#include "platform/comm/ScrollBack.h"

void ScrollBack::append(const QString& text) {
    text_ += text;
    breaks_ += int(text.count(u'\n'));
    if (breaks_ < maxLines_)
        return;
    // Keep the last maxLines lines: everything before the (breaks - maxLines + 1)th break goes, and
    // with it whatever the view shows.
    int cut = breaks_ - maxLines_ + 1;
    qsizetype pos = -1;
    for (int i = 0; i < cut; ++i)
        pos = text_.indexOf(u'\n', pos + 1);
    text_.remove(0, pos + 1);
    breaks_ -= cut;
    dropped_ += cut;
    reset_ = true;
}

ScrollBack::Batch ScrollBack::take(int lines) {
    if (lines >= 0 && lines < breaks_) {
        qsizetype pos = -1;
        for (int i = 0; i < lines; ++i)
            pos = text_.indexOf(u'\n', pos + 1);
        Batch b{text_.left(pos + 1), reset_};
        text_.remove(0, pos + 1);
        breaks_ -= lines;
        reset_ = false;
        return b;
    }
    Batch b{std::move(text_), reset_};
    text_.clear();
    breaks_ = 0;
    reset_ = false;
    return b;
}
