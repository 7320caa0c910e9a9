#include <QTest>

#include "language/ReservedWords.h"
#include "language/StatementTable.h"

Q_DECLARE_METATYPE(DevicePortTable)

namespace {

StatementTable built(bool pbpMode) {
    StatementTable t;
    t.InitPBPCodes(pbpMode);
    return t;
}

} // namespace

class tst_ReservedWords : public QObject {
    Q_OBJECT
private slots:
    void portNames_data() {
        QTest::addColumn<DevicePortTable>("ports");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("no ports") << DevicePortTable{} << QStringList();
        QTest::newRow("GPIO only, no TRIS") << DevicePortTable{6} << QStringList{"GPIO"};
        QTest::newRow("A and B") << DevicePortTable{0, 5, 8}
                                 << QStringList{"PORTA", "TRISA", "PORTB", "TRISB"};
        QTest::newRow("gap keeps table order")
            << DevicePortTable{0, 0, 8, 0, 8} << QStringList{"PORTB", "TRISB", "PORTD", "TRISD"};
        QTest::newRow("GPIO and a port") << DevicePortTable{4, 3} << QStringList{"GPIO", "PORTA", "TRISA"};
        QTest::newRow("F to J") << DevicePortTable{0, 0, 0, 0, 0, 0, 8, 6, 8, 8}
                                << QStringList{"PORTF", "TRISF", "PORTG", "TRISG",
                                               "PORTH", "TRISH", "PORTJ", "TRISJ"};
    }

    void portNames() {
        QFETCH(DevicePortTable, ports);
        QFETCH(QStringList, tail);
        const StatementTable t = built(true);
        const QList<KeywordAddition> all = ReservedWords::buildKeywordLists(t, true, ports);
        // The port names are the last additions, after every fixed word of every list.
        const QList<KeywordAddition> last = all.mid(all.size() - tail.size());
        QStringList words;
        for (const KeywordAddition& a : last) {
            QCOMPARE(a.list, 0);
            words.append(a.word);
        }
        QCOMPARE(words, tail);
        const int before = int(all.size() - tail.size()) - 1;
        QCOMPARE(all.at(before), (KeywordAddition{5, QStringLiteral("STR")}));
    }

    void picBasicPro() {
        const QList<KeywordAddition> all =
            ReservedWords::buildKeywordLists(built(true), true, DevicePortTable{});
        const QStringList statements = ReservedWords::wordsOfList(all, 0);
        QCOMPARE(statements.size(), 79);
        QCOMPARE(statements.first(), QStringLiteral("@"));
        QVERIFY(statements.contains(QStringLiteral("ON INTERRUPT")));
        QVERIFY(statements.contains(QStringLiteral("GoSub")));
        QCOMPARE(ReservedWords::wordsOfList(all, 1).size(), 40);
        QCOMPARE(ReservedWords::wordsOfList(all, 1).at(3), QStringLiteral("ADC_SAMPLEUS 50"));
        QCOMPARE(ReservedWords::wordsOfList(all, 2), (QStringList{"WORD", "BYTE", "BIT"}));
        QCOMPARE(ReservedWords::wordsOfList(all, 3),
                 (QStringList{"ABS", "COS", "DCD", "DIG", "MAX", "MIN", "NCD", "REV", "SIN", "SQR"}));
        QCOMPARE(ReservedWords::wordsOfList(all, 4), (QStringList{"AND", "OR", "XOR", "NOT"}));

        // Lists are added one after the other: statements, defines, sizes, math, logic, modifiers.
        int previous = 0;
        for (const KeywordAddition& a : all) {
            QVERIFY(a.list >= previous);
            previous = a.list;
        }

        const QStringList modifiers = ReservedWords::wordsOfList(all, 5);
        QCOMPARE(modifiers.size(), 4 + 16 * 4 + 4 + 5 * 4 + 4 + 4 * 4 + 2);
        QCOMPARE(modifiers.mid(0, 8),
                 (QStringList{"BIN", "IBIN", "SBIN", "ISBIN", "BIN1", "IBIN1", "SBIN1", "ISBIN1"}));
        QCOMPARE(modifiers.mid(modifiers.indexOf(QStringLiteral("DEC")), 8),
                 (QStringList{"DEC", "IDEC", "SDEC", "ISDEC", "DEC1", "IDEC1", "SDEC1", "ISDEC1"}));
        QCOMPARE(modifiers.mid(modifiers.size() - 6),
                 (QStringList{"HEX4", "IHEX4", "SHEX4", "ISHEX4", "REP", "STR"}));
    }

    void modifierRange_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("present");
        QTest::newRow("BIN16") << "BIN16" << true;
        QTest::newRow("ISBIN16") << "ISBIN16" << true;
        QTest::newRow("BIN17") << "BIN17" << false;
        QTest::newRow("DEC5") << "DEC5" << true;
        QTest::newRow("ISDEC5") << "ISDEC5" << true;
        QTest::newRow("DEC6") << "DEC6" << false;
        QTest::newRow("HEX4") << "HEX4" << true;
        QTest::newRow("HEX5") << "HEX5" << false;
        QTest::newRow("BIN0") << "BIN0" << false;
        QTest::newRow("REP") << "REP" << true;
    }

    void modifierRange() {
        QFETCH(QString, word);
        QFETCH(bool, present);
        const QList<KeywordAddition> all =
            ReservedWords::buildKeywordLists(built(true), true, DevicePortTable{});
        QCOMPARE(ReservedWords::wordsOfList(all, 5).contains(word), present);
        QCOMPARE(all.count(KeywordAddition{5, word}), present ? 1 : 0);
    }

    void picBasic() {
        const QList<KeywordAddition> all =
            ReservedWords::buildKeywordLists(built(false), false, DevicePortTable{0, 5, 8});
        QStringList expectedStatements = ReservedWords::statementWordsForList(built(false));
        QCOMPARE(expectedStatements.size(), 40);
        expectedStatements.append(QStringLiteral("Symbol"));
        QCOMPARE(ReservedWords::wordsOfList(all, 0), expectedStatements);
        QCOMPARE(ReservedWords::wordsOfList(all, 1), QStringList());
        QCOMPARE(ReservedWords::wordsOfList(all, 2), QStringList());
        QCOMPARE(ReservedWords::wordsOfList(all, 3), (QStringList{"MAX", "MIN"}));
        QCOMPARE(ReservedWords::wordsOfList(all, 4), (QStringList{"AND", "OR", "XOR", "NOT"}));
        QCOMPARE(ReservedWords::wordsOfList(all, 5), QStringList());
        QCOMPARE(all.size(), 41 + 2 + 4);
    }

    void stopsAtFirstBlankKeyword_data() {
        QTest::addColumn<int>("blankRow");
        QTest::addColumn<QString>("blank");
        QTest::addColumn<int>("count");
        QTest::newRow("empty row 5") << 5 << "" << 4;
        QTest::newRow("spaces only row 10") << 10 << "   " << 9;
        QTest::newRow("row 1") << 1 << " " << 0;
    }

    void stopsAtFirstBlankKeyword() {
        QFETCH(int, blankRow);
        QFETCH(QString, blank);
        QFETCH(int, count);
        StatementTable t = built(true);
        t.setCell(blankRow, StatementTable::Keyword, blank);
        const QStringList words = ReservedWords::statementWordsForList(t);
        QCOMPARE(words.size(), count);
        QVERIFY(!words.contains(QStringLiteral("Pause")));
        const QList<KeywordAddition> all = ReservedWords::buildKeywordLists(t, true, DevicePortTable{});
        QCOMPARE(ReservedWords::wordsOfList(all, 0), words);
    }

    void tabIsNotBlank() {
        StatementTable t = built(false);
        t.setCell(3, StatementTable::Keyword, QStringLiteral("\t"));
        QCOMPARE(ReservedWords::statementWordsForList(t).size(), 40);
    }
};

QTEST_GUILESS_MAIN(tst_ReservedWords)
#include "tst_ReservedWords.moc"
