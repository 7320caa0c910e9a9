#pragma once

#include "platform/AppError.h"
#include "platform/comm/SerialLink.h"
#include "toolchain/SimScript.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

class QTimer;

// A program running on a simulated PIC: gpsim, driven headless in short slices against the wall clock
// (or flat out), its serial module on the PIC's pins. What the PIC sends arrives as `linkReceived`,
// what the terminal writes is handed to the PIC's receiving pin between slices. The process never
// outlives this object.
class Simulation : public SerialLink {
    Q_OBJECT
public:
    static constexpr int SliceMs = 10;
    static constexpr int SilenceMs = 5000;

    explicit Simulation(QObject* parent = nullptr);
    ~Simulation() override;

    // The gpsim program, "" when it is not installed.
    static QString gpsimProgram();
    // What to do about a missing gpsim, for a message.
    static QString missingText();

    // Starts `setup` (the program's file name, for the port list, is `programName`). Fails with a
    // clear text when gpsim or the program file is missing; gpsim's own complaints come later as
    // `failed`. A running simulation is stopped first.
    AppError start(const simscript::Setup& setup, const QString& programName, bool realTime);
    // Ends the simulation and its process; a terminal on it is told `why` (a plain stop by default).
    void stop(const QString& why = QString());

    bool isRunning() const { return process_ != nullptr; }
    qint64 processId() const { return pid_; }
    const simscript::Setup& setup() const { return setup_; }
    // Instruction cycles simulated so far.
    qint64 cycles() const { return reached_; }
    qint64 bytesReceived() const { return received_; }
    // How long the watched pin may stay silent after the start before `silent` (SilenceMs).
    void setSilenceMs(int ms) { silenceMs_ = ms; }

    QString linkName() const override;
    bool linkRunning() const override { return isRunning(); }
    bool linkWrite(const QByteArray& bytes) override;

signals:
    // gpsim refused the processor, the program or the script, or ended by itself; the simulation
    // has stopped.
    void failed(const QString& message);
    // Nothing came from the watched pin for SilenceMs after the start (the simulation goes on).
    void silent(const QString& message);
    void started();
    void stopped();

private:
    void onOutput();
    void onFinished();
    void tick();

    QProcess* process_ = nullptr;
    qint64 pid_ = 0;
    std::unique_ptr<QTemporaryDir> folder_;
    QTimer* timer_;
    QElapsedTimer clock_;
    simscript::Setup setup_;
    QString programName_;
    simscript::OutputParser parser_;
    std::unique_ptr<simscript::Pacer> pacer_;
    QByteArray toPic_;
    qint64 reached_ = 0;
    bool inSlice_ = false;
    qint64 received_ = 0;
    bool silenceTold_ = false;
    int silenceMs_ = SilenceMs;
    bool stopping_ = false;
};
