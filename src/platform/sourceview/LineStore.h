#pragma once

#include "platform/sourceview/LineData.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <vector>

class SourceDocument;

// A position in the text: a line and a column (UTF-16 units), both from 0.
struct TextPos {
    int line = 0;
    int col = 0;
    friend auto operator<=>(const TextPos& a, const TextPos& b) = default;
};

// The text of a document as lines, and each line's data.
//
// All text lives in one buffer; a line is a span of it. An edited line is written again at the end of
// the buffer (in place when it is already the last thing written, as while typing), and the buffer is
// packed when more than half of it is stale. A line costs 16 bytes besides its characters, where a
// text document spends a block and two fragment records on it.
//
// Line data belongs to the store: it goes when its line goes, and an edit hands it to the line that
// carries the old line's text on (see replace()).
class LineStore {
public:
    LineStore();
    ~LineStore();
    LineStore(const LineStore&) = delete;
    LineStore& operator=(const LineStore&) = delete;

    int count() const { return int(lines_.size()); }
    // The text of a line without its line break; empty out of range. Valid until the next change.
    QStringView line(int i) const;
    int length(int i) const { return i >= 0 && i < count() ? int(lines_[size_t(i)].len) : 0; }
    LineData* data(int i) const { return i >= 0 && i < count() ? lines_[size_t(i)].data : nullptr; }
    // The data of a line, created on first use; nullptr out of range.
    LineData* ensureData(int i, SourceDocument* owner);

    // Takes `text` as the whole content, broken into lines at CR LF, LF and lone CR; all data goes.
    void assign(QString text);
    // The text between two positions, lines joined by `separator`.
    QString text(TextPos from, TextPos to, QStringView separator = u"\n") const;
    // The whole text, lines joined by `separator`.
    QString joined(QStringView separator) const { return text({}, end(), separator); }

    TextPos end() const { return {count() - 1, length(count() - 1)}; }
    // Clamps into the text: a line before the first is the first, one after the last is the end.
    TextPos clamp(TextPos p) const;

    struct Edit {
        TextPos from;
        TextPos oldEnd;
        TextPos newEnd;
        QString removed;
        // The marks of the lines that went, by their index from `from.line`.
        QList<std::pair<int, LineData::Marks>> dropped;
    };
    // Replaces the text between two positions (clamped, in either order) by `text`, whose line breaks
    // may be LF, CR LF or CR. The data of the old first line stays on the first new line when the edit
    // starts inside it; an edit from the start of a line gives the data of its last old line to the
    // last new line, since that one carries the old text after the edit on. Other lines' data goes.
    Edit replace(TextPos a, TextPos b, const QString& text);

private:
    struct Line {
        quint32 off = 0;
        quint32 len = 0;
        LineData* data = nullptr;
    };
    Line put(QStringView text);
    void pack();

    QString buffer_;
    qsizetype stale_ = 0; // characters of the buffer no line uses
    std::vector<Line> lines_;
};
