// The lexer under any line and any language settings: its tokens cover the line exactly, in order,
// each non-empty and of a known class. The first input line holds the comment starters and the string
// delimiter separated by TABs; lines beginning with a digit and '=' add a keyword to that list.
#include "platform/sourceview/SourceLexer.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QStringList lines = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size)).split(u'\n');
    const QStringList fields = lines.value(0).split(u'\t');
    const LexerConfig config{fields.value(0), fields.value(1), fields.value(2), fields.value(3)};
    KeywordTable keywords;
    for (const QString& line : lines)
        if (line.size() >= 2 && line[0] >= u'0' && line[0] <= u'9' && line[1] == u'=')
            keywords.add(line[0].unicode() - u'0', line.mid(2));
    for (const QString& line : lines.mid(1)) {
        int at = 0;
        for (const SourceToken& t : SourceLexer::lex(line, config, keywords)) {
            if (t.start != at || t.length <= 0 || t.cls < 0 || t.cls >= tokenclass::Count)
                std::abort();
            at += t.length;
        }
        if (at != line.size())
            std::abort();
        for (int pos = 0; pos < line.size(); ++pos) {
            int list = -1;
            const int n = keywords.match(line, pos, list);
            if (n < 0 || pos + n > line.size() || (n > 0 && (list < 0 || list >= KeywordTable::ListCount)))
                std::abort();
            const int unit = SourceLexer::unitLength(line, pos);
            if (unit <= 0 || pos + unit > line.size())
                std::abort();
        }
    }
    return 0;
}
