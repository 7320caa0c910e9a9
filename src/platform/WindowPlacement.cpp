#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace placement {

namespace {

qint64 overlap(const QRect& a, const QRect& b) {
    const QRect r = a.intersected(b);
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

// The screen that holds the point, else the one the rect overlaps most, else the first; -1 for none.
int screenFor(const QList<QRect>& screens, const QRect& r) {
    for (int i = 0; i < screens.size(); ++i)
        if (screens[i].contains(r.center()))
            return i;
    int best = -1;
    qint64 most = 0;
    for (int i = 0; i < screens.size(); ++i)
        if (const qint64 a = overlap(screens[i], r); a > most) {
            most = a;
            best = i;
        }
    return best >= 0 ? best : (screens.isEmpty() ? -1 : 0);
}

// Moves (and if need be shrinks) the outer rect `outer` into `area`.
QRect fitInto(QRect outer, const QRect& area) {
    outer.setWidth(std::min(outer.width(), area.width()));
    outer.setHeight(std::min(outer.height(), area.height()));
    const int x = std::clamp(outer.left(), area.left(), area.right() - outer.width() + 1);
    const int y = std::clamp(outer.top(), area.top(), area.bottom() - outer.height() + 1);
    outer.moveTo(x, y);
    return outer;
}

} // namespace

QRect placeWindow(const QList<QRect>& screens, const QRect& frame, const QSize& size,
                  const std::optional<QRect>& stored, const QMargins& decoration) {
    if (screens.isEmpty())
        return stored ? *stored : QRect(frame.topLeft(), size);
    QRect outer;
    int screen = -1;
    if (stored && stored->isValid()) {
        const QRect storedOuter = stored->marginsAdded(decoration);
        if (std::any_of(screens.cbegin(), screens.cend(),
                        [&](const QRect& s) { return overlap(s, storedOuter) > 0; })) {
            screen = screenFor(screens, storedOuter);
            outer = storedOuter;
        }
    }
    if (screen < 0) {
        screen = screenFor(screens, frame);
        outer = QRect(QPoint(0, 0), size.grownBy(decoration));
        outer.moveCenter(frame.center());
    }
    return fitInto(outer, screens[screen]).marginsRemoved(decoration);
}

QRect firstFrame(const QRect& available, const QMargins& decoration) {
    // Wide enough for the toolbars on a small screen, with the desktop still in sight around it on
    // a large one.
    const QRect inner = available.marginsRemoved(decoration);
    QRect r(QPoint(0, 0), QSize(std::max(1, inner.width() * 9 / 10), std::max(1, inner.height() * 9 / 10)));
    r.moveCenter(inner.center());
    return r;
}

void placeNear(QWidget& window, const QWidget* owner) {
    QList<QRect> screens;
    for (const QScreen* s : QGuiApplication::screens())
        screens << s->availableGeometry();
    const QWidget* frame = owner ? owner->window() : nullptr;
    const QRect frameRect = frame ? frame->frameGeometry() : QRect(screens.value(0).topLeft(), QSize(1, 1));
    // Before the first show the window manager's decoration is not known yet: allow for a title bar.
    const bool shown = window.property("placedOnce").toBool();
    const QRect inner = window.geometry();
    const QRect outerNow = window.frameGeometry();
    const QMargins decoration =
        shown ? QMargins(inner.left() - outerNow.left(), inner.top() - outerNow.top(),
                         outerNow.right() - inner.right(), outerNow.bottom() - inner.bottom())
              : QMargins(4, 30, 4, 4);
    const std::optional<QRect> stored = shown ? std::optional<QRect>(window.geometry()) : std::nullopt;
    window.setGeometry(placeWindow(screens, frameRect, window.size(), stored, decoration));
    window.setProperty("placedOnce", true);
}

} // namespace placement
