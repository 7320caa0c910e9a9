#include <QTest>

#include "language/CodeOutline.h"

// The explorer's entries from the lines the scanner marked ("kind|INCLUDE mark|text", numbered from 0).
class tst_CodeOutline : public QObject {
    Q_OBJECT
private slots:
    void build_data() {
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QStringList>("expected"); // "<group letter> name = detail @line"
        QTest::newRow("labels; a mark the text no longer bears out")
            << QStringList{"1|0|Main:", "1|0|\tLoop: GOTO Loop", "1|0|Main = 1"}
            << QStringList{"L Main =  @0", "L Loop =  @1"};
        QTest::newRow("sizes in any case, modifiers and comments dropped")
            << QStringList{"2|0|count VAR BYTE ' counter", "2|0|B4 vAR bYTE", "2|0|f Var Bit\t' flag",
                           "2|0|w VAR WORD BANK0 SYSTEM", "2|0|L0 var long"}
            << QStringList{"V count = BYTE @0", "V B4 = BYTE @1", "V f = BIT @2", "V w = WORD @3",
                           "V L0 = LONG @4"};
        QTest::newRow("arrays") << QStringList{"2|0|buf VAR BYTE[16]", "2|0|big VAR word [ 8 ] BANK1"}
                                << QStringList{"V buf = BYTE[16] @0", "V big = WORD[8] @1"};
        QTest::newRow("aliases") << QStringList{"2|0|led VAR PORTB.0 'LED", "2|0|lo   VAR  w.BYTE0"}
                                 << QStringList{"A led = PORTB.0 @0", "A lo = w.BYTE0 @1"};
        QTest::newRow("constants keep their expression")
            << QStringList{"3|0|MAXV CON 100 ; max", "3|0|Twice CON MAXV * 2\t' x"}
            << QStringList{"C MAXV = 100 @0", "C Twice = MAXV * 2 @1"};
        QTest::newRow("both on one line, in order")
            << QStringList{"4|0|n CON 5 : a VAR BYTE[n]"} << QStringList{"C n = 5 @0", "V a = BYTE[n] @0"};
        QTest::newRow("only the kinds the scanner marked")
            << QStringList{"2|0|a VAR BYTE : b CON 5", "3|0|c CON 1 : d VAR BYTE"}
            << QStringList{"V a = BYTE @0", "C c = 1 @1"};
        QTest::newRow("declarations in comments and strings, or none at all")
            << QStringList{"2|0|x VAR BYTE ' y VAR WORD", "2|0|LCDOUT \"t: u VAR BIT\"", "2|0|HIGH VAR",
                           "2|0|VAR x BYTE"}
            << QStringList{"V x = BYTE @0"};
        QTest::newRow("INCLUDE forms, and marks on other lines")
            << QStringList{"0|1|\t Include \"SDFS.PBP\"  ' sd",
                           "0|1|include\"lib\\x.bas\"",
                           "0|1|INCLUDED = 1",
                           "0|1|INCLUDE modedefs.bas",
                           "0|1|INCLUDE \"\"",
                           "0|1|INCLUDE \"open",
                           "0|0|INCLUDE \"no.bas\""}
            << QStringList{"I SDFS.PBP =  @0", "I lib\\x.bas =  @1"};
        QTest::newRow("file order across groups")
            << QStringList{"0|1|include \"lcd.pbp\"", "2|0|i VAR BYTE", "1|0|Start:", "3|0|K CON 1"}
            << QStringList{"I lcd.pbp =  @0", "V i = BYTE @1", "L Start =  @2", "C K = 1 @3"};
    }
    void build() {
        QFETCH(QStringList, marked);
        QFETCH(QStringList, expected);
        QList<outline::Line> lines;
        for (const QString& r : marked) {
            const QStringList parts = r.split(u'|');
            lines.append({int(lines.size()), parts[0].toInt(), parts[1] == u"1", parts.mid(2).join(u'|')});
        }
        QStringList shown;
        for (const outline::Entry& e : outline::build(lines))
            shown << QStringLiteral("%1 %2 = %3 @%4")
                         .arg(outline::groupCaption(e.group).left(1), e.name, e.detail)
                         .arg(e.line);
        QCOMPARE(shown, expected);
    }
};

QTEST_MAIN(tst_CodeOutline)
#include "tst_CodeOutline.moc"
