#pragma once

#include <QString>

// Text helpers with the classic BASIC semantics that the handlers rely on.
namespace text {

// The leading number of a text: blanks, TABs and line feeds skipped, an optional sign, digits,
// an optional fraction and exponent; "&H" and "&O" prefixes read hexadecimal and octal.
// Reading stops at the first character that cannot continue the number; 0 when there is none.
double Val(const QString& s);

// Val truncated towards zero and clamped into the 32-bit range.
int ValInt(const QString& s);

// A number as text with one leading blank in place of the plus sign (" 5", "-5").
QString Str(long long n);

// Removes leading and trailing spaces only (TABs and other white space stay).
QString Trim(const QString& s);

// 1-based position of `needle` in `hay` from 1-based `start`, 0 when absent (InStr).
int InStr(int start, const QString& hay, const QString& needle, Qt::CaseSensitivity cs = Qt::CaseSensitive);

// Strict conversion of a whole text to a number, as a typed assignment would do it: blanks around the
// number are allowed, nothing else. Returns false when the text is not a number ("Type mismatch").
bool ToNumber(const QString& s, double& out);

} // namespace text
