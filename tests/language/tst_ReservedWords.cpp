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
    }
    void portNames() {
        QFETCH(DevicePortTable, ports);
        QFETCH(QStringList, tail);
        const QList<KeywordAddition> all = ReservedWords::buildKeywordLists(built(true), true, ports);
        // The port names are the last additions, to the statement list, after every fixed word.
        QStringList words;
        for (const KeywordAddition& a : all.mid(all.size() - tail.size())) {
            QCOMPARE(a.list, 0);
            words.append(a.word);
        }
        QCOMPARE(words, tail);
        QCOMPARE(all.at(all.size() - tail.size() - 1), (KeywordAddition{5, QStringLiteral("STR")}));
    }

    // Sizes of the statement, define, size, math, logic and modifier lists for a device with ports A and B.
    void lists_data() {
        QTest::addColumn<bool>("pbpMode");
        QTest::addColumn<QList<int>>("sizes");
        QTest::newRow("PicBasic Pro") << true << QList<int>{79 + 4, 40, 3, 10, 4, 114};
        QTest::newRow("PicBasic") << false << QList<int>{41, 0, 0, 2, 4, 0};
    }
    void lists() {
        QFETCH(bool, pbpMode);
        const QList<KeywordAddition> all =
            ReservedWords::buildKeywordLists(built(pbpMode), pbpMode, {0, 5, 8});
        QList<int> got;
        for (int list = 0; list < 6; ++list)
            got << int(ReservedWords::wordsOfList(all, list).size());
        QTEST(got, "sizes");
        // Lists are added one after the other, the port names (PicBasic Pro only) last of all.
        for (int i = 1; i < all.size() - (pbpMode ? 4 : 0); ++i)
            QVERIFY(all.at(i - 1).list <= all.at(i).list);
        const QStringList statements = ReservedWords::wordsOfList(all, 0);
        if (!pbpMode) {
            QCOMPARE(statements, ReservedWords::statementWordsForList(built(false))
                                     << QStringLiteral("Symbol"));
            return;
        }
        QCOMPARE(statements.first(), QStringLiteral("@"));
        QVERIFY(statements.contains(QStringLiteral("ON INTERRUPT")));
    }

    void modifierRange_data() {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("present");
        for (const char* w : {"BIN16", "ISBIN16", "DEC5", "ISDEC5", "HEX4", "REP"})
            QTest::newRow(w) << QString::fromLatin1(w) << true;
        for (const char* w : {"BIN17", "DEC6", "HEX5", "BIN0"})
            QTest::newRow(w) << QString::fromLatin1(w) << false;
    }
    void modifierRange() {
        QFETCH(QString, word);
        QFETCH(bool, present);
        const QList<KeywordAddition> all = ReservedWords::buildKeywordLists(built(true), true, {});
        QCOMPARE(all.count(KeywordAddition{5, word}), present ? 1 : 0);
    }

    void stopsAtFirstBlankKeyword_data() {
        QTest::addColumn<int>("blankRow");
        QTest::addColumn<QString>("blank");
        QTest::addColumn<int>("count");
        QTest::newRow("empty row 5") << 5 << "" << 4;
        QTest::newRow("spaces only row 10") << 10 << "   " << 9;
        QTest::newRow("row 1") << 1 << " " << 0;
        QTest::newRow("a tab is not blank") << 3 << "\t" << 79;
    }
    void stopsAtFirstBlankKeyword() {
        QFETCH(int, blankRow);
        QFETCH(QString, blank);
        StatementTable t = built(true);
        t.setCell(blankRow, StatementTable::Keyword, blank);
        const QStringList words = ReservedWords::statementWordsForList(t);
        QTEST(int(words.size()), "count");
        QCOMPARE(ReservedWords::wordsOfList(ReservedWords::buildKeywordLists(t, true, {}), 0), words);
    }
};

QTEST_GUILESS_MAIN(tst_ReservedWords)
#include "tst_ReservedWords.moc"
