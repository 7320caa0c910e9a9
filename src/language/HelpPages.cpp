#include "language/HelpPages.h"

#include "language/StatementTable.h"

namespace {

QString compilerName(bool pbpMode) {
    return pbpMode ? QStringLiteral("PicBasic Pro Compiler") : QStringLiteral("PicBasic Compiler");
}

int rowCount(bool pbpMode) {
    return pbpMode ? StatementTable::RowCount : StatementTable::PbcRowCount;
}

QString pageStart(const QString& title) {
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>") +
           HelpPages::escape(title) + QStringLiteral("</title>\n</head>\n<body>\n");
}

const QString kPageEnd = QStringLiteral("</body>\n</html>\n");

QString link(const QString& href, const QString& text) {
    return QStringLiteral("<a href=\"") + href + QStringLiteral("\">") + HelpPages::escape(text) +
           QStringLiteral("</a>");
}

QString statementList(const StatementTable& table, bool pbpMode) {
    QString html = QStringLiteral("<ul>\n");
    for (int row = 1; row <= rowCount(pbpMode); ++row) {
        if (table.keyword(row).isEmpty())
            continue;
        html += QStringLiteral("<li>") + link(HelpPages::statementFileName(row, pbpMode), table.keyword(row));
        if (!table.description(row).isEmpty())
            html += QStringLiteral(" &mdash; ") + HelpPages::escape(table.description(row));
        html += QStringLiteral("</li>\n");
    }
    return html + QStringLiteral("</ul>\n");
}

} // namespace

QString HelpPages::escape(const QString& text) {
    return text.toHtmlEscaped();
}

QString HelpPages::statementFileName(int row, bool pbpMode) {
    return (pbpMode ? QStringLiteral("pbp_") : QStringLiteral("pbc_")) + QString::number(row) +
           QStringLiteral(".html");
}

QString HelpPages::helpFileForContext(int context) {
    switch (context) {
    case CompilerOptionsContext:
    case WhatsNewContext:
    case ProgrammerOptionsContext:
        return QStringLiteral("topic%1.html").arg(context);
    case StatementTable::ProHelpBase:
    case StatementTable::PbcHelpBase:
        return QStringLiteral("statements/index.html");
    default:
        break;
    }
    for (const bool pbpMode : {true, false}) {
        const int base = pbpMode ? StatementTable::ProHelpBase : StatementTable::PbcHelpBase;
        const int row = context - base;
        if (row >= 1 && row <= rowCount(pbpMode))
            return QStringLiteral("statements/") + statementFileName(row, pbpMode);
    }
    return QStringLiteral("contents.html");
}

QString HelpPages::statementPage(const StatementTable& table, int row, bool pbpMode) {
    const QString keyword = table.keyword(row);
    QString html = pageStart(keyword + QStringLiteral(" - ") + compilerName(pbpMode));
    html += QStringLiteral("<p>") + link(QStringLiteral("index.html"), QStringLiteral("Statement index")) +
            QStringLiteral(" | ") + link(QStringLiteral("../contents.html"), QStringLiteral("Contents")) +
            QStringLiteral("</p>\n");
    html += QStringLiteral("<h1>") + escape(keyword) + QStringLiteral("</h1>\n");
    html += QStringLiteral("<p><i>") + compilerName(pbpMode) + QStringLiteral("</i></p>\n");
    html += QStringLiteral("<h2>Syntax</h2>\n");
    if (table.syntax(row).isEmpty())
        html += QStringLiteral("<p>") + escape(keyword.toUpper()) + QStringLiteral(" stands alone.</p>\n");
    else
        html += QStringLiteral("<pre><code>") + escape(table.syntax(row)) + QStringLiteral("</code></pre>\n");
    html += QStringLiteral("<h2>Description</h2>\n");
    if (table.description(row).isEmpty())
        html += QStringLiteral("<p>See the syntax line above and the compiler's manual.</p>\n");
    else
        html += QStringLiteral("<p>") + escape(table.description(row)) + QStringLiteral("</p>\n");

    QString nav;
    if (row > 1)
        nav +=
            QStringLiteral("Previous: ") + link(statementFileName(row - 1, pbpMode), table.keyword(row - 1));
    if (row < rowCount(pbpMode)) {
        if (!nav.isEmpty())
            nav += QStringLiteral(" | ");
        nav += QStringLiteral("Next: ") + link(statementFileName(row + 1, pbpMode), table.keyword(row + 1));
    }
    html += QStringLiteral("<p>") + nav + QStringLiteral("</p>\n");
    return html + kPageEnd;
}

QString HelpPages::statementIndex(const StatementTable& pro, const StatementTable& pbc) {
    QString html = pageStart(QStringLiteral("Statement index"));
    html += QStringLiteral("<p>") + link(QStringLiteral("../contents.html"), QStringLiteral("Contents")) +
            QStringLiteral("</p>\n");
    html += QStringLiteral("<h1>Statement index</h1>\n");
    html += QStringLiteral("<p>Place the caret on a statement in the editor to see its description in the "
                           "status bar; the syntax line appears below the statement while you type its "
                           "arguments.</p>\n");
    html +=
        QStringLiteral("<h2>") + compilerName(true) + QStringLiteral("</h2>\n") + statementList(pro, true);
    html += QStringLiteral("<h2>DEFINE options (") + compilerName(true) + QStringLiteral(")</h2>\n<ul>\n");
    for (int i = 2; i <= StatementTable::DefineCount; ++i)
        html +=
            QStringLiteral("<li><code>DEFINE ") + escape(pro.define(i)) + QStringLiteral("</code></li>\n");
    html += QStringLiteral("</ul>\n");
    html +=
        QStringLiteral("<h2>") + compilerName(false) + QStringLiteral("</h2>\n") + statementList(pbc, false);
    return html + kPageEnd;
}

QMap<QString, QString> HelpPages::statementPages() {
    StatementTable pro;
    pro.InitPBPCodes(true);
    StatementTable pbc;
    pbc.InitPBPCodes(false);

    QMap<QString, QString> pages;
    for (int row = 1; row <= StatementTable::RowCount; ++row)
        pages.insert(statementFileName(row, true), statementPage(pro, row, true));
    for (int row = 1; row <= StatementTable::PbcRowCount; ++row)
        pages.insert(statementFileName(row, false), statementPage(pbc, row, false));
    pages.insert(QStringLiteral("index.html"), statementIndex(pro, pbc));
    return pages;
}
