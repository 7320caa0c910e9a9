#include "platform/sourceview/SourceView.h"

#include "platform/Prompts.h"
#include "platform/sourceview/PrintLayout.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QDate>
#include <QDir>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <memory>

std::unique_ptr<QTextDocument> SourceView::printDocument(bool selectionOnly) const {
    auto out = std::make_unique<QTextDocument>();
    // The zoom is for the screen: paper gets the normal size.
    QFont font = textArea_->font();
    font.setPointSizeF(normalPointSize_);
    out->setDefaultFont(font);
    QTextOption option = out->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    out->setDefaultTextOption(option);

    TextPos from;
    TextPos to = document_.endPos();
    if (selectionOnly && TextSelected()) {
        from = selStart();
        to = selEnd();
        // A selection that ends at the start of a line does not take that line.
        if (to.col == 0 && to.line > from.line)
            to = {to.line - 1, document_.GetLineLength(to.line - 1)};
    }
    QTextCursor c(out.get());
    c.beginEditBlock();
    QTextCharFormat plain;
    plain.setForeground(QColor(Qt::black));
    for (int line = from.line; line <= to.line; ++line) {
        if (line > from.line)
            c.insertBlock();
        const QString text = document_.GetLine(line);
        const int first = line == from.line ? from.col : 0;
        const int last = line == to.line ? to.col : int(text.size());
        // TABs become blanks here, so that the layout counts cells alone.
        int cells = 0;
        // Colour copies are taken from the print styles; the screen cache serves the tokens.
        for (const SourceToken& t : document_.tokens(line)) {
            const int start = std::max(t.start, first);
            const int end = std::min(t.start + t.length, last);
            if (start >= end)
                continue;
            QTextCharFormat f = plain;
            if (printTokenInfo_.HasForegroundColor(t.cls))
                f.setForeground(printTokenInfo_.foreground(t.cls, Qt::black));
            if (printTokenInfo_.HasBackgroundColor(t.cls))
                f.setBackground(printTokenInfo_.background(t.cls, Qt::white));
            if (printTokenInfo_.isBold(t.cls))
                f.setFontWeight(QFont::Bold);
            QString piece;
            for (QChar ch : QStringView(text).mid(start, end - start)) {
                const int next = nextColumn(cells, ch);
                piece += ch == u'\t' ? QString(next - cells, u' ') : QString(ch);
                cells = next;
            }
            c.insertText(piece, f);
        }
    }
    c.endEditBlock();
    return out;
}

namespace {
// Draws `length` characters of a laid-out block from `start` in cells of `cell` width from `x`, each
// in its own format.
void drawRun(QPainter& p, const QTextBlock& block, int start, int length, qreal x, qreal baseline, qreal cell) {
    const QString text = block.text();
    const QFont font = p.font();
    for (const QTextLayout::FormatRange& f : block.textFormats()) {
        const int from = std::max(start, f.start);
        const int to = std::min(start + length, f.start + f.length);
        if (from >= to)
            continue;
        QFont ff = font;
        ff.setBold(f.format.fontWeight() >= QFont::Bold);
        p.setFont(ff);
        p.setPen(f.format.foreground().color());
        for (int i = from; i < to; ++i)
            p.drawText(QPointF(x + (i - start) * cell, baseline), QString(text[i]));
    }
    p.setFont(font);
}
} // namespace

bool SourceView::PrintTo(QPrinter& printer) {
    if (!printer.isValid())
        return false;
    const bool selection = printer.printRange() == QPrinter::Selection && TextSelected();
    const auto doc = printDocument(selection);
    QStringList lines;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
        lines << b.text();
    const int firstNumber = selection ? selStart().line + 1 : 1;

    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QFont font = doc->defaultFont();
    p.setFont(font);
    const QFontMetricsF fm(font, &printer);
    const qreal cell = fm.horizontalAdvance(u'M');
    const qreal rowHeight = fm.lineSpacing();
    const QRectF area(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    const qreal top = rowHeight * 2; // the header row and a gap below it
    const int numberCells = printlayout::numberCells(firstNumber + int(lines.size()) - 1, printLineNumbers_);
    const int columns = int(area.width() / cell) - numberCells;
    const int rows = int((area.height() - top) / rowHeight);
    const QList<QList<printlayout::Row>> pages = printlayout::paginate(lines, 0, columns, rows);
    const int pageCount = int(pages.size());
    int fromPage = 1;
    int toPage = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        fromPage = std::min(printer.fromPage(), pageCount);
        toPage = std::clamp(printer.toPage() > 0 ? printer.toPage() : pageCount, fromPage, pageCount);
    }
    const QDate today = QDate::currentDate();
    const QColor grey(110, 110, 110);
    for (int n = fromPage; n <= toPage; ++n) {
        if (n > fromPage && !printer.newPage())
            break;
        const printlayout::Header h = printlayout::header(document_.PathName(), n, pageCount, today);
        QFont bold = font;
        bold.setBold(true);
        p.setFont(bold);
        p.setPen(Qt::black);
        const QRectF headerRow(area.left(), area.top(), area.width(), rowHeight);
        p.drawText(headerRow, Qt::AlignLeft | Qt::AlignVCenter, h.left);
        p.drawText(headerRow, Qt::AlignHCenter | Qt::AlignVCenter, h.middle);
        p.drawText(headerRow, Qt::AlignRight | Qt::AlignVCenter, h.right);
        p.setPen(QPen(grey, 0));
        p.drawLine(QPointF(area.left(), rowHeight * 1.3), QPointF(area.right(), rowHeight * 1.3));
        p.setFont(font);
        qreal y = top;
        for (const printlayout::Row& r : pages[n - 1]) {
            const qreal baseline = y + fm.ascent();
            if (numberCells > 0 && !r.continued) {
                p.setPen(grey);
                p.drawText(QRectF(0, y, (numberCells - 1) * cell, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
                           QString::number(firstNumber + r.line));
            }
            qreal x = numberCells * cell;
            if (r.continued) {
                p.setPen(grey);
                p.drawText(QPointF(x, baseline), QString(QChar(printlayout::ContinuationMark)));
                x += printlayout::ContinuationIndent * cell;
            }
            drawRun(p, doc->findBlockByNumber(r.line), r.start, r.length, x, baseline, cell);
            y += rowHeight;
        }
    }
    p.end();
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void SourceView::PrintText() {
    QPrinter printer;
    printer.setDocName(document_.PathName());
    if (!prompts()->choosePrinter(this, printer, TextSelected()))
        return;
    if (PrintTo(printer))
        return;
    const QString where = printer.outputFileName().isEmpty()
                              ? printer.printerName()
                              : QDir::toNativeSeparators(printer.outputFileName());
    prompts()->message(this, where.isEmpty() ? QStringLiteral("Unable to print: no printer is available.")
                                             : QStringLiteral("Unable to print to ") + where + u'.',
                       QString(), Prompts::Buttons::Ok, Prompts::Icon::Exclamation);
}
