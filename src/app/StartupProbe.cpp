#include "app/StartupProbe.h"

#include "language/DeviceDatabase.h"
#include "platform/AppPaths.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMessageBox>
#include <QWidget>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

qint64 cpuMs() {
#ifdef Q_OS_UNIX
    rusage use{};
    if (getrusage(RUSAGE_SELF, &use) != 0)
        return -1;
    const auto ms = [](const timeval& t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
    return ms(use.ru_utime) + ms(use.ru_stime);
#else
    return -1;
#endif
}

// The bytes the program holds on its heap now (in use, not what the allocator keeps for later);
// -1 where the C library does not tell.
qint64 heapKb() {
#ifdef __GLIBC__
    const struct mallinfo2 m = mallinfo2();
    return qint64((m.uordblks + m.hblkhd) / 1024);
#else
    return -1;
#endif
}

// VmHWM rather than the resource usage's maximum: the same figure another process reads from outside.
qint64 peakKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong();
    return -1;
}

// A text as one double-quoted field of a line.
QByteArray quoted(const QString& text) {
    QString t = text;
    t.replace(u'\\', QStringLiteral("\\\\"))
        .replace(u'"', QStringLiteral("\\\""))
        .replace(u'\n', QStringLiteral("\\n"));
    return '"' + t.toUtf8() + '"';
}

} // namespace

StartupProbe* StartupProbe::install(QWidget* frame, const QElapsedTimer& sinceStart) {
    if (qEnvironmentVariableIsEmpty("PINWRIGHT_STARTUP_PROBE"))
        return nullptr;
    return new StartupProbe(frame, sinceStart);
}

StartupProbe::StartupProbe(QWidget* frame, const QElapsedTimer& sinceStart)
    : QObject(frame), frame_(frame), clock_(sinceStart), stay_(qgetenv("PINWRIGHT_STARTUP_PROBE") == "view") {
    frame_->installEventFilter(this);
    // Idle: the event loop is about to wait, with nothing posted and no timer due.
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &StartupProbe::onIdle);
}

bool StartupProbe::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_) {
        if (event->type() == QEvent::Show && shownMs_ < 0) {
            shownMs_ = clock_.elapsed();
            shownCpuMs_ = cpuMs();
        } else if (event->type() == QEvent::Paint)
            painted_ = true;
    }
    return QObject::eventFilter(watched, event);
}

void StartupProbe::onIdle() {
    if (!painted_)
        return;
    disconnect(QAbstractEventDispatcher::instance(), nullptr, this, nullptr);
    std::fprintf(stderr,
                 "pinwright-probe shown_ms=%lld ready_ms=%lld shown_cpu_ms=%lld cpu_ms=%lld peak_kb=%lld heap_kb=%lld\n",
                 shownMs_, clock_.elapsed(), shownCpuMs_, cpuMs(), peakKb(), heapKb());
    if (stay_)
        reportView();
    std::fflush(stderr);
    if (!stay_)
        QCoreApplication::exit(0);
}

void StartupProbe::reportView() const {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible())
            continue;
        if (const auto* box = qobject_cast<QMessageBox*>(w))
            std::fprintf(stderr, "pinwright-view box %s %s\n", quoted(box->windowTitle()).constData(),
                         quoted(box->text()).constData());
        else
            std::fprintf(stderr, "pinwright-view window %s\n", quoted(w->windowTitle()).constData());
    }
    for (const QComboBox* combo : frame_->findChildren<QComboBox*>())
        if (combo->objectName().startsWith(QLatin1String("ID_")))
            std::fprintf(stderr, "pinwright-view combo %s %d %d %s\n", qPrintable(combo->objectName()),
                         combo->currentIndex(), combo->count(), quoted(combo->currentText()).constData());
    std::fprintf(stderr, "pinwright-view data %s\n",
                 quoted(AppPaths::fromApplication().dataFile(DeviceDatabase::FileName)).constData());
}
