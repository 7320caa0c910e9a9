#include "platform/sourceview/SourceDocument.h"

#include "platform/sourceview/LineData.h"
#include "platform/TextEncoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <limits>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

// Characters the text document turns into line breaks of its own.
bool hasDocumentBreakChars(const QString& text) {
    for (char16_t c : {u'\x2028', u'\x2029', u'\xFDD0', u'\xFDD1'})
        if (text.contains(QChar(c)))
            return true;
    return false;
}

// QString::replace moves the rest of the text for each batch of matches when the lengths differ, which
// is quadratic in the number of lines: saving a 50 MB file took tens of seconds. This makes one pass.
QString withLineEnds(const QString& raw, bool crlf) {
    if (!crlf) {
        QString text = raw;
        text.replace(QChar::ParagraphSeparator, u'\n');
        return text;
    }
    QString text;
    text.reserve(raw.size() + raw.count(QChar::ParagraphSeparator));
    qsizetype from = 0;
    for (qsizetype at; (at = raw.indexOf(QChar::ParagraphSeparator, from)) >= 0; from = at + 1)
        text.append(QStringView(raw).mid(from, at - from)).append(u"\r\n");
    text.append(QStringView(raw).mid(from));
    return text;
}

QByteArray readAllBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

SourceDocument::SourceDocument(QObject* parent) : QObject(parent), doc_(new QTextDocument(this)) {
    doc_->setDocumentLayout(new QPlainTextDocumentLayout(doc_));
    connect(doc_, &QTextDocument::contentsChange, this, &SourceDocument::onContentsChange);
    connect(doc_, &QTextDocument::contentsChanged, this, &SourceDocument::linesChanged);
    connect(doc_, &QTextDocument::modificationChanged, this, &SourceDocument::modificationChanged);
}

SourceDocument::~SourceDocument() {
    // The blocks' data reports back here while it is destroyed, so the text goes first.
    disconnect(doc_, nullptr, this, nullptr);
    delete doc_;
}

void SourceDocument::lineDataDropped(LineData& data) {
    lruUnlink(data);
    if (undoing_ && data.hasMarks())
        dropped_.append(data.marks());
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

void SourceDocument::setContent(const QString& text) {
    doc_->setUndoRedoEnabled(false);
    doc_->setPlainText(text);
    doc_->setUndoRedoEnabled(true);
    doc_->setModified(false);
}

bool SourceDocument::setContent(const QByteArray& body, bool utf8) {
    // A slice of whole lines at a time: the file never stands decoded in one piece beside the text
    // document's own copy, which for a big file was the peak of the program's memory. Slices end after
    // a line feed, so neither a CR LF pair nor a UTF-8 sequence is cut in two. The document takes CR LF
    // and a lone CR as line breaks by itself.
    constexpr qsizetype SliceBytes = 256 * 1024;
    bool breakChars = false;
    doc_->setUndoRedoEnabled(false);
    doc_->clear();
    QTextCursor cursor(doc_);
    cursor.beginEditBlock();
    for (qsizetype at = 0; at < body.size();) {
        qsizetype end = at + SliceBytes < body.size() ? body.indexOf('\n', at + SliceBytes) : -1;
        end = end < 0 ? body.size() : end + 1;
        const QByteArray slice = QByteArray::fromRawData(body.constData() + at, end - at);
        const QString text = utf8 ? textenc::decodeUtf8(slice) : textenc::decode1252(slice);
        breakChars = breakChars || hasDocumentBreakChars(text);
        cursor.insertText(text);
        at = end;
    }
    cursor.endEditBlock();
    doc_->setUndoRedoEnabled(true);
    doc_->setModified(false);
    return breakChars;
}

bool SourceDocument::LoadFile(const QString& path, AppError* err) {
    pathName_ = path;
    irregularBytes_.clear();
    irregularText_.clear();
    utf8_ = true;
    crlf_ = true;
    bom_ = false;
    const QFileInfo info(path);
    if (!info.exists()) {
        setContent(QString());
        if (err)
            *err = AppError::fileNotFound();
        return false;
    }
    QFile file(path);
    // A folder, a device or a pipe is no source file (reading a device may never end).
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        setContent(QString());
        if (err)
            *err = AppError::accessError();
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
    irregularText_.clear();
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
    const bool irregular = setContent(body, utf8_) || mixed;
    bytes.clear(); // the text is all that is needed from here on, and big files are big
    if (irregular) {
        irregularBytes_ = original.isNull() ? readAllBytes(rereadPath) : original;
        irregularText_ = doc_->toRawText();
    }
}

QByteArray SourceDocument::fileBytes(bool* utf8) const {
    const QString raw = doc_->toRawText();
    QByteArray bytes;
    bool nowUtf8 = utf8_;
    if (!irregularBytes_.isNull() && raw == irregularText_) {
        bytes = irregularBytes_;
    } else {
        const QString text = withLineEnds(raw, crlf_);
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
    doc_->setModified(true);
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
        return fail(AppError::pathNotFound());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        // A full disk is told apart: the user can make room and save again. The write error itself
        // does not say it on every system, the free space does.
        const QStorageInfo disk(info.absolutePath());
        const bool full = disk.isValid() && !disk.isReadOnly() && disk.bytesAvailable() < bytes.size() + 4096;
        return fail(full ? AppError::fromNumber(AppError::DiskFull) : AppError::accessError());
    }

    utf8_ = nowUtf8;
    pathName_ = path;
    diskStamp_ = DiskStamp::of(path);
    doc_->setModified(false);
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

int SourceDocument::NumLines() const {
    return doc_->blockCount();
}

QString SourceDocument::GetLine(int line) const {
    return doc_->findBlockByNumber(line).text();
}

int SourceDocument::GetLineLength(int line) const {
    const QTextBlock b = doc_->findBlockByNumber(line);
    return b.isValid() ? b.length() - 1 : 0;
}

qint32 SourceDocument::GetLineData(int line, int slot) const {
    const LineData* d = LineData::peek(doc_->findBlockByNumber(line));
    return d ? d->slot(slot) : 0;
}

void SourceDocument::SetLineData(int line, int slot, qint32 value) {
    if (slot < 1 || slot > LineData::SlotCount)
        return;
    const QTextBlock b = doc_->findBlockByNumber(line);
    if (!b.isValid())
        return;
    if (value == 0 && !LineData::peek(b))
        return;
    LineData* d = LineData::of(b);
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
    int line = 0;
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next(), ++line) {
        LineData* d = LineData::peek(b);
        const qint32 old = d ? d->slot(slot) : 0;
        const qint32 value = visit(line, b.text(), old);
        if (value != old) {
            LineData::of(b)->setSlot(slot, value);
            ++revision_;
            touch(line, line);
        }
    }
}

QStringList SourceDocument::linesWhere(int slot, qint32 value, QList<int>* numbers) const {
    QStringList texts;
    int line = 0;
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next(), ++line) {
        const LineData* d = LineData::peek(b);
        if ((d ? d->slot(slot) : 0) != value)
            continue;
        texts.append(b.text());
        if (numbers)
            numbers->append(line);
    }
    return texts;
}

QList<SourceDocument::MarkedLine> SourceDocument::linesMarked(std::initializer_list<int> slotNumbers) const {
    QList<MarkedLine> out;
    int line = 0;
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next(), ++line) {
        const LineData* d = LineData::peek(b);
        if (!d)
            continue;
        for (const int slot : slotNumbers)
            if (d->slot(slot) != 0) {
                out.append({line, b.text(), d->marks()});
                break;
            }
    }
    return out;
}

int SourceDocument::previousLineWhere(int slot, qint32 value, int fromLine) const {
    if (fromLine < 0)
        return -1;
    QTextBlock b = doc_->findBlockByNumber(qMin(fromLine, NumLines() - 1));
    for (; b.isValid(); b = b.previous()) {
        const LineData* d = LineData::peek(b);
        if ((d ? d->slot(slot) : 0) == value)
            return b.blockNumber();
    }
    return -1;
}

bool SourceDocument::Modified() const {
    return doc_->isModified();
}
void SourceDocument::SetModified(bool modified) {
    doc_->setModified(modified);
}
bool SourceDocument::CanUndo() const {
    return doc_->isUndoAvailable();
}
bool SourceDocument::CanRedo() const {
    return doc_->isRedoAvailable();
}
void SourceDocument::undoRedo(bool undo, QTextCursor* cursor) {
    dropped_.clear();
    undoing_ = undo;
    if (undo)
        cursor ? doc_->undo(cursor) : doc_->undo();
    else
        cursor ? doc_->redo(cursor) : doc_->redo();
    undoing_ = false;
    dropped_.clear();
}

int SourceDocument::NumBookmarks() const {
    int count = 0;
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next())
        if (const LineData* d = LineData::peek(b); d && d->bookmark())
            ++count;
    return count;
}

bool SourceDocument::HasBookmark(int line) const {
    const LineData* d = LineData::peek(doc_->findBlockByNumber(line));
    return d && d->bookmark();
}

void SourceDocument::SetBookmark(int line, bool on) {
    const QTextBlock b = doc_->findBlockByNumber(line);
    if (!b.isValid() || (!on && !LineData::peek(b)))
        return;
    LineData::of(b)->setBookmark(on);
    emit repaintRequested(line, line);
}

void SourceDocument::ClearBookmarks() {
    for (QTextBlock b = doc_->begin(); b.isValid(); b = b.next())
        if (LineData* d = LineData::peek(b))
            d->setBookmark(false);
    emit repaintRequested(0, NumLines() - 1);
}

int SourceDocument::NextBookmark(int fromLine, bool forward) const {
    const int n = NumLines();
    QTextBlock start = doc_->findBlockByNumber(qBound(0, fromLine, n - 1));
    QTextBlock b = start;
    for (int i = 0; i < n; ++i) {
        b = forward ? b.next() : b.previous();
        if (!b.isValid())
            b = forward ? doc_->begin() : doc_->lastBlock();
        if (const LineData* d = LineData::peek(b); d && d->bookmark())
            return b.blockNumber();
    }
    return -1;
}

int SourceDocument::position(int col, int line) const {
    QTextBlock b = doc_->findBlockByNumber(qBound(0, line, NumLines() - 1));
    if (line >= NumLines())
        return b.position() + b.length() - 1;
    return b.position() + qBound(0, col, b.length() - 1);
}

void SourceDocument::InsertOverwrite(int col1, int line1, int col2, int line2, const QString& text) {
    QTextCursor c(doc_);
    c.setPosition(position(col1, line1));
    c.setPosition(position(col2, line2), QTextCursor::KeepAnchor);
    c.insertText(text);
}

void SourceDocument::InsertImpl(int col, int line, const QString& text, int, int, int) {
    QTextCursor c(doc_);
    c.setPosition(position(col, line));
    c.insertText(text);
}

void SourceDocument::DeleteImpl(int col1, int line1, int col2, int line2) {
    QTextCursor c(doc_);
    c.setPosition(position(col1, line1));
    c.setPosition(position(col2, line2), QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

void SourceDocument::BeginUndoGroup() {
    QTextCursor(doc_).beginEditBlock();
}

void SourceDocument::EndUndoGroup() {
    QTextCursor(doc_).endEditBlock();
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

const QList<SourceToken>& SourceDocument::tokens(const QTextBlock& block) const {
    LineData* d = LineData::of(block);
    if (!d)
        return noTokens_;
    if (d->tokenStamp != lexStamp_) {
        d->tokens = SourceLexer::lex(block.text(), config_, keywords_);
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

QList<SourceToken> SourceDocument::tokensOfLine(int line) const {
    return tokens(doc_->findBlockByNumber(line));
}

void SourceDocument::touch(int first, int last) {
    spanFirst_ = qMin(spanFirst_, first);
    spanLast_ = qMax(spanLast_, last);
}

bool SourceDocument::changedLines(int& first, int& last) const {
    if (!spanKnown_ || doc_->blockCount() != spanBlockCount_)
        return false;
    first = spanFirst_;
    last = spanLast_;
    return true;
}

void SourceDocument::markChanges() {
    spanKnown_ = true;
    spanBlockCount_ = doc_->blockCount();
    spanFirst_ = std::numeric_limits<int>::max();
    spanLast_ = -1;
}

void SourceDocument::onContentsChange(int pos, int removed, int added) {
    ++revision_;
    const QTextBlock first = doc_->findBlock(pos);
    const QTextBlock last = doc_->findBlock(pos + added);
    if (doc_->blockCount() != spanBlockCount_)
        spanKnown_ = false;
    else
        touch(first.blockNumber(), last.isValid() ? last.blockNumber() : doc_->blockCount() - 1);
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        if (LineData* d = LineData::peek(b))
            d->tokenStamp = 0;
        if (b == last)
            break;
    }
    // Inserting lines at the start of a line leaves its data on the first new block, while the line's
    // text moves down to the last one: the marks follow the text. (Removing whole lines already keeps the
    // data of the line that follows them, and undoing this insertion removes whole lines.)
    if (removed == 0 && added > 0 && first.isValid() && first != last && pos == first.position()) {
        if (LineData* d = LineData::peek(first); d && d->hasMarks())
            d->moveMarksTo(*LineData::of(last));
    }
    // Undoing such an insertion removes the block that received the marks: give them back.
    if (undoing_ && removed > 0 && !dropped_.isEmpty() && first.isValid() && pos == first.position()) {
        LineData* d = LineData::of(first);
        if (!d->hasMarks())
            d->setMarks(dropped_.last());
    }
    dropped_.clear();
}
