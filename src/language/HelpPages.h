#pragma once

#include <QMap>
#include <QString>

class StatementTable;

// The HTML help pages of the statements, generated from the statement tables, and the mapping from
// help context numbers to the shipped page files.
class HelpPages {
public:
    static constexpr int WhatsNewContext = 280;
    static constexpr int CompilerOptionsContext = 220;
    static constexpr int ProgrammerOptionsContext = 290;

    // The page of a help context, relative to the help folder with '/' separators:
    // 220, 280, 290 -> "topicNNN.html"; a statement context -> "statements/pbp_<row>.html" or
    // "statements/pbc_<row>.html"; a statement base alone -> "statements/index.html"; anything
    // else -> "contents.html".
    static QString helpFileForContext(int context);

    // "pbp_<row>.html" or "pbc_<row>.html", the file name of a statement page in statements/.
    static QString statementFileName(int row, bool pbpMode);

    // One statement page: keyword heading, compiler, syntax line and description.
    static QString statementPage(const StatementTable& table, int row, bool pbpMode);
    // The index of both compilers' statements and the DEFINE names.
    static QString statementIndex(const StatementTable& pro, const StatementTable& pbc);

    // Every page of the statements folder by file name, index.html included, built from freshly
    // filled tables.
    static QMap<QString, QString> statementPages();

    // Text with &, <, > and " written as entities.
    static QString escape(const QString& text);
};
