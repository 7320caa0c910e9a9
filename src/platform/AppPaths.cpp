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
    const QString beside = QDir(folder).absoluteFilePath(QStringLiteral("../share/pinwright"));
    p.shareFolder_ = QDir::toNativeSeparators(
        QFileInfo(beside).isDir() ? QDir::cleanPath(beside) : QStringLiteral(PINWRIGHT_SHARE_DIR));
    return p;
}

AppPaths AppPaths::forFolder(const QString& root) {
    AppPaths p;
    p.appFolder_ = QDir::toNativeSeparators(QDir(root).absolutePath());
    p.workFolder_ = p.appFolder_;
    p.sourceFolder_ = p.appFolder_;
    p.shareFolder_ = p.appFolder_;
    p.userDataFolder_ = p.appFolder_;
    return p;
}

QString AppPaths::dataFile(const QString& name) const {
    const QString inApp = join(appFolder_, name);
    if (QFileInfo::exists(inApp) || shareFolder_.isEmpty())
        return inApp;
    const QString shared = join(shareFolder_, name);
    return QFileInfo::exists(shared) ? shared : inApp;
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
