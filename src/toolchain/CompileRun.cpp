#include "toolchain/CompileRun.h"

#include "toolchain/CommandLine.h"
#include "toolchain/RunScript.h"
#include "platform/AppPaths.h"
#include "platform/ShellServices.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QStringEncoder>
#include <QUuid>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

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

bool scriptLines(const runscript::Inputs& in, QStringList& lines, AppError& error) {
#ifdef Q_OS_WIN
    return runscript::batchLines(in, lines, error);
#else
    const QString folder = AppPaths::folderOf(in.docShort);
    if (folder.isEmpty()) {
        error = AppError::fromNumber(5);
        return false;
    }
    runscript::ShellInputs sh{in.docShort,
                              in.appShort,
                              in.compilerShort,
                              cmdline::splitArguments(in.options),
                              in.deviceArg,
                              newRunId(),
                              {}};
    if (in.compilerShort.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive)) {
        sh.wine = runscript::findWine();
        if (sh.wine.isEmpty()) {
            error = AppError{AppError::FileNotFound,
                             QStringLiteral("Wine is needed to run the Windows compiler ") +
                                 in.compilerShort + QStringLiteral(", and the wine command was not found.")};
            return false;
        }
    }
    lines = runscript::shellLines(sh);
    return true;
#endif
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
#ifdef Q_OS_WIN
    // The batch file's redirection keeps the file open for writing until the compiler exits; asking for
    // a read that shares no writing fails until then, so a readable file is a finished one.
    const std::wstring path = QDir::toNativeSeparators(capturePath(workFolder)).toStdWString();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buffer, sizeof(buffer), &got, nullptr) != 0) && got > 0)
        bytes.append(buffer, qsizetype(got));
    CloseHandle(h);
    return ok;
#else
    QFile file(capturePath(workFolder));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
#endif
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

Shown startShown(const QString& script, const QString& workFolder, QString* why) {
    QString reason;
    const auto failed = [&](const QString& program) {
        if (why)
            *why = QDir::toNativeSeparators(program) +
                   (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
        return Shown::Failed;
    };
#ifdef Q_OS_WIN
    Q_UNUSED(workFolder) // the batch file changes to the document's folder itself
    if (shell::openWithDesktop(script))
        return Shown::Started;
    return failed(script);
#elif defined(Q_OS_MACOS)
    if (shell::startDetached(QStringLiteral("open"),
                             {QStringLiteral("-a"), QStringLiteral("Terminal"), script}, workFolder, &reason))
        return Shown::Started;
    return failed(QStringLiteral("open"));
#else
    const QString terminal = shell::terminalEmulator();
    if (terminal.isEmpty())
        return Shown::NoTerminal;
    const QStringList command{QStringLiteral("/bin/sh"), script};
    if (shell::startDetached(terminal, shell::terminalArguments(terminal, command), workFolder, &reason))
        return Shown::Started;
    return failed(terminal);
#endif
}

} // namespace compilerun
