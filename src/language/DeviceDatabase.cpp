#include "language/DeviceDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char* const kPortNames[DeviceDatabase::PortCount] = {"GPIO",  "PORTA", "PORTB", "PORTC", "PORTD",
                                                           "PORTE", "PORTF", "PORTG", "PORTH", "PORTJ"};

bool isDeviceLine(const QString& line) {
    return line.contains(u':');
}

QString deviceName(const QString& line) {
    return line.left(line.indexOf(u':'));
}

} // namespace

QString DeviceDatabase::portName(int index) {
    if (index < 0 || index >= PortCount)
        return QString();
    return QLatin1String(kPortNames[index]);
}

QStringList DeviceDatabase::listDevices(const QStringList& lines, bool pbpMode) {
    QStringList names;
    for (const QString& line : lines) {
        if (!isDeviceLine(line))
            continue;
        if (!pbpMode && !line.contains(QLatin1String("PBC"), Qt::CaseSensitive))
            continue;
        names.append(deviceName(line));
    }
    return names;
}

QStringList DeviceDatabase::listDevices(const QString& path, bool pbpMode, AppError& error) {
    error = AppError::none();
    const QStringList lines = readLines(path, error);
    return listDevices(lines, pbpMode);
}

AppError DeviceDatabase::readPorts(const QString& deviceLine, DevicePortTable& ports) {
    const QString line = deviceLine.toUpper();
    for (int i = 0; i < PortCount; ++i) {
        const QString key = portName(i) + u'=';
        const int at = line.indexOf(key);
        if (at < 0) {
            ports[i] = 0;
            continue;
        }
        const int digitAt = at + int(key.size());
        if (digitAt >= line.size())
            return AppError::typeMismatch();
        const QChar digit = line.at(digitAt);
        if (digit < u'0' || digit > u'9')
            return AppError::typeMismatch();
        ports[i] = digit.unicode() - u'0';
    }
    return AppError::none();
}

bool DeviceDatabase::findDevicePorts(const QStringList& lines, const QString& selectedName,
                                     DevicePortTable& ports, AppError& error) {
    error = AppError::none();
    // Names are compared upper-cased on both sides, so that a name the file writes in lower case (and
    // the list shows so) finds its own line.
    const QString wanted = selectedName.toUpper();
    for (const QString& raw : lines) {
        const QString line = raw.toUpper();
        if (!isDeviceLine(line) || deviceName(line) != wanted)
            continue;
        error = readPorts(line, ports);
        return true;
    }
    return false;
}

bool DeviceDatabase::findDevicePorts(const QString& path, const QString& selectedName, DevicePortTable& ports,
                                     AppError& error) {
    const QStringList lines = readLines(path, error);
    if (error)
        return false;
    return findDevicePorts(lines, selectedName, ports, error);
}

QStringList DeviceDatabase::readLines(const QString& path, AppError& error) {
    error = AppError::none();
    QFile file(path);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        error = AppError::fileNotFound();
        return {};
    }
    if (info.isDir() || !file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error = AppError::accessError();
        return {};
    }
    const QByteArray bytes = file.readAll();
    // A text file never holds a NUL byte; read as text, a binary file would list garbage as devices.
    if (bytes.contains('\0')) {
        error = AppError{AppError::PathFileAccess,
                         QStringLiteral("%1 is not a device list: it holds binary data.")
                             .arg(QDir::toNativeSeparators(path))};
        return {};
    }
    QStringList lines;
    QTextStream in(bytes);
    QString line;
    while (in.readLineInto(&line))
        lines.append(line);
    return lines;
}
