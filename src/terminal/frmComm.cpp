#include "terminal/frmComm.h"

#include "common/AppState.h"
#include "common/FrameServices.h"
#include "common/Settings.h"
#include "common/ToolIds.h"
#include "platform/Prompts.h"
#include "platform/Reports.h"
#include "platform/comm/Comm.h"
#include "platform/comm/PortSettings.h"
#include "platform/comm/CommPort.h"
#include "platform/comm/SerialLink.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "platform/toolbars/ToolBarFlow.h"
#include "platform/toolbars/ToolCombo.h"
#include "terminal/PortChoice.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSerialPortInfo>
#include <QToolBar>

namespace {

struct LineCombo {
    const QString* id;
    const char* label;
    QStringList entries;
    const settings::Key* key;
};

const QList<LineCombo>& lineCombos() {
    static const QList<LineCombo> combos{
        {&ids::ID_BaudRate, "&Baud Rate:", PortSettings::baudRates(), &settings::debug::BaudRate},
        {&ids::ID_DataBits, "Data B&its:", {"7", "8"}, &settings::debug::DataBits},
        {&ids::ID_Parity, "Pa&rity:", {"Even", "Odd", "None"}, &settings::debug::Parity},
        {&ids::ID_StopBits, "Stop Bi&ts:", {"1", "2"}, &settings::debug::StopBits},
    };
    return combos;
}

bool flag(const QString& stored) {
    return stored.trimmed() == QLatin1String("1");
}

QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

frmComm::frmComm(FrameServices& frame, AppState& state)
    : frame_(frame), state_(state), body_(new QWidget), SSActiveToolBars2(new ActiveToolBars(body_)),
      Comm_(new Comm(body_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmComm"));
    setWindowTitle(QStringLiteral("Debug"));
    setWidget(body_);
    Comm_->setPrompts(&state_.prompts);
    buildToolBar();
    body_->installEventFilter(this);
    resize(760, 480);
    connect(SSActiveToolBars2, &ActiveToolBars::ComboCloseUp, this, &frmComm::SSActiveToolBars2_ComboCloseUp);
    connect(SSActiveToolBars2, &ActiveToolBars::ComboDropDown, this,
            &frmComm::SSActiveToolBars2_ComboDropDown);
    connect(Comm_, &Comm::portLost, this, &frmComm::onPortLost);
}

frmComm::~frmComm() {
    disconnect(SSActiveToolBars2, nullptr, this, nullptr);
    disconnect(Comm_, nullptr, this, nullptr);
}

void frmComm::buildToolBar() {
    ActiveToolBars& bars = *SSActiveToolBars2;
    // The terminal has a toolbar band and no menus.
    bars.menuBar()->hide();
    bars.toolBar(ids::DebugSettings)->setMovable(false);
    bars.AddTool(ids::ID_ComPort, ActiveToolBars::Kind::Combo, QStringLiteral("Co&m Port:"));
    bars.AddToToolBar(ids::DebugSettings, ids::ID_ComPort);
    for (const LineCombo& c : lineCombos()) {
        // The line settings are a part of their own, which a narrow window puts on a second row.
        if (c.id == &ids::ID_DataBits)
            bars.StartToolBarPart(ids::DebugSettings);
        bars.AddTool(*c.id, ActiveToolBars::Kind::Combo, QString::fromLatin1(c.label));
        bars.AddToToolBar(ids::DebugSettings, *c.id);
        for (const QString& e : c.entries)
            bars.ListAdd(*c.id, e);
        if (auto* combo = qobject_cast<ToolCombo*>(bars.combo(*c.id)))
            combo->setMinimumContentsLength(int(
                std::max_element(c.entries.begin(), c.entries.end(), [](const QString& a, const QString& b) {
                    return a.size() < b.size();
                })->size()));
    }
    for (const QString& e : portchoice::fixedEntries())
        bars.ListAdd(ids::ID_ComPort, e);
    if (auto* combo = qobject_cast<ToolCombo*>(bars.combo(ids::ID_ComPort))) {
        // Device names the system does not list (by-id links, Bluetooth, pseudo-terminals) are typed.
        combo->setTypable(true);
        combo->setMinimumContentsLength(18);
        combo->setToolTip(QStringLiteral("The serial port; type a device name that is not listed"));
    }
    bars.SetListIndex(ids::ID_ComPort, -1);
    bars.SetListText(ids::ID_ComPort, QStringLiteral("NONE"));
}

void frmComm::Form_Load() {
    // Each step runs whatever the one before did; a stored position that names no entry gives the
    // default one, so the settings text is always complete.
    ActiveToolBars& bars = *SSActiveToolBars2;
    Settings& s = state_.settings;
    for (const LineCombo& c : lineCombos()) {
        const int fallback = s.defaultOf(*c.key).toInt();
        bars.SetListIndex(*c.id, portchoice::storedPosition(s.read(*c.key), bars.ListCount(*c.id), fallback));
    }
    refreshPorts();
    readOptions();
    // No larger than the area it opens in, or the send line would fall below its edge.
    if (const QMdiArea* area = mdiArea())
        resize(size().boundedTo(area->viewport()->size()));
}

void frmComm::readOptions() {
    Settings& s = state_.settings;
    Comm_->setEnterSends(
        terminalkeys::Enter(portchoice::storedPosition(s.read(settings::debug::EnterSends), 3, 0)));
    Comm_->setLocalEcho(flag(s.read(settings::debug::LocalEcho)));
    Comm_->setTimeStamps(flag(s.read(settings::debug::TimeStamps)));
    Comm_->setHexShown(flag(s.read(settings::debug::HexView)));
    Comm_->setPlotShown(flag(s.read(settings::debug::PlotView)));
    Comm_->setLogFile(s.read(settings::debug::LogFile));
}

void frmComm::storeOptions() {
    Settings& s = state_.settings;
    s.save(settings::debug::EnterSends, QString::number(int(Comm_->enterSends())));
    s.save(settings::debug::LocalEcho, flagText(Comm_->localEcho()));
    s.save(settings::debug::TimeStamps, flagText(Comm_->timeStamps()));
    s.save(settings::debug::HexView, flagText(Comm_->hexShown()));
    s.save(settings::debug::PlotView, flagText(Comm_->plotShown()));
    s.save(settings::debug::LogFile, Comm_->logFile());
}

void frmComm::Form_Activate() {
    // The terminal holds no document: the frame's document commands have nothing to act on.
    frame_.EnableTools();
}

void frmComm::Form_Resize() {
    // The band along the top, the terminal control in the rest of the window.
    // The band's parts flow in rows as wide as the window.
    const QRect area = body_->rect();
    const QList<QToolBar*> parts = SSActiveToolBars2->toolBarParts(ids::DebugSettings);
    QList<int> widths;
    for (const QToolBar* part : parts)
        widths << part->sizeHint().width();
    const QList<int> rows = toolbarflow::rows(widths, area.width());
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0 && rows[i] != rows[i - 1]) {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        const QSize hint = parts[i]->sizeHint();
        // The last part of a row takes the rest of it.
        const bool last = i + 1 == parts.size() || rows[i + 1] != rows[i];
        parts[i]->setGeometry(x, y, last ? std::max(hint.width(), area.width() - x) : hint.width(),
                              hint.height());
        x += hint.width();
        rowHeight = std::max(rowHeight, hint.height());
    }
    const int bar = std::min(y + rowHeight, area.height());
    Comm_->setGeometry(0, bar, area.width(), std::max(0, area.height() - bar));
}

bool frmComm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == body_ && event->type() == QEvent::Resize)
        Form_Resize();
    return QMdiSubWindow::eventFilter(watched, event);
}

void frmComm::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QMdiSubWindow::closeEvent(event);
}

void frmComm::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    if (Comm_->logging())
        Comm_->stopLog();
    if (Comm_->portOpen())
        Comm_->setPortOpen(false);
    ActiveToolBars& bars = *SSActiveToolBars2;
    for (const LineCombo& c : lineCombos())
        state_.settings.save(*c.key, QString::number(bars.ListIndex(*c.id)));
    storeOptions();
    state_.settings.sync();
}

void frmComm::setLineToolsEnabled(bool enabled) {
    ActiveToolBars& bars = *SSActiveToolBars2;
    bars.SetRedraw(false);
    for (const QString* id : {&ids::ID_BaudRate, &ids::ID_Parity, &ids::ID_DataBits, &ids::ID_StopBits})
        bars.SetEnabled(*id, enabled);
    bars.SetRedraw(true);
}

void frmComm::SSActiveToolBars2_ComboCloseUp(const QString& id) {
    if (id != ids::ID_ComPort) {
        ApplyPortSettings();
        return;
    }
    ActiveToolBars& bars = *SSActiveToolBars2;
    QStringList entries;
    for (int i = 0; i < bars.ListCount(id); ++i)
        entries << bars.ListText(id, i);
    const portchoice::Port port =
        portchoice::choose(bars.ListIndex(id), bars.Text(id), entries, systemDevices_);
    if (port.isNone()) {
        setLineToolsEnabled(false);
        Comm_->setPortOpen(false);
        return;
    }
    setLineToolsEnabled(true);
    ApplyPortSettings();
}

void frmComm::ApplyPortSettings() {
    setCursor(Qt::WaitCursor);
    ActiveToolBars& bars = *SSActiveToolBars2;
    if (Comm_->portOpen())
        Comm_->setPortOpen(false);
    AppError error = Comm_->setSettings(
        portchoice::settingsText(bars.Text(ids::ID_BaudRate), bars.Text(ids::ID_Parity),
                                 bars.Text(ids::ID_DataBits), bars.Text(ids::ID_StopBits)));
    if (!error) {
        QStringList entries;
        for (int i = 0; i < bars.ListCount(ids::ID_ComPort); ++i)
            entries << bars.ListText(ids::ID_ComPort, i);
        const portchoice::Port port = portchoice::choose(bars.ListIndex(ids::ID_ComPort),
                                                         bars.Text(ids::ID_ComPort), entries, systemDevices_);
        const bool simulator = port.name == QLatin1String(portchoice::SimulatorDevice);
        if (simulator)
            Comm_->setPortLink(simulation_);
        else if (port.name.isEmpty())
            Comm_->setPortNumber(port.number);
        else
            Comm_->setPortName(port.name);
        error = simulator && !simulation_ ? AppError{8002, QStringLiteral("There is no simulator to connect to.")}
                                          : Comm_->setPortOpen(true);
    }
    unsetCursor();
    if (error)
        reports::plain(state_.prompts, this, error);
}

void frmComm::SSActiveToolBars2_ComboDropDown(const QString& id) {
    if (id == ids::ID_ComPort)
        refreshPorts();
}

void frmComm::refreshPorts() {
    ActiveToolBars& bars = *SSActiveToolBars2;
    QComboBox* combo = bars.combo(ids::ID_ComPort);
    if (!combo)
        return;
    const int index = combo->currentIndex();
    const QString text = combo->currentText();
    const QString selected = index >= portchoice::FixedEntries
                                 ? systemDevices_.value(index - portchoice::FixedEntries)
                                 : QString();
    QList<portchoice::SystemPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
#if defined(Q_OS_WIN)
        ports.append({info.portName(), info.description()});
#else
        ports.append({info.systemLocation(), info.description()});
#endif
    }
    QStringList fixed;
    for (int n = 1; n < portchoice::FixedEntries; ++n)
        fixed << CommPort::deviceForNumber(n);
    QStringList entries = portchoice::entriesFor(ports, fixed);
    // The simulated board comes last, named after the program it runs.
    const bool simulating = simulation_ && simulation_->linkRunning();
    entries << (simulating ? simulation_->linkName() : portchoice::simulatorEntry());
    ports.append({QString::fromLatin1(portchoice::SimulatorDevice), QString()});

    const QSignalBlocker quiet(combo);
    while (combo->count() > portchoice::FixedEntries)
        combo->removeItem(combo->count() - 1);
    systemDevices_.clear();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        combo->addItem(entries[i]);
        systemDevices_ << ports[i].device;
    }
    // The choice stays: the same device where it is still listed, otherwise the text as it was.
    int keep = index < portchoice::FixedEntries ? index : -1;
    if (!selected.isEmpty() && systemDevices_.contains(selected))
        keep = portchoice::FixedEntries + int(systemDevices_.indexOf(selected));
    combo->setCurrentIndex(keep);
    if (keep < 0 || combo->currentText() != text)
        combo->setEditText(keep < 0 ? text : combo->currentText());
}

void frmComm::onPortLost(const QString& message) {
    // The frame reports why a simulation ended; the terminal notes it in its text.
    if (Comm_->port().link())
        frame_.showStatusMessage(message);
    else
        state_.prompts.message(this, message);
}

void frmComm::setSimulation(SerialLink* simulation) {
    simulation_ = simulation;
    refreshPorts();
    // A terminal left on the simulator takes up the next simulation from its first byte.
    ActiveToolBars& bars = *SSActiveToolBars2;
    QStringList entries;
    for (int i = 0; i < bars.ListCount(ids::ID_ComPort); ++i)
        entries << bars.ListText(ids::ID_ComPort, i);
    const portchoice::Port port =
        portchoice::choose(bars.ListIndex(ids::ID_ComPort), bars.Text(ids::ID_ComPort), entries, systemDevices_);
    if (port.name == QLatin1String(portchoice::SimulatorDevice) && simulation_ && simulation_->linkRunning() &&
        !Comm_->portOpen())
        ApplyPortSettings();
}
