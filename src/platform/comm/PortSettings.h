#pragma once

#include "platform/AppError.h"

#include <QString>
#include <QStringList>

// The line settings of a serial port as the settings text gives them: "9600,N,8,1" is the baud rate,
// the parity letter (E, O, N, M or S), the data bits and the stop bits (1, 1.5 or 2).
struct PortSettings {
    qint32 baud = 9600;
    char parity = 'N';
    int dataBits = 8;
    // Stop bits times two, so that 1.5 is a whole number: 2, 3 or 4.
    int halfStopBits = 2;

    bool operator==(const PortSettings&) const = default;

    // The settings text in its usual form ("9600,N,8,1", "110,E,7,1.5").
    QString text() const;

    // Parses a settings text; blanks around the fields and a lower-case parity letter are accepted.
    // A malformed text leaves `out` alone and returns error 380 with a description that names the
    // text and the field at fault.
    static AppError parse(const QString& text, PortSettings& out);

    // The baud rates a port list offers.
    static QStringList baudRates();
};
