#pragma once

#include "platform/AppError.h"
#include "platform/sourceview/LineData.h"
#include "platform/sourceview/LineStore.h"
#include "platform/sourceview/SourceLexer.h"
#include "platform/sourceview/TextFileFormat.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

// The text of one source file, its language settings and keyword lists, and the per-line data.
// Lines and columns count from 0. Out-of-range lines read as empty and ignore writes.
//
// Files: the format (TextFileFormat) is detected on load and kept, with each line's own break, so a file
// opened and saved unchanged is byte-identical and an edit changes only the edited bytes. The encoding
// changes only when asked (setEncoding, or loading with a chosen one): a text that gains a character its
// encoding cannot hold is not saved until the caller has chosen another.
class SourceDocument : public QObject {
    Q_OBJECT
public:
    explicit SourceDocument(QObject* parent = nullptr);
    ~SourceDocument() override;

    // A missing path gives an empty document that keeps the path and error 53; one that exists but
    // cannot be read (no permission, a folder, a device) gives error 75. A non-empty `encoding` reads the
    // file in that encoding instead of the detected one.
    bool LoadFile(const QString& path, AppError* err = nullptr, const QString& encoding = QString());
    // Writes a temporary file beside the target and renames it over the old one. On failure the old
    // file is intact, the text stays and the error is 75 (access), 76 (folder missing), 61 (disk full)
    // or Unencodable (a character the encoding cannot hold: see unencodable()).
    bool SaveFile(const QString& path, AppError* err = nullptr);
    static constexpr int Unencodable = 5;
    QString PathName() const { return pathName_; }
    // The bytes saving would write now, and (in `encoding`) their encoding: UTF-8 when the text holds a
    // character the document's encoding cannot.
    QByteArray fileBytes(QString* encoding = nullptr) const;
    // Replaces the text by bytes that fileBytes() gave, read in the encoding they were written in, as
    // unsaved changes: the path and the file on disk stay as they are.
    void restoreBytes(const QByteArray& bytes, const QString& encoding);

    // The file on disk against what was last loaded or saved: another program may change or remove it.
    enum class DiskState { Unchanged, Changed, Missing };
    DiskState diskState() const;
    // Takes the file as it now stands on disk as the known one (after the user has been told).
    void acceptDiskState();
    void SetPathName(const QString& path) { pathName_ = path; }
    // True once the document was loaded from its file or saved to it.
    bool onDisk() const { return diskStamp_.exists; }

    int NumLines() const { return store_.count(); }
    QString GetLine(int line) const { return store_.lineString(line); }
    // The text of a line without a copy where it can be; valid until the text next changes and until
    // `scratch` is next written (which holds it when the document keeps its text at a byte a character).
    QStringView lineText(int line, QString& scratch) const { return store_.line(line, scratch); }
    // Whether a line holds a TAB, without making its text.
    bool lineHasTab(int line) const { return store_.contains(line, u'\t'); }
    int GetLineLength(int line) const { return store_.length(line); }
    // The text between two positions, lines joined by LF.
    QString textBetween(TextPos from, TextPos to) const { return store_.text(from, to); }
    TextPos clamp(TextPos p) const { return store_.clamp(p); }
    TextPos endPos() const { return store_.end(); }
    // Slots 1..LineData::SlotCount; a slot never written reads 0.
    qint32 GetLineData(int line, int slot) const;
    void SetLineData(int line, int slot, qint32 value);

    // Whole-document passes over one data slot.
    // Every line in order: `visit` gets its number, text and slot value and returns the new value.
    void rewriteLineData(int slot,
                         const std::function<qint32(int line, const QString& text, qint32 value)>& visit);
    // The texts (and numbers) of the lines whose slot holds `value`, in order.
    QStringList linesWhere(int slot, qint32 value, QList<int>* numbers = nullptr) const;
    // The lines where any of the slots holds a value other than 0, in order, with their data.
    struct MarkedLine {
        int line = 0;
        QString text;
        LineData::Marks marks;
        qint32 slot(int n) const {
            return n >= 1 && n <= LineData::SlotCount ? marks.values[size_t(n - 1)] : 0;
        }
    };
    QList<MarkedLine> linesMarked(std::initializer_list<int> slotNumbers) const;
    // The nearest line at or above `fromLine` whose slot holds `value`; -1 when none.
    int previousLineWhere(int slot, qint32 value, int fromLine) const;

    bool Modified() const { return done_ != cleanStep_; }
    void SetModified(bool modified);
    bool CanUndo() const { return done_ > 0; }
    bool CanRedo() const { return done_ < int(steps_.size()); }
    void Undo() { undoRedo(true); }
    void Redo() { undoRedo(false); }
    // Undoes or redoes one step; returns where its last change ends, for a view's caret (the caret's
    // own place when there was nothing to do is not known here: then {-1, -1}).
    TextPos undoRedo(bool undo);

    int NumBookmarks() const;
    bool HasBookmark(int line) const;
    void SetBookmark(int line, bool on);
    void ClearBookmarks();
    // The next (or previous) bookmarked line after (before) `fromLine`, wrapping around; -1 when none.
    int NextBookmark(int fromLine, bool forward) const;

    // Replaces the text between two positions (clamped, in either order) by `text` (line breaks LF, CR LF
    // or CR) and returns where the new text ends. Typing a character after the one typed before joins
    // its undo step.
    TextPos replace(TextPos from, TextPos to, const QString& text);
    // Searches from `from`, forward for a match starting there or after it, backward for one starting
    // before it, without wrapping. Whole words are bounded by anything but letters, digits and "_".
    bool find(const QString& what, TextPos from, bool matchCase, bool wholeWord, bool forward, TextPos& start,
              TextPos& end) const;

    // Replaces the range by `text` in one undo step. Positions are clamped into the document.
    void InsertOverwrite(int col1, int line1, int col2, int line2, const QString& text);
    // Raw insert and delete; the extra flags of the classic call are accepted and ignored.
    void InsertImpl(int col, int line, const QString& text, int flags1 = 0, int flags2 = 0, int flags3 = 0);
    void DeleteImpl(int col1, int line1, int col2, int line2);
    // Edits between these two calls undo as one step, and linesChanged comes once, at the end.
    void BeginUndoGroup();
    void EndUndoGroup();
    // Asks every view to repaint lines line1..line2 (flags and columns are accepted and ignored).
    void UpdateViews(int flags, int col1, int line1, int col2, int line2);

    // Language settings (see LexerConfig) and the six keyword lists (list n colours as class 10 + n).
    void SetSLCommentStart(const QString& s);
    void SetSLCommentStart2(const QString& s);
    void SetStringDelimiter(const QString& s);
    // A third comment starter, for dialects that have one more.
    void SetSLCommentStart3(const QString& s);
    QString SLCommentStart() const { return config_.commentStart; }
    QString SLCommentStart2() const { return config_.commentStart2; }
    QString SLCommentStart3() const { return config_.commentStart3; }
    QString StringDelimiter() const { return config_.stringDelimiter; }
    const LexerConfig& lexerConfig() const { return config_; }
    // Stored for the callers that pass them; they do not change the lexer.
    void SetLanguageFlags(int flags) { languageFlags_ = flags; }
    int LanguageFlags() const { return languageFlags_; }
    void SetDocumentSetting(int value) { documentSetting_ = value; }
    int DocumentSetting() const { return documentSetting_; }
    void ClearKeywords();
    void AddKeyword(int list, const QString& word);

    const TextFileFormat& format() const { return format_; }
    QString encodingName() const { return format_.encoding; }
    bool usesCrlf() const { return format_.newLines == LineEnding::CRLF; }
    bool hasBom() const { return format_.bom; }
    LineEnding lineEnding(int line) const { return store_.ending(line); }
    // The encoding the next save writes (a name textenc::canonicalName() knows; others are ignored).
    void setEncoding(const QString& encoding);
    // The encoding files that are not UTF-8 are read in.
    void setEightBitEncoding(const QString& encoding) { eightBit_ = encoding; }
    QString eightBitEncoding() const { return eightBit_; }
    // The first character an encoding (the document's, unless named) cannot hold; {-1, -1} when it holds
    // them all.
    TextPos unencodable(const QString& encoding = {}) const;

    // The tokens of a line, lexed on first use and cached in the line's data until its text or the
    // language settings change.
    const QList<SourceToken>& tokens(int line) const;
    QList<SourceToken> tokensOfLine(int line) const { return tokens(line); }
    // The tokens a text would have as a line of this document, without touching any cache.
    QList<SourceToken> lexText(const QString& text) const;
    // Increases whenever the text or any line's data changes.
    quint64 revision() const { return revision_; }
    // The lines whose text or data changed since the last markChanges(), as long as no line was added
    // or removed meanwhile (line numbers still hold); false when that is not known. first > last: none.
    bool changedLines(int& first, int& last) const;
    void markChanges();

    // Called by the line store when a line's data goes away with cached tokens.
    void lineDataDropped(LineData& data);
    // At most this many lines keep their tokens cached.
    static constexpr int TokenCacheLines = 8192;

signals:
    void linesChanged();
    void modificationChanged(bool modified);
    void keywordsChanged();
    // A bookmark was set or cleared.
    void bookmarksChanged();
    // Lines line1..line2 must be repainted.
    void repaintRequested(int line1, int line2);
    // The text from `from` to `oldEnd`, `removed`, was replaced by the text from `from` to `newEnd`
    // (positions after the edit: those after oldEnd moved with it).
    void textReplaced(TextPos from, TextPos oldEnd, TextPos newEnd, const QString& removed);
    // The whole text was replaced (a file loaded): positions from before mean nothing any more.
    void contentsReset();

private:
    void languageChanged();
    void setContent(QString text);
    // What follows a new content: undo forgotten, the views told.
    void contentReplaced();
    void setBytes(QByteArray bytes, const QString& encoding);

    struct DiskStamp {
        bool exists = false;
        QDateTime modified;
        qint64 size = -1;
        bool operator==(const DiskStamp&) const = default;
        static DiskStamp of(const QString& path);
    };

    // One edit as the undo history keeps it, with the marks of the lines each direction removed.
    struct Change {
        TextPos from;
        QString removed;
        QString inserted;
        QList<std::pair<int, LineData::Marks>> goneForward;
        QList<std::pair<int, LineData::Marks>> goneBack;
    };
    using Step = std::vector<Change>;
    TextPos apply(TextPos from, TextPos to, const QString& text, QList<std::pair<int, LineData::Marks>>* gone,
                  QString* removed = nullptr, bool keepBreaks = false);
    void restoreMarks(int line, const QList<std::pair<int, LineData::Marks>>& marks);
    void record(Change change);
    void announce();
    bool announcePending_ = false;
    void setDone(int done, int cleanStep);

    mutable LineStore store_;
    std::vector<Step> steps_;
    int done_ = 0;      // steps applied; those after it can be redone
    int cleanStep_ = 0; // the value of done_ that matches the file; -1 when none does
    int groupDepth_ = 0;
    bool groupOpen_ = false; // the group has its step on the history
    bool typing_ = false;    // the last step is typing that the next character may join
    QString pathName_;
    DiskStamp diskStamp_;
    LexerConfig config_;
    KeywordTable keywords_;
    quint32 lexStamp_ = 1;
    quint64 revision_ = 1;
    void touch(int first, int last);
    int spanFirst_ = 0;
    int spanLast_ = -1;
    bool spanKnown_ = false;
    int spanLineCount_ = 0;
    int languageFlags_ = 0;
    int documentSetting_ = 0;
    TextFileFormat format_;
    QString eightBit_;
    static inline const QList<SourceToken> noTokens_{};
    void lruUnlink(LineTokens& t) const;
    void lruPushFront(LineTokens& t) const;
    mutable LineTokens* lruHead_ = nullptr;
    mutable LineTokens* lruTail_ = nullptr;
    mutable int lruCount_ = 0;
};
