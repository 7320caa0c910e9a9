#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rules of the terminal's port and line-setting combos, apart from the widgets.
namespace portchoice {

// The fixed entries of the port combo; positions 1-3 are port numbers 1-3.
inline constexpr int FixedEntries = 4;
QStringList fixedEntries();

// The port a choice in the port combo stands for: a number (the list position of a fixed entry,
// 0 for "NONE", -1 for no entry) or a device name (a port the system reported, or one typed in).
struct Port {
    int number = -1;
    QString name;
    bool isNone() const { return name.isEmpty() && number == 0; }
    bool operator==(const Port&) const = default;
};

// `index` and `text` are the combo's list position and text, `entries` its list, `devices` the device
// names of the entries after the fixed four. A text that differs from the selected entry was typed:
// an entry's text (in any letter case) picks that entry, anything else names a device.
Port choose(int index, const QString& text, const QStringList& entries, const QStringList& devices);

// A port the system reports.
struct SystemPort {
    QString device;      // what opening uses: "/dev/ttyUSB0", "COM4"
    QString description; // "FT232R USB UART", may be empty
};
// The device name that stands for the simulated board, and the entry the port list shows for it
// while nothing runs.
inline constexpr char SimulatorDevice[] = "<simulator>";
QString simulatorEntry();

// The port combo's entries after the fixed four, in device order, without the devices that COM1-COM3
// already stand for: "device - description".
QStringList entriesFor(QList<SystemPort>& ports, const QStringList& fixedDevices);

// The settings text from the selected entries' texts: "9600", "None", "8", "1" give "9600,N,8,1".
QString settingsText(const QString& baud, const QString& parity, const QString& dataBits,
                     const QString& stopBits);

// A stored list position: the number when it is a whole number naming an entry of a list of
// `count`, otherwise `fallback`.
int storedPosition(const QString& stored, int count, int fallback);

} // namespace portchoice
