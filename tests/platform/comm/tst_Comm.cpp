// The terminal control over a real pseudo-terminal pair: the test plays the board on the far end.
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <termios.h>

#include "platform/ScriptedPrompts.h"
#include "platform/comm/Comm.h"
#include "platform/comm/CommPort.h"
#include "platform/comm/PlotView.h"
#include "platform/comm/TerminalView.h"
#include "support/PtyPair.h"

namespace {

// The board's end of the pair, collecting what the terminal sends.
struct Board {
    QSerialPort port;
    QByteArray got;
    explicit Board(const QString& path) {
        port.setPortName(path);
        QObject::connect(&port, &QSerialPort::readyRead, &port, [this] { got += port.readAll(); });
    }
    bool open() { return port.open(QIODevice::ReadWrite); }
    void write(const QByteArray& bytes) {
        port.write(bytes);
        port.flush();
    }
};

// The line settings of an open port: speed, data bits and stop bits as the terminal driver holds
// them; the parity as handed to it (a pseudo-terminal's driver keeps no parity of its own).
QString lineSettings(QSerialPort& port) {
    termios t{};
    if (tcgetattr(int(port.handle()), &t) != 0)
        return QStringLiteral("tcgetattr failed");
    const speed_t speed = cfgetospeed(&t);
    const int baud = speed == B300      ? 300
                     : speed == B9600   ? 9600
                     : speed == B57600  ? 57600
                     : speed == B115200 ? 115200
                                        : -1;
    const char parity = port.parity() == QSerialPort::NoParity    ? 'N'
                        : port.parity() == QSerialPort::OddParity ? 'O'
                                                                  : 'E';
    const int bits = (t.c_cflag & CSIZE) == CS7 ? 7 : (t.c_cflag & CSIZE) == CS8 ? 8 : 0;
    return QStringLiteral("%1,%2,%3,%4")
        .arg(baud)
        .arg(QLatin1Char(parity))
        .arg(bits)
        .arg(t.c_cflag & CSTOPB ? 2 : 1);
}

} // namespace

class tst_Comm : public QObject {
    Q_OBJECT
private:
    // An open terminal on the IDE end of a fresh pair, and the board on the other.
    struct Rig {
        PtyPair pair;
        ScriptedPrompts prompts;
        Comm comm;
        std::unique_ptr<Board> board;
        // "" when the terminal and the board are connected, otherwise what went wrong.
        QString up(const QString& settings = QStringLiteral("9600,N,8,1")) {
            if (!pair.start())
                return QStringLiteral("socat did not start");
            comm.setPrompts(&prompts);
            comm.resize(800, 600);
            comm.show();
            if (AppError e = comm.setSettings(settings))
                return e.description;
            comm.setPortName(pair.idePath());
            if (AppError e = comm.setPortOpen(true))
                return e.description;
            board = std::make_unique<Board>(pair.boardPath());
            return board->open() ? QString() : board->port.errorString();
        }
        // Sends from the board and waits until the terminal has taken the bytes in.
        bool send(const QByteArray& bytes, int timeout = 10000) {
            const qint64 total = comm.receivedBytes() + bytes.size();
            board->write(bytes);
            const bool arrived = QTest::qWaitFor([&] { return comm.receivedBytes() >= total; }, timeout);
            comm.flush();
            return arrived;
        }
    };

private slots:
    void initTestCase() {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
    }

    void typedBytesArriveWithTheChosenSettings_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("enter");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("9600,N,8,1 with CR") << "9600,N,8,1" << 0 << QByteArray("hi\r");
        QTest::newRow("115200,O,8,2 with CR LF") << "115200,O,8,2" << 2 << QByteArray("hi\r\n");
        QTest::newRow("300,O,8,1 with LF") << "300,O,8,1" << 1 << QByteArray("hi\n");
    }
    void typedBytesArriveWithTheChosenSettings() {
        QFETCH(QString, settings);
        QFETCH(int, enter);
        QFETCH(QByteArray, expected);
        Rig r;
        QCOMPARE(r.up(settings), QString());
        QCOMPARE(lineSettings(r.comm.port().serialPort()), settings);
        r.comm.setEnterSends(terminalkeys::Enter(enter));
        r.comm.textView().setFocus();
        QTest::keyClicks(&r.comm.textView(), QStringLiteral("hi"));
        QTest::keyClick(&r.comm.textView(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(r.board->got, expected, 10000);
        // Typing never writes into the view itself while echo is off.
        r.comm.flush();
        QCOMPARE(r.comm.textView().text(), QString());
    }

    void settingsChangeOnAnOpenPort() {
        Rig r;
        QCOMPARE(r.up(), QString());
        QVERIFY(!r.comm.setSettings(QStringLiteral("57600,O,8,2")));
        QCOMPARE(lineSettings(r.comm.port().serialPort()), QStringLiteral("57600,O,8,2"));
        const AppError bad = r.comm.setSettings(QStringLiteral("57600,Q,8,1"));
        QCOMPARE(bad.number, 380);
        QCOMPARE(r.comm.settings(), QStringLiteral("57600,O,8,2"));
        QVERIFY(r.comm.portOpen());
        // A device that refuses a setting (a pseudo-terminal takes neither 7 data bits nor even
        // parity) says so by name.
        const AppError refused = r.comm.setSettings(QStringLiteral("9600,N,7,1"));
        QCOMPARE(refused.number, 8015);
        QVERIFY2(refused.description.contains(r.pair.idePath()) &&
                     refused.description.contains(QStringLiteral("9600,N,7,1")),
                 qPrintable(refused.description));
    }

    void receivedTextAppearsWithBreaksStampsAndHex() {
        Rig r;
        QCOMPARE(r.up(), QString());
        r.comm.setTimeStamps(true);
        r.comm.setHexShown(true);
        const QByteArray sent("Hello\r\nboard\n\0\x07\xff", 16);
        QVERIFY(r.send(sent.first(4)));
        QVERIFY(r.send(sent.mid(4)));
        const QStringList lines = r.comm.textView().text().split(u'\n');
        QCOMPARE(lines.size(), 3);
        const QStringList bodies{QStringLiteral("Hello"), QStringLiteral("board"),
                                 QStringLiteral("<NUL><BEL><xFF>")};
        for (int i = 0; i < 3; ++i) {
            // "[HH:mm:ss.zzz] " before each line, once, even when the line came in two pieces.
            QVERIFY2(QRegularExpression(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\] "))
                         .match(lines[i])
                         .hasMatch(),
                     qPrintable(lines[i]));
            QCOMPARE(lines[i].mid(15), bodies[i]);
        }
        QCOMPARE(
            r.comm.hexView().text(),
            QStringLiteral("00000000  48 65 6C 6C 6F 0D 0A 62  6F 61 72 64 0A 00 07 FF  Hello..board....\n"));
    }

    void farEndClosingAndComingBack() {
        Rig r;
        QCOMPARE(r.up(), QString());
        QSignalSpy lost(&r.comm, &Comm::portLost);
        r.board.reset();
        r.pair.stop();
        QVERIFY(lost.wait(20000) || lost.size() == 1);
        QVERIFY(lost.first().first().toString().contains(r.pair.idePath()));
        QVERIFY(!r.comm.portOpen());
        r.comm.flush();
        QVERIFY(r.comm.textView().text().contains(QStringLiteral("was lost")));
        QVERIFY(r.comm.statusText().startsWith(QStringLiteral("Port closed")));
        // The board is plugged in again: opening the same port works.
        QVERIFY(r.pair.start());
        QVERIFY(!r.comm.setPortOpen(true));
        Board again(r.pair.boardPath());
        QVERIFY(again.open());
        again.write("back\n");
        QTRY_VERIFY_WITH_TIMEOUT(
            (r.comm.flush(), r.comm.textView().text().endsWith(QStringLiteral("back\n"))), 10000);
    }

    void echoSendBoxAndHistory() {
        Rig r;
        QCOMPARE(r.up(), QString());
        r.comm.setLocalEcho(true);
        r.comm.setEnterSends(terminalkeys::Enter::CRLF);
        QLineEdit& box = r.comm.sendBox();
        for (const QString& line : {QStringLiteral("AT"), QStringLiteral("LED 1")}) {
            box.setText(line);
            QTest::keyClick(&box, Qt::Key_Return);
        }
        QTRY_COMPARE_WITH_TIMEOUT(r.board->got, QByteArray("AT\r\nLED 1\r\n"), 10000);
        r.comm.flush();
        QCOMPARE(r.comm.textView().text(), QStringLiteral("AT\nLED 1\n"));
        QTest::keyClick(&box, Qt::Key_Up); // the history is at hand
        QTest::keyClick(&box, Qt::Key_Up);
        QCOMPARE(box.text(), QStringLiteral("AT"));
        // With the port closed nothing is sent and the terminal says why.
        r.comm.setPortOpen(false);
        box.setText(QStringLiteral("lost"));
        QTest::keyClick(&box, Qt::Key_Return);
        r.comm.flush();
        QVERIFY(r.comm.textView().text().contains(QStringLiteral("port is closed")));
        QCOMPARE(box.text(), QStringLiteral("lost"));
    }

    void plotDrawsTheNumbersOfEachLine() {
        Rig r;
        QCOMPARE(r.up(), QString());
        r.comm.setPlotShown(true);
        QByteArray lines;
        for (int i = 0; i < 40; ++i)
            lines += QByteArray::number(500 + i) + ",37" + (i % 10 == 0 ? "\r\nstatus OK\r\n" : "\r\n");
        QVERIFY(r.send(lines));
        PlotView& plot = r.comm.plotView();
        QCOMPARE(plot.shownSeries(), 2);
        QCOMPARE(plot.points(0).size(), 40);
        QCOMPARE(plot.points(0).at(39), QPointF(39, 539));
        QCOMPARE(plot.points(1).at(0), QPointF(0, 37));
        QVERIFY(r.send("600,40\n")); // the plot follows what comes next
        QCOMPARE(plot.points(0).at(40), QPointF(40, 600));
        // Paused, the plot stands still while the data goes on; resumed, it catches up.
        r.comm.setPlotPaused(true);
        QVERIFY(r.send("1,2\n"));
        QCOMPARE(plot.points(0).size(), 41);
        r.comm.setPlotPaused(false);
        r.comm.flush();
        QCOMPARE(plot.points(0).size(), 42);
        r.comm.clearPlot();
        QCOMPARE(plot.shownSeries(), 0);
        QCOMPARE(r.comm.plotData().samples(), qint64(0));
    }

    void floodStaysBounded_data() {
        QTest::addColumn<QByteArray>("unit");
        QTest::newRow("short lines") << QByteArray("ADC=512,T=37\r\n");
        QTest::newRow("binary without line ends") << QByteArray("\x01\x80\0\xfe\x7f", 5);
    }
    void floodStaysBounded() {
        QFETCH(QByteArray, unit);
        Rig r;
        QCOMPARE(r.up(QStringLiteral("115200,N,8,1")), QString());
        r.comm.setHexShown(true);
        r.comm.setPlotShown(true);
        const QByteArray flood = unit.repeated((1 << 20) / unit.size());
        QVERIFY(r.send(flood, 60000));
        const QTextDocument* doc = r.comm.textView().document();
        QVERIFY(doc->blockCount() <= Comm::ScrollBackLines);
        QVERIFY(r.comm.hexView().document()->blockCount() <= Comm::HexRows);
        for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
            QVERIFY(b.length() <= Comm::MaxLineLength * 5 + 1); // at most "<xFF>" for each byte
        QVERIFY(r.comm.plotData().seriesCount() == 0 ||
                r.comm.plotData().points(0).size() <= Comm::PlotWindow);
        // The newest data is what the views end with: the last row starts at the last byte's row.
        const QString offset =
            QStringLiteral("%1").arg((flood.size() - 1) / 16 * 16, 8, 16, QLatin1Char('0'));
        const QString hex = r.comm.hexView().text().trimmed();
        QVERIFY2(hex.section(u'\n', -1).startsWith(offset.toUpper()), qPrintable(hex.right(200)));
    }

    void logWritesExactlyWhatArrived() {
        Rig r;
        QCOMPARE(r.up(), QString());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("board.log"));
        QVERIFY(!r.comm.startLog(path));
        const QByteArray sent("line 1\r\n\0\xff tail", 15);
        QVERIFY(r.send(sent.first(5)) && r.send(sent.mid(5))); // two batches, both kept
        r.comm.stopLog();
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), sent);
        // A file that cannot be written is refused with its name.
        const AppError e = r.comm.startLog(dir.filePath(QStringLiteral("no/such/folder/x.log")));
        QCOMPARE(e.number, 75);
        QVERIFY(e.description.contains(QStringLiteral("x.log")));
        QVERIFY(!r.comm.logging());
    }
};

QTEST_MAIN(tst_Comm)
#include "tst_Comm.moc"
