#pragma once

#include "platform/sourceview/SourceLexer.h"

#include <QString>
#include <QStringList>

#include <functional>

// What the editor knows about a line from its text: a label, a VAR or CON declaration, or both. The
// kind is kept in slot 2 of the line's data.
namespace sourcescan {

enum LineKind : int { NoKind = 0, LabelLine = 1, VarLine = 2, ConLine = 3, VarConLine = 4 };
constexpr int KindSlot = 2;
constexpr int StatementClass = 10;
// Slot 3 of the line data holds 1 on an INCLUDE line; the same scans that keep the kind keep it.
constexpr int IncludeSlot = 3;
// Slot 5 holds 1 on a line that declares a PicBasic SYMBOL; the same scans keep it.
constexpr int SymbolSlot = 5;

// A line is a label line when, TABs removed, its first p characters (p the 1-based position of the
// first ':') hold no space once trimmed. Leading spaces count towards p, so an indented "Loop: GOTO x"
// is not a label line. Nor is a line whose first token is a comment ("'Init:", and ";Init:" where ";"
// starts a comment), by the comment starters of the language.
bool isLabelLine(const QString& line, const LexerConfig& comments);
// The TAB-free, trimmed text up to its first ':' (the whole trimmed text when there is none).
QString labelName(const QString& line);

// The kind a line keeps after the label test: 1 for a label line, otherwise 0 instead of a stale 1.
int labelPass(const QString& line, int kind, const LexerConfig& comments);

// The token class the editor control gives the character at a 0-based column of the line.
using ClassAt = std::function<int(int column)>;
// The lookup over a line's tokens as the lexer gives them (0 outside every token).
ClassAt classesIn(const QList<SourceToken>& tokens);
// The same over tokens made by `lex` when a class is first asked for (a line whose words need no
// asking is never lexed).
ClassAt classesIn(std::function<QList<SourceToken>()> lex);

// The 0-based position of the first match of the word (any case) that the control colours as a
// statement, asked at the match's second letter; -1 when there is none. A match inside a longer name
// is part of that name's token, never a statement word of its own (no statement word holds VAR or CON
// inside it), so it is passed over without asking.
qsizetype statementWordAt(const QString& line, QLatin1StringView word, const ClassAt& classAt);

// The kind after the VAR and CON passes. A "VAR" or "CON" only counts when the control colours it as
// a statement (asked at the match's second letter), so one inside a comment, a string or a longer
// name does not. The label mark survives a line without declarations; a VAR overrides it, a CON
// turns it into 3 and joins a VAR into 4.
int declarationPass(const QString& line, int kind, const ClassAt& classAt);

// True when the declaration pass has anything to look at (the line holds "VAR" or "CON" in any case).
bool mayDeclare(const QString& line);

// The 0-based position of the word SYMBOL (any case) that opens the line, after its blanks and
// followed by a blank; -1 for any other line. A cheap test before the token classes are asked.
qsizetype symbolWordAt(const QString& line);
// True when the line opens with a SYMBOL that the control colours as a statement (asked at its second
// letter): only PicBasic's word list holds it, so a PicBasic Pro program declares none.
bool declaresSymbol(const QString& line, const ClassAt& classAt);

// The file an INCLUDE line names: the text between the double quotes after the word INCLUDE (any
// letter case, blanks before it allowed). Null for any other line, and for an empty or unclosed name.
QString includeName(const QString& line);

} // namespace sourcescan
