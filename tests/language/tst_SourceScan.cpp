#include <QTest>

#include "language/SourceScan.h"
#include "platform/sourceview/SourceLexer.h"

using namespace sourcescan;

// The scanner's rules over the real lexer, configured as the editor configures it for PicBasic Pro.
class tst_SourceScan : public QObject {
    Q_OBJECT
    LexerConfig config_{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""), QStringLiteral(";")};
    KeywordTable keywords_;

    int kindAfterPasses(const QString& line, int before = NoKind) {
        const QList<SourceToken> tokens = SourceLexer::lex(line, config_, keywords_);
        const auto classAt = [&tokens](int col) {
            for (const SourceToken& t : tokens)
                if (col >= t.start && col < t.start + t.length)
                    return t.cls;
            return 0;
        };
        return declarationPass(line, labelPass(line, before), classAt);
    }

private slots:
    void initTestCase() {
        for (const char* w : {"VAR", "CON", "GOTO", "HIGH"})
            keywords_.add(0, QLatin1String(w));
    }

    void labelTest_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("label");
        QTest::addColumn<QString>("name");
        QTest::newRow("bare") << "Loop:" << true << "Loop";
        QTest::newRow("with statement") << "Loop: GOTO Loop" << true << "Loop";
        QTest::newRow("two statements") << "X = 1 : Y = 2" << false << "X = 1 ";
        QTest::newRow("indented window reaches past the colon") << "   Loop: GOTO Loop" << false << "Loop";
        QTest::newRow("indented bare label") << "   Loop:" << true << "Loop";
        QTest::newRow("TAB-indented") << "\t\tLoop: GOTO Loop" << true << "Loop";
        QTest::newRow("TAB inside the name") << "Lo\top:" << true << "Loop";
        QTest::newRow("no colon") << "Loop" << false << "Loop";
        QTest::newRow("space before colon") << "Loop :" << false << "Loop ";
        QTest::newRow("empty") << "" << false << "";
    }
    void labelTest() {
        QFETCH(QString, line);
        QTEST(isLabelLine(line), "label");
        QTEST(labelName(line), "name");
    }

    void mayDeclare_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("may");
        QTest::newRow("VAR") << "B VAR BYTE" << true;
        QTest::newRow("lower-case con at the very end") << "x con" << true;
        QTest::newRow("mixed case inside a word") << "ConTrol = 1" << true;
        QTest::newRow("only at the end") << "HIGH vaR" << true;
        QTest::newRow("cut short") << "HIGH VA" << false;
        QTest::newRow("letters apart") << "V A R C O N" << false;
        QTest::newRow("neither") << "HIGH PORTB.1" << false;
        QTest::newRow("empty") << "" << false;
    }
    void mayDeclare() {
        QFETCH(QString, line);
        QFETCH(bool, may);
        QCOMPARE(sourcescan::mayDeclare(line), may);
    }

    void kinds_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("kind");
        QTest::newRow("label") << "Start:" << 1;
        QTest::newRow("variable") << "B VAR BYTE" << 2;
        QTest::newRow("lower-case variable") << "led var portb.0" << 2;
        QTest::newRow("constant") << "X CON 5" << 3;
        QTest::newRow("both") << "A VAR BYTE : K CON 3" << 4;
        QTest::newRow("constant before variable") << "K CON 3 : A VAR BYTE" << 4;
        QTest::newRow("label that declares") << "Here: B VAR BYTE" << 2;
        QTest::newRow("label with a constant") << "Here: K CON 1" << 3;
        QTest::newRow("longer names") << "VARIABLE = CONTROL" << 0;
        QTest::newRow("name, then the statement") << "CONTROL VAR BYTE" << 2;
        QTest::newRow("in a ' comment") << "' B VAR BYTE" << 0;
        QTest::newRow("in a ; comment") << "; B VAR BYTE" << 0;
        QTest::newRow("label in a ; comment") << "; note: x VAR y" << 0;
        QTest::newRow("in a string") << "LCDOUT \"A VAR B\"" << 0;
        QTest::newRow("label and a word in a comment") << "Main: ' x VAR" << 1;
        QTest::newRow("plain") << "HIGH 1" << 0;
    }
    void kinds() {
        QFETCH(QString, line);
        QTEST(kindAfterPasses(line), "kind");
    }

    void staleMarks_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("after");
        QTest::newRow("label edited away") << "Start" << 1 << 0;
        QTest::newRow("declaration removed") << "B = 1" << 4 << 0;
        QTest::newRow("variable stays") << "B VAR BYTE" << 3 << 2;
    }
    void staleMarks() {
        QFETCH(QString, line);
        QFETCH(int, before);
        QTEST(kindAfterPasses(line, before), "after");
    }
};

QTEST_MAIN(tst_SourceScan)
#include "tst_SourceScan.moc"
