#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// One coloured run of a line.
struct SourceToken {
    int start = 0;
    int length = 0;
    int cls = 0;
    bool operator==(const SourceToken&) const = default;
};

// Token classes the lexer produces. The keyword lists 0..5 give classes 10..15.
namespace tokenclass {
enum : int {
    Plain = 0,      // blanks and TABs
    Identifier = 1, // names that are not keywords (labels, variables), and malformed numbers like 8BIT
    Symbol = 2,     // operators and punctuation, one or two characters
    Number = 3,     // 123, $FF, %1010 (digits inside names such as B0 stay part of the name)
    Special = 5,    // "@" (assembler line) and "#" directives such as #CONFIG, unless a keyword
    Comment = 6,    // from a comment starter to the end of the line
    String = 7,     // from the delimiter to the next delimiter or the end of the line
    Keyword0 = 10,  // keyword list n is class 10 + n
};
constexpr int Count = 16;
} // namespace tokenclass

// The language settings the lexer reads. A comment starter made of letters ("rem") only counts as a
// whole word, in any case; one with other characters ("'") counts wherever it appears outside a
// string. ";" is not a comment starter unless configured as one (the third starter).
struct LexerConfig {
    QString commentStart;
    QString commentStart2;
    QString stringDelimiter;
    QString commentStart3 = {};
};

// The six keyword lists, prepared for matching. A keyword matches whole words in any case; the words of
// a keyword of several words ("ON INTERRUPT", "ADC_SAMPLEUS 50") match the same words separated by one
// or more blanks, as one token. The longest keyword wins; between equal lengths the first added wins.
class KeywordTable {
public:
    static constexpr int ListCount = 6;

    void clear();
    void add(int list, const QString& word);
    bool isEmpty() const { return byFirstUnit_.isEmpty(); }

    // Length of the longest keyword matching `line` at `pos` and its list; 0 when none matches.
    int match(const QString& line, int pos, int& list) const;

private:
    struct Entry {
        QStringList units;     // upper case
        QList<bool> gapBefore; // unit i must be preceded by at least one blank
        int list = 0;
    };
    // The entries by caseBlindHash() of their first unit; a hit compares the unit itself.
    QHash<quint32, QList<Entry>> byFirstUnit_;
};

// The pure lexer: one line of text in, its tokens out. Tokens cover the whole line in order.
namespace SourceLexer {
QList<SourceToken> lex(const QString& line, const LexerConfig& config, const KeywordTable& keywords);

// The identifier-like unit at pos ([letters digits _]+), or a single other character.
int unitLength(const QString& line, int pos);

// True when one of the configured comment starters begins at pos (outside a string; the caller knows).
bool startsComment(const QString& line, int pos, const LexerConfig& config);

// Letters, digits and "_": what names, and the words of the editor's word commands, are made of.
inline bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_';
}

// An ASCII capital in lower case, any other character as it is: enough to compare with words made of
// ASCII letters that no other character folds to (VAR, CON, REM).
inline char16_t asciiLower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

// Whether `text` is `word` (ASCII letters) in any letter case, ASCII letters compared alone: the
// statement words are ASCII to the compiler, and no character of a line is case-folded for it.
inline bool isAsciiWord(QStringView text, QLatin1StringView word) {
    if (text.size() != word.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (asciiLower(text[i].unicode()) != asciiLower(char16_t(word[i].unicode())))
            return false;
    return true;
}

// A name's hash in any letter case (FNV-1a over its upper-case characters), made without a copy.
quint32 caseBlindHash(QStringView name);

// The first column below `limit` whose class differs between the tokens of a line before and after an
// edit at `limit` (the text below it is the same, but a word's class may change with what follows it:
// GOT becomes GOTO, a name becomes a variable when VAR follows); `limit` when none does.
int firstClassChange(const QList<SourceToken>& before, const QList<SourceToken>& after, int limit);
} // namespace SourceLexer
