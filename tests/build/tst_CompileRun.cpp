#include <QDirIterator>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <csignal>

#include "build/CaptureFile.h"
#include "build/CompileRun.h"
#include "build/CompilerScreen.h"
#include "build/RunScript.h"
#include "editor/frmEditor.h"
#include "platform/KeyCodes.h"
#include "platform/ShellServices.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

// Compile runs with real processes: compiler stand-ins written as shell scripts that record their
// arguments, their folder and their process id, then print what the test asks for.
class tst_CompileRun : public QObject {
    Q_OBJECT
private:
    static QString record(FrameFixture& f, const QString& name) { return f.dir.filePath(name); }

    static QString writeCompiler(FrameFixture& f, const QString& path, const QString& body) {
        const QString script = QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > ") +
                               runscript::shellQuote(record(f, "args")) + QStringLiteral("\npwd > ") +
                               runscript::shellQuote(record(f, "cwd")) + QStringLiteral("\necho $$ > ") +
                               runscript::shellQuote(record(f, "pid")) + u'\n' + body + u'\n';
        testsupport::writeFile(path, script.toUtf8());
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        return path;
    }

    // A frame on a ten-line program in `folder` (inside the test's folder), compiling with `body`.
    static MDIMain& start(FrameFixture& f, const QString& body, const QString& folder = "my project",
                          const QString& name = "blink.pbp") {
        const QString compiler = writeCompiler(f, f.dir.filePath("pbpw"), body);
        f.store().save(settings::startup::CompilerPathName, compiler);
        QByteArray text;
        for (int i = 1; i <= 10; ++i)
            text += "HIGH " + QByteArray::number(i) + "\r\n";
        const QString doc = f.dir.filePath(folder + u'/' + name);
        testsupport::writeFile(doc, text);
        return f.start(doc);
    }

    // Compiles the active window and waits until the run is collected.
    static bool compile(MDIMain& m, int timeout = 20000) {
        frmEditor* w = m.activeEditor();
        w->CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        return QTest::qWaitFor([w] { return w->lastCapture() && !w->CheckFile().isActive(); }, timeout);
    }

    static QList<int> markedLines(frmEditor& w) {
        QList<int> out;
        const SourceDocument& doc = w.View().Document();
        for (int i = 0; i < doc.NumLines(); ++i)
            if (doc.GetLineData(i, 1) != 0)
                out << i;
        return out;
    }

    static QString errorTools(MDIMain& m) {
        QString s;
        for (const QString* id :
             {&ids::ID_ClearError, &ids::ID_ClearAllErrors, &ids::ID_NextError, &ids::ID_PreviousError})
            s += m.toolBars().Enabled(*id) ? u'1' : u'0';
        return s;
    }

    static QStringList recorded(FrameFixture& f, const QString& name) {
        return QString::fromUtf8(testsupport::readFile(record(f, name))).split(u'\n', Qt::SkipEmptyParts);
    }

    static bool processGone(qint64 pid) { return ::kill(pid_t(pid), 0) != 0; }

private slots:
    void errorLinesAreMarkedInTheWindowThatCompiled() {
        FrameFixture f;
        f.store().save(settings::startup::CompilerCommandLineOptions, QStringLiteral("  -v   -ampasm -oq "));
        MDIMain& m = start(f, "echo 'PicBasic Pro Compiler'\n"
                              "echo 'ERROR Line 3: Bad expression.'\n"
                              "echo 'ERROR Line 7: Label missing.'\nexit 1");
        frmEditor& w = *f.active();
        QVERIFY(compile(m));
        QCOMPARE(markedLines(w), (QList<int>{2, 6}));
        QCOMPARE(errorTools(m), QStringLiteral("0111"));
        // The compiler got each option, the device and the source as words of their own, in the source's
        // folder.
        const QString device = "-p" + m.toolBars().Text(ids::ID_Device).mid(3);
        const QString doc = w.View().Document().PathName();
        QCOMPARE(recorded(f, "args"), (QStringList{"-v", "-ampasm", "-oq", device, doc}));
        QCOMPARE(recorded(f, "cwd"), QStringList{QFileInfo(doc).absolutePath()});

        CompilerScreen& screen = m.compilerScreen();
        QVERIFY(screen.isVisible());
        QCOMPARE(screen.windowTitle(), CompilerScreen::CancelledCaption);
        QVERIFY(screen.CompilerOutput().toPlainText().contains("ERROR Line 7: Label missing."));
        QVERIFY(!screen.CompileScreenTimer().isActive());
        QVERIFY(!m.state().CompileProcess);

        // Stepping through the errors shows each message, as caret tracking asks for it.
        m.SSActiveToolBars1_ToolClick(ids::ID_NextError);
        QCOMPARE(w.View().CaretY(), 2);
        w.GetErrorDescription(w.View().CaretY() + 1);
        QCOMPARE(m.PanelText(2), QStringLiteral(" Bad expression."));
        m.SSActiveToolBars1_ToolClick(ids::ID_PreviousError);
        QCOMPARE(w.View().CaretY(), 6);
        w.GetErrorDescription(w.View().CaretY() + 1);
        QCOMPARE(m.PanelText(2), QStringLiteral(" Label missing."));

        // A double-click on an error line of the output shows that line.
        QPlainTextEdit& out = screen.CompilerOutput();
        const QTextBlock third = out.document()->findBlockByNumber(1);
        QCOMPARE(third.text(), QStringLiteral("ERROR Line 3: Bad expression."));
        QTextCursor c(third);
        out.setTextCursor(c);
        const QPoint at = out.cursorRect(c).center() + QPoint(20, 0);
        QTest::mouseDClick(out.viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE(w.View().CaretY(), 2);

        m.SSActiveToolBars1_ToolClick(ids::ID_ClearAllErrors);
        QCOMPARE(markedLines(w), QList<int>{});
        QCOMPARE(errorTools(m), QStringLiteral("0000"));
    }

    void collection_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("autoClose");
        QTest::addColumn<QList<int>>("marked");
        QTest::addColumn<QString>("tools");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no errors") << "echo 'No errors.'"
                                   << "1" << QList<int>{} << "0000"
                                   << "Compiler Output - Auto Close in: 5 Secs - Esc to Cancel";
        QTest::newRow("no errors, auto close off")
            << "echo 'No errors.'"
            << "0" << QList<int>{} << "0000" << CompilerScreen::CreationCaption;
        QTest::newRow("lines 0 and past the end mark nothing")
            << "echo 'ERROR Line 0: a'; echo 'ERROR Line 99: b'"
            << "1" << QList<int>{} << "0000" << CompilerScreen::CancelledCaption;
        QTest::newRow("a line without its colon stops the reading")
            << "echo 'ERROR Line 2: a'; echo 'ERROR Line 4 b'; echo 'ERROR Line 6: c'"
            << "1" << QList<int>{1} << "0111" << CompilerScreen::CreationCaption;
        QTest::newRow("standard error and a line reported twice")
            << "echo 'ERROR Line 5: a' >&2; echo 'ERROR Line 5: b'; exit 2"
            << "1" << QList<int>{4} << "0111" << CompilerScreen::CancelledCaption;
        QTest::newRow("an error in an included file")
            << "echo 'ERROR Line 5: Bad expression. (lcd.inc)'"
            << "1" << QList<int>{} << "0000" << CompilerScreen::CancelledCaption;
    }
    void collection() {
        QFETCH(QString, body);
        QFETCH(QString, autoClose);
        QFETCH(QList<int>, marked);
        QFETCH(QString, tools);
        QFETCH(QString, caption);
        FrameFixture f;
        f.store().save(settings::startup::AutoCloseCW, autoClose);
        MDIMain& m = start(f, body);
        // Marks of an earlier run go.
        f.active()->View().Document().SetLineData(9, 1, 1);
        QVERIFY(compile(m));
        QCOMPARE(markedLines(*f.active()), marked);
        QCOMPARE(errorTools(m), tools);
        QCOMPARE(m.compilerScreen().windowTitle(), caption);
    }

    void countdown_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("ticks");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("open");
        QTest::newRow("counts down") << "5" << 4 << "Compiler Output - Auto Close in: 1 Secs - Esc to Cancel"
                                     << true;
        QTest::newRow("closes at 0") << "5" << 5 << "Compiler Output - Auto Close in: 0 Secs - Esc to Cancel"
                                     << false;
        QTest::newRow("0 never reaches 0")
            << "0" << 3 << "Compiler Output - Auto Close in:-3 Secs - Esc to Cancel" << true;
    }
    void countdown() {
        QFETCH(QString, stored);
        QFETCH(int, ticks);
        QFETCH(QString, caption);
        QFETCH(bool, open);
        FrameFixture f;
        MDIMain& m = f.start();
        CompilerScreen& screen = m.compilerScreen();
        screen.startRun(*f.active());
        QVERIFY(screen.startCountdown(stored));
        for (int i = 0; i < ticks; ++i)
            screen.CompileScreenTimer_Timer();
        QCOMPARE(screen.windowTitle(), caption);
        QCOMPARE(screen.isVisible(), open);
        QCOMPARE(screen.CompileScreenTimer().isActive(), open);
    }

    void escapeCancelsTheCountdownThenCloses() {
        FrameFixture f;
        MDIMain& m = f.start();
        CompilerScreen& screen = m.compilerScreen();
        screen.startRun(*f.active());
        screen.startCountdown("5");
        QTest::keyClick(&screen.CompilerOutput(), Qt::Key_Escape);
        QCOMPARE(screen.windowTitle(), CompilerScreen::CancelledCaption);
        QVERIFY(!screen.CompileScreenTimer().isActive());
        QVERIFY(screen.isVisible());
        QTest::keyClick(&screen.CompilerOutput(), Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
        QVERIFY(!screen.startCountdown("abc"));
        // The box leaves 100 twips free at the right and the bottom.
        screen.show();
        screen.resize(400, 300);
        const int margin = qRound(100 * screen.logicalDpiX() / 1440.0);
        QCOMPARE(screen.CompilerOutput().geometry(), QRect(0, 0, 400 - margin, 300 - margin));
    }

    void errorDescriptions() {
        FrameFixture f;
        MDIMain& m = start(f, "echo 'ERROR Line 2: a'; echo 'ERROR Line 2: b'; echo 'ERROR Line 4 c'");
        frmEditor& w = *f.active();
        QVERIFY(compile(m));
        w.GetErrorDescription(2);
        QCOMPARE(m.PanelText(2), QStringLiteral(" a"));
        QVERIFY(f.prompts.messages().isEmpty());
        // A line after the one without its colon cannot be told apart: the reading says so.
        w.GetErrorDescription(4);
        QCOMPARE(m.PanelText(2), QStringLiteral(" a"));
        QCOMPARE(f.prompts.messages(),
                 QStringList{"GetErrorDescription Error:Invalid procedure call or argument"});
    }

    void aDocumentWithoutAPathIsNotCompiled() {
        FrameFixture f;
        MDIMain& m = start(f, "true");
        f.active()->View().Document().SetPathName(QString());
        f.active()->GoCompile();
        QCOMPARE(f.prompts.messages().size(), 2);
        QVERIFY(f.prompts.messages().first().startsWith("Error! Invalid Path or File Name.."));
        QCOMPARE(f.prompts.messages().last(),
                 QStringLiteral("GoCompile Error:Invalid procedure call or argument"));
        QVERIFY(!QFile::exists(compilerun::scriptPath(f.appFolder())));
        QVERIFY(!m.state().CompileProcess);
    }

    void escapeBeforeTheRunEndsStillCollects() {
        FrameFixture f;
        MDIMain& m = start(f, "sleep 1\necho 'ERROR Line 2: late'");
        frmEditor& w = *f.active();
        w.CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        CompilerScreen& screen = m.compilerScreen();
        QCOMPARE(screen.CompilerOutput().toPlainText(), CompilerScreen::WaitText);
        QTest::keyClick(&screen.CompilerOutput(), Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
        // The poll goes on, and the window stays usable meanwhile.
        QTest::qWait(200);
        QVERIFY(w.CheckFile().isActive());
        QVERIFY(m.state().CompileProcess);
        QTRY_VERIFY_WITH_TIMEOUT(w.lastCapture(), 20000);
        QCOMPARE(markedLines(w), QList<int>{1});
        QVERIFY(!screen.isVisible());
        QVERIFY(screen.CompilerOutput().toPlainText().contains("late"));
    }

    void nothingInAPathRunsAsACommand() {
        FrameFixture f;
        // Each of these would create a file named pwned... if any part of a path were executed.
        const QString folder = QStringLiteral("it's; $(touch pwned1) & `touch pwned2` \u00DCn\u00EF");
        const QString name = QStringLiteral("a\"b\\ $(touch pwned3);|touch pwned4 '.pbp");
        const QString compilerFolder = f.dir.filePath(QStringLiteral("c $(touch pwned5)'"));
        MDIMain& m = start(f, "echo 'ERROR Line 4: x'", folder, name);
        const QString compiler = writeCompiler(f, compilerFolder + QStringLiteral("/pbp `touch pwned6`"),
                                               "echo 'ERROR Line 4: x'");
        f.store().save(settings::startup::CompilerPathName, compiler);
        f.store().save(settings::startup::CompilerCommandLineOptions,
                       QStringLiteral("'-x;touch pwned7' $HOME"));
        QVERIFY(compile(m));
        QCOMPARE(markedLines(*f.active()), QList<int>{3});
        const QStringList args = recorded(f, "args");
        QCOMPARE(args.first(), QStringLiteral("-x;touch pwned7"));
        QCOMPARE(args.at(1), QStringLiteral("$HOME"));
        QCOMPARE(args.last(), f.active()->View().Document().PathName());
        QCOMPARE(recorded(f, "cwd"), QStringList{QFileInfo(args.last()).absolutePath()});
        QDirIterator it(f.dir.path(), {"pwned*"}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
        QVERIFY(QDir::current().entryList({"pwned*"}).isEmpty());
    }

    void aMissingCompilerOpensTheOptions() {
        FrameFixture f;
        MDIMain& m = start(f, "true");
        f.store().save(settings::startup::CompilerPathName, f.dir.filePath("no such compiler"));
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = dialog->windowTitle();
                dialog->close();
            }
        });
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QCOMPARE(opened, QStringLiteral("Compiler Options"));
        QVERIFY(
            f.prompts.messages().value(0).startsWith(QStringLiteral("Error! Invalid Path or File Name..")));
        QVERIFY(!QFile::exists(compilerun::scriptPath(f.appFolder())));
        QVERIFY(!f.active()->CheckFile().isActive());
    }

    void aWindowsCompilerNeedsWine() {
        FrameFixture f;
        MDIMain& m = start(f, "true");
        const QString exe = writeCompiler(f, f.dir.filePath("PBPW.EXE"), "true");
        f.store().save(settings::startup::CompilerPathName, exe);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", f.dir.path().toUtf8());
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        qputenv("PATH", path);
        QCOMPARE(f.prompts.messages(),
                 QStringList{"GoCompile Error:Wine is needed to run the Windows compiler " + exe +
                             ", and the wine command was not found."});
        QVERIFY(!f.active()->CheckFile().isActive());
    }

    void aNewRunSupersedesOneStillGoing() {
        FrameFixture f;
        MDIMain& m = start(f, "sleep 30\necho 'ERROR Line 1: stale'");
        frmEditor& w = *f.active();
        // An earlier capture lying about is never collected.
        testsupport::writeFile(compilerun::capturePath(f.appFolder()), "ERROR Line 9: older\n");
        w.CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QVERIFY(!QFile::exists(compilerun::capturePath(f.appFolder())));
        QTRY_VERIFY(QFile::exists(record(f, "pid")));
        const qint64 first = recorded(f, "pid").value(0).toLongLong();
        QTest::qWait(100);
        QVERIFY(!w.lastCapture());

        writeCompiler(f, f.dir.filePath("pbpw"), "echo 'ERROR Line 2: fresh'");
        QVERIFY(compile(m));
        QCOMPARE(markedLines(w), QList<int>{1});
        QTRY_VERIFY(processGone(first));
        QVERIFY(m.compilerScreen().CompilerOutput().toPlainText().contains("fresh"));
    }

    void tenMegabytesOfOutput() {
        FrameFixture f;
        MDIMain& m = start(f, "yes 'a line of compiler output that goes on and on' | head -c 10000000\n"
                              "echo\necho 'ERROR Line 8: at the very end'");
        QVERIFY(compile(m, 60000));
        QCOMPARE(markedLines(*f.active()), QList<int>{7});
        const QString shown = m.compilerScreen().CompilerOutput().toPlainText();
        QVERIFY(shown.size() < 3 * 1024 * 1024);
        QVERIFY(shown.endsWith(compilerun::capturePath(f.appFolder()) + ")"));
        QCOMPARE(f.active()->lastCapture()->find(8)->message, QStringLiteral(" at the very end"));
    }

    void aShownRunUsesATerminal() {
        FrameFixture f;
        MDIMain& m = start(f, "echo 'ERROR Line 6: shown'");
        f.store().save(settings::startup::DosWindow, "0");
        // A terminal stand-in that records how it was asked and runs the command after -e.
        const QString terminal = f.dir.filePath("term");
        testsupport::writeFile(terminal, "#!/bin/sh\nprintf '%s\\n' \"$@\" > " +
                                             runscript::shellQuote(record(f, "term")).toUtf8() +
                                             "\nshift\nexec \"$@\" >/dev/null\n");
        QFile::setPermissions(terminal, QFile::permissions(terminal) | QFileDevice::ExeOwner);
        qputenv("TERMINAL", terminal.toUtf8());
        const bool collected = compile(m);
        qunsetenv("TERMINAL");
        QVERIFY(collected);
        QCOMPARE(recorded(f, "term"), (QStringList{"-e", "/bin/sh", compilerun::scriptPath(f.appFolder())}));
        QCOMPARE(markedLines(*f.active()), QList<int>{5});
        // A terminal that cannot start says so; the output window still opens and the poll goes on.
        testsupport::writeFile(terminal, "#!/no/such/interpreter\n");
        qputenv("TERMINAL", terminal.toUtf8());
        m.compilerScreen().close();
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        qunsetenv("TERMINAL");
        QCOMPARE(f.prompts.messages(), QStringList{"Unable to launch application."});
        QVERIFY(m.compilerScreen().isVisible());
        QVERIFY(f.active()->CheckFile().isActive());
        QVERIFY(!m.state().CompileProcess);
        f.active()->CheckFile().stop();
        if (!shell::terminalEmulator().isEmpty())
            QSKIP("A terminal emulator is installed; the fallback to a hidden run is not reachable here.");
        QFile::remove(record(f, "term"));
        QVERIFY(compile(m));
        QVERIFY(!QFile::exists(record(f, "term")));
        QCOMPARE(markedLines(*f.active()), QList<int>{5});
    }

    void anIncludedFileOpensAtItsLine() {
        FrameFixture f;
        MDIMain& m = start(f, "echo 'ERROR Line 5: Bad expression. (lcd.inc)'\necho 'ERROR Line 2: main'");
        frmEditor& main = *f.active();
        const QString inc = f.dir.filePath("my project/lcd.inc");
        testsupport::writeFile(inc, "a\nb\nc\nd\ne\nf\n");
        QVERIFY(compile(m));
        QCOMPARE(markedLines(main), QList<int>{1});
        CompilerScreen& screen = m.compilerScreen();
        for (int twice = 0; twice < 2; ++twice) {
            screen.CompilerOutput().setTextCursor(
                QTextCursor(screen.CompilerOutput().document()->firstBlock()));
            screen.CompilerOutput_DblClick();
            QVERIFY(m.activeEditor() != &main);
            QCOMPARE(m.activeEditor()->caption(), QDir::toNativeSeparators(inc));
            QCOMPARE(m.activeEditor()->View().CaretY(), 4);
        }
        QCOMPARE(m.editors().size(), 2);
        QVERIFY(f.prompts.messages().isEmpty());
        screen.CompilerOutput().setTextCursor(
            QTextCursor(screen.CompilerOutput().document()->findBlockByNumber(1)));
        screen.CompilerOutput_DblClick();
        QCOMPARE(m.activeEditor(), &main);
        QCOMPARE(main.View().CaretY(), 1);
    }

    void aWindowsCompilerRunsUnderWine() {
        const QString gxx = QStandardPaths::findExecutable("x86_64-w64-mingw32-g++");
        const QString wine = QStandardPaths::findExecutable("wine");
        if (gxx.isEmpty() || wine.isEmpty())
            QSKIP("Needs wine and the MinGW cross compiler x86_64-w64-mingw32-g++.");
        FrameFixture f;
        MDIMain& m = start(f, "true");
        // A console program that names its last argument and reports two errors.
        const QString source = f.dir.filePath("fake.cpp");
        testsupport::writeFile(source, "#include <cstdio>\nint main(int argc, char** argv) {\n"
                                       "std::printf(\"source %s\\n\", argv[argc - 1]);\n"
                                       "std::printf(\"ERROR Line 3: from Windows\\n\");\n"
                                       "std::printf(\"ERROR Line 9: again\\n\");\nreturn 1;\n}\n");
        const QString exe = f.dir.filePath("PBPW.EXE");
        QProcess build;
        build.start(gxx, {"-static", "-O0", "-o", exe, source});
        QVERIFY(build.waitForFinished(120000));
        QCOMPARE(build.exitCode(), 0);
        // Wine's first start on a machine builds its prefix, which can take long.
        QProcess probe;
        probe.start(wine, {exe});
        if (!probe.waitForFinished(45000)) {
            probe.kill();
            probe.waitForFinished();
            QSKIP("Wine takes longer than 45 seconds to start here.");
        }
        f.store().save(settings::startup::CompilerPathName, exe);
        QVERIFY(compile(m, 30000));
        QCOMPARE(markedLines(*f.active()), (QList<int>{2, 8}));
        const QString out = m.compilerScreen().CompilerOutput().toPlainText();
        QVERIFY2(out.contains(QRegularExpression("source [A-Z]:\\\\.*blink\\.pbp")), qPrintable(out));
    }
};

QTEST_MAIN(tst_CompileRun)
#include "tst_CompileRun.moc"
