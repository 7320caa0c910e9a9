#include <QTest>

#include "toolchain/CaptureFile.h"
#include "toolchain/CommandLine.h"
#include "toolchain/OptionRules.h"
#include "toolchain/RunScript.h"

class tst_BuildRules : public QObject {
    Q_OBJECT
private slots:
    // "kind|line|message|file", the kind 0 for other lines, 1 for an error, 2 for a malformed error.
    void errorLine() {
        const QList<std::pair<QString, QString>> rows{
            {"ERROR Line 3: Bad expression.", "1|3| Bad expression.|"},
            {"ERROR Line12: Syntax error.", "1|12| Syntax error.|"},
            {"C:\\p\\prog.pbp: ERROR Line 7: x", "1|7| x|"}, // colons before the tag do not count
            {"Fatal: ERROR Line: 6: y", "1|0| 6: y|"},
            {"ERROR Line 2: see ERROR Line 9: y", "1|2| see ERROR Line 9: y|"},
            {"ERROR Line 5:", "1|5||"},
            {"ERROR Line 5: Bad. (PROG.pbp)", "1|5| Bad. (PROG.pbp)|"}, // the document itself
            {"ERROR Line 5: Bad. (lcd.inc)", "1|5| Bad. (lcd.inc)|lcd.inc"},
            {"ERROR Line 1: x (inc\\lcd.bas) ", "1|1| x (inc\\lcd.bas) |inc\\lcd.bas"},
            {"ERROR Line 1: x (c:\\p\\prog.pbp)", "1|1| x (c:\\p\\prog.pbp)|"},
            {"ERROR Line 8: Expected (value 1.5 or more)", "1|8| Expected (value 1.5 or more)|"}, // a remark
            {"ERROR Line 3 Bad expression", "2"},
            {"ERROR Line", "2"},
            {"error line 3: x", "0"}};
        for (const auto& [text, expected] : rows) {
            capture::ErrorLine e;
            QString got = QString::number(int(capture::parseLine(text, QStringLiteral("prog.pbp"), e)));
            if (got == u"1")
                got += QStringLiteral("|%1|%2|%3").arg(e.line).arg(e.message, e.file);
            QCOMPARE(text + u'>' + got, text + u'>' + expected);
        }
    }

    // The first message of a line wins; the last line needs no line end. Output in a UTF-8 or an 8-bit
    // code page reads alike.
    void capture() {
        const capture::Capture c =
            capture::parse(QStringLiteral("PBP 2.40\r\nERROR Line 7: second\r\n"
                                          "ERROR Line 3: first\r\nERROR Line 7: again\r\n"
                                          "ERROR Line 3: inc (lcd.inc)\nERROR Line 5: text mode twice\r\r\n"
                                          "ERROR Line 9: last"),
                           QStringLiteral("prog.pbp"));
        QCOMPARE(c.errors.size(), 6);
        QVERIFY(c.errorsFound() && !c.malformed);
        QCOMPARE(c.find(7)->message, QStringLiteral(" second"));
        QCOMPARE(c.find(3)->message, QStringLiteral(" first"));
        QCOMPARE(c.find(9)->message, QStringLiteral(" last"));
        // A Windows program that writes CR LF through a text stream ends its lines in CR CR LF.
        QCOMPARE(c.find(5)->message, QStringLiteral(" text mode twice"));
        QVERIFY(!c.find(4));
        QCOMPARE(capture::decode(QByteArray("Zeile \xC3\xBC")), QStringLiteral("Zeile \u00FC"));
        QCOMPARE(capture::decode(QByteArray("Zeile \xFC")), QStringLiteral("Zeile \u00FC"));
    }

    // The batch file for a document, compiler, options and device; `lines` holds its DEL, CD, compile
    // and TYPE lines, separated by '|'. Without short names the long paths arrive; each stays one path.
    void batchLines() {
        const QString app = QStringLiteral("C:\\APP"),
                      appLong = QStringLiteral("C:\\Program Files\\Pinwright");
        const QList<std::tuple<QString, QString, QString, QString, QString, QString>> rows{
            {"D:\\A\\B\\X.PBP", app, " C:\\PBP\\PBPW.EXE ", "-ampasm  -oq", "PIC",
             "DEL C:\\APP\\temp.dat|CD\\A\\B|C:\\PBP\\PBPW.EXE -ampasm  -oq -p "
             "D:\\A\\B\\X.PBP>C:\\APP\\temp.dat|"
             "TYPE C:\\APP\\temp.dat"},
            {"C:\\X.BAS", app, "C:\\PBC.EXE", "", "PIC16F84",
             "DEL C:\\APP\\temp.dat|CD|C:\\PBC.EXE  -p16F84 C:\\X.BAS>C:\\APP\\temp.dat|TYPE "
             "C:\\APP\\temp.dat"},
            {"C:\\My Work\\50%&more\\t.pbp", appLong, "C:\\Program Files\\PBP\\PBPW.EXE", "", "PIC16F84",
             "DEL \"C:\\Program Files\\Pinwright\\temp.dat\"|CD \"\\My Work\\50%%&more\"|"
             "\"C:\\Program Files\\PBP\\PBPW.EXE\"  -p16F84 \"C:\\My Work\\50%%&more\\t.pbp\">"
             "\"C:\\Program Files\\Pinwright\\temp.dat\"|TYPE \"C:\\Program Files\\Pinwright\\temp.dat\""}};
        AppError error;
        for (const auto& [doc, folder, compiler, options, device, lines] : rows) {
            const QStringList l = lines.split(u'|');
            QStringList out;
            QVERIFY(runscript::batchLines({doc, folder, compiler, options, runscript::deviceArg(device)}, out,
                                          error));
            QCOMPARE(out,
                     (QStringList{"@ECHO OFF", l[0], l[1], "ECHO Compiling.... Please Wait.", l[2], l[3]}));
        }
        // Without a folder in the document's path there is no script at all.
        for (const QString& bad : {QString(), QStringLiteral("TEST.BAS"), QStringLiteral("\\TEST.BAS")}) {
            QStringList none;
            QVERIFY(!runscript::batchLines({bad, app, "C:\\PBC.EXE", "", "16F84"}, none, error));
            QCOMPARE(error.number, 5);
            QVERIFY(none.isEmpty());
        }
    }

    // Options are split into words as a shell would, and the placeholders in them filled in.
    void optionWords() {
        const QString source = QStringLiteral("/w d/p q.pbp");
        const QList<std::pair<QString, QStringList>> rows{
            {"  -v \t -ampasm  ", {"-v", "-ampasm"}}, // blanks around and between
            {"", {}},                                 // empty
            {"-o \"C:\\Program Files\\x.hex\" -q", {"-o", "C:\\Program Files\\x.hex", "-q"}}, // double quotes
            {"'a b'c d", {"a bc", "d"}},                                                      // single quotes
            {"'it''s' ''", {"its", ""}},            // '' closes and opens again; alone, an empty word
            {"'a \"\"b'", {"a \"\"b"}},             // double quotes inside single ones stay
            {"\"say \"\"hi\"\"\"", {"say \"hi\""}}, // doubled quote inside
            {"-f \"open end", {"-f", "open end"}},  // unclosed quote
            {"%HEX% -s%SOURCE% -p%DEVICE%",
             {"/w d/p q.hex", "-s/w d/p q.pbp", "-p16F84"}}, // each placeholder once
            {"%hex%", {"/w d/p q.hex"}},                     // letter case ignored
            {"\"-f %HEX%\"", {"-f /w d/p q.hex"}},           // quoted with text
            {"%PORT%", {"%PORT%"}}};                         // unknown stays
        for (const auto& [options, words] : rows) {
            const QStringList got = cmdline::expand(cmdline::splitArguments(options),
                                                    {cmdline::hexFileOf(source), source, "16F84"});
            QVERIFY2(got == words, qPrintable(options + " > " + got.join(u'|')));
        }
    }

    // What the options dialog stores: -oq joins MPASM's options; a source folder loses its last separator.
    void optionRules() {
        const QList<std::pair<QString, QString>> mpasm{
            {"-ampasm -v", "-ampasm -v -oq"}, {"-AMPASM", "-AMPASM -oq"}, {"-ampasm -OQ", "-ampasm -OQ"}};
        for (const auto& [typed, stored] : mpasm)
            QCOMPARE(optionrules::mpasmOptions(typed), stored);
        QCOMPARE(optionrules::sourceFolder(QString()), QString());
#ifndef Q_OS_WIN
        QCOMPARE(optionrules::sourceFolder(QStringLiteral("/home/u/src/")), QStringLiteral("/home/u/src"));
        QCOMPARE(optionrules::sourceFolder(QStringLiteral("/")), QStringLiteral("/"));
#endif
    }
};

QTEST_GUILESS_MAIN(tst_BuildRules)
#include "tst_BuildRules.moc"
