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
    void cells_data() {
        QTest::addColumn<bool>("pbpMode");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("syntax");
        QTest::addColumn<QString>("description");
        QTest::newRow("pro 1") << true << 1 << "@"
                               << "@ Assembly Statement"
                               << "Insert One Line of Assembly Code";
        QTest::newRow("pro 3 empty syntax") << true << 3 << "EndAsm"
                                            << ""
                                            << "End Assembly Language Code Section";
        QTest::newRow("pro 56 backslash")
            << true << 56 << "SerIn2"
            << "SERIN2 DataPin{\\FlowPin},Mode,{ParityLabel,}{Timeout,Label,}[Item...]"
            << "Asynchronous serial input (BS2 style).";
        QTest::newRow("pro 74 quotes") << true << 74 << "INCLUDE"
                                       << "INCLUDE \"Filename\""
                                       << "";
        QTest::newRow("pro 79") << true << 79 << "DebugIn"
                                << "DEBUGIN {Timeout, Label,}[Item{,Item...}]"
                                << "";
        QTest::newRow("pbc 1 own") << false << 1 << "Branch"
                                   << "BRANCH Offset, (Label {,Label...})"
                                   << "Branch to a different label based on index value.";
        QTest::newRow("pbc 4 debug") << false << 4 << "Debug"
                                     << "Debugging statement not supported by PBC."
                                     << "Debugging statement not supported by PBC.";
        QTest::newRow("pbc 40") << false << 40 << "Next"
                                << "NEXT {Count}"
                                << "";
        QTest::newRow("pbc 41 empty") << false << 41 << ""
                                      << ""
                                      << "";
        QTest::newRow("row 0") << true << 0 << ""
                               << ""
                               << "";
        QTest::newRow("row 80") << true << 80 << ""
                                << ""
                                << "";
    }

    void cells() {
        QFETCH(bool, pbpMode);
        QFETCH(int, row);
        QFETCH(QString, keyword);
        QFETCH(QString, syntax);
        QFETCH(QString, description);
        const StatementTable t = built(pbpMode);
        QCOMPARE(t.cell(row, 1), keyword);
        QCOMPARE(t.cell(row, 2), syntax);
        QCOMPARE(t.cell(row, 3), description);
        QCOMPARE(t.cell(row, 0), QString());
        QCOMPARE(t.cell(row, 4), QString());
    }

    void rowCountsAndMarker() {
        const StatementTable pro = built(true);
        QVERIFY(pro.isProTable());
        QCOMPARE(filledRows(pro), 79);
        QCOMPARE(pro.define(1), QStringLiteral("DEFINE"));
        QCOMPARE(pro.define(4), QStringLiteral("ADC_SAMPLEUS 50"));
        QCOMPARE(pro.define(40), QStringLiteral("INTHAND"));
        QCOMPARE(pro.define(41), QString());

        const StatementTable pbc = built(false);
        QVERIFY(!pbc.isProTable());
        QCOMPARE(filledRows(pbc), 40);
        QCOMPARE(pbc.define(1), QString());
    }

    // Rebuilding for PicBasic after PicBasic Pro gives the same table as building for PicBasic alone.
    void switchToPicBasicEmptiesProRows() {
        StatementTable t = built(true);
        t.InitPBPCodes(false);
        const StatementTable fresh = built(false);
        for (int row = 1; row <= StatementTable::RowCount; ++row) {
            for (int col = 1; col <= StatementTable::ColumnCount; ++col)
                QCOMPARE(t.cell(row, col), fresh.cell(row, col));
        }
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
        QTest::newRow("gosub lower") << true << "gosub" << 19 << "Call BASIC subroutine at specified label.";
        QTest::newRow("GoSuB mixed") << true << "GoSuB" << 19 << "Call BASIC subroutine at specified label.";
        QTest::newRow("pbc gosub") << false << "gosub" << 8 << "Call BASIC subroutine at specified label.";
        QTest::newRow("if") << true << "if" << 26 << "Coditionally execute statements.";
        QTest::newRow("then") << true << "THEN" << 27 << "Coditionally execute statements.";
        QTest::newRow("and is a statement row") << true << "and" << 73 << "";
        QTest::newRow("at sign") << true << "@" << 1 << "Insert One Line of Assembly Code";
        QTest::newRow("on interrupt with blank")
            << true << "on interrupt" << 39 << "Execute BASIC subroutine on an interrupt.";
        QTest::newRow("on alone") << true << "ON" << 0 << "";
        QTest::newRow("prefix is no match") << true << "GOS" << 0 << "";
        QTest::newRow("longer is no match") << true << "GOSUBX" << 0 << "";
        QTest::newRow("pbc has no while") << false << "WHILE" << 0 << "";
        QTest::newRow("pbc debug") << false << "debug" << 4 << "Debugging statement not supported by PBC.";
        QTest::newRow("past row 40") << true << "While" << 66 << "Execute statements while condition is true.";
        QTest::newRow("last row") << true << "debugin" << 79 << "";
        QTest::newRow("pro has no i2cin") << true << "I2CIN" << 0 << "";
        QTest::newRow("empty token") << false << "" << 0 << "";
    }

    void findStatement() {
        QFETCH(bool, pbpMode);
        QFETCH(QString, token);
        QFETCH(int, row);
        QFETCH(QString, description);
        const StatementTable t = built(pbpMode);
        QCOMPARE(t.findStatement(token), row);
        QCOMPARE(t.description(row), description);
    }

    void ifAndThenShareSyntax() {
        const StatementTable t = built(true);
        const QString ifLine = QStringLiteral("IF Comp {AND/OR Comp...} THEN Label");
        QCOMPARE(t.syntax(t.findStatement(QStringLiteral("If"))), ifLine);
        QCOMPARE(t.syntax(t.findStatement(QStringLiteral("then"))), ifLine);
        const StatementTable pbc = built(false);
        QCOMPARE(pbc.syntax(pbc.findStatement(QStringLiteral("then"))), ifLine);
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
        QFETCH(int, index);
        QCOMPARE(built(true).findDefine(token), index);
        QCOMPARE(built(false).findDefine(token), 0);
    }

};

QTEST_GUILESS_MAIN(tst_StatementTable)
#include "tst_StatementTable.moc"
