#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

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

bool writeScript(const QString& path, const QByteArray& body) {
    return writeFile(path, "#!/bin/sh\n" + body + '\n') &&
           QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
}

void onNextModal(const std::function<void(QWidget&)>& act, QString* title) {
    QTimer::singleShot(0, [act, title] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            if (title)
                *title = dialog->windowTitle();
            act(*dialog);
        }
    });
}

} // namespace testsupport
