#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The hex view's text: rows of 16 bytes, each with its offset, the bytes in hex and the printable
// ASCII characters ("." for the others), built as the bytes arrive.
class HexDump {
public:
    static constexpr int BytesPerRow = 16;

    // Adds bytes; returns the rows completed by them, each followed by "\n".
    QString feed(QByteArrayView bytes);
    // The row still being filled, or "" when the last row is complete.
    QString openRow() const;
    // Bytes received so far.
    qint64 total() const { return offset_ + open_.size(); }
    // Starts again, the next byte counting as the one at `offset` of the stream.
    void reset(qint64 offset = 0);

    // One row of up to 16 bytes, padded so that the ASCII column lines up.
    static QString row(qint64 offset, QByteArrayView bytes);

private:
    qint64 offset_ = 0; // of the open row
    QByteArray open_;
};
