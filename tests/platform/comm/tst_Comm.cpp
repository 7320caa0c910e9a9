// The terminal control over a real pseudo-terminal pair: the test plays the board on the far end.
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <map>
#include <termios.h>

#include "platform/comm/Comm.h"
#include "platform/comm/CommPort.h"
#include "platform/comm/PlotView.h"
#include "platform/comm/TerminalText.h"
#include "platform/comm/TerminalView.h"
#include "support/PtyPair.h"
#include "support/TestSupport.h"

namespace {

// The line settings of an open port: speed, data bits and stop bits as the terminal driver holds
// them; the parity as handed to it (a pseudo-terminal's driver keeps no parity of its own).
QString lineSettings(QSerialPort& port) {
    termios t{};
    if (tcgetattr(int(port.handle()), &t) != 0)
        return QStringLiteral("tcgetattr failed");
    const std::map<speed_t, int> bauds{{B300, 300}, {B9600, 9600}, {B57600, 57600}, {B115200, 115200}};
    const auto baud = bauds.find(cfgetospeed(&t));
    const QSerialPort::Parity p = port.parity();
    const QChar parity = p == QSerialPort::NoParity ? u'N' : p == QSerialPort::OddParity ? u'O' : u'E';
    const int bits = (t.c_cflag & CSIZE) == CS7 ? 7 : (t.c_cflag & CSIZE) == CS8 ? 8 : 0;
    return QStringLiteral("%1,%2,%3,").arg(baud == bauds.end() ? -1 : baud->second).arg(parity).arg(bits) +
           (t.c_cflag & CSTOPB ? u'2' : u'1');
}

// An open terminal on the IDE end of a fresh pair, and the board on the other.
struct Rig {
    PtyPair pair;
    Comm comm;
    std::unique_ptr<QSerialPort> board;
    QByteArray got; // what the board received

    // "" when the terminal and the board are connected, otherwise what went wrong.
    QString up(const QString& settings = QStringLiteral("9600,N,8,1")) {
        if (!pair.start())
            return QStringLiteral("socat did not start");
        comm.show();
        if (AppError e = comm.setSettings(settings))
            return e.description;
        comm.setPortName(pair.idePath());
        if (AppError e = comm.setPortOpen(true))
            return e.description;
        return plugBoard();
    }
    QString plugBoard() {
        board = std::make_unique<QSerialPort>(pair.boardPath());
        QObject::connect(board.get(), &QSerialPort::readyRead, board.get(),
                         [this] { got += board->readAll(); });
        return board->open(QIODevice::ReadWrite) ? QString() : board->errorString();
    }
    // Sends from the board and waits until the terminal has taken the bytes in.
    bool send(const QByteArray& bytes, int timeout = 10000) {
        const qint64 total = comm.receivedBytes() + bytes.size();
        board->write(bytes);
        board->flush();
        const bool arrived = QTest::qWaitFor([&] { return comm.receivedBytes() >= total; }, timeout);
        comm.flush();
        return arrived;
    }
    QString text() {
        comm.flush();
        return comm.textView().text();
    }
};

} // namespace

class tst_Comm : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
    }

    void typedBytesArriveWithTheChosenSettings() {
        using terminalkeys::Enter;
        for (const auto& [settings, enter, expected] : {std::tuple{"9600,N,8,1", Enter::CR, "hi\r"},
                                                        {"115200,O,8,2", Enter::CRLF, "hi\r\n"},
                                                        {"300,O,8,1", Enter::LF, "hi\n"}}) {
            Rig r;
            QCOMPARE(r.up(QString::fromLatin1(settings)), QString());
            QCOMPARE(lineSettings(r.comm.port().serialPort()), QString::fromLatin1(settings));
            r.comm.setEnterSends(enter);
            r.comm.textView().setFocus();
            QTest::keyClicks(&r.comm.textView(), QStringLiteral("hi"));
            QTest::keyClick(&r.comm.textView(), Qt::Key_Return);
            QTRY_COMPARE_WITH_TIMEOUT(r.got, QByteArray(expected), 10000);
            QCOMPARE(r.text(), QString()); // no echo unless asked for
        }
    }

    // What arrives shows as text with breaks and stamps, as hex and as a plot, and goes to the log as is.
    void receivedBytesReachEveryViewAndTheLog() {
        Rig r;
        QCOMPARE(r.up(), QString());
        r.comm.setTimeStamps(true);
        r.comm.setHexShown(true);
        r.comm.setPlotShown(true);
        QTemporaryDir dir;
        const AppError refused = r.comm.startLog(QStringLiteral("/no/such/folder/x.log"));
        QVERIFY(refused.number == 75 && refused.description.contains(QStringLiteral("x.log")) &&
                !r.comm.logging());
        const QString log = dir.filePath(QStringLiteral("board.log"));
        QVERIFY(!r.comm.startLog(log));
        const QByteArray sent("Hello\r\nboard\n\0\x07\xff", 16);
        QVERIFY(r.send(sent.first(4)) && r.send(sent.mid(4)));
        r.comm.stopLog();
        QCOMPARE(testsupport::readFile(log), sent);
        // "[HH:mm:ss.zzz] " before each line, once, even when the line came in two pieces.
        const QString stamp = QStringLiteral("\\[\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d\\] ");
        const QRegularExpression shown(QStringLiteral("^%1Hello\n%1board\n%1<NUL><BEL><xFF>$").arg(stamp));
        QVERIFY2(shown.match(r.text()).hasMatch(), qPrintable(r.text()));
        QCOMPARE(
            r.comm.hexView().text(),
            QStringLiteral("00000000  48 65 6C 6C 6F 0D 0A 62  6F 61 72 64 0A 00 07 FF  Hello..board....\n"));

        // The plot takes the numbers of each line; lines without numbers are no samples.
        QByteArray lines("\n");
        for (int i = 0; i < 40; ++i)
            lines += QByteArray::number(500 + i) + ",37" + (i % 10 == 0 ? "\r\nstatus OK\r\n" : "\r\n");
        QVERIFY(r.send(lines));
        PlotView& plot = r.comm.plotView();
        QCOMPARE(plot.points(0).size(), 40);
        // Paused, the plot stands still while the data goes on; resumed, it catches up.
        r.comm.setPlotPaused(true);
        QVERIFY(r.send("1,2\n"));
        QCOMPARE(plot.points(0).size(), 40);
        r.comm.setPlotPaused(false);
        r.comm.flush();
        QCOMPARE(plot.points(0).at(40), QPointF(40, 1));
        r.comm.clearPlot();
        QCOMPARE(plot.shownSeries(), 0);
        QCOMPARE(r.comm.plotData().samples(), qint64(0));
    }

    // The hex view switched on after data has arrived counts on from the bytes already received; off and
    // on again, it goes on from where the stream then stands.
    void hexViewSwitchedOnLate() {
        Rig r;
        QCOMPARE(r.up(), QString());
        QVERIFY(r.send("0123456789abcdefghi"));
        r.comm.setHexShown(true);
        QVERIFY(r.send("AB"));
        QCOMPARE(r.comm.hexView().text(),
                 QStringLiteral("00000013  41 42").leftJustified(60) + QStringLiteral("AB"));
        r.comm.setHexShown(false);
        QVERIFY(r.send(QByteArray(16, 'x')));
        r.comm.setHexShown(true);
        QVERIFY(r.send("C"));
        QCOMPARE(r.comm.hexView().text(),
                 QStringLiteral("00000025  43").leftJustified(60) + QStringLiteral("C"));
    }

    // Echo, the send box and its history; then the board unplugged and plugged in again.
    void sendBoxAndALostPort() {
        Rig r;
        QCOMPARE(r.up(), QString());
        r.comm.setLocalEcho(true);
        r.comm.setEnterSends(terminalkeys::Enter::CRLF);
        QLineEdit& box = r.comm.sendBox();
        // The board's open line is broken by what the user sends, and goes on below it.
        QVERIFY(r.send("Hel"));
        for (const QString& line : {QStringLiteral("AT"), QStringLiteral("LED 1")}) {
            box.setText(line);
            QTest::keyClick(&box, Qt::Key_Return);
        }
        QTRY_COMPARE_WITH_TIMEOUT(r.got, QByteArray("AT\r\nLED 1\r\n"), 10000);
        QVERIFY(r.send("lo\r\n"));
        r.comm.setTimeStamps(true);
        r.comm.sendLine(QStringLiteral("go"));
        QVERIFY(r.send("ok\n"));
        const QString stamp = QStringLiteral("\\[\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d");
        const QRegularExpression shown(QStringLiteral("^Hel\nAT\nLED 1\nlo\n%1 sent\\] go\n%1\\] ok\n$").arg(stamp));
        QVERIFY2(shown.match(r.text()).hasMatch(), qPrintable(r.text()));
        // Sent lines in the link colour, which the dark palette keeps light; received ones in the text's.
        const auto sentLines = [&r] {
            QStringList lines;
            for (QTextBlock b = r.comm.textView().document()->begin(); b.isValid(); b = b.next())
                if (b.begin().fragment().charFormat().foreground().color() ==
                    r.comm.textView().palette().color(QPalette::Link))
                    lines << b.text().remove(QRegularExpression(QStringLiteral("^\\[.*\\] ")));
            return lines;
        };
        QCOMPARE(sentLines(), (QStringList{"AT", "LED 1", "go"}));
        QPalette dark = r.comm.textView().palette();
        dark.setColor(QPalette::Link, QColor(110, 160, 255));
        r.comm.textView().setPalette(dark);
        QCOMPARE(sentLines(), (QStringList{"AT", "LED 1", "go"}));
        QTest::keyClick(&box, Qt::Key_Up);
        QCOMPARE(box.text(), QStringLiteral("go"));
        r.comm.setTimeStamps(false);

        r.board.reset();
        r.pair.stop();
        QTRY_VERIFY_WITH_TIMEOUT(!r.comm.portOpen(), 20000);
        QVERIFY2(r.text().contains(r.pair.idePath() +
                                   QStringLiteral(" was lost (the device was removed or closed by the other end)")),
                 qPrintable(r.text()));
        QVERIFY(r.comm.statusText().startsWith(QStringLiteral("Port closed")));
        // Nothing is sent while the port is closed, typed or from the box; the terminal says why, once
        // for a run of refusals, in the same words; the box keeps its line.
        r.comm.textView().setFocus();
        QTest::keyClicks(&r.comm.textView(), QStringLiteral("xy"));
        QCOMPARE(r.text().count(terminaltext::notSent()), 1);
        box.setText(QStringLiteral("lost"));
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(r.text().count(terminaltext::notSent()), 1);
        QCOMPARE(box.text(), QStringLiteral("lost"));

        QVERIFY(r.pair.start());
        QVERIFY(!r.comm.setPortOpen(true));
        QCOMPARE(r.plugBoard(), QString());
        QVERIFY(r.send("back\n"));
        QVERIFY(r.text().endsWith(QStringLiteral("back\n")));
    }

    // Short lines, and binary without line ends.
    void floodStaysBounded() {
        for (const QByteArray& unit : {QByteArray("ADC=512,T=37\r\n"), QByteArray("\x01\x80\0\xfe\x7f", 5)}) {
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
    }
};

QTEST_MAIN(tst_Comm)
#include "tst_Comm.moc"
