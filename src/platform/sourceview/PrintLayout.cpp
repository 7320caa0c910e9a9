#include "platform/sourceview/PrintLayout.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace printlayout {

namespace {
// Names hold letters, digits, '_' and the '.' of a bit or a field (PORTB.0).
bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}
} // namespace

QList<Row> wrapLine(int line, QStringView text, int columns) {
    const int n = int(text.size());
    QList<Row> rows;
    int start = 0;
    bool continued = false;
    do {
        const int room = std::max(1, continued ? columns - ContinuationIndent : columns);
        int end = n;
        if (n - start > room) {
            // The last break that fits: between two characters that are not both part of a word.
            end = start + room;
            int at = end;
            while (at > start && isNameChar(text[at - 1]) && isNameChar(text[at]))
                --at;
            if (at > start)
                end = at;
        }
        int shown = end;
        while (shown > start && text[shown - 1].isSpace())
            --shown;
        rows.append({line, start, shown - start, continued});
        start = end;
        while (start < n && text[start].isSpace())
            ++start;
        continued = true;
    } while (start < n);
    return rows;
}

QList<QList<Row>> paginate(const QStringList& lines, int firstLine, int columns, int rows) {
    rows = std::max(1, rows);
    QList<QList<Row>> pages;
    QList<Row> page;
    for (int i = 0; i < int(lines.size()); ++i) {
        for (const Row& r : wrapLine(firstLine + i, lines[i], std::max(1, columns))) {
            if (int(page.size()) == rows) {
                pages.append(page);
                page.clear();
            }
            page.append(r);
        }
    }
    if (!page.isEmpty() || pages.isEmpty())
        pages.append(page);
    return pages;
}

int numberCells(int lastLineNumber, bool lineNumbers) {
    return lineNumbers ? int(QString::number(std::max(1, lastLineNumber)).size()) + 1 : 0;
}

Header header(const QString& path, int page, int pages, const QDate& date) {
    const QString name = QFileInfo(path).fileName();
    return {name.isEmpty() ? QStringLiteral("Untitled") : name,
            QStringLiteral("Page %1 of %2").arg(page).arg(pages),
            QLocale().toString(date, QLocale::ShortFormat)};
}

QString expandTabs(QStringView text, int tabWidth) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\t')
            out += QString(tabWidth - int(out.size()) % tabWidth, u' ');
        else
            out += c;
    }
    return out;
}

} // namespace printlayout
