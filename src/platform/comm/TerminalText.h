#pragma once

#include <QList>
#include <QPointF>
#include <QString>
#include <QTime>

// The wording and the rules of the terminal's own text, kept apart from its widgets.
namespace terminaltext {

// Starts sent (echoed) text in a view's text; the sent text runs to the end of its line. Received
// bytes never show as this character: the visible form of control bytes is spelt out ("<SOH>").
inline constexpr QChar SentMark = u'\x01';

// The time stamp before a line: "[HH:mm:ss.zzz] " for a received line, "[HH:mm:ss.zzz sent] " for a
// line the user sent.
QString stamp(const QTime& time, bool sent);

// What the terminal says when something typed or put in the send box is not sent.
QString notSent();

// The message of a port that closed by itself. `gone`: the device itself went away (unplugged, or the
// other end of a pseudo-terminal closed); the system's text for that says nothing to a user.
QString lost(const QString& device, bool gone, const QString& detail);

// The width of the hex pane beside the text: a full row where the room allows, but the text keeps
// `textMin` or, in a narrow window, half of `total`.
int hexPaneWidth(int total, int rowWidth, int textMin);

// The runs of a series drawn as connected lines: a sample that lacked the series' column (x not one
// more than the x before) starts a new run, so the line shows a gap there.
QList<QList<QPointF>> runs(const QList<QPointF>& points);

// Whether a view keeps showing its end: it follows the end from the start and through any change
// of its size; the user scrolling away stops that, scrolling back to the end resumes it.
class FollowEnd {
public:
    bool following() const { return following_; }
    // The user (or the view on a key) moved to `value` of a range that ends at `maximum`.
    void moved(int value, int maximum) { following_ = value >= maximum; }
    // Where the view goes when its range changed (size, lines added or dropped): the end while it
    // follows, otherwise where it is.
    int afterRangeChange(int value, int maximum) const { return following_ ? maximum : value; }
    void reset() { following_ = true; }

private:
    bool following_ = true;
};

} // namespace terminaltext
