#include "common/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QUrl>

Settings::Settings(const AppPaths& paths)
    : paths_(paths), store_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                        QString::fromLatin1(settings::Application),
                                                        QString::fromLatin1(settings::Application))) {}

Settings::Settings(const AppPaths& paths, const QString& iniFile)
    : paths_(paths), store_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

Settings::~Settings() = default;

QString Settings::path(const QString& application, const QString& section, const QString& key) const {
    // The store itself belongs to this application; another application name gets its own branch.
    const QString prefix =
        application == QLatin1String(settings::Application) ? QString() : application + QLatin1Char('/');
    return prefix + section + QLatin1Char('/') + key;
}

QString Settings::Read(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue) const {
    const QVariant v = store_->value(path(application, section, key));
    if (!v.isValid())
        return defaultValue;
    // A value edited by hand with unquoted commas comes back as a list; keep its text.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void Settings::Save(const QString& application, const QString& section, const QString& key,
                    const QString& value) {
    store_->setValue(path(application, section, key), value);
}

QString Settings::defaultOf(const settings::Key& key) const {
    switch (key.kind) {
    case settings::DefaultKind::Text:
        return QString::fromUtf8(key.value);
    case settings::DefaultKind::SourceFolder:
        return paths_.defaultSourceFolder();
    case settings::DefaultKind::LastFile:
        return AppPaths::join(read(settings::startup::SourceCodePath), QStringLiteral("Untitled.pbp"));
    case settings::DefaultKind::CompilerPath:
        return AppPaths::join(paths_.applicationFolder(), QStringLiteral("PBPW.EXE"));
    case settings::DefaultKind::ProgrammerPath:
        return AppPaths::join(paths_.applicationFolder(), QStringLiteral("EPICWIN.EXE"));
    }
    return {};
}

QString Settings::read(const settings::Key& key) const {
    return Read(QString::fromLatin1(settings::Application), QString::fromLatin1(key.section),
                QString::fromLatin1(key.name), defaultOf(key));
}

bool Settings::has(const settings::Key& key) const {
    return store_->contains(path(QString::fromLatin1(settings::Application), QString::fromLatin1(key.section),
                                 QString::fromLatin1(key.name)));
}

void Settings::save(const settings::Key& key, const QString& value) {
    Save(QString::fromLatin1(settings::Application), QString::fromLatin1(key.section),
         QString::fromLatin1(key.name), value);
}

bool Settings::sync() {
    store_->sync();
    return store_->status() != QSettings::AccessError;
}

QString Settings::location() const {
    return store_->fileName();
}

namespace {

// A file's key in the store: its absolute path, percent-encoded so that separators do not nest groups.
QString fileKey(const QString& path) {
    QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
#ifdef Q_OS_WIN
    absolute = absolute.toLower();
#endif
    return QString::fromLatin1(QUrl::toPercentEncoding(absolute));
}

} // namespace

QString Settings::fileEncoding(const QString& path) const {
    if (path.isEmpty())
        return {};
    return Read(QString::fromLatin1(settings::Application),
                QString::fromLatin1(settings::files::EncodingSection), fileKey(path));
}

void Settings::saveFileEncoding(const QString& path, const QString& encoding) {
    if (!path.isEmpty())
        Save(QString::fromLatin1(settings::Application),
             QString::fromLatin1(settings::files::EncodingSection), fileKey(path), encoding);
}
