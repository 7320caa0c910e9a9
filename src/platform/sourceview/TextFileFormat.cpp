#include "platform/sourceview/TextFileFormat.h"

#include "platform/TextEncoding.h"

#include <cstring>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

bool hasUtf8Bom(const QByteArray& bytes) {
    return bytes.startsWith(kBom) &&
           textenc::isValidUtf8(QByteArray::fromRawData(bytes.constData() + 3, bytes.size() - 3));
}

} // namespace

LineEnding TextFileFormat::platformEnding() {
#ifdef Q_OS_WIN
    return LineEnding::CRLF;
#else
    return LineEnding::LF;
#endif
}

TextFileFormat TextFileFormat::detect(const QByteArray& bytes, const QString& eightBit, const QString& forced) {
    TextFileFormat f;
    // Each CR is looked at once: the text of a line goes by unread.
    qsizetype crlf = 0;
    qsizetype cr = 0;
    const char* const end = bytes.constData() + bytes.size();
    for (const char* p = bytes.constData(); (p = static_cast<const char*>(std::memchr(p, '\r', end - p)));) {
        ++p;
        ++(p < end && *p == '\n' ? crlf : cr);
    }
    const qsizetype lf = bytes.count('\n') - crlf;
    if (crlf + lf + cr > 0)
        f.newLines = crlf >= lf && crlf >= cr ? LineEnding::CRLF : lf >= cr ? LineEnding::LF : LineEnding::CR;
    QString named = textenc::canonicalName(forced);
    // Bytes that are not UTF-8 are never read as UTF-8: their replacement characters would be saved.
    if (!named.isEmpty() && !textenc::isEightBit(named) && !textenc::isValidUtf8(bytes))
        named.clear();
    if (!named.isEmpty()) {
        f.encoding = named;
        f.bom = f.encoding == QLatin1String(textenc::Utf8) && bytes.startsWith(kBom);
    } else if (hasUtf8Bom(bytes)) {
        f.bom = true;
    } else if (!textenc::isValidUtf8(bytes)) {
        const QString fallback = textenc::canonicalName(eightBit);
        f.encoding = textenc::isEightBit(fallback) ? fallback : QString::fromLatin1(textenc::DefaultEightBit);
    }
    return f;
}

QString TextFileFormat::decode(const QByteArray& bytes) const {
    if (bom && bytes.startsWith(kBom))
        return textenc::decode(encoding, QByteArray::fromRawData(bytes.constData() + 3, bytes.size() - 3));
    return textenc::decode(encoding, bytes);
}

bool TextFileFormat::encode(QStringView text, QByteArray& out) const {
    if (!textenc::encode(encoding, text, out))
        return false;
    if (bom && !textenc::isEightBit(encoding))
        out.prepend(kBom);
    return true;
}

TextFileFormat::Content TextFileFormat::classify(QByteArrayView bytes) {
    if (bytes.contains('\0'))
        return Content::HasNul;
    const QByteArrayView sample = bytes.first(qMin(bytes.size(), SampleSize));
    // Control characters other than TAB, LF, FF, CR and ESC are rare in text of any encoding; in
    // machine code and images they are everywhere.
    qsizetype control = 0;
    for (const char ch : sample) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b < 0x20 && b != '\t' && b != '\n' && b != '\f' && b != '\r' && b != 0x1B) || b == 0x7F)
            ++control;
    }
    return control * 10 > sample.size() ? Content::Binary : Content::Text;
}
