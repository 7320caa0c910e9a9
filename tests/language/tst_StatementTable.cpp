#include <QTest>

#include "language/StatementTable.h"

class tst_StatementTable : public QObject {
    Q_OBJECT
    static StatementTable built(bool pbpMode) {
        StatementTable t;
        t.InitPBPCodes(pbpMode);
        return t;
    }

    // Cells outside the rows and columns are empty, so callers may index one past either end.
    static void outsideIsEmpty(const StatementTable& t) {
        for (int row = 0; row <= StatementTable::RowCount + 1; ++row)
            for (int col = 0; col <= StatementTable::ColumnCount + 1; ++col)
                if (row == 0 || col == 0 || row > StatementTable::RowCount ||
                    col > StatementTable::ColumnCount)
                    QCOMPARE(t.cell(row, col), QString());
        QCOMPARE(t.define(StatementTable::DefineCount + 1), QString());
    }

private slots:
    // Rebuilding for PicBasic after PicBasic Pro gives the same table as building for PicBasic alone.
    // (The row counts show in the reserved word lists and the help pages.)
    void switching() {
        StatementTable t = built(true);
        QVERIFY(t.isProTable());
        outsideIsEmpty(t);
        t.InitPBPCodes(false);
        const StatementTable fresh = built(false);
        QVERIFY(!t.isProTable());
        outsideIsEmpty(fresh);
        for (int row = 1; row <= StatementTable::RowCount; ++row)
            for (int col = 1; col <= StatementTable::ColumnCount; ++col)
                QCOMPARE(t.cell(row, col), fresh.cell(row, col));
        for (int i = 1; i <= StatementTable::DefineCount; ++i)
            QCOMPARE(t.define(i), QString());
    }

    void findStatement() {
        const QString gosub = QStringLiteral("Call BASIC subroutine at specified label.");
        const QList<std::tuple<bool, QString, int, QString>> rows{
            {true, "GoSuB", 19, gosub},
            {false, "gosub", 8, gosub},
            {true, "THEN", 27, "Coditionally execute statements."},
            {true, "and", 73, ""}, // a statement row of its own
            {true, "@", 1, "Insert One Line of Assembly Code"},
            {true, "on interrupt", 39, "Execute BASIC subroutine on an interrupt."},
            {true, "ON", 0, ""},
            {true, "GOS", 0, ""},
            {true, "GOSUBX", 0, ""},
            {false, "WHILE", 0, ""},
            {true, "While", 66, "Execute statements while condition is true."},
            {true, "debugin", 79, ""},
            {true, "I2CIN", 0, ""},
            {false, "", 0, ""}};
        for (const auto& [pbpMode, token, expected, description] : rows) {
            const StatementTable t = built(pbpMode);
            const int row = t.findStatement(token);
            QCOMPARE(QStringLiteral("%1 > %2 %3").arg(token).arg(row).arg(t.description(row)),
                     QStringLiteral("%1 > %2 %3").arg(token).arg(expected).arg(description));
        }
    }

    // PicBasic has no DEFINE entries at all.
    void findDefine() {
        const QList<std::pair<QString, int>> rows{{"define", 1},          {"osc", 34},
                                                  {"adc_sampleus 50", 4}, {"ADC_SAMPLEUS", 0},
                                                  {"IntHand", 40},        {"LCD_FOO", 0}};
        for (const auto& [token, index] : rows) {
            QCOMPARE(token + u'=' + QString::number(built(true).findDefine(token)),
                     token + u'=' + QString::number(index));
            QCOMPARE(built(false).findDefine(token), 0);
        }
    }
};

QTEST_GUILESS_MAIN(tst_StatementTable)
#include "tst_StatementTable.moc"
