#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

// Jumps to labels that do not exist, and labels defined more than once, as the user types.
//
// Each line is read once, on its own, into the labels it defines and the labels it jumps to; a check
// over those facts (a hash of label names, no text read again) gives the problems. Only the edited
// lines are read again after an edit. Names compare in any letter case, as the compilers do.
namespace labelcheck {

// A name as written on a line, with its upper-case form for comparing.
struct Name {
    QString text;
    QString key;
    int column = 0;
    int length = 0;
};

// What one line says about labels. Assembler ("@" lines, ASM ... ENDASM blocks), comments and strings
// say nothing; the ASM and ENDASM statements themselves are noted so that the block can be skipped.
struct LineFacts {
    // "Name:" at the start of the line (after blanks).
    Name label;
    bool hasLabel = false;
    // The targets of GOTO and GOSUB (also in ON ... GOTO lists), of BRANCH and BRANCHL lists, and of
    // "IF ... THEN label" (a single name, no statement word, ending the line).
    QList<Name> jumps;
    bool asmStart = false;
    bool asmEnd = false;
    // The file an INCLUDE line names.
    QString include;
    // A line that holds nothing but one name: a label that lacks its colon, most likely.
    QString bareKey;
    bool isEmpty() const {
        return !hasLabel && jumps.isEmpty() && !asmStart && !asmEnd && include.isNull() && bareKey.isNull();
    }
};

// The facts of one line, with the comment starters of the language.
LineFacts readLine(const QString& line, const LexerConfig& comments);

// True for the words of the languages that name statements, operators, modifiers and the like (given in
// upper case): no jump target, and not worth a duplicate-label report.
bool isReserved(const QString& key);

enum class Kind { Undefined, Duplicate };

struct Problem {
    Kind kind = Kind::Undefined;
    QString name;
    int line = 0;
    int column = 0;
    int length = 0;
    // What the status bar and the code explorer say: "Undefined label: Foo", "Label defined twice: Foo".
    QString message;
    bool operator==(const Problem&) const = default;
};

// The facts of a document's lines, kept in step with its edits, and the problems they give.
class LabelCheck {
public:
    LabelCheck();
    ~LabelCheck();

    // Reads every line again (a new text, or other comment starters).
    void load(const QStringList& lines, const LexerConfig& comments);
    // Lines first .. first + removed - 1 were replaced by `inserted` (read with the last comment
    // starters). Ranges beyond the known lines are clamped.
    void replaceLines(int first, int removed, const QStringList& inserted);
    int lineCount() const { return int(facts_.size()); }

    // The labels defined elsewhere (in the files the document INCLUDEs), upper case, and the names of the
    // included files that could not be read (a jump to an unknown label may be defined in one of them).
    void setOutside(QSet<QString> keys, QStringList unread);
    // The files the document INCLUDEs, in line order.
    const QStringList& includes();
    // The labels the document defines, upper case.
    QList<QString> definedKeys();

    // Every problem, in line and column order.
    const QList<Problem>& problems();
    // The problems of one line, and the one that covers a column (its end included); null when none.
    QList<Problem> problemsOn(int line);
    const Problem* problemAt(int line, int column);

private:
    void check();

    std::vector<std::unique_ptr<const LineFacts>> facts_;
    LexerConfig comments_;
    QSet<QString> outside_;
    QStringList unread_;
    bool dirty_ = true;
    QList<Problem> problems_;
    QStringList includes_;
    QHash<QString, int> defined_;
};

// `find` gives the path of an included name, from the file that includes it ("" when it is nowhere).
using FindInclude = std::function<QString(const QString& name, const QString& includer)>;

// The labels of the files a document INCLUDEs, and of the files those INCLUDE in turn; and of the files
// given as `includers` (the files that INCLUDE the document, whose labels it may use) with theirs. Each
// file is read once, the document's own file never: its text is the one being edited.
struct Outside {
    QSet<QString> keys;
    QStringList unread;
};
Outside readIncludes(const QStringList& names, const QString& documentPath, const FindInclude& find,
                     const LexerConfig& comments, const QStringList& includers = {});

// The source files in the document's folder that INCLUDE it.
QStringList includersOf(const QString& documentPath, const FindInclude& find);

} // namespace labelcheck
