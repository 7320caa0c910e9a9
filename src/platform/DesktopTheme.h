#pragma once

#include <QPalette>

class QApplication;

// The desktop's light or dark preference, for desktops whose preference this Qt does not pass on by
// itself (a dark GNOME session, say, announces it only through the settings portal).
namespace desktoptheme {

enum class Scheme { NoPreference, Dark, Light };

// The settings portal's "color-scheme" value (0 no preference, 1 dark, 2 light).
Scheme fromPortalValue(quint32 value);

// A dark palette on the Fusion style's roles.
QPalette darkPalette();

// Follows the desktop's preference from now on: asks the portal without waiting for it, and again
// at each change, and switches to the Fusion style with the dark palette while the desktop prefers
// dark. Does nothing where the palette is dark already (the platform follows the desktop itself)
// or where no portal answers.
void follow(QApplication& app);

} // namespace desktoptheme
