#include <QTest>

#include "language/QuickLists.h"

#include <limits>

using namespace quicklists;
Q_DECLARE_METATYPE(quicklists::Source)
Q_DECLARE_METATYPE(quicklists::Action)

class tst_QuickLists : public QObject {
    Q_OBJECT
private slots:
    void argumentNumber_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("keywordColumn");
        QTest::addColumn<int>("count");
        QTest::newRow("no comma") << "HIGH " << 1 << 0;
        QTest::newRow("four commas") << "BUTTON 0,1,255,0," << 1 << 4;
        QTest::newRow("a colon ends the statement") << "SEROUT 0,N2400,[1] : X = 1,2" << 1 << 2;
        QTest::newRow("text before the keyword counts") << "A,B: SEROUT 0," << 6 << 2;
        QTest::newRow("colon before the keyword is passed") << "x=1: PWM 1," << 6 << 1;
        QTest::newRow("indented") << "\t\tCOUNT PORTB.0,100," << 3 << 2;
        QTest::newRow("lowest column counts from the start") << "A,B: C,D" << std::numeric_limits<int>::min() << 1;
    }
    void argumentNumber() {
        QFETCH(QString, line);
        QFETCH(int, keywordColumn);
        QTEST(quicklists::argumentNumber(line, keywordColumn), "count");
    }

    void statementRows_data() {
        QTest::addColumn<bool>("pbp");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("argument");
        QTest::addColumn<Action>("action");
        QTest::addColumn<Source>("source");
        QTest::newRow("Button label") << true << 6 << 6 << Action::Show << Source::Labels;
        QTest::newRow("Low second argument") << true << 37 << 1 << Action::HideNoSyntax << Source::None;
        QTest::newRow("VAR any argument") << true << 71 << 3 << Action::Show << Source::VariableSizes;
        QTest::newRow("BranchL") << true << 5 << 0 << Action::Branch << Source::DeclaredVariables;
        QTest::newRow("PBC Branch") << false << 1 << 2 << Action::Branch << Source::PbcVariables;
        QTest::newRow("PBC LET") << false << 16 << 0 << Action::Show << Source::DeclaredVariables;
        QTest::newRow("PBC row without a list") << false << 22 << 0 << Action::Nothing << Source::None;
        QTest::newRow("PBC row 21 is Output, not High") << false << 21 << 0 << Action::Show << Source::PbcPins;
    }
    void statementRows() {
        QFETCH(bool, pbp);
        QFETCH(int, row);
        QFETCH(int, argument);
        QFETCH(Action, action);
        QFETCH(Source, source);
        const StatementList got = statementList(pbp, row, argument);
        QCOMPARE(got.action, action);
        if (action != Action::Nothing && action != Action::Hide && action != Action::HideNoSyntax)
            QCOMPARE(got.source, source);
    }

    void pinsAndPorts_data() {
        QTest::addColumn<DevicePortTable>("ports");
        QTest::addColumn<QStringList>("pins");
        QTest::addColumn<QStringList>("portNames");
        DevicePortTable late{};
        late[6] = 1;
        late[9] = 1;
        QTest::newRow("F and J") << late << QStringList{"PORTF.0", "PORTJ.0"} << QStringList{"PORTF", "PORTJ"};
        QTest::newRow("no ports") << DevicePortTable{} << QStringList{"Pin Data", "Not Available"}
                                  << QStringList{"Port Data", "Not Available"};
    }
    void pinsAndPorts() {
        QFETCH(DevicePortTable, ports);
        QTEST(fixedEntries(Source::DevicePins, ports), "pins");
        QTEST(fixedEntries(Source::DevicePorts, ports), "portNames");
    }

    void documentLists() {
        QCOMPARE(variableEntries({"  led var portb.0", "LED VAR PORTB.0", "\tx Var Byte"}),
                 (QStringList{"led", "LED", "\tx"}));
        QCOMPARE(variableEntries({}), QStringList{"No Variables"});
        QCOMPARE(labelEntries({"\tLoop:", "Main: GOTO Main", "was a label"}), (QStringList{"Loop", "Main"}));
        QCOMPARE(labelEntries({"not one"}), QStringList{"No Labels"});
    }

    void insertion_data() {
        QTest::addColumn<Source>("source");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("inserted");
        QTest::newRow("serial mode") << Source::SerialModes << 4 << "4";
        QTest::newRow("two-digit serial mode") << Source::SerialModes << 12 << "12";
        QTest::newRow("LCD command") << Source::LcdCommands << 0 << "$FE,1";
        QTest::newRow("oscillator with two blanks") << Source::OscillatorSpeeds << 0 << "3";
        QTest::newRow("oscillator 10") << Source::OscillatorSpeeds << 3 << "10";
        QTest::newRow("NAP") << Source::NapPeriods << 7 << "7";
        QTest::newRow("include file") << Source::IncludeFiles << 4 << "\"MODEDEFS.BAS\"";
        QTest::newRow("size") << Source::VariableSizes << 2 << "WORD";
    }
    void insertion() {
        QFETCH(Source, source);
        QFETCH(int, index);
        const QStringList entries = fixedEntries(source, {});
        QTEST(insertedText(entries.at(index), insertMode(source)), "inserted");
    }
};

QTEST_MAIN(tst_QuickLists)
#include "tst_QuickLists.moc"
