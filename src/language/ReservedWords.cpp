#include "language/ReservedWords.h"

#include "language/StatementTable.h"
#include "platform/TextHelpers.h"

namespace {

void add(QList<KeywordAddition>& out, int list, const QString& word) {
    out.append(KeywordAddition{list, word});
}

void addAll(QList<KeywordAddition>& out, int list, std::initializer_list<const char*> words) {
    for (const char* w : words)
        add(out, list, QLatin1String(w));
}

// BIN, IBIN, SBIN, ISBIN, then BIN1 ... ISBIN<count>, and likewise for DEC and HEX.
void addModifierGroup(QList<KeywordAddition>& out, const QString& base, int count) {
    const QString forms[] = {base, u'I' + base, u'S' + base, QStringLiteral("IS") + base};
    for (const QString& f : forms)
        add(out, ReservedWords::Modifiers, f);
    for (int n = 1; n <= count; ++n) {
        for (const QString& f : forms)
            add(out, ReservedWords::Modifiers, f + QString::number(n));
    }
}

} // namespace

QStringList ReservedWords::statementWordsForList(const StatementTable& table) {
    QStringList words;
    for (int row = 1; row <= StatementTable::RowCount; ++row) {
        const QString keyword = table.keyword(row);
        if (text::Trim(keyword).isEmpty())
            break;
        words.append(keyword);
    }
    return words;
}

QList<KeywordAddition> ReservedWords::buildKeywordLists(const StatementTable& table, bool pbpMode,
                                                        const DevicePortTable& ports) {
    QList<KeywordAddition> out;
    for (const QString& keyword : statementWordsForList(table))
        add(out, Statements, keyword);

    if (!pbpMode) {
        add(out, Statements, QStringLiteral("Symbol"));
        addAll(out, Math, {"MAX", "MIN"});
        addAll(out, Logic, {"AND", "OR", "XOR", "NOT"});
        return out;
    }

    // An empty entry (a table built for the other compiler) is no word for the control.
    for (int i = 1; i <= StatementTable::DefineCount; ++i) {
        const QString name = table.define(i);
        if (!name.isEmpty())
            add(out, Defines, name);
    }
    addAll(out, VarSizes, {"WORD", "BYTE", "BIT"});
    addAll(out, Math, {"ABS", "COS", "DCD", "DIG", "MAX", "MIN", "NCD", "REV", "SIN", "SQR"});
    addAll(out, Logic, {"AND", "OR", "XOR", "NOT"});
    addModifierGroup(out, QStringLiteral("BIN"), 16);
    addModifierGroup(out, QStringLiteral("DEC"), 5);
    addModifierGroup(out, QStringLiteral("HEX"), 4);
    addAll(out, Modifiers, {"REP", "STR"});

    for (int i = 0; i < DeviceDatabase::PortCount; ++i) {
        if (ports[i] == 0)
            continue;
        const QString port = DeviceDatabase::portName(i);
        add(out, Statements, port);
        if (i > 0)
            add(out, Statements, QStringLiteral("TRIS") + port.right(1));
    }
    return out;
}

QStringList ReservedWords::wordsOfList(const QList<KeywordAddition>& additions, int list) {
    QStringList words;
    for (const KeywordAddition& a : additions) {
        if (a.list == list)
            words.append(a.word);
    }
    return words;
}
