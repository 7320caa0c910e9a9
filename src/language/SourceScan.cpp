#include "language/SourceScan.h"

#include "platform/TextHelpers.h"

namespace sourcescan {

namespace {

QString withoutTabs(const QString& line) {
    if (!line.contains(u'\t'))
        return line;
    QString s = line;
    s.remove(u'\t');
    return s;
}

// True when one of the keyword's matches in the line is coloured as a statement.
bool findStatementWord(const QString& line, QLatin1StringView word, const ClassAt& classAt) {
    qsizetype from = 0;
    while (true) {
        const qsizetype at = line.indexOf(word, from, Qt::CaseInsensitive);
        if (at < 0)
            return false;
        // The match's 1-based position taken as a 0-based column: its second letter.
        if (classAt(int(at) + 1) == StatementClass)
            return true;
        from = at + 1;
    }
}

} // namespace

bool isLabelLine(const QString& line) {
    if (!line.contains(u':'))
        return false; // most lines: no copy made
    const QString s = withoutTabs(line);
    const qsizetype colon = s.indexOf(u':');
    if (colon < 0)
        return false;
    // The window is p characters of the trimmed text, p counted on the untrimmed one.
    return !text::Trim(text::Trim(s).left(colon + 1)).contains(u' ');
}

QString labelName(const QString& line) {
    const QString s = text::Trim(withoutTabs(line));
    const qsizetype colon = s.indexOf(u':');
    return colon < 0 ? s : s.left(colon);
}

int labelPass(const QString& line, int kind) {
    if (isLabelLine(line))
        return LabelLine;
    return kind == LabelLine ? NoKind : kind;
}

bool mayDeclare(const QString& line) {
    // Runs on every line of a document when it is opened: one pass, ASCII letters only (no other
    // character folds to one of these), instead of two case-insensitive searches.
    const auto lower = [](char16_t c) { return char16_t(c >= u'A' && c <= u'Z' ? c + 32 : c); };
    const qsizetype n = line.size();
    const char16_t* p = reinterpret_cast<const char16_t*>(line.constData());
    for (qsizetype i = 0; i + 2 < n; ++i) {
        const char16_t a = lower(p[i]);
        if ((a == u'v' && lower(p[i + 1]) == u'a' && lower(p[i + 2]) == u'r') ||
            (a == u'c' && lower(p[i + 1]) == u'o' && lower(p[i + 2]) == u'n'))
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

} // namespace sourcescan
