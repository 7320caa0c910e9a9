#include "platform/ShellServices.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <tlhelp32.h>
#else
#include <csignal>
#include <unistd.h>
#endif
// The X11 clipboard's owner is asked for where Qt itself talks to X11 through xcb.
#if defined(PINWRIGHT_HAVE_XCB) && QT_CONFIG(xcb)
#define PINWRIGHT_ASK_X11_CLIPBOARD
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>
#endif

namespace shell {

QString shortPath(const QString& path) {
    if (path.isEmpty())
        return {};
    const QFileInfo fi(path);
    if (!fi.exists())
        return {};
#ifdef Q_OS_WIN
    const std::wstring wide = QDir::toNativeSeparators(fi.absoluteFilePath()).toStdWString();
    const DWORD needed = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return {};
    std::wstring buffer(needed, L'\0');
    const DWORD written = GetShortPathNameW(wide.c_str(), buffer.data(), needed);
    if (written == 0 || written >= needed)
        return {};
    buffer.resize(written);
    return QString::fromStdWString(buffer);
#else
    return QDir::toNativeSeparators(fi.absoluteFilePath());
#endif
}

bool openWithDesktop(const QString& target) {
    if (target.isEmpty())
        return false;
    const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target, QUrl::StrictMode);
    if (!url.isValid())
        return false;
    return QDesktopServices::openUrl(url);
}

bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder,
                   QString* why) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    if (process.startDetached())
        return true;
    if (why)
        *why = process.errorString();
    return false;
}

#ifdef Q_OS_WIN
namespace {

const char* const JobProperty = "pinwright.job";

// Windows has no process groups: a run's program and everything it starts (the compiler that the batch
// file runs) share a job, which ends them all at once. The program starts suspended and joins the job
// before it can start anything; closing the job's last handle ends whatever still runs in it.
HANDLE newJob() {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    return job;
}

// Resumes the threads of a process started suspended.
bool resumeProcess(DWORD pid) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    bool resumed = false;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID != pid)
            continue;
        if (HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID)) {
            resumed = ResumeThread(thread) != DWORD(-1) || resumed;
            CloseHandle(thread);
        }
    }
    CloseHandle(snapshot);
    return resumed;
}

// Ends everything in the process's job and waits (briefly) until none of it runs, so that no file it
// held stays open once this returns.
void endJob(QProcess* process) {
    const auto job = reinterpret_cast<HANDLE>(process->property(JobProperty).value<quintptr>());
    if (!job)
        return;
    TerminateJobObject(job, 1);
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
    for (int waited = 0; waited < 2000; waited += 10) {
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof(info),
                                       nullptr) ||
            info.ActiveProcesses == 0)
            break;
        Sleep(10);
    }
}

} // namespace
#endif

QProcess* startHidden(const QString& program, const QStringList& arguments, const QString& workingFolder,
                      QObject* parent, QString& error) {
    auto* p = new QProcess(parent);
    p->setProgram(program);
    p->setArguments(arguments);
    p->setWorkingDirectory(workingFolder);
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
#ifdef Q_OS_WIN
    HANDLE job = newJob();
    p->setCreateProcessArgumentsModifier([job](QProcess::CreateProcessArguments* args) {
        args->flags |= CREATE_NO_WINDOW | (job ? CREATE_SUSPENDED : 0);
    });
#else
    p->setChildProcessModifier([] { ::setsid(); });
#endif
    p->start();
    if (!p->waitForStarted()) {
        error = p->errorString();
        delete p;
#ifdef Q_OS_WIN
        if (job)
            CloseHandle(job);
#endif
        return nullptr;
    }
#ifdef Q_OS_WIN
    if (job) {
        p->setProperty(JobProperty, QVariant::fromValue(quintptr(job)));
        QObject::connect(p, &QObject::destroyed, [job] { CloseHandle(job); });
        const DWORD pid = DWORD(p->processId());
        HANDLE process = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE, pid);
        const bool joined = process && AssignProcessToJobObject(job, process);
        if (process)
            CloseHandle(process);
        // Not joined, the run still goes, as a process of its own.
        if (!joined)
            p->setProperty(JobProperty, QVariant());
        if (!resumeProcess(pid)) {
            error = QStringLiteral("The program could not be resumed after its start.");
            p->kill();
            p->waitForFinished(2000);
            delete p;
            return nullptr;
        }
    }
#endif
    return p;
}

void endProcess(QProcess* process) {
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
#ifndef Q_OS_WIN
        // The whole session: the script and the compiler it started.
        if (process->processId() > 0)
            ::kill(-pid_t(process->processId()), SIGKILL);
#else
        endJob(process);
#endif
        process->kill();
        process->waitForFinished(2000);
    }
    delete process;
}

QString terminalEmulator() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return {};
#else
    QStringList candidates;
    const QString own = qEnvironmentVariable("TERMINAL");
    if (!own.isEmpty())
        candidates << own;
    candidates << QStringLiteral("x-terminal-emulator") << QStringLiteral("gnome-terminal")
               << QStringLiteral("konsole") << QStringLiteral("xfce4-terminal")
               << QStringLiteral("mate-terminal") << QStringLiteral("lxterminal")
               << QStringLiteral("terminator") << QStringLiteral("alacritty") << QStringLiteral("kitty")
               << QStringLiteral("urxvt") << QStringLiteral("xterm");
    for (const QString& c : candidates) {
        const QString found =
            QFileInfo(c).isAbsolute() && QFileInfo(c).isExecutable() ? c : QStandardPaths::findExecutable(c);
        if (!found.isEmpty())
            return found;
    }
    return {};
#endif
}

QStringList terminalArguments(const QString& terminal, const QStringList& command) {
    const QString name = QFileInfo(terminal).fileName();
    // These take the command after "--"; the others after -e, as separate words.
    if (name == QLatin1String("gnome-terminal") || name == QLatin1String("mate-terminal") ||
        name == QLatin1String("kitty"))
        return QStringList{QStringLiteral("--")} + command;
    if (name == QLatin1String("xfce4-terminal") || name == QLatin1String("terminator"))
        return QStringList{QStringLiteral("-x")} + command;
    return QStringList{QStringLiteral("-e")} + command;
}

QString systemInfoTool() {
#ifdef Q_OS_WIN
    auto readKey = [](const wchar_t* key, const wchar_t* value) -> QString {
        HKEY h = nullptr;
        // Read access only: asking for full access fails for ordinary users.
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS)
            return {};
        wchar_t buffer[1024] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        DWORD type = 0;
        const LONG rc = RegQueryValueExW(h, value, nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &size);
        RegCloseKey(h);
        if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
            return {};
        return QString::fromWCharArray(buffer);
    };
    QString path = readKey(L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH");
    if (!path.isEmpty())
        return path;
    const QString folder = readKey(L"SOFTWARE\\Microsoft\\Shared Tools Location", L"MSINFO");
    if (!folder.isEmpty() && QFileInfo::exists(folder + QStringLiteral("\\MSINFO32.EXE")))
        return folder + QStringLiteral("\\MSINFO32.EXE");
    return {};
#elif defined(Q_OS_MACOS)
    const QString app = QStringLiteral("/System/Applications/Utilities/System Information.app");
    return QFileInfo::exists(app) ? app : QString();
#else
    for (const char* tool : {"hardinfo", "kinfocenter", "gnome-system-monitor"}) {
        const QString found = QStandardPaths::findExecutable(QString::fromLatin1(tool));
        if (!found.isEmpty())
            return found;
    }
    return {};
#endif
}

namespace {

#ifdef PINWRIGHT_ASK_X11_CLIPBOARD
// True when no X client owns the CLIPBOARD selection, so that it holds nothing. Qt answers hasText()
// by listing the owner's formats, and listing them loads every image format plugin to match image
// types against them, even when there is no owner; the owner is one question to the server.
bool x11ClipboardUnowned() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    static xcb_connection_t* atomOf = nullptr;
    static xcb_atom_t clipboard = XCB_ATOM_NONE;
    if (atomOf != connection) {
        static constexpr char name[] = "CLIPBOARD";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        if (!atom)
            return false;
        atomOf = connection;
        clipboard = atom->atom;
        std::free(atom);
    }
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, clipboard), nullptr);
    if (!owner)
        return false;
    const bool none = owner->owner == XCB_WINDOW_NONE;
    std::free(owner);
    return none;
}
#endif

} // namespace

bool clipboardHoldsText() {
#ifdef PINWRIGHT_ASK_X11_CLIPBOARD
    if (x11ClipboardUnowned())
        return false;
#endif
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

} // namespace shell
