#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

QString dataDir() {
    return QStringLiteral(PINWRIGHT_DATA_DIR);
}

QString corpusDir() {
    const QString dir = QStringLiteral(PINWRIGHT_CORPUS_DIR);
    return QFileInfo(dir).isDir() ? QDir(dir).absolutePath() : QString();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace testsupport
