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

    // "1|Loop": a label line named Loop; the name is read even from a line that is no label.
    void labelTest() {
        const QList<std::pair<QString, QString>> rows{
            {"Loop:", "1|Loop"},
            {"X = 1 : Y = 2", "0|X = 1 "},
            {"   Loop: GOTO Loop", "0|Loop"}, // the indented window reaches past the colon
            {"\t\tLoop: GOTO Loop", "1|Loop"},
            {"Lo\top:", "1|Loop"},
            {"Loop", "0|Loop"},
            {"Loop :", "0|Loop "},
            {"", "0|"}};
        for (const auto& [line, expected] : rows)
            QCOMPARE(line + u'>' + QString::number(isLabelLine(line)) + u'|' + labelName(line),
                     line + u'>' + expected);
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
            {"' B VAR BYTE", 0, true, 0},         // in a ' comment
            {"; B VAR BYTE", 0, true, 0},         // in a ; comment
            {"; note: x VAR y", 0, true, 0},      // label in a ; comment
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
            const QList<SourceToken> tokens = SourceLexer::lex(line, config_, keywords_);
            const auto classAt = [&tokens](int col) {
                for (const SourceToken& t : tokens)
                    if (col >= t.start && col < t.start + t.length)
                        return t.cls;
                return 0;
            };
            const int got = declarationPass(line, labelPass(line, before), classAt);
            QCOMPARE(QStringLiteral("%1 > %2 %3").arg(line).arg(mayDeclare(line)).arg(got),
                     QStringLiteral("%1 > %2 %3").arg(line).arg(may).arg(kind));
        }
    }
};

QTEST_MAIN(tst_SourceScan)
#include "tst_SourceScan.moc"
