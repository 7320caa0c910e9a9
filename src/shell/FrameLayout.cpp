#include "shell/FrameLayout.h"

#include "common/ToolIds.h"
#include "platform/Colors.h"
#include "platform/toolbars/ActiveToolBars.h"
#include "platform/toolbars/ToolIcons.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeySequence>
#include <QToolBar>

namespace {

using Kind = ActiveToolBars::Kind;

struct ToolDef {
    const QString& id;
    const char* caption;
    const char* toolTip;
};

struct MenuDef {
    const QString& id;
    const char* caption;
    std::initializer_list<ToolDef> entries; // an entry whose id is ids::Separator is a separator
};

const ToolDef sep{ids::Separator, "", ""};

void addMenu(ActiveToolBars& bars, const MenuDef& m) {
    bars.AddTool(m.id, Kind::Menu, QString::fromUtf8(m.caption));
    int pos = 1;
    for (const ToolDef& e : m.entries) {
        if (&e.id != &ids::Separator)
            bars.AddTool(e.id, Kind::Button, QString::fromUtf8(e.caption), QString::fromUtf8(e.toolTip));
        bars.Insert(m.id, pos++, e.id);
    }
}

} // namespace

void applyToolIcons(ActiveToolBars& bars) {
    // Toolbar buttons show drawn icons; the menus keep their captions.
    const bool dark = colors::isDark(QApplication::palette().color(QPalette::Button));
    for (const QString& bar : {ids::Standard, ids::ListBar})
        for (const QString& id : bars.ToolBarToolIds(bar))
            if (QAction* a = bars.action(id); a && bars.kindOf(id) == ActiveToolBars::Kind::Button) {
                const QIcon icon = toolicons::forTool(id, dark);
                if (!icon.isNull())
                    a->setIcon(icon);
            }
}

void buildFrameTools(ActiveToolBars& bars) {
    const MenuDef file{ids::ID_File,
                       "&File",
                       {{ids::ID_New, "&New", "New Project"},
                        {ids::ID_Open, "&Open", "Open Project"},
                        {ids::ID_Close, "&Close", ""},
                        sep,
                        {ids::ID_Save, "&Save", "Save Project"},
                        {ids::ID_SaveAs, "Save &As", ""},
                        {ids::ID_ReopenEncoding, "&Reopen with Encoding...", ""},
                        {ids::ID_SaveEncoding, "Save with &Encoding...", ""},
                        sep,
                        {ids::ID_Print, "&Print", "Print "},
                        sep,
                        {ids::ID_File1, "&1", ""},
                        {ids::ID_File2, "&2", ""},
                        {ids::ID_File3, "&3", ""},
                        {ids::ID_File4, "&4", ""},
                        sep,
                        {ids::ID_Exit, "E&xit", ""}}};
    const MenuDef edit{ids::ID_Edit,
                       "&Edit",
                       {{ids::ID_Undo, "&Undo", "Undo"},
                        {ids::ID_Redo, "&Redo", "Redo"},
                        sep,
                        {ids::ID_Cut, "Cu&t", "Cut"},
                        {ids::ID_Copy, "&Copy", "Copy"},
                        {ids::ID_Paste, "&Paste", "Paste"},
                        sep,
                        {ids::ID_SelectAll, "Select &All", ""},
                        {ids::ID_SelectLine, "Select &Line", ""},
                        {ids::ID_SelectWord, "Select &Word", ""},
                        sep,
                        {ids::ID_BackgroundColor, "&Background Color", ""},
                        {ids::ID_TokenColor, "T&oken Color", ""},
                        sep,
                        {ids::ID_Find, "&Find", "Find Text"},
                        {ids::ID_FindNext, "Find &Next", "Find Next"},
                        {ids::ID_Replace, "R&eplace", "Replace Text"},
                        {ids::ID_GotoLine, "&Goto Line", ""},
                        sep,
                        {ids::ID_TBook, "Toggle Boo&kmark", "Toggle Bookmark"},
                        {ids::ID_NBook, "Ne&xt Bookmark", "Next Bookmark"},
                        {ids::ID_PBook, "Pre&vious Bookmark", "Previous Bookmark"},
                        {ids::ID_CBook, "Clear Book&mark", "Clear Bookmarks"},
                        sep,
                        {ids::ID_OpenInclude, "Open &Include", "Open the file the INCLUDE line names"},
                        sep,
                        {ids::ID_StatementHelp, "&Help", "Help on the statement at the caret (F1)"}}};
    const MenuDef view{ids::ID_View,
                       "&View",
                       {{ids::ID_CodeExplorer, "Code &Explorer", "Show or hide the code explorer"},
                        sep,
                        {ids::ID_ZoomIn, "Zoom &In", "Larger text (Ctrl+Plus)"},
                        {ids::ID_ZoomOut, "Zoom &Out", "Smaller text (Ctrl+Minus)"},
                        {ids::ID_ZoomReset, "&Normal Size", "Normal text size (Ctrl+0)"}}};
    const MenuDef compile{ids::ID_CMenu,
                          "&Compile",
                          {{ids::ID_Compile, "&Compile", "Compile PicBasic Source Code"},
                           {ids::ID_Simulate, "&Simulate", "Run the program on a simulated PIC"},
                           {ids::ID_StopSimulation, "S&top Simulation", "Stop the simulated PIC"},
                           sep,
                           {ids::ID_CompilerOptions, "Compiler &Options", ""},
                           {ids::ID_SimulatorOptions, "Simulator O&ptions", ""}}};
    const MenuDef programmer{ids::ID_Programmer,
                             "&Programmer",
                             {{ids::ID_Epic, "&EpicWin", "Launch EpicWin"},
                              {ids::ID_ProgrammerOptions, "&Programmer Options", ""}}};
    const MenuDef options{
        ids::ID_Options,
        "&Options",
        {{ids::ID_NoMargin, "&No Margin", "Options"},
         {ids::ID_FixedMargin, "&Fixed Margin", "Options"},
         {ids::ID_ScrollingMargin, "&Scrolling Margin", "Options"},
         sep,
         {ids::ID_PrintLineNumbers, "Print &Line Numbers", "Number the lines of printouts"}}};
    const MenuDef window{ids::ID_Window,
                         "&Window",
                         {{ids::ID_TileH, "Tile &Horizontally", ""},
                          {ids::ID_TileV, "Tile &Vertically", ""},
                          {ids::ID_Cascade, "&Cascade", ""},
                          {ids::ID_Arrange, "&Arrange Icons", ""}}};
    const MenuDef web{ids::ID_KorvanaSystemsontheWeb,
                      "Korvana Systems on the &Web",
                      {{ids::ID_OrderOnline, "&Order Online", ""},
                       {ids::ID_ProductUpdates, "Product &Updates", ""},
                       {ids::ID_BugReport, "E-Mail &Bug Report", ""},
                       {ids::ID_PinwrightHomePage, "&Pinwright Home Page", ""},
                       {ids::ID_KorvanaSystemsHomePage, "Korvana Systems &Home Page", ""}}};

    for (const MenuDef* m : {&file, &edit, &view, &compile, &programmer})
        addMenu(bars, *m);
    bars.action(ids::ID_CodeExplorer)->setCheckable(true);
    bars.AddTool(ids::ID_Debug, Kind::Button, QStringLiteral("&Debug"), QStringLiteral("Open Debug Window"));
    addMenu(bars, options);
    bars.action(ids::ID_PrintLineNumbers)->setCheckable(true);
    // The margin styles exclude one another; the active window's carries the check mark.
    auto* margins = new QActionGroup(&bars);
    for (const QString* id : {&ids::ID_NoMargin, &ids::ID_FixedMargin, &ids::ID_ScrollingMargin}) {
        bars.action(*id)->setCheckable(true);
        margins->addAction(bars.action(*id));
    }
    addMenu(bars, window);
    addMenu(bars, web);
    bars.AddTool(ids::ID_Help, Kind::Menu, QStringLiteral("&Help"));
    bars.AddTool(ids::ID_HelpTopics, Kind::Button, QStringLiteral("&Help Topics"));
    bars.AddTool(ids::ID_WhatsNew, Kind::Button, QStringLiteral("Whats &New"));
    bars.AddTool(ids::ID_About, Kind::Button, QStringLiteral("&About"));
    bars.Insert(ids::ID_Help, 1, ids::ID_HelpTopics);
    bars.Insert(ids::ID_Help, 2, ids::ID_WhatsNew);
    bars.Insert(ids::ID_Help, 3, ids::ID_KorvanaSystemsontheWeb);
    bars.Insert(ids::ID_Help, 4, ids::ID_About);

    for (const QString* id : {&ids::ID_File1, &ids::ID_File2, &ids::ID_File3, &ids::ID_File4})
        bars.SetVisible(*id, false);

    for (const QString* id :
         {&ids::ID_File, &ids::ID_Edit, &ids::ID_View, &ids::ID_CMenu, &ids::ID_Programmer, &ids::ID_Debug,
          &ids::ID_Options, &ids::ID_Window, &ids::ID_Help})
        bars.AddToToolBar(ids::MenuBar, *id);

    bars.AddTool(ids::ID_Device, Kind::Combo, QStringLiteral("&Micro"), QStringLiteral("Device"));
    bars.AddTool(ids::ID_OpenDocs, Kind::Text, QStringLiteral("Files: 0"));
    bars.AddTool(ids::ID_ClearError, Kind::Button, QStringLiteral("Clear Error"),
                 QStringLiteral("Clear Error"));
    bars.AddTool(ids::ID_NextError, Kind::Button, QStringLiteral("Next Error"), QStringLiteral("Next Error"));
    bars.AddTool(ids::ID_PreviousError, Kind::Button, QStringLiteral("Previous Error"),
                 QStringLiteral("Previous Error"));
    bars.AddTool(ids::ID_ClearAllErrors, Kind::Button, QStringLiteral("Clear All Errors"),
                 QStringLiteral("Clear All Errors"));
    // The Standard toolbar comes in parts, at three of its separators, so that a narrow frame can
    // wrap it onto more rows.
    const QString part;
    // clang-format off
    for (const QString* id :
         {&ids::ID_New,             &ids::ID_Open,            &ids::ID_Save,       &ids::ID_Print,
          &ids::Separator,          &ids::ID_Cut,             &ids::ID_Copy,       &ids::ID_Paste,
          &ids::Separator,          &ids::ID_Find,            &ids::ID_FindNext,   &ids::Separator,
          &ids::ID_Undo,            &ids::ID_Redo,            &part,               &ids::ID_Compile,
          &ids::ID_Simulate,        &ids::ID_StopSimulation,  &ids::ID_Epic,       &ids::Separator,
          &ids::ID_TBook,           &ids::ID_NBook,           &ids::ID_PBook,      &ids::ID_CBook,
          &part,                    &ids::ID_ClearError,      &ids::ID_NextError,  &ids::ID_PreviousError,
          &ids::ID_ClearAllErrors,  &part,                    &ids::ID_Device,     &ids::Separator,
          &ids::ID_OpenDocs}) {
        // clang-format on
        if (id == &part)
            bars.StartToolBarPart(ids::Standard);
        else
            bars.AddToToolBar(ids::Standard, *id);
    }

    bars.AddTool(ids::ID_GotoLabel, Kind::Combo, QStringLiteral("Goto &Label"), QStringLiteral("Goto Label"));
    bars.AddTool(ids::ID_Indent, Kind::Button, QStringLiteral("Indent"), QStringLiteral("Indent"));
    bars.AddTool(ids::ID_Outdent, Kind::Button, QStringLiteral("Outdent"), QStringLiteral("Outdent"));
    for (const QString* id : {&ids::ID_GotoLabel, &ids::Separator, &ids::ID_Indent, &ids::ID_Outdent})
        bars.AddToToolBar(ids::ListBar, *id);

    applyToolIcons(bars);
    for (QToolBar* bar : frameToolBars(bars))
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    // Keys for the commands the editor control does not take itself.
    const struct {
        const QString& id;
        QKeySequence key;
    } keys[] = {{ids::ID_New, QKeySequence::New},
                {ids::ID_Open, QKeySequence::Open},
                {ids::ID_Save, QKeySequence::Save},
                {ids::ID_Print, QKeySequence::Print},
                {ids::ID_Compile, QKeySequence(Qt::Key_F5)},
                {ids::ID_Simulate, QKeySequence(Qt::CTRL | Qt::Key_F5)},
                {ids::ID_StopSimulation, QKeySequence(Qt::SHIFT | Qt::Key_F5)},
                {ids::ID_StatementHelp, QKeySequence::HelpContents},
                {ids::ID_Close, QKeySequence(Qt::CTRL | Qt::Key_F4)},
                {ids::ID_SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}};
    for (const auto& k : keys)
        if (QAction* a = bars.action(k.id))
            a->setShortcut(k.key);

    // Keys the editor control takes itself: the menus show them, but the action only answers them
    // while its own menu has the focus, so a key in the editor runs its command once.
    for (const auto& k : editorKeys())
        if (QAction* a = bars.action(k.id)) {
            a->setShortcut(k.key);
            a->setShortcutContext(Qt::WidgetShortcut);
        }
}

QList<QToolBar*> frameToolBars(const ActiveToolBars& bars) {
    return bars.toolBarParts(ids::Standard) + bars.toolBarParts(ids::ListBar);
}

const std::vector<ToolKey>& editorKeys() {
    static const std::vector<ToolKey> keys = {
        {ids::ID_Undo, QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {ids::ID_Redo, QKeySequence(Qt::CTRL | Qt::Key_Y)},
        {ids::ID_Cut, QKeySequence(Qt::CTRL | Qt::Key_X)},
        {ids::ID_Copy, QKeySequence(Qt::CTRL | Qt::Key_C)},
        {ids::ID_Paste, QKeySequence(Qt::CTRL | Qt::Key_V)},
        {ids::ID_SelectAll, QKeySequence(Qt::CTRL | Qt::Key_A)},
        {ids::ID_Find, QKeySequence(Qt::CTRL | Qt::Key_F)},
        {ids::ID_FindNext, QKeySequence(Qt::Key_F3)},
        {ids::ID_Replace, QKeySequence(Qt::CTRL | Qt::Key_H)},
        {ids::ID_GotoLine, QKeySequence(Qt::CTRL | Qt::Key_G)},
        {ids::ID_TBook, QKeySequence(Qt::CTRL | Qt::Key_F2)},
        {ids::ID_NBook, QKeySequence(Qt::Key_F2)},
        {ids::ID_PBook, QKeySequence(Qt::SHIFT | Qt::Key_F2)},
        {ids::ID_CBook, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2)},
        {ids::ID_ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Plus)},
        {ids::ID_ZoomOut, QKeySequence(Qt::CTRL | Qt::Key_Minus)},
        {ids::ID_ZoomReset, QKeySequence(Qt::CTRL | Qt::Key_0)}};
    return keys;
}
