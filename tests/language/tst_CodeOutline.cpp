#include <QTest>

#include "language/CodeOutline.h"
#include "language/SourceScan.h"

using outline::Group;

// The explorer's entries from marked lines, and the INCLUDE test the marks come from.
class tst_CodeOutline : public QObject {
    Q_OBJECT

    // "kind|include|text" per line, numbered from 0.
    static QList<outline::Line> lines(const QStringList& rows) {
        QList<outline::Line> out;
        for (const QString& r : rows) {
            const QStringList parts = r.split(u'|');
            out.append({int(out.size()), parts[0].toInt(), parts[1] == u"1", parts.mid(2).join(u'|')});
        }
        return out;
    }
    // "<group letter> name = detail @line" per entry.
    static QStringList shown(const QList<outline::Entry>& entries) {
        QStringList out;
        for (const outline::Entry& e : entries)
            out << QStringLiteral("%1 %2 = %3 @%4")
                       .arg(outline::groupCaption(e.group).left(1), e.name, e.detail)
                       .arg(e.line);
        return out;
    }

private slots:
    void build_data() {
        QTest::addColumn<QStringList>("marked");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("labels, with and without a statement")
            << QStringList{"1|0|Main:", "1|0|\tLoop: GOTO Loop"} << QStringList{"L Main =  @0", "L Loop =  @1"};
        QTest::newRow("a label mark the text no longer bears out") << QStringList{"1|0|Main = 1"} << QStringList{};
        QTest::newRow("sizes in any case, comment dropped")
            << QStringList{"2|0|count VAR BYTE ' counter", "2|0|B4 vAR bYTE", "2|0|f Var Bit\t' flag",
                           "2|0|w VAR WORD BANK0 SYSTEM", "2|0|L0 var long"}
            << QStringList{"V count = BYTE @0", "V B4 = BYTE @1", "V f = BIT @2", "V w = WORD @3", "V L0 = LONG @4"};
        QTest::newRow("arrays, blanks or none before and inside the brackets")
            << QStringList{"2|0|buf VAR BYTE[16]", "2|0|big VAR word [ 8 ] BANK1"}
            << QStringList{"V buf = BYTE[16] @0", "V big = WORD[8] @1"};
        QTest::newRow("aliases")
            << QStringList{"2|0|led VAR PORTB.0 'LED", "2|0|lo   VAR  w.BYTE0", "2|0|two VAR count"}
            << QStringList{"A led = PORTB.0 @0", "A lo = w.BYTE0 @1", "A two = count @2"};
        QTest::newRow("constants keep their expression, not the comment")
            << QStringList{"3|0|MAXV CON 100 ; max", "3|0|Mask Con $10\t' bits", "3|0|Twice CON MAXV * 2"}
            << QStringList{"C MAXV = 100 @0", "C Mask = $10 @1", "C Twice = MAXV * 2 @2"};
        QTest::newRow("both on one line, in line order")
            << QStringList{"4|0|n CON 5 : a VAR BYTE[n]"} << QStringList{"C n = 5 @0", "V a = BYTE[n] @0"};
        QTest::newRow("only the kinds the scanner marked")
            << QStringList{"2|0|a VAR BYTE : b CON 5", "3|0|c CON 1 : d VAR BYTE"}
            << QStringList{"V a = BYTE @0", "C c = 1 @1"};
        QTest::newRow("a declaration in a comment or string is none")
            << QStringList{"2|0|x VAR BYTE ' y VAR WORD", "2|0|s VAR BYTE : LCDOUT \"t: u VAR BIT\""}
            << QStringList{"V x = BYTE @0", "V s = BYTE @1"};
        QTest::newRow("a VAR that declares nothing") << QStringList{"2|0|HIGH VAR", "2|0|VAR x BYTE"} << QStringList{};
        QTest::newRow("includes, and a stale mark")
            << QStringList{"0|1|INCLUDE \"modedefs.bas\"", "0|1|x = 1", "0|0|INCLUDE \"unmarked.bas\""}
            << QStringList{"I modedefs.bas =  @0"};
        QTest::newRow("file order across groups")
            << QStringList{"0|1|include \"lcd.pbp\"", "2|0|i VAR BYTE", "1|0|Start:", "3|0|K CON 1"}
            << QStringList{"I lcd.pbp =  @0", "V i = BYTE @1", "L Start =  @2", "C K = 1 @3"};
    }
    void build() {
        QFETCH(QStringList, marked);
        QFETCH(QStringList, expected);
        QCOMPARE(shown(outline::build(lines(marked))), expected);
    }

    void includeName_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "INCLUDE \"modedefs.bas\"" << "modedefs.bas";
        QTest::newRow("any case, indented, comment after") << "\t  Include \"SDFS.PBP\"  ' sd card" << "SDFS.PBP";
        QTest::newRow("no blank before the quote") << "include\"x.bas\"" << "x.bas";
        QTest::newRow("folder part kept") << "INCLUDE \"lib\\lcd.bas\"" << "lib\\lcd.bas";
        QTest::newRow("a longer word") << "INCLUDED = 1" << QString();
        QTest::newRow("no quotes") << "INCLUDE modedefs.bas" << QString();
        QTest::newRow("empty name") << "INCLUDE \"\"" << QString();
        QTest::newRow("unclosed") << "INCLUDE \"x.bas" << QString();
        QTest::newRow("in a comment") << "' INCLUDE \"x.bas\"" << QString();
        QTest::newRow("short line") << "INCL" << QString();
    }
    void includeName() {
        QFETCH(QString, line);
        QFETCH(QString, name);
        const QString got = sourcescan::includeName(line);
        QCOMPARE(got, name);
        QCOMPARE(got.isNull(), name.isNull());
    }
};

QTEST_MAIN(tst_CodeOutline)
#include "tst_CodeOutline.moc"
