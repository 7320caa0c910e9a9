#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QList>
#include <array>
#include <memory>

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
// are inserted and deleted above it. It is small on purpose (32 bytes): every line that carries a mark
// has one, and a line uses few slots (the scanner three), so up to three are kept by their numbers and
// only a line that sets more gets room for all.
class LineData {
public:
    static constexpr int SlotCount = 8; // slots 1..SlotCount

    struct Marks {
        std::array<qint32, SlotCount> values{};
        bool bookmark = false;
    };

    qint32 slot(int n) const;
    void setSlot(int n, qint32 value);

    bool bookmark() const { return bookmark_; }
    void setBookmark(bool on) { bookmark_ = on; }

    // True when the line carries a mark worth moving with its text (slots or bookmark).
    bool hasMarks() const;
    Marks marks() const;
    void setMarks(const Marks& m);

    // The line's cached tokens, null while none are (owned by the document's token cache).
    LineTokens* tokens = nullptr;

private:
    static constexpr int Kept = 3;
    std::unique_ptr<std::array<qint32, SlotCount>> all_; // every slot, once more than Kept are set
    std::array<qint32, Kept> values_{};
    std::array<quint8, Kept> numbers_{}; // the slot each value belongs to; 0 for none
    bool bookmark_ = false;
};
