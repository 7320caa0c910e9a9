#pragma once

#include <QIcon>
#include <QPixmap>
#include <QStyle>
#include <QString>

// Small drawn icons for the toolbar buttons, so the bars stay compact and read the same on every
// system. An id without a drawing gives a null icon and the button shows its caption instead.
namespace toolicons {

// `darkBar`: drawn to stand out on a dark toolbar.
QIcon forTool(const QString& id, bool darkBar = false);

// The mark of a document with unsaved changes: a filled dot that reads on light and dark bars.
QIcon modifiedMark();

// The standard icons of the frame's own parts, drawn: the extension buttons of the menu bar and the
// toolbars, and the buttons of docked and MDI windows (close, restore, minimize, maximize; the system
// menu shows the program's icon). A null icon for any other.
QIcon standard(QStyle::StandardPixmap which);

// The program's own icon: a chip.
QIcon application();
// The program's icon drawn at one size (for the desktop's icon theme).
QPixmap applicationPixmap(int size);

} // namespace toolicons
