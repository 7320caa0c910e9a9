#pragma once

#include "language/DeviceDatabase.h"
#include "language/SourceScan.h"

#include <QString>
#include <QStringList>

// The quick pop-up lists: where their entries come from, which list a statement's argument wants, and
// how a picked entry is inserted.
namespace quicklists {

// QuickListMode, the pop-up state the caret, the keys and the lists share.
enum Mode : qint32 {
    Idle = 0,
    OnStatement = -1,  // the caret is on a statement keyword
    WantArguments = 2, // an argument list of the current statement is wanted
    Shown = 10,        // a list has been filled and shown
    OnDefine = 11,     // the caret is on the word DEFINE
    WantOptions = 12,  // DEFINE and a blank: the option names are wanted
    OnOption = 13,     // the caret is on a DEFINE option name
    WantValues = 14,   // an option name and a blank: its values are wanted
};

enum class Source {
    None,
    DeclaredVariables,
    Labels,
    DevicePins,
    DevicePorts,
    PbcVariables,
    PbcPins,
    LcdCommands,
    NapPeriods,
    SerialModes,
    IncludeFiles,
    VariableSizes,
    OscillatorSpeeds,
    NoList,
    DefineNames,
};

// How a picked entry is inserted (ListMode): 0 as it stands, 1 an include file, 2 the code before "-".
enum InsertMode : int { InsertText = 0, InsertInclude = 1, InsertCode = 2 };
int insertMode(Source source);

// The text accepting an entry inserts for modes 0 and 2 (mode 1 quotes it; "Browse" asks for a file).
QString insertedText(const QString& entry, int listMode);
bool isBrowseEntry(const QString& entry);

// The declared-variable entry of a VAR line: the text before its VAR statement word (the first "VAR"
// the control colours as a statement, so not the one inside "myVar"), trimmed of blanks and TABs.
// Null for a line without one (a mark its text no longer bears out).
QString declaredName(const QString& line, const sourcescan::ClassAt& classAt);

// The entries of the lists that need no document: device pins and ports, the PicBasic names and the
// fixed lists. Declared variables and labels come from the document (see the builders below).
QStringList fixedEntries(Source source, const DevicePortTable& ports, const QStringList& defineNames = {});
// The declared names, or "No Variables" when the document gave none.
QStringList variableEntries(const QStringList& names);
// The names of the label lines that pass the label test, or "No Labels".
QStringList labelEntries(const QStringList& labelLines, const LexerConfig& comments);

// The key lists, by the product KeyCode x Shift (480, 484, 488, 492); Source::None for other keys.
struct KeyList {
    Source source = Source::None;
    QString title;
};
KeyList keyList(int key, bool pbpMode);

// The number of commas of the statement: the line with ":" appended, cut before the first ":" at or
// after the keyword's 1-based column, commas counted from the line's start. A comma inside a string
// literal ("a,b") separates nothing and is not counted.
int argumentNumber(const QString& line, int keywordColumn);

// What a statement wants for an argument number.
enum class Action {
    Show,          // show `source`
    Hide,          // hide the list, keep the syntax line
    HideNoSyntax,  // hide the list without the syntax line (Low)
    Nothing,       // change nothing
    Branch,        // Branch/BranchL: "[" after the first comma, then labels; the index otherwise
};
struct StatementList {
    Action action = Action::Nothing;
    Source source = Source::None;
};
StatementList statementList(bool pbpMode, int row, int argument);

// The values list of a DEFINE option (by its entry number), for PicBasic Pro.
Source defineValues(int defineEntry);

} // namespace quicklists
