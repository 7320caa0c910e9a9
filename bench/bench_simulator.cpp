// Measures the simulated board behind the Debug window: how soon a key typed in the terminal comes
// back from the PIC into the text view (terminal → gpsim → PIC → gpsim → text view), how soon a byte
// gpsim reports shows in the text view, and the CPU time (gpsim's and ours) per simulated second in
// real time, plus the speed flat out. The program is the USART echo program of the tests, at 4 MHz.
#include "toolchain/Simulation.h"
#include "platform/comm/Comm.h"
#include "platform/comm/TerminalView.h"
#include "support/PicPrograms.h"
#include "EventWait.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

// CPU seconds of a process (user + system), from /proc.
double processCpu(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray stat = f.readAll();
    // The fields after the command name in parentheses: state is field 3, utime 14, stime 15.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / ticks;
}

double ownCpu() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Lets the event loop run for `ms` without spinning (the CPU figures count only real work).
void idle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(QList<double> v) {
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString hex = dir.filePath(QStringLiteral("hello.hex"));
    if (const QString e = picprograms::assemble(picprograms::usartHello(), hex); !e.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(e));
        return 1;
    }
    simscript::Setup setup;
    setup.processor = QStringLiteral("p16f877a");
    setup.hexPath = hex;

    // Real time, through the terminal control as the Debug window uses it.
    Simulation sim;
    Comm comm;
    comm.resize(700, 400);
    comm.show();
    if (AppError e = sim.start(setup, QStringLiteral("hello.hex"), true)) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description));
        return 1;
    }
    comm.setPortLink(&sim);
    comm.setPortOpen(true);
    if (!waitFor([&] { return comm.textView().text().contains(QStringLiteral("HELLO 1")); }, 10000, 1)) {
        std::fprintf(stderr, "no HELLO from the simulated PIC\n");
        return 1;
    }

    // A byte from gpsim until the text view shows it.
    QList<double> shown;
    QElapsedTimer clock;
    clock.start();
    qint64 arrived = -1;
    QObject::connect(&sim, &SerialLink::linkReceived, &sim, [&](const QByteArray& b) {
        if (b.contains('\n'))
            arrived = clock.nsecsElapsed();
    });
    for (int i = 0; i < 10; ++i) {
        arrived = -1;
        const qsizetype lines = comm.textView().text().count(u'\n');
        waitFor([&] { return arrived >= 0 && comm.textView().text().count(u'\n') > lines; }, 5000, 1);
        if (arrived >= 0)
            shown << double(clock.nsecsElapsed() - arrived) / 1e6;
    }

    // A key sent until its echo shows.
    QList<double> roundTrips;
    for (int i = 0; i < 20; ++i) {
        const QChar key = QChar(u'a' + i);
        const qint64 t0 = clock.nsecsElapsed();
        comm.send(QByteArray(1, char(key.unicode())));
        if (waitFor([&] { return comm.textView().text().contains(key); }, 5000, 1))
            roundTrips << double(clock.nsecsElapsed() - t0) / 1e6;
        idle(37); // keys a user types, not a burst
    }

    // CPU per simulated second over five seconds of real time.
    const qint64 pid = sim.processId();
    const double gpsim0 = processCpu(pid);
    const double own0 = ownCpu();
    const qint64 cycles0 = sim.cycles();
    idle(5000);
    const double simulated = double(sim.cycles() - cycles0) / 1e6;
    const double gpsimCpu = processCpu(pid) - gpsim0;
    const double ownCpuUsed = ownCpu() - own0;
    sim.stop();

    // Flat out, without the terminal.
    Simulation fast;
    qint64 got = 0;
    QObject::connect(&fast, &SerialLink::linkReceived, &fast, [&](const QByteArray& b) { got += b.size(); });
    fast.start(setup, QStringLiteral("hello.hex"), false);
    idle(3000);
    const double fastSimulated = double(fast.cycles()) / 1e6;
    fast.stop();

    std::printf("gpsim output to text view: median %.1f ms, worst %.1f ms (%lld lines)\n", median(shown),
                shown.isEmpty() ? 0.0 : *std::max_element(shown.begin(), shown.end()), qlonglong(shown.size()));
    std::printf("key to echo in text view (terminal -> PIC -> text view): median %.1f ms, worst %.1f ms (%lld keys)\n",
                median(roundTrips),
                roundTrips.isEmpty() ? 0.0 : *std::max_element(roundTrips.begin(), roundTrips.end()),
                qlonglong(roundTrips.size()));
    std::printf("real time: %.2f simulated s in 5 s; CPU per simulated second: gpsim %.0f ms, IDE %.0f ms\n",
                simulated, gpsimCpu * 1000 / simulated, ownCpuUsed * 1000 / simulated);
    std::printf("flat out: %.1f simulated s in 3 s (%.1fx real time, %lld bytes received)\n", fastSimulated,
                fastSimulated / 3, qlonglong(got));
    return 0;
}
