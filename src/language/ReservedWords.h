#pragma once

#include "language/DeviceDatabase.h"
#include "platform/sourceview/SourceLexer.h"

#include <QList>
#include <QString>
#include <QStringList>

class StatementTable;

// One word for one of the editor control's six keyword lists (list k colours token class 10 + k).
struct KeywordAddition {
    int list = 0;
    QString word;

    friend bool operator==(const KeywordAddition&, const KeywordAddition&) = default;
};

// The word sets behind the editor's keyword colouring, in the order they are added to the control.
class ReservedWords {
public:
    enum List { Statements = 0, Defines = 1, VarSizes = 2, Math = 3, Logic = 4, Modifiers = 5 };

    // Every AddKeyword call of a rebuild, in order: the statement keywords up to the first blank one,
    // then the PicBasic Pro groups and the device's port and TRIS names, or the few PicBasic words.
    static QList<KeywordAddition> buildKeywordLists(const StatementTable& table, bool pbpMode,
                                                    const DevicePortTable& ports);

    // The statement keywords appended to the editor's pop-up list box by a rebuild, in order.
    static QStringList statementWordsForList(const StatementTable& table);

    // The words of one list, in the order they were added.
    static QStringList wordsOfList(const QList<KeywordAddition>& additions, int list);
};

// The token classes of the keyword lists the editor reads (list k is class 10 + k).
namespace keywordclass {
inline constexpr int Statement = int(tokenclass::Keyword0) + int(ReservedWords::Statements); // 10
inline constexpr int Define = int(tokenclass::Keyword0) + int(ReservedWords::Defines); // 11
} // namespace keywordclass
