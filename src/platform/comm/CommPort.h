#pragma once

#include "platform/AppError.h"
#include "platform/comm/PortSettings.h"

#include <QObject>
#include <QPointer>
#include <QSerialPort>

#include "platform/comm/SerialLink.h"

// The serial port of the terminal: a port number (1 is COM1) or a device name, the line settings, and
// the open state. Everything runs on the thread that owns it without blocking: data comes in through
// `received`, writes are queued by QSerialPort.
class CommPort : public QObject {
    Q_OBJECT
public:
    explicit CommPort(QObject* parent = nullptr);
    ~CommPort() override;

    // The device a port number stands for: COMn on Windows, the n-th serial port of the system
    // (/dev/ttyS<n-1> on Linux) elsewhere. "" for a number below 1.
    static QString deviceForNumber(int number);

    int number() const { return number_; }
    void setNumber(int number);
    // A device name given directly (a path such as /dev/rfcomm0, or a port name); it takes
    // precedence over the number while it is not empty.
    QString name() const { return name_; }
    void setName(const QString& name);
    // A line that is no system port (a simulated board); it takes precedence over the number and the
    // name while it is set. Setting a number or a name leaves it.
    SerialLink* link() const { return link_; }
    void setLink(SerialLink* link);
    // The device that opening would use.
    QString device() const;

    const PortSettings& settings() const { return settings_; }
    // Takes new settings; an open port gets them at once.
    AppError setSettings(const PortSettings& settings);

    bool isOpen() const { return link_ ? linkOpen_ : port_.isOpen(); }
    AppError open();
    void close();

    // Queues bytes for sending; false when the port is closed.
    bool send(const QByteArray& bytes);

    QSerialPort& serialPort() { return port_; }

signals:
    void received(const QByteArray& bytes);
    // The port closed by itself (the device went away, a read or write failed).
    void lost(const QString& message);

private:
    AppError applySettings();
    void onReadyRead();
    void onError(QSerialPort::SerialPortError error);
    void dropConnection();
    void onLinkEnded(const QString& why);

    QSerialPort port_;
    int number_ = 0;
    QString name_;
    PortSettings settings_;
    QString lostReason_;
    bool lostGone_ = false;
    QPointer<SerialLink> link_;
    bool linkOpen_ = false;
};
