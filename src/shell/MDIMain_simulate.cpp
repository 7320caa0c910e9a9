// The Simulate command: the document's program on a simulated PIC, its serial line offered to the
// Debug window as the port "Simulator".
#include "shell/MDIMain.h"

#include "toolchain/CommandLine.h"
#include "toolchain/RunScript.h"
#include "toolchain/SimScript.h"
#include "toolchain/Simulation.h"
#include "toolchain/frmSimulator.h"
#include "editor/frmEditor.h"
#include "terminal/PortChoice.h"
#include "terminal/frmComm.h"
#include "platform/Reports.h"
#include "platform/TextHelpers.h"
#include "platform/comm/PortSettings.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "common/Settings.h"
#include "common/ToolIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The compiler's output beside the source: NAME.hex, or NAME.HEX as some compilers write it.
QString hexBeside(const QString& source) {
    const QString hex = cmdline::hexFileOf(source);
    const QString upper = hex.chopped(4) + QStringLiteral(".HEX");
    return !QFileInfo::exists(hex) && QFileInfo::exists(upper) ? upper : hex;
}

} // namespace

Simulation& MDIMain::simulation() {
    if (!simulation_) {
        simulation_ = new Simulation(this);
        connect(simulation_, &Simulation::failed, this, [this](const QString& message) {
            showSimulationState();
            reports::plain(state_.prompts, this, AppError{AppError::PathFileAccess, message});
        });
        connect(simulation_, &Simulation::silent, this, [this](const QString& message) {
            showStatusMessage(message);
        });
        connect(simulation_, &Simulation::stopped, this, [this] { showSimulationState(); });
    }
    return *simulation_;
}

void MDIMain::showSimulationState() {
    const bool running = simulation_ && simulation_->isRunning();
    SSActiveToolBars1->SetEnabled(ids::ID_StopSimulation, running);
    if (terminal_)
        terminal_->setSimulation(simulation_);
}

AppError MDIMain::cmdSimulate(frmEditor& w) {
    const QString source = w.View().Document().PathName();
    if (source.isEmpty() || !QFileInfo(source).isFile() || w.View().Document().Modified()) {
        // A program never saved or changed since has no current output: compile first.
        simAfterCompile_ = &w;
        return cmdCompile(w);
    }
    const QString hex = hexBeside(source);
    const QFileInfo hexInfo(hex);
    if (!hexInfo.isFile() || hexInfo.lastModified() < QFileInfo(source).lastModified()) {
        simAfterCompile_ = &w;
        return cmdCompile(w);
    }
    simAfterCompile_ = nullptr;
    return startSimulation(w, hex);
}

void MDIMain::compileCollected(frmEditor* w, bool clean) {
    if (!w || w != simAfterCompile_)
        return;
    simAfterCompile_ = nullptr;
    if (!clean)
        return;
    const QString hex = hexBeside(w->View().Document().PathName());
    const AppError error = QFileInfo(hex).isFile()
                               ? startSimulation(*w, hex)
                               : AppError{AppError::FileNotFound,
                                          QStringLiteral("The compiler made no program file %1 to simulate.")
                                              .arg(QDir::toNativeSeparators(hex))};
    if (error)
        ShowError(error);
}

AppError MDIMain::startSimulation(frmEditor& w, const QString& hex) {
    Settings& s = settings_;
    simscript::Setup setup;
    setup.processor = simscript::processorName(runscript::deviceArg(SSActiveToolBars1->Text(ids::ID_Device)));
    setup.hexPath = hex;
    // The file is the text that was compiled (it is saved by now).
    QFile file(w.View().Document().PathName());
    setup.clockHz = simscript::oscillatorMHz(file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll())
                                                                            : QString()) *
                    1e6;
    // The device list names no serial pins; the hardware USART of the mid-range parts is on RC6/RC7.
    const struct {
        const settings::Key& key;
        QString& pin;
        const char* what;
    } pins[] = {{settings::simulator::TxPin, setup.txPin, "sending (TX)"},
                {settings::simulator::RxPin, setup.rxPin, "receiving (RX)"}};
    for (const auto& p : pins) {
        const QString stored = text::Trim(s.read(p.key));
        if (stored.isEmpty())
            continue;
        p.pin = simscript::pinName(stored);
        if (p.pin.isEmpty())
            return AppError{AppError::TypeMismatch, QStringLiteral("The simulator's %1 pin \"%2\" is not a port pin "
                                                                   "such as RC6 or portb0.")
                                                        .arg(QLatin1String(p.what), stored)};
    }
    const QString baud = text::Trim(s.read(settings::simulator::Baud));
    if (!baud.isEmpty()) {
        setup.baud = text::ValInt(baud);
    } else if (terminal_) {
        setup.baud = text::ValInt(terminal_->toolBars().Text(ids::ID_BaudRate));
    } else {
        const QStringList bauds = PortSettings::baudRates();
        setup.baud = bauds[portchoice::storedPosition(s.read(settings::debug::BaudRate), int(bauds.size()),
                                                      s.defaultOf(settings::debug::BaudRate).toInt())]
                         .toInt();
    }
    if (setup.baud <= 0)
        return AppError{AppError::TypeMismatch, QStringLiteral("The simulator's baud rate \"%1\" is not a speed.")
                                                    .arg(baud)};
    setup.inverted = text::Trim(s.read(settings::simulator::Inverted)) == QLatin1String("1");
    const bool realTime = text::Trim(s.read(settings::simulator::RealTime)) != QLatin1String("0");

    Simulation& sim = simulation();
    if (AppError e = sim.start(setup, QFileInfo(hex).fileName(), realTime))
        return e;
    simDocument_ = &w;
    showSimulationState();
    showStatusMessage(QStringLiteral("Simulating %1 on a %2 at %3 MHz, %4 baud on %5/%6: choose Simulator in the "
                                     "Debug window's port list.")
                          .arg(QFileInfo(hex).fileName(), setup.processor.mid(1).toUpper())
                          .arg(setup.clockHz / 1e6)
                          .arg(setup.baud)
                          .arg(setup.txPin, setup.rxPin));
    return {};
}

AppError MDIMain::cmdStopSimulation() {
    stopSimulation();
    return {};
}

void MDIMain::stopSimulation(const QString& why) {
    if (simulation_)
        simulation_->stop(why);
    simDocument_ = nullptr;
}

AppError MDIMain::cmdSimulatorOptions() {
    frmSimulator options(*this);
    options.exec();
    activateWindow();
    return {};
}
