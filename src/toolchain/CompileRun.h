#pragma once

#include "platform/AppError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class QObject;
class QProcess;

namespace runscript {
struct Inputs;
}

// The files and processes of a compile run: the script, the capture file, the hidden or shown start.
namespace compilerun {

// The script of this system in the work folder: Runpb.bat on Windows, runpb.sh elsewhere.
QString scriptPath(const QString& workFolder);
QString capturePath(const QString& workFolder);

// A text that tells this run's script from every earlier one.
QString newRunId();

// The lines of this system's script: Runpb.bat on Windows; elsewhere runpb.sh, with a compiler whose
// name ends in ".exe" run through Wine. Fails when the document has no folder, or when Wine is needed
// and missing.
bool scriptLines(const runscript::Inputs& in, QStringList& lines, AppError& error);

// Removes the capture file and the partial files of earlier runs, so that nothing of an earlier run
// can be collected as this run's result. Fails when the capture file stays (held by a running compiler).
AppError clearCapture(const QString& workFolder);

// Writes the script in one step (a script still running from an earlier run keeps reading its own):
// Runpb.bat in the system's ANSI code page with CR LF, runpb.sh in UTF-8 with LF.
AppError writeScript(const QString& path, const QStringList& lines);

// The capture file's bytes; false while it cannot be read (the run is still going on: on Windows the
// compiler still holds it, elsewhere it only appears, renamed, once the compiler has exited).
bool readCapture(const QString& workFolder, QByteArray& bytes);

// Starts the script without a window, in `folder`. Null with `error` set when it did not start.
QProcess* startHidden(const QString& script, const QString& folder, QObject* parent, AppError& error);

enum class Shown { Started, Failed, NoTerminal };
// Starts the script in a console window of its own (on Linux a terminal emulator). When it failed,
// `why` names the program that did not start and the reason.
Shown startShown(const QString& script, const QString& workFolder, QString* why = nullptr);

} // namespace compilerun
