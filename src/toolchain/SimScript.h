#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The pure parts of a simulator run: the gpsim start-up script, the reading of gpsim's output, and
// the pacing of the simulated clock against the wall clock.
namespace simscript {

// What a run needs to know to build its script.
struct Setup {
    QString processor; // gpsim's name: "p16f877a"
    QString hexPath;   // the program to load
    double clockHz = 4e6;
    QString txPin = QStringLiteral("portc6"); // the PIC's sending pin, watched by the simulated terminal
    QString rxPin = QStringLiteral("portc7"); // the PIC's receiving pin, driven by the terminal
    int baud = 9600;
    bool inverted = false; // idle-low line (the N-modes of SEROUT): a NOT gate in each direction
};

// The processor name gpsim takes for a device combo entry's device ("16F877A" → "p16f877a");
// "" for an empty name.
QString processorName(const QString& device);

// The clock a program runs at, in MHz: the number of its first "DEFINE OSC n" line (any letter case,
// blanks around; a comment is no definition), 4 when it has none or the number is not positive.
double oscillatorMHz(const QString& source);

// A pin name as gpsim takes it: "portc6", "RC6", "PORTB.0" and "portb0" are all accepted; "" for a
// name that is no port pin.
QString pinName(const QString& text);

// The start-up script: processor, program, clock, the serial module on the two pins.
QString script(const Setup& setup);

// The commands that run the simulation up to instruction cycle `cycle`, after handing the bytes the
// terminal sent to the PIC's receiving pin.
QByteArray sliceCommands(qint64 cycle, const QByteArray& toPic);

// Reads gpsim's standard output in the chunks it arrives in.
class OutputParser {
public:
    struct Result {
        QByteArray bytes;    // what the PIC sent on the watched pin
        QStringList errors;  // gpsim's complaints about the processor, the program or the script
        qint64 breakAt = -1; // the cycle a slice ended at, -1 while it runs
    };
    Result feed(QByteArrayView chunk);
    bool running() const { return running_; }

    // The error a line of gpsim's output reports, or "" for none.
    static QString errorIn(QByteArrayView line);

private:
    void endLine(Result& r);
    QByteArray pending_; // unread input
    QByteArray line_;    // the text of the line read so far (without the bytes inside it)
    bool running_ = false;
};

// How far the simulated clock may run. In real time it follows the wall clock, never more than
// `maxLagMs` behind (a stalled machine does not make the simulation race to catch up); flat out each
// slice is a fixed number of cycles.
class Pacer {
public:
    static constexpr qint64 MaxLagMs = 200;
    static constexpr qint64 FlatOutSlice = 1'000'000;

    Pacer(double clockHz, bool realTime);
    // The cycle the next slice should run to, given the cycle reached and the wall time since the
    // start; -1 when the simulation is ahead of the wall clock.
    qint64 next(qint64 reached, qint64 elapsedMs);
    double cyclesPerSecond() const { return cps_; }
    bool realTime() const { return realTime_; }

private:
    double cps_;
    bool realTime_;
    qint64 lostMs_ = 0; // wall time given up to a lag
};

} // namespace simscript
