#include "toolchain/CommandLine.h"

#include <QFileInfo>

namespace cmdline {

QStringList splitArguments(const QString& text) {
    QStringList words;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote) {
                if (quote == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                    word += c;
                    ++i;
                } else {
                    quote = QChar();
                }
            } else {
                word += c;
            }
        } else if (c == u' ' || c == u'\t') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            inWord = true;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QStringList expand(const QStringList& words, const Placeholders& values) {
    QStringList out;
    out.reserve(words.size());
    for (QString w : words) {
        w.replace(QStringLiteral("%HEX%"), values.hex, Qt::CaseInsensitive);
        w.replace(QStringLiteral("%SOURCE%"), values.source, Qt::CaseInsensitive);
        w.replace(QStringLiteral("%DEVICE%"), values.device, Qt::CaseInsensitive);
        out << w;
    }
    return out;
}

QString hexFileOf(const QString& document) {
    if (document.isEmpty())
        return {};
    const QFileInfo fi(document);
    const QString suffix = fi.suffix();
    const QString base = suffix.isEmpty() ? document : document.left(document.size() - suffix.size() - 1);
    return base + QStringLiteral(".hex");
}

} // namespace cmdline
