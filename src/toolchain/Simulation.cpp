#include "toolchain/Simulation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

Simulation::Simulation(QObject* parent) : SerialLink(parent), timer_(new QTimer(this)) {
    timer_->setInterval(SliceMs);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &Simulation::tick);
}

Simulation::~Simulation() {
    stopping_ = true;
    if (process_) {
        disconnect(process_, nullptr, this, nullptr);
        process_->kill();
        process_->waitForFinished(2000);
        delete process_;
        process_ = nullptr;
    }
}

QString Simulation::gpsimProgram() {
    // On the PATH (on Windows as gpsim.exe).
    return QStandardPaths::findExecutable(QStringLiteral("gpsim"));
}

QString Simulation::missingText() {
    return QStringLiteral("The PIC simulator gpsim is not installed, so the program cannot be simulated.\n"
                          "On Debian and Ubuntu install it with: sudo apt install gpsim\n"
                          "Elsewhere get it from its web site, http://gpsim.sourceforge.net, and put it on the PATH.");
}

QString Simulation::linkName() const {
    return QStringLiteral("Simulator - ") + programName_;
}

AppError Simulation::start(const simscript::Setup& setup, const QString& programName, bool realTime) {
    stop();
    const QString gpsim = gpsimProgram();
    if (gpsim.isEmpty())
        return AppError{AppError::FileNotFound, missingText()};
    if (!QFileInfo(setup.hexPath).isFile())
        return AppError{AppError::FileNotFound,
                        QStringLiteral("The program file %1 was not found: compile the program first.")
                            .arg(QDir::toNativeSeparators(setup.hexPath))};
    if (setup.processor.isEmpty())
        return AppError{AppError::TypeMismatch, QStringLiteral("Choose a device in the Micro list first.")};
    folder_ = std::make_unique<QTemporaryDir>();
    const QString scriptPath = folder_->filePath(QStringLiteral("board.stc"));
    QFile script(scriptPath);
    if (!folder_->isValid() || !script.open(QIODevice::WriteOnly) ||
        script.write(simscript::script(setup).toUtf8()) < 0 || !script.flush())
        return AppError{AppError::PathFileAccess,
                        QStringLiteral("The simulator's start-up script could not be written.")};
    script.close();

    setup_ = setup;
    programName_ = programName;
    parser_ = {};
    pacer_ = std::make_unique<simscript::Pacer>(setup.clockHz, realTime);
    toPic_.clear();
    reached_ = 0;
    received_ = 0;
    inSlice_ = false;
    silenceTold_ = false;
    stopping_ = false;

    auto* p = new QProcess(this);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setWorkingDirectory(folder_->path());
    QStringList args{QStringLiteral("-i"), QStringLiteral("-c"), scriptPath};
#ifndef Q_OS_WIN
    // gpsim buffers a pipe fully; what the PIC sends has to come out as it is sent.
    const QString stdbuf = QStandardPaths::findExecutable(QStringLiteral("stdbuf"));
    if (!stdbuf.isEmpty()) {
        args.prepend(gpsim);
        args.prepend(QStringLiteral("-o0"));
        p->setProgram(stdbuf);
    } else
#endif
        p->setProgram(gpsim);
    p->setArguments(args);
#ifdef Q_OS_LINUX
    // gpsim goes when this program goes, however it ends (a crash or a kill runs no destructor).
    p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
    connect(p, &QProcess::readyReadStandardOutput, this, &Simulation::onOutput);
    connect(p, &QProcess::finished, this, &Simulation::onFinished);
    p->start();
    if (!p->waitForStarted(5000)) {
        const QString why = p->errorString();
        delete p;
        return AppError{AppError::PathFileAccess, QStringLiteral("gpsim could not be started: ") + why};
    }
    process_ = p;
    pid_ = p->processId();
    clock_.start();
    timer_->start();
    emit started();
    return {};
}

void Simulation::stop(const QString& why) {
    if (!process_)
        return;
    stopping_ = true;
    timer_->stop();
    QProcess* p = process_;
    process_ = nullptr;
    disconnect(p, nullptr, this, nullptr);
    // gpsim never ends by itself while it waits for commands. The process object may be the sender
    // of the signal being handled, so it goes once that has returned.
    p->kill();
    p->waitForFinished(2000);
    p->deleteLater();
    folder_.reset();
    emit linkEnded(why.isEmpty() ? QStringLiteral("The simulation of %1 has stopped.").arg(programName_) : why);
    emit stopped();
}

bool Simulation::linkWrite(const QByteArray& bytes) {
    if (!process_)
        return false;
    toPic_ += bytes;
    return true;
}

void Simulation::tick() {
    if (!process_ || inSlice_)
        return;
    const qint64 elapsed = clock_.elapsed();
    if (!silenceTold_ && received_ == 0 && elapsed >= silenceMs_) {
        silenceTold_ = true;
        emit silent(QStringLiteral("The simulated %1 has sent nothing on %2 for %3 seconds. Check that the "
                                   "program sends on that pin at %4 baud, and that its TRIS bit makes the pin an "
                                   "output.")
                        .arg(setup_.processor.mid(1).toUpper(), setup_.txPin)
                        .arg(std::max(1, silenceMs_ / 1000))
                        .arg(setup_.baud));
    }
    const qint64 target = pacer_->next(reached_, elapsed);
    if (target < 0)
        return;
    inSlice_ = true;
    process_->write(simscript::sliceCommands(target, toPic_));
    toPic_.clear();
}

void Simulation::onOutput() {
    if (!process_)
        return;
    const simscript::OutputParser::Result r = parser_.feed(process_->readAllStandardOutput());
    if (!r.bytes.isEmpty()) {
        received_ += r.bytes.size();
        emit linkReceived(r.bytes);
    }
    if (!r.errors.isEmpty()) {
        const QString message = r.errors.first();
        stop(message);
        emit failed(message);
        return;
    }
    if (r.breakAt >= 0) {
        reached_ = std::max(reached_, r.breakAt);
        inSlice_ = false;
        // Flat out there is no reason to wait for the timer.
        if (!pacer_->realTime())
            tick();
    }
}

void Simulation::onFinished() {
    if (stopping_ || !process_)
        return;
    const QString message = QStringLiteral("gpsim ended by itself (exit code %1).").arg(process_->exitCode());
    stop(message);
    emit failed(message);
}
