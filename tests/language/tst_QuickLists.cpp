#include <QTest>

#include "language/QuickLists.h"

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
    }
    void argumentNumber() {
        QFETCH(QString, line);
        QFETCH(int, keywordColumn);
        QFETCH(int, count);
        QCOMPARE(quicklists::argumentNumber(line, keywordColumn), count);
    }

    void statementRows_data() {
        QTest::addColumn<bool>("pbp");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("argument");
        QTest::addColumn<Action>("action");
        QTest::addColumn<Source>("source");
        QTest::newRow("Button pin") << true << 6 << 0 << Action::Show << Source::DevicePins;
        QTest::newRow("Button variable") << true << 6 << 4 << Action::Show << Source::DeclaredVariables;
        QTest::newRow("Button fifth comma") << true << 6 << 5 << Action::Hide << Source::None;
        QTest::newRow("Button label") << true << 6 << 6 << Action::Show << Source::Labels;
        QTest::newRow("GoTo") << true << 20 << 0 << Action::Show << Source::Labels;
        QTest::newRow("GoTo second argument") << true << 20 << 1 << Action::Nothing << Source::None;
        QTest::newRow("High") << true << 21 << 0 << Action::Show << Source::DevicePins;
        QTest::newRow("LookDown") << true << 34 << 0 << Action::Hide << Source::None;
        QTest::newRow("Low second argument") << true << 37 << 1 << Action::HideNoSyntax << Source::None;
        QTest::newRow("PWM duty") << true << 48 << 1 << Action::Nothing << Source::None;
        QTest::newRow("PWM cycle") << true << 48 << 2 << Action::Hide << Source::None;
        QTest::newRow("Read address") << true << 51 << 0 << Action::Hide << Source::None;
        QTest::newRow("SerOut mode") << true << 57 << 1 << Action::Show << Source::SerialModes;
        QTest::newRow("SerOut2 mode") << true << 58 << 1 << Action::Hide << Source::None;
        QTest::newRow("VAR any argument") << true << 71 << 3 << Action::Show << Source::VariableSizes;
        QTest::newRow("INCLUDE") << true << 74 << 0 << Action::Show << Source::IncludeFiles;
        QTest::newRow("ADCIN") << true << 76 << 1 << Action::Show << Source::DeclaredVariables;
        QTest::newRow("Pause") << true << 41 << 0 << Action::Nothing << Source::None;
        QTest::newRow("BranchL") << true << 5 << 0 << Action::Branch << Source::DeclaredVariables;
        QTest::newRow("PBC Branch") << false << 1 << 2 << Action::Branch << Source::PbcVariables;
        QTest::newRow("PBC Button variable") << false << 2 << 4 << Action::Show << Source::PbcVariables;
        QTest::newRow("PBC High") << false << 10 << 0 << Action::Show << Source::PbcPins;
        QTest::newRow("PBC LET") << false << 16 << 0 << Action::Show << Source::DeclaredVariables;
        QTest::newRow("PBC Low") << false << 19 << 2 << Action::HideNoSyntax << Source::None;
        QTest::newRow("PBC SerOut") << false << 35 << 1 << Action::Show << Source::SerialModes;
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
        DevicePortTable ab{};
        ab[1] = 2;
        ab[2] = 3;
        QTest::newRow("PORTA=2 PORTB=3") << ab << QStringList{"PORTA.0", "PORTA.1", "PORTB.0", "PORTB.1", "PORTB.2"}
                                         << QStringList{"PORTA", "PORTB"};
        DevicePortTable gpio{};
        gpio[0] = 2;
        QTest::newRow("GPIO only") << gpio << QStringList{"GPIO.0", "GPIO.1"} << QStringList{"GPIO"};
        DevicePortTable late{};
        late[6] = 1;
        late[9] = 1;
        QTest::newRow("F and J") << late << QStringList{"PORTF.0", "PORTJ.0"} << QStringList{"PORTF", "PORTJ"};
        QTest::newRow("none") << DevicePortTable{} << QStringList{"Pin Data", "Not Available"}
                              << QStringList{"Port Data", "Not Available"};
    }
    void pinsAndPorts() {
        QFETCH(DevicePortTable, ports);
        QFETCH(QStringList, pins);
        QFETCH(QStringList, portNames);
        QCOMPARE(fixedEntries(Source::DevicePins, ports), pins);
        QCOMPARE(fixedEntries(Source::DevicePorts, ports), portNames);
    }

    void documentLists() {
        QCOMPARE(variableEntries({"  led var portb.0", "LED VAR PORTB.0", "\tx Var Byte"}),
                 (QStringList{"led", "LED", "\tx"}));
        QCOMPARE(variableEntries({}), QStringList{"No Variables"});
        QCOMPARE(labelEntries({"\tLoop:", "Main: GOTO Main", "was a label"}), (QStringList{"Loop", "Main"}));
        QCOMPARE(labelEntries({"not one"}), QStringList{"No Labels"});
    }

    void pbcNames() {
        const QStringList vars = fixedEntries(Source::PbcVariables, {});
        QCOMPARE(vars.size(), 33);
        QCOMPARE(vars.first(), QStringLiteral("B0"));
        QCOMPARE(vars.at(21), QStringLiteral("B21"));
        QCOMPARE(vars.last(), QStringLiteral("W10"));
        QCOMPARE(fixedEntries(Source::PbcPins, {}), (QStringList{"0", "1", "2", "3", "4", "5", "6", "7"}));
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
        QFETCH(QString, inserted);
        const QStringList entries = fixedEntries(source, {});
        QCOMPARE(insertedText(entries.at(index), insertMode(source)), inserted);
    }

    void fixedListsAsWritten() {
        QCOMPARE(fixedEntries(Source::OscillatorSpeeds, {}).at(1), QStringLiteral("4  - 4Mhz "));
        QCOMPARE(fixedEntries(Source::LcdCommands, {}).last(), QStringLiteral("$Fe,$C0 - Move cursor to 2nd line"));
        QCOMPARE(fixedEntries(Source::SerialModes, {}).size(), 16);
        QCOMPARE(fixedEntries(Source::NoList, {}).size(), 5);
        QVERIFY(isBrowseEntry(fixedEntries(Source::IncludeFiles, {}).first()));
    }

    void keyLists_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("pbp");
        QTest::addColumn<Source>("source");
        QTest::addColumn<QString>("title");
        QTest::newRow("Alt+F9") << 480 << true << Source::DeclaredVariables << "Quick Variable List";
        QTest::newRow("Alt+F10") << 484 << true << Source::DevicePins << "Quick Pins List";
        QTest::newRow("Alt+F11") << 488 << true << Source::DevicePorts << "Quick Ports List";
        QTest::newRow("Alt+F12") << 492 << true << Source::Labels << "Quick Labels List";
        QTest::newRow("PBC Alt+F9") << 480 << false << Source::PbcVariables << "Quick PBC Variable List";
        QTest::newRow("PBC Alt+F11") << 488 << false << Source::PbcPins << "Quick PBC Pins List";
        QTest::newRow("PBC Alt+F12") << 492 << false << Source::Labels << "Quick Labels List";
        QTest::newRow("between keys") << 482 << true << Source::None << "";
    }
    void keyLists() {
        QFETCH(int, key);
        QFETCH(bool, pbp);
        QFETCH(Source, source);
        QFETCH(QString, title);
        const KeyList k = keyList(key, pbp);
        QCOMPARE(k.source, source);
        QCOMPARE(k.title, title);
    }

    void defineValues_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<Source>("source");
        QTest::newRow("DEBUG_REG") << 7 << Source::DevicePorts;
        QTest::newRow("LCD_EREG") << 30 << Source::DevicePorts;
        QTest::newRow("OSC") << 34 << Source::OscillatorSpeeds;
        QTest::newRow("INTHAND") << 40 << Source::Labels;
        QTest::newRow("ADC_BITS") << 2 << Source::NoList;
    }
    void defineValues() {
        QFETCH(int, entry);
        QFETCH(Source, source);
        QCOMPARE(quicklists::defineValues(entry), source);
    }
};

QTEST_MAIN(tst_QuickLists)
#include "tst_QuickLists.moc"
