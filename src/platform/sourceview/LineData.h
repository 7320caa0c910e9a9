#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QList>
#include <array>

class SourceDocument;

// Everything the control keeps for one line: the numbered data slots, the bookmark and the cached
// tokens. The document's line store owns it and moves it with the line's text as lines are inserted
// and deleted above it.
class LineData {
public:
    static constexpr int SlotCount = 8; // slots 1..SlotCount

    struct Marks {
        std::array<qint32, SlotCount> values{};
        bool bookmark = false;
    };

    explicit LineData(SourceDocument* owner = nullptr) : owner_(owner) {}
    ~LineData();
    LineData(const LineData&) = delete;
    LineData& operator=(const LineData&) = delete;

    qint32 slot(int n) const { return n >= 1 && n <= SlotCount ? slots_[size_t(n - 1)] : 0; }
    void setSlot(int n, qint32 value);

    bool bookmark() const { return bookmark_; }
    void setBookmark(bool on) { bookmark_ = on; }

    // True when the line carries a mark worth moving with its text (slots or bookmark).
    bool hasMarks() const;
    Marks marks() const { return {slots_, bookmark_}; }
    void setMarks(const Marks& m);

    // Token cache, valid while `tokenStamp` equals the document's lexer stamp (0 = stale). The document
    // keeps the cached lines in a least-recently-used chain so that the cache stays bounded.
    quint32 tokenStamp = 0;
    QList<SourceToken> tokens;
    LineData* lruPrev = nullptr;
    LineData* lruNext = nullptr;
    bool inLru = false;

private:
    SourceDocument* owner_;
    std::array<qint32, SlotCount> slots_{};
    bool bookmark_ = false;
};
