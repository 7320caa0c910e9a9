#pragma once

#include "platform/AppError.h"

#include <QString>
#include <QStringList>

// The script a compile run starts: Runpb.bat on Windows, runpb.sh elsewhere. Both delete the capture
// file, enter the document's folder, announce the run, run the compiler with its output redirected into
// the capture file and type the capture file.
namespace runscript {

inline constexpr char CaptureName[] = "temp.dat";
inline constexpr char BatchName[] = "Runpb.bat";
inline constexpr char ShellName[] = "runpb.sh";

// The values a run derives from the document, the settings and the device combo.
struct Inputs {
    QString docShort;      // the document's path (short form on Windows)
    QString appShort;      // the work folder that holds the script and the capture file
    QString compilerShort; // the compiler program's path
    QString options;       // the option text, blanks around it removed
    QString deviceArg;     // the device name as the compiler's -p option wants it
};

// The device option from a device combo entry: the entry without its first three characters.
QString deviceArg(const QString& comboEntry);

// The six lines of Runpb.bat (without line ends). A path with a blank or a character that the command
// interpreter treats specially is quoted, so that it stays one path; '%' is doubled as a batch file
// needs. Fails with error 5 when the document path has no backslash (the folder line cannot be formed).
bool batchLines(const Inputs& in, QStringList& lines, AppError& error);

// A text as one word of a POSIX shell: in single quotes, a single quote written as '\''.
QString shellQuote(const QString& word);

// What the POSIX script needs beyond the inputs.
struct ShellInputs {
    QString document;    // the document's absolute path
    QString workFolder;  // the folder of the script and the capture file
    QString compiler;    // the compiler program
    QStringList options; // the options, already split into words
    QString deviceArg;   // as in Inputs
    QString runId;       // tells this run's script from any earlier one
    QString wine;        // the wine program for a Windows compiler; empty runs the compiler itself
};

// The program that runs a Windows program here: wine, else wine64 (some systems name their 64-bit Wine
// so), on the search path; empty when neither is there.
QString findWine();

// The partial capture file of a run; renamed to the capture file when the compiler exits.
QString partialName(const QString& runId);

// The lines of runpb.sh. Every path and option is one quoted word, so nothing in them can run as a
// command. The compiler writes into the run's partial file, which only becomes the capture file when
// the compiler has exited and this script is still the current one (a superseded run leaves no result).
QStringList shellLines(const ShellInputs& in);

} // namespace runscript
