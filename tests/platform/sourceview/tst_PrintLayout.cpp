#include "platform/sourceview/PrintLayout.h"

#include <QtTest>

using printlayout::Row;

// The rows as "line:start+length" with ">" before a continued part, joined by blanks; pages by "|".
static QString describe(const QList<QList<Row>>& pages) {
    QStringList out;
    for (const QList<Row>& page : pages) {
        QStringList rows;
        for (const Row& r : page)
            rows << QStringLiteral("%1%2:%3+%4")
                        .arg(r.continued ? ">" : "")
                        .arg(r.line)
                        .arg(r.start)
                        .arg(r.length);
        out << rows.join(u' ');
    }
    return out.join(u'|');
}

class tst_PrintLayout : public QObject {
    Q_OBJECT
private slots:
    void paginate_data() {
        QTest::addColumn<QString>("text"); // lines separated by "\n"
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("fits") << "ab\n\ncd" << 10 << 5 << "0:0+2 1:0+0 2:0+2";
        QTest::newRow("pages") << "a\nb\nc\nd\ne" << 10 << 2 << "0:0+1 1:0+1|2:0+1 3:0+1|4:0+1";
        QTest::newRow("exactly full") << "a\nb" << 10 << 2 << "0:0+1 1:0+1";
        QTest::newRow("empty document") << "" << 10 << 2 << "0:0+0";
        // 10 cells, then 8 for each continued part; PORTB.0 is one name.
        QTest::newRow("word boundary") << "HIGH PORTB.0 LOW led" << 10 << 9 << "0:0+4 >0:5+7 >0:13+7";
        QTest::newRow("punctuation breaks") << "x=alpha,beta,gamma" << 10 << 9 << "0:0+8 >0:8+5 >0:13+5";
        QTest::newRow("word too long") << "abcdefghijklmnop" << 6 << 9 << "0:0+6 >0:6+4 >0:10+4 >0:14+2";
        QTest::newRow("blanks at break dropped") << "aaaa      bbbb" << 6 << 9 << "0:0+4 >0:10+4";
        QTest::newRow("continued over a page") << "one two three four" << 8 << 2 << "0:0+7 >0:8+5|>0:14+4";
        QTest::newRow("no room") << "abc" << 0 << 0 << "0:0+1|>0:1+1|>0:2+1";
        // clang-format on
    }
    void paginate() {
        QFETCH(QString, text);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(QString, expected);
        QCOMPARE(describe(printlayout::paginate(text.split(u'\n'), 0, columns, rows)), expected);
    }

    void headerAndNumbers() {
        const QDate day(2026, 3, 4);
        const QString date = QLocale().toString(day, QLocale::ShortFormat);
        QCOMPARE(printlayout::header(QStringLiteral("/src/blink led.pbp"), 2, 7, day),
                 (printlayout::Header{"blink led.pbp", "Page 2 of 7", date}));
        QCOMPARE(printlayout::header(QString(), 1, 1, day).left, QStringLiteral("Untitled"));
        QCOMPARE(QList<int>({printlayout::numberCells(9, true), printlayout::numberCells(10, true),
                             printlayout::numberCells(12345, true), printlayout::numberCells(10, false)}),
                 QList<int>({2, 3, 6, 0}));
        QCOMPARE(printlayout::expandTabs(u"\tA\tBCDE\tx", 4), QStringLiteral("    A   BCDE    x"));
        // Numbers follow the first line given.
        QCOMPARE(describe(printlayout::paginate({QStringLiteral("a")}, 41, 5, 5)), QStringLiteral("41:0+1"));
    }
};

QTEST_GUILESS_MAIN(tst_PrintLayout)
#include "tst_PrintLayout.moc"
