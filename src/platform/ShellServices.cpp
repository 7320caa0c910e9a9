#include "platform/ShellServices.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
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

bool startDetached(const QString& program, const QStringList& arguments, const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
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

} // namespace shell
