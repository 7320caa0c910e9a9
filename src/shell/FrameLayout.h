#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <vector>

class ActiveToolBars;
class QToolBar;

struct ToolKey {
    const QString& id;
    QKeySequence key;
};

// Creates every tool of the main frame and lays out the toolbars "MenuBar", "Standard" and "ListBar"
// with their menus, captions, access letters, separators and tool tips.
void buildFrameTools(ActiveToolBars& bars);
// The frame's toolbars in the order they flow across its top: the parts of "Standard", then "ListBar".
QList<QToolBar*> frameToolBars(const ActiveToolBars& bars);
// Draws the toolbar buttons' icons for the current palette.
void applyToolIcons(ActiveToolBars& bars);
// The keys the editor control handles itself, with the tools whose menu entries show them.
const std::vector<ToolKey>& editorKeys();
