#include "support/TestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
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

bool runCaseUnprivileged(const QString& testCase, QString* log) {
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) {
        *log = QStringLiteral("setpriv is not installed");
        return false;
    }
    const auto everyone = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                          QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                          QFileDevice::ExeOther;
    // Under /tmp rather than $TMPDIR, which may lie inside a folder only root can enter.
    QTemporaryDir dir(QStringLiteral("/tmp/pinwright-unprivileged-XXXXXX"));
    const QString program = dir.filePath(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    const QString tmp = dir.filePath(QStringLiteral("tmp"));
    if (!dir.isValid() || !QFile::setPermissions(dir.path(), everyone) ||
        !QFile::copy(QCoreApplication::applicationFilePath(), program) ||
        !QFile::setPermissions(program, everyone) || !QDir().mkpath(tmp) ||
        !QFile::setPermissions(tmp, everyone | QFileDevice::WriteGroup | QFileDevice::WriteOther)) {
        *log = QStringLiteral("cannot prepare a folder for the unprivileged run");
        return false;
    }
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp);
    env.insert(QStringLiteral("HOME"), tmp);
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(tmp);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(setpriv, {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                        QStringLiteral("--clear-groups"), program, testCase});
    const bool finished = run.waitForFinished(120000);
    *log = QString::fromLocal8Bit(run.readAll());
    // A case that skipped there tested nothing either.
    return finished && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0 &&
           log->contains(QLatin1String("PASS   : ")) && !log->contains(QLatin1String("SKIP   : "));
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
