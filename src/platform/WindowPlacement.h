#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <optional>

class QWidget;

// Where a new top-level window (compiler output, help) opens.
namespace placement {

// `screens`: the available area of every screen; `frame`: the main window; `size`: the window's
// wanted size (inside its decoration, which `decoration` adds around it); `stored`: a position the
// window had before, if any.
// A stored position is kept when it overlaps a screen, moved so that it lies wholly on that screen;
// one that lies off every screen is not used. Otherwise the window opens centred on the main window,
// shrunk to fit and moved wholly onto the screen that holds the main window's centre (the screen it
// overlaps most, else the first).
QRect placeWindow(const QList<QRect>& screens, const QRect& frame, const QSize& size,
                  const std::optional<QRect>& stored = std::nullopt, const QMargins& decoration = {});

// The main window's inside at its first start, when no placement is stored: most of the screen's
// `available` area, centred on it with room for the `decoration`.
QRect firstFrame(const QRect& available, const QMargins& decoration = {});

// Places `window` by that rule near `owner` before it is shown. The window's current geometry counts
// as stored once it has been shown.
void placeNear(QWidget& window, const QWidget* owner);

} // namespace placement
