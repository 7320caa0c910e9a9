#include <QTest>

#include "language/QuickLists.h"

#include <limits>

using namespace quicklists;

class tst_QuickLists : public QObject {
    Q_OBJECT
private slots:
    // The commas before the caret that belong to the statement at the keyword's column.
    void argumentNumber() {
        const QList<std::tuple<QString, int, int>> rows{
            {"HIGH ", 1, 0},
            {"SEROUT 0,N2400,[1] : X = 1,2", 1, 2}, // a colon ends the statement
            {"A,B: SEROUT 0,", 6, 2},               // text before the keyword counts
            {"x=1: PWM 1,", 6, 1},                  // a colon before the keyword is passed
            {"\t\tCOUNT PORTB.0,100,", 3, 2},
            {"A,B: C,D", std::numeric_limits<int>::min(), 1},
            {"SEROUT PORTB.0,N2400,[\"a,b\",x]", 1, 3}, // commas in a string separate nothing
            {"SEROUT PORTB.0,N2400,[\"a,", 1, 2},       // nor in one still being typed
            {"LCDOUT \"\",\",\",", 1, 2}};
        for (const auto& [line, keywordColumn, count] : rows)
            QCOMPARE(line + u'>' + QString::number(quicklists::argumentNumber(line, keywordColumn)),
                     line + u'>' + QString::number(count));
    }

    // The list a statement's argument offers; rows that hide or do nothing offer none.
    void statementRows() {
        const QList<std::tuple<bool, int, int, Action, Source>> rows{
            {true, 6, 6, Action::Show, Source::Labels},              // Button's label
            {true, 37, 1, Action::HideNoSyntax, Source::None},       // Low's second argument
            {true, 71, 3, Action::Show, Source::VariableSizes},      // VAR, any argument
            {true, 5, 0, Action::Branch, Source::DeclaredVariables}, // BranchL
            {false, 1, 2, Action::Branch, Source::PbcVariables},     // Branch
            {false, 16, 0, Action::Show, Source::DeclaredVariables}, // LET
            {false, 22, 0, Action::Nothing, Source::None},           // a row without a list
            {false, 21, 0, Action::Show, Source::PbcPins}};          // row 21 is Output, not High
        for (const auto& [pbp, row, argument, action, source] : rows) {
            const StatementList got = statementList(pbp, row, argument);
            const bool offers = action == Action::Show || action == Action::Branch;
            QVERIFY2(got.action == action && (!offers || got.source == source),
                     qPrintable(QStringLiteral("row %1, argument %2").arg(row).arg(argument)));
        }
    }

    void lists() {
        DevicePortTable late{};
        late[6] = 1;
        late[9] = 1;
        QCOMPARE(fixedEntries(Source::DevicePins, late), (QStringList{"PORTF.0", "PORTJ.0"}));
        QCOMPARE(fixedEntries(Source::DevicePorts, late), (QStringList{"PORTF", "PORTJ"}));
        QCOMPARE(fixedEntries(Source::DevicePins, {}), (QStringList{"Pin Data", "Not Available"}));
        QCOMPARE(fixedEntries(Source::DevicePorts, {}), (QStringList{"Port Data", "Not Available"}));
        QCOMPARE(variableEntries({}), QStringList{"No Variables"});
        const LexerConfig pro{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""),
                              QStringLiteral(";")};
        QCOMPARE(labelEntries({"\tLoop:", "Main: GOTO Main", "was a label", "'Init:", ";Init:"}, pro),
                 (QStringList{"Loop", "Main"}));
        QCOMPARE(labelEntries({"not one"}, pro), QStringList{"No Labels"});
    }

    // The entry of a VAR line is the text before the VAR the lexer colours as a statement, without
    // the blanks and TABs around it; a line without one gives none.
    void declaredNames() {
        const LexerConfig config{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\"")};
        KeywordTable keywords;
        keywords.add(0, QStringLiteral("VAR"));
        keywords.add(2, QStringLiteral("BYTE"));
        const QList<std::pair<QString, QString>> rows{{"  led var portb.0", "led"},
                                                      {"LED VAR PORTB.0", "LED"},
                                                      {"myVar VAR BYTE", "myVar"},
                                                      {"Variable VAR WORD", "Variable"},
                                                      {"\tx Var Byte", "x"},
                                                      {"\t\tcount\t \tVAR\tBYTE", "count"},
                                                      {"VARS VAR BYTE ' my var", "VARS"},
                                                      {"x = myVar ' a VAR", "(none)"}};
        for (const auto& [line, name] : rows) {
            const QString got =
                declaredName(line, sourcescan::classesIn(SourceLexer::lex(line, config, keywords)));
            QCOMPARE(line + u'>' + (got.isNull() ? QStringLiteral("(none)") : u'[' + got + u']'),
                     line + u'>' + (name == u"(none)" ? name : u'[' + name + u']'));
        }
    }

    // The text an entry of a fixed list puts into the source.
    void insertion() {
        const QList<std::tuple<Source, int, QString>> rows{
            {Source::SerialModes, 12, "12"},     {Source::LcdCommands, 0, "$FE,1"},
            {Source::OscillatorSpeeds, 0, "3"}, // two blanks
            {Source::OscillatorSpeeds, 3, "10"}, {Source::NapPeriods, 7, "7"},
            {Source::VariableSizes, 2, "WORD"}};
        for (const auto& [source, index, inserted] : rows) {
            const QString entry = fixedEntries(source, {}).at(index);
            QCOMPARE(entry + u'>' + insertedText(entry, insertMode(source)), entry + u'>' + inserted);
        }
    }
};

QTEST_MAIN(tst_QuickLists)
#include "tst_QuickLists.moc"
