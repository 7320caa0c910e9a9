#include "platform/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool isWritableFolder(const QString& folder) {
    const QFileInfo fi(folder);
    return fi.isDir() && fi.isWritable();
}

} // namespace

AppPaths AppPaths::fromApplication() {
    return forExecutable(QCoreApplication::applicationDirPath());
}

AppPaths AppPaths::forExecutable(const QString& folder) {
    AppPaths p;
    p.appFolder_ = QDir::toNativeSeparators(QDir(folder).absolutePath());
    const bool writable = isWritableFolder(p.appFolder_);
    p.userDataFolder_ =
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    if (writable) {
        p.workFolder_ = p.appFolder_;
        p.sourceFolder_ = p.appFolder_;
    } else {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir().mkpath(data);
        p.workFolder_ = QDir::toNativeSeparators(data);
        p.sourceFolder_ =
            QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    }
    const QString installed =
        QDir::cleanPath(QDir(folder).absoluteFilePath(QStringLiteral("../share/pinwright")));
    for (const QString& f : {p.appFolder_, installed, QStringLiteral(PINWRIGHT_SHARE_DIR)}) {
        const QString native = QDir::toNativeSeparators(f);
        if (!p.dataFolders_.contains(native))
            p.dataFolders_.append(native);
    }
    return p;
}

AppPaths AppPaths::forFolder(const QString& root) {
    AppPaths p;
    p.appFolder_ = QDir::toNativeSeparators(QDir(root).absolutePath());
    p.workFolder_ = p.appFolder_;
    p.sourceFolder_ = p.appFolder_;
    p.dataFolders_ = {p.appFolder_};
    p.userDataFolder_ = p.appFolder_;
    return p;
}

QString AppPaths::dataFile(const QString& name) const {
    for (const QString& folder : dataFolders_) {
        const QString path = join(folder, name);
        if (QFileInfo::exists(path))
            return path;
    }
    return join(appFolder_, name);
}

QString AppPaths::join(const QString& folder, const QString& name) {
    const QChar sep = QDir::separator();
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder + name;
    return folder + sep + name;
}

QString AppPaths::folderOf(const QString& path) {
#ifdef Q_OS_WIN
    const qsizetype sep = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
#else
    const qsizetype sep = path.lastIndexOf(u'/');
#endif
    if (sep < 0)
        return {};
    return sep == 0 ? path.left(1) : path.left(sep);
}
