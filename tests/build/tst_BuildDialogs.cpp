#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

#include "build/RunScript.h"
#include "build/frmCompile.h"
#include "build/frmProgrammer.h"
#include "platform/HelpViewer.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

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
    void compilerOptionsOk_data() {
        QTest::addColumn<int>("compiler");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("storedOptions");
        QTest::addColumn<QString>("storedFolder");
        QTest::newRow("pro, mpasm") << 0 << " -ampasm " << QString(" C:\\Src\\ ") << "-ampasm -oq"
                                    << QString("C:\\Src");
        QTest::newRow("picbasic, as typed")
            << 1 << " -v " << QString(" /src ") << " -v " << QString(" /src ");
    }
    void compilerOptionsOk() {
        QFETCH(int, compiler);
        QFETCH(QString, options);
        QFETCH(QString, folder);
        QFETCH(QString, storedOptions);
        QFETCH(QString, storedFolder);
        FrameFixture f;
        MDIMain& m = f.start();
        m.toolBars().SetListIndex(ids::ID_Device, 40);
        frmCompile d(m);
        QCOMPARE(d.SourceCodePath().text(), f.appFolder());
        d.Compiler().setCurrentIndex(compiler);
        d.CompilerPath().setText(" /opt/pbp/pbpw ");
        d.CommandOptions().setText(options);
        d.cbDoswindow().setChecked(false);
        d.AutoClose().setChecked(false);
        d.SecScroll().setValue(12);
        d.SourceCodePath().setText(folder);
        d.cmdOK_Click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(startup(f, {"CompilerType", "CompilerPathName", "CompilerCommandLineOptions", "DosWindow",
                             "AutoCloseCW", "AutoCloseCWTime", "SourceCodePath"}),
                 (QStringList{QString::number(compiler), " /opt/pbp/pbpw ", storedOptions, "0", "0", "12",
                              storedFolder}));
        QCOMPARE(m.state().PBPMode, compiler == 0);
        QCOMPARE(m.PanelText(5), compiler == 0 ? QStringLiteral("PBP") : QStringLiteral("PBC"));
        // The list is rebuilt for the compiler and keeps its numeric position.
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 40);

        // The dialog opens on what was stored.
        frmCompile again(m);
        QCOMPARE(again.Compiler().currentIndex(), compiler);
        QCOMPARE(again.CommandOptions().text(), storedOptions);
        QVERIFY(!again.cbDoswindow().isChecked() && !again.AutoClose().isChecked());
        QCOMPARE(again.AutoClose().text(), QStringLiteral("Auto Close Compiler Output Screen in: 12 Secs"));
        QCOMPARE(again.SourceCodePath().text(), storedFolder);
        again.SecScroll().setValue(0);
        QCOMPARE(again.AutoClose().text(), QStringLiteral("Auto Close Compiler Output Screen in: 1 Secs"));
    }

    void cancelStoresNothing() {
        FrameFixture f;
        MDIMain& m = f.start();
        QString opened;
        testsupport::onNextModal([](QWidget& dialog) { dialog.close(); }, &opened);
        m.SSActiveToolBars1_ToolClick(ids::ID_CompilerOptions);
        QCOMPARE(opened, QStringLiteral("Compiler Options"));
        const int devices = m.toolBars().ListCount(ids::ID_Device);
        frmCompile d(m);
        QVERIFY(d.cbDoswindow().isChecked() && d.AutoClose().isChecked());
        d.Compiler().setCurrentIndex(1);
        d.CommandOptions().setText("-ampasm");
        d.SecScroll().setValue(30);
        d.cmdExit_Click();
        frmProgrammer p(m);
        p.ProgrammerPath().setText("/opt/epic/epicwin");
        p.cmdExit_Click();
        QCOMPARE(startup(f, {"CompilerType", "CompilerCommandLineOptions", "AutoCloseCWTime",
                             "ProgrammerPathName"}),
                 QStringList(4, "<absent>"));
        QVERIFY(m.state().PBPMode);
        QCOMPARE(m.toolBars().ListCount(ids::ID_Device), devices);
    }

    void browseButtons_data() {
        QTest::addColumn<int>("button");     // 0 compiler, 1 source folder, 2 programmer
        QTest::addColumn<QString>("answer"); // "<cancel>", "" or a path
        QTest::addColumn<QString>("message");
        QTest::newRow("compiler chosen") << 0 << "/opt/pbp/PBPW.EXE" << QString();
        QTest::newRow("compiler empty") << 0 << "" << QString("No filename entered.");
        QTest::newRow("compiler cancelled") << 0 << "<cancel>" << QString();
        QTest::newRow("folder chosen") << 1 << "/home/u/src" << QString();
        QTest::newRow("folder empty") << 1 << "" << QString("No Directory Selected.");
        QTest::newRow("folder cancelled") << 1 << "<cancel>" << QString();
        QTest::newRow("programmer chosen") << 2 << "/opt/epic/epicwin" << QString();
        QTest::newRow("programmer empty") << 2 << "" << QString("No filename entered.");
    }
    void browseButtons() {
        QFETCH(int, button);
        QFETCH(QString, answer);
        QFETCH(QString, message);
        FrameFixture f;
        MDIMain& m = f.start();
        if (answer == "<cancel>")
            f.prompts.cancel();
        else
            f.prompts.chooseFile(answer);
        frmCompile c(m);
        frmProgrammer p(m);
        QLineEdit& edit = button == 0   ? c.CompilerPath()
                          : button == 1 ? c.SourceCodePath()
                                        : p.ProgrammerPath();
        const QString before = edit.text();
        if (button == 0)
            c.Browse_Click();
        else if (button == 1)
            c.Browse2_Click();
        else
            p.Browse_Click();
        QCOMPARE(edit.text(), answer.isEmpty() || answer == "<cancel>" ? before : answer);
        QCOMPARE(f.prompts.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
        // Without a stored path every dialog opens in the application folder.
        QCOMPARE(QDir(f.prompts.shown().first().text).absolutePath(), QDir(f.appFolder()).absolutePath());
    }

    void programmerOptions() {
        FrameFixture f;
        MDIMain& m = f.start();
        QString opened;
        testsupport::onNextModal([](QWidget& dialog) { dialog.close(); }, &opened);
        m.SSActiveToolBars1_ToolClick(ids::ID_ProgrammerOptions);
        QCOMPARE(opened, QStringLiteral("Programmer Options"));
        frmProgrammer d(m);
        QCOMPARE(d.ProgrammerPath().text(), f.path("EPICWIN.EXE"));
        d.ProgrammerPath().setText("/opt/epic/epicwin");
        d.CommandOptions().setText(" %HEX% ");
        d.cmdOK_Click();
        QCOMPARE(startup(f, {"ProgrammerType", "ProgrammerPathName", "ProgrammerCommandLineOptions"}),
                 (QStringList{"0", "/opt/epic/epicwin", " %HEX% "}));
        frmProgrammer again(m);
        QCOMPARE(again.CommandOptions().text(), QStringLiteral(" %HEX% "));
        // The browse dialog starts on the stored programmer once there is one.
        f.prompts.cancel();
        again.Browse_Click();
        QCOMPARE(f.prompts.last().text, QStringLiteral("/opt/epic/epicwin"));
        again.Help_Click();
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic290.html"));
        frmCompile c(m);
        c.Help_Click();
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic220.html"));
    }

    void programmerLaunch_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QStringList>("expected"); // with {hex}, {source}, {device}
        QTest::newRow("placeholders")
            << " -p %DEVICE% \"%HEX%\" %SOURCE%  " << QStringList{"-p", "{device}", "{hex}", "{source}"};
        QTest::newRow("plain options") << "  /a  /b  " << QStringList{"/a", "/b"};
        QTest::newRow("no options") << "" << QStringList{};
    }
    void programmerLaunch() {
        QFETCH(QString, options);
        QFETCH(QStringList, expected);
        FrameFixture f;
        const QString doc = f.dir.filePath("my work/blink led.pbp");
        testsupport::writeFile(doc, "HIGH 1\n");
        MDIMain& m = f.start(doc);
        // A programmer stand-in that records its arguments and folder.
        const QString programmer = f.dir.filePath("epic win/epicwin");
        const auto quoted = [&f](const char* name) { return runscript::shellQuote(f.dir.filePath(name)); };
        testsupport::writeScript(programmer,
                                 ("pwd > " + quoted("cwd") + "\nprintf '%s\\n' \"$@\" > " +
                                  quoted("args.part") + "\nmv " + quoted("args.part") + ' ' + quoted("args"))
                                     .toUtf8());
        f.store().save(settings::startup::ProgrammerPathName, programmer);
        f.store().save(settings::startup::ProgrammerCommandLineOptions, options);
        m.SSActiveToolBars1_ToolClick(ids::ID_Epic);
        QTRY_VERIFY(QFile::exists(f.dir.filePath("args")));
        for (QString& e : expected)
            e.replace("{hex}", f.dir.filePath("my work/blink led.hex"))
                .replace("{source}", doc)
                .replace("{device}", m.toolBars().Text(ids::ID_Device).mid(3));
        const QString args = QString::fromUtf8(testsupport::readFile(f.dir.filePath("args")));
        QCOMPARE(args.split(u'\n', Qt::SkipEmptyParts), expected);
        QCOMPARE(testsupport::readFile(f.dir.filePath("cwd")).trimmed(), f.dir.filePath("epic win").toUtf8());
        QVERIFY(f.prompts.messages().isEmpty());
    }

    void aMissingProgrammerIsReportedAndOpensTheOptions() {
        FrameFixture f;
        MDIMain& m = f.start();
        m.SSActiveToolBars1_ToolClick(ids::ID_Epic);
        QCOMPARE(f.prompts.messages(), QStringList{"Error! File not found: " + f.path("EPICWIN.EXE")});
        QCOMPARE(f.prompts.last().icon, Prompts::Icon::Critical);
        auto* options = m.findChild<frmProgrammer*>();
        QVERIFY(options && options->isVisible() && !options->isModal());
        QCOMPARE(options->ProgrammerPath().text(), f.path("EPICWIN.EXE"));
    }
};

QTEST_MAIN(tst_BuildDialogs)
#include "tst_BuildDialogs.moc"
