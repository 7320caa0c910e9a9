#include "language/CodeOutline.h"

#include "language/SourceScan.h"
#include "platform/TextHelpers.h"

#include <QStringList>

namespace outline {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The statements of a line: split at colons outside strings, up to a ' or ; comment.
QStringList statements(const QString& line) {
    QStringList out;
    qsizetype start = 0;
    bool inString = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'"') {
            inString = !inString;
        } else if (!inString && (c == u'\'' || c == u';')) {
            out << line.mid(start, i - start);
            return out;
        } else if (!inString && c == u':') {
            out << line.mid(start, i - start);
            start = i + 1;
        }
    }
    out << line.mid(start);
    return out;
}

// The words of a statement, split at blanks; "[" starts a word of its own so that "BYTE[8]" and
// "BYTE [8]" read alike. Views into the statement: every declaration of a document is read at each
// refresh, and most of its words are only compared.
QList<QStringView> words(const QString& statement) {
    QList<QStringView> out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= statement.size(); ++i) {
        const QChar c = i < statement.size() ? statement[i] : QChar(u' ');
        if (isBlank(c) || c == u'[') {
            if (start >= 0)
                out << QStringView(statement).mid(start, i - start);
            start = c == u'[' ? i : -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return out;
}

bool isSize(QStringView word) {
    for (const char* size : {"BIT", "BYTE", "WORD", "LONG"})
        if (word.compare(QLatin1StringView(size), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// "name VAR size [n] modifiers" or "name VAR target", "name CON value"; false for anything else.
bool declaration(const QString& statement, int line, Entry& e) {
    const QList<QStringView> w = words(statement);
    if (w.size() < 3)
        return false;
    const bool var = w[1].compare(QLatin1StringView("VAR"), Qt::CaseInsensitive) == 0;
    const bool con = w[1].compare(QLatin1StringView("CON"), Qt::CaseInsensitive) == 0;
    if (!var && !con)
        return false;
    e.name = w[0].toString();
    e.line = line;
    // The rest as written, blanks inside kept: a constant's value may be an expression.
    const qsizetype at = statement.indexOf(w[1], statement.indexOf(w[0]) + w[0].size());
    const QString rest = text::Trim(QString(statement.mid(at + w[1].size())).replace(u'\t', u' '));
    if (con) {
        e.group = Group::Constants;
        e.detail = rest;
    } else if (isSize(w[2])) {
        e.group = Group::Variables;
        e.detail = w[2].toString().toUpper();
        if (w.size() > 3 && w[3].startsWith(u'[')) {
            // An array's length, written with or without blanks inside the brackets.
            const qsizetype open = rest.indexOf(u'[');
            const qsizetype close = rest.indexOf(u']', open);
            if (close > open)
                e.detail += u'[' + QString(rest.mid(open + 1, close - open - 1)).remove(u' ') + u']';
        }
    } else {
        e.group = Group::Aliases;
        e.detail = w[2].toString();
    }
    return true;
}

} // namespace

QString groupCaption(Group group) {
    switch (group) {
    case Group::Labels:
        return QStringLiteral("Labels");
    case Group::Variables:
        return QStringLiteral("Variables");
    case Group::Constants:
        return QStringLiteral("Constants");
    case Group::Aliases:
        return QStringLiteral("Aliases");
    case Group::Includes:
        return QStringLiteral("Includes");
    case Group::Problems:
        return QStringLiteral("Problems");
    }
    return {};
}

bool symbolEntry(const QString& statement, int line, Entry& e) {
    const qsizetype at = sourcescan::symbolWordAt(statement);
    if (at < 0)
        return false;
    const QString rest = statement.mid(at + 6);
    const qsizetype eq = rest.indexOf(u'=');
    if (eq < 0)
        return false;
    const QString left = rest.left(eq);
    const QList<QStringView> name = words(left);
    const QString value = text::Trim(QString(rest.mid(eq + 1)).replace(u'\t', u' '));
    if (name.size() != 1 || value.isEmpty())
        return false;
    const QChar first = value[0];
    e.group = first.isDigit() || first == u'$' || first == u'%' || first == u'"' ? Group::Constants
                                                                                 : Group::Aliases;
    e.name = name[0].toString();
    e.detail = value;
    e.line = line;
    return true;
}

QList<Entry> build(const QList<Line>& lines, const LexerConfig& comments) {
    using namespace sourcescan;
    QList<Entry> out;
    for (const Line& l : lines) {
        if (l.include) {
            const QString name = includeName(l.text);
            if (!name.isNull())
                out << Entry{Group::Includes, name, QString(), l.number};
        }
        if (l.symbol) {
            Entry e;
            if (symbolEntry(statements(l.text).value(0), l.number, e))
                out << e;
        }
        if (l.kind == LabelLine) {
            if (isLabelLine(l.text, comments))
                out << Entry{Group::Labels, labelName(l.text), QString(), l.number};
            continue;
        }
        if (l.kind < VarLine || l.kind > VarConLine)
            continue;
        for (const QString& s : statements(l.text)) {
            Entry e;
            if (!declaration(s, l.number, e))
                continue;
            // The scanner has vouched only for the kinds it marked.
            const bool wanted = e.group == Group::Constants ? l.kind != VarLine : l.kind != ConLine;
            if (wanted)
                out << e;
        }
    }
    return out;
}

} // namespace outline
