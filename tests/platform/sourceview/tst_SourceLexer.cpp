#include <QTest>

#include "platform/sourceview/SourceLexer.h"

// Tokens as "class:text", blanks left out, so a table row reads like the line.
static QString describe(const QString& line, const QList<SourceToken>& tokens) {
    QStringList out;
    int next = 0;
    for (const SourceToken& t : tokens) {
        if (t.start != next)
            return QStringLiteral("gap at %1").arg(next);
        next = t.start + t.length;
        if (t.cls != tokenclass::Plain)
            out << QStringLiteral("%1:%2").arg(t.cls).arg(line.mid(t.start, t.length));
    }
    if (next != line.size())
        return QStringLiteral("ends at %1").arg(next);
    return out.join(u' ');
}

class tst_SourceLexer : public QObject {
    Q_OBJECT
private:
    LexerConfig config_{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\"")};
    KeywordTable keywords_;

private slots:
    void initTestCase() {
        for (const char* w : {"HIGH", "GoSub", "ON", "@", "LCDOUT", "IF", "THEN", "EndIF"})
            keywords_.add(0, QString::fromLatin1(w));
        for (const char* w : {"DEFINE", "ADC_SAMPLEUS", "ADC_SAMPLEUS 50", "OSC"})
            keywords_.add(1, QString::fromLatin1(w));
        for (const char* w : {"WORD", "BYTE", "VAR", "ON INTERRUPT"}) // the longest match gives the class
            keywords_.add(2, QString::fromLatin1(w));
        keywords_.add(3, QStringLiteral("MAX"));
        keywords_.add(4, QStringLiteral("AND"));
        keywords_.add(4, QStringLiteral("LQNQX")); // hashed as ZAORB is: the table compares on a hit
        keywords_.add(5, QStringLiteral("DEC5"));
        keywords_.add(7, QStringLiteral("IGNORED")); // no such list
    }

    // Each row: the line, then its tokens.
    void lex() {
        // clang-format off
        const QList<std::pair<QString, QString>> rows{
            {"", ""}, // empty
            {" \t ", ""}, // blanks only
            {"high PortB.0", "10:high 1:PortB 2:. 3:0"}, // keyword any case
            {"GOSUB Main", "10:GOSUB 1:Main"}, // keyword mixed case in list
            {"Main:", "1:Main 2::"}, // label
            {"ON   INTERRUPT GoTo Isr", "12:ON   INTERRUPT 1:GoTo 1:Isr"}, // multi-word keyword
            {"on\tinterrupt", "12:on\tinterrupt"}, // multi-word keyword with tab
            {"ON x", "10:ON 1:x"}, // first word alone
            {"ONINTERRUPT", "1:ONINTERRUPT"}, // words need a blank
            {"DEFINE ADC_SAMPLEUS 50", "11:DEFINE 11:ADC_SAMPLEUS 50"}, // define with number
            {"DEFINE ADC_SAMPLEUS 20", "11:DEFINE 11:ADC_SAMPLEUS 3:20"}, // define other number
            {"ADC_SAMPLEUS 500", "11:ADC_SAMPLEUS 3:500"}, // number word must end
            {"HIGHER BYTES", "1:HIGHER 1:BYTES"}, // whole words only
            {"B0 var byte", "1:B0 12:var 12:byte"}, // var declaration
            {"W12 = B0 + 12", "1:W12 2:= 1:B0 2:+ 3:12"}, // digits in names
            {"x = $FF + $1a", "1:x 2:= 3:$FF 2:+ 3:$1a"}, // hex
            {"x = %1010", "1:x 2:= 3:%1010"}, // binary
            {"x = %12", "1:x 2:= 2:% 3:12"}, // not binary
            {"$G", "2:$ 1:G"}, // not hex
            {"IF x<=5 AND y<>2 THEN", "10:IF 1:x 2:<= 3:5 14:AND 1:y 2:<> 3:2 10:THEN"}, // ops
            {"LCDOUT DEC5 x MAX 9", "10:LCDOUT 15:DEC5 1:x 13:MAX 3:9"}, // math and modifier
            {"HIGH 1 ' turn on \"led\"", "10:HIGH 3:1 6:' turn on \"led\""}, // quote comment
            {"'HIGH 1", "6:'HIGH 1"}, // comment at start
            {"REM high 1", "6:REM high 1"}, // rem comment
            {"x = 1 rem set", "1:x 2:= 3:1 6:rem set"}, // rem lower case after code
            {"remote = 1", "1:remote 2:= 3:1"}, // rem inside a word
            {"xrem = 1", "1:xrem 2:= 3:1"}, // rem as suffix
            {"LCDOUT \"it's\", 1", "10:LCDOUT 7:\"it's\" 2:, 3:1"}, // string
            {"LCDOUT \"abc", "10:LCDOUT 7:\"abc"}, // unterminated string
            {"x = 1 ; note", "1:x 2:= 3:1 2:; 1:note"}, // semicolon is a symbol
            {"@ movlw 5", "10:@ 1:movlw 3:5"}, // assembler marker keyword
            {"#CONFIG", "5:#CONFIG"}, // directive
            {"sıcaklık = 1", "1:sıcaklık 2:= 3:1"}, // non-ascii letters
            {"zaorb lqnqx", "1:zaorb 14:lqnqx"}, // a name that shares its hash with a keyword
            {"8BIT", "1:8BIT"}}; // malformed number
        // clang-format on
        for (const auto& [line, tokens] : rows)
            QCOMPARE(line + u'>' + describe(line, SourceLexer::lex(line, config_, keywords_)),
                     line + u'>' + tokens);
    }

    void specialWithoutKeywords() {
        KeywordTable none = keywords_;
        none.clear();
        QCOMPARE(describe("@ nop", SourceLexer::lex("@ nop", config_, none)), QStringLiteral("5:@ 1:nop"));
        // Without a second starter "rem" is a plain name.
        const LexerConfig quoteOnly{QStringLiteral("'"), QString(), QStringLiteral("\"")};
        QCOMPARE(describe("rem x", SourceLexer::lex("rem x", quoteOnly, none)), QStringLiteral("1:rem 1:x"));
        // A configured ";" starter makes ";" a comment.
        const LexerConfig semicolon{QStringLiteral(";"), QString(), QStringLiteral("\"")};
        QCOMPARE(describe("x ; y", SourceLexer::lex("x ; y", semicolon, none)), QStringLiteral("1:x 6:; y"));
    }
};

QTEST_MAIN(tst_SourceLexer)
#include "tst_SourceLexer.moc"
