#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QList>
#include <QString>

// The code explorer's view of a document: its labels, variables, constants, aliases and INCLUDEs in
// file order, taken from the lines the scanner has marked (the line kind and the INCLUDE mark), so
// that only those lines are read.
namespace outline {

// Problems holds what the label check finds (a jump to a missing label, a label defined twice); the
// explorer adds those entries itself.
enum class Group : int { Labels, Variables, Constants, Aliases, Includes, Problems };
constexpr int GroupCount = 6;
// The caption of a group in the explorer.
QString groupCaption(Group group);

// A marked line: its number, line kind, INCLUDE mark, text and SYMBOL mark.
struct Line {
    int number = 0;
    int kind = 0;
    bool include = false;
    QString text;
    bool symbol = false;
};

struct Entry {
    Group group = Group::Labels;
    QString name;
    // A variable's size ("BYTE", "WORD[4]"), a constant's value, an alias's target ("PORTB.0").
    QString detail;
    int line = 0;
    bool operator==(const Entry&) const = default;
};

// A PicBasic "SYMBOL name = value" statement: an alias of a variable, a pin or a name, or a constant
// when the value is a number or a character; false for anything else.
bool symbolEntry(const QString& statement, int line, Entry& e);

// The entries of the marked lines, in file order. A mark the line's text no longer bears out (a label
// line that lost its colon or was commented out, a VAR line edited into something else) gives no entry.
QList<Entry> build(const QList<Line>& lines, const LexerConfig& comments);

} // namespace outline
