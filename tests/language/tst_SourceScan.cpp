#include <QTest>

#include "language/SourceScan.h"
#include "platform/sourceview/SourceLexer.h"

using namespace sourcescan;

// The scanner's rules over the real lexer, configured as the editor configures it for PicBasic Pro.
class tst_SourceScan : public QObject {
    Q_OBJECT
    LexerConfig config_{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""),
                        QStringLiteral(";")};
    KeywordTable keywords_;

private slots:
    void initTestCase() {
        for (const char* w : {"VAR", "CON", "GOTO", "HIGH"})
            keywords_.add(0, QLatin1String(w));
    }

    // "1|Loop": a label line named Loop; the name is read even from a line that is no label.
    void labelTest() {
        const QList<std::pair<QString, QString>> rows{
            {"Loop:", "1|Loop"},
            {"Loop: GOTO Loop", "1|Loop"},
            {"X = 1 : Y = 2", "0|X = 1 "},
            {"   Loop: GOTO Loop", "0|Loop"}, // the indented window reaches past the colon
            {"   Loop:", "1|Loop"},
            {"\t\tLoop: GOTO Loop", "1|Loop"},
            {"Lo\top:", "1|Loop"},
            {"Loop", "0|Loop"},
            {"Loop :", "0|Loop "},
            {"", "0|"}};
        for (const auto& [line, expected] : rows)
            QCOMPARE(line + u'>' + QString::number(isLabelLine(line)) + u'|' + labelName(line),
                     line + u'>' + expected);
    }

    // `may`: the quick test lets the line through to the declaration passes.
    void kinds_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("before"); // the kind a stale mark left
        QTest::addColumn<bool>("may");
        QTest::addColumn<int>("kind");
        QTest::newRow("label") << "Start:" << 0 << false << 1;
        QTest::newRow("variable") << "B VAR BYTE" << 0 << true << 2;
        QTest::newRow("lower-case variable") << "led var portb.0" << 0 << true << 2;
        QTest::newRow("constant") << "X CON 5" << 0 << true << 3;
        QTest::newRow("lower-case con at the very end") << "x con" << 0 << true << 3;
        QTest::newRow("both") << "A VAR BYTE : K CON 3" << 0 << true << 4;
        QTest::newRow("constant before variable") << "K CON 3 : A VAR BYTE" << 0 << true << 4;
        QTest::newRow("label that declares") << "Here: B VAR BYTE" << 0 << true << 2;
        QTest::newRow("label with a constant") << "Here: K CON 1" << 0 << true << 3;
        QTest::newRow("longer names") << "VARIABLE = CONTROL" << 0 << true << 0;
        QTest::newRow("mixed case inside a word") << "ConTrol = 1" << 0 << true << 0;
        QTest::newRow("name, then the statement") << "CONTROL VAR BYTE" << 0 << true << 2;
        QTest::newRow("in a ' comment") << "' B VAR BYTE" << 0 << true << 0;
        QTest::newRow("in a ; comment") << "; B VAR BYTE" << 0 << true << 0;
        QTest::newRow("label in a ; comment") << "; note: x VAR y" << 0 << true << 0;
        QTest::newRow("in a string") << "LCDOUT \"A VAR B\"" << 0 << true << 0;
        QTest::newRow("label and a word in a comment") << "Main: ' x VAR" << 0 << true << 1;
        QTest::newRow("cut short") << "HIGH VA" << 0 << false << 0;
        QTest::newRow("letters apart") << "V A R C O N" << 0 << false << 0;
        QTest::newRow("plain") << "HIGH 1" << 0 << false << 0;
        QTest::newRow("empty") << "" << 0 << false << 0;
        QTest::newRow("label edited away") << "Start" << 1 << false << 0;
        QTest::newRow("declaration removed") << "B = 1" << 4 << false << 0;
        QTest::newRow("variable stays") << "B VAR BYTE" << 3 << true << 2;
    }
    void kinds() {
        QFETCH(QString, line);
        QFETCH(int, before);
        const QList<SourceToken> tokens = SourceLexer::lex(line, config_, keywords_);
        const auto classAt = [&tokens](int col) {
            for (const SourceToken& t : tokens)
                if (col >= t.start && col < t.start + t.length)
                    return t.cls;
            return 0;
        };
        QTEST(mayDeclare(line), "may");
        QTEST(declarationPass(line, labelPass(line, before), classAt), "kind");
    }
};

QTEST_MAIN(tst_SourceScan)
#include "tst_SourceScan.moc"
