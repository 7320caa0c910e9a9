#pragma once

#include <QString>
#include <QStringList>

// Where the file an INCLUDE line names is found: as the compiler looks for it, first in the folder of
// the document that includes it, then in the compiler's own folder.
namespace includefiles {

// The folders searched, in order, native separators; the compiler's folder is left out when it is the
// document's, or when no compiler path is set.
QStringList searchFolders(const QString& documentPath, const QString& compilerPath);
// The first existing file of that name in the folders (a name with a folder part is taken relative to
// each; "\" separates folders on every system); empty when none has it. An absolute name is itself.
QString find(const QString& name, const QStringList& folders);
// The message for a name found nowhere, naming every folder searched.
QString notFoundMessage(const QString& name, const QStringList& folders);

} // namespace includefiles
