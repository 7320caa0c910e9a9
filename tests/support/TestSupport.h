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

// Runs `act` on the modal dialog the next command opens (nothing when none opens); returns its title
// through `title` when given.
void onNextModal(const std::function<void(QWidget&)>& act, QString* title = nullptr);

// Runs one case ("function:tag") of this test program again as the unprivileged user nobody (uid and
// gid 65534), for cases about file permissions, which do not stop root. The program runs from a copy in
// a folder that user can reach, with its own temporary folder there. True when the case ran and
// passed; `log` gets its output.
bool runCaseUnprivileged(const QString& testCase, QString* log);

} // namespace testsupport
