#pragma once

#include <QString>
#include <QStringList>

// Where the program finds and keeps its files. The application folder is the executable's; when it is
// not writable (an installed program) the work files and the default source folder move to the user's
// own folders. Tests point every folder at a temporary one.
class AppPaths {
public:
    // Folders from the running executable.
    static AppPaths fromApplication();
    // Folders for an executable in `folder`: beside it, or installed under a prefix with the data in
    // <prefix>/share/pinwright (found from the executable's place, so the install can move).
    static AppPaths forExecutable(const QString& folder);
    // Every folder inside `root` (for tests): the application folder is `root` itself.
    static AppPaths forFolder(const QString& root);

    // The folder of the program's executable (native separators, no trailing separator except a root).
    QString applicationFolder() const { return appFolder_; }
    // Where Runpb.bat / runpb.sh and temp.dat are written.
    QString workFolder() const { return workFolder_; }
    // The default of the source folder setting.
    QString defaultSourceFolder() const { return sourceFolder_; }
    // The user's own files that are no documents (the autosaved copies of unsaved documents).
    QString userDataFolder() const { return userDataFolder_; }
    // A read-only data file or folder (the device list, the help pages, the examples): beside the
    // program (a build tree or a portable folder), then <program folder>/../share/pinwright (any install
    // prefix, the Debian package), then the share folder of the prefix the program was built for. A name
    // found nowhere gives the place beside the program, so that reading it reports it missing there.
    QString dataFile(const QString& name) const;
    // The folders dataFile() looks in, in its order (without repeats).
    QStringList dataFolders() const { return dataFolders_; }

    // The folder of a path: everything before its last separator ('\\' or '/' on Windows, '/' elsewhere),
    // "/" for a file in the root of Linux or macOS, "" when the path has no separator.
    static QString folderOf(const QString& path);
    // Joins a folder and a name with the platform's separator (one separator, even after a root).
    static QString join(const QString& folder, const QString& name);

private:
    QString appFolder_;
    QString workFolder_;
    QString sourceFolder_;
    QStringList dataFolders_;
    QString userDataFolder_;
};
