#include "terminal/PortChoice.h"

#include <algorithm>

namespace portchoice {

QStringList fixedEntries() {
    return {QStringLiteral("NONE"), QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3")};
}

namespace {

Port entryPort(int index, const QStringList& devices) {
    if (index < FixedEntries)
        return Port{index, QString()};
    const int d = index - FixedEntries;
    return d < devices.size() ? Port{-1, devices[d]} : Port{};
}

} // namespace

QString simulatorEntry() {
    return QStringLiteral("Simulator");
}

Port choose(int index, const QString& text, const QStringList& entries, const QStringList& devices) {
    if (index >= 0 && index < entries.size() && text == entries[index])
        return entryPort(index, devices);
    const QString typed = text.trimmed();
    if (typed.isEmpty())
        return Port{index, QString()};
    for (int i = 0; i < entries.size(); ++i)
        if (typed.compare(entries[i], Qt::CaseInsensitive) == 0)
            return entryPort(i, devices);
    for (const QString& d : devices)
        if (typed == d)
            return Port{-1, d};
    if (typed.startsWith(simulatorEntry(), Qt::CaseInsensitive))
        return Port{-1, QString::fromLatin1(SimulatorDevice)};
    return Port{-1, typed};
}

QStringList entriesFor(QList<SystemPort>& ports, const QStringList& fixedDevices) {
    ports.erase(std::remove_if(ports.begin(), ports.end(),
                               [&](const SystemPort& p) { return fixedDevices.contains(p.device); }),
                ports.end());
    std::sort(ports.begin(), ports.end(),
              [](const SystemPort& a, const SystemPort& b) { return a.device < b.device; });
    QStringList entries;
    for (const SystemPort& p : ports)
        entries << (p.description.isEmpty() ? p.device : p.device + QStringLiteral(" - ") + p.description);
    return entries;
}

QString settingsText(const QString& baud, const QString& parity, const QString& dataBits,
                     const QString& stopBits) {
    return baud + u',' + parity.left(1) + u',' + dataBits + u',' + stopBits;
}

int storedPosition(const QString& stored, int count, int fallback) {
    bool ok = false;
    const int n = stored.trimmed().toInt(&ok);
    return ok && n >= 0 && n < count ? n : fallback;
}

} // namespace portchoice
