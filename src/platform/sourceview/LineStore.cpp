#include "platform/sourceview/LineStore.h"

#include "platform/sourceview/SourceDocument.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <type_traits>

namespace {

// Calls `piece` for each line of `text` with the break that ends it (CR LF, LF, lone CR; none for the
// last). `text` is a QStringView or a QLatin1StringView.
template <typename View, typename F> void forEachLine(View text, F&& piece) {
    static_assert(std::is_same_v<View, QStringView> || std::is_same_v<View, QLatin1StringView>,
                  "the pieces are views into the text: it must be a view itself");
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        LineEnding e = c == u'\n' ? LineEnding::LF : LineEnding::CR;
        const View line = text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1].unicode() == u'\n') {
            e = LineEnding::CRLF;
            ++i;
        }
        piece(line, e);
        start = i + 1;
    }
    piece(text.mid(start), LineEnding::None);
}

// Writes `text` at `to`, one byte a character (every character of it is Latin-1).
void narrowInto(char* to, QStringView text) {
    for (const QChar c : text)
        *to++ = char(c.unicode());
}

} // namespace

QStringView lineEndingText(LineEnding e) {
    switch (e) {
    case LineEnding::LF:
        return u"\n";
    case LineEnding::CRLF:
        return u"\r\n";
    case LineEnding::CR:
        return u"\r";
    case LineEnding::None:
        break;
    }
    return {};
}

LineStore::LineStore() {
    lines_.push_back({});
}

LineStore::~LineStore() = default;

quint32 LineStore::newData() {
    if (free_.empty()) {
        pool_.emplace_back();
        return quint32(pool_.size());
    }
    const quint32 n = free_.back();
    free_.pop_back();
    return n;
}

void LineStore::dropData(quint32 n) {
    LineData* d = dataAt(n);
    if (d->tokens && owner_)
        owner_->lineDataDropped(*d);
    *d = LineData();
    free_.push_back(n);
}

void LineStore::dropAllData() {
    for (Line& l : lines_)
        if (LineData* d = dataAt(l.data); d && d->tokens && owner_)
            owner_->lineDataDropped(*d);
    for (Line& l : lines_)
        l.data = 0;
    pool_.clear();
    free_.clear();
    free_.shrink_to_fit();
}

QStringView LineStore::line(int i, QString& scratch) const {
    if (i < 0 || i >= count())
        return {};
    const Line& l = lines_[size_t(i)];
    if (wide_)
        return QStringView(buffer_.constData() + l.off, l.len);
    scratch = QLatin1StringView(narrow_.constData() + l.off, l.len);
    return scratch;
}

bool LineStore::contains(int i, char16_t c) const {
    if (i < 0 || i >= count())
        return false;
    const Line& l = lines_[size_t(i)];
    if (wide_)
        return QStringView(buffer_.constData() + l.off, l.len).contains(QChar(c));
    return c < 0x100 && std::memchr(narrow_.constData() + l.off, c, l.len);
}

QString LineStore::lineString(int i) const {
    if (i < 0 || i >= count())
        return {};
    const Line& l = lines_[size_t(i)];
    return wide_ ? QString(buffer_.constData() + l.off, l.len)
                 : QString::fromLatin1(narrow_.constData() + l.off, l.len);
}

LineData* LineStore::ensureData(int i, SourceDocument* owner) {
    if (i < 0 || i >= count())
        return nullptr;
    owner_ = owner;
    quint32& n = lines_[size_t(i)].data;
    if (!n)
        n = newData();
    return dataAt(n);
}

// Cuts the lines out of a whole text in place: each is moved down over the line breaks before it, to
// where the one before it ended, which is never after where it is read from. One record per line and no
// more: the lines are counted before they are cut out.
template <typename Buffer, typename View>
void LineStore::cutLines(Buffer& buffer) {
    dropAllData();
    lines_.clear();
    qsizetype breaks = 0;
    forEachLine(View(buffer), [&breaks](View, LineEnding) { ++breaks; });
    lines_.shrink_to_fit();
    lines_.reserve(size_t(breaks));
    auto* chars = buffer.data();
    const auto* base = View(buffer).data();
    qsizetype written = 0;
    forEachLine(View(buffer), [&](View piece, LineEnding e) {
        const qsizetype from = piece.data() - base;
        if (!piece.isEmpty() && from != written)
            std::memmove(chars + written, chars + from, size_t(piece.size()) * sizeof(*chars));
        lines_.push_back({quint32(written), quint32(piece.size()), quint32(e), 0});
        written += piece.size();
    });
    buffer.truncate(written);
    buffer.squeeze();
    stale_ = 0;
}

void LineStore::assign(QString text) {
    if (QtPrivate::isLatin1(text)) {
        // Kept at a byte a character; the lines are cut out of the wide text first, so the narrow copy
        // is no bigger than what it keeps.
        wide_ = true;
        buffer_ = std::move(text);
        cutLines<QString, QStringView>(buffer_);
        narrow_ = QByteArray(buffer_.size(), Qt::Uninitialized);
        narrowInto(narrow_.data(), buffer_);
        buffer_ = QString();
        wide_ = false;
        return;
    }
    narrow_ = QByteArray();
    wide_ = true;
    buffer_ = std::move(text);
    cutLines<QString, QStringView>(buffer_);
}

void LineStore::assignLatin1(QByteArray text) {
    buffer_ = QString();
    wide_ = false;
    narrow_ = std::move(text);
    cutLines<QByteArray, QLatin1StringView>(narrow_);
}

void LineStore::widen() {
    buffer_ = QString::fromLatin1(narrow_);
    narrow_ = QByteArray();
    wide_ = true;
}

TextPos LineStore::clamp(TextPos p) const {
    if (p.line >= count())
        return end();
    p.line = std::max(0, p.line);
    p.col = std::clamp(p.col, 0, length(p.line));
    return p;
}

// The text from one position to another, each line break written as breakAfter(line) gives it.
template <class BreakAfter>
static QString joinedText(const LineStore& store, TextPos from, TextPos to, BreakAfter breakAfter) {
    from = store.clamp(from);
    to = store.clamp(to);
    if (to < from)
        std::swap(from, to);
    QString scratch;
    if (from.line == to.line)
        return store.line(from.line, scratch).mid(from.col, to.col - from.col).toString();
    qsizetype size = 0;
    for (int i = from.line; i <= to.line; ++i)
        size += store.length(i) + 2;
    QString out;
    out.reserve(size);
    out.append(store.line(from.line, scratch).mid(from.col)).append(breakAfter(from.line));
    for (int i = from.line + 1; i < to.line; ++i)
        out.append(store.line(i, scratch)).append(breakAfter(i));
    out.append(store.line(to.line, scratch).left(to.col));
    return out;
}

QString LineStore::text(TextPos from, TextPos to, QStringView separator) const {
    return joinedText(*this, from, to, [separator](int) { return separator; });
}

QString LineStore::exactText(TextPos from, TextPos to) const {
    return joinedText(*this, from, to, [this](int line) { return lineEndingText(ending(line)); });
}

LineStore::Line LineStore::put(QStringView text) {
    if (!wide_ && !QtPrivate::isLatin1(text))
        widen();
    const qsizetype size = wide_ ? buffer_.size() : narrow_.size();
    Line l{quint32(size), quint32(text.size()), 0, 0};
    // A big buffer grows by a sixteenth rather than doubling: typing into a large file then does not
    // take twice its text at once.
    const qsizetype need = size + text.size();
    const qsizetype room = need + std::max<qsizetype>(4096, need / 16);
    if (wide_) {
        if (need > buffer_.capacity())
            buffer_.reserve(room);
        buffer_.append(text);
    } else {
        if (need > narrow_.capacity())
            narrow_.reserve(room);
        narrow_.resize(need);
        narrowInto(narrow_.data() + size, text);
    }
    return l;
}

void LineStore::pack() {
    if (wide_) {
        QString packed;
        packed.reserve(buffer_.size() - stale_);
        for (Line& l : lines_) {
            const quint32 off = quint32(packed.size());
            packed.append(QStringView(buffer_.constData() + l.off, l.len));
            l.off = off;
        }
        buffer_ = std::move(packed);
    } else {
        QByteArray packed;
        packed.reserve(narrow_.size() - stale_);
        for (Line& l : lines_) {
            const quint32 off = quint32(packed.size());
            packed.append(narrow_.constData() + l.off, l.len);
            l.off = off;
        }
        narrow_ = std::move(packed);
    }
    stale_ = 0;
}

LineStore::Edit LineStore::replace(TextPos a, TextPos b, const QString& text, bool keepBreaks) {
    a = clamp(a);
    b = clamp(b);
    if (b < a)
        std::swap(a, b);
    Edit edit{a, b, a, exactText(a, b), {}};

    // The new lines' texts: the old first line up to the edit, the new text, the old last line after it.
    QList<QStringView> pieces;
    QList<LineEnding> breaks;
    forEachLine(QStringView(text), [&](QStringView piece, LineEnding e) {
        pieces.append(piece);
        breaks.append(keepBreaks ? e : newEnding_);
    });
    breaks.last() = ending(b.line);
    const int k = int(pieces.size()) - 1;
    QString scratch;
    const QString head = line(a.line, scratch).left(a.col).toString();
    const QString tail = line(b.line, scratch).mid(b.col).toString();
    edit.newEnd = {a.line + k, int(pieces.last().size()) + (k == 0 ? a.col : 0)};

    // Offsets are 32 bits: the buffer is packed before it could outgrow them, while no new line
    // points into it yet.
    if (bufferSize() + head.size() + text.size() + tail.size() >
        qsizetype(std::numeric_limits<quint32>::max()))
        pack();

    const int keptOld = a.col > 0 ? a.line : b.line;
    const int keptNew = a.col > 0 ? 0 : k;
    const quint32 kept = std::exchange(lines_[size_t(keptOld)].data, 0);
    for (int i = a.line; i <= b.line; ++i) {
        Line& old = lines_[size_t(i)];
        stale_ += old.len;
        if (const quint32 n = std::exchange(old.data, 0)) {
            if (const LineData* d = dataAt(n); d->hasMarks())
                edit.dropped.append({i - a.line, d->marks()});
            dropData(n);
        }
    }

    std::vector<Line> fresh(size_t(k + 1));
    if (k == 0 && a.line == b.line &&
        lines_[size_t(a.line)].off + lines_[size_t(a.line)].len == bufferSize()) {
        // Typing into the line written last: its text is at the end of the buffer, so it is rewritten there.
        const Line old = lines_[size_t(a.line)];
        stale_ -= old.len;
        if (wide_)
            buffer_.truncate(old.off);
        else
            narrow_.truncate(old.off);
    }
    for (int i = 0; i <= k; ++i) {
        QString whole;
        const QStringView piece = pieces[i];
        if (i == 0 || i == k) {
            whole.reserve((i == 0 ? head.size() : 0) + piece.size() + (i == k ? tail.size() : 0));
            if (i == 0)
                whole.append(head);
            whole.append(piece);
            if (i == k)
                whole.append(tail);
            fresh[size_t(i)] = put(whole);
        } else {
            fresh[size_t(i)] = put(piece);
        }
        fresh[size_t(i)].ending = quint32(breaks[i]);
    }
    if (kept) {
        if (LineTokens* t = dataAt(kept)->tokens)
            t->stamp = 0;
        fresh[size_t(keptNew)].data = kept;
    }
    const auto at = lines_.begin() + a.line;
    if (b.line - a.line == k) {
        std::copy(fresh.begin(), fresh.end(), at);
    } else {
        lines_.erase(at, at + (b.line - a.line + 1));
        lines_.insert(lines_.begin() + a.line, fresh.begin(), fresh.end());
    }
    if (stale_ > bufferSize() / 2 && stale_ > 64 * 1024)
        pack();
    return edit;
}
