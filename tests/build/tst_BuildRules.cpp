#include <QTest>

#include "build/CaptureFile.h"
#include "build/CommandLine.h"
#include "build/OptionRules.h"
#include "build/RunScript.h"

class tst_BuildRules : public QObject {
    Q_OBJECT
private:
    static void errorRow(const char* name, const QString& text, int kind, int line = 0,
                         const QString& message = {}, const QString& file = {}) {
        QTest::newRow(name) << text << kind << line << message << file;
    }

private slots:
    void errorLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind"); // 0 other, 1 error, 2 malformed
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("file");
        errorRow("plain", "ERROR Line 3: Bad expression.", 1, 3, " Bad expression.");
        errorRow("no blank before the number", "ERROR Line12: Syntax error.", 1, 12, " Syntax error.");
        errorRow("text before the tag", "foo.pbp ERROR Line 7: x", 1, 7, " x");
        errorRow("colon inside the message", "ERROR Line 4: Label: missing", 1, 4, " Label: missing");
        errorRow("first tag counts", "ERROR Line 2: see ERROR Line 9: y", 1, 2, " see ERROR Line 9: y");
        errorRow("no number", "ERROR Line : z", 1, 0, " z");
        errorRow("empty message", "ERROR Line 5:", 1, 5, "");
        errorRow("the document named", "ERROR Line 5: Bad. (PROG.pbp)", 1, 5, " Bad. (PROG.pbp)");
        errorRow("an included file", "ERROR Line 5: Bad. (lcd.inc)", 1, 5, " Bad. (lcd.inc)", "lcd.inc");
        errorRow("included with a folder", "ERROR Line 1: x (inc\\lcd.bas) ", 1, 1, " x (inc\\lcd.bas) ",
                 "inc\\lcd.bas");
        errorRow("document in a folder", "ERROR Line 1: x (c:\\p\\prog.pbp)", 1, 1, " x (c:\\p\\prog.pbp)");
        errorRow("a remark, not a file", "ERROR Line 8: Expected (value 1.5 or more)", 1, 8,
                 " Expected (value 1.5 or more)");
        errorRow("no colon", "ERROR Line 3 Bad expression", 2);
        errorRow("tag at the end", "ERROR Line", 2);
        errorRow("other case", "error line 3: x", 0);
        errorRow("warning", "WARNING Line 3: x", 0);
    }
    void errorLine() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        capture::ErrorLine e;
        QCOMPARE(int(capture::parseLine(text, QStringLiteral("prog.pbp"), e)), kind);
        if (kind == 1) {
            QTEST(e.line, "line");
            QTEST(e.message, "message");
            QTEST(e.file, "file");
        }
    }

    // The first message of a line wins; a line without its colon ends the reading.
    void capture() {
        const capture::Capture c =
            capture::parse(QStringLiteral("PBP 2.40\r\nERROR Line 7: second\r\n"
                                          "ERROR Line 3: first\r\nERROR Line 7: again\r\n"
                                          "ERROR Line 3: inc (lcd.inc)\nERROR Line 9: last"),
                           QStringLiteral("prog.pbp"));
        QCOMPARE(c.errors.size(), 5);
        QVERIFY(c.errorsFound() && !c.malformed);
        QCOMPARE(c.find(7)->message, QStringLiteral(" second"));
        QCOMPARE(c.find(3)->message, QStringLiteral(" first"));
        QCOMPARE(c.find(9)->message, QStringLiteral(" last")); // no line end after the last line
        QVERIFY(!c.find(5));

        const capture::Capture cut = capture::parse(
            QStringLiteral("ERROR Line 2: a\nERROR Line 4 b\nERROR Line 6: c\n"), QStringLiteral("p.pbp"));
        QVERIFY(cut.malformed);
        QCOMPARE(cut.errors.size(), 1);
        QVERIFY(cut.find(2) && !cut.find(6));
        QVERIFY(!capture::parse(QStringLiteral("Done.\n"), QStringLiteral("p.pbp")).errorsFound());

        QCOMPARE(capture::decode(QByteArray("Zeile \xC3\xBC")), QStringLiteral("Zeile \u00FC"));
        QCOMPARE(capture::decode(QByteArray("Zeile \xFC")), QStringLiteral("Zeile \u00FC"));
    }

    // `lines` holds the DEL, CD, compile and TYPE lines, separated by '|'.
    void batchLines_data() {
        QTest::addColumn<QString>("doc");
        QTest::addColumn<QString>("app");
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("device");
        QTest::addColumn<QString>("lines");
        QTest::newRow("short paths, no options")
            << "C:\\PROJ\\TEST.BAS" << QString("C:\\APP") << "C:\\PBP\\PBPW.EXE" << QString() << "PIC16F84"
            << "DEL C:\\APP\\temp.dat|CD\\PROJ|C:\\PBP\\PBPW.EXE  -p16F84 "
               "C:\\PROJ\\TEST.BAS>C:\\APP\\temp.dat|"
               "TYPE C:\\APP\\temp.dat";
        QTest::newRow("options and a short device")
            << "D:\\A\\B\\X.PBP" << QString("C:\\APP") << " C:\\PBP\\PBPW.EXE " << QString("-ampasm  -oq")
            << "PIC"
            << "DEL C:\\APP\\temp.dat|CD\\A\\B|C:\\PBP\\PBPW.EXE -ampasm  -oq -p "
               "D:\\A\\B\\X.PBP>C:\\APP\\temp.dat|"
               "TYPE C:\\APP\\temp.dat";
        QTest::newRow("document in a root folder")
            << "C:\\X.BAS" << QString("C:\\APP") << "C:\\PBC.EXE" << QString() << "PIC16F84"
            << "DEL C:\\APP\\temp.dat|CD|C:\\PBC.EXE  -p16F84 C:\\X.BAS>C:\\APP\\temp.dat|TYPE "
               "C:\\APP\\temp.dat";
        // Without short names the long paths arrive; each stays one path.
        QTest::newRow("long paths with blanks and percent")
            << "C:\\My Work\\50%&more\\t.pbp" << QString("C:\\Program Files\\Pinwright")
            << "C:\\Program Files\\PBP\\PBPW.EXE" << QString() << "PIC16F84"
            << "DEL \"C:\\Program Files\\Pinwright\\temp.dat\"|CD \"\\My Work\\50%%&more\"|"
               "\"C:\\Program Files\\PBP\\PBPW.EXE\"  -p16F84 \"C:\\My Work\\50%%&more\\t.pbp\">"
               "\"C:\\Program Files\\Pinwright\\temp.dat\"|TYPE \"C:\\Program Files\\Pinwright\\temp.dat\"";
    }
    void batchLines() {
        QFETCH(QString, doc);
        QFETCH(QString, app);
        QFETCH(QString, compiler);
        QFETCH(QString, options);
        QFETCH(QString, device);
        QFETCH(QString, lines);
        const QStringList l = lines.split(u'|');
        QStringList out;
        AppError error;
        QVERIFY(
            runscript::batchLines({doc, app, compiler, options, runscript::deviceArg(device)}, out, error));
        QCOMPARE(out, (QStringList{"@ECHO OFF", l[0], l[1], "ECHO Compiling.... Please Wait.", l[2], l[3]}));

        // Without a folder in the document's path there is no script at all.
        for (const QString& bad : {QString(), QStringLiteral("TEST.BAS"), QStringLiteral("\\TEST.BAS")}) {
            QStringList none;
            QVERIFY(!runscript::batchLines({bad, app, compiler, options, "16F84"}, none, error));
            QCOMPARE(error.number, 5);
            QVERIFY(none.isEmpty());
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
        QTEST(cmdline::splitArguments(text), "words");
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
        const QString source = QStringLiteral("/w d/p q.pbp");
        QTEST(
            cmdline::expand(cmdline::splitArguments(options), {cmdline::hexFileOf(source), source, "16F84"}),
            "words");
    }

    void optionRules_data() {
        QTest::addColumn<bool>("folder"); // the source folder rule, else the MPASM rule
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("mpasm: -oq added") << false << "-ampasm -v" << QString("-ampasm -v -oq");
        QTest::newRow("mpasm: any case") << false << "-AMPASM" << QString("-AMPASM -oq");
        QTest::newRow("mpasm: blanks removed first") << false << "  -ampasm  " << QString("-ampasm -oq");
        QTest::newRow("mpasm: already quiet") << false << "-ampasm -OQ" << QString("-ampasm -OQ");
        QTest::newRow("no mpasm: as typed") << false << " -v " << QString(" -v ");
        QTest::newRow("folder: trailing backslash") << true << " C:\\Src\\ " << QString("C:\\Src");
        QTest::newRow("folder: without stays as typed") << true << " C:\\Src " << QString(" C:\\Src ");
        QTest::newRow("folder: empty") << true << "" << QString();
#ifndef Q_OS_WIN
        QTest::newRow("folder: trailing slash") << true << "/home/u/src/" << QString("/home/u/src");
        QTest::newRow("folder: the root stays") << true << "/" << QString("/");
#endif
    }
    void optionRules() {
        QFETCH(bool, folder);
        QFETCH(QString, typed);
        QTEST(folder ? optionrules::sourceFolder(typed) : optionrules::mpasmOptions(typed), "stored");
    }
};

QTEST_GUILESS_MAIN(tst_BuildRules)
#include "tst_BuildRules.moc"
