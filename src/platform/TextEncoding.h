#pragma once

#include <QByteArray>
#include <QString>

// Byte <-> text conversions for source files.
namespace textenc {

// True when the bytes are well-formed UTF-8.
bool isValidUtf8(const QByteArray& bytes);

// UTF-8 to text, every character kept: a byte order mark at the start stays a U+FEFF character
// (QString::fromUtf8 drops it, which would lose bytes of a file that holds one after its own mark).
QString decodeUtf8(const QByteArray& bytes);

// Windows-1252, both ways. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) map to the control characters of the same value, so every byte survives a round trip.
QString decode1252(const QByteArray& bytes);
// Returns false (and leaves `out` partial) when a character has no Windows-1252 byte.
bool encode1252(const QString& text, QByteArray& out);

} // namespace textenc
