#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <functional>

// Cuts a stream of received bytes into lines as they arrive. CR, LF and CRLF each end a line, also
// when the CR and the LF come in different chunks. A line that grows past the length limit is broken
// there, so a stream without line ends (binary data) still comes out in pieces of bounded size.
class LineSplitter {
public:
    // A piece of a line, and whether a line end follows it (a piece may be empty: a bare line end).
    using Sink = std::function<void(QByteArrayView piece, bool endsLine)>;

    explicit LineSplitter(int maxLineLength = 0) : maxLineLength_(maxLineLength) {}

    // Hands the pieces of `data` to `sink` in order; the line ends themselves are not passed on.
    void feed(QByteArrayView data, const Sink& sink);
    // Bytes of the line still open (received after its last break).
    int openLength() const { return openLength_; }
    void reset();

private:
    int maxLineLength_;
    int openLength_ = 0;
    bool afterCR_ = false;
};
