#pragma once

#include <QString>

#include <array>

// The statement reference table (PBPCodes) and the DEFINE name list (PBPDefines) of one compiler.
// Rows, columns and DEFINE entries are numbered from 1, as the quick lists and the caret code use them.
class StatementTable {
public:
    static constexpr int RowCount = 79;
    static constexpr int ColumnCount = 3;
    static constexpr int PbcRowCount = 40;
    static constexpr int DefineCount = 40;
    enum Column { Keyword = 1, Syntax = 2, Description = 3 };

    // Help topics of the statement pages: base + row.
    static constexpr int ProHelpBase = 1000;
    static constexpr int PbcHelpBase = 2000;

    // Every cell and DEFINE entry empty, as at start-up.
    StatementTable() = default;

    // Fills the table for PicBasic Pro (all 79 rows and the 40 DEFINE names) or for PicBasic
    // (rows 1 to 40).
    void InitPBPCodes(bool pbpMode);

    // "" outside 1..RowCount / 1..ColumnCount.
    QString cell(int row, int column) const;
    QString keyword(int row) const { return cell(row, Keyword); }
    QString syntax(int row) const { return cell(row, Syntax); }
    QString description(int row) const { return cell(row, Description); }
    // Writes one cell; out-of-range positions are ignored.
    void setCell(int row, int column, const QString& text);

    // DEFINE entry 1..DefineCount, "" outside.
    QString define(int index) const;
    void setDefine(int index, const QString& text);

    // True when the table holds the PicBasic Pro rows (row 1 keyword "@").
    bool isProTable() const { return keyword(1) == QLatin1String("@"); }

    // Row 1..RowCount whose keyword equals the token, ignoring case; 0 when none.
    int findStatement(const QString& token) const;
    // DEFINE entry 1..DefineCount equal to the token, ignoring case; 0 when none.
    int findDefine(const QString& token) const;

    // Help topic number of a statement row for a compiler; 0 for a row outside that compiler's table.
    static int helpContext(int row, bool pbpMode);

private:
    std::array<std::array<QString, ColumnCount>, RowCount> m_codes;
    std::array<QString, DefineCount> m_defines;
};
