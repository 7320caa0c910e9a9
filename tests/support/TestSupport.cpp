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

#ifdef Q_OS_WIN
#include <QCoreApplication>
#include <qt_windows.h>
#else
#include <csignal>
#endif

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

QString writeCompiler(QString path, const QStringList& steps) {
#ifdef Q_OS_WIN
    if (!path.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        path += QStringLiteral(".exe");
    QDir().mkpath(QFileInfo(path).absolutePath());
    // A copy still running from an earlier run keeps its file: the same program, only new steps.
    if (!QFileInfo::exists(path) &&
        !QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/standin.exe"), path))
        return {};
    if (!writeFile(path + QStringLiteral(".out"), (steps.join(u'\n') + u'\n').toUtf8()))
        return {};
#else
    const auto quote = [](QString text) {
        return u'\'' + text.replace(u'\'', QStringLiteral("'\\''")) + u'\'';
    };
    QStringList body{"printf '%s\\n' \"$(pwd)\" \"$@\" > " + quote(path + ".log"),
                     "echo $$ > " + quote(path + ".pid")};
    for (const QString& step : steps) {
        const QString word = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
        if (word == u"STDERR")
            body << "printf '%s\\n' " + quote(rest) + " >&2";
        else if (word == u"SLEEP")
            body << "sleep " + QString::number(rest.toInt() / 1000.0);
        else if (word == u"REPEAT")
            body << "yes " + quote(rest.section(u' ', 1)) + " | head -n " + rest.section(u' ', 0, 0);
        else if (word == u"EXIT")
            body << "exit " + rest;
        else
            body << "printf '%s\\n' " + quote(step);
    }
    if (!writeScript(path, body.join(u'\n').toUtf8()))
        return {};
#endif
    return path;
}

QStringList compilerRecord(const QString& compilerPath) {
    return QString::fromUtf8(readFile(compilerPath + QStringLiteral(".log")))
        .split(u'\n', Qt::SkipEmptyParts);
}

qint64 compilerPid(const QString& compilerPath) {
    return readFile(compilerPath + QStringLiteral(".pid")).trimmed().toLongLong();
}

bool processRunning(qint64 pid) {
    if (pid <= 0)
        return false;
#ifdef Q_OS_WIN
    HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!h)
        return false;
    const bool alive = WaitForSingleObject(h, 0) == WAIT_TIMEOUT;
    CloseHandle(h);
    return alive;
#else
    return ::kill(pid_t(pid), 0) == 0;
#endif
}

QString longPath(const QString& path) {
#ifdef Q_OS_WIN
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    const DWORD needed = GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return QDir::fromNativeSeparators(path);
    std::wstring buffer(needed, L'\0');
    const DWORD written = GetLongPathNameW(wide.c_str(), buffer.data(), needed);
    buffer.resize(written < needed ? written : 0);
    return QDir::fromNativeSeparators(QString::fromStdWString(buffer));
#else
    return path;
#endif
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
