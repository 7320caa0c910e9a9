#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// How source text goes onto paper: a monospace grid of `columns` cells by `rows` rows per page.
// Long lines wrap at a word boundary; their continued parts begin with a mark and are indented.
// Pure: the printing code draws what this decides.
namespace printlayout {

// Cells a continued part is indented by; its mark stands in the first of them.
inline constexpr int ContinuationIndent = 2;
// The mark at the start of a continued part.
inline constexpr char16_t ContinuationMark = u'\u2192';

// One printed row: `length` characters of line `line` from `start`. `continued` for the parts after
// the first, which stand ContinuationIndent cells to the right.
struct Row {
    int line = 0;
    int start = 0;
    int length = 0;
    bool continued = false;
    bool operator==(const Row&) const = default;
};

// The parts of one line (TABs already expanded) that fit `columns` cells. A break falls after the
// last blank or punctuation that fits, never inside a name (PORTB.0 is one) unless the word alone is too
// long; the blanks at a break are dropped. An empty line is one empty row.
QList<Row> wrapLine(int line, QStringView text, int columns);

// The pages: `lines` are numbered from `firstLine`; each page holds at most `rows` rows. A line's
// parts may go on over a page break. Too narrow or short a page still gets one cell and one row.
QList<QList<Row>> paginate(const QStringList& lines, int firstLine, int columns, int rows);

// The cells the line numbers take, a blank after them included: 0 without numbers.
int numberCells(int lastLineNumber, bool lineNumbers);

// The three parts of a page's header line.
struct Header {
    QString left;   // the file's name, "Untitled" without one
    QString middle; // "Page n of m"
    QString right;  // the date
    bool operator==(const Header&) const = default;
};
Header header(const QString& path, int page, int pages, const QDate& date);

// A line with each TAB replaced by blanks up to the next stop of `tabWidth` cells.
QString expandTabs(QStringView text, int tabWidth);

} // namespace printlayout
