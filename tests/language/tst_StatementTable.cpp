#include <QTest>

#include "language/StatementTable.h"

namespace {

StatementTable built(bool pbpMode) {
    StatementTable t;
    t.InitPBPCodes(pbpMode);
    return t;
}

int filledRows(const StatementTable& t) {
    int n = 0;
    for (int row = 1; row <= StatementTable::RowCount; ++row)
        n += t.keyword(row).isEmpty() ? 0 : 1;
    return n;
}

} // namespace

class tst_StatementTable : public QObject {
    Q_OBJECT
private slots:
    // Cells outside the rows and columns are empty, so callers may index one past either end.
    void cellsOutsideTheTable() {
        for (const bool pbpMode : {true, false}) {
            const StatementTable t = built(pbpMode);
            for (int row = 0; row <= StatementTable::RowCount + 1; ++row)
                for (const int col : {0, StatementTable::ColumnCount + 1})
                    QCOMPARE(t.cell(row, col), QString());
            for (const int row : {0, StatementTable::RowCount + 1})
                QCOMPARE(t.cell(row, 1) + t.cell(row, 2) + t.cell(row, 3), QString());
            QCOMPARE(t.keyword(pbpMode ? 1 : 41), pbpMode ? QStringLiteral("@") : QString());
        }
    }

    // Rebuilding for PicBasic after PicBasic Pro gives the same table as building for PicBasic alone.
    void rowCountsAndSwitching() {
        StatementTable t = built(true);
        QVERIFY(t.isProTable());
        QCOMPARE(filledRows(t), 79);
        QCOMPARE(t.define(41), QString());
        t.InitPBPCodes(false);
        const StatementTable fresh = built(false);
        QVERIFY(!t.isProTable());
        QCOMPARE(filledRows(fresh), 40);
        for (int row = 1; row <= StatementTable::RowCount; ++row)
            for (int col = 1; col <= StatementTable::ColumnCount; ++col)
                QCOMPARE(t.cell(row, col), fresh.cell(row, col));
        for (int i = 1; i <= StatementTable::DefineCount; ++i)
            QCOMPARE(t.define(i), QString());
        QCOMPARE(t.findStatement(QStringLiteral("while")), 0);
        t.InitPBPCodes(true);
        QCOMPARE(filledRows(t), 79);
        QCOMPARE(t.keyword(41), QStringLiteral("Pause"));
    }

    void findStatement_data() {
        QTest::addColumn<bool>("pbpMode");
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("description");
        const QString gosub = QStringLiteral("Call BASIC subroutine at specified label.");
        QTest::newRow("GoSuB mixed") << true << "GoSuB" << 19 << gosub;
        QTest::newRow("pbc gosub") << false << "gosub" << 8 << gosub;
        QTest::newRow("then") << true << "THEN" << 27 << "Coditionally execute statements.";
        QTest::newRow("and is a statement row") << true << "and" << 73 << "";
        QTest::newRow("at sign") << true << "@" << 1 << "Insert One Line of Assembly Code";
        QTest::newRow("on interrupt with blank")
            << true << "on interrupt" << 39 << "Execute BASIC subroutine on an interrupt.";
        QTest::newRow("on alone") << true << "ON" << 0 << "";
        QTest::newRow("prefix is no match") << true << "GOS" << 0 << "";
        QTest::newRow("longer is no match") << true << "GOSUBX" << 0 << "";
        QTest::newRow("pbc has no while") << false << "WHILE" << 0 << "";
        QTest::newRow("past row 40") << true << "While" << 66
                                     << "Execute statements while condition is true.";
        QTest::newRow("last row") << true << "debugin" << 79 << "";
        QTest::newRow("pro has no i2cin") << true << "I2CIN" << 0 << "";
        QTest::newRow("empty token") << false << "" << 0 << "";
    }
    void findStatement() {
        QFETCH(bool, pbpMode);
        QFETCH(QString, token);
        QFETCH(int, row);
        const StatementTable t = built(pbpMode);
        QCOMPARE(t.findStatement(token), row);
        QTEST(t.description(row), "description");
    }

    void findDefine_data() {
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("index");
        QTest::newRow("define") << "define" << 1;
        QTest::newRow("osc") << "osc" << 34;
        QTest::newRow("option with value") << "adc_sampleus 50" << 4;
        QTest::newRow("option without value") << "ADC_SAMPLEUS" << 0;
        QTest::newRow("inthand") << "IntHand" << 40;
        QTest::newRow("unknown") << "LCD_FOO" << 0;
    }
    void findDefine() {
        QFETCH(QString, token);
        QTEST(built(true).findDefine(token), "index");
        QCOMPARE(built(false).findDefine(token), 0);
    }
};

QTEST_GUILESS_MAIN(tst_StatementTable)
#include "tst_StatementTable.moc"
