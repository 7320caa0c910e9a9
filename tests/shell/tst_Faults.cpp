#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <csignal>
#include <optional>
#include <unistd.h>

#include "build/CaptureFile.h"
#include "build/CompileRun.h"
#include "editor/frmEditor.h"
#include "platform/HelpViewer.h"
#include "platform/comm/Comm.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/PtyPair.h"
#include "support/TestSupport.h"
#include "terminal/frmComm.h"

namespace {

// A small file system of the test's own, where the test may mount one (it takes root).
class SmallDisk {
public:
    explicit SmallDisk(const QString& where) : where_(where) {
        QDir().mkpath(where);
        mounted_ = ::geteuid() == 0 &&
                   QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=64k", "tmpfs", where}) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            QProcess::execute(QStringLiteral("umount"), {"-l", where_});
    }
    bool mounted() const { return mounted_; }
    bool makeReadOnly() { return QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", where_}) == 0; }

private:
    QString where_;
    bool mounted_ = false;
};

// A compiler stand-in: a shell script running `body`, saved as the compiler of the frame's store.
void useCompiler(FrameFixture& f, const QString& body) {
    const QString path = f.dir.filePath(QStringLiteral("pbpw"));
    testsupport::writeFile(path, ("#!/bin/sh\necho $$ > " + f.dir.filePath(QStringLiteral("pid")) + u'\n' + body + u'\n').toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    f.store().save(settings::startup::CompilerPathName, path);
}

} // namespace

// What the user typed survives the faults of the world around the program, and each fault says so.
class tst_Faults : public QObject {
    Q_OBJECT
private slots:
    void saveFails_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message");
        QTest::newRow("full disk") << "full" << "Error( 61): Disk full";
        QTest::newRow("read-only file") << "read-only" << "Error( 75): Path/File access error";
        QTest::newRow("folder removed") << "folder gone" << "Error( 76): Path not found";
    }
    void saveFails() {
        QFETCH(QString, fault);
        QFETCH(QString, message);
        FrameFixture f;
        const QString folder = f.dir.filePath(QStringLiteral("disk"));
        std::optional<SmallDisk> disk;
        if (fault != QLatin1String("folder gone"))
            disk.emplace(folder);
        if (fault == QLatin1String("full") && !disk->mounted())
            QSKIP("mounting a small file system needs root");
        const QString path = folder + QStringLiteral("/doc.pbp");
        const QByteArray old("HIGH 1\r\n");
        QVERIFY(testsupport::writeFile(path, old));
        MDIMain& m = f.start(path);
        SourceDocument& doc = f.active()->View().Document();
        // More than the small disk holds.
        doc.InsertImpl(0, 0, QStringLiteral("LOW 2 ' a long line of a long program\n").repeated(4000));

        if (fault == QLatin1String("read-only")) {
            // Root writes through permissions: the file system itself turns read-only then.
            if (disk->mounted())
                QVERIFY(disk->makeReadOnly());
            else
                QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        } else if (fault == QLatin1String("folder gone")) {
            QVERIFY(QDir(folder).removeRecursively());
        }
        m.SSActiveToolBars1_ToolClick(ids::ID_Save);
        QCOMPARE(f.prompts.messages(), QStringList{message});
        QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
        QVERIFY(doc.Modified());
        QCOMPARE(doc.NumLines(), 4002);
        if (disk) {
            QCOMPARE(testsupport::readFile(path), old);
            // No half-written file stays beside it.
            QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("doc.pbp")});
        }
        // Closing asks to save rather than dropping the text.
        f.prompts.answer(Prompts::Answer::Cancel);
        QVERIFY(!f.active()->close());
        QVERIFY(f.prompts.last().text.startsWith(QStringLiteral("Save Changes to ")));
    }

    void fileChangedOnDisk_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("typed");
        QTest::addColumn<int>("answer"); // to the reload question
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("deleted, with typing") << "delete" << true << -1 << "TYPED";
        QTest::newRow("deleted, nothing typed") << "delete" << false << -1 << "OLD";
        QTest::newRow("replaced, reload declined") << "replace" << true << int(Prompts::Answer::No) << "TYPED";
        QTest::newRow("rewritten, reloaded") << "rewrite" << false << int(Prompts::Answer::Yes) << "NEW TEXT";
    }
    void fileChangedOnDisk() {
        QFETCH(QString, change);
        QFETCH(bool, typed);
        QFETCH(int, answer);
        QFETCH(QString, firstLine);
        FrameFixture f;
        const QString path = f.path(QStringLiteral("doc.pbp"));
        QVERIFY(testsupport::writeFile(path, "OLD\r\n"));
        MDIMain& m = f.start(path);
        SourceDocument& doc = f.active()->View().Document();
        if (typed)
            doc.InsertImpl(0, 0, QStringLiteral("TYPED\n"));
        if (change == QLatin1String("delete")) {
            QVERIFY(QFile::remove(path));
        } else if (change == QLatin1String("replace")) {
            // As editors and version control do: a new file renamed over the old one.
            QVERIFY(testsupport::writeFile(path + QStringLiteral(".new"), "NEW TEXT\r\n"));
            QVERIFY(QFile::remove(path) && QFile::rename(path + QStringLiteral(".new"), path));
        } else {
            QVERIFY(testsupport::writeFile(path, "NEW TEXT\r\n"));
        }
        if (answer >= 0)
            f.prompts.answer(Prompts::Answer(answer));
        m.checkDocumentsOnDisk();
        QCOMPARE(f.prompts.messages().size(), 1);
        QCOMPARE(doc.GetLine(0), firstLine);
        // Text that is no longer on disk counts as unsaved, so closing asks about it.
        QCOMPARE(doc.Modified(), change == QLatin1String("delete") || typed);
        QCOMPARE(f.prompts.pending(), 0);
        m.checkDocumentsOnDisk(); // asked once per change
        QCOMPARE(f.prompts.messages().size(), 1);
    }

    void badSettingsStore_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("writable");
        QByteArray binary(4096, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 7919) % 251);
        QTest::newRow("binary") << binary << true;
        QTest::newRow("cut short") << QByteArray("[Startup]\nDefaultDevice=71\n[Sta") << true;
        QTest::newRow("unwritable") << QByteArray() << false;
    }
    void badSettingsStore() {
        QFETCH(QByteArray, content);
        QFETCH(bool, writable);
        FrameFixture f;
        // A store that cannot be written: its folder is a file.
        const QString file = writable ? f.dir.filePath(QStringLiteral("bad.ini"))
                                      : f.dir.filePath(QStringLiteral("plain file/settings.ini"));
        if (writable)
            QVERIFY(testsupport::writeFile(file, content));
        else
            QVERIFY(testsupport::writeFile(f.dir.filePath(QStringLiteral("plain file")), "x"));
        f.settings = std::make_unique<Settings>(f.paths, file);
        MDIMain& m = f.start();
        QVERIFY(f.active());
        QCOMPARE(m.width(), qRound(9000 * m.logicalDpiY() / 1440.0));
        QCOMPARE(m.toolBars().Text(ids::ID_Device), m.toolBars().ListText(ids::ID_Device, 71));
        QVERIFY(f.prompts.messages().isEmpty());
        QVERIFY(f.close());
        const QStringList said = f.prompts.messages();
        QCOMPARE(said.size(), writable ? 0 : 1);
        if (!writable)
            QVERIFY(said.first().startsWith(QStringLiteral("The settings could not be saved to ") +
                                            QDir::toNativeSeparators(file)));
        else
            QCOMPARE(Settings(f.paths, file).read(settings::startup::DefaultDevice), QStringLiteral("71"));
    }

    void missingHelpPage() {
        FrameFixture f; // its application folder holds no help pages
        MDIMain& m = f.start();
        m.help().ShowHelpTopic(1);
        auto* browser = qobject_cast<QTextBrowser*>(m.help().window());
        QVERIFY(browser && browser->isVisible());
        QVERIFY2(browser->toPlainText().contains(QStringLiteral("is not installed")), qPrintable(browser->toPlainText()));
        m.help().QuitHelp();
    }

    void badDeviceList_data() {
        QTest::addColumn<QByteArray>("content"); // null: no file
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("devices");
        QByteArray many;
        for (int i = 0; i < 100000; ++i)
            many += "PIC" + QByteArray::number(i) + ":PORTA=6,PORTB=8,PBC\r\n";
        QByteArray binary(3000, '\0');
        for (int i = 0; i < binary.size(); ++i)
            binary[i] = char((i * 31) % 256);
        QTest::newRow("missing") << QByteArray() << "Get Micro Listing Error: File not found" << 0;
        QTest::newRow("empty") << QByteArray("") << "Get Micro Listing Error: %1 lists no devices for this compiler." << 0;
        QTest::newRow("binary") << binary << "Get Micro Listing Error: %1 is not a device list: it holds binary data." << 0;
        QTest::newRow("100,000 devices") << many << "" << 100000;
    }
    void badDeviceList() {
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(int, devices);
        FrameFixture f;
        const QString list = f.path(QStringLiteral("devicedata.ide"));
        QFile::remove(list);
        if (!content.isNull())
            QVERIFY(testsupport::writeFile(list, content));
        MDIMain& m = f.start();
        QCOMPARE(f.prompts.messages().value(0), message.arg(QDir::toNativeSeparators(list)));
        QCOMPARE(m.toolBars().ListCount(ids::ID_Device), devices);
        // The editor works all the same.
        SourceView& view = f.active()->View();
        QTest::keyClicks(view.focusProxy(), QStringLiteral("xy"));
        QCOMPARE(view.Document().GetLine(0), QStringLiteral("xy"));
        if (devices) {
            m.toolBars().SetListIndex(ids::ID_Device, devices - 1);
            m.SSActiveToolBars1_ComboCloseUp(ids::ID_Device);
            QCOMPARE(m.state().DevicePorts[2], 8);
        }
    }

    void serialPortGoesAwayWhileDataFlows() {
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
        QVERIFY2(f.prompts.last().text.contains(QStringLiteral("was lost")), qPrintable(f.prompts.last().text));
        QVERIFY(!w.comm().portOpen());
        QVERIFY(board.waitForFinished(5000) || (board.kill(), board.waitForFinished()));
    }

    void compilerThatNeverEnds() {
        FrameFixture f;
        useCompiler(f, QStringLiteral("exec sleep 1000"));
        const QString doc = f.path(QStringLiteral("blink.pbp"));
        QVERIFY(testsupport::writeFile(doc, "HIGH 1\r\n"));
        MDIMain& m = f.start(doc);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QTRY_VERIFY(QFile::exists(f.dir.filePath(QStringLiteral("pid"))));
        const pid_t pid = pid_t(testsupport::readFile(f.dir.filePath(QStringLiteral("pid"))).trimmed().toLongLong());
        QVERIFY(pid > 0 && ::kill(pid, 0) == 0);
        // The editor goes on taking keys while the compiler runs.
        SourceView& view = f.active()->View();
        QTest::keyClicks(view.focusProxy(), QStringLiteral("xy"));
        QCOMPARE(view.Document().GetLine(0), QStringLiteral("xyHIGH 1"));
        f.prompts.answer(Prompts::Answer::No); // do not save
        QVERIFY(f.close());
        QTRY_VERIFY(::kill(pid, 0) != 0); // the program took its compiler down with it
    }

    void compilerFloodsItsOutput() {
        FrameFixture f;
        useCompiler(f, QStringLiteral("yes 'a line of compiler output that goes on and on' | head -c 100000000\n"
                                      "echo 'ERROR Line 2: at the very end'"));
        const QString doc = f.path(QStringLiteral("blink.pbp"));
        QVERIFY(testsupport::writeFile(doc, "HIGH 1\r\nHIGH 2\r\n"));
        MDIMain& m = f.start(doc);
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
        QCOMPARE(w.View().Document().GetLineData(1, 1) != 0, true);
        QCOMPARE(w.lastCapture()->find(2)->message, QStringLiteral(" at the very end"));
        // What was shown stays in the window; the 100 MB are not kept.
        QVERIFY(w.lastCapture()->text.isEmpty());
        QFile::remove(compilerun::capturePath(f.appFolder()));
    }
};

QTEST_MAIN(tst_Faults)
#include "tst_Faults.moc"
