#include "platform/sourceview/LineStore.h"

#include "platform/sourceview/SourceDocument.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

// Calls `piece` for each line of `text` with the break that ends it (CR LF, LF, lone CR; none for the last).
template <typename F> void forEachLine(QStringView text, F&& piece) {
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c != u'\n' && c != u'\r')
            continue;
        LineEnding e = c == u'\n' ? LineEnding::LF : LineEnding::CR;
        const QStringView line = text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') {
            e = LineEnding::CRLF;
            ++i;
        }
        piece(line, e);
        start = i + 1;
    }
    piece(text.mid(start), LineEnding::None);
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

QStringView LineStore::line(int i) const {
    if (i < 0 || i >= count())
        return {};
    const Line& l = lines_[size_t(i)];
    return QStringView(buffer_.constData() + l.off, l.len);
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

void LineStore::assign(QString text) {
    dropAllData();
    lines_.clear();
    buffer_ = std::move(text);
    // One record per line and no more: the lines are counted before they are cut out.
    qsizetype breaks = 0;
    forEachLine(buffer_, [&breaks](QStringView, LineEnding) { ++breaks; });
    lines_.shrink_to_fit();
    lines_.reserve(size_t(breaks));
    // The lines are moved down over the line breaks, in place: each goes to where the one before it
    // ended, which is never after where it is read from.
    QChar* chars = buffer_.data();
    qsizetype written = 0;
    forEachLine(QStringView(buffer_), [&](QStringView piece, LineEnding e) {
        const qsizetype from = piece.data() - chars;
        if (!piece.isEmpty() && from != written)
            std::memmove(chars + written, chars + from, size_t(piece.size()) * sizeof(QChar));
        lines_.push_back({quint32(written), quint32(piece.size()), quint32(e), 0});
        written += piece.size();
    });
    buffer_.truncate(written);
    buffer_.squeeze();
    stale_ = 0;
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
    if (from.line == to.line)
        return store.line(from.line).mid(from.col, to.col - from.col).toString();
    qsizetype size = 0;
    for (int i = from.line; i <= to.line; ++i)
        size += store.length(i) + 2;
    QString out;
    out.reserve(size);
    out.append(store.line(from.line).mid(from.col)).append(breakAfter(from.line));
    for (int i = from.line + 1; i < to.line; ++i)
        out.append(store.line(i)).append(breakAfter(i));
    out.append(store.line(to.line).left(to.col));
    return out;
}

QString LineStore::text(TextPos from, TextPos to, QStringView separator) const {
    return joinedText(*this, from, to, [separator](int) { return separator; });
}

QString LineStore::exactText(TextPos from, TextPos to) const {
    return joinedText(*this, from, to, [this](int line) { return lineEndingText(ending(line)); });
}

LineStore::Line LineStore::put(QStringView text) {
    Line l{quint32(buffer_.size()), quint32(text.size()), 0, 0};
    // A big buffer grows by a sixteenth rather than doubling: typing into a large file then does not
    // take twice its text at once.
    const qsizetype need = buffer_.size() + text.size();
    if (need > buffer_.capacity())
        buffer_.reserve(need + std::max<qsizetype>(4096, need / 16));
    buffer_.append(text);
    return l;
}

void LineStore::pack() {
    QString packed;
    packed.reserve(buffer_.size() - stale_);
    for (Line& l : lines_) {
        const quint32 off = quint32(packed.size());
        packed.append(QStringView(buffer_.constData() + l.off, l.len));
        l.off = off;
    }
    buffer_ = std::move(packed);
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
    forEachLine(text, [&](QStringView piece, LineEnding e) {
        pieces.append(piece);
        breaks.append(keepBreaks ? e : newEnding_);
    });
    breaks.last() = ending(b.line);
    const int k = int(pieces.size()) - 1;
    const QString head = line(a.line).left(a.col).toString();
    const QString tail = line(b.line).mid(b.col).toString();
    edit.newEnd = {a.line + k, int(pieces.last().size()) + (k == 0 ? a.col : 0)};

    // Offsets are 32 bits: the buffer is packed before it could outgrow them, while no new line
    // points into it yet.
    if (buffer_.size() + head.size() + text.size() + tail.size() >
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
        lines_[size_t(a.line)].off + lines_[size_t(a.line)].len == buffer_.size()) {
        // Typing into the line written last: its text is at the end of the buffer, so it is rewritten there.
        const Line old = lines_[size_t(a.line)];
        stale_ -= old.len;
        buffer_.truncate(old.off);
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
    if (stale_ > buffer_.size() / 2 && stale_ > 64 * 1024)
        pack();
    return edit;
}
