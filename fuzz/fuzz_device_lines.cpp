// The device list read from a file as another program may have written it: a binary file is refused,
// every listed device must be found again by its upper-cased name, and every pin count read is a
// single digit.
#include "language/DeviceDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(DeviceDatabase::FileName);
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    AppError error;
    const QStringList lines = DeviceDatabase::readLines(path, error);
    // A NUL byte marks a binary file, which is refused whole; any other bytes are read as lines.
    const bool binary = std::memchr(data, 0, size) != nullptr;
    if (bool(error) != binary)
        std::abort();
    if (binary)
        return 0;
    for (const bool pbp : {true, false}) {
        const QStringList names = DeviceDatabase::listDevices(path, pbp, error);
        if (error || names != DeviceDatabase::listDevices(lines, pbp))
            std::abort();
    }
    for (const QString& line : lines) {
        DevicePortTable ports{};
        if (!DeviceDatabase::readPorts(line, ports))
            for (int n : ports)
                if (n < 0 || n > 9)
                    std::abort();
    }
    int checked = 0;
    for (const QString& name : DeviceDatabase::listDevices(lines, true)) {
        if (++checked > 16)
            break;
        const QString upper = name.toUpper();
        // Upper-casing may change a name's length (German sharp s), which moves the colon; such a
        // name is not looked up by the program either.
        if (upper.size() != name.size())
            continue;
        DevicePortTable ports{};
        if (!DeviceDatabase::findDevicePorts(lines, upper, ports, error))
            std::abort();
    }
    return 0;
}
