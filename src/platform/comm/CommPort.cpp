#include "platform/comm/CommPort.h"

#include "platform/comm/SerialLink.h"
#include "platform/comm/TerminalText.h"

#include <QSerialPortInfo>
#include <algorithm>

CommPort::CommPort(QObject* parent) : QObject(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &CommPort::onReadyRead);
    connect(&port_, &QSerialPort::errorOccurred, this, &CommPort::onError);
}

CommPort::~CommPort() {
    disconnect(&port_, nullptr, this, nullptr);
    port_.close();
}

QString CommPort::deviceForNumber(int number) {
    if (number < 1)
        return {};
#if defined(Q_OS_WIN)
    return QStringLiteral("COM%1").arg(number);
#elif defined(Q_OS_LINUX)
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
#else
    QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    std::sort(ports.begin(), ports.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return a.systemLocation() < b.systemLocation();
    });
    return number <= ports.size() ? ports[number - 1].systemLocation() : QStringLiteral("COM%1").arg(number);
#endif
}

void CommPort::setNumber(int number) {
    setLink(nullptr);
    number_ = number;
}

void CommPort::setName(const QString& name) {
    setLink(nullptr);
    name_ = name.trimmed();
}

void CommPort::setLink(SerialLink* link) {
    if (link == link_)
        return;
    close();
    link_ = link;
}

QString CommPort::device() const {
    if (link_)
        return link_->linkName();
    return name_.isEmpty() ? deviceForNumber(number_) : name_;
}

AppError CommPort::setSettings(const PortSettings& settings) {
    settings_ = settings;
    // A simulated line has its speed set where the simulation is set up.
    return port_.isOpen() ? applySettings() : AppError{};
}

AppError CommPort::applySettings() {
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (settings_.parity) {
    case 'E':
        parity = QSerialPort::EvenParity;
        break;
    case 'O':
        parity = QSerialPort::OddParity;
        break;
    case 'M':
        parity = QSerialPort::MarkParity;
        break;
    case 'S':
        parity = QSerialPort::SpaceParity;
        break;
    default:
        break;
    }
    const auto stop = settings_.halfStopBits == 4   ? QSerialPort::TwoStop
                      : settings_.halfStopBits == 3 ? QSerialPort::OneAndHalfStop
                                                    : QSerialPort::OneStop;
    const bool ok = port_.setBaudRate(settings_.baud) &&
                    port_.setDataBits(QSerialPort::DataBits(settings_.dataBits)) &&
                    port_.setParity(parity) && port_.setStopBits(stop) &&
                    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (ok)
        return {};
    return AppError{8015, QStringLiteral("Port %1 does not take the settings %2: %3")
                              .arg(device(), settings_.text(), port_.errorString())};
}

AppError CommPort::open() {
    if (link_) {
        if (linkOpen_)
            return {};
        if (!link_->linkRunning())
            return AppError{8002, QStringLiteral("The simulator is not running: start the program with Simulate "
                                                 "in the Compile menu first.")};
        connect(link_, &SerialLink::linkReceived, this, &CommPort::received);
        connect(link_, &SerialLink::linkEnded, this, &CommPort::onLinkEnded);
        linkOpen_ = true;
        return {};
    }
    if (port_.isOpen())
        return {};
    const QString dev = device();
    if (dev.isEmpty())
        return AppError{8002, QStringLiteral("Invalid port number: choose a port in the Com Port list first.")};
    port_.setPortName(dev);
    if (!port_.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError why = port_.error();
        const QString detail = port_.errorString();
        port_.clearError();
        if (why == QSerialPort::DeviceNotFoundError)
            return AppError{8002, QStringLiteral("Port %1 does not exist (%2).").arg(dev, detail)};
        if (why == QSerialPort::PermissionError)
            return AppError{8005, QStringLiteral("Port %1 is in use by another program or may not be opened "
                                                 "(%2).")
                                      .arg(dev, detail)};
        return AppError{8002, QStringLiteral("Port %1 could not be opened: %2").arg(dev, detail)};
    }
    if (AppError e = applySettings()) {
        port_.close();
        return e;
    }
    return {};
}

void CommPort::close() {
    if (link_)
        disconnect(link_, nullptr, this, nullptr);
    linkOpen_ = false;
    if (port_.isOpen())
        port_.close();
    port_.clearError();
}

bool CommPort::send(const QByteArray& bytes) {
    if (link_)
        return linkOpen_ && link_->linkWrite(bytes);
    if (!port_.isOpen())
        return false;
    port_.write(bytes);
    return true;
}

void CommPort::onReadyRead() {
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty())
        emit received(bytes);
}

void CommPort::onError(QSerialPort::SerialPortError error) {
    // Open failures are reported by open() itself; here only a port that was working fails.
    if (error == QSerialPort::NoError || !port_.isOpen())
        return;
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError && error != QSerialPort::UnknownError)
        return;
    // Closing inside QSerialPort's own notification is not safe; do it once that has returned.
    // A device that went away (unplugged, or the far end of a pseudo-terminal closed) makes the read
    // fail or end; the system's text for that is whatever an earlier call left behind ("Resource
    // temporarily unavailable", "No such file or directory"), which would only mislead.
    lostReason_ = port_.errorString();
    lostGone_ = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
    QMetaObject::invokeMethod(this, &CommPort::dropConnection, Qt::QueuedConnection);
}

void CommPort::dropConnection() {
    if (!port_.isOpen())
        return;
    // What arrived before the device went away is still shown.
    const QByteArray rest = port_.readAll();
    if (!rest.isEmpty())
        emit received(rest);
    const QString message = terminaltext::lost(device(), lostGone_, lostReason_);
    port_.close();
    port_.clearError();
    emit lost(message);
}

void CommPort::onLinkEnded(const QString& why) {
    if (!linkOpen_)
        return;
    close();
    emit lost(why);
}
