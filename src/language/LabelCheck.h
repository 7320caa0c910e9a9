#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVarLengthArray>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

// Jumps to labels that do not exist, and labels defined more than once, as the user types.
//
// Each line is read once, on its own, into the labels it defines and the labels it jumps to; a check
// over those facts (a hash of label names, no text read again) gives the problems. Only the edited
// lines are read again after an edit. Names compare in any letter case, as the compilers do.
namespace labelcheck {

// A name compared in any letter case: a 32-bit hash of its upper-case form. Two labels that share one
// are told apart by their text before they are reported as one label defined twice; a jump whose name
// shares one with a label (one in some billions) goes unreported.
using Key = quint32;
Key keyOf(QStringView name);

// A name on a line: its key and where it is written (a name past column 65535 is not read).
struct Ref {
    Key key = 0;
    quint16 column = 0;
    quint16 length = 0;
    bool operator==(const Ref&) const = default;
};

// What one line says about labels. Assembler ("@" lines, ASM ... ENDASM blocks), comments and strings
// say nothing; the ASM and ENDASM statements themselves are noted so that the block can be skipped.
struct LineFacts {
    enum Flag : quint8 {
        Label = 1,    // "Name:" at the start of the line (after blanks): `name` is the label
        Bare = 2,     // nothing on the line but one name (a label lacking its colon?): `name`
        AsmStart = 4, // an ASM statement
        AsmEnd = 8,   // an ENDASM statement
        Include = 16, // an INCLUDE line
    };
    quint8 flags = 0;
    Ref name;
    // The targets of GOTO and GOSUB (also in ON ... GOTO lists), of BRANCH and BRANCHL lists, and of
    // "IF ... THEN label" (a single name, no statement word, ending the line).
    QVarLengthArray<Ref, 1> jumps;
    bool isEmpty() const { return flags == 0 && jumps.isEmpty(); }
    bool operator==(const LineFacts& o) const {
        return flags == o.flags && name == o.name && jumps == o.jumps;
    }
};

// The facts of one line, with the comment starters of the language.
LineFacts readLine(QStringView line, const LexerConfig& comments);

// True for the words of the languages that name statements, operators, modifiers and the like: no
// jump target, and not worth a duplicate-label report.
bool isReserved(Key key);

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

// The text of a line, valid until the text next changes and until `scratch` is next written (the owner
// may hand the characters over in it).
using LineText = std::function<QStringView(int line, QString& scratch)>;

// The facts of a document's lines, kept in step with its edits, and the problems they give. The text
// itself stays with its owner: it is read through `text` as lines are (re)read and to name problems.
class LabelCheck {
public:
    explicit LabelCheck(LineText text);
    ~LabelCheck();

    // Reads every line again (a new text, or other comment starters).
    void load(int lines, const LexerConfig& comments);
    // Lines first .. first + removed - 1 were replaced by `added` lines, which `text` now gives from
    // `first` on. Ranges beyond the known lines are clamped.
    void replaceLines(int first, int removed, int added);
    int lineCount() const { return lines_; }

    // The labels defined elsewhere (in the files the document INCLUDEs), and the names of the included
    // files that could not be read (a jump to an unknown label may be defined in one of them).
    void setOutside(QSet<Key> keys, QStringList unread);
    // The files the document INCLUDEs, in line order.
    const QStringList& includes();
    // The labels the document defines.
    QList<Key> definedKeys();

    // Every problem, in line and column order.
    const QList<Problem>& problems();
    // The problems of one line, and the one that covers a column (its end included); null when none.
    QList<Problem> problemsOn(int line);
    const Problem* problemAt(int line, int column);

private:
    // The facts of a line that has any, as kept (24 bytes): most lines have one jump at most, kept in
    // place; a line with more has them all in a block of its own.
    class Stored {
    public:
        int line = 0;
        quint8 flags = 0;

    private:
        quint8 jumpCount_ = 0; // here, to share the padding before `name`

    public:
        Ref name;

        Stored(int at, const LineFacts& f);
        Stored(Stored&& o) noexcept : line(o.line), flags(o.flags), jumpCount_(o.jumpCount_), name(o.name) {
            jumps_ = o.jumps_;
            o.jumpCount_ = 0;
        }
        Stored& operator=(Stored&& o) noexcept {
            if (this != &o) {
                release();
                line = o.line;
                flags = o.flags;
                name = o.name;
                jumpCount_ = std::exchange(o.jumpCount_, quint8(0));
                jumps_ = o.jumps_;
            }
            return *this;
        }
        Stored(const Stored&) = delete;
        Stored& operator=(const Stored&) = delete;
        ~Stored() { release(); }

        int jumpCount() const { return jumpCount_; }
        const Ref& jumpAt(int i) const { return jumpCount_ > 1 ? jumps_.many[i] : jumps_.one; }

    private:
        void release() {
            if (jumpCount_ > 1)
                delete[] jumps_.many;
            jumpCount_ = 0;
        }
        union Jumps {
            Ref one{};
            Ref* many;
        } jumps_;
    };
    static_assert(sizeof(Stored) <= 24, "kept for every line that defines or jumps to a label");
    static bool same(const Stored& s, const LineFacts& f);
    void check();
    // After a line's facts changed in what no other line depends on (its jumps, the place of its
    // name), its problems alone are made again; false when that cannot be told without a full check.
    bool recheckLine(int line);
    // Appends the problem of a jump to a label that is not defined, if it is one.
    void noteJump(int line, const Ref& ref, QList<Problem>& out) const;
    // The first stored line at or after `line`.
    std::deque<Stored>::iterator storedFrom(int line);

    LineText text_;
    mutable QString scratch_; // holds a line's characters when the owner hands them over in it
    QStringView lineAt(int line) const { return text_(line, scratch_); }
    int lines_ = 0;
    // Lines with facts only, in line order; in blocks, so that growing it never holds two copies.
    std::deque<Stored> facts_;
    LexerConfig comments_;
    QSet<Key> outside_;
    QStringList unread_;
    bool dirty_ = true;
    QList<Problem> problems_;
    QStringList includes_;
    QHash<Key, int> defined_;
    // Names standing alone on a line (labels lacking their colon?), at their first line.
    QHash<Key, int> bare_;
    // What an undefined jump's message adds when some INCLUDEs could not be read.
    QString elsewhere_;
    // How many stored lines open or close an ASM block, as of the last full check.
    int asmMarks_ = 0;
};

// `find` gives the path of an included name, from the file that includes it ("" when it is nowhere).
using FindInclude = std::function<QString(const QString& name, const QString& includer)>;

// The labels of the files a document INCLUDEs, and of the files those INCLUDE in turn; and of the files
// given as `includers` (the files that INCLUDE the document, whose labels it may use) with theirs. Each
// file is read once, the document's own file never: its text is the one being edited.
struct Outside {
    QSet<Key> keys;
    QStringList unread;
};
Outside readIncludes(const QStringList& names, const QString& documentPath, const FindInclude& find,
                     const LexerConfig& comments, const QStringList& includers = {});

// The source files in the document's folder that INCLUDE it.
QStringList includersOf(const QString& documentPath, const FindInclude& find);

} // namespace labelcheck
