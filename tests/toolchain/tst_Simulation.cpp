// The simulator run: its script, its reading of gpsim's output and its pacing, and real programs on
// the real gpsim (assembled here with gpasm).
#include "support/PicPrograms.h"
#include "support/TestSupport.h"
#include "toolchain/SimScript.h"
#include "toolchain/Simulation.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using simscript::OutputParser;

namespace {

// A run of one program, flat out, gathering what the PIC sends and how the run ended.
struct Run {
    Simulation sim;
    QByteArray got;
    QString failure;
    QString silence;
    Run() {
        QObject::connect(&sim, &Simulation::linkReceived, &sim, [this](const QByteArray& b) { got += b; });
        QObject::connect(&sim, &Simulation::failed, &sim, [this](const QString& m) { failure = m; });
        QObject::connect(&sim, &Simulation::silent, &sim, [this](const QString& m) { silence = m; });
    }
};

} // namespace

class tst_Simulation : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString hello_;

    simscript::Setup setupFor(const QString& hex) {
        simscript::Setup s;
        s.processor = QStringLiteral("p16f877a");
        s.hexPath = hex;
        return s;
    }

private slots:
    void initTestCase() {
        hello_ = dir_.filePath(QStringLiteral("hello.hex"));
        const QString error = picprograms::assemble(picprograms::usartHello(), hello_);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }

    // Device and pin names as gpsim takes them; "" where gpsim would take none.
    void names() {
        const std::tuple<const char*, const char*, const char*> rows[] = {
            {"processor", " PIC12F675 ", "p12f675"},
            {"processor", "", ""},
            {"pin", "portc6", "portc6"},
            {"pin", "RB0", "portb0"},
            {"pin", "PORTB.7", "portb7"},
            {"pin", "GPIO.2", "gpio2"},
            {"pin", "rc8", ""},
            {"pin", "portz1", ""},
            {"pin", "portc6 U1.TXPIN", ""}};
        for (const auto& [kind, input, expected] : rows) {
            const QString in = QString::fromLatin1(input);
            const QString got =
                QByteArray(kind) == "pin" ? simscript::pinName(in) : simscript::processorName(in);
            QVERIFY2(got == QString::fromLatin1(expected), qPrintable(in + QStringLiteral(" gave ") + got));
        }
    }

    void oscillator() {
        const std::pair<const char*, double> rows[] = {
            {"HIGH PORTB.0\n", 4.0},
            {"INCLUDE \"x.bas\"\nDEFINE OSC 20\n", 20.0},
            {"  define  osc\t10 ' fast\n", 10.0},
            {"DEFINE OSC 8\nDEFINE OSC 20\n", 8.0}, // the first wins
            {"' DEFINE OSC 20\n", 4.0},
            {"DEFINE OSCCAL_1K 1\n", 4.0},
            {"DEFINE OSC 0\n", 4.0}};
        for (const auto& [source, mhz] : rows)
            QVERIFY2(simscript::oscillatorMHz(QString::fromLatin1(source)) == mhz, source);
    }

    void parser_data() {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("breakAt");
        QTest::addColumn<QString>("error");
        QTest::newRow("split anywhere")
            << QList<QByteArray>{"runn", "ing...\r\n<4", "8", "><4", "9>cycle br", "eak: 0x10 = 1", "6\n"}
            << QByteArray("HI") << qint64(16) << "";
        QTest::newRow("8-bit clean") << QList<QByteArray>{"running...\n<00><FF><3C><0A>",
                                                          "cycle break: 0x2 = 2\n"}
                                     << QByteArray("\x00\xff<\n", 4) << qint64(2) << "";
        QTest::newRow("only while running")
            << QList<QByteArray>{"**gpsim> <41>\nrunning...\n<42>cycle break: 0x1 = 1\n0x01 <43>\n"}
            << QByteArray("B") << qint64(1) << "";
        QTest::newRow("module notes between bytes")
            << QList<QByteArray>{"running...\n<41>USART module RX overrun error\n<42>"} << QByteArray("AB")
            << qint64(-1) << "";
        QTest::newRow("unknown processor") << QList<QByteArray>{"Unable to find processor p99x\n"}
                                           << QByteArray() << qint64(-1) << "does not know the processor";
    }
    void parser() {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, breakAt);
        QFETCH(QString, error);
        OutputParser p;
        QByteArray got;
        qint64 at = -1;
        QStringList errors;
        for (const QByteArray& c : chunks) {
            const OutputParser::Result r = p.feed(c);
            got += r.bytes;
            errors += r.errors;
            if (r.breakAt >= 0)
                at = r.breakAt;
        }
        QCOMPARE(got, bytes);
        QCOMPARE(at, breakAt);
        QCOMPARE(errors.size(), error.isEmpty() ? 0 : 1);
        if (!error.isEmpty())
            QVERIFY2(errors.first().contains(error), qPrintable(errors.first()));
    }

    void pacer() {
        // 4 MHz: a million instruction cycles a second.
        simscript::Pacer real(4e6, true);
        QCOMPARE(real.next(0, 10), qint64(10000));
        QCOMPARE(real.next(10000, 10), qint64(-1)); // ahead of the wall clock: wait
        QCOMPARE(real.next(10000, 20), qint64(20000));
        // After a stall of a second it runs at most MaxLagMs ahead, and does not race for the rest.
        QCOMPARE(real.next(20000, 1020), qint64(20000 + simscript::Pacer::MaxLagMs * 1000));
        QCOMPARE(real.next(220000, 1030), qint64(230000));
        simscript::Pacer flat(20e6, false);
        QCOMPARE(flat.next(5, 0), 5 + simscript::Pacer::FlatOutSlice);
    }

    // What the PIC sends on the watched pin arrives as sent: the hardware USART, a bit-banged pin, an
    // idle-low line through the inverter, and an idle-low line read as idle-high (garbage).
    void programs_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QStringList>("defines");
        QTest::addColumn<QString>("txPin");
        QTest::addColumn<bool>("inverted");
        QTest::addColumn<bool>("readable");
        QTest::newRow("USART") << picprograms::usartHello() << QStringList() << "portc6" << false << true;
        QTest::newRow("RB0") << picprograms::bitBang() << QStringList() << "portb0" << false << true;
        QTest::newRow("RB0 idle low")
            << picprograms::bitBang() << QStringList{"INV"} << "portb0" << true << true;
        QTest::newRow("RB0 idle low, read idle high")
            << picprograms::bitBang() << QStringList{"INV"} << "portb0" << false << false;
    }
    void programs() {
        QFETCH(QByteArray, source);
        QFETCH(QStringList, defines);
        QFETCH(QString, txPin);
        QFETCH(bool, inverted);
        QFETCH(bool, readable);
        const QString hex = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'_') +
                                          QStringLiteral(".hex"));
        const QString error = picprograms::assemble(source, hex, defines);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        Run run;
        simscript::Setup s = setupFor(hex);
        s.txPin = txPin;
        s.inverted = inverted;
        QVERIFY(!run.sim.start(s, QStringLiteral("prog.hex"), false));
        // Half a simulated second holds many lines of either program.
        QVERIFY(QTest::qWaitFor([&] { return run.sim.cycles() >= 500000 || !run.failure.isEmpty(); }, 30000));
        QVERIFY2(run.failure.isEmpty(), qPrintable(run.failure));
        const QByteArray expected =
            txPin == u"portc6" ? QByteArray("HELLO 1\r\nHELLO 2\r\n") : "BIT\r\nBIT\r\n";
        QCOMPARE(run.got.contains(expected), readable);
    }

    // Bytes the terminal writes reach the PIC's receiving pin (the program echoes them).
    void echo() {
        Run run;
        QVERIFY(!run.sim.start(setupFor(hello_), QStringLiteral("hello.hex"), true));
        QTRY_VERIFY_WITH_TIMEOUT(run.got.contains("HELLO 1\r\n"), 10000);
        run.got.clear();
        QVERIFY(run.sim.linkWrite("Zq\xe9"));
        QTRY_VERIFY_WITH_TIMEOUT(run.got.contains("Zq\xe9"), 10000);
    }

    void failures_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown processor") << QString("processor") << "does not know the processor";
        QTest::newRow("missing program") << QString("missing") << "was not found: compile the program first";
        QTest::newRow("checksum") << QString("checksum") << "damaged";
        QTest::newRow("not a HEX file") << QString("text") << "not a HEX file";
        QTest::newRow("bad pin") << QString("pin") << "check the pin names";
        QTest::newRow("no gpsim") << QString("path") << "apt install gpsim";
    }
    void failures() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        simscript::Setup s = setupFor(hello_);
        const QString broken = dir_.filePath(fault + QStringLiteral(".hex"));
        if (fault == u"processor") {
            s.processor = QStringLiteral("p99x999");
        } else if (fault == u"missing") {
            s.hexPath = dir_.filePath(QStringLiteral("none.hex"));
        } else if (fault == u"checksum") {
            QByteArray bytes = testsupport::readFile(hello_);
            bytes[bytes.indexOf(":10") + 10] = bytes[bytes.indexOf(":10") + 10] == '0' ? '1' : '0';
            QVERIFY(testsupport::writeFile(broken, bytes));
            s.hexPath = broken;
        } else if (fault == u"text") {
            QVERIFY(testsupport::writeFile(broken, "DEFINE OSC 4\nHIGH PORTB.0\n"));
            s.hexPath = broken;
        } else if (fault == u"pin") {
            s.txPin = QStringLiteral("portz9");
        }
        const QByteArray path = qgetenv("PATH");
        if (fault == u"path")
            qputenv("PATH", dir_.path().toLocal8Bit());
        Run run;
        const AppError started = run.sim.start(s, QStringLiteral("x.hex"), true);
        qputenv("PATH", path);
        if (!started) {
            const qint64 pid = run.sim.processId();
            QTRY_VERIFY_WITH_TIMEOUT(!run.failure.isEmpty(), 10000);
            QVERIFY2(run.failure.contains(message), qPrintable(run.failure));
            QVERIFY(!run.sim.isRunning());
            QVERIFY(!testsupport::processRunning(pid));
        } else {
            QVERIFY2(started.description.contains(message), qPrintable(started.description));
        }
    }

    // A program whose TX pin stays an input sends nothing; the run says which pin it watches.
    void silence() {
        const QString hex = dir_.filePath(QStringLiteral("silent.hex"));
        QVERIFY(picprograms::assemble(picprograms::usartSilent(), hex).isEmpty());
        Run run;
        run.sim.setSilenceMs(300);
        QVERIFY(!run.sim.start(setupFor(hex), QStringLiteral("silent.hex"), true));
        QTRY_VERIFY_WITH_TIMEOUT(!run.silence.isEmpty(), 10000);
        QVERIFY2(run.silence.contains(QStringLiteral("portc6")) &&
                     run.silence.contains(QStringLiteral("TRIS")),
                 qPrintable(run.silence));
        QVERIFY(run.got.isEmpty());
        QVERIFY(run.sim.isRunning());
    }

    // A run dropped while gpsim talks takes gpsim with it (Stop is followed through the frame).
    void destroyedRunEndsGpsim() {
        auto run = std::make_unique<Run>();
        QVERIFY(!run->sim.start(setupFor(hello_), QStringLiteral("hello.hex"), true));
        const qint64 pid = run->sim.processId();
        QTRY_VERIFY_WITH_TIMEOUT(!run->got.isEmpty(), 10000);
        run.reset();
        QVERIFY(!testsupport::processRunning(pid));
    }

    // A program killed outright runs no destructor: gpsim must still go with it. This case runs itself
    // again as that program, which starts a simulation, says gpsim's id and waits to be killed.
    void diesWithTheProgram() {
        if (qEnvironmentVariableIsSet("SIM_CHILD")) {
            Simulation sim;
            if (sim.start(setupFor(qEnvironmentVariable("SIM_CHILD")), QStringLiteral("x"), true))
                return;
            std::printf("gpsim %lld\n", sim.processId());
            std::fflush(stdout);
            QTest::qWait(60000);
            return;
        }
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SIM_CHILD"), hello_);
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("diesWithTheProgram")});
        QByteArray line;
        while (!line.startsWith("gpsim ") && child.waitForReadyRead(20000))
            while (child.canReadLine() && !line.startsWith("gpsim "))
                line = child.readLine();
        const qint64 pid = line.mid(6).trimmed().toLongLong();
        QVERIFY2(pid > 0, line.constData());
        QVERIFY(testsupport::processRunning(pid));
        QTest::qWait(1500); // well into the run
        child.kill();
        child.waitForFinished();
        // Gone, or at least no longer running (a zombie waits for whoever adopted it to reap it).
        const auto gone = [pid] {
            QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
            if (!stat.open(QIODevice::ReadOnly))
                return !testsupport::processRunning(pid);
            const QByteArray text = stat.readAll();
            return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
        };
        QTRY_VERIFY_WITH_TIMEOUT(gone(), 10000);
    }
};

QTEST_GUILESS_MAIN(tst_Simulation)
#include "tst_Simulation.moc"
