#pragma once

#include <QString>

// The ids of the frame's tools. Menus, toolbars and the dispatcher use these constants; lookup by id
// ignores letter case, the dispatcher compares a clicked id exactly.
namespace ids {

// Each id is one object of the program, made in ToolIds.cpp: an inline variable would give every file
// that includes this header an initializer of its own for all of them.
#ifdef PINWRIGHT_DEFINE_TOOL_IDS
#define PINWRIGHT_TOOL_NAME(name, text) extern const QString name = QStringLiteral(text)
#else
#define PINWRIGHT_TOOL_NAME(name, text) extern const QString name
#endif
#define PINWRIGHT_TOOL_ID(name) PINWRIGHT_TOOL_NAME(name, #name)

// menu titles
PINWRIGHT_TOOL_ID(ID_File);
PINWRIGHT_TOOL_ID(ID_Edit);
PINWRIGHT_TOOL_ID(ID_CMenu);
PINWRIGHT_TOOL_ID(ID_Programmer);
PINWRIGHT_TOOL_ID(ID_Debug);
PINWRIGHT_TOOL_ID(ID_Options);
PINWRIGHT_TOOL_ID(ID_Window);
PINWRIGHT_TOOL_ID(ID_Help);
PINWRIGHT_TOOL_ID(ID_KorvanaSystemsontheWeb);

// File
PINWRIGHT_TOOL_ID(ID_New);
PINWRIGHT_TOOL_ID(ID_Open);
PINWRIGHT_TOOL_ID(ID_Close);
PINWRIGHT_TOOL_ID(ID_Save);
PINWRIGHT_TOOL_ID(ID_SaveAs);
PINWRIGHT_TOOL_ID(ID_ReopenEncoding);
PINWRIGHT_TOOL_ID(ID_SaveEncoding);
PINWRIGHT_TOOL_ID(ID_Print);
PINWRIGHT_TOOL_ID(ID_File1);
PINWRIGHT_TOOL_ID(ID_File2);
PINWRIGHT_TOOL_ID(ID_File3);
PINWRIGHT_TOOL_ID(ID_File4);
PINWRIGHT_TOOL_ID(ID_Exit);

// Edit
PINWRIGHT_TOOL_ID(ID_Undo);
PINWRIGHT_TOOL_ID(ID_Redo);
PINWRIGHT_TOOL_ID(ID_Cut);
PINWRIGHT_TOOL_ID(ID_Copy);
PINWRIGHT_TOOL_ID(ID_Paste);
PINWRIGHT_TOOL_ID(ID_SelectAll);
PINWRIGHT_TOOL_ID(ID_SelectLine);
PINWRIGHT_TOOL_ID(ID_SelectWord);
PINWRIGHT_TOOL_ID(ID_BackgroundColor);
PINWRIGHT_TOOL_ID(ID_TokenColor);
PINWRIGHT_TOOL_ID(ID_Find);
PINWRIGHT_TOOL_ID(ID_FindNext);
PINWRIGHT_TOOL_ID(ID_Replace);
PINWRIGHT_TOOL_ID(ID_GotoLine);
PINWRIGHT_TOOL_ID(ID_TBook);
PINWRIGHT_TOOL_ID(ID_NBook);
PINWRIGHT_TOOL_ID(ID_PBook);
PINWRIGHT_TOOL_ID(ID_CBook);

// error marks, indent
PINWRIGHT_TOOL_ID(ID_ClearError);
PINWRIGHT_TOOL_ID(ID_NextError);
PINWRIGHT_TOOL_ID(ID_PreviousError);
PINWRIGHT_TOOL_ID(ID_ClearAllErrors);
PINWRIGHT_TOOL_ID(ID_Indent);
PINWRIGHT_TOOL_ID(ID_Outdent);

// Compile, Programmer
PINWRIGHT_TOOL_ID(ID_Compile);
PINWRIGHT_TOOL_ID(ID_CompilerOptions);
PINWRIGHT_TOOL_ID(ID_Epic);
PINWRIGHT_TOOL_ID(ID_ProgrammerOptions);
// the simulated board
PINWRIGHT_TOOL_ID(ID_Simulate);
PINWRIGHT_TOOL_ID(ID_StopSimulation);
PINWRIGHT_TOOL_ID(ID_SimulatorOptions);

// Options
PINWRIGHT_TOOL_ID(ID_NoMargin);
PINWRIGHT_TOOL_ID(ID_FixedMargin);
PINWRIGHT_TOOL_ID(ID_ScrollingMargin);
PINWRIGHT_TOOL_ID(ID_PrintLineNumbers);

// View
PINWRIGHT_TOOL_ID(ID_View);
PINWRIGHT_TOOL_ID(ID_CodeExplorer);
PINWRIGHT_TOOL_ID(ID_ZoomIn);
PINWRIGHT_TOOL_ID(ID_ZoomOut);
PINWRIGHT_TOOL_ID(ID_ZoomReset);
// on the Edit menu, which is also the editor's pop-up menu
PINWRIGHT_TOOL_ID(ID_OpenInclude);

// Window
PINWRIGHT_TOOL_ID(ID_TileH);
PINWRIGHT_TOOL_ID(ID_TileV);
PINWRIGHT_TOOL_ID(ID_Cascade);
PINWRIGHT_TOOL_ID(ID_Arrange);

// Help
PINWRIGHT_TOOL_ID(ID_HelpTopics);
// F1 and Help on the pop-up menu: the page of the statement under the caret, else the contents.
PINWRIGHT_TOOL_ID(ID_StatementHelp);
PINWRIGHT_TOOL_ID(ID_WhatsNew);
PINWRIGHT_TOOL_ID(ID_About);
PINWRIGHT_TOOL_ID(ID_OrderOnline);
PINWRIGHT_TOOL_ID(ID_ProductUpdates);
PINWRIGHT_TOOL_ID(ID_BugReport);
PINWRIGHT_TOOL_ID(ID_PinwrightHomePage);
PINWRIGHT_TOOL_ID(ID_KorvanaSystemsHomePage);

// combos and text tools
PINWRIGHT_TOOL_ID(ID_Device);
PINWRIGHT_TOOL_ID(ID_GotoLabel);
PINWRIGHT_TOOL_ID(ID_OpenDocs);

// the serial terminal's combos
PINWRIGHT_TOOL_ID(ID_ComPort);
PINWRIGHT_TOOL_ID(ID_BaudRate);
PINWRIGHT_TOOL_ID(ID_DataBits);
PINWRIGHT_TOOL_ID(ID_Parity);
PINWRIGHT_TOOL_ID(ID_StopBits);

#undef PINWRIGHT_TOOL_ID

PINWRIGHT_TOOL_NAME(Separator, "separator");

// The recent-file entries of the File menu, newest first.
inline constexpr const QString* RecentFiles[4] = {&ID_File1, &ID_File2, &ID_File3, &ID_File4};

// Toolbar names.
PINWRIGHT_TOOL_NAME(MenuBar, "MenuBar");
PINWRIGHT_TOOL_NAME(Standard, "Standard");
PINWRIGHT_TOOL_NAME(ListBar, "ListBar");
PINWRIGHT_TOOL_NAME(DebugSettings, "Debug Settings");

#undef PINWRIGHT_TOOL_NAME

} // namespace ids
