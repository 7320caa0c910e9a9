// Any file a user may open (any encoding, line endings, NULs, stray CRs, byte order marks) is written
// back byte for byte when saved unchanged.
#include "platform/sourceview/SourceDocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString opened = dir.filePath(QStringLiteral("opened.pbp"));
    const QString saved = dir.filePath(QStringLiteral("saved.pbp"));
    {
        QFile f(opened);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            std::abort();
    }
    SourceDocument doc;
    AppError error;
    if (!doc.LoadFile(opened, &error) || !doc.SaveFile(saved, &error))
        std::abort();
    QFile f(saved);
    if (!f.open(QIODevice::ReadOnly) || f.readAll() != bytes)
        std::abort();
    return 0;
}
