// Simulate on the real frame: the document's program on gpsim, talked to from the Debug window.
#include "support/FrameTest.h"
#include "support/PicPrograms.h"

#include "platform/comm/Comm.h"
#include "platform/comm/TerminalView.h"
#include "terminal/frmComm.h"
#include "toolchain/Simulation.h"
#include "toolchain/frmSimulator.h"

#include <QCheckBox>
#include <QLineEdit>

#include <QComboBox>
#include <QDateTime>

namespace {

const QByteArray Source = "DEFINE OSC 4\nmain: HSEROUT [\"HELLO \", DEC n, 13, 10]\nGOTO main\n";

// The frame on hello.pbp with its program beside it, compiled after the source was written (or before).
MDIMain& startHello(FrameFixture& f, bool stale = false,
                    const QByteArray& program = picprograms::usartHello(), const QStringList& defines = {}) {
    MDIMain& m = f.startWith(QStringLiteral("hello.pbp"), Source);
    const QString hex = f.path(QStringLiteral("hello.hex"));
    const QString error = picprograms::assemble(program, hex, defines);
    if (!error.isEmpty())
        qFatal("%s", qPrintable(error));
    QFile file(hex);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime::currentDateTime().addSecs(stale ? -3600 : 60),
                     QFileDevice::FileModificationTime);
    return m;
}

// Chooses a port list entry of the Debug window as the user does.
void choosePort(frmComm& t, const QString& entry) {
    ActiveToolBars& bars = t.toolBars();
    t.SSActiveToolBars2_ComboDropDown(ids::ID_ComPort);
    bars.SetListIndex(ids::ID_ComPort, bars.combo(ids::ID_ComPort)->findText(entry));
    t.SSActiveToolBars2_ComboCloseUp(ids::ID_ComPort);
}

} // namespace

class tst_Simulate : public QObject {
    Q_OBJECT
private slots:
    // Simulate, the Debug window on "Simulator": the program's lines show, a typed key comes back,
    // and Stop takes gpsim down and tells the terminal.
    void talkToSimulatedBoard() {
        FrameFixture f;
        MDIMain& m = startHello(f);
        QVERIFY(!m.toolBars().Enabled(ids::ID_StopSimulation));
        m.SSActiveToolBars1_ToolClick(ids::ID_Simulate);
        QVERIFY2(f.prompts.messages().isEmpty(), qPrintable(f.prompts.messages().join(u'\n')));
        const qint64 pid = m.simulation().processId();
        QVERIFY(m.simulation().isRunning() && testsupport::processRunning(pid));
        QVERIFY(m.toolBars().Enabled(ids::ID_StopSimulation));
        QCOMPARE(m.simulation().setup().processor, QStringLiteral("p16f877a"));

        m.SSActiveToolBars1_ToolClick(ids::ID_Debug);
        frmComm& t = *m.terminalWindow();
        Comm& comm = t.comm();
        comm.setHexShown(true);
        choosePort(t, QStringLiteral("Simulator - hello.hex"));
        QVERIFY(comm.portOpen());
        QTRY_VERIFY_WITH_TIMEOUT(comm.textView().text().contains(QStringLiteral("HELLO 1")), 10000);
        QVERIFY(comm.hexView().text().contains(QStringLiteral("48 45 4C 4C 4F")));

        QTest::keyClicks(&comm.textView(), QStringLiteral("x"));
        QTRY_VERIFY_WITH_TIMEOUT(comm.textView().text().contains(u'x'), 10000);

        m.SSActiveToolBars1_ToolClick(ids::ID_StopSimulation);
        QVERIFY(!testsupport::processRunning(pid));
        QVERIFY(!comm.portOpen());
        QVERIFY(!m.toolBars().Enabled(ids::ID_StopSimulation));
        QTRY_VERIFY(comm.textView().text().contains(QStringLiteral("has stopped")));
        QVERIFY2(f.prompts.messages().isEmpty(), qPrintable(f.prompts.messages().join(u'\n')));
        // Nothing runs now: choosing the simulator says how to start one.
        choosePort(t, QStringLiteral("Simulator"));
        QVERIFY(!comm.portOpen());
        QVERIFY(f.prompts.last().text.contains(QStringLiteral("Simulate in the Compile menu")));
        // The next simulation finds the terminal waiting for it and shows its very first line.
        comm.clear();
        m.mdiArea().setActiveSubWindow(m.editors().first());
        m.SSActiveToolBars1_ToolClick(ids::ID_Simulate);
        QVERIFY(comm.portOpen());
        QTRY_VERIFY_WITH_TIMEOUT(comm.textView().text().contains(QStringLiteral("HELLO 2")), 10000);
        QVERIFY(comm.textView().text().contains(QStringLiteral("HELLO 1")));
    }

    // A new compile, closing the document and leaving the program each end the simulation.
    void endsWith_data() {
        QTest::addColumn<QString>("event");
        QTest::newRow("compile") << "compile";
        QTest::newRow("document closed") << "close";
        QTest::newRow("exit") << "exit";
    }
    void endsWith() {
        QFETCH(QString, event);
        FrameFixture f;
        const QString compiler = testsupport::writeCompiler(f.dir.filePath(QStringLiteral("pbpw")), {});
        f.store().save(settings::startup::CompilerPathName, QDir::toNativeSeparators(compiler));
        MDIMain& m = startHello(f);
        m.SSActiveToolBars1_ToolClick(ids::ID_Simulate);
        const qint64 pid = m.simulation().processId();
        QVERIFY(testsupport::processRunning(pid));
        if (event == u"compile")
            m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        else if (event == u"close")
            m.SSActiveToolBars1_ToolClick(ids::ID_Close);
        else
            QVERIFY(f.close());
        QVERIFY(!testsupport::processRunning(pid));
    }

    // What the user is told when the simulation cannot run.
    void failures_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("no gpsim") << QString("path") << "sudo apt install gpsim";
        QTest::newRow("device gpsim lacks") << QString("device") << "gpsim does not know the processor";
        QTest::newRow("bad pin setting") << QString("pin") << "\"RZ9\" is not a port pin";
    }
    void failures() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        FrameFixture f;
        if (fault == u"pin")
            f.store().save(settings::simulator::TxPin, QStringLiteral("RZ9"));
        MDIMain& m = startHello(f);
        if (fault == u"device") {
            m.toolBars().SetListIndex(
                ids::ID_Device, m.toolBars().combo(ids::ID_Device)->findText(QStringLiteral("PIC12C508A")));
            m.SSActiveToolBars1_ComboCloseUp(ids::ID_Device);
        }
        const QByteArray path = qgetenv("PATH");
        if (fault == u"path")
            qputenv("PATH", f.dir.path().toLocal8Bit());
        m.SSActiveToolBars1_ToolClick(ids::ID_Simulate);
        qputenv("PATH", path);
        QTRY_VERIFY_WITH_TIMEOUT(!f.prompts.messages().isEmpty(), 10000);
        QVERIFY2(f.prompts.last().text.contains(message), qPrintable(f.prompts.last().text));
        QTRY_VERIFY(!m.simulation().isRunning());
        QVERIFY(!m.toolBars().Enabled(ids::ID_StopSimulation));
    }

    // The options dialog stores what it takes and refuses what no run could use.
    void options_data() {
        QTest::addColumn<QString>("typed");    // pin|speed
        QTest::addColumn<QString>("expected"); // stored pin|speed|inverted, or the refusal
        QTest::newRow("PicBasic pin, typed speed") << QString("PORTB.0|2400") << "PORTB.0|2400|1";
        QTest::newRow("defaults") << QString("|as the Debug window") << "||1";
        QTest::newRow("no such pin") << QString("RZ9|2400") << "\"RZ9\" is not a port pin";
        QTest::newRow("no speed") << QString("RB0|fast") << "\"fast\" is not a baud rate";
    }
    void options() {
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        FrameFixture f;
        MDIMain& m = f.start();
        bool stayedOpen = false;
        testsupport::onNextModal([&](QWidget& w) {
            auto& d = static_cast<frmSimulator&>(w);
            d.TxPin().setText(typed.section(u'|', 0, 0));
            d.Baud().setCurrentText(typed.section(u'|', 1));
            d.Inverted().setChecked(true);
            d.cmdOK_Click();
            stayedOpen = d.isVisible();
            d.reject();
        });
        m.SSActiveToolBars1_ToolClick(ids::ID_SimulatorOptions);
        const QString stored =
            QStringList{f.store().read(settings::simulator::TxPin), f.store().read(settings::simulator::Baud),
                        f.store().read(settings::simulator::Inverted)}
                .join(u'|');
        if (stayedOpen) {
            QVERIFY2(f.prompts.last().text.contains(expected), qPrintable(f.prompts.last().text));
            QCOMPARE(stored, QStringLiteral("||0"));
        } else {
            QCOMPARE(stored, expected);
        }
    }

    // The stored options wire the simulated terminal: a program bit-banging an idle-low line on RB0.
    void optionsReachTheRun() {
        FrameFixture f;
        f.store().save(settings::simulator::TxPin, QStringLiteral("PORTB.0"));
        f.store().save(settings::simulator::Inverted, QStringLiteral("1"));
        f.store().save(settings::simulator::RealTime, QStringLiteral("0"));
        MDIMain& m = startHello(f, false, picprograms::bitBang(), {"INV"});
        QByteArray got;
        connect(&m.simulation(), &Simulation::linkReceived, this, [&](const QByteArray& b) { got += b; });
        m.SSActiveToolBars1_ToolClick(ids::ID_Simulate);
        QCOMPARE(m.simulation().setup().txPin, QStringLiteral("portb0"));
        QCOMPARE(m.simulation().setup().baud, 9600);
        QTRY_VERIFY_WITH_TIMEOUT(got.contains("BIT\r\nBIT\r\n"), 10000);
    }

    // A program older than its source is compiled first, and simulated once the compile is clean.
    void compilesStaleProgramFirst() {
        FrameFixture f;
        const QString compiler = testsupport::writeCompiler(f.dir.filePath(QStringLiteral("pbpw")), {});
        f.store().save(settings::startup::CompilerPathName, QDir::toNativeSeparators(compiler));
        MDIMain& m = startHello(f, true);
        m.SSActiveToolBars1_ToolClick(ids::ID_Simulate);
        QVERIFY(!m.simulation().isRunning());
        QTRY_VERIFY_WITH_TIMEOUT(m.simulation().isRunning(), 20000);
        QVERIFY(!testsupport::compilerRecord(compiler).isEmpty());
        m.stopSimulation();
    }
};

QTEST_MAIN(tst_Simulate)
#include "tst_Simulate.moc"
