#include <QDirIterator>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBlock>

#include "platform/ShellServices.h"
#include "support/FrameTest.h"
#include "toolchain/CaptureFile.h"
#include "toolchain/CompileRun.h"
#include "toolchain/CompilerScreen.h"
#include "toolchain/RunScript.h"

// Compile runs with real processes: compiler stand-ins (testsupport::writeCompiler) that record their
// arguments, their folder and their process id, then follow the steps the test gives.
class tst_CompileRun : public QObject {
    Q_OBJECT
private:
    // A frame on a ten-line program at `doc` (inside the test's folder), compiling with `steps`.
    // `statement` begins each line ("HIGH 1" ...).
    static MDIMain& start(FrameFixture& f, const QStringList& steps,
                          const QString& doc = "my project/blink.pbp", const QString& compiler = "pbpw",
                          const QByteArray& statement = "HIGH ") {
        f.store().save(settings::startup::CompilerPathName,
                       QDir::toNativeSeparators(testsupport::writeCompiler(f.dir.filePath(compiler), steps)));
        QByteArray text;
        for (int i = 1; i <= 10; ++i)
            text += statement + QByteArray::number(i) + "\r\n";
        testsupport::writeFile(f.dir.filePath(doc), text);
        return f.start(f.dir.filePath(doc));
    }

    // Compiles the active window and waits until the run is collected.
    static bool compile(MDIMain& m, int timeout = 20000) {
        frmEditor* w = m.activeEditor();
        w->CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        return QTest::qWaitFor([w] { return w->lastCapture() && !w->CheckFile().isActive(); }, timeout);
    }

    // The active window's error marks and the Clear Error, Clear All Errors, Next Error and Previous
    // Error tools (1 enabled, 0 grey), as "2,6|0111".
    static QString errors(MDIMain& m) {
        QStringList marked;
        const SourceDocument& doc = m.activeEditor()->View().Document();
        for (int i = 0; i < doc.NumLines(); ++i)
            if (doc.GetLineData(i, 1) != 0)
                marked << QString::number(i);
        QString tools;
        for (const QString* id :
             {&ids::ID_ClearError, &ids::ID_ClearAllErrors, &ids::ID_NextError, &ids::ID_PreviousError})
            tools += m.toolBars().Enabled(*id) ? u'1' : u'0';
        return marked.join(u',') + u'|' + tools;
    }

    // A double-click on line `block` of the compiler's output.
    static void doubleClickOutput(MDIMain& m, int block) {
        QPlainTextEdit& out = m.compilerScreen().CompilerOutput();
        out.setTextCursor(QTextCursor(out.document()->findBlockByNumber(block)));
        m.compilerScreen().CompilerOutput_DblClick();
    }

    static QString compilerPath(FrameFixture& f) {
        return QDir::fromNativeSeparators(f.store().read(settings::startup::CompilerPathName));
    }

private slots:

    // The errors are marked in the window that compiled. Nothing in a path or in the options runs as a
    // command: any part that did would create a file named pwned...
    void errorLinesAreMarkedInTheWindowThatCompiled() {
        FrameFixture f;
#ifdef Q_OS_WIN
        // Windows names hold none of " \\ | < >: the command interpreter's own specials instead.
        const QString folder = QStringLiteral("it's & copy nul pwned1 (%OS%) ^ \u00DCn\u00EF");
        const QString docName = QStringLiteral("/a & copy nul pwned3 ;!x.pbp"),
                      compiler = QStringLiteral("c & copy nul pwned5/pbp (x)");
        const QString options = QStringLiteral(" -x  -v ");
        const QStringList words{"-x", "-v"};
#else
        const QString folder = QStringLiteral("it's; $(touch pwned1) & `touch pwned2` \u00DCn\u00EF");
        const QString docName = QStringLiteral("/a\"b\\ $(touch pwned3);|touch pwned4 '.pbp"),
                      compiler = QStringLiteral("c $(touch pwned5)'/pbp `touch pwned6`");
        const QString options = QStringLiteral(" '-x;touch pwned7'  $HOME -v ");
        const QStringList words{"-x;touch pwned7", "$HOME", "-v"};
#endif
        MDIMain& m = start(f,
                           {"PicBasic Pro Compiler", "ERROR Line 3: Bad expression.",
                            "ERROR Line 5: Bad. (lcd.inc)", "ERROR Line 7: Label missing.", "EXIT 1"},
                           folder + docName, compiler);
        f.store().save(settings::startup::CompilerCommandLineOptions, options);
        frmEditor& w = *f.active();
        const QString inc = f.dir.filePath(folder + QStringLiteral("/lcd.inc"));
        testsupport::writeFile(inc, "a\nb\nc\nd\ne\nf\n");
        QVERIFY(compile(m));
        QCOMPARE(errors(m), QStringLiteral("2,6|0111"));
        // Each option, the device and the source arrive as words of their own, in the source's folder.
        const QString device = "-p" + m.toolBars().Text(ids::ID_Device).mid(3);
        const QString doc = f.doc().PathName();
        QStringList got = testsupport::compilerRecord(compilerPath(f));
        QCOMPARE(got.size(), words.size() + 3);
        using testsupport::longPath;
        QCOMPARE(longPath(got.takeFirst()), longPath(QFileInfo(doc).absolutePath()));
        QCOMPARE(longPath(got.takeLast()), longPath(doc));
        QCOMPARE(got, words + QStringList{device});
        QDirIterator it(f.dir.path(), {"pwned*"}, QDir::Files, QDirIterator::Subdirectories);
        QVERIFY2(!it.hasNext(), qPrintable(it.hasNext() ? it.next() : QString()));
        QVERIFY(QDir::current().entryList({"pwned*"}).isEmpty());

        QVERIFY(!m.state().CompileProcess);
        // A double-click on an error line of the output shows that line.
        QPlainTextEdit& out = m.compilerScreen().CompilerOutput();
        QTextCursor c(out.document()->findBlockByNumber(1));
        QCOMPARE(c.block().text(), QStringLiteral("ERROR Line 3: Bad expression."));
        out.setTextCursor(c);
        QTest::mouseDClick(out.viewport(), Qt::LeftButton, {}, out.cursorRect(c).center() + QPoint(20, 0));
        QTRY_COMPARE(w.View().CaretY(), 2);
        // An included file opens at its line, once.
        for (int twice = 0; twice < 2; ++twice) {
            doubleClickOutput(m, 2);
            QCOMPARE(m.activeEditor()->caption(), QDir::toNativeSeparators(inc));
            QCOMPARE(m.activeEditor()->View().CaretY(), 4);
        }
        QCOMPARE(m.editors().size(), 2);
        doubleClickOutput(m, 3);
        QCOMPARE(m.activeEditor(), &w);
        QCOMPARE(w.View().CaretY(), 6);
        // The caret entering a marked line, off its keyword, enables Clear Error; an unmarked one greys it.
        w.View().MoveCaret(6, 2);
        QCOMPARE(errors(m), QStringLiteral("2,6|1111"));
        w.View().MoveCaret(6, 0);
        QCOMPARE(errors(m), QStringLiteral("2,6|0111"));
        QVERIFY(f.prompts.messages().isEmpty());
    }

    // Each message travels with its mark through edits, undo and redo: Next and Previous Error show,
    // as "caret line|status message", the message of the line the caret lands on.
    void messagesFollowTheirLines() {
        FrameFixture f;
        // Lines such as "x = 4": the caret at their start stands on no statement, whose help would show.
        MDIMain& m = start(f,
                           {"ERROR Line 4: four.", "ERROR Line 2: in the include. (inc.bas)",
                            "ERROR Line 8: eight.", "ERROR Line 4: four again."},
                           "my project/blink.pbp", "pbpw", "x = ");
        testsupport::writeFile(f.dir.filePath("my project/inc.bas"), "a\nb\nc\n");
        QVERIFY(compile(m));
        QCOMPARE(errors(m), QStringLiteral("3,7|0111"));
        frmEditor& w = *f.active();
        SourceView& v = w.View();
        // The include's error is not the message of the document's own line 2.
        m.SetPanelText(2, QStringLiteral("kept"));
        w.GetErrorDescription(2);
        QCOMPARE(m.PanelText(2), QStringLiteral("kept"));
        const auto step = [&](const QString& id) {
            m.SSActiveToolBars1_ToolClick(id);
            return QString::number(v.CaretY()) + u'|' + m.PanelText(2);
        };
        const QString next = ids::ID_NextError, previous = ids::ID_PreviousError;
        const std::tuple<const char*, QStringList> rows[] = {
            {"", {"3| four.", "7| eight."}},       {"insert", {"4| four.", "8| eight.", "4| four."}},
            {"insert", {"5| four.", "9| eight."}}, {"undo", {"4| four.", "8| eight."}},
            {"undo", {"3| four.", "7| eight."}},   {"redo", {"4| four.", "8| eight."}},
            {"delete", {"3| four.", "7| eight."}}};
        for (const auto& [edit, landings] : rows) {
            const QString what = QString::fromLatin1(edit);
            v.MoveCaret(0, 0);
            if (what == u"insert")
                QTest::keyClick(v.focusProxy(), Qt::Key_Return);
            else if (what == u"delete")
                QTest::keyClick(v.focusProxy(), Qt::Key_Delete);
            else if (!what.isEmpty())
                m.SSActiveToolBars1_ToolClick(what == u"undo" ? ids::ID_Undo : ids::ID_Redo);
            v.MoveCaret(0, 0);
            QStringList got;
            for (int i = 0; i < landings.size(); ++i)
                got << step(i < 2 ? next : previous);
            QCOMPARE(what + u'>' + got.join(u','), what + u'>' + landings.join(u','));
        }
    }

    // An error in an INCLUDEd file marks that file's lines, with its message and Next/Previous Error,
    // whether its window was open at the collection or opens later from the output window or by Open
    // Include; the document that compiled marks only its own lines.
    void errorsInAnIncludedFile() {
        for (const QString how : {"open before", "output window", "open include"}) {
            FrameFixture f;
            MDIMain& m = start(f,
                               {"ERROR Line 2: Bad token. (INC.BAS)", "ERROR Line 3: own.",
                                "ERROR Line 4: not ours. (other.bas)"},
                               "my project/blink.pbp", "pbpw", "x = ");
            frmEditor& w = *f.active();
            w.View().Document().InsertImpl(0, 10, QStringLiteral("INCLUDE \"inc.bas\""));
            const QString inc = f.dir.filePath("my project/inc.bas");
            testsupport::writeFile(inc, "a\nb\nc\nd\ne\n");
            testsupport::writeFile(f.dir.filePath("my project/other.bas"), "a\nb\nc\nd\ne\n");
            if (how == u"open before") {
                QVERIFY(m.OpenDocumentWindow(QDir::toNativeSeparators(inc)));
                m.mdiArea().setActiveSubWindow(&w);
            }
            QVERIFY(compile(m));
            QCOMPARE(how + u'>' + errors(m), how + u'>' + "2|0111");
            if (how == u"output window") {
                doubleClickOutput(m, 0);
            } else if (how == u"open include") {
                w.View().MoveCaret(0, 10);
                m.SSActiveToolBars1_ToolClick(ids::ID_OpenInclude);
            } else {
                for (frmEditor* e : m.editors())
                    if (e != &w)
                        m.mdiArea().setActiveSubWindow(e);
            }
            frmEditor* included = m.activeEditor();
            QVERIFY(included && included != &w);
#ifdef Q_OS_WIN
            // Windows finds the file by the name as the error spells it, "INC.BAS".
            QCOMPARE(included->caption().toLower(), QDir::toNativeSeparators(inc).toLower());
#else
            QCOMPARE(included->caption(), QDir::toNativeSeparators(inc));
#endif
            included->View().MoveCaret(0, 4);
            QCOMPARE(how + u'>' + errors(m), how + u'>' + "1|0111");
            m.SSActiveToolBars1_ToolClick(ids::ID_PreviousError);
            QCOMPARE(included->View().CaretY(), 1);
            QCOMPARE(m.PanelText(2), QStringLiteral(" Bad token. (INC.BAS)"));
            QVERIFY(m.toolBars().Enabled(ids::ID_ClearError));
            // Another file's errors stay out of both.
            QVERIFY(f.prompts.messages().isEmpty());
        }
    }

    // The state after a run as "marked lines|error tools|caption", then what asking for the message of
    // an unmarked line says: nothing, unless the reading stopped early.
    void collection() {
        const QString counting = QStringLiteral("Compiler Output - Auto Close in: 5 Secs - Esc to Cancel");
        const QString created = CompilerScreen::CreationCaption, cancelled = CompilerScreen::CancelledCaption;
        const QString stopped =
            QStringLiteral("GetErrorDescription Error:Invalid procedure call or argument");
        const QList<std::tuple<QStringList, QString, QString>> rows{
            {{"No errors."}, "1", "|0000|" + counting},
            {{"No errors."}, "0", "|0000|" + created},
            // Lines 0 and past the end mark nothing.
            {{"ERROR Line 0: a", "ERROR Line 12: b"}, "1", "|0000|" + cancelled},
            // A line without its colon stops the reading.
            {{"ERROR Line 2: a", "ERROR Line 4 b", "ERROR Line 6: c"}, "1", "1|0111|" + created + stopped},
            // Standard error, and a line reported twice.
            {{"STDERR ERROR Line 5: a", "ERROR Line 5: b", "EXIT 2"}, "1", "4|0111|" + cancelled}};
        for (const auto& [steps, autoClose, state] : rows) {
            FrameFixture f;
            f.store().save(settings::startup::AutoCloseCW, autoClose);
            MDIMain& m = start(f, steps);
            f.doc().SetLineData(9, 1, 1); // marks of an earlier run go
            QVERIFY(compile(m));
            f.active()->GetErrorDescription(8);
            const QString got =
                errors(m) + u'|' + m.compilerScreen().windowTitle() + f.prompts.messages().join(u'|');
            const QString row = steps.join(u'/');
            QCOMPARE(row + u'>' + got, row + u'>' + state);
        }
    }

    // Esc first cancels a running countdown, then closes the window. The state is
    // "caption|open|counting".
    void countdown() {
        const QString counting = QStringLiteral("Compiler Output - Auto Close in:%1 Secs - Esc to Cancel|%2");
        const QString cancelled = CompilerScreen::CancelledCaption;
        const QList<std::tuple<QString, int, int, QString>> rows{
            {"5", 4, 0, counting.arg(" 1", "1|1")},
            {"5", 5, 0, counting.arg(" 0", "0|0")}, // closes at 0
            {"0", 3, 0, counting.arg("-3", "1|1")}, // 0 never reaches 0
            {"5", 1, 1, cancelled + "|1|0"},        // Esc cancels
            {"5", 0, 2, cancelled + "|0|0"},        // Esc twice closes
            {"abc", 0, 0, CompilerScreen::CreationCaption + "|1|0"}};
        for (const auto& [stored, ticks, escapes, state] : rows) {
            FrameFixture f;
            CompilerScreen& screen = f.start().compilerScreen();
            screen.startRun(f.active(), f.doc().PathName());
            QCOMPARE(screen.startCountdown(stored), stored != "abc");
            for (int i = 0; i < ticks; ++i)
                screen.CompileScreenTimer_Timer();
            for (int i = 0; i < escapes; ++i)
                QTest::keyClick(&screen.CompilerOutput(), Qt::Key_Escape);
            const bool counts = screen.CompileScreenTimer().isActive();
            QCOMPARE(screen.windowTitle() + (screen.isVisible() ? "|1" : "|0") + (counts ? "|1" : "|0"),
                     state);
        }
    }

    // Runs that cannot start say why (the beginnings of the messages), write no script and start no
    // poll. The causes: no path, no compiler, a Windows compiler without wine.
    void refused() {
        const QList<std::tuple<int, QStringList, QString>> rows{
            {0, {"Error! Invalid Path or File Name..", "GoCompile Error:Invalid procedure call"}, ""},
            {1, {"Error! Invalid Path or File Name.."}, "Compiler Options"},
            {2, {"GoCompile Error:Wine is needed to run the Windows compiler "}, ""}};
        for (const auto& [cause, messages, dialog] : rows) {
#ifdef Q_OS_WIN
            if (cause == 2)
                continue; // Windows runs a Windows compiler itself
#endif
            FrameFixture f;
            MDIMain& m = start(f, {}, "my project/blink.pbp", "PBPW.EXE");
            if (cause == 0)
                f.doc().SetPathName(QString());
            if (cause == 1)
                f.store().save(settings::startup::CompilerPathName, f.dir.filePath("none"));
            const QByteArray path = qgetenv("PATH");
            if (cause == 2)
                qputenv("PATH", f.dir.path().toUtf8());
            QString opened;
            testsupport::onNextModal([](QWidget& d) { d.close(); }, &opened);
            if (cause == 0)
                f.active()->GoCompile(); // the command stops earlier, at the save
            else
                m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
            qputenv("PATH", path);
            QCOMPARE(f.prompts.messages().size(), messages.size());
            for (int i = 0; i < messages.size(); ++i)
                QVERIFY2(f.prompts.messages().at(i).startsWith(messages.at(i)),
                         qPrintable(f.prompts.messages().at(i)));
            QCOMPARE(opened, dialog);
            QVERIFY(!QFile::exists(compilerun::scriptPath(f.appFolder())));
            QVERIFY(!f.active()->CheckFile().isActive());
            QVERIFY(!m.state().CompileProcess);
        }
    }

    // A new run ends one still going; Esc while a run goes on hides the output, and the run is still
    // collected.
    void runsStillGoing() {
        FrameFixture f;
        MDIMain& m = start(f, {"SLEEP 30000", "ERROR Line 1: stale"});
        frmEditor& w = *f.active();
        // An earlier capture lying about is never collected.
        testsupport::writeFile(compilerun::capturePath(f.appFolder()), "ERROR Line 9: older\n");
        w.CheckFile().setInterval(20);
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        QVERIFY(!QFile::exists(compilerun::capturePath(f.appFolder())));
        const QString compiler = compilerPath(f);
        QTRY_VERIFY(testsupport::compilerPid(compiler) > 0);
        const qint64 first = testsupport::compilerPid(compiler);

        testsupport::writeCompiler(compiler, {"SLEEP 1000", "ERROR Line 2: fresh"});
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        CompilerScreen& screen = m.compilerScreen();
        QCOMPARE(screen.CompilerOutput().toPlainText(), CompilerScreen::WaitText);
        QTest::keyClick(&screen.CompilerOutput(), Qt::Key_Escape);
        QVERIFY(!screen.isVisible());
        QVERIFY(!w.lastCapture());
        QVERIFY(w.CheckFile().isActive() && m.state().CompileProcess);
        QTRY_VERIFY_WITH_TIMEOUT(w.lastCapture(), 20000);
        QVERIFY(f.prompts.messages().isEmpty());          // the earlier output could be removed
        QTRY_VERIFY(!testsupport::processRunning(first)); // the first run's compiler is gone
        QCOMPARE(errors(m), QStringLiteral("1|0111"));
        QVERIFY(!screen.isVisible() && screen.CompilerOutput().toPlainText().contains("fresh"));
    }

    void aShownRunUsesATerminal() {
#ifdef Q_OS_WIN
        QSKIP("On Windows a shown run opens the batch file in a console of its own; no terminal emulator.");
#endif
        FrameFixture f;
        MDIMain& m = start(f, {"ERROR Line 6: shown"});
        f.store().save(settings::startup::DosWindow, "0");
        // A terminal stand-in that records how it was asked and runs the command after -e.
        const QString terminal = f.dir.filePath("terminal");
        testsupport::writeScript(terminal, "printf '%s\\n' \"$@\" > " +
                                               runscript::shellQuote(f.dir.filePath("term")).toUtf8() +
                                               "\nshift\nexec \"$@\" >/dev/null");
        qputenv("TERMINAL", terminal.toUtf8());
        const bool collected = compile(m);
        qunsetenv("TERMINAL");
        QVERIFY(collected);
        QCOMPARE(
            QString::fromUtf8(testsupport::readFile(f.dir.filePath("term"))).split(u'\n', Qt::SkipEmptyParts),
            (QStringList{"-e", "/bin/sh", compilerun::scriptPath(f.appFolder())}));
        QCOMPARE(errors(m), QStringLiteral("5|0111"));
        // A terminal that cannot start says so, naming it on a line of its own; with no run there is
        // nothing to poll for and no output to wait for.
        testsupport::writeFile(terminal, "#!/no/such/interpreter\n");
        qputenv("TERMINAL", terminal.toUtf8());
        m.compilerScreen().close();
        m.SSActiveToolBars1_ToolClick(ids::ID_Compile);
        qunsetenv("TERMINAL");
        QCOMPARE(f.prompts.messages().size(), 1);
        const QStringList said = f.prompts.messages().first().split(u'\n');
        QCOMPARE(said.first(), QStringLiteral("Unable to launch application."));
        QVERIFY2(said.value(1).startsWith(terminal), qPrintable(said.join(u'|')));
        QVERIFY(!m.compilerScreen().isVisible());
        QVERIFY(!f.active()->CheckFile().isActive());
        QVERIFY(!m.state().CompileProcess);
        if (!shell::terminalEmulator().isEmpty())
            QSKIP("A terminal emulator is installed; the fallback to a hidden run is not reachable here.");
        QFile::remove(f.dir.filePath("term"));
        QVERIFY(compile(m));
        QVERIFY(!QFile::exists(f.dir.filePath("term")));
        QCOMPARE(errors(m), QStringLiteral("5|0111"));
    }

    void aWindowsCompilerRunsUnderWine() {
#ifdef Q_OS_WIN
        QSKIP("Windows runs a Windows compiler itself, through Runpb.bat (tst_Windows).");
#endif
        const QString gxx = QStandardPaths::findExecutable("x86_64-w64-mingw32-g++");
        const QString wine = runscript::findWine();
        if (gxx.isEmpty() || wine.isEmpty())
            QSKIP("Needs wine and the MinGW cross compiler x86_64-w64-mingw32-g++.");
        FrameFixture f;
        MDIMain& m = start(f, {});
        // A console program that names its last argument and reports two errors.
        const QString source = f.dir.filePath("fake.cpp"), exe = f.dir.filePath("PBPW.EXE");
        testsupport::writeFile(source, "#include <cstdio>\nint main(int argc, char** argv) {\n"
                                       "std::printf(\"source %s\\nERROR Line 3: a\\nERROR Line 9: b\\n\", "
                                       "argv[argc - 1]);\nreturn 1;\n}\n");
        QCOMPARE(QProcess::execute(gxx, {"-static", "-O0", "-o", exe, source}), 0);
        // Wine's first start on a machine builds its prefix, which can take a minute on a busy one.
        QProcess probe;
        probe.start(wine, {exe});
        QVERIFY2(probe.waitForFinished(180000), "Wine did not run a console program within three minutes.");
        f.store().save(settings::startup::CompilerPathName, exe);
        QVERIFY(compile(m, 30000));
        QCOMPARE(errors(m), QStringLiteral("2,8|0111"));
        const QString out = m.compilerScreen().CompilerOutput().toPlainText();
        QVERIFY2(out.contains(QRegularExpression("source [A-Z]:\\\\.*blink\\.pbp")), qPrintable(out));
    }
};

QTEST_MAIN(tst_CompileRun)
#include "tst_CompileRun.moc"
