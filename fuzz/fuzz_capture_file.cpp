// The compiler's captured output in any bytes: decoding keeps every byte of a non-UTF-8 capture, and
// the index of first errors by document line points at an error of that line in the document itself.
#include "toolchain/CaptureFile.h"
#include "platform/TextEncoding.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = capture::decode(bytes);
    if (!textenc::isValidUtf8(bytes)) {
        QByteArray back;
        if (!textenc::encode1252(text, back) || back != bytes)
            std::abort();
    }
    const capture::Capture c = capture::parse(text, QStringLiteral("main.pbp"));
    for (auto it = c.firstOfLine.cbegin(); it != c.firstOfLine.cend(); ++it) {
        if (*it < 0 || *it >= c.errors.size())
            std::abort();
        const capture::ErrorLine& e = c.errors[*it];
        if (e.line != it.key() || !e.file.isEmpty() || c.find(it.key()) != &e)
            std::abort();
    }
    for (const capture::ErrorLine& e : c.errors)
        if (e.file.isEmpty() && !c.find(e.line))
            std::abort();
    if (c.errorsFound() != (!c.errors.isEmpty() || c.malformed))
        std::abort();
    return 0;
}
