#pragma once

#include <QStringList>

// The lines sent from the send box, newest last, walked with Up and Down as in a shell. Sending a
// line equal to the newest one does not add it again; the oldest go when the list is full.
class SendHistory {
public:
    explicit SendHistory(int capacity = 100) : capacity_(capacity < 1 ? 1 : capacity) {}

    void add(const QString& line);
    // One step back (Up) or forward (Down) from the current place. `typed` is what the send box
    // holds; it comes back when Down walks past the newest entry.
    QString older(const QString& typed);
    QString newer();
    const QStringList& lines() const { return lines_; }

private:
    int capacity_;
    QStringList lines_;
    qsizetype place_ = 0; // lines_.size() means "past the newest", the typed text
    QString typed_;
};
