#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <QStringList>
#include <array>
#include <functional>

// The rules behind the document set, the recent-file list and the window list, as plain data.
namespace docrules {

// The file filter of the source-file dialogs.
inline const QString SourceFilter =
    QStringLiteral("PicBasic Pro Source Code (*.pbp)|*.pbp|PicBasic Source Code (*.pbc)|*.pbc|"
                   "Basic Source Code (*.bas)|*.bas|All Files (*.*)|*.*|");

// The Open dialog's filter: every PicBasic file at once first, then the source filter's own entries.
inline const QString OpenFilter =
    QStringLiteral("PicBasic Files (*.pbp *.pbc *.bas)|*.pbp;*.pbc;*.bas|") + SourceFilter;

// True when the file at `path` exists and cannot be written (its permissions, a read-only disk); a
// new document's missing file is not read-only.
bool cannotWrite(const QString& path);

// The whole command line as one source path: arguments joined by single blanks; a text wrapped in
// one pair of double quotes (how a file manager hands over a path with blanks) loses them.
QString commandLinePath(const QStringList& arguments);

// True when two paths name the same file: links and relative parts resolved, letter case ignored only
// where the file system ignores it (Windows, and macOS volumes that are not case-sensitive). A path
// that does not exist yet is compared by its folder's resolved path and its own name.
bool sameFile(const QString& a, const QString& b);

// The local files among dropped addresses, in order (folders and remote addresses left out).
QStringList droppedFiles(const QList<QUrl>& urls);

// The four recent-file entries of the File menu.
struct RecentEntry {
    QString caption;
    bool visible = false;
};
using RecentList = std::array<RecentEntry, 4>;

// Open pushes a path onto the list: each used entry moves down one place with its number renewed,
// the oldest falls off, and entry 1 becomes "&1 " followed by the path.
void pushRecent(RecentList& list, const QString& path);
// The path of a recent entry: its caption from the fourth character on.
QString recentPath(const QString& caption);

// The number of a new window entry: the lowest number from 1 that no entry among the Window menu's
// tool ids ("&N. caption") uses, so that each entry's number key stays unique after closures.
int windowEntryNumber(const QStringList& menuIds);
QString windowEntryId(int number, const QString& caption);
// The caption a window entry stands for: the id after "&", the number, ". ", trimmed.
QString windowEntryCaption(const QString& id);

// The first untitled name not contained (ignoring case) in any of the captions:
// folder + separator + "Untitled" + N + ".pbp", N from 1.
QString untitledPath(const QString& sourceFolder, const QStringList& captions);

// The next and previous marked line from the caret line, wrapping, never the caret line itself;
// -1 when no other line is marked.
int nextMarkedLine(int caretLine, int numLines, const std::function<bool(int)>& marked);
int previousMarkedLine(int caretLine, int numLines, const std::function<bool(int)>& marked);

// Window placement: twips from pixels and back at a logical DPI.
double pixelsToTwips(int pixels, double dpi);
int twipsToPixels(double twips, double dpi);

} // namespace docrules
