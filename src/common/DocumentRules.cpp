#include "common/DocumentRules.h"

#include "platform/AppPaths.h"
#include "platform/TextHelpers.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cmath>
#if defined(Q_OS_MACOS)
#include <unistd.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace docrules {

namespace {

// An existing path with each short (8.3) name in it made long ("/" separators); `path` when that fails.
QString longName(const QString& path) {
#if defined(Q_OS_WIN)
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    const DWORD needed = GetLongPathNameW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return path;
    std::wstring buffer(needed, L'\0');
    const DWORD written = GetLongPathNameW(wide.c_str(), buffer.data(), needed);
    if (written == 0 || written >= needed)
        return path;
    buffer.resize(written);
    return QDir::fromNativeSeparators(QString::fromStdWString(buffer));
#else
    return path;
#endif
}

QString resolvedPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return longName(canonical);
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QDir::cleanPath(info.absoluteFilePath())
                            : longName(folder) + u'/' + info.fileName();
}

bool fileSystemIgnoresCase([[maybe_unused]] const QString& resolved) {
#if defined(Q_OS_WIN)
    return true;
#elif defined(Q_OS_MACOS)
    const QString folder = QFileInfo(resolved).absolutePath();
    return pathconf(QFile::encodeName(folder).constData(), _PC_CASE_SENSITIVE) == 0;
#else
    return false;
#endif
}

} // namespace

bool sameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return a == b;
    const QString ra = resolvedPath(a);
    const QString rb = resolvedPath(b);
    return ra.compare(rb, fileSystemIgnoresCase(ra) ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

QString commandLinePath(const QStringList& arguments) {
    QString s = arguments.join(QLatin1Char(' '));
    if (s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"') && s.count(u'"') == 2)
        s = s.mid(1, s.size() - 2);
    return s;
}

QStringList droppedFiles(const QList<QUrl>& urls) {
    QStringList out;
    for (const QUrl& url : urls)
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir())
            out << QDir::toNativeSeparators(url.toLocalFile());
    return out;
}

void pushRecent(RecentList& list, const QString& path) {
    for (int n = 4; n >= 2; --n) {
        const RecentEntry& older = list[n - 2];
        if (older.visible) {
            list[n - 1].caption = QLatin1Char('&') + QString::number(n) + older.caption.mid(2);
            list[n - 1].visible = true;
        }
    }
    list[0].visible = true;
    list[0].caption = QStringLiteral("&1 ") + path;
}

QString recentPath(const QString& caption) {
    return caption.mid(3);
}

int windowEntryNumber(const QStringList& menuIds) {
    QSet<int> used;
    for (const QString& id : menuIds) {
        if (!id.startsWith(QLatin1Char('&')))
            continue;
        const int dot = int(id.indexOf(QStringLiteral(". ")));
        bool ok = false;
        const int n = dot > 1 ? id.mid(1, dot - 1).toInt(&ok) : 0;
        if (ok)
            used.insert(n);
    }
    int number = 1;
    while (used.contains(number))
        ++number;
    return number;
}

QString windowEntryId(int number, const QString& caption) {
    return QLatin1Char('&') + QString::number(number) + QStringLiteral(". ") + caption;
}

QString windowEntryCaption(const QString& id) {
    const int dot = int(id.indexOf(QStringLiteral(". ")));
    return text::Trim(dot < 0 ? id : id.mid(dot + 2));
}

QString untitledPath(const QString& sourceFolder, const QStringList& captions) {
    for (int n = 1;; ++n) {
        const QString candidate = AppPaths::join(sourceFolder, QStringLiteral("Untitled%1.pbp").arg(n));
        bool taken = false;
        for (const QString& c : captions)
            if (c.contains(candidate, Qt::CaseInsensitive)) {
                taken = true;
                break;
            }
        if (!taken)
            return candidate;
    }
}

int nextMarkedLine(int caretLine, int numLines, const std::function<bool(int)>& marked) {
    for (int i = caretLine + 1; i < numLines; ++i)
        if (marked(i))
            return i;
    for (int i = 0; i < caretLine && i < numLines; ++i)
        if (marked(i))
            return i;
    return -1;
}

int previousMarkedLine(int caretLine, int numLines, const std::function<bool(int)>& marked) {
    for (int i = std::min(caretLine, numLines) - 1; i >= 0; --i)
        if (marked(i))
            return i;
    for (int i = numLines - 1; i > caretLine; --i)
        if (marked(i))
            return i;
    return -1;
}

double pixelsToTwips(int pixels, double dpi) {
    return double(pixels) * 1440.0 / dpi;
}

int twipsToPixels(double twips, double dpi) {
    return int(std::lround(twips * dpi / 1440.0));
}

bool cannotWrite(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && !info.isWritable();
}

} // namespace docrules
