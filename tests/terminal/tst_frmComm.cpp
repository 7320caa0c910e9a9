// The Debug window in a real frame: its settings band, the port choice, and a real pseudo-terminal
// pair with the test playing the board.
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QToolBar>

#include "platform/comm/Comm.h"
#include "platform/comm/CommPort.h"
#include "platform/comm/PlotView.h"
#include "platform/comm/TerminalView.h"
#include "support/FrameTest.h"
#include "support/PtyPair.h"
#include "terminal/frmComm.h"

namespace {

frmComm& openTerminal(MDIMain& m) {
    m.SSActiveToolBars1_ToolClick(ids::ID_Debug);
    return *m.terminalWindow();
}

void typePort(frmComm& w, const QString& name) {
    QComboBox* combo = w.toolBars().combo(ids::ID_ComPort);
    combo->lineEdit()->setText(name);
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCoreApplication::processEvents(); // lets the next Return count as a key press of its own
}

void pick(frmComm& w, const QString& id, int index) {
    w.toolBars().SetListIndex(id, index);
    w.SSActiveToolBars2_ComboCloseUp(id);
}

// The texts of the settings band, port first; a greyed tool's text in brackets.
QString band(frmComm& w) {
    QStringList shown;
    for (const QString& id : w.toolBars().ToolBarToolIds(ids::DebugSettings))
        shown << (w.toolBars().Enabled(id) ? w.toolBars().Text(id) : u'(' + w.toolBars().Text(id) + u')');
    return shown.join(u' ');
}

} // namespace

class tst_frmComm : public QObject {
    Q_OBJECT
private slots:
    // One window, which takes the focus and the document commands; its settings survive a restart.
    void oneWindowWhoseSettingsSurviveARestart() {
        FrameFixture f;
        {
            MDIMain& m = f.start();
            QVERIFY(m.toolBars().Enabled(ids::ID_Debug));
            frmComm& w = openTerminal(m);
            QCOMPARE(m.mdiArea().activeSubWindow(), &w);
            QVERIFY(!m.toolBars().Enabled(ids::ID_Save) && !m.toolBars().Enabled(ids::ID_Device));
            // The editor activated again gets its commands back; Debug again brings the same window.
            m.mdiArea().setActiveSubWindow(m.editors().first());
            QVERIFY(m.toolBars().Enabled(ids::ID_Save));
            QCOMPARE(&openTerminal(m), &w);
            QCOMPARE(m.mdiArea().subWindowList().size(), 2);
            QCOMPARE(m.mdiArea().activeSubWindow(), &w);
            QCOMPARE(band(w), QStringLiteral("NONE 9600 8 None 1"));
            QVERIFY(!w.comm().portOpen() && w.toolBars().ListIndex(ids::ID_ComPort) == -1);
            QCOMPARE(w.comm().settings(), QStringLiteral("9600,N,8,1"));
            // Baud rate 8 is the last of the list: it too must come back.
            for (const auto& [id, index] :
                 {std::pair{ids::ID_BaudRate, 8}, {ids::ID_Parity, 1}, {ids::ID_DataBits, 0}})
                w.toolBars().SetListIndex(id, index);
            w.comm().setTimeStamps(true);
            w.comm().setHexShown(true);
            w.comm().setEnterSends(terminalkeys::Enter::CRLF);
            w.close();
        }
        QCOMPARE(f.store().read(settings::debug::BaudRate), QStringLiteral("8"));
        frmComm& w = openTerminal(f.restart());
        // The port is never stored: the new window starts with none.
        QCOMPARE(band(w), QStringLiteral("NONE 115200 7 Odd 1"));
        QVERIFY(w.comm().timeStamps() && w.comm().hexShown() && !w.comm().plotShown());
        QCOMPARE(w.comm().enterSends(), terminalkeys::Enter::CRLF);
    }

    void talkingToTheBoard() {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        PtyPair pair;
        QVERIFY(pair.start());
        FrameFixture f;
        MDIMain& m = f.start();
        frmComm& w = openTerminal(m);
        Comm& comm = w.comm();
        // Each failure is reported once, as the port layer words it, leaves the port closed and takes the
        // busy pointer away again.
        const auto failure = [&](const QString& says) {
            const QStringList shown = f.prompts.messages();
            f.prompts.clearShown();
            const bool once = shown.size() == 1 && shown[0].startsWith(says);
            return once && !comm.portOpen() && !w.testAttribute(Qt::WA_SetCursor) ? QString()
                                                                                  : shown.join(u'\n');
        };
        pick(w, ids::ID_BaudRate, 2);
        QCOMPARE(failure(QStringLiteral("Invalid port number")), QString());
        typePort(w, QStringLiteral("/dev/ttyNOPE9"));
        QCOMPARE(failure(QStringLiteral("Port /dev/ttyNOPE9 does not exist")), QString());
        w.toolBars().SetListIndex(ids::ID_DataBits, 0);
        typePort(w, pair.idePath());
        QCOMPARE(failure("Port " + pair.idePath() + " does not take the settings 1200,N,7,1"), QString());
        w.toolBars().SetListIndex(ids::ID_DataBits, 1);
        {
            QSerialPort other(pair.idePath());
            QVERIFY(other.open(QIODevice::ReadWrite)); // another program has it
            typePort(w, pair.idePath());
            QCOMPARE(failure("Port " + pair.idePath() + " is in use by another program"), QString());
        }

        typePort(w, pair.idePath());
        QVERIFY2(comm.portOpen(), qPrintable(f.prompts.messages().join(u'\n')));
        QCOMPARE(comm.port().device(), pair.idePath());

        // A changed line setting reopens the port with it.
        pick(w, ids::ID_Parity, 1);
        QVERIFY(comm.portOpen());
        QCOMPARE(comm.settings(), QStringLiteral("1200,O,8,1"));
        QCOMPARE(comm.port().serialPort().parity(), QSerialPort::OddParity);
        // (A pseudo-terminal refuses odd parity at some speeds; the board is back to none.)
        pick(w, ids::ID_Parity, 2);
        pick(w, ids::ID_BaudRate, 8);
        QCOMPARE(comm.port().serialPort().baudRate(), 115200);

        // NONE greys the line settings and closes the port; the port again undoes both.
        pick(w, ids::ID_ComPort, 0);
        QVERIFY(!comm.portOpen());
        QCOMPARE(band(w), QStringLiteral("NONE (115200) (8) (None) (1)"));
        typePort(w, pair.idePath());
        QVERIFY2(comm.portOpen() && f.prompts.messages().isEmpty(),
                 qPrintable(f.prompts.messages().join(u'\n')));
        QCOMPARE(band(w), pair.idePath() + QStringLiteral(" 115200 8 None 1"));

        // Closing the window lets the port go.
        w.close();
        QTRY_VERIFY(!m.terminalWindow());
        QSerialPort again(pair.idePath());
        QVERIFY(again.open(QIODevice::ReadWrite));
    }

    // A view at its end stays there through whatever changes its size; one the user scrolled up stays
    // where it is until the user goes back to the end. The views switched on get a fair share.
    void viewsKeepTheirEnd_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("scrolledUp");
        for (const char* change : {"PlotView", "HexView", "splitter", "window"})
            QTest::newRow(change) << QString::fromLatin1(change) << false;
        QTest::newRow("window, scrolled up") << QStringLiteral("window") << true;
    }
    void viewsKeepTheirEnd() {
        QFETCH(QString, change);
        QFETCH(bool, scrolledUp);
        PtyPair pair;
        QVERIFY(pair.start());
        FrameFixture f;
        MDIMain& m = f.start();
        m.resize(1200, 800);
        frmComm& w = openTerminal(m);
        Comm& comm = w.comm();
        // Every view but the one the row switches on is there from the start.
        comm.setHexShown(change != QLatin1String("HexView"));
        comm.setPlotShown(change != QLatin1String("PlotView"));
        typePort(w, pair.idePath());
        QSerialPort board(pair.boardPath());
        QVERIFY(comm.portOpen() && board.open(QIODevice::ReadWrite));
        int n = 0;
        const auto receive = [&](int lines) {
            QByteArray bytes;
            for (int i = 0; i < lines; ++i, ++n)
                bytes += "line " + QByteArray::number(n) + ',' + QByteArray::number(n % 7) + "\r\n";
            const qint64 total = comm.receivedBytes() + bytes.size();
            board.write(bytes);
            board.flush();
            const bool arrived = QTest::qWaitFor([&] { return comm.receivedBytes() >= total; }, 10000);
            comm.flush();
            QCoreApplication::processEvents();
            return arrived;
        };
        TerminalView& text = comm.textView();
        QScrollBar* bar = text.verticalScrollBar();
        QVERIFY(receive(scrolledUp ? 80 : 25));
        if (scrolledUp)
            bar->setValue(10);
        const int height = text.viewport()->height();
        if (change == QLatin1String("splitter")) {
            // The divider above the plot dragged up by the user.
            QWidget* handle = qobject_cast<QSplitter*>(comm.plotView().parentWidget())->handle(1);
            QTest::mousePress(handle, Qt::LeftButton);
            QTest::mouseMove(handle, QPoint(handle->width() / 2, -100));
            QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(handle->width() / 2, -100));
        } else if (change == QLatin1String("window")) {
            m.resize(m.width(), m.height() - 150);
        } else {
            comm.optionsBar().findChild<QAction*>(change)->trigger();
        }
        QCoreApplication::processEvents();
        QCOMPARE(text.endShown(), !scrolledUp);
        QVERIFY(receive(60));
        if (change != QLatin1String("HexView"))
            QVERIFY2(text.viewport()->height() < height, "the text view did not shrink");
        if (scrolledUp) {
            QCOMPARE(bar->value(), 10);
            bar->setValue(bar->maximum());
            QVERIFY(receive(30));
        }
        QVERIFY2(text.endShown() && text.followsEnd(), qPrintable(QString::number(bar->value())));
        QVERIFY(comm.hexView().endShown());
        // The hex pane shows whole rows; the text keeps at least the plot's height.
        QCOMPARE(comm.hexView().horizontalScrollBar()->maximum(), 0);
        if (change != QLatin1String("splitter"))
            QVERIFY(text.height() >= comm.plotView().height());
    }
};

QTEST_MAIN(tst_frmComm)
#include "tst_frmComm.moc"
