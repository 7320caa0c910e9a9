#include "language/SourceScan.h"

#include "platform/TextHelpers.h"

#include <algorithm>
#include <optional>

namespace sourcescan {

namespace {

QString withoutTabs(const QString& line) {
    if (!line.contains(u'\t'))
        return line;
    QString s = line;
    s.remove(u'\t');
    return s;
}

bool findStatementWord(const QString& line, QLatin1StringView word, const ClassAt& classAt) {
    return statementWordAt(line, word, classAt) >= 0;
}

// True when the first token of the line, after its blanks, is a comment.
bool commentFirst(const QString& line, const LexerConfig& comments) {
    qsizetype at = 0;
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
        ++at;
    return at < line.size() && SourceLexer::startsComment(line, int(at), comments);
}

// The next place of `word` in `line` at or after `from`, in any letter case. The words looked for
// (VAR, CON) are made of ASCII letters that no other character folds to, so comparing ASCII letters
// finds what a case-insensitive search finds, without folding every character of every line.
qsizetype indexOfAsciiWord(const QString& line, QLatin1StringView word, qsizetype from) {
    for (qsizetype i = std::max<qsizetype>(from, 0); i + word.size() <= line.size(); ++i)
        if (SourceLexer::isAsciiWord(QStringView(line).mid(i, word.size()), word))
            return i;
    return -1;
}

// The class of the token that covers a column; 0 outside every token.
int tokenClassAt(const QList<SourceToken>& tokens, int col) {
    for (const SourceToken& t : tokens)
        if (col >= t.start && col < t.start + t.length)
            return t.cls;
    return 0;
}

} // namespace

ClassAt classesIn(const QList<SourceToken>& tokens) {
    return [tokens](int col) { return tokenClassAt(tokens, col); };
}

ClassAt classesIn(std::function<QList<SourceToken>()> lex) {
    return [lex = std::move(lex), tokens = std::optional<QList<SourceToken>>()](int col) mutable {
        if (!tokens)
            tokens = lex();
        return tokenClassAt(*tokens, col);
    };
}

qsizetype statementWordAt(const QString& line, QLatin1StringView word, const ClassAt& classAt) {
    qsizetype from = 0;
    while (true) {
        const qsizetype at = indexOfAsciiWord(line, word, from);
        if (at < 0)
            return -1;
        const qsizetype end = at + word.size();
        const bool whole = (at == 0 || !SourceLexer::isWordChar(line[at - 1])) &&
                           (end == line.size() || !SourceLexer::isWordChar(line[end]));
        // The match's 1-based position taken as a 0-based column: its second letter.
        if (whole && classAt(int(at) + 1) == StatementClass)
            return at;
        from = at + 1;
    }
}

bool isLabelLine(const QString& line, const LexerConfig& comments) {
    if (!line.contains(u':'))
        return false; // most lines: no copy made
    const QString s = withoutTabs(line);
    const qsizetype colon = s.indexOf(u':');
    if (colon < 0)
        return false;
    // The window is p characters of the trimmed text, p counted on the untrimmed one.
    return !text::Trim(text::Trim(s).left(colon + 1)).contains(u' ') && !commentFirst(line, comments);
}

QString labelName(const QString& line) {
    const QString s = text::Trim(withoutTabs(line));
    const qsizetype colon = s.indexOf(u':');
    return colon < 0 ? s : s.left(colon);
}

int labelPass(const QString& line, int kind, const LexerConfig& comments) {
    if (isLabelLine(line, comments))
        return LabelLine;
    return kind == LabelLine ? NoKind : kind;
}

bool mayDeclare(const QString& line) {
    // Runs on every line of a document when it is opened: one pass, ASCII letters only (no other
    // character folds to one of these), instead of two case-insensitive searches.
    using SourceLexer::asciiLower;
    const qsizetype n = line.size();
    const char16_t* p = reinterpret_cast<const char16_t*>(line.constData());
    for (qsizetype i = 0; i + 2 < n; ++i) {
        const char16_t a = asciiLower(p[i]);
        if ((a == u'v' && asciiLower(p[i + 1]) == u'a' && asciiLower(p[i + 2]) == u'r') ||
            (a == u'c' && asciiLower(p[i + 1]) == u'o' && asciiLower(p[i + 2]) == u'n'))
            return true;
    }
    return false;
}

QString includeName(const QString& line) {
    static const QLatin1StringView word("INCLUDE");
    qsizetype at = 0;
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
        ++at;
    if (QStringView(line).mid(at, word.size()).compare(word, Qt::CaseInsensitive) != 0)
        return {};
    at += word.size();
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
        ++at;
    // Only a quote may follow the keyword and its blanks, so "INCLUDED = 1" is no INCLUDE.
    if (at >= line.size() || line[at] != u'"')
        return {};
    const qsizetype close = line.indexOf(u'"', at + 1);
    if (close <= at + 1)
        return {};
    return line.mid(at + 1, close - at - 1);
}

int declarationPass(const QString& line, int kind, const ClassAt& classAt) {
    if (findStatementWord(line, QLatin1StringView("VAR"), classAt))
        kind = VarLine;
    else if (kind != LabelLine)
        kind = NoKind;

    if (findStatementWord(line, QLatin1StringView("CON"), classAt))
        return kind == VarLine ? VarConLine : ConLine;
    return (kind == LabelLine || kind == VarLine) ? kind : NoKind;
}

qsizetype symbolWordAt(const QString& line) {
    qsizetype at = 0;
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
        ++at;
    constexpr qsizetype length = 6;
    if (line.size() <= at + length || (line[at + length] != u' ' && line[at + length] != u'\t'))
        return -1;
    return QStringView(line).mid(at, length).compare(QLatin1StringView("SYMBOL"), Qt::CaseInsensitive) == 0
               ? at
               : -1;
}

bool declaresSymbol(const QString& line, const ClassAt& classAt) {
    const qsizetype at = symbolWordAt(line);
    return at >= 0 && classAt(int(at) + 1) == StatementClass;
}

} // namespace sourcescan
