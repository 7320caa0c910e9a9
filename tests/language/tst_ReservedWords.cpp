#include <QTest>

#include "language/ReservedWords.h"
#include "language/StatementTable.h"

class tst_ReservedWords : public QObject {
    Q_OBJECT
    static StatementTable built(bool pbpMode) {
        StatementTable t;
        t.InitPBPCodes(pbpMode);
        return t;
    }

private slots:
    // The port names are the last additions, to the statement list, after every fixed word.
    void portNames() {
        const QList<std::pair<DevicePortTable, QStringList>> rows{
            {{}, {}},
            {{6}, {"GPIO"}}, // no TRIS
            {{0, 5, 8}, {"PORTA", "TRISA", "PORTB", "TRISB"}},
            {{0, 0, 8, 0, 8}, {"PORTB", "TRISB", "PORTD", "TRISD"}}};
        for (const auto& [ports, tail] : rows) {
            const QList<KeywordAddition> all = ReservedWords::buildKeywordLists(built(true), true, ports);
            QStringList words;
            for (const KeywordAddition& a : all.mid(all.size() - tail.size()))
                words.append(a.list == 0 ? a.word : QStringLiteral("%1 in list %2").arg(a.word).arg(a.list));
            QCOMPARE(words, tail);
            QCOMPARE(all.at(all.size() - tail.size() - 1), (KeywordAddition{5, QStringLiteral("STR")}));
        }
    }

    // Sizes of the statement, define, size, math, logic and modifier lists for a device with ports A and B.
    void lists() {
        for (const bool pbpMode : {false, true}) {
            const QList<KeywordAddition> all =
                ReservedWords::buildKeywordLists(built(pbpMode), pbpMode, {0, 5, 8});
            QList<int> got;
            for (int list = 0; list < 6; ++list)
                got << int(ReservedWords::wordsOfList(all, list).size());
            QCOMPARE(got, (pbpMode ? QList<int>{79 + 4, 40, 3, 10, 4, 114} : QList<int>{41, 0, 0, 2, 4, 0}));
            // Lists are added one after the other, the port names (PicBasic Pro only) last of all.
            for (int i = 1; i < all.size() - (pbpMode ? 4 : 0); ++i)
                QVERIFY(all.at(i - 1).list <= all.at(i).list);
            const QStringList statements = ReservedWords::wordsOfList(all, 0);
            if (!pbpMode) {
                QCOMPARE(statements, ReservedWords::statementWordsForList(built(false))
                                         << QStringLiteral("Symbol"));
                continue;
            }
            QCOMPARE(statements.first(), QStringLiteral("@"));
            QVERIFY(statements.contains(QStringLiteral("ON INTERRUPT")));
            // The modifiers run up to BIN16, DEC5 and HEX4, each once.
            const QStringList modifiers = ReservedWords::wordsOfList(all, 5);
            for (const char* w : {"BIN16", "ISBIN16", "DEC5", "ISDEC5", "HEX4", "REP"})
                QVERIFY2(modifiers.count(QLatin1String(w)) == 1, w);
            for (const char* w : {"BIN17", "DEC6", "HEX5", "BIN0"})
                QVERIFY2(!modifiers.contains(QLatin1String(w)), w);
        }
    }

    // The statement list ends at the first keyword that is blanks only.
    void stopsAtFirstBlankKeyword() {
        StatementTable t = built(true);
        t.setCell(10, StatementTable::Keyword, QStringLiteral("   "));
        QCOMPARE(ReservedWords::wordsOfList(ReservedWords::buildKeywordLists(t, true, {}), 0).size(), 9);
    }
};

QTEST_GUILESS_MAIN(tst_ReservedWords)
#include "tst_ReservedWords.moc"
