#include "build/CompileRun.h"

#include "build/RunScript.h"
#include "platform/AppPaths.h"
#include "platform/ShellServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStringEncoder>
#include <QUuid>

namespace compilerun {

QString scriptPath(const QString& workFolder) {
#ifdef Q_OS_WIN
    return AppPaths::join(workFolder, QString::fromLatin1(runscript::BatchName));
#else
    return AppPaths::join(workFolder, QString::fromLatin1(runscript::ShellName));
#endif
}

QString capturePath(const QString& workFolder) {
    return AppPaths::join(workFolder, QString::fromLatin1(runscript::CaptureName));
}

QString newRunId() {
    return QUuid::createUuid().toString(QUuid::Id128);
}

AppError clearCapture(const QString& workFolder) {
    const QDir dir(workFolder);
    const QString pattern = QString::fromLatin1(runscript::CaptureName) + QStringLiteral(".*.part");
    for (const QString& stale : dir.entryList({pattern}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(stale));
    const QString capture = capturePath(workFolder);
    if (QFile::exists(capture) && !QFile::remove(capture))
        return AppError{AppError::PathFileAccess,
                        QStringLiteral("Cannot remove the output of an earlier run, ") + capture};
    return {};
}

AppError writeScript(const QString& path, const QStringList& lines) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return AppError::accessError();
#ifdef Q_OS_WIN
    QStringEncoder ansi(QStringConverter::System);
    file.write(ansi.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
#else
    file.write((lines.join(u'\n') + u'\n').toUtf8());
#endif
    if (!file.commit())
        return AppError::accessError();
#ifndef Q_OS_WIN
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
#endif
    return {};
}

bool readCapture(const QString& workFolder, QByteArray& bytes) {
    QFile file(capturePath(workFolder));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

QProcess* startHidden(const QString& script, const QString& folder, QObject* parent, AppError& error) {
    QString why;
#ifdef Q_OS_WIN
    QProcess* p =
        shell::startHidden(QStringLiteral("cmd.exe"), {QStringLiteral("/c"), script}, folder, parent, why);
#else
    QProcess* p = shell::startHidden(QStringLiteral("/bin/sh"), {script}, folder, parent, why);
#endif
    if (!p)
        error = AppError{AppError::PathFileAccess, why};
    return p;
}

Shown startShown(const QString& script, const QString& workFolder) {
#ifdef Q_OS_WIN
    return shell::openWithDesktop(script) ? Shown::Started : Shown::Failed;
#elif defined(Q_OS_MACOS)
    return shell::startDetached(QStringLiteral("open"),
                                {QStringLiteral("-a"), QStringLiteral("Terminal"), script}, workFolder)
               ? Shown::Started
               : Shown::Failed;
#else
    const QString terminal = shell::terminalEmulator();
    if (terminal.isEmpty())
        return Shown::NoTerminal;
    const QStringList command{QStringLiteral("/bin/sh"), script};
    return shell::startDetached(terminal, shell::terminalArguments(terminal, command), workFolder)
               ? Shown::Started
               : Shown::Failed;
#endif
}

} // namespace compilerun
