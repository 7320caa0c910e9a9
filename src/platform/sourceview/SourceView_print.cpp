#include "platform/sourceview/SourceView.h"

#include "platform/Prompts.h"
#include "platform/sourceview/SourceTextArea.h"

#include <QDir>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <memory>

std::unique_ptr<QTextDocument> SourceView::printDocument() const {
    auto out = std::make_unique<QTextDocument>();
    // The zoom is for the screen: paper gets the normal size.
    QFont font = textArea_->font();
    font.setPointSizeF(normalPointSize_);
    out->setDefaultFont(font);
    QTextOption option = out->defaultTextOption();
    option.setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * TabWidth);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    out->setDefaultTextOption(option);

    QTextCursor c(out.get());
    c.beginEditBlock();
    QTextCharFormat plain;
    plain.setForeground(QColor(Qt::black));
    bool first = true;
    for (int line = 0; line < document_.NumLines(); ++line) {
        if (!first)
            c.insertBlock();
        first = false;
        const QString text = document_.GetLine(line);
        // Colour copies are taken from the print styles; the screen cache serves the tokens.
        for (const SourceToken& t : document_.tokens(line)) {
            QTextCharFormat f = plain;
            if (printTokenInfo_.HasForegroundColor(t.cls))
                f.setForeground(printTokenInfo_.foreground(t.cls, Qt::black));
            if (printTokenInfo_.HasBackgroundColor(t.cls))
                f.setBackground(printTokenInfo_.background(t.cls, Qt::white));
            if (printTokenInfo_.isBold(t.cls))
                f.setFontWeight(QFont::Bold);
            c.insertText(text.mid(t.start, t.length), f);
        }
    }
    c.endEditBlock();
    return out;
}

bool SourceView::PrintTo(QPrinter& printer) {
    if (!printer.isValid())
        return false;
    const auto doc = printDocument();
    doc->print(&printer);
    return printer.printerState() != QPrinter::Error && printer.printerState() != QPrinter::Aborted;
}

void SourceView::PrintText() {
    QPrinter printer;
    printer.setDocName(document_.PathName());
    if (!prompts()->choosePrinter(this, printer))
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
