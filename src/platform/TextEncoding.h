#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

// Byte <-> text conversions for source files: UTF-8, Latin-1 and the Windows code pages 1250..1258.
// Every 8-bit encoding maps each of its 256 bytes to its own character, so any bytes read in one come
// back unchanged when written in it again.
namespace textenc {

inline constexpr char Utf8[] = "UTF-8";
inline constexpr char Latin1[] = "ISO-8859-1";
// The 8-bit encoding used when the system names none of its own.
inline constexpr char DefaultEightBit[] = "Windows-1252";

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(const QByteArray& bytes);

// UTF-8 to text, every character kept: a byte order mark at the start stays a U+FEFF character
// (QString::fromUtf8 drops it, which would lose bytes of a file that holds one after its own mark).
QString decodeUtf8(const QByteArray& bytes);

// The encodings a file can be read and written in: UTF-8 first, then the 8-bit ones.
QStringList names();
// The name as names() spells it ("cp1254", "windows-1254" and "WINDOWS-1254" are "Windows-1254",
// "latin1" is "ISO-8859-1"); empty when the encoding is not one of them.
QString canonicalName(QStringView name);
bool isEightBit(QStringView canonical);

// Decodes in a known encoding (canonical name); UTF-8 for any other name.
QString decode(QStringView encoding, const QByteArray& bytes);
// Returns false (and leaves `out` partial) when a character has no byte sequence in the encoding.
bool encode(QStringView encoding, QStringView text, QByteArray& out);
// The first character of `text` that the encoding cannot hold; -1 when it holds them all.
qsizetype firstUnencodable(QStringView encoding, QStringView text);

// The 8-bit encoding the system reads text files in, when it has one we know: the ANSI code page on
// Windows, the locale's character set elsewhere (none when that is UTF-8). Empty otherwise.
QString systemEightBit();

// Windows-1252, both ways (the five undefined bytes map to the control characters of the same value).
QString decode1252(const QByteArray& bytes);
bool encode1252(const QString& text, QByteArray& out);

} // namespace textenc
