#include "platform/comm/LineSplitter.h"

void LineSplitter::feed(QByteArrayView data, const Sink& sink) {
    qsizetype start = 0;
    for (qsizetype i = 0; i < data.size(); ++i) {
        const char c = data[i];
        if (c == '\n' && afterCR_) {
            // The LF of a CRLF whose CR already ended the line.
            afterCR_ = false;
            start = i + 1;
            continue;
        }
        afterCR_ = false;
        if (c == '\r' || c == '\n') {
            sink(data.sliced(start, i - start), true);
            openLength_ = 0;
            afterCR_ = c == '\r';
            start = i + 1;
            continue;
        }
        if (maxLineLength_ > 0 && openLength_ + (i - start) >= maxLineLength_) {
            sink(data.sliced(start, i - start), true);
            openLength_ = 0;
            start = i;
        }
    }
    if (start < data.size()) {
        sink(data.sliced(start), false);
        openLength_ += int(data.size() - start);
    }
}

void LineSplitter::reset() {
    openLength_ = 0;
    afterCR_ = false;
}
