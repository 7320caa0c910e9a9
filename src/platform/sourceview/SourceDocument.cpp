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

const QByteArray kBom("\xEF\xBB\xBF");

QByteArray readAllBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Where `text` ends when it is put at `from`.
TextPos endOf(TextPos from, const QString& text) {
    const qsizetype lastBreak = text.lastIndexOf(u'\n');
    if (lastBreak < 0)
        return {from.line, from.col + int(text.size())};
    return {from.line + int(text.count(u'\n')), int(text.size() - lastBreak - 1)};
}

using SourceLexer::isWordChar;

} // namespace

SourceDocument::SourceDocument(QObject* parent) : QObject(parent) {}

SourceDocument::~SourceDocument() = default;

void SourceDocument::lineDataDropped(LineData& data) {
    lruUnlink(data);
}

void SourceDocument::lruUnlink(LineData& d) const {
    if (!d.inLru)
        return;
    (d.lruPrev ? d.lruPrev->lruNext : lruHead_) = d.lruNext;
    (d.lruNext ? d.lruNext->lruPrev : lruTail_) = d.lruPrev;
    d.lruPrev = d.lruNext = nullptr;
    d.inLru = false;
    --lruCount_;
}

void SourceDocument::lruPushFront(LineData& d) const {
    d.lruPrev = nullptr;
    d.lruNext = lruHead_;
    (lruHead_ ? lruHead_->lruPrev : lruTail_) = &d;
    lruHead_ = &d;
    d.inLru = true;
    ++lruCount_;
}

void SourceDocument::setContent(QString text) {
    store_.assign(std::move(text));
    steps_.clear();
    typing_ = false;
    groupOpen_ = false;
    ++revision_;
    spanKnown_ = false;
    setDone(0, 0);
    emit contentsReset();
    emit linesChanged();
}

bool SourceDocument::LoadFile(const QString& path, AppError* err) {
    pathName_ = path;
    irregularBytes_.clear();
    irregularDigest_.clear();
    utf8_ = true;
    crlf_ = true;
    bom_ = false;
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
    setBytes(std::move(bytes), Encoding::Detect, path);
    diskStamp_ = DiskStamp::of(path);
    if (err)
        *err = AppError::none();
    return true;
}

void SourceDocument::setBytes(QByteArray bytes, Encoding encoding, const QString& rereadPath) {
    irregularBytes_.clear();
    irregularDigest_.clear();
    bom_ = false;
    const qsizetype crlfCount = bytes.count("\r\n");
    const qsizetype lfCount = bytes.count('\n') - crlfCount;
    const qsizetype crCount = bytes.count('\r') - crlfCount;
    crlf_ = lfCount == 0 || crlfCount > lfCount;
    const bool mixed = crCount > 0 || (crlfCount > 0 && lfCount > 0);
    const QByteArray original = mixed || rereadPath.isEmpty() ? bytes : QByteArray();

    qsizetype skip = 0;
    if (bytes.startsWith(kBom) &&
        textenc::isValidUtf8(QByteArray::fromRawData(bytes.constData() + 3, bytes.size() - 3))) {
        bom_ = true;
        skip = 3;
    }
    const QByteArray body = QByteArray::fromRawData(bytes.constData() + skip, bytes.size() - skip);
    utf8_ = encoding == Encoding::Detect ? textenc::isValidUtf8(body) : encoding == Encoding::Utf8;
    QString text = utf8_ ? textenc::decodeUtf8(body) : textenc::decode1252(body);
    bytes.clear(); // the text is all that is needed from here on, and big files are big
    setContent(std::move(text));
    if (mixed) {
        irregularBytes_ = original.isNull() ? readAllBytes(rereadPath) : original;
        irregularDigest_ = digest();
    }
}

QByteArray SourceDocument::digest() const {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i < store_.count(); ++i) {
        const QStringView line = store_.line(i);
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(line.data()), line.size() * 2));
        hash.addData("\n");
    }
    return hash.result();
}

QByteArray SourceDocument::fileBytes(bool* utf8) const {
    QByteArray bytes;
    bool nowUtf8 = utf8_;
    if (!irregularBytes_.isNull() && digest() == irregularDigest_) {
        bytes = irregularBytes_;
    } else {
        const QString text = store_.joined(crlf_ ? u"\r\n" : u"\n");
        if (utf8_ || !textenc::encode1252(text, bytes)) {
            nowUtf8 = true;
            bytes = text.toUtf8();
        }
        if (bom_ && nowUtf8)
            bytes.prepend(kBom);
    }
    if (utf8)
        *utf8 = nowUtf8;
    return bytes;
}

void SourceDocument::restoreBytes(const QByteArray& bytes, bool utf8) {
    // The text a program lost comes back as unsaved changes to the file, which stays as it is.
    setBytes(bytes, utf8 ? Encoding::Utf8 : Encoding::Windows1252, QString());
    SetModified(true);
}

bool SourceDocument::SaveFile(const QString& path, AppError* err) {
    auto fail = [err](const AppError& e) {
        if (err)
            *err = e;
        return false;
    };
    bool nowUtf8 = utf8_;
    const QByteArray bytes = fileBytes(&nowUtf8);

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

    utf8_ = nowUtf8;
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
                              QList<std::pair<int, LineData::Marks>>* gone, QString* removed) {
    const int linesBefore = NumLines();
    LineStore::Edit e = store_.replace(from, to, text);
    if (gone)
        *gone = std::move(e.dropped);
    if (removed)
        *removed = e.removed;
    ++revision_;
    if (!spanKnown_ || NumLines() != spanBlockCount_ || NumLines() != linesBefore)
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
    change.inserted = store_.text(from, end);
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
    const bool oneChar = change.removed.isEmpty() && change.inserted.size() == 1 && change.inserted != u"\n";
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
            caret = apply(c->from, endOf(c->from, c->inserted), c->removed, &c->goneBack);
            restoreMarks(c->from.line, c->goneForward);
        }
    } else {
        for (Change& c : step) {
            caret = apply(c.from, endOf(c.from, c.removed), c.inserted, &c.goneForward);
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
}

void SourceDocument::ClearBookmarks() {
    for (int line = 0; line < NumLines(); ++line)
        if (LineData* d = store_.data(line))
            d->setBookmark(false);
    emit repaintRequested(0, NumLines() - 1);
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
    for (int line = from.line; forward ? line < NumLines() : line >= 0; line += forward ? 1 : -1) {
        const QStringView text = store_.line(line);
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
    if (d->tokenStamp != lexStamp_) {
        d->tokens = SourceLexer::lex(GetLine(line), config_, keywords_);
        d->tokenStamp = lexStamp_;
    }
    if (d != lruHead_) {
        lruUnlink(*d);
        lruPushFront(*d);
        if (lruCount_ > TokenCacheLines) {
            LineData* old = lruTail_;
            lruUnlink(*old);
            old->tokens = QList<SourceToken>();
            old->tokenStamp = 0;
        }
    }
    return d->tokens;
}

QList<SourceToken> SourceDocument::lexText(const QString& text) const {
    return SourceLexer::lex(text, config_, keywords_);
}

void SourceDocument::touch(int first, int last) {
    spanFirst_ = qMin(spanFirst_, first);
    spanLast_ = qMax(spanLast_, last);
}

bool SourceDocument::changedLines(int& first, int& last) const {
    if (!spanKnown_ || NumLines() != spanBlockCount_)
        return false;
    first = spanFirst_;
    last = spanLast_;
    return true;
}

void SourceDocument::markChanges() {
    spanKnown_ = true;
    spanBlockCount_ = NumLines();
    spanFirst_ = std::numeric_limits<int>::max();
    spanLast_ = -1;
}
