#include <QTest>

#include "build/CaptureFile.h"
#include "build/CommandLine.h"
#include "build/OptionRules.h"
#include "build/RunScript.h"

class tst_BuildRules : public QObject {
    Q_OBJECT
private slots:
    void errorLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind"); // 0 other, 1 error, 2 malformed
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "ERROR Line 3: Bad expression." << 1 << 3 << " Bad expression."
                               << "";
        QTest::newRow("no blank before the number")
            << "ERROR Line12: Syntax error." << 1 << 12 << " Syntax error."
            << "";
        QTest::newRow("text before the tag") << "foo.pbp ERROR Line 7: x" << 1 << 7 << " x"
                                             << "";
        QTest::newRow("colon inside the message")
            << "ERROR Line 4: Label: missing" << 1 << 4 << " Label: missing"
            << "";
        QTest::newRow("first tag counts")
            << "ERROR Line 2: see ERROR Line 9: y" << 1 << 2 << " see ERROR Line 9: y"
            << "";
        QTest::newRow("no number") << "ERROR Line : z" << 1 << 0 << " z"
                                   << "";
        QTest::newRow("empty message") << "ERROR Line 5:" << 1 << 5 << ""
                                       << "";
        QTest::newRow("the document named") << "ERROR Line 5: Bad. (PROG.pbp)" << 1 << 5 << " Bad. (PROG.pbp)"
                                            << "";
        QTest::newRow("an included file")
            << "ERROR Line 5: Bad expression. (lcd.inc)" << 1 << 5 << " Bad expression. (lcd.inc)"
            << "lcd.inc";
        QTest::newRow("included with a folder")
            << "ERROR Line 1: x (inc\\lcd.bas) " << 1 << 1 << " x (inc\\lcd.bas) "
            << "inc\\lcd.bas";
        QTest::newRow("document in a folder")
            << "ERROR Line 1: x (c:\\p\\prog.pbp)" << 1 << 1 << " x (c:\\p\\prog.pbp)"
            << "";
        QTest::newRow("a remark, not a file")
            << "ERROR Line 8: Expected (value 1.5 or more)" << 1 << 8 << " Expected (value 1.5 or more)"
            << "";
        QTest::newRow("no colon") << "ERROR Line 3 Bad expression" << 2 << 0 << ""
                                  << "";
        QTest::newRow("tag at the end") << "ERROR Line" << 2 << 0 << ""
                                        << "";
        QTest::newRow("other case") << "error line 3: x" << 0 << 0 << ""
                                    << "";
        QTest::newRow("warning") << "WARNING Line 3: x" << 0 << 0 << ""
                                 << "";
    }
    void errorLine() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QFETCH(int, line);
        QFETCH(QString, message);
        QFETCH(QString, file);
        capture::ErrorLine e;
        QCOMPARE(int(capture::parseLine(text, QStringLiteral("prog.pbp"), e)), kind);
        if (kind == 1) {
            QCOMPARE(e.line, line);
            QCOMPARE(e.message, message);
            QCOMPARE(e.file, file);
        }
    }

    void captureKeepsOrderAndFirstMessage() {
        const capture::Capture c = capture::parse(QStringLiteral("PBP 2.40\r\n"
                                                                 "ERROR Line 7: second\r\n"
                                                                 "ERROR Line 3: first\r\n"
                                                                 "ERROR Line 7: again\r\n"
                                                                 "ERROR Line 3: inc (lcd.inc)\n"
                                                                 "ERROR Line 9: last"),
                                                  QStringLiteral("prog.pbp"));
        QCOMPARE(c.errors.size(), 5);
        QVERIFY(c.errorsFound());
        QVERIFY(!c.malformed);
        QCOMPARE(c.find(7)->message, QStringLiteral(" second"));
        QCOMPARE(c.find(3)->message, QStringLiteral(" first"));
        QCOMPARE(c.find(9)->message, QStringLiteral(" last")); // no line end after the last line
        QVERIFY(!c.find(5));
    }

    void captureStopsAtALineWithoutItsColon() {
        const capture::Capture c = capture::parse(
            QStringLiteral("ERROR Line 2: a\nERROR Line 4 b\nERROR Line 6: c\n"), QStringLiteral("p.pbp"));
        QVERIFY(c.malformed);
        QCOMPARE(c.errors.size(), 1);
        QVERIFY(c.find(2));
        QVERIFY(!c.find(6));
        QVERIFY(!capture::parse(QStringLiteral("Done.\n"), QStringLiteral("p.pbp")).errorsFound());
    }

    void captureDecoding() {
        QCOMPARE(capture::decode(QByteArray("Zeile \xC3\xBC")), QStringLiteral("Zeile \u00FC"));
        QCOMPARE(capture::decode(QByteArray("Zeile \xFC")), QStringLiteral("Zeile \u00FC"));
    }

    void batchLines_data() {
        QTest::addColumn<QString>("doc");
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("short paths, no options")
            << "C:\\PROJ\\TEST.BAS"
            << "C:\\APP"
            << "C:\\PBP\\PBPW.EXE"
            << ""
            << "PIC16F84"
            << QStringList{"@ECHO OFF",
                           "DEL C:\\APP\\temp.dat",
                           "CD\\PROJ",
                           "ECHO Compiling.... Please Wait.",
                           "C:\\PBP\\PBPW.EXE  -p16F84 C:\\PROJ\\TEST.BAS>C:\\APP\\temp.dat",
                           "TYPE C:\\APP\\temp.dat"};
        QTest::newRow("options and a short device")
            << "D:\\A\\B\\X.PBP"
            << "C:\\APP"
            << " C:\\PBP\\PBPW.EXE "
            << "-ampasm  -oq"
            << "PIC"
            << QStringList{"@ECHO OFF",
                           "DEL C:\\APP\\temp.dat",
                           "CD\\A\\B",
                           "ECHO Compiling.... Please Wait.",
                           "C:\\PBP\\PBPW.EXE -ampasm  -oq -p D:\\A\\B\\X.PBP>C:\\APP\\temp.dat",
                           "TYPE C:\\APP\\temp.dat"};
        QTest::newRow("document in a root folder")
            << "C:\\X.BAS"
            << "C:\\APP"
            << "C:\\PBC.EXE"
            << ""
            << "PIC16F84"
            << QStringList{"@ECHO OFF",
                           "DEL C:\\APP\\temp.dat",
                           "CD",
                           "ECHO Compiling.... Please Wait.",
                           "C:\\PBC.EXE  -p16F84 C:\\X.BAS>C:\\APP\\temp.dat",
                           "TYPE C:\\APP\\temp.dat"};
        // Without short names the long paths arrive; each stays one path.
        QTest::newRow("long paths with blanks and percent")
            << "C:\\My Work\\50%&more\\t.pbp"
            << "C:\\Program Files\\Pinwright"
            << "C:\\Program Files\\PBP\\PBPW.EXE"
            << ""
            << "PIC16F84"
            << QStringList{"@ECHO OFF",
                           "DEL \"C:\\Program Files\\Pinwright\\temp.dat\"",
                           "CD \"\\My Work\\50%%&more\"",
                           "ECHO Compiling.... Please Wait.",
                           "\"C:\\Program Files\\PBP\\PBPW.EXE\"  -p16F84 \"C:\\My Work\\50%%&more\\t.pbp\">"
                           "\"C:\\Program Files\\Pinwright\\temp.dat\"",
                           "TYPE \"C:\\Program Files\\Pinwright\\temp.dat\""};
    }
    void batchLines() {
        QFETCH(QString, doc);
        QFETCH(QString, app);
        QFETCH(QString, compiler);
        QFETCH(QString, options);
        QFETCH(QString, device);
        QFETCH(QStringList, lines);
        QStringList out;
        AppError error;
        QVERIFY(
            runscript::batchLines({doc, app, compiler, options, runscript::deviceArg(device)}, out, error));
        QCOMPARE(out, lines);
    }

    void batchWithoutAFolderFails() {
        for (const QString& doc : {QString(), QStringLiteral("TEST.BAS"), QStringLiteral("\\TEST.BAS")}) {
            QStringList out;
            AppError error;
            QVERIFY(!runscript::batchLines({doc, "C:\\APP", "C:\\PBPW.EXE", "", "16F84"}, out, error));
            QCOMPARE(error.number, 5);
            QVERIFY(out.isEmpty());
        }
    }

    void shellWords_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("blanks around and between") << "  -v \t -ampasm  " << QStringList{"-v", "-ampasm"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("double quotes")
            << "-o \"C:\\Program Files\\x.hex\" -q" << QStringList{"-o", "C:\\Program Files\\x.hex", "-q"};
        QTest::newRow("single quotes") << "'a b'c d" << QStringList{"a bc", "d"};
        QTest::newRow("doubled quote inside") << "\"say \"\"hi\"\"\"" << QStringList{"say \"hi\""};
        QTest::newRow("empty quoted word") << "\"\" x" << QStringList{"", "x"};
        QTest::newRow("unclosed quote") << "-f \"open end" << QStringList{"-f", "open end"};
        QTest::newRow("backslashes stay") << "C:\\a\\b" << QStringList{"C:\\a\\b"};
    }
    void shellWords() {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QCOMPARE(cmdline::splitArguments(text), words);
    }

    void placeholders_data() {
        QTest::addColumn<QString>("options");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("none") << "-x -y" << QStringList{"-x", "-y"};
        QTest::newRow("each once") << "%HEX% -s%SOURCE% -p%DEVICE%"
                                   << QStringList{"/w d/p q.hex", "-s/w d/p q.pbp", "-p16F84"};
        QTest::newRow("letter case ignored") << "%hex%" << QStringList{"/w d/p q.hex"};
        QTest::newRow("quoted with text") << "\"-f %HEX%\"" << QStringList{"-f /w d/p q.hex"};
        QTest::newRow("unknown stays") << "%PORT%" << QStringList{"%PORT%"};
    }
    void placeholders() {
        QFETCH(QString, options);
        QFETCH(QStringList, words);
        const QString source = QStringLiteral("/w d/p q.pbp");
        QCOMPARE(
            cmdline::expand(cmdline::splitArguments(options), {cmdline::hexFileOf(source), source, "16F84"}),
            words);
    }

    void mpasmRule_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("added") << "-ampasm -v"
                               << "-ampasm -v -oq";
        QTest::newRow("any case") << "-AMPASM"
                                  << "-AMPASM -oq";
        QTest::newRow("blanks removed first") << "  -ampasm  "
                                              << "-ampasm -oq";
        QTest::newRow("already quiet") << "-ampasm -OQ"
                                       << "-ampasm -OQ";
        QTest::newRow("no mpasm") << " -v "
                                  << " -v ";
    }
    void mpasmRule() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(optionrules::mpasmOptions(typed), stored);
    }

    void sourceFolder_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("trailing backslash") << " C:\\Src\\ "
                                            << "C:\\Src";
        QTest::newRow("without stays as typed") << " C:\\Src "
                                                << " C:\\Src ";
        QTest::newRow("empty") << ""
                               << "";
#ifndef Q_OS_WIN
        QTest::newRow("trailing slash") << "/home/u/src/"
                                        << "/home/u/src";
        QTest::newRow("the root stays") << "/"
                                        << "/";
#endif
    }
    void sourceFolder() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QCOMPARE(optionrules::sourceFolder(typed), stored);
    }
};

QTEST_GUILESS_MAIN(tst_BuildRules)
#include "tst_BuildRules.moc"
