// The Debug window in a real frame: its settings band, the port choice, and a real pseudo-terminal
// pair with the test playing the board.
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QSerialPort>
#include <QTest>

#include "editor/frmEditor.h"
#include "platform/comm/Comm.h"
#include "platform/comm/CommPort.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/PtyPair.h"
#include "terminal/frmComm.h"

namespace {

const QString* const LineTools[] = {&ids::ID_BaudRate, &ids::ID_Parity, &ids::ID_DataBits, &ids::ID_StopBits};

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

// The texts of the settings band, port first.
QStringList shownSettings(frmComm& w) {
    QStringList shown;
    for (const QString& id : w.toolBars().ToolBarToolIds(ids::DebugSettings))
        shown << w.toolBars().Text(id);
    return shown;
}

bool lineToolsEnabled(frmComm& w, bool enabled) {
    for (const QString* id : LineTools)
        if (w.toolBars().Enabled(*id) != enabled)
            return false;
    return true;
}

} // namespace

class tst_frmComm : public QObject {
    Q_OBJECT
private slots:
    void oneWindowThatTakesTheFocusWithoutDocumentCommands() {
        FrameFixture f;
        MDIMain& m = f.start();
        QVERIFY(m.toolBars().Enabled(ids::ID_Debug));
        frmComm& w = openTerminal(m);
        QCOMPARE(m.mdiArea().activeSubWindow(), &w);
        QVERIFY(!m.toolBars().Enabled(ids::ID_Save));
        QVERIFY(!m.toolBars().Enabled(ids::ID_Device));
        // The editor activated again gets its commands back; Debug again brings the same window.
        m.mdiArea().setActiveSubWindow(m.editors().first());
        QVERIFY(m.toolBars().Enabled(ids::ID_Save));
        QCOMPARE(&openTerminal(m), &w);
        QCOMPARE(m.mdiArea().subWindowList().size(), 2);
        QCOMPARE(m.mdiArea().activeSubWindow(), &w);
    }

    void defaultsAndChoicesSurviveARestart() {
        FrameFixture f;
        {
            frmComm& w = openTerminal(f.start());
            QCOMPARE(shownSettings(w), (QStringList{"NONE", "9600", "8", "None", "1"}));
            QVERIFY(lineToolsEnabled(w, true) && !w.comm().portOpen());
            QCOMPARE(w.comm().settings(), QStringLiteral("9600,N,8,1"));
            QCOMPARE(w.toolBars().ListIndex(ids::ID_ComPort), -1);
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
        // A hand-edited value that is no position falls back to the default, the rest still count.
        f.store().Save(QStringLiteral("Pinwright"), QStringLiteral("Debug"), QStringLiteral("StopBits"),
                       QStringLiteral("1.5"));
        frmComm& w = openTerminal(f.restart());
        // The port is never stored: the new window starts with none.
        QCOMPARE(shownSettings(w), (QStringList{"NONE", "115200", "7", "Odd", "1"}));
        QVERIFY(w.comm().timeStamps() && w.comm().hexShown() && !w.comm().plotShown());
        QCOMPARE(w.comm().enterSends(), terminalkeys::Enter::CRLF);
    }

    void failuresAreReportedAndLeaveThePortClosed_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("says");
        QTest::newRow("line setting before a port") << QString("baud") << "Invalid port number";
        QTest::newRow("no such port") << QString("/dev/ttyNOPE9") << "/dev/ttyNOPE9 does not exist";
        QTest::newRow("settings refused") << QString("7 bits") << "does not take the settings 9600,N,7,1";
        QTest::newRow("port in use") << QString("in use") << "in use by another program";
    }
    void failuresAreReportedAndLeaveThePortClosed() {
        QFETCH(QString, action);
        QFETCH(QString, says);
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        PtyPair pair;
        QVERIFY(pair.start());
        FrameFixture f;
        frmComm& w = openTerminal(f.start());
        QSerialPort other(pair.idePath());
        if (action == QLatin1String("in use"))
            QVERIFY(other.open(QIODevice::ReadWrite)); // another program has it
        if (action == QLatin1String("7 bits"))
            w.toolBars().SetListIndex(ids::ID_DataBits, 0);
        if (action == QLatin1String("baud"))
            pick(w, ids::ID_BaudRate, 2);
        else
            typePort(w, action.startsWith(u'/') ? action : pair.idePath());
        QVERIFY2(f.prompts.messages().size() == 1, qPrintable(f.prompts.messages().join(u'\n')));
        QVERIFY2(f.prompts.last().text.contains(says), qPrintable(f.prompts.last().text));
        QVERIFY(!w.comm().portOpen());
        QVERIFY(!w.testAttribute(Qt::WA_SetCursor)); // the busy pointer is gone again
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
        typePort(w, pair.idePath());
        QVERIFY2(comm.portOpen(), qPrintable(f.prompts.messages().join(u'\n')));
        QCOMPARE(comm.port().device(), pair.idePath());

        // A changed line setting reopens the port with it.
        pick(w, ids::ID_Parity, 1);
        QVERIFY(comm.portOpen());
        QCOMPARE(comm.settings(), QStringLiteral("9600,O,8,1"));
        QCOMPARE(comm.port().serialPort().parity(), QSerialPort::OddParity);
        // (A pseudo-terminal refuses odd parity at some speeds; the board is back to none.)
        pick(w, ids::ID_Parity, 2);
        pick(w, ids::ID_BaudRate, 8);
        QCOMPARE(comm.port().serialPort().baudRate(), 115200);

        // NONE greys the line settings and closes the port; the port again undoes both.
        pick(w, ids::ID_ComPort, 0);
        QVERIFY(!comm.portOpen() && lineToolsEnabled(w, false));
        typePort(w, pair.idePath());
        QVERIFY2(comm.portOpen(), qPrintable(f.prompts.messages().join(u'\n')));
        QVERIFY(lineToolsEnabled(w, true) && f.prompts.messages().isEmpty());

        // The board unplugged is reported once; plugged in again, the port opens again.
        pair.stop();
        QTRY_COMPARE_WITH_TIMEOUT(f.prompts.messages().size(), 1, 20000);
        QVERIFY2(f.prompts.last().text.contains(QStringLiteral("was lost")),
                 qPrintable(f.prompts.last().text));
        QVERIFY(!comm.portOpen());
        QVERIFY(pair.start());
        typePort(w, pair.idePath());
        QVERIFY2(comm.portOpen(), qPrintable(f.prompts.messages().join(u'\n')));

        // Closing the window closes the port and stores the positions.
        w.close();
        QTRY_VERIFY(!m.terminalWindow());
        QCOMPARE(f.store().read(settings::debug::Parity), QStringLiteral("2"));
        QCOMPARE(f.store().read(settings::debug::BaudRate), QStringLiteral("8"));
    }
};

QTEST_MAIN(tst_frmComm)
#include "tst_frmComm.moc"
