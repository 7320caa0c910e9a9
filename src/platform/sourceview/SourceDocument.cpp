#include "platform/sourceview/SourceDocument.h"

#include "platform/TextEncoding.h"
#include "platform/sourceview/LineData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <limits>

namespace {

// Where `text` ends when it is put at `from` (line breaks CR LF, LF or CR).
TextPos endOf(TextPos from, const QString& text) {
    int breaks = 0;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r')
            continue;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        ++breaks;
        lineStart = i + 1;
    }
    if (breaks == 0)
        return {from.line, from.col + int(text.size())};
    return {from.line + breaks, int(text.size() - lineStart)};
}

using SourceLexer::isWordChar;

} // namespace

SourceDocument::SourceDocument(QObject* parent) : QObject(parent) {
    const QString system = textenc::systemEightBit();
    eightBit_ = system.isEmpty() ? QString::fromLatin1(textenc::DefaultEightBit) : system;
    store_.setNewLineEnding(format_.newLines);
}

SourceDocument::~SourceDocument() {
    while (lruHead_)
        lineDataDropped(*lruHead_->line);
}

void SourceDocument::lineDataDropped(LineData& data) {
    if (LineTokens* t = std::exchange(data.tokens, nullptr)) {
        lruUnlink(*t);
        delete t;
    }
}

void SourceDocument::lruUnlink(LineTokens& t) const {
    (t.prev ? t.prev->next : lruHead_) = t.next;
    (t.next ? t.next->prev : lruTail_) = t.prev;
    t.prev = t.next = nullptr;
    --lruCount_;
}

void SourceDocument::lruPushFront(LineTokens& t) const {
    t.prev = nullptr;
    t.next = lruHead_;
    (lruHead_ ? lruHead_->prev : lruTail_) = &t;
    lruHead_ = &t;
    ++lruCount_;
}

void SourceDocument::setContent(QString text) {
    store_.assign(std::move(text));
    contentReplaced();
}

void SourceDocument::contentReplaced() {
    store_.setNewLineEnding(format_.newLines);
    steps_.clear();
    typing_ = false;
    groupOpen_ = false;
    ++revision_;
    spanKnown_ = false;
    setDone(0, 0);
    emit contentsReset();
    emit linesChanged();
}

bool SourceDocument::LoadFile(const QString& path, AppError* err, const QString& encoding) {
    pathName_ = path;
    format_ = TextFileFormat();
    const QFileInfo info(path);
    if (!info.exists()) {
        setContent(QString());
        if (err)
            *err = AppError::fileNotFound().about(path);
        return false;
    }
    QFile file(path);
    // A folder, a device or a pipe is no source file (reading a device may never end).
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        setContent(QString());
        if (err)
            *err = AppError::accessError().about(path);
        return false;
    }
    QByteArray bytes = file.readAll();
    file.close();
    setBytes(std::move(bytes), encoding);
    diskStamp_ = DiskStamp::of(path);
    if (err)
        *err = AppError::none();
    return true;
}

void SourceDocument::setBytes(QByteArray bytes, const QString& encoding) {
    format_ = TextFileFormat::detect(bytes, eightBit_, encoding);
    // Every encoding a source is read in (UTF-8 and the 8-bit ones) reads ASCII bytes as themselves:
    // then the bytes are the text, with no wide copy made on the way.
    if (QtPrivate::isAscii(QLatin1StringView(bytes))) {
        store_.assignLatin1(std::move(bytes));
        contentReplaced();
        return;
    }
    QString text = format_.decode(bytes);
    bytes.clear(); // the text is all that is needed from here on, and big files are big
    setContent(std::move(text));
}

void SourceDocument::setEncoding(const QString& encoding) {
    const QString name = textenc::canonicalName(encoding);
    if (name.isEmpty())
        return;
    if (name != format_.encoding)
        format_.bom = false;
    format_.encoding = name;
}

TextPos SourceDocument::unencodable(const QString& encoding) const {
    const QString& in = encoding.isEmpty() ? format_.encoding : encoding;
    QString scratch;
    for (int line = 0; line < store_.count(); ++line)
        if (const qsizetype col = textenc::firstUnencodable(in, store_.line(line, scratch)); col >= 0)
            return {line, int(col)};
    return {-1, -1};
}

QByteArray SourceDocument::fileBytes(QString* encoding) const {
    QByteArray bytes;
    TextFileFormat format = format_;
    const QString text = store_.exactText({}, store_.end());
    if (!format.encode(text, bytes)) {
        format.encoding = QString::fromLatin1(textenc::Utf8);
        format.encode(text, bytes);
    }
    if (encoding)
        *encoding = format.encoding;
    return bytes;
}

void SourceDocument::restoreBytes(const QByteArray& bytes, const QString& encoding) {
    // The text a program lost comes back as unsaved changes to the file, which stays as it is.
    setBytes(bytes, encoding);
    SetModified(true);
}

bool SourceDocument::SaveFile(const QString& path, AppError* err) {
    auto fail = [err](const AppError& e) {
        if (err)
            *err = e;
        return false;
    };
    QByteArray bytes;
    if (!format_.encode(store_.exactText({}, store_.end()), bytes))
        return fail(
            {Unencodable,
             QStringLiteral("The text holds characters that %1 cannot store.").arg(format_.encoding)});

    const QFileInfo info(path);
    if (path.isEmpty() || !info.absoluteDir().exists())
        return fail(AppError::pathNotFound().about(path));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        // A full disk is told apart: the user can make room and save again. The write error itself
        // does not say it on every system, the free space does.
        const QStorageInfo disk(info.absolutePath());
        const bool full = disk.isValid() && !disk.isReadOnly() && disk.bytesAvailable() < bytes.size() + 4096;
        return fail((full ? AppError::fromNumber(AppError::DiskFull) : AppError::accessError()).about(path));
    }

    pathName_ = path;
    diskStamp_ = DiskStamp::of(path);
    SetModified(false);
    if (err)
        *err = AppError::none();
    return true;
}

SourceDocument::DiskStamp SourceDocument::DiskStamp::of(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {true, info.lastModified(), info.size()};
}

SourceDocument::DiskState SourceDocument::diskState() const {
    if (!diskStamp_.exists)
        return DiskState::Unchanged; // never on disk: nothing to compare with
    const DiskStamp now = DiskStamp::of(pathName_);
    if (!now.exists)
        return DiskState::Missing;
    return now == diskStamp_ ? DiskState::Unchanged : DiskState::Changed;
}

void SourceDocument::acceptDiskState() {
    diskStamp_ = DiskStamp::of(pathName_);
}

qint32 SourceDocument::GetLineData(int line, int slot) const {
    const LineData* d = store_.data(line);
    return d ? d->slot(slot) : 0;
}

void SourceDocument::SetLineData(int line, int slot, qint32 value) {
    if (slot < 1 || slot > LineData::SlotCount || line < 0 || line >= NumLines())
        return;
    if (value == 0 && !store_.data(line))
        return;
    LineData* d = store_.ensureData(line, this);
    if (d->slot(slot) != value) {
        d->setSlot(slot, value);
        ++revision_;
        touch(line, line);
    }
}

void SourceDocument::rewriteLineData(
    int slot, const std::function<qint32(int line, const QString& text, qint32 value)>& visit) {
    if (slot < 1 || slot > LineData::SlotCount)
        return;
    for (int line = 0; line < NumLines(); ++line) {
        const LineData* d = store_.data(line);
        const qint32 old = d ? d->slot(slot) : 0;
        const qint32 value = visit(line, GetLine(line), old);
        if (value != old) {
            store_.ensureData(line, this)->setSlot(slot, value);
            ++revision_;
            touch(line, line);
        }
    }
}

QStringList SourceDocument::linesWhere(int slot, qint32 value, QList<int>* numbers) const {
    QStringList texts;
    for (int line = 0; line < NumLines(); ++line) {
        const LineData* d = store_.data(line);
        if ((d ? d->slot(slot) : 0) != value)
            continue;
        texts.append(GetLine(line));
        if (numbers)
            numbers->append(line);
    }
    return texts;
}

QList<SourceDocument::MarkedLine> SourceDocument::linesMarked(std::initializer_list<int> slotNumbers) const {
    QList<MarkedLine> out;
    for (int line = 0; line < NumLines(); ++line) {
        const LineData* d = store_.data(line);
        if (!d)
            continue;
        for (const int slot : slotNumbers)
            if (d->slot(slot) != 0) {
                out.append({line, GetLine(line), d->marks()});
                break;
            }
    }
    return out;
}

int SourceDocument::previousLineWhere(int slot, qint32 value, int fromLine) const {
    if (fromLine < 0)
        return -1;
    for (int line = qMin(fromLine, NumLines() - 1); line >= 0; --line) {
        const LineData* d = store_.data(line);
        if ((d ? d->slot(slot) : 0) == value)
            return line;
    }
    return -1;
}

void SourceDocument::setDone(int done, int cleanStep) {
    const bool was = Modified();
    done_ = done;
    cleanStep_ = cleanStep;
    if (Modified() != was)
        emit modificationChanged(Modified());
}

void SourceDocument::SetModified(bool modified) {
    typing_ = false;
    if (!modified)
        setDone(done_, done_);
    else if (!Modified())
        setDone(done_, -1);
}

TextPos SourceDocument::apply(TextPos from, TextPos to, const QString& text,
                              QList<std::pair<int, LineData::Marks>>* gone, QString* removed,
                              bool keepBreaks) {
    const int linesBefore = NumLines();
    LineStore::Edit e = store_.replace(from, to, text, keepBreaks);
    if (gone)
        *gone = std::move(e.dropped);
    if (removed)
        *removed = e.removed;
    ++revision_;
    if (!spanKnown_ || NumLines() != spanLineCount_ || NumLines() != linesBefore)
        spanKnown_ = false;
    else
        touch(e.from.line, e.newEnd.line);
    emit textReplaced(e.from, e.oldEnd, e.newEnd, e.removed);
    return e.newEnd;
}

void SourceDocument::announce() {
    // Listeners read the undo state when told, so the history is up to date before this; a group
    // tells once, at its end.
    if (groupDepth_ > 0)
        announcePending_ = true;
    else
        emit linesChanged();
}

void SourceDocument::restoreMarks(int line, const QList<std::pair<int, LineData::Marks>>& marks) {
    for (const auto& [offset, m] : marks)
        if (LineData* d = store_.ensureData(line + offset, this))
            d->setMarks(m);
    if (!marks.isEmpty())
        emit repaintRequested(line, line + marks.last().first);
}

TextPos SourceDocument::replace(TextPos from, TextPos to, const QString& text) {
    from = store_.clamp(from);
    to = store_.clamp(to);
    if (to < from)
        std::swap(from, to);
    if (from == to && text.isEmpty())
        return from;
    Change change;
    change.from = from;
    const TextPos end = apply(from, to, text, &change.goneForward, &change.removed);
    change.inserted = store_.exactText(from, end);
    record(std::move(change));
    announce();
    return end;
}

void SourceDocument::record(Change change) {
    const bool wasModified = Modified();
    // Whatever was undone is gone for good now.
    if (done_ < int(steps_.size())) {
        steps_.resize(size_t(done_));
        if (cleanStep_ > done_)
            cleanStep_ = -1;
    }
    const bool oneChar = change.removed.isEmpty() && change.inserted.size() == 1 &&
                         change.inserted != u"\n" && change.inserted != u"\r";
    if (groupDepth_ > 0 && groupOpen_) {
        steps_.back().push_back(std::move(change));
    } else if (groupDepth_ == 0 && oneChar && typing_ && done_ > 0 && cleanStep_ != done_ &&
               steps_.back().size() == 1 && steps_.back().front().from.line == change.from.line &&
               steps_.back().front().from.col + steps_.back().front().inserted.size() == change.from.col) {
        steps_.back().front().inserted += change.inserted;
    } else {
        steps_.push_back(Step{});
        steps_.back().push_back(std::move(change));
        groupOpen_ = groupDepth_ > 0;
        ++done_;
    }
    typing_ = groupDepth_ == 0 && oneChar;
    if (Modified() != wasModified)
        emit modificationChanged(Modified());
}

TextPos SourceDocument::undoRedo(bool undo) {
    typing_ = false;
    if (undo ? !CanUndo() : !CanRedo())
        return {-1, -1};
    Step& step = steps_[size_t(undo ? done_ - 1 : done_)];
    TextPos caret;
    if (undo) {
        for (auto c = step.rbegin(); c != step.rend(); ++c) {
            caret = apply(c->from, endOf(c->from, c->inserted), c->removed, &c->goneBack, nullptr, true);
            restoreMarks(c->from.line, c->goneForward);
        }
    } else {
        for (Change& c : step) {
            caret = apply(c.from, endOf(c.from, c.removed), c.inserted, &c.goneForward, nullptr, true);
            restoreMarks(c.from.line, c.goneBack);
        }
    }
    setDone(done_ + (undo ? -1 : 1), cleanStep_);
    announce();
    return caret;
}

int SourceDocument::NumBookmarks() const {
    int count = 0;
    for (int line = 0; line < NumLines(); ++line)
        if (const LineData* d = store_.data(line); d && d->bookmark())
            ++count;
    return count;
}

bool SourceDocument::HasBookmark(int line) const {
    const LineData* d = store_.data(line);
    return d && d->bookmark();
}

void SourceDocument::SetBookmark(int line, bool on) {
    if (line < 0 || line >= NumLines() || (!on && !store_.data(line)))
        return;
    store_.ensureData(line, this)->setBookmark(on);
    emit repaintRequested(line, line);
    emit bookmarksChanged();
}

void SourceDocument::ClearBookmarks() {
    for (int line = 0; line < NumLines(); ++line)
        if (LineData* d = store_.data(line))
            d->setBookmark(false);
    emit repaintRequested(0, NumLines() - 1);
    emit bookmarksChanged();
}

int SourceDocument::NextBookmark(int fromLine, bool forward) const {
    const int n = NumLines();
    int line = qBound(0, fromLine, n - 1);
    for (int i = 0; i < n; ++i) {
        line = (line + (forward ? 1 : n - 1)) % n;
        if (HasBookmark(line))
            return line;
    }
    return -1;
}

bool SourceDocument::find(const QString& what, TextPos from, bool matchCase, bool wholeWord, bool forward,
                          TextPos& start, TextPos& end) const {
    if (what.isEmpty())
        return false;
    from = store_.clamp(from);
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const int n = int(what.size());
    auto whole = [&](QStringView text, qsizetype at) {
        return !wholeWord || ((at == 0 || !isWordChar(text[at - 1])) &&
                              (at + n >= text.size() || !isWordChar(text[at + n])));
    };
    QString scratch;
    for (int line = from.line; forward ? line < NumLines() : line >= 0; line += forward ? 1 : -1) {
        const QStringView text = store_.line(line, scratch);
        if (forward) {
            for (qsizetype at = line == from.line ? from.col : 0; (at = text.indexOf(what, at, cs)) >= 0;
                 ++at)
                if (whole(text, at)) {
                    start = {line, int(at)};
                    end = {line, int(at) + n};
                    return true;
                }
        } else {
            // A match must start before `from`; lastIndexOf takes the last start it may have.
            qsizetype at = line == from.line ? from.col - 1 : text.size() - 1;
            for (; at >= 0 && (at = text.lastIndexOf(what, at, cs)) >= 0; --at)
                if (whole(text, at)) {
                    start = {line, int(at)};
                    end = {line, int(at) + n};
                    return true;
                }
        }
    }
    return false;
}

void SourceDocument::InsertOverwrite(int col1, int line1, int col2, int line2, const QString& text) {
    replace({line1, col1}, {line2, col2}, text);
}

void SourceDocument::InsertImpl(int col, int line, const QString& text, int, int, int) {
    replace({line, col}, {line, col}, text);
}

void SourceDocument::DeleteImpl(int col1, int line1, int col2, int line2) {
    replace({line1, col1}, {line2, col2}, QString());
}

void SourceDocument::BeginUndoGroup() {
    if (groupDepth_++ == 0)
        groupOpen_ = false;
    typing_ = false;
}

void SourceDocument::EndUndoGroup() {
    if (groupDepth_ == 0 || --groupDepth_ > 0)
        return;
    groupOpen_ = false;
    if (std::exchange(announcePending_, false))
        emit linesChanged();
}

void SourceDocument::UpdateViews(int, int, int line1, int, int line2) {
    emit repaintRequested(qMin(line1, line2), qMax(line1, line2));
}

void SourceDocument::languageChanged() {
    ++lexStamp_;
    if (lexStamp_ == 0)
        lexStamp_ = 1;
    emit keywordsChanged();
}

void SourceDocument::SetSLCommentStart(const QString& s) {
    config_.commentStart = s;
    languageChanged();
}

void SourceDocument::SetSLCommentStart2(const QString& s) {
    config_.commentStart2 = s;
    languageChanged();
}

void SourceDocument::SetSLCommentStart3(const QString& s) {
    if (config_.commentStart3 == s)
        return;
    config_.commentStart3 = s;
    languageChanged();
}

void SourceDocument::SetStringDelimiter(const QString& s) {
    config_.stringDelimiter = s;
    languageChanged();
}

void SourceDocument::ClearKeywords() {
    keywords_.clear();
    languageChanged();
}

void SourceDocument::AddKeyword(int list, const QString& word) {
    keywords_.add(list, word);
    languageChanged();
}

const QList<SourceToken>& SourceDocument::tokens(int line) const {
    LineData* d = store_.ensureData(line, const_cast<SourceDocument*>(this));
    if (!d)
        return noTokens_;
    LineTokens* t = d->tokens;
    if (!t) {
        t = new LineTokens;
        t->line = d;
        d->tokens = t;
        lruPushFront(*t);
        if (lruCount_ > TokenCacheLines)
            const_cast<SourceDocument*>(this)->lineDataDropped(*lruTail_->line);
    } else if (t != lruHead_) {
        lruUnlink(*t);
        lruPushFront(*t);
    }
    if (t->stamp != lexStamp_) {
        t->tokens = SourceLexer::lex(GetLine(line), config_, keywords_);
        t->stamp = lexStamp_;
    }
    return t->tokens;
}

QList<SourceToken> SourceDocument::lexText(const QString& text) const {
    return SourceLexer::lex(text, config_, keywords_);
}

void SourceDocument::touch(int first, int last) {
    spanFirst_ = qMin(spanFirst_, first);
    spanLast_ = qMax(spanLast_, last);
}

bool SourceDocument::changedLines(int& first, int& last) const {
    if (!spanKnown_ || NumLines() != spanLineCount_)
        return false;
    first = spanFirst_;
    last = spanLast_;
    return true;
}

void SourceDocument::markChanges() {
    spanKnown_ = true;
    spanLineCount_ = NumLines();
    spanFirst_ = std::numeric_limits<int>::max();
    spanLast_ = -1;
}
