#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>

#include "toolchain/CaptureFile.h"
#include "toolchain/CompileRun.h"
#include "toolchain/CompilerScreen.h"
#include "toolchain/RunScript.h"
#include "platform/ShellServices.h"
#include "support/FrameTest.h"

#include <qt_windows.h>

// What only Windows does: the settings in the registry, the compile through Runpb.bat and the command
// interpreter, short paths, and the programmer started on the document's HEX file. The compiler and the
// programmer are standin.exe (beside this test), copied into folders whose names have blanks and
// letters outside ASCII.
class tst_Windows : public QObject {
    Q_OBJECT
private:
    static inline const QString Foreign = QStringLiteral("\u00DCbung \u00EF\u00F1");

    // The stand-in copied to `path`, printing `output`.
    static QString standin(const QString& path, const QByteArray& output) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(path);
        if (!QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/standin.exe"), path))
            return {};
        testsupport::writeFile(path + QStringLiteral(".out"), output);
        return path;
    }

    // What the stand-in at `path` recorded: its folder, then its arguments.
    static QStringList recorded(const QString& path) {
        return QString::fromUtf8(testsupport::readFile(path + QStringLiteral(".log")))
            .split(u'\n', Qt::SkipEmptyParts);
    }

    // The file's one name: a short path in its long form, then resolved.
    static QString canonical(const QString& path) {
        const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
        const DWORD needed = GetLongPathNameW(wide.c_str(), nullptr, 0);
        std::wstring buffer(needed, L'\0');
        const DWORD written = needed ? GetLongPathNameW(wide.c_str(), buffer.data(), needed) : 0;
        buffer.resize(written < needed ? written : 0);
        return QFileInfo(buffer.empty() ? path : QString::fromStdWString(buffer)).canonicalFilePath();
    }

    static bool plainShort(const QString& path) {
        for (const QChar c : path)
            if (c == u' ' || c.unicode() > 127)
                return false;
        return true;
    }

private slots:
    // A compile and the programmer change to the document's and the programmer's folder, and Windows
    // removes no folder that is a program's current one.
    void cleanup() { QDir::setCurrent(QCoreApplication::applicationDirPath()); }

    // The store is the registry (HKEY_CURRENT_USER\Software\Pinwright\Pinwright); what is saved is
    // there for the system's own tool and comes back unchanged. The test writes under a branch of its
    // own application name and removes it.
    void settingsLiveInTheRegistry() {
        const QString app = QStringLiteral("PinwrightTest");
        const QList<std::pair<QString, QString>> rows{
            {"CompilerPathName", "C:\\Program Files\\PBP\\PBPW.EXE"},
            {"CompilerCommandLineOptions", "-ampasm, -v"},
            {"LastFile", "C:\\" + Foreign + "\\blink led.pbp"},
            {"Empty", ""}};
        QTemporaryDir dir;
        {
            Settings store(AppPaths::forFolder(dir.path()));
            QCOMPARE(store.location(), QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Pinwright\\Pinwright"));
            for (const auto& [key, value] : rows)
                store.Save(app, "Startup", key, value);
            QVERIFY(store.sync());
        }
        const Settings again(AppPaths::forFolder(dir.path()));
        QProcess reg;
        reg.start("reg.exe", {"query", "HKCU\\Software\\Pinwright\\Pinwright\\" + app + "\\Startup"});
        QVERIFY(reg.waitForFinished(60000));
        const QString listed = QString::fromLocal8Bit(reg.readAllStandardOutput());
        for (const auto& [key, value] : rows) {
            QCOMPARE(again.Read(app, "Startup", key, "default"), value);
            // The system's tool sees each value as text; those in ASCII it shows as they are.
            const QRegularExpression line("^[ \t]*" + key + "[ \t]+REG_SZ[ \t]*(.*)$",
                                          QRegularExpression::MultilineOption);
            const QRegularExpressionMatch m = line.match(listed);
            QVERIFY2(m.hasMatch(), qPrintable(key + " not in:\n" + listed));
            if (value.toLatin1() == value.toUtf8())
                QCOMPARE(m.captured(1).trimmed(), value);
        }
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Pinwright", "Pinwright").remove(app);
    }

    // The short form of a path names the same file in ASCII without blanks; a missing file has none.
    void shortPaths() {
        QTemporaryDir dir;
        const QString file = dir.filePath(Foreign + "/my long project/blink led.pbp");
        QVERIFY(testsupport::writeFile(file, "HIGH 1\r\n"));
        const QString got = shell::shortPath(file);
        QVERIFY2(plainShort(got), qPrintable(got));
        QVERIFY(got.contains(u'\\') && !got.contains(u'/'));
        QCOMPARE(canonical(got), canonical(file));
        QCOMPARE(shell::shortPath(dir.filePath(Foreign + "/none.pbp")), QString());
    }

    // A compile writes Runpb.bat, the command interpreter runs it, the compiler's output is collected
    // from temp.dat and its error lines are marked, all through folders with blanks and foreign letters.
    void compileThroughTheBatchFile() {
        FrameFixture f;
        const QString compiler =
            standin(f.dir.filePath("compiler " + Foreign + "/PBPW.EXE"),
                    "PicBasic Pro Compiler\nERROR Line 3: Bad expression.\nERROR Line 7: Label missing.\n");
        QVERIFY(!compiler.isEmpty());
        f.store().save(settings::startup::CompilerPathName, QDir::toNativeSeparators(compiler));
        f.store().save(settings::startup::CompilerCommandLineOptions, " -v ");
        QByteArray text;
        for (int i = 1; i <= 10; ++i)
            text += "HIGH " + QByteArray::number(i) + "\r\n";
        const QString doc = f.dir.filePath("project " + Foreign + "/blink led.pbp");
        testsupport::writeFile(doc, text);
        MDIMain& m = f.start(doc);
        frmEditor& w = *f.active();
        w.CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QVERIFY(QTest::qWaitFor([&w] { return w.lastCapture() && !w.CheckFile().isActive(); }, 60000));
        QCOMPARE(f.prompts.messages(), QStringList{});

        QStringList marked;
        for (int i = 0; i < w.View().Document().NumLines(); ++i)
            if (w.View().Document().GetLineData(i, 1) != 0)
                marked << QString::number(i);
        QCOMPARE(marked, (QStringList{"2", "6"}));
        w.GetErrorDescription(7);
        QCOMPARE(m.PanelText(2), QStringLiteral(" Label missing."));
        QVERIFY(m.compilerScreen().CompilerOutput().toPlainText().contains("ERROR Line 3: Bad expression."));

        // The batch file: six lines in the system's code page, every path in its short form.
        const QString script = compilerun::scriptPath(f.appFolder());
        QCOMPARE(QFileInfo(script).fileName(), QStringLiteral("Runpb.bat"));
        const QStringList lines = QString::fromLocal8Bit(testsupport::readFile(script)).split("\r\n");
        QCOMPARE(lines.size(), 7);
        QCOMPARE(lines.first(), QStringLiteral("@ECHO OFF"));
        QVERIFY2(plainShort(lines.at(4).section(u' ', 0, 0)), qPrintable(lines.at(4)));

        // The compiler ran in the document's folder with the options, the device and the document.
        const QStringList got = recorded(compiler);
        QCOMPARE(got.size(), 4);
        QCOMPARE(canonical(got.at(0)), canonical(QFileInfo(doc).absolutePath()));
        QCOMPARE(got.at(1), QStringLiteral("-v"));
        QCOMPARE(got.at(2), "-p" + m.toolBars().Text(ids::ID_Device).mid(3));
        QCOMPARE(canonical(got.at(3)), canonical(doc));
        QVERIFY2(plainShort(got.at(3)), qPrintable(got.at(3)));
    }

    // While the compiler runs, the batch file's redirection holds temp.dat open for writing, and the
    // poll collects nothing, though part of the output is there; the run is collected when it ends.
    void aCaptureStillWrittenIsNotCollected() {
        FrameFixture f;
        const QString compiler = standin(f.dir.filePath("pbp/PBPW.EXE"),
                                         "ERROR Line 2: early.\nWAIT\nERROR Line 4: late.\n");
        QVERIFY(!compiler.isEmpty());
        f.store().save(settings::startup::CompilerPathName, QDir::toNativeSeparators(compiler));
        MDIMain& m = f.startWith("blink.pbp", "a\r\nb\r\nc\r\nd\r\ne\r\n");
        frmEditor& w = *f.active();
        w.CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        const QString capture = compilerun::capturePath(f.appFolder());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(compiler + ".log") && QFileInfo(capture).size() > 0, 60000);
        QTest::qWait(300); // many polls
        QVERIFY(!w.lastCapture());
        QVERIFY(w.CheckFile().isActive());
        testsupport::writeFile(compiler + ".go", "");
        QVERIFY(QTest::qWaitFor([&w] { return w.lastCapture() && !w.CheckFile().isActive(); }, 60000));
        QVERIFY(w.lastCapture()->find(2) && w.lastCapture()->find(4));
    }

    // The programmer starts in its own folder with %HEX%, %SOURCE% and %DEVICE% filled in, each a whole
    // argument however many blanks and foreign letters the paths hold.
    void programmerGetsTheHexFile() {
        FrameFixture f;
        const QString doc = f.dir.filePath("work " + Foreign + "/blink led.pbp");
        testsupport::writeFile(doc, "HIGH 1\r\n");
        const QString programmer = standin(f.dir.filePath("epic " + Foreign + "/EPICWIN.EXE"), "");
        QVERIFY(!programmer.isEmpty());
        MDIMain& m = f.start(doc);
        f.store().save(settings::startup::ProgrammerPathName, QDir::toNativeSeparators(programmer));
        f.store().save(settings::startup::ProgrammerCommandLineOptions, " -p %DEVICE% \"%HEX%\"  %SOURCE%  ");
        m.SSActiveToolBars1_ToolClick(ids::ID_Epic);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(programmer + ".log"), 60000);
        const QStringList got = recorded(programmer);
        QCOMPARE(got.size(), 5);
        QCOMPARE(canonical(got.at(0)), canonical(QFileInfo(programmer).absolutePath()));
        QCOMPARE(got.at(1), QStringLiteral("-p"));
        QCOMPARE(got.at(2), m.toolBars().Text(ids::ID_Device).mid(3));
        QCOMPARE(QDir::fromNativeSeparators(got.at(3)), f.dir.filePath("work " + Foreign + "/blink led.hex"));
        QCOMPARE(canonical(got.at(4)), canonical(doc));
        QCOMPARE(f.prompts.messages(), QStringList{});
    }
};

QTEST_MAIN(tst_Windows)
#include "tst_Windows.moc"
