#include "platform/comm/HexDump.h"

QString HexDump::row(qint64 offset, QByteArrayView bytes) {
    static const char digits[] = "0123456789ABCDEF";
    QString s = QStringLiteral("%1 ").arg(offset, 8, 16, QLatin1Char('0')).toUpper();
    for (int i = 0; i < BytesPerRow; ++i) {
        s += i == BytesPerRow / 2 ? QStringLiteral("  ") : QStringLiteral(" ");
        if (i < bytes.size()) {
            const auto b = static_cast<unsigned char>(bytes[i]);
            s += QLatin1Char(digits[b >> 4]);
            s += QLatin1Char(digits[b & 15]);
        } else {
            s += QStringLiteral("  ");
        }
    }
    s += QStringLiteral("  ");
    for (char c : bytes)
        s += c >= 0x20 && c < 0x7f ? QLatin1Char(c) : QLatin1Char('.');
    return s;
}

QString HexDump::feed(QByteArrayView bytes) {
    QString done;
    while (!bytes.isEmpty()) {
        const qsizetype take = std::min<qsizetype>(BytesPerRow - open_.size(), bytes.size());
        open_ += bytes.first(take);
        bytes = bytes.sliced(take);
        if (open_.size() == BytesPerRow) {
            done += row(offset_, open_);
            done += QLatin1Char('\n');
            offset_ += BytesPerRow;
            open_.clear();
        }
    }
    return done;
}

QString HexDump::openRow() const {
    return open_.isEmpty() ? QString() : row(offset_, open_);
}

void HexDump::reset(qint64 offset) {
    offset_ = offset;
    open_.clear();
}
