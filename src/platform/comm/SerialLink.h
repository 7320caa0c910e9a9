#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

// A serial line that is no port of the system: a simulated board. The terminal's port talks to it in
// place of a device while it is chosen.
class SerialLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // What the port list calls it ("Simulator - blink.hex").
    virtual QString linkName() const = 0;
    virtual bool linkRunning() const = 0;
    // Hands bytes to the far end; false when it is not running.
    virtual bool linkWrite(const QByteArray& bytes) = 0;

signals:
    void linkReceived(const QByteArray& bytes);
    // The far end has gone; the text says why.
    void linkEnded(const QString& why);
};
