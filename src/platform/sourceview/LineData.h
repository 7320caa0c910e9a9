#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QList>
#include <array>

class LineData;

// The cached tokens of one line, valid while `stamp` equals the document's lexer stamp (0 = stale).
// The document keeps the cached lines in a least-recently-used chain so that the cache stays bounded.
struct LineTokens {
    LineData* line = nullptr;
    quint32 stamp = 0;
    QList<SourceToken> tokens;
    LineTokens* prev = nullptr;
    LineTokens* next = nullptr;
};

// Everything the control keeps for one line: the numbered data slots, the bookmark and, while they
// are cached, the tokens. The document's line store owns it and moves it with the line's text as lines
// are inserted and deleted above it. It is small on purpose: every line that carries a mark has one.
class LineData {
public:
    static constexpr int SlotCount = 8; // slots 1..SlotCount

    struct Marks {
        std::array<qint32, SlotCount> values{};
        bool bookmark = false;
    };

    qint32 slot(int n) const { return n >= 1 && n <= SlotCount ? slots_[size_t(n - 1)] : 0; }
    void setSlot(int n, qint32 value);

    bool bookmark() const { return bookmark_; }
    void setBookmark(bool on) { bookmark_ = on; }

    // True when the line carries a mark worth moving with its text (slots or bookmark).
    bool hasMarks() const;
    Marks marks() const { return {slots_, bookmark_}; }
    void setMarks(const Marks& m);

    // The line's cached tokens, null while none are (owned by the document's token cache).
    LineTokens* tokens = nullptr;

private:
    std::array<qint32, SlotCount> slots_{};
    bool bookmark_ = false;
};
