#pragma once

#include "platform/sourceview/LineData.h"

#include <QList>
#include <QString>
#include <QStringView>
#include <deque>
#include <vector>

class SourceDocument;

// How a line ends in its file. The last line has none; every other line has one of the three breaks.
enum class LineEnding : quint8 { None, LF, CRLF, CR };
// The characters of a line ending ("" for None).
QStringView lineEndingText(LineEnding e);

// A position in the text: a line and a column (UTF-16 units), both from 0.
struct TextPos {
    int line = 0;
    int col = 0;
    friend auto operator<=>(const TextPos& a, const TextPos& b) = default;
};

// The text of a document as lines, and each line's data.
//
// All text lives in one buffer, of bytes while every character fits in one; a line is a span of it. An edited line is written again at the end of
// the buffer (in place when it is already the last thing written, as while typing), and the buffer is
// packed when more than half of it is stale. A line costs 12 bytes besides its characters, where a
// text document spends a block and two fragment records on it.
//
// Line data belongs to the store: it goes when its line goes, and an edit hands it to the line that
// carries the old line's text on (see replace()). The records are kept in a pool, without a heap block
// each, and a record that went is used again for the next line that needs one.
class LineStore {
public:
    LineStore();
    ~LineStore();
    LineStore(const LineStore&) = delete;
    LineStore& operator=(const LineStore&) = delete;

    int count() const { return int(lines_.size()); }
    // The text of a line without its line break; empty out of range. Valid until the next change and,
    // for a line kept at a byte a character, until `scratch` is next written (it holds the characters).
    QStringView line(int i, QString& scratch) const;
    QString lineString(int i) const;
    // Whether a line holds the character c (below U+0100), looked for in the text as it is kept.
    bool contains(int i, char16_t c) const;
    int length(int i) const { return i >= 0 && i < count() ? int(lines_[size_t(i)].len) : 0; }
    LineData* data(int i) const { return i >= 0 && i < count() ? dataAt(lines_[size_t(i)].data) : nullptr; }
    // The data of a line, created on first use; nullptr out of range.
    LineData* ensureData(int i, SourceDocument* owner);

    // The break that ends a line, as it was read or as an edit gave it.
    LineEnding ending(int i) const {
        return i >= 0 && i < count() ? LineEnding(lines_[size_t(i)].ending) : LineEnding::None;
    }
    // The break that lines an edit adds get, unless the edit keeps its own (see replace()).
    LineEnding newLineEnding() const { return newEnding_; }
    void setNewLineEnding(LineEnding e) { newEnding_ = e == LineEnding::None ? LineEnding::LF : e; }

    // Takes `text` as the whole content, broken into lines at CR LF, LF and lone CR, each line keeping
    // the break it had; all data goes.
    void assign(QString text);
    // The same for a text whose bytes are its characters (Latin-1).
    void assignLatin1(QByteArray text);
    // The text between two positions, lines joined by `separator`.
    QString text(TextPos from, TextPos to, QStringView separator = u"\n") const;
    // The text between two positions with each line's own break.
    QString exactText(TextPos from, TextPos to) const;
    // The whole text, lines joined by `separator`.
    QString joined(QStringView separator) const { return text({}, end(), separator); }

    TextPos end() const { return {count() - 1, length(count() - 1)}; }
    // Clamps into the text: a line before the first is the first, one after the last is the end.
    TextPos clamp(TextPos p) const;

    struct Edit {
        TextPos from;
        TextPos oldEnd;
        TextPos newEnd;
        QString removed; // with each removed line's own break
        // The marks of the lines that went, by their index from `from.line`.
        QList<std::pair<int, LineData::Marks>> dropped;
    };
    // Replaces the text between two positions (clamped, in either order) by `text`, whose line breaks
    // may be LF, CR LF or CR. The lines the edit adds end with newLineEnding(), or with the breaks of
    // `text` as they are when `keepBreaks` is set (undo and redo put back what was there); the last
    // new line keeps the break of the old last line. The data of the old first line stays on the first new
    // line when the edit starts inside it; an edit from the start of a line gives the data of its last old
    // line to the last new line, since that one carries the old text after the edit on. Other lines' data
    // goes.
    Edit replace(TextPos a, TextPos b, const QString& text, bool keepBreaks = false);

private:
    struct Line {
        quint32 off = 0;
        quint32 len : 30 = 0;   // a line of a gigabyte or more is no source file
        quint32 ending : 2 = 0; // a LineEnding
        quint32 data = 0; // the line's record in the pool, counted from 1; 0 when it has none
    };
    Line put(QStringView text);
    void pack();
    template <typename Buffer, typename View> void cutLines(Buffer& buffer);
    // From a byte a character to two, for good: a character beyond Latin-1 came.
    void widen();
    qsizetype bufferSize() const { return wide_ ? buffer_.size() : narrow_.size(); }
    LineData* dataAt(quint32 n) const { return n ? const_cast<LineData*>(&pool_[n - 1]) : nullptr; }
    quint32 newData();
    // Gives a line's record back to the pool; its owner hears of it first (its tokens go).
    void dropData(quint32 n);
    void dropAllData();

    // The text: a byte a character while every character is Latin-1 (most sources are ASCII), else two.
    QByteArray narrow_;
    QString buffer_;
    bool wide_ = false;
    qsizetype stale_ = 0; // characters of the buffer no line uses
    std::vector<Line> lines_;
    std::deque<LineData> pool_;
    std::vector<quint32> free_;
    SourceDocument* owner_ = nullptr;
    LineEnding newEnding_ = LineEnding::LF;
};
