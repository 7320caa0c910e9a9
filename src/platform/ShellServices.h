#pragma once

#include <QString>
#include <QStringList>

// Operating-system services: the short form of a path, opening a document or address with the
// desktop, starting programs, the system-information tool.
namespace shell {

// The short (8.3) form of an existing path on Windows; elsewhere its absolute path, unchanged.
// "" when the path does not exist.
QString shortPath(const QString& path);

// Opens a document, web address or mailto: link with the desktop; false when nothing could open it.
bool openWithDesktop(const QString& target);

// Starts a program detached in its own window; false when it could not be started.
bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder = QString());

// The system-information tool of this machine, or "" when there is none.
QString systemInfoTool();

} // namespace shell
