#include "toolchain/IncludeFiles.h"

#include <QDir>
#include <QFileInfo>

namespace includefiles {

namespace {

QString folderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absolutePath());
}

} // namespace

QStringList searchFolders(const QString& documentPath, const QString& compilerPath) {
    QStringList out{folderOf(documentPath)};
    if (!compilerPath.trimmed().isEmpty()) {
        const QString compilerFolder = folderOf(compilerPath);
        if (QDir::cleanPath(compilerFolder) != QDir::cleanPath(out.first()))
            out << compilerFolder;
    }
    return out;
}

QString find(const QString& name, const QStringList& folders) {
    QString relative = name.trimmed();
#ifndef Q_OS_WIN
    relative.replace(u'\\', u'/');
#endif
    if (relative.isEmpty())
        return {};
    if (QFileInfo(relative).isAbsolute())
        return QFileInfo(relative).isFile() ? QDir::toNativeSeparators(QDir::cleanPath(relative)) : QString();
    for (const QString& folder : folders) {
        const QString path = QDir::cleanPath(QDir(folder).absoluteFilePath(relative));
        if (QFileInfo(path).isFile())
            return QDir::toNativeSeparators(path);
        // Programs written where letter case does not matter name "LCD.pbp" for "lcd.PBP".
        const QFileInfo wanted(path);
        for (const QString& file : wanted.dir().entryList(QDir::Files))
            if (file.compare(wanted.fileName(), Qt::CaseInsensitive) == 0)
                return QDir::toNativeSeparators(wanted.dir().filePath(file));
    }
    return {};
}

QString notFoundMessage(const QString& name, const QStringList& folders) {
    return QStringLiteral("Cannot find the include file \"") + name + QStringLiteral("\".\n\nLooked in:\n") +
           folders.join(u'\n');
}

} // namespace includefiles
