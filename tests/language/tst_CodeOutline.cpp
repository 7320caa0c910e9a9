#include <QTest>

#include "language/CodeOutline.h"

// The explorer's entries from the lines the scanner marked ("kind|INCLUDE mark|text", numbered from 0).
class tst_CodeOutline : public QObject {
    Q_OBJECT
    static QString shown(const outline::Entry& e) {
        return QStringLiteral("%1 %2 = %3 @%4")
            .arg(outline::groupCaption(e.group).left(1), e.name, e.detail)
            .arg(e.line);
    }

private slots:
    void build() {
        const LexerConfig comments{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""),
                                   QStringLiteral(";")};
        const QList<std::pair<QStringList, QStringList>> rows{
            // Labels; a mark the text no longer bears out.
            {{"1|0|Main:", "1|0|\tLoop: GOTO Loop", "1|0|Main = 1", "1|0|'Init:", "1|0|;Init:"},
             {"L Main =  @0", "L Loop =  @1"}},
            // Names that hold the declaring word, TABs around the words.
            {{"2|0|myVar VAR BYTE", "2|0|\tVariable\tVAR\tWORD", "3|0|myCon CON 5",
              "3|0|\t\tContinue\tCON\t3"},
             {"V myVar = BYTE @0", "V Variable = WORD @1", "C myCon = 5 @2", "C Continue = 3 @3"}},
            // Sizes in any case, modifiers and comments dropped.
            {{"2|0|count VAR BYTE ' counter", "2|0|B4 vAR bYTE", "2|0|f Var Bit\t' flag",
              "2|0|w VAR WORD BANK0 SYSTEM", "2|0|L0 var long"},
             {"V count = BYTE @0", "V B4 = BYTE @1", "V f = BIT @2", "V w = WORD @3", "V L0 = LONG @4"}},
            {{"2|0|buf VAR BYTE[16]", "2|0|big VAR word [ 8 ] BANK1"},
             {"V buf = BYTE[16] @0", "V big = WORD[8] @1"}},
            {{"2|0|led VAR PORTB.0 'LED", "2|0|lo   VAR  w.BYTE0"},
             {"A led = PORTB.0 @0", "A lo = w.BYTE0 @1"}},
            {{"3|0|MAXV CON 100 ; max", "3|0|Twice CON MAXV * 2\t' x"},
             {"C MAXV = 100 @0", "C Twice = MAXV * 2 @1"}},
            {{"4|0|n CON 5 : a VAR BYTE[n]"}, {"C n = 5 @0", "V a = BYTE[n] @0"}},
            // Only the kinds the scanner marked.
            {{"2|0|a VAR BYTE : b CON 5", "3|0|c CON 1 : d VAR BYTE"}, {"V a = BYTE @0", "C c = 1 @1"}},
            // Declarations in comments and strings, or none at all.
            {{"2|0|x VAR BYTE ' y VAR WORD", "2|0|LCDOUT \"t: u VAR BIT\"", "2|0|HIGH VAR", "2|0|VAR x BYTE"},
             {"V x = BYTE @0"}},
            // INCLUDE forms, and marks on other lines.
            {{"0|1|\t Include \"SDFS.PBP\"  ' sd", "0|1|include\"lib\\x.bas\"", "0|1|INCLUDED = 1",
              "0|1|INCLUDE modedefs.bas", "0|1|INCLUDE \"\"", "0|1|INCLUDE \"open", "0|0|INCLUDE \"no.bas\""},
             {"I SDFS.PBP =  @0", "I lib\\x.bas =  @1"}},
            // File order across groups.
            {{"0|1|include \"lcd.pbp\"", "2|0|i VAR BYTE", "1|0|Start:", "3|0|K CON 1"},
             {"I lcd.pbp =  @0", "V i = BYTE @1", "L Start =  @2", "C K = 1 @3"}}};
        for (const auto& [marked, expected] : rows) {
            QList<outline::Line> lines;
            for (const QString& r : marked) {
                const QStringList parts = r.split(u'|');
                lines.append(
                    {int(lines.size()), parts[0].toInt(), parts[1] == u"1", parts.mid(2).join(u'|')});
            }
            QStringList entries;
            for (const outline::Entry& e : outline::build(lines, comments))
                entries << shown(e);
            QCOMPARE(entries, expected);
        }
    }

    // PicBasic's SYMBOL statements, as the explorer lists them ("" for none).
    void symbol_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("entry");
        const char* rows[][2] = {{"SYMBOL count = B2", "A count = B2"},
                                 {"\tsymbol\tled\t=\tPIN0", "A led = PIN0"},
                                 {"Symbol delay=500", "C delay = 500"},
                                 {"SYMBOL mask = $0F", "C mask = $0F"},
                                 {"SYMBOL key = \"A\"", "C key = \"A\""},
                                 {"SYMBOL flag = B0.3", "A flag = B0.3"},
                                 {"SYMBOL x =", ""},
                                 {"SYMBOL x B2", ""},
                                 {"SYMBOL a b = 1", ""},
                                 {"SYMBOLS x = 1", ""},
                                 {"x = 1 SYMBOL y = 2", ""}};
        for (const auto& [statement, entry] : rows)
            QTest::newRow(statement) << QString::fromLatin1(statement) << QString::fromLatin1(entry);
    }
    void symbol() {
        QFETCH(QString, statement);
        QFETCH(QString, entry);
        outline::Entry e;
        QCOMPARE(outline::symbolEntry(statement, 7, e) ? shown(e) : QString(),
                 entry.isEmpty() ? entry : entry + QStringLiteral(" @7"));
    }
};

QTEST_MAIN(tst_CodeOutline)
#include "tst_CodeOutline.moc"
