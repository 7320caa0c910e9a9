#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QWindow>

#include "platform/HelpViewer.h"
#include "support/FrameTest.h"
#include "toolchain/RunScript.h"
#include "toolchain/frmCompile.h"
#include "toolchain/frmProgrammer.h"

// The compiler and programmer options dialogs, and the programmer launch with a real process.
class tst_BuildDialogs : public QObject {
    Q_OBJECT
private:
    // The stored values of the keys in the Startup section, "<absent>" for a key never written.
    static QStringList startup(FrameFixture& f, std::initializer_list<const char*> keys) {
        QStringList out;
        for (const char* key : keys)
            out << f.store().Read("Pinwright", "Startup", QString::fromLatin1(key), "<absent>");
        return out;
    }

private slots:
    void optionsDialogs() {
        FrameFixture f;
        MDIMain& m = f.start();
        m.toolBars().SetListIndex(ids::ID_Device, 40);

        // Cancel stores nothing and keeps the device list.
        const int devices = m.toolBars().ListCount(ids::ID_Device);
        frmCompile cancelled(m);
        QVERIFY(cancelled.cbDoswindow().isChecked() && cancelled.AutoClose().isChecked());
        cancelled.Compiler().setCurrentIndex(1);
        cancelled.CommandOptions().setText("-ampasm");
        cancelled.SecScroll().setValue(30);
        cancelled.cmdExit_Click();
        frmProgrammer p(m);
        QCOMPARE(p.ProgrammerPath().text(), f.path("EPICWIN.EXE"));
        p.ProgrammerPath().setText("/opt/epic/epicwin");
        p.cmdExit_Click();
        QCOMPARE(startup(f, {"CompilerType", "CompilerCommandLineOptions", "AutoCloseCWTime",
                             "ProgrammerPathName"}),
                 QStringList(4, "<absent>"));
        QVERIFY(m.state().PBPMode);
        QCOMPARE(m.toolBars().ListCount(ids::ID_Device), devices);

        // OK stores PicBasic with what was typed.
        frmCompile d(m);
        QCOMPARE(d.SourceCodePath().text(), f.appFolder());
        d.Compiler().setCurrentIndex(1);
        d.CompilerPath().setText(" /opt/pbp/pbpw ");
        d.CommandOptions().setText(" -v ");
        d.cbDoswindow().setChecked(false);
        d.AutoClose().setChecked(false);
        d.SecScroll().setValue(12);
        d.SourceCodePath().setText(" /src ");
        d.cmdOK_Click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(startup(f, {"CompilerType", "CompilerPathName", "CompilerCommandLineOptions", "DosWindow",
                             "AutoCloseCW", "AutoCloseCWTime", "SourceCodePath"}),
                 (QStringList{"1", " /opt/pbp/pbpw ", " -v ", "0", "0", "12", " /src "}));
        QVERIFY(!m.state().PBPMode);
        QCOMPARE(m.PanelText(5), QStringLiteral("PBC"));
        // The editor takes up the switched compiler when its caret moves: WHILE is no PicBasic word.
        QTest::keyClicks(f.view().focusProxy(), QStringLiteral("WHILE"));
        int cls = 0, start = 0, length = 0;
        f.view().GetTokenAt(1, 0, cls, start, length);
        QCOMPARE(cls, 1);
        // The list is rebuilt for the compiler and keeps its numeric position.
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 40);

        // The dialog opens on what was stored; PicBasic Pro with MPASM gets quiet output.
        frmCompile again(m);
        QCOMPARE(again.Compiler().currentIndex(), 1);
        QCOMPARE(again.CommandOptions().text(), QStringLiteral(" -v "));
        QVERIFY(!again.cbDoswindow().isChecked() && !again.AutoClose().isChecked());
        QCOMPARE(again.AutoClose().text(), QStringLiteral("&Auto Close Compiler Output Screen in: 12 Secs"));
        QCOMPARE(again.SourceCodePath().text(), QStringLiteral(" /src "));
        again.SecScroll().setValue(0);
        QCOMPARE(again.AutoClose().text(), QStringLiteral("&Auto Close Compiler Output Screen in: 1 Secs"));
        again.Compiler().setCurrentIndex(0);
        again.CommandOptions().setText(" -ampasm ");
        again.SourceCodePath().setText(" C:\\Src\\ ");
        again.cmdOK_Click();
        QCOMPARE(startup(f, {"CompilerType", "CompilerCommandLineOptions", "SourceCodePath"}),
                 (QStringList{"0", "-ampasm -oq", "C:\\Src"}));
        QVERIFY(m.state().PBPMode);
        QCOMPARE(m.PanelText(5), QStringLiteral("PBP"));
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 40);
        again.Help_Click();
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic220.html"));

        frmProgrammer prog(m);
        prog.ProgrammerPath().setText("/opt/epic/epicwin");
        prog.CommandOptions().setText(" %HEX% ");
        prog.cmdOK_Click();
        QCOMPARE(startup(f, {"ProgrammerType", "ProgrammerPathName", "ProgrammerCommandLineOptions"}),
                 (QStringList{"0", "/opt/epic/epicwin", " %HEX% "}));
        frmProgrammer progAgain(m);
        QCOMPARE(progAgain.CommandOptions().text(), QStringLiteral(" %HEX% "));
        // The browse dialog starts on the stored programmer once there is one.
        f.prompts.cancel();
        progAgain.Browse_Click();
        QCOMPARE(f.prompts.last().text, QStringLiteral("/opt/epic/epicwin"));
        progAgain.Help_Click();
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic290.html"));
    }

    // The command opens its dialog; help from it comes up above it and takes the input while the dialog
    // stays open; when the dialog closes the help stays.
    void helpOverOptionsDialog_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("Compiler Options") << ids::ID_CompilerOptions;
        QTest::newRow("Programmer Options") << ids::ID_ProgrammerOptions;
    }
    void helpOverOptionsDialog() {
        QFETCH(QString, command);
        FrameFixture f;
        MDIMain& m = f.start();
        QString opened, state; // the help "shown", "above" the dialog, "usable"
        testsupport::onNextModal(
            [&](QWidget& dialog) {
                for (QPushButton* b : dialog.findChildren<QPushButton*>())
                    if (b->text() == QLatin1String("&Help"))
                        b->click();
                QWidget* help = m.help().window();
                QVERIFY(help && help->windowHandle());
                state += help->isVisible() ? "shown" : "";
                state += help->windowHandle()->transientParent() == dialog.windowHandle() ? " above" : "";
                // Keys from the window system reach it: Ctrl+A selects the page.
                QTest::keyClick(help->windowHandle(), Qt::Key_A, Qt::ControlModifier);
                state += qobject_cast<QTextBrowser*>(help)->textCursor().hasSelection() ? " usable" : "";
                dialog.close();
            },
            &opened);
        m.SSActiveToolBars1_ToolClick(command);
        QCOMPARE(opened, QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(state, QStringLiteral("shown above usable"));
        QWidget* help = m.help().window();
        QVERIFY(help && help->isVisible() && !help->parentWidget());
    }

    // Buttons: 0 compiler, 1 source folder, 2 programmer. Answers: a path, "" or none (cancelled).
    void browseButtons() {
        const QList<std::tuple<int, QString, QString>> rows{
            {0, "/opt/pbp/PBPW.EXE", ""}, {0, "", "No filename entered."},   {0, QString(), ""},
            {1, "/home/u/src", ""},       {1, "", "No Directory Selected."}, {1, QString(), ""},
            {2, "/opt/epic/epicwin", ""}, {2, "", "No filename entered."}};
        for (const auto& [button, answer, message] : rows) {
            FrameFixture f;
            MDIMain& m = f.start();
            if (answer.isNull())
                f.prompts.cancel();
            else
                f.prompts.chooseFile(answer);
            frmCompile c(m);
            frmProgrammer p(m);
            QLineEdit& edit =
                *std::array{&c.CompilerPath(), &c.SourceCodePath(), &p.ProgrammerPath()}[button];
            const QString before = edit.text();
            if (button == 0)
                c.Browse_Click();
            else if (button == 1)
                c.Browse2_Click();
            else
                p.Browse_Click();
            QCOMPARE(edit.text(), answer.isEmpty() ? before : answer);
            QCOMPARE(f.prompts.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
            // Without a stored path every dialog opens in the application folder.
            QCOMPARE(QDir(f.prompts.shown().first().text).absolutePath(), QDir(f.appFolder()).absolutePath());
        }
    }

    // A missing programmer is reported and opens its options; a present one gets each option as a word
    // of its own, the placeholders filled in, and runs in its own folder.
    void programmerLaunch() {
        FrameFixture f;
        const QString doc = f.dir.filePath("my work/blink led.pbp");
        testsupport::writeFile(doc, "HIGH 1\n");
        MDIMain& m = f.start(doc);
        m.SSActiveToolBars1_ToolClick(ids::ID_Epic);
        QCOMPARE(f.prompts.messages(), QStringList{"Error! File not found: " + f.path("EPICWIN.EXE")});
        QCOMPARE(f.prompts.last().icon, Prompts::Icon::Critical);
        auto* options = m.findChild<frmProgrammer*>();
        QVERIFY(options && options->isVisible() && !options->isModal());
#ifdef Q_OS_WIN
        QSKIP("The programmer stand-in here is a shell script; tst_Windows starts a Windows one.");
#endif

        const QString programmer = f.dir.filePath("epic win/epicwin");
        const auto quoted = [&f](const char* name) { return runscript::shellQuote(f.dir.filePath(name)); };
        testsupport::writeScript(programmer,
                                 ("pwd > " + quoted("cwd") + "\nprintf '%s\\n' \"$@\" > " +
                                  quoted("args.part") + "\nmv " + quoted("args.part") + ' ' + quoted("args"))
                                     .toUtf8());
        f.store().save(settings::startup::ProgrammerPathName, programmer);
        f.store().save(settings::startup::ProgrammerCommandLineOptions, " -p %DEVICE% \"%HEX%\"  %SOURCE%  ");
        m.SSActiveToolBars1_ToolClick(ids::ID_Epic);
        QTRY_VERIFY(QFile::exists(f.dir.filePath("args")));
        const QString args = QString::fromUtf8(testsupport::readFile(f.dir.filePath("args")));
        QCOMPARE(args.split(u'\n', Qt::SkipEmptyParts),
                 (QStringList{"-p", m.toolBars().Text(ids::ID_Device).mid(3),
                              f.dir.filePath("my work/blink led.hex"), doc}));
        QCOMPARE(testsupport::readFile(f.dir.filePath("cwd")).trimmed(), f.dir.filePath("epic win").toUtf8());
        QCOMPARE(f.prompts.messages().size(), 1);
    }
};

QTEST_MAIN(tst_BuildDialogs)
#include "tst_BuildDialogs.moc"
