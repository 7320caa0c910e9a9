#pragma once

#include "platform/sourceview/LineStore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// How a source file's text is stored: its encoding, its byte order mark, and the break new lines get.
// Each line's own break is kept by the line store, so text read with a format and written with it
// again gives back the same bytes, and an edit changes only the bytes of what was edited.
class TextFileFormat {
public:
    QString encoding = QStringLiteral("UTF-8"); // a name from textenc::names()
    bool bom = false;                           // UTF-8 only
    LineEnding newLines = platformEnding();

    // The format of a file's bytes: UTF-8 when they are well-formed UTF-8 (after a byte order mark, kept),
    // `eightBit` otherwise; new lines take the break that ends most lines, the platform's when none does.
    // A non-empty `forced` encoding is used whatever the bytes hold (reopening with another encoding).
    static TextFileFormat detect(const QByteArray& bytes, const QString& eightBit, const QString& forced = {});
    // The text of the bytes, byte order mark left out, breaks as they are.
    QString decode(const QByteArray& bytes) const;
    // The bytes of the text (breaks as they are), the mark put back; false when a character cannot be
    // written in the encoding.
    bool encode(QStringView text, QByteArray& out) const;

    // CR LF on Windows, LF elsewhere.
    static LineEnding platformEnding();

    // What a file's bytes look like: text, text with NUL bytes anywhere, or mostly not text (judged
    // by the first SampleSize bytes).
    enum class Content { Text, HasNul, Binary };
    static Content classify(QByteArrayView bytes);
    static constexpr qsizetype SampleSize = 1 << 20;
};
