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
    return line.contains(QLatin1StringView("VAR"), Qt::CaseInsensitive) ||
           line.contains(QLatin1StringView("CON"), Qt::CaseInsensitive);
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
