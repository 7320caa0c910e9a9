#pragma once

#include "platform/AppError.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <map>
#include <memory>

class QLockFile;

// Copies of unsaved documents in the per-user data folder, so that a crash or a power cut loses at
// most the typing of the last interval. Each running program keeps its copies in a session folder of
// its own, held by a lock file; a session whose lock is no longer held belongs to a program that
// ended without cleaning up, and its copies are the ones offered back at the next start.
class Autosave {
public:
    // One copy: the bytes saving the document would write, with what it takes to read them back the
    // same way (the path may not exist: an untitled document's name).
    struct Entry {
        QString path;
        QString encoding = QStringLiteral("UTF-8");
        QByteArray bytes;
        QDateTime written;
        // The copy's own file.
        QString file;
    };

    // `folder` holds the sessions; it is created on first use.
    explicit Autosave(QString folder);
    ~Autosave();
    Autosave(const Autosave&) = delete;
    Autosave& operator=(const Autosave&) = delete;

    QString folder() const { return folder_; }

    // Writes the copy named `id` (any file-name-safe text) atomically, replacing the earlier one.
    AppError write(const QString& id, const QString& path, const QString& encoding, const QByteArray& bytes);
    void remove(const QString& id);
    // A clean exit: this session's copies and lock go.
    void finish();

    // The copies of sessions that ended without finishing, oldest first. Their sessions stay locked by
    // this program until every copy has been discarded.
    QList<Entry> orphaned();
    void discard(const Entry& entry);

    // The file format, for tests and tools: a header of "key value" lines, a blank line, the bytes.
    static QByteArray encode(const Entry& entry);
    static bool decode(const QByteArray& data, Entry& entry);

private:
    bool openSession();

    QString folder_;
    QString session_;
    std::unique_ptr<QLockFile> lock_;
    // Locks taken on the sessions whose copies are being offered, by session folder.
    std::map<QString, std::unique_ptr<QLockFile>> adopted_;
};
