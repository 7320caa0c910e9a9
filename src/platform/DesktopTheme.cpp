#include "platform/DesktopTheme.h"

#include "platform/Colors.h"
#include "platform/FrameStyle.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

#ifdef PINWRIGHT_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QList>
#endif

namespace desktoptheme {

Scheme fromPortalValue(quint32 value) {
    switch (value) {
    case 1:
        return Scheme::Dark;
    case 2:
        return Scheme::Light;
    default:
        return Scheme::NoPreference;
    }
}

QPalette darkPalette() {
    const QColor window(45, 45, 48), base(30, 30, 30), text(220, 220, 220), disabled(128, 128, 128);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, disabled);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 160, 255));
    p.setColor(QPalette::Highlight, QColor(38, 79, 120));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Light, window.lighter(150));
    p.setColor(QPalette::Midlight, window.lighter(125));
    p.setColor(QPalette::Mid, window.darker(120));
    p.setColor(QPalette::Dark, window.darker(150));
    p.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    return p;
}

#ifdef PINWRIGHT_HAVE_DBUS

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString SettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString Namespace = QStringLiteral("org.freedesktop.appearance");
const QString Key = QStringLiteral("color-scheme");

// The portal wraps its values in variants, Read even twice.
QVariant unwrap(QVariant v) {
    while (v.userType() == qMetaTypeId<QDBusVariant>())
        v = v.value<QDBusVariant>().variant();
    return v;
}

// Switches between the desktop's own look and the dark one, remembering the own look once.
class Follower : public QObject {
    Q_OBJECT
public:
    explicit Follower(QApplication& app)
        : QObject(&app), ownStyle_(FrameStyle::baseName(app.style())), ownPalette_(app.palette()) {}

    void apply(Scheme s) {
        const bool dark = s == Scheme::Dark;
        if (dark == dark_)
            return;
        dark_ = dark;
        if (dark) {
            QApplication::setStyle(new FrameStyle(QStringLiteral("Fusion")));
            QApplication::setPalette(darkPalette());
        } else {
            QApplication::setStyle(new FrameStyle(ownStyle_));
            QApplication::setPalette(ownPalette_);
        }
    }

public slots:
    // SettingChanged(namespace, key, value)
    void settingChanged(const QDBusMessage& m) {
        const QList<QVariant> args = m.arguments();
        if (args.size() == 3 && args.at(0).toString() == Namespace && args.at(1).toString() == Key)
            apply(fromPortalValue(unwrap(args.at(2)).toUInt()));
    }

private:
    QString ownStyle_;
    QPalette ownPalette_;
    bool dark_ = false;
};

} // namespace

void follow(QApplication& app) {
    if (colors::isDark(app.palette().color(QPalette::Window)))
        return;
    // Without a session bus to hand, asking for one could start a bus daemon: not worth it here.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") &&
        (runtime.isEmpty() || !QFileInfo::exists(runtime + QStringLiteral("/bus"))))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto* follower = new Follower(app);
    bus.connect(PortalService, PortalPath, SettingsInterface, QStringLiteral("SettingChanged"), follower,
                SLOT(settingChanged(QDBusMessage)));
    QDBusMessage read = QDBusMessage::createMethodCall(PortalService, PortalPath, SettingsInterface,
                                                       QStringLiteral("Read"));
    read << Namespace << Key;
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read, 2000), follower);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, follower, [follower](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QVariant> reply = *w;
        if (reply.isError())
            return;
        follower->apply(fromPortalValue(unwrap(reply.value()).toUInt()));
    });
}

#else

void follow(QApplication&) {}

#endif

} // namespace desktoptheme

#ifdef PINWRIGHT_HAVE_DBUS
#include "DesktopTheme.moc"
#endif
