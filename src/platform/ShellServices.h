#pragma once

#include <QString>
#include <QStringList>

class QObject;
class QProcess;

// Operating-system services: the short form of a path, opening a document or address with the
// desktop, starting programs, the system-information tool, the clipboard's text.
namespace shell {

// The short (8.3) form of an existing path on Windows; elsewhere its absolute path, unchanged.
// "" when the path does not exist.
QString shortPath(const QString& path);

// Opens a document, web address or mailto: link with the desktop; false when nothing could open it.
bool openWithDesktop(const QString& target);

// Starts a program detached in its own window; false when it could not be started, with the reason
// in `why` when given.
bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder = QString(), QString* why = nullptr);

// Starts a program without a window of its own and returns it (owned by `parent`); on Linux and macOS
// in a session of its own, so that endProcess reaches whatever it starts. Null with `error` set when
// it could not be started.
QProcess* startHidden(const QString& program, const QStringList& arguments, const QString& workingFolder,
                      QObject* parent, QString& error);
// Ends a process from startHidden together with everything it started, and frees it.
void endProcess(QProcess* process);

// A terminal emulator to show a run in: $TERMINAL, x-terminal-emulator or a common one that is
// installed; "" when there is none (and on Windows, whose console needs none).
QString terminalEmulator();
// The arguments that make `terminal` run `command` (a program and its arguments) in its window.
QStringList terminalArguments(const QString& terminal, const QStringList& command);

// The system-information tool of this machine, or "" when there is none.
QString systemInfoTool();

// Whether the clipboard holds text. May ask the program that owns the clipboard, a round trip.
bool clipboardHoldsText();

} // namespace shell
