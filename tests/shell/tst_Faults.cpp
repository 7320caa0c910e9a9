#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>

#include "platform/comm/Comm.h"
#include "support/FrameTest.h"
#include "support/PtyPair.h"
#include "terminal/frmComm.h"
#include "toolchain/CaptureFile.h"
#include "toolchain/CompileRun.h"
#include "toolchain/CompilerScreen.h"

#include <optional>
#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

// A small file system of the test's own at `where` (mounting one takes root; never on Windows).
struct SmallDisk {
    QString where;
#ifdef Q_OS_WIN
    bool mounted = QDir().mkpath(where) && false;
#else
    bool mounted =
        QDir().mkpath(where) && ::geteuid() == 0 &&
        QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", where}) == 0;
#endif
    ~SmallDisk() {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {"-l", where});
    }
};

// A compiler stand-in following `steps` (testsupport::writeCompiler), saved as the compiler of the
// frame's store; returns its path.
QString useCompiler(FrameFixture& f, const QStringList& steps) {
    const QString path = testsupport::writeCompiler(f.dir.filePath(QStringLiteral("pbpw")), steps);
    f.store().save(settings::startup::CompilerPathName, QDir::toNativeSeparators(path));
    return path;
}

} // namespace

// What the user typed survives the faults of the world around the program, and each fault says so.
class tst_Faults : public QObject {
    Q_OBJECT
private slots:
    void saveFails_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("full disk") << QString("full") << "Error( 61): Disk full";
        QTest::newRow("read-only file") << QString("read-only") << "Error( 75): Path/File access error";
        QTest::newRow("folder removed") << QString("folder gone") << "Error( 76): Path not found";
        // Whoever runs the test: a file stands where the folder should be.
        QTest::newRow("folder is a file") << QString("file in the way") << "Error( 76): Path not found";
    }
    void saveFails() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        FrameFixture f;
        const QString folder = f.dir.filePath(QStringLiteral("disk"));
        std::optional<SmallDisk> disk;
        if (fault == QLatin1String("full") || fault == QLatin1String("read-only"))
            disk.emplace(folder);
        if (fault == QLatin1String("full") && !disk->mounted)
            QSKIP("mounting a small file system needs root, and a POSIX system");
#ifdef Q_OS_WIN
        if (!disk)
            QSKIP("Windows keeps a folder whose files are watched until the watch ends, so it cannot go "
                  "while the document is open");
#endif
        const QString path = folder + QStringLiteral("/doc.pbp");
        const QByteArray old("HIGH 1\r\n");
        QVERIFY(testsupport::writeFile(path, old));
        MDIMain& m = f.start(path);
        SourceDocument& doc = f.doc();
        // More than the small disk holds.
        doc.InsertImpl(0, 0, QStringLiteral("LOW 2 ' a long line of a long program\n").repeated(4000));

        if (fault == QLatin1String("read-only")) {
            // Root writes through permissions: the file system itself turns read-only then.
            if (disk->mounted)
                QVERIFY(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", folder}) == 0);
            else
                QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        } else if (!disk) {
            QVERIFY(QDir(folder).removeRecursively());
            if (fault == QLatin1String("file in the way"))
                QVERIFY(testsupport::writeFile(folder, "keep me"));
        }
        m.SSActiveToolBars1_ToolClick(ids::ID_Save);
        QCOMPARE(f.prompts.messages(), QStringList{message + u'\n' + QDir::toNativeSeparators(path)});
        QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
        QVERIFY(doc.Modified());
        QCOMPARE(doc.NumLines(), 4002);
        if (fault == QLatin1String("file in the way"))
            QCOMPARE(testsupport::readFile(folder), QByteArray("keep me"));
        if (disk) {
            QCOMPARE(testsupport::readFile(path), old);
            // No half-written file stays beside it.
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("doc.pbp")});
        }
        // Closing asks to save rather than dropping the text.
        f.prompts.answer(Prompts::Answer::Cancel);
        QVERIFY(!f.active()->close());
        QVERIFY(f.prompts.last().text.startsWith(QStringLiteral("Save Changes to ")));
    }

    void badSettingsStore_data() {
        QTest::addColumn<QByteArray>("content"); // null: a store that cannot be written
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) % 251);
        QTest::newRow("binary") << binary;
        QTest::newRow("cut short") << QByteArray("[Startup]\nDefaultDevice=71\n[Sta");
        QTest::newRow("unwritable") << QByteArray();
        // A value that does not convert leaves its property alone; the others still apply.
        const QByteArray left("[Startup]\nLeft=1500\n");
        QTest::newRow("width as a word") << left + "Width=wide\n";
        QTest::newRow("width out of reach") << left + "Width=1e12\n";
        QTest::newRow("device as a word") << left + "DefaultDevice=seventy\n";
        QTest::newRow("device beyond 16 bits") << left + "DefaultDevice=99999\n";
    }
    void badSettingsStore() {
        QFETCH(QByteArray, content);
        FrameFixture f;
        // A store that cannot be written: its folder is a file.
        const QString file = f.dir.filePath(content.isNull() ? QStringLiteral("plain file/settings.ini")
                                                             : QStringLiteral("bad.ini"));
        QVERIFY(testsupport::writeFile(content.isNull() ? f.dir.filePath(QStringLiteral("plain file")) : file,
                                       content.isNull() ? "x" : content));
        f.settings = std::make_unique<Settings>(f.paths, file);
        const QSize untouched = MDIMain(*f.settings, f.prompts).size();
        MDIMain& m = f.start();
        QVERIFY(f.active());
        const double twips = m.logicalDpiY() / 1440.0;
        QCOMPARE(m.pos(), QPoint(qRound((content.contains("Left=1500") ? 1500 : 0) * twips), 0));
        QCOMPARE(m.size(), QSize(content.contains("Width=") ? untouched.width() : qRound(9000 * twips),
                                 content.contains("Height=") ? untouched.height() : qRound(6000 * twips)));
        const bool badDevice = content.contains("seventy") || content.contains("99999");
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), badDevice ? -1 : 71);
        QVERIFY(f.prompts.messages().isEmpty());
        QVERIFY(f.close());
        const QStringList said = f.prompts.messages();
        QCOMPARE(said.size(), content.isNull() ? 1 : 0);
        if (content.isNull())
            QVERIFY(said.first().startsWith(QStringLiteral("The settings could not be saved to ") +
                                            QDir::toNativeSeparators(file)));
        else if (!badDevice)
            QCOMPARE(Settings(f.paths, file).read(settings::startup::DefaultDevice), QStringLiteral("71"));
    }

    // An error box names the tool it could not find on a line of its own, after the message's own text.
    // (A folder opened as a file: tst_Commands; a missing device list: tst_Devices.)
    void errorBoxesNameThePath_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("programmer's folder gone") << "programmer"
                                                  << "Error! Path not found";
        QTest::newRow("no compiler") << "compiler"
                                     << "Error! Invalid Path or File Name..\nIf the problem persists, please "
                                        "call Korvana Systems support.";
    }
    void errorBoxesNameThePath() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        FrameFixture f;
        const QString concerned = f.dir.filePath(QStringLiteral("gone/tool"));
        const bool compiler = fault == u"compiler";
        f.store().save(compiler ? settings::startup::CompilerPathName : settings::startup::ProgrammerPathName,
                       concerned);
        MDIMain& m = f.startWith(QStringLiteral("prog.pbp"), "HIGH 1\n");
        testsupport::onNextModal([](QWidget& d) { d.close(); }); // the compiler options
        m.SSActiveToolBars1_ToolClick(compiler ? ids::ID_Compile : ids::ID_Epic);
        QCOMPARE(f.prompts.messages().value(0), message + u'\n' + QDir::toNativeSeparators(concerned));
    }

    void badDeviceList_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("devices");
        QByteArray many;
        for (int i = 0; i < 100000; ++i)
            many += "PIC" + QByteArray::number(i) + ":PORTA=6,PORTB=8,PBC\r\n";
        QByteArray binary(3000, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 31) % 256);
        // After "Get Micro Listing Error: <file> ".
        QTest::newRow("empty") << QByteArray("") << QString("lists no devices for this compiler.") << 0;
        QTest::newRow("binary") << binary << QString("is not a device list: it holds binary data.") << 0;
        QTest::newRow("100,000 devices") << many << "" << 100000;
    }
    void badDeviceList() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(int, devices);
        FrameFixture f;
        const QString list = f.file(QStringLiteral("devicedata.ide"), content);
        MDIMain& m = f.start();
        QCOMPARE(f.prompts.messages().value(0),
                 message.isEmpty()
                     ? message
                     : "Get Micro Listing Error: " + QDir::toNativeSeparators(list) + u' ' + message);
        QCOMPARE(m.toolBars().ListCount(ids::ID_Device), devices);
        // The editor works all the same.
        QTest::keyClicks(f.view().focusProxy(), QStringLiteral("xy"));
        QCOMPARE(f.doc().GetLine(0), QStringLiteral("xy"));
        if (devices) {
            m.toolBars().SetListIndex(ids::ID_Device, devices - 1);
            m.SSActiveToolBars1_ComboCloseUp(ids::ID_Device);
            QCOMPARE(m.state().DevicePorts[2], 8);
        }
    }

    void serialPortGoesAwayWhileDataFlows() {
#ifdef Q_OS_WIN
        QSKIP("Needs a pseudo-terminal, and Wine never reports bytes received on one.");
#endif
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        PtyPair pair;
        QVERIFY(pair.start());
        FrameFixture f;
        MDIMain& m = f.start();
        m.SSActiveToolBars1_ToolClick(ids::ID_Debug);
        frmComm& w = *m.terminalWindow();
        QComboBox* port = w.toolBars().combo(ids::ID_ComPort);
        port->lineEdit()->setText(pair.idePath());
        QTest::keyClick(port->lineEdit(), Qt::Key_Return);
        QVERIFY(w.comm().portOpen());
        // The board talks without a pause until it is unplugged.
        QProcess board;
        board.start(QStringLiteral("/bin/sh"),
                    {"-c", "while :; do printf 'T=21.5 H=40\\r\\n'; done > \"$0\"", pair.boardPath()});
        QVERIFY(board.waitForStarted());
        QTest::qWait(300);
        pair.stop();
        QTRY_COMPARE_WITH_TIMEOUT(f.prompts.messages().size(), 1, 20000);
        QVERIFY2(f.prompts.last().text.contains(QStringLiteral("was lost")),
                 qPrintable(f.prompts.last().text));
        QVERIFY(!w.comm().portOpen());
        QVERIFY(board.waitForFinished(5000) || (board.kill(), board.waitForFinished()));
    }

    // A compiler that floods its output or never ends leaves the program usable; an error at the end of
    // a flood is found all the same.
    void compilersThatFloodOrNeverEnd() {
        FrameFixture f;
        // About 100 MB.
        useCompiler(f, {QStringLiteral("REPEAT 2127660 a line of compiler output that goes on and on"),
                        QStringLiteral("ERROR Line 2: at the very end")});
        MDIMain& m = f.startWith(QStringLiteral("blink.pbp"), "HIGH 1\r\nHIGH 2\r\n");
        frmEditor& w = *f.active();
        w.CheckFile().setInterval(20);
        // The event loop keeps turning while the compiler writes.
        int ticks = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, &beat, [&ticks] { ++ticks; });
        beat.start(10);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QTRY_VERIFY_WITH_TIMEOUT(w.lastCapture(), 60000);
        QVERIFY(ticks > 3);
        // The window shows the first megabytes and where the rest is; the 100 MB are not kept.
        QVERIFY(w.lastCapture()->text.isEmpty());
        QCOMPARE(w.lastCapture()->find(2)->message, QStringLiteral(" at the very end"));
        QVERIFY(f.doc().GetLineData(1, 1) != 0);
        const QString shown = m.compilerScreen().CompilerOutput().toPlainText();
        QVERIFY(shown.size() < 3 * 1024 * 1024);
        QVERIFY(shown.endsWith(compilerun::capturePath(f.appFolder()) + u')'));

        // A compiler that never ends goes down with the program.
        const QString compiler = useCompiler(f, {QStringLiteral("SLEEP 1000000")});
        QVERIFY(QFile::remove(compiler + QStringLiteral(".pid")));
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QTRY_VERIFY(testsupport::compilerPid(compiler) > 0);
        const qint64 pid = testsupport::compilerPid(compiler);
        QVERIFY(testsupport::processRunning(pid));
        // The editor goes on taking keys while the compiler runs.
        QTest::keyClicks(f.view().focusProxy(), QStringLiteral("xy"));
        QCOMPARE(f.doc().GetLine(0), QStringLiteral("xyHIGH 1"));
        f.prompts.answer(Prompts::Answer::No); // do not save
        QVERIFY(f.close());
        QTRY_VERIFY(!testsupport::processRunning(pid)); // the program took its compiler down with it
        QFile::remove(compilerun::capturePath(f.appFolder()));
    }
};

QTEST_MAIN(tst_Faults)
#include "tst_Faults.moc"
