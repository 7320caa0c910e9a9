#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

// The compiler's captured output (temp.dat) and its error lines, as plain data. A compiler reports an
// error as "ERROR Line N: message", optionally ending with the name of the file in parentheses.
namespace capture {

inline constexpr char ErrorTag[] = "ERROR Line";

// The line data of a marked line: slot 1 holds the error mark (1), slot 4 the number (from 1) of the
// line's message in its window's message list. Both move with the line through edits, undo and redo.
inline constexpr int ErrorSlot = 1;
// The value of ErrorSlot on a marked line (0 elsewhere).
inline constexpr int ErrorMark = 1;
inline constexpr int MessageSlot = 4;

enum class LineKind {
    Other,     // no "ERROR Line" in the line
    Error,     // an error line with its number and message
    Malformed, // "ERROR Line" without a colon after it: the number cannot be told from the message
};

struct ErrorLine {
    // The line number as reported, counted from 1 (0 when no number stands before the colon).
    int line = 0;
    // Everything after the colon, unchanged (normally with a leading blank).
    QString message;
    // The file named in the message's closing parentheses when it is not the compiled document
    // (an INCLUDEd file), as written by the compiler; empty for the document itself.
    QString file;
};

// Classifies one line of the capture file and, for an error line, reads its number and message.
// The first "ERROR Line" of the line counts; the number is read from right after it (blanks skipped)
// up to the first colon, so "ERROR Line12:" reads 12 as well as "ERROR Line 12:".
LineKind parseLine(QStringView text, ErrorLine& out);

// As above, and an error that names another file than `documentName` gets that file (see parse).
LineKind parseLine(QStringView text, const QString& documentName, ErrorLine& out);

// The file a message names in its closing parentheses ("... expression. (lcd.inc)" names lcd.inc),
// or "" when the message does not end with a file name.
QString namedFile(const QString& message);

// One collected run: the output and every error line in file order.
struct Capture {
    // The whole output (emptied once it has been shown).
    QString text;
    QList<ErrorLine> errors;
    // An error line without its colon stopped the reading; `errors` holds the lines before it.
    bool malformed = false;

    // True when the output reported at least one error (in the document or in another file).
    bool errorsFound() const { return !errors.isEmpty() || malformed; }
    // The first error reported for a line of the document itself (counted from 1), or null.
    const ErrorLine* find(int line) const;

    QHash<int, int> firstOfLine; // document line -> index into errors
};

// The text of a capture file: UTF-8 when the bytes are valid UTF-8, Windows-1252 otherwise (the
// compilers write the console's code page).
QString decode(const QByteArray& bytes);

// Reads a whole capture. `documentName` is the file name of the compiled document: an error whose
// message names that file (letter case ignored) belongs to the document, any other named file does not.
Capture parse(const QString& text, const QString& documentName);

} // namespace capture
