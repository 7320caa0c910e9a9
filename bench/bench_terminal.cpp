// Measures the serial terminal control against a board that floods it over a real pseudo-terminal
// pair (socat): how soon the last byte shows, the longest stall of the user-interface thread, memory
// after 10 MB, and the plot's repaint time at 4 series and 1,000 lines per second.
#include "platform/comm/Comm.h"
#include "platform/comm/CommPort.h"
#include "platform/comm/PlotView.h"
#include "platform/comm/TerminalView.h"
#include "EventWait.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

double residentMB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// The longest gap between ticks of a 5 ms timer on the user-interface thread.
struct StallMeter {
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 worst = 0;
    StallMeter() {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, &timer, [this] {
            const qint64 now = clock.nsecsElapsed();
            worst = std::max(worst, now - last);
            last = now;
        });
    }
    void start() {
        worst = 0;
        clock.start();
        last = 0;
        timer.start();
    }
    double stop() {
        timer.stop();
        return worst / 1e6;
    }
};

// Writes bytes to the board's end as fast as the pseudo-terminal takes them, in another thread;
// `finished` is the time of the last byte in ns of `clock`.
void flood(const QString& board, QByteArray bytes, const QElapsedTimer& clock, std::atomic<qint64>& finished) {
    const int fd = ::open(QFile::encodeName(board).constData(), O_WRONLY | O_NOCTTY);
    qint64 done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(std::min<qint64>(bytes.size() - done, 4096)));
        if (n <= 0)
            break;
        done += n;
    }
    finished = clock.nsecsElapsed();
    if (fd >= 0)
        ::close(fd);
}

QByteArray lines(qint64 size) {
    QByteArray out;
    out.reserve(size + 64);
    for (int i = 0; out.size() < size; ++i)
        out += "ADC=" + QByteArray::number(i % 1024) + ", T=" + QByteArray::number(20 + i % 15) + " status OK\r\n";
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    QTemporaryDir dir;
    const QString ide = dir.filePath(QStringLiteral("ide-bench"));
    const QString board = dir.filePath(QStringLiteral("board-bench"));
    QProcess socat;
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + board,
                                          QStringLiteral("pty,raw,echo=0,link=") + ide});
    if (!socat.waitForStarted() || !waitFor([&] { return QFileInfo::exists(ide) && QFileInfo::exists(board); }, 10000)) {
        std::fprintf(stderr, "socat did not start\n");
        return 1;
    }

    Comm comm;
    comm.resize(1000, 700);
    comm.show();
    comm.setPortName(ide);
    if (AppError e = comm.setSettings(QStringLiteral("115200,N,8,1")); e || (e = comm.setPortOpen(true))) {
        std::fprintf(stderr, "%s\n", qPrintable(e.description));
        return 1;
    }
    // Keep the board's end open between floods, so the terminal never sees a hang-up.
    const int keep = ::open(QFile::encodeName(board).constData(), O_RDWR | O_NOCTTY);
    waitFor([] { return false; }, 300);
    const double idle = residentMB();

    auto run = [&](const char* title, const QByteArray& data) {
        const qint64 before = comm.receivedBytes();
        QElapsedTimer clock;
        clock.start();
        std::atomic<qint64> finished{-1};
        StallMeter stall;
        stall.start();
        std::thread writer(flood, board, data, std::cref(clock), std::ref(finished));
        const QString last = QString::fromLatin1(data.trimmed().split('\n').last().trimmed());
        const bool ok = waitFor(
            [&] {
                return comm.receivedBytes() - before >= data.size() && finished >= 0 &&
                       comm.textView().document()->lastBlock().previous().text().endsWith(last);
            },
            20000);
        if (!ok)
            std::printf("received %lld of %lld; last line [%s], wanted [%s]\n", comm.receivedBytes() - before,
                        qint64(data.size()),
                        qPrintable(comm.textView().document()->lastBlock().previous().text()), qPrintable(last));
        const qint64 shown = clock.nsecsElapsed();
        const double worst = stall.stop();
        writer.join();
        std::printf("%-34s %s  %7.1f MB/s  shown %6.1f ms after the last byte  longest stall %5.1f ms\n", title,
                    ok ? "ok " : "LATE", data.size() / 1e6 / (finished / 1e9), (shown - finished) / 1e6, worst);
    };

    run("1 MB of lines, text view", lines(1 << 20));
    comm.setHexShown(true);
    comm.setPlotShown(true);
    comm.setTimeStamps(true);
    run("1 MB of lines, all views", lines(1 << 20));
    for (int i = 0; i < 10; ++i)
        run(i == 0 ? "10 MB more, all views (per MB)" : "", lines(1 << 20));
    waitFor([] { return false; }, 300);
    std::printf("resident: idle %.1f MB, after 12 MB %.1f MB, %.1f MB above idle\n", idle, residentMB(),
                residentMB() - idle);

    // The plot at 4 series, 1,000 lines a second: each flush (every 30 ms) brings about 30 lines; the
    // window is full. Time a synchronous repaint of the chart after each.
    comm.clearPlot();
    comm.setHexShown(false);
    comm.setTimeStamps(false);
    const int fd = ::open(QFile::encodeName(board).constData(), O_WRONLY | O_NOCTTY);
    QElapsedTimer clock;
    clock.start();
    int sent = 0;
    double total = 0;
    double worst = 0;
    int repaints = 0;
    while (clock.elapsed() < 4000) {
        const int due = int(clock.elapsed());
        QByteArray batch;
        for (; sent < due; ++sent)
            batch += QByteArray::number(512 + sent % 100) + "," + QByteArray::number(sent % 37) + "," +
                     QByteArray::number(1000 - sent % 250) + "," + QByteArray::number((sent * 7) % 300) + "\n";
        if (!batch.isEmpty() && ::write(fd, batch.constData(), size_t(batch.size())) < 0)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (comm.plotData().samples() > 0 && clock.elapsed() > 1000) {
            comm.flush();
            QElapsedTimer r;
            r.start();
            comm.plotView().repaint();
            const double ms = r.nsecsElapsed() / 1e6;
            total += ms;
            worst = std::max(worst, ms);
            ++repaints;
            QThread::msleep(25);
        }
    }
    ::close(fd);
    std::printf("plot, 4 series at 1,000 lines/s, %d points per series: repaint mean %.2f ms, worst %.2f ms (%d repaints)\n",
                int(comm.plotData().points(0).size()), repaints ? total / repaints : 0.0, worst, repaints);

    ::close(keep);
    comm.setPortOpen(false);
    socat.terminate();
    socat.waitForFinished();
    return 0;
}
