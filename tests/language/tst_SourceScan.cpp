#include <QTest>

#include "language/SourceScan.h"
#include "platform/sourceview/SourceLexer.h"

using namespace sourcescan;

// The scanner's rules over the real lexer, configured as the editor configures it for PicBasic Pro.
class tst_SourceScan : public QObject {
    Q_OBJECT
    LexerConfig config_{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""),
                        QStringLiteral(";")};
    KeywordTable keywords_;

private slots:
    void initTestCase() {
        for (const char* w : {"VAR", "CON", "GOTO", "HIGH"})
            keywords_.add(0, QLatin1String(w));
    }

    // "1|Loop": a label line named Loop; the name is read even from a line that is no label. A line
    // that starts with a comment is none; ";" starts one in PicBasic Pro only (the last column: a label
    // line in PicBasic).
    void labelTest() {
        const LexerConfig pbc{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\"")};
        const QList<std::tuple<QString, QString, bool>> rows{
            {"Loop:", "1|Loop", true},
            {"X = 1 : Y = 2", "0|X = 1 ", false},
            {"   Loop: GOTO Loop", "0|Loop", false}, // the indented window reaches past the colon
            {"\t\tLoop: GOTO Loop", "1|Loop", true},
            {"Lo\top:", "1|Loop", true},
            {"Loop", "0|Loop", false},
            {"Loop :", "0|Loop ", false},
            {"", "0|", false},
            {"'Init:", "0|'Init", false},
            {"\t 'Init:", "0|'Init", false},
            {";Init:", "0|;Init", true},
            {"REM:", "0|REM", false},
            {"Remark:", "1|Remark", true}, // REM starts a comment as a whole word only
            {"Init: ' set up", "1|Init", true}};
        for (const auto& [line, pro, basic] : rows)
            QCOMPARE(line + u'>' + QString::number(isLabelLine(line, config_)) + u'|' + labelName(line) +
                         (isLabelLine(line, pbc) ? " basic" : ""),
                     line + u'>' + pro + (basic ? " basic" : ""));
    }

    // `before` is the kind a stale mark left; `may` tells whether the quick test lets the line through
    // to the declaration passes.
    void kinds() {
        const QList<std::tuple<QString, int, bool, int>> rows{
            {"B VAR BYTE", 0, true, 2},
            {"led var portb.0", 0, true, 2},
            {"x con", 0, true, 3},                // lower-case con at the very end
            {"K CON 3 : A VAR BYTE", 0, true, 4}, // constant before variable
            {"Here: B VAR BYTE", 0, true, 2},     // label that declares
            {"Here: K CON 1", 0, true, 3},        // label with a constant
            {"VARIABLE = CONTROL", 0, true, 0},   // longer names
            {"ConTrol = 1", 0, true, 0},          // mixed case inside a word
            {"CONTROL VAR BYTE", 0, true, 2},     // name, then the statement
            {"myCon CON 5", 0, true, 3},
            {"'Init: B VAR BYTE", 1, true, 0}, // a stale label mark on a comment
            {"' B VAR BYTE", 0, true, 0},      // in a ' comment
            {"; B VAR BYTE", 0, true, 0},      // in a ; comment
            {"; note: x VAR y", 0, true, 0},   // label in a ; comment
            {"LCDOUT \"A VAR B\"", 0, true, 0},
            {"Main: ' x VAR", 0, true, 1}, // label and a word in a comment
            {"HIGH VA", 0, false, 0},      // cut short
            {"V A R C O N", 0, false, 0},  // letters apart
            {"HIGH 1", 0, false, 0},
            {"", 0, false, 0},
            {"Start", 1, false, 0}, // label edited away
            {"B = 1", 4, false, 0}, // declaration removed
            {"B VAR BYTE", 3, true, 2}};
        for (const auto& [line, before, may, kind] : rows) {
            const ClassAt classAt = classesIn(SourceLexer::lex(line, config_, keywords_));
            const int got = declarationPass(line, labelPass(line, before, config_), classAt);
            QCOMPARE(QStringLiteral("%1 > %2 %3").arg(line).arg(mayDeclare(line)).arg(got),
                     QStringLiteral("%1 > %2 %3").arg(line).arg(may).arg(kind));
        }
    }
};

QTEST_MAIN(tst_SourceScan)
#include "tst_SourceScan.moc"
