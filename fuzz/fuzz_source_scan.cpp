// The label test and the VAR/CON passes over any line, asked through the real lexer with the
// declaration words as statements: the kind stays one of the five, the lexer is only asked about
// columns inside the line, and a label line's name holds no blank.
#include "language/SourceScan.h"
#include "platform/sourceview/SourceLexer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const LexerConfig config{QStringLiteral("'"), QStringLiteral("rem"), QStringLiteral("\""), QStringLiteral(";")};
    static const KeywordTable keywords = [] {
        KeywordTable k;
        for (const char* w : {"VAR", "CON", "GOTO", "HIGH", "ON INTERRUPT", "DEFINE"})
            k.add(0, QString::fromLatin1(w));
        k.add(1, QStringLiteral("BYTE"));
        return k;
    }();
    const QStringList lines = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    for (const QString& line : lines) {
        const QList<SourceToken> tokens = SourceLexer::lex(line, config, keywords);
        const sourcescan::ClassAt classAt = [&](int column) {
            if (column < 0 || column >= line.size())
                std::abort();
            for (const SourceToken& t : tokens)
                if (column < t.start + t.length)
                    return t.cls;
            std::abort();
        };
        for (int kind = sourcescan::NoKind; kind <= sourcescan::VarConLine; ++kind) {
            const int afterLabel = sourcescan::labelPass(line, kind, config);
            const int after = sourcescan::mayDeclare(line) ? sourcescan::declarationPass(line, afterLabel, classAt)
                                                           : afterLabel;
            if (after < sourcescan::NoKind || after > sourcescan::VarConLine)
                std::abort();
        }
        if (sourcescan::isLabelLine(line, config) && sourcescan::labelName(line).contains(u' '))
            std::abort();
    }
    return 0;
}
