#pragma once

class ActiveToolBars;

// Creates every tool of the main frame and lays out the toolbars "MenuBar", "Standard" and "ListBar"
// with their menus, captions, access letters, separators and tool tips.
void buildFrameTools(ActiveToolBars& bars);
// Draws the toolbar buttons' icons for the current palette.
void applyToolIcons(ActiveToolBars& bars);
