#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QStyle>
#include <QTest>

#include "platform/Colors.h"
#include "platform/DesktopTheme.h"

namespace {

const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

// The desktop's settings portal as a desktop session offers it, on a private session bus.
class Portal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    quint32 scheme = 0;
public slots:
    QDBusVariant Read(const QString& ns, const QString& key) {
        if (ns == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }
};

bool darkApplication() {
    return colors::isDark(QApplication::palette().color(QPalette::Window));
}

} // namespace

class tst_DesktopTheme : public QObject {
    Q_OBJECT
    QProcess bus_;
    Portal portal_;
    std::unique_ptr<QDBusConnection> portalConnection_;

    void announce(quint32 scheme) {
        portal_.scheme = scheme;
        QDBusMessage m =
            QDBusMessage::createSignal(PortalPath, SettingsInterface, QStringLiteral("SettingChanged"));
        m << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
          << QVariant::fromValue(QDBusVariant(scheme));
        QVERIFY(portalConnection_->send(m));
    }

private slots:
    void initTestCase() {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed: no session bus to test with");
        bus_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                            QStringLiteral("--print-address=1")});
        QVERIFY(bus_.waitForReadyRead(5000));
        const QByteArray address = bus_.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        portalConnection_ = std::make_unique<QDBusConnection>(
            QDBusConnection::connectToBus(QString::fromUtf8(address), QStringLiteral("portal")));
        QVERIFY(portalConnection_->isConnected());
        QVERIFY(portalConnection_->registerObject(PortalPath, &portal_, QDBusConnection::ExportAllSlots));
        QVERIFY(portalConnection_->registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    void cleanupTestCase() {
        bus_.kill();
        bus_.waitForFinished();
    }

    // A dark desktop at start, then light, dark again and a value unknown today (no preference): the
    // application follows each time, and the light look comes back as it was.
    void followsThePortal() {
        const QPalette own = QApplication::palette();
        portal_.scheme = 1;
        desktoptheme::follow(*qApp);
        QTRY_VERIFY(darkApplication());
        QCOMPARE(QApplication::style()->name(), QStringLiteral("fusion"));

        announce(2);
        QTRY_VERIFY(!darkApplication());
        QCOMPARE(QApplication::palette().color(QPalette::Base), own.color(QPalette::Base));

        announce(1);
        QTRY_VERIFY(darkApplication());
        announce(7);
        QTRY_VERIFY(!darkApplication());
    }
};

QTEST_MAIN(tst_DesktopTheme)
#include "tst_DesktopTheme.moc"
