#pragma once

#include <QString>
#include <QStringList>

// Option texts as the words a program receives, and the programmer's placeholders.
namespace cmdline {

// Splits an option text into words as a shell would: blanks and TABs separate words; double or single
// quotes keep blanks inside one word and are removed (inside double quotes, "" stands for one quote).
// An unclosed quote runs to the end of the text.
QStringList splitArguments(const QString& text);

// What the programmer's placeholders stand for.
struct Placeholders {
    QString hex;    // %HEX%: the HEX file of the active document
    QString source; // %SOURCE%: the active document
    QString device; // %DEVICE%: the device as the compiler's -p option has it
};

// The words with %HEX%, %SOURCE% and %DEVICE% replaced (letter case ignored). Replacing after the split
// keeps a path with blanks one word.
QStringList expand(const QStringList& words, const Placeholders& values);

// The HEX file a compile of `document` produces: its path with the extension ".hex".
QString hexFileOf(const QString& document);

} // namespace cmdline
