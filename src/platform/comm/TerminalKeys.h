#pragma once

#include <QByteArray>
#include <QString>
#include <Qt>

// What a key typed into the terminal sends to the board.
namespace terminalkeys {

// What the Enter key sends, as listed in the terminal's choice: 0 CR, 1 LF, 2 CRLF.
enum class Enter { CR = 0, LF = 1, CRLF = 2 };
QByteArray lineEnding(Enter enter);

// The bytes of one key press: Enter sends the chosen line ending, Backspace BS, Tab TAB, Escape ESC,
// Delete DEL, Ctrl with a letter the control code of that letter, any other key its text in UTF-8.
// Keys that send nothing (arrows, function keys, a bare modifier) give an empty array.
QByteArray keyBytes(int key, Qt::KeyboardModifiers modifiers, const QString& text, Enter enter);

// The bytes of pasted text: each line break (CR LF, CR or LF) sent as the chosen line ending, in UTF-8.
// Nothing is added after the last line, so a paste never runs as a command by itself.
QByteArray pasteBytes(const QString& pasted, Enter enter);

} // namespace terminalkeys
