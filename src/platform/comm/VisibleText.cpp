#include "platform/comm/VisibleText.h"

namespace {

// Length of the UTF-8 sequence a lead byte starts, 0 for a byte that cannot start one.
int sequenceLength(unsigned char b) {
    if (b < 0x80)
        return 1;
    if (b >= 0xc2 && b <= 0xdf)
        return 2;
    if (b >= 0xe0 && b <= 0xef)
        return 3;
    if (b >= 0xf0 && b <= 0xf4)
        return 4;
    return 0;
}

bool continuation(unsigned char b) {
    return (b & 0xc0) == 0x80;
}

} // namespace

QString VisibleText::visible(char c) {
    static const char* const names[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                          "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                          "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                          "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    const auto b = static_cast<unsigned char>(c);
    if (c == '\t' || (b >= 0x20 && b < 0x7f))
        return QString(QLatin1Char(c));
    if (b == 0x7f)
        return QStringLiteral("<DEL>");
    return u'<' + QLatin1String(names[b & 31]) + u'>';
}

QString VisibleText::decode(QByteArrayView bytes) {
    QByteArray data;
    if (!carry_.isEmpty()) {
        data = carry_ + bytes.toByteArray();
        carry_.clear();
        bytes = data;
    }
    QString out;
    out.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            if (b >= 0x20 && b < 0x7f)
                out += QLatin1Char(char(b));
            else
                out += visible(char(b));
            ++i;
            continue;
        }
        const int n = sequenceLength(b);
        int have = 1;
        while (n > 1 && have < n && i + have < bytes.size() &&
               continuation(static_cast<unsigned char>(bytes[i + have])))
            ++have;
        if (n > 1 && have == n) {
            const QString ch = QString::fromUtf8(bytes.sliced(i, n));
            // Overlong and surrogate forms are invalid: each of their bytes shows as its value.
            if (ch.size() >= 1 && !ch.contains(QChar(QChar::ReplacementCharacter))) {
                out += ch;
                i += n;
                continue;
            }
        } else if (n > 1 && i + have == bytes.size()) {
            // A valid start whose remaining bytes are still on their way.
            carry_ = bytes.sliced(i).toByteArray();
            break;
        }
        out += QStringLiteral("<x%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper().replace(QLatin1String("<X"), QLatin1String("<x"));
        ++i;
    }
    return out;
}
