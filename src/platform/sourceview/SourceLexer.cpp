#include "platform/sourceview/SourceLexer.h"

#include <algorithm>

namespace {

using SourceLexer::isWordChar;

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}
bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isWordText(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (!isWordChar(c))
            return false;
    return true;
}

bool allOf(const QString& line, int from, int to, bool (*pred)(QChar)) {
    for (int i = from; i < to; ++i)
        if (!pred(line.at(i)))
            return false;
    return to > from;
}

bool isBinaryDigit(QChar c) {
    return c == u'0' || c == u'1';
}

// Two-character operators kept together as one symbol token.
bool isTwoCharOperator(QChar a, QChar b) {
    static const char* const ops[] = {"<=", ">=", "<>", "<<", ">>", "//", "**",
                                      "*/", "!=", "==", "=<", "=>", "&&", "||"};
    for (const char* op : ops)
        if (a == QLatin1Char(op[0]) && b == QLatin1Char(op[1]))
            return true;
    return false;
}

} // namespace

quint32 SourceLexer::caseBlindHash(QStringView name) {
    // Character by character: a letter whose upper case is longer, as German sharp s, is in no keyword.
    quint32 h = 2166136261u;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const char16_t upper = u < 0x80 ? char16_t(u >= u'a' && u <= u'z' ? u - 32 : u) : c.toUpper().unicode();
        h = (h ^ upper) * 16777619u;
    }
    return h;
}

int SourceLexer::unitLength(const QString& line, int pos) {
    if (pos < 0 || pos >= line.size())
        return 0;
    if (!isWordChar(line.at(pos)))
        return 1;
    int end = pos + 1;
    while (end < line.size() && isWordChar(line.at(end)))
        ++end;
    return end - pos;
}

bool SourceLexer::startsComment(const QString& line, int pos, const LexerConfig& config) {
    const auto at = [&](const QString& starter) {
        // Every unit of every line is asked: most differ from the starter in their first character,
        // told at once where both are ASCII (any other pair goes to the full comparison).
        if (starter.isEmpty())
            return false;
        const char16_t first = starter.front().unicode(), here = line.at(pos).unicode();
        if (first < 128 && here < 128 && asciiLower(first) != asciiLower(here))
            return false;
        // A starter made of letters ("rem") counts in any case, as a whole word only.
        const bool word = isWordText(starter);
        if (!QStringView(line).mid(pos).startsWith(starter, word ? Qt::CaseInsensitive : Qt::CaseSensitive))
            return false;
        return !word || unitLength(line, pos) == starter.size();
    };
    return at(config.commentStart) || at(config.commentStart2) || at(config.commentStart3);
}

void KeywordTable::clear() {
    byFirstUnit_.clear();
}

void KeywordTable::add(int list, const QString& word) {
    if (list < 0 || list >= ListCount)
        return;
    Entry e;
    e.list = list;
    bool gap = false;
    for (int i = 0; i < word.size();) {
        if (isBlank(word.at(i))) {
            gap = true;
            ++i;
            continue;
        }
        const int len = SourceLexer::unitLength(word, i);
        e.units.append(word.mid(i, len).toUpper());
        e.gapBefore.append(gap && !e.units.isEmpty());
        gap = false;
        i += len;
    }
    if (e.units.isEmpty())
        return;
    e.gapBefore[0] = false;
    byFirstUnit_[SourceLexer::caseBlindHash(e.units.first())].append(e);
}

int KeywordTable::match(const QString& line, int pos, int& list) const {
    const int firstLen = SourceLexer::unitLength(line, pos);
    if (firstLen == 0 || byFirstUnit_.isEmpty())
        return 0;
    // Every name of a document comes through here when it is opened: it is hashed as it stands, with
    // no upper-case copy made, and compared only on a hit.
    const QStringView first = QStringView(line).mid(pos, firstLen);
    const auto it = byFirstUnit_.constFind(SourceLexer::caseBlindHash(first));
    if (it == byFirstUnit_.constEnd())
        return 0;
    int best = 0;
    for (const Entry& e : *it) {
        if (first.compare(e.units.first(), Qt::CaseInsensitive) != 0)
            continue;
        int p = pos + firstLen;
        bool ok = true;
        for (qsizetype u = 1; u < e.units.size() && ok; ++u) {
            if (e.gapBefore[u]) {
                const int before = p;
                while (p < line.size() && isBlank(line.at(p)))
                    ++p;
                ok = p > before;
            }
            const int len = SourceLexer::unitLength(line, p);
            ok = ok && len == e.units[u].size() &&
                 QStringView(line).mid(p, len).compare(e.units[u], Qt::CaseInsensitive) == 0;
            p += len;
        }
        if (ok && p - pos > best) {
            best = p - pos;
            list = e.list;
        }
    }
    return best;
}

QList<SourceToken> SourceLexer::lex(const QString& line, const LexerConfig& config,
                                    const KeywordTable& keywords) {
    QList<SourceToken> out;
    const int n = int(line.size());
    // Room for the tokens of a usual line at once, not grown one step at a time.
    out.reserve(std::min(n, 12));
    auto push = [&out](int start, int length, int cls) { out.append(SourceToken{start, length, cls}); };
    const QString& delim = config.stringDelimiter;

    int i = 0;
    while (i < n) {
        const QChar c = line.at(i);
        if (isBlank(c)) {
            int end = i + 1;
            while (end < n && isBlank(line.at(end)))
                ++end;
            push(i, end - i, tokenclass::Plain);
            i = end;
            continue;
        }
        const int unit = unitLength(line, i);
        if (startsComment(line, i, config)) {
            push(i, n - i, tokenclass::Comment);
            break;
        }
        if (!delim.isEmpty() && QStringView(line).mid(i).startsWith(delim)) {
            const qsizetype close = line.indexOf(delim, i + delim.size());
            const int end = close < 0 ? n : int(close + delim.size());
            push(i, end - i, tokenclass::String);
            i = end;
            continue;
        }
        int list = 0;
        if (const int kw = keywords.match(line, i, list)) {
            push(i, kw, tokenclass::Keyword0 + list);
            i += kw;
            continue;
        }
        if (isWordChar(c)) {
            push(i, unit,
                 isDigit(c) && allOf(line, i, i + unit, isDigit) ? tokenclass::Number
                                                                 : tokenclass::Identifier);
            i += unit;
            continue;
        }
        const int next = unitLength(line, i + 1);
        if (c == u'$' && allOf(line, i + 1, i + 1 + next, isHexDigit)) {
            push(i, 1 + next, tokenclass::Number);
        } else if (c == u'%' && allOf(line, i + 1, i + 1 + next, isBinaryDigit)) {
            push(i, 1 + next, tokenclass::Number);
        } else if (c == u'@') {
            push(i, 1, tokenclass::Special);
        } else if (c == u'#' && i + 1 < n && isWordChar(line.at(i + 1))) {
            push(i, 1 + next, tokenclass::Special);
        } else if (i + 1 < n && isTwoCharOperator(c, line.at(i + 1))) {
            push(i, 2, tokenclass::Symbol);
        } else {
            push(i, 1, tokenclass::Symbol);
        }
        i += out.last().length;
    }
    return out;
}

int SourceLexer::firstClassChange(const QList<SourceToken>& before, const QList<SourceToken>& after,
                                  int limit) {
    qsizetype i = 0;
    qsizetype j = 0;
    int col = 0;
    // Both lists cover the line in order: walk them together, one stretch of a class pair at a time.
    while (col < limit && i < before.size() && j < after.size()) {
        const SourceToken& a = before[i];
        const SourceToken& b = after[j];
        if (a.cls != b.cls)
            return col;
        col = std::min(a.start + a.length, b.start + b.length);
        if (a.start + a.length == col)
            ++i;
        if (b.start + b.length == col)
            ++j;
    }
    // A list that ends below the limit has no text there that the other has.
    return std::min(col, limit);
}
