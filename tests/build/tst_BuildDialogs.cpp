#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "build/RunScript.h"
#include "build/frmCompile.h"
#include "build/frmProgrammer.h"
#include "editor/frmEditor.h"
#include "platform/HelpViewer.h"
#include "platform/sourceview/SourceView.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "shell/MDIMain.h"
#include "shell/ToolIds.h"
#include "support/FrameFixture.h"
#include "support/TestSupport.h"

// The compiler and programmer options dialogs, and the programmer launch with a real process.
class tst_BuildDialogs : public QObject {
    Q_OBJECT
private:
    static QString startup(FrameFixture& f, const char* key) {
        return f.store().Read("Pinwright", "Startup", QString::fromLatin1(key), "<absent>");
    }

    // A programmer stand-in that records its arguments and folder.
    static QString writeProgrammer(FrameFixture& f, const QString& path) {
        testsupport::writeFile(path,
                               "#!/bin/sh\npwd > " + runscript::shellQuote(f.dir.filePath("cwd")).toUtf8() +
                                   "\nprintf '%s\\n' \"$@\" > " +
                                   runscript::shellQuote(f.dir.filePath("args.part")).toUtf8() + "\nmv " +
                                   runscript::shellQuote(f.dir.filePath("args.part")).toUtf8() + " " +
                                   runscript::shellQuote(f.dir.filePath("args")).toUtf8() + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
        return path;
    }

private slots:
    void compilerOptionsLoadTheirDefaults() {
        FrameFixture f;
        MDIMain& m = f.start();
        frmCompile d(m);
        QCOMPARE(d.Compiler().currentText(), QStringLiteral("PicBasic Pro Compiler"));
        QCOMPARE(d.CompilerPath().text(), f.path("PBPW.EXE"));
        QCOMPARE(d.CommandOptions().text(), QString());
        QVERIFY(d.cbDoswindow().isChecked());
        QVERIFY(d.AutoClose().isChecked());
        QCOMPARE(d.AutoClose().text(), QStringLiteral("Auto Close Compiler Output Screen in: 5 Secs"));
        QCOMPARE(d.SourceCodePath().text(), f.appFolder());
        d.SecScroll().setValue(61);
        QCOMPARE(d.AutoClose().text(), QStringLiteral("Auto Close Compiler Output Screen in: 60 Secs"));
        d.SecScroll().setValue(0);
        QCOMPARE(d.SecScroll().value(), 1);
    }

    void compilerOptionsOk_data() {
        QTest::addColumn<int>("compiler");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("storedOptions");
        QTest::addColumn<QString>("storedFolder");
        QTest::addColumn<QString>("panel");
        QTest::newRow("pro, mpasm") << 0 << " -ampasm "
                                    << " C:\\Src\\ "
                                    << "-ampasm -oq"
                                    << "C:\\Src"
                                    << "PBP";
        QTest::newRow("picbasic, as typed") << 1 << " -v "
                                            << " /src "
                                            << " -v "
                                            << " /src "
                                            << "PBC";
    }
    void compilerOptionsOk() {
        QFETCH(int, compiler);
        QFETCH(QString, options);
        QFETCH(QString, folder);
        QFETCH(QString, storedOptions);
        QFETCH(QString, storedFolder);
        QFETCH(QString, panel);
        FrameFixture f;
        MDIMain& m = f.start();
        m.toolBars().SetListIndex(ids::ID_Device, 40);
        frmCompile d(m);
        d.Compiler().setCurrentIndex(compiler);
        d.CompilerPath().setText(" /opt/pbp/pbpw ");
        d.CommandOptions().setText(options);
        d.cbDoswindow().setChecked(false);
        d.AutoClose().setChecked(false);
        d.SecScroll().setValue(12);
        d.SourceCodePath().setText(folder);
        d.cmdOK_Click();
        QCOMPARE(startup(f, "CompilerType"), QString::number(compiler));
        QCOMPARE(startup(f, "CompilerPathName"), QStringLiteral(" /opt/pbp/pbpw "));
        QCOMPARE(startup(f, "CompilerCommandLineOptions"), storedOptions);
        QCOMPARE(startup(f, "DosWindow"), QStringLiteral("0"));
        QCOMPARE(startup(f, "AutoCloseCW"), QStringLiteral("0"));
        QCOMPARE(startup(f, "AutoCloseCWTime"), QStringLiteral("12"));
        QCOMPARE(startup(f, "SourceCodePath"), storedFolder);
        QCOMPARE(m.state().PBPMode, compiler == 0);
        QCOMPARE(m.PanelText(5), panel);
        QCOMPARE(m.PanelToolTip(5), compiler == 0 ? QStringLiteral("Using: PicBasic Pro Compiler")
                                                  : QStringLiteral("Using: PicBasic Compiler"));
        // The list is rebuilt for the compiler and keeps its numeric position.
        QCOMPARE(m.toolBars().ListIndex(ids::ID_Device), 40);
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }

    void compilerOptionsCancelStoresNothing() {
        FrameFixture f;
        MDIMain& m = f.start();
        const int devices = m.toolBars().ListCount(ids::ID_Device);
        frmCompile d(m);
        d.Compiler().setCurrentIndex(1);
        d.CompilerPath().setText("x");
        d.CommandOptions().setText("-ampasm");
        d.SecScroll().setValue(30);
        d.cmdExit_Click();
        for (const char* key : {"CompilerType", "CompilerPathName", "CompilerCommandLineOptions", "DosWindow",
                                "AutoCloseCW", "AutoCloseCWTime", "SourceCodePath"})
            QCOMPARE(startup(f, key), QStringLiteral("<absent>"));
        QVERIFY(m.state().PBPMode);
        QCOMPARE(m.PanelText(5), QStringLiteral("PBP"));
        QCOMPARE(m.toolBars().ListCount(ids::ID_Device), devices);
    }

    void browseButtons_data() {
        QTest::addColumn<int>("button");     // 0 compiler, 1 source folder, 2 programmer
        QTest::addColumn<QString>("answer"); // "<cancel>", "" or a path
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("compiler chosen") << 0 << "/opt/pbp/PBPW.EXE"
                                         << "/opt/pbp/PBPW.EXE"
                                         << "";
        QTest::newRow("compiler empty") << 0 << ""
                                        << "<unchanged>"
                                        << "No filename entered.";
        QTest::newRow("compiler cancelled") << 0 << "<cancel>"
                                            << "<unchanged>"
                                            << "";
        QTest::newRow("folder chosen") << 1 << "/home/u/src"
                                       << "/home/u/src"
                                       << "";
        QTest::newRow("folder empty") << 1 << ""
                                      << "<unchanged>"
                                      << "No Directory Selected.";
        QTest::newRow("folder cancelled") << 1 << "<cancel>"
                                          << "<unchanged>"
                                          << "";
        QTest::newRow("programmer chosen") << 2 << "/opt/epic/epicwin"
                                           << "/opt/epic/epicwin"
                                           << "";
        QTest::newRow("programmer empty") << 2 << ""
                                          << "<unchanged>"
                                          << "No filename entered.";
    }
    void browseButtons() {
        QFETCH(int, button);
        QFETCH(QString, answer);
        QFETCH(QString, field);
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
        QCOMPARE(edit.text(), field == "<unchanged>" ? before : field);
        QCOMPARE(f.prompts.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(f.prompts.last().title, QStringLiteral("File Error"));
        const ScriptedPrompts::Shown asked = f.prompts.shown().first();
        if (button == 1) {
            QCOMPARE(asked.title, QStringLiteral("Select Source Code Default Directory"));
            QCOMPARE(asked.text, f.appFolder());
        } else {
            // Without a stored path both file dialogs open in the application folder.
            QCOMPARE(asked.text, f.path(QString()));
            QCOMPARE(asked.filter, button == 0 ? frmCompile::compilerFilter() : frmProgrammer::BrowseFilter);
        }
    }

    void programmerOptions() {
        FrameFixture f;
        MDIMain& m = f.start();
        frmProgrammer d(m);
        QCOMPARE(d.Programmer().currentText(), QStringLiteral("EPICWin"));
        QCOMPARE(d.ProgrammerPath().text(), f.path("EPICWIN.EXE"));
        QCOMPARE(d.CommandOptions().text(), QString());
        d.ProgrammerPath().setText("/opt/epic/epicwin");
        d.CommandOptions().setText(" %HEX% ");
        d.cmdExit_Click();
        QCOMPARE(startup(f, "ProgrammerPathName"), QStringLiteral("<absent>"));
        frmProgrammer e(m);
        e.ProgrammerPath().setText("/opt/epic/epicwin");
        e.CommandOptions().setText(" %HEX% ");
        e.cmdOK_Click();
        QCOMPARE(startup(f, "ProgrammerType"), QStringLiteral("0"));
        QCOMPARE(startup(f, "ProgrammerPathName"), QStringLiteral("/opt/epic/epicwin"));
        QCOMPARE(startup(f, "ProgrammerCommandLineOptions"), QStringLiteral(" %HEX% "));
        // The browse dialog starts on the stored programmer once there is one.
        f.prompts.cancel();
        e.Browse_Click();
        QCOMPARE(f.prompts.last().text, QStringLiteral("/opt/epic/epicwin"));
        e.Help_Click();
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic290.html"));
        frmCompile c(m);
        c.Help_Click();
        QCOMPARE(m.help().lastPage(), QStringLiteral("topic220.html"));
    }

    void optionsCommandsOpenTheirDialogs_data() {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("title");
        QTest::newRow("compiler") << ids::ID_CompilerOptions << "Compiler Options";
        QTest::newRow("programmer") << ids::ID_ProgrammerOptions << "Programmer Options";
    }
    void optionsCommandsOpenTheirDialogs() {
        QFETCH(QString, id);
        QFETCH(QString, title);
        FrameFixture f;
        MDIMain& m = f.start();
        QVERIFY(m.toolBars().Enabled(id));
        QVERIFY(!m.toolBars().ToolTip(id).contains("not available"));
        QString opened;
        QTimer::singleShot(0, [&opened] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                opened = dialog->windowTitle();
                dialog->close();
            }
        });
        m.SSActiveToolBars1_ToolClick(id);
        QCOMPARE(opened, title);
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
        const QString programmer = writeProgrammer(f, f.dir.filePath("epic win/epicwin"));
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
        QVERIFY(options);
        QVERIFY(options->isVisible());
        QVERIFY(!options->isModal());
        QCOMPARE(options->ProgrammerPath().text(), f.path("EPICWIN.EXE"));
    }
};

QTEST_MAIN(tst_BuildDialogs)
#include "tst_BuildDialogs.moc"
