#pragma once

#include "common/SettingsKeys.h"
#include "platform/AppPaths.h"

#include <QString>
#include <memory>

class QSettings;

// The per-user store of named text values, addressed by application, section and key.
// Reads never fail: an absent key gives the default named at the call (or declared with the key).
class Settings {
public:
    // The user's own store (native format, user scope, "Pinwright"/"Pinwright").
    explicit Settings(const AppPaths& paths);
    // A store in one file (tests, portable use).
    Settings(const AppPaths& paths, const QString& iniFile);
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    QString Read(const QString& application, const QString& section, const QString& key,
                 const QString& defaultValue = QString()) const;
    void Save(const QString& application, const QString& section, const QString& key, const QString& value);

    // Declared keys with their declared defaults.
    QString read(const settings::Key& key) const;
    void save(const settings::Key& key, const QString& value);
    // Whether the store holds a value for the key (a read gives the default otherwise).
    bool has(const settings::Key& key) const;
    // The encoding the user chose for a file (reopened or saved with it), "" when none.
    QString fileEncoding(const QString& path) const;
    void saveFileEncoding(const QString& path, const QString& encoding);
    // The declared default of a key on this machine.
    QString defaultOf(const settings::Key& key) const;

    const AppPaths& paths() const { return paths_; }
    // Writes pending changes; false when the store cannot be written (its values then live only in
    // this process).
    bool sync();
    // Where the store lives (a file, or the registry path on Windows).
    QString location() const;

private:
    QString path(const QString& application, const QString& section, const QString& key) const;

    AppPaths paths_;
    std::unique_ptr<QSettings> store_;
};
