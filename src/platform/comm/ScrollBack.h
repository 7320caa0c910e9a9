#pragma once

#include <QString>

// Text waiting to be added to a view that keeps at most `maxLines` lines. Lines that would scroll out
// of the view before it is next drawn are dropped here already, so a flood of data costs the view no
// more than one screenful of scroll-back per update and the waiting text never grows past it.
class ScrollBack {
public:
    explicit ScrollBack(int maxLines) : maxLines_(maxLines < 1 ? 1 : maxLines) {}

    // What to add to the view: its lines are separated by "\n", the last one may be open. When
    // `reset` is set, more lines arrived than the view keeps: it drops all it shows first.
    struct Batch {
        QString text;
        bool reset = false;
    };

    void append(const QString& text);
    // Takes the waiting text, or only its first `lines` lines when more wait: a view that is given
    // a screenful at a time stays responsive while it catches up.
    Batch take(int lines = -1);
    bool isEmpty() const { return text_.isEmpty() && !reset_; }
    int maxLines() const { return maxLines_; }
    // Lines dropped because they would have scrolled out unseen.
    qint64 dropped() const { return dropped_; }

private:
    int maxLines_;
    QString text_;
    int breaks_ = 0;
    bool reset_ = false;
    qint64 dropped_ = 0;
};
