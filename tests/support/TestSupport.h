#pragma once

#include <QString>

#include <functional>

class QWidget;

// Helpers shared by the tests.
namespace testsupport {

// The project's data folder (devicedata.ide, help pages, examples) in the source tree.
QString dataDir();

// The folder of real PicBasic programs beside the project, or "" when it is absent.
QString corpusDir();

// Writes bytes to a file, creating folders; returns false on failure.
bool writeFile(const QString& path, const QByteArray& bytes);

// Reads a whole file; an empty array when it cannot be read.
QByteArray readFile(const QString& path);

// Writes a shell script that stands in for an outside program and makes it executable.
bool writeScript(const QString& path, const QByteArray& body);

// A stand-in for the compiler at `path` (on Windows ".exe" is added when missing, as the command
// interpreter runs nothing else), which records its folder and then its arguments, one a line, in
// <path>.log and its process id in <path>.pid, then follows `steps`: a line to print, or
// "STDERR text", "SLEEP ms", "REPEAT n text" (n lines of text), "EXIT code". On POSIX it is a shell
// script; on Windows a copy of standin.exe (built beside the tests), which reads the steps from
// <path>.out when it starts. Returns the stand-in's path, "" on failure.
QString writeCompiler(QString path, const QStringList& steps);

// The stand-in's record (its folder, then its arguments) and its process id.
QStringList compilerRecord(const QString& compilerPath);
qint64 compilerPid(const QString& compilerPath);

// Whether the process `pid` still runs.
bool processRunning(qint64 pid);

// `path` with every short (8.3) name in it made long, "/" separators; `path` itself elsewhere.
QString longPath(const QString& path);

// Runs `act` on the modal dialog the next command opens (nothing when none opens); returns its title
// through `title` when given.
void onNextModal(const std::function<void(QWidget&)>& act, QString* title = nullptr);

// Runs one case ("function:tag") of this test program again as the unprivileged user nobody (uid and
// gid 65534), for cases about file permissions, which do not stop root. The program runs from a copy in
// a folder that user can reach, with its own temporary folder there. True when the case ran and
// passed; `log` gets its output.
bool runCaseUnprivileged(const QString& testCase, QString* log);

} // namespace testsupport
