#pragma once

#include "platform/AppError.h"

#include <QString>
#include <QStringList>

#include <array>

// Pin counts of one device: index 0 GPIO, 1 PORTA ... 8 PORTH, 9 PORTJ; 0 means no such port.
using DevicePortTable = std::array<int, 10>;

// Reader of the device list file devicedata.ide. A device line is any line containing ':'; the name
// is the text before the first ':', unchanged. Port entries "GPIO=", "PORTA=" ... "PORTJ=" anywhere in
// the line are followed by one digit; the case-sensitive "PBC" marks devices of the PicBasic compiler.
class DeviceDatabase {
public:
    static constexpr int PortCount = 10;

    static inline const QString FileName = QStringLiteral("devicedata.ide");
    static inline const QString ListingErrorPrefix = QStringLiteral("Get Micro Listing Error: ");
    static inline const QString DeviceDataErrorPrefix = QStringLiteral("Get Device Data Error: ");

    // "GPIO", "PORTA" ... "PORTH", "PORTJ" for 0..9; "" outside.
    static QString portName(int index);

    // Device names in file order, duplicates kept; in PicBasic mode (pbpMode false) only lines
    // carrying "PBC".
    static QStringList listDevices(const QStringList& lines, bool pbpMode);
    // The same from a file. On an error the names read before it are returned and `error` is set.
    static QStringList listDevices(const QString& path, bool pbpMode, AppError& error);

    // Finds the first line whose name equals `selectedName` regardless of case (both are upper-cased)
    // and sets every entry of `ports` from it. Returns true on a match; without one `ports` is
    // unchanged. A port entry without a digit after '=' sets `error` to a type mismatch, leaving the
    // entries before it with their new values and the later ones with their old values.
    static bool findDevicePorts(const QStringList& lines, const QString& selectedName, DevicePortTable& ports,
                                AppError& error);
    static bool findDevicePorts(const QString& path, const QString& selectedName, DevicePortTable& ports,
                                AppError& error);

    // Sets `ports` from one device line (any case) in table order; stops at the first bad entry.
    static AppError readPorts(const QString& deviceLine, DevicePortTable& ports);

    // The lines of a text file (CRLF or LF); 53 for a missing file, 75 when it cannot be read or holds
    // binary data.
    static QStringList readLines(const QString& path, AppError& error);
};
