#include "shell/Autosave.h"

#include "platform/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QUrl>
#include <QUuid>

#include <algorithm>

namespace {

const QByteArray kMagic("Pinwright autosave 1");
const QString kSuffix = QStringLiteral(".autosave");
const QString kLockSuffix = QStringLiteral(".lock");

QByteArray header(const QString& path, const QString& encoding, const QDateTime& written) {
    return kMagic + "\npath " + QUrl::toPercentEncoding(path) + "\nencoding " + encoding.toLatin1() +
           "\nwritten " + written.toUTC().toString(Qt::ISODateWithMs).toUtf8() + "\n\n";
}

} // namespace

Autosave::Autosave(QString folder) : folder_(std::move(folder)) {}

Autosave::~Autosave() = default;

bool Autosave::openSession() {
    if (lock_)
        return true;
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QDir dir(folder_);
    if (!dir.mkpath(name))
        return false;
    auto lock = std::make_unique<QLockFile>(dir.filePath(name + kLockSuffix));
    // Only a lock whose program has gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    session_ = name;
    lock_ = std::move(lock);
    return true;
}

AppError Autosave::write(const QString& id, const QString& path, const QString& encoding,
                         const QByteArray& bytes) {
    if (!openSession())
        return AppError{AppError::PathFileAccess, QStringLiteral("The autosave folder %1 cannot be written.")
                                                      .arg(QDir::toNativeSeparators(folder_))};
    QSaveFile file(QDir(folder_).filePath(session_ + u'/' + id + kSuffix));
    const QByteArray head = header(path, encoding, QDateTime::currentDateTimeUtc());
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size() ||
        file.write(bytes) != bytes.size() || !file.commit())
        return AppError{AppError::PathFileAccess, file.errorString()};
    return {};
}

void Autosave::remove(const QString& id) {
    if (lock_)
        QFile::remove(QDir(folder_).filePath(session_ + u'/' + id + kSuffix));
}

void Autosave::finish() {
    if (lock_) {
        QDir(QDir(folder_).filePath(session_)).removeRecursively();
        lock_->unlock();
        lock_.reset();
    }
    adopted_.clear();
}

QList<Autosave::Entry> Autosave::orphaned() {
    QList<Entry> out;
    const QDir dir(folder_);
    for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (name == session_)
            continue;
        auto lock = std::make_unique<QLockFile>(dir.filePath(name + kLockSuffix));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue; // another program running now owns it
        bool any = false;
        QDir session(dir.filePath(name));
        for (const QString& file : session.entryList({u'*' + kSuffix}, QDir::Files)) {
            QFile f(session.filePath(file));
            Entry e;
            if (f.open(QIODevice::ReadOnly) && decode(f.readAll(), e)) {
                e.file = f.fileName();
                out << e;
                any = true;
            } else {
                f.remove(); // not one of ours, or cut short by something other than this program
            }
        }
        if (any)
            adopted_[session.absolutePath()] = std::move(lock);
        else
            session.removeRecursively(); // the lock goes with `lock`
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Entry& a, const Entry& b) { return a.written < b.written; });
    return out;
}

void Autosave::discard(const Entry& entry) {
    QFile::remove(entry.file);
    const QString folder = QFileInfo(entry.file).absolutePath();
    if (!QDir(folder).isEmpty())
        return;
    QDir(folder).removeRecursively();
    adopted_.erase(folder); // unlocking removes the lock file
}

QByteArray Autosave::encode(const Entry& entry) {
    return header(entry.path, entry.encoding, entry.written) + entry.bytes;
}

bool Autosave::decode(const QByteArray& data, Entry& entry) {
    const qsizetype end = data.indexOf("\n\n");
    if (end < 0 || !data.startsWith(kMagic + '\n'))
        return false;
    bool havePath = false;
    for (const QByteArray& line : data.left(end).split('\n').mid(1)) {
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = line.left(space);
        const QByteArray value = space < 0 ? QByteArray() : line.mid(space + 1);
        if (key == "path") {
            entry.path = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
            havePath = !entry.path.isEmpty();
        } else if (key == "encoding") {
            const QString name = textenc::canonicalName(QString::fromLatin1(value));
            entry.encoding = name.isEmpty() ? QString::fromLatin1(textenc::Utf8) : name;
        } else if (key == "written") {
            entry.written = QDateTime::fromString(QString::fromLatin1(value), Qt::ISODateWithMs);
        }
    }
    entry.bytes = data.mid(end + 2);
    return havePath;
}
