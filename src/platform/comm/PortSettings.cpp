#include "platform/comm/PortSettings.h"

#include <QStringList>

namespace {

AppError invalid(const QString& text, const QString& why) {
    return AppError{380, QStringLiteral("Invalid port settings \"%1\": %2").arg(text, why)};
}

// A whole decimal number without sign or fraction; false for anything else.
bool wholeNumber(const QString& s, qint64& out) {
    if (s.isEmpty() || s.size() > 9)
        return false;
    for (QChar c : s)
        if (!c.isDigit() || c.unicode() > '9')
            return false;
    out = s.toLongLong();
    return true;
}

} // namespace

QString PortSettings::text() const {
    const QString stop = halfStopBits == 3 ? QStringLiteral("1.5") : QString::number(halfStopBits / 2);
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(QLatin1Char(parity)).arg(dataBits).arg(stop);
}

AppError PortSettings::parse(const QString& text, PortSettings& out) {
    const QStringList fields = text.split(u',');
    if (fields.size() != 4)
        return invalid(text, QStringLiteral("four fields are needed: baud rate, parity, data bits, stop bits "
                                            "(as in 9600,N,8,1)."));
    PortSettings s;
    qint64 n = 0;
    if (!wholeNumber(fields[0].trimmed(), n) || n <= 0)
        return invalid(text, QStringLiteral("the baud rate must be a whole number above 0."));
    s.baud = qint32(n);

    const QString parity = fields[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("EONMS").contains(parity))
        return invalid(text, QStringLiteral("the parity must be E, O, N, M or S."));
    s.parity = char(parity[0].unicode());

    if (!wholeNumber(fields[2].trimmed(), n) || n < 5 || n > 8)
        return invalid(text, QStringLiteral("the data bits must be 5, 6, 7 or 8."));
    s.dataBits = int(n);

    const QString stop = fields[3].trimmed();
    if (stop == QLatin1String("1"))
        s.halfStopBits = 2;
    else if (stop == QLatin1String("1.5"))
        s.halfStopBits = 3;
    else if (stop == QLatin1String("2"))
        s.halfStopBits = 4;
    else
        return invalid(text, QStringLiteral("the stop bits must be 1, 1.5 or 2."));

    out = s;
    return {};
}

QStringList PortSettings::baudRates() {
    return {QStringLiteral("300"),   QStringLiteral("600"),   QStringLiteral("1200"),
            QStringLiteral("4800"),  QStringLiteral("9600"),  QStringLiteral("19200"),
            QStringLiteral("38400"), QStringLiteral("57600"), QStringLiteral("115200")};
}
