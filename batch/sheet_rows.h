// What the two workbook readers share: the cells of a row as they come out of the sheet's XML, made into
// the records the batch reads, and a number cell's value made into the factor text it shows.
#pragma once

#include "batch/rows.h"
#include "batch/workbook.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

// A number as a Russian spreadsheet shows it in a general cell: at most 15 significant digits and a
// decimal comma (1.3 as "1,3", 12 as "12", 0.30000000000000004 as "0,3"). Nothing when stored is no
// finite number: a damaged cell, read as text.
std::optional<std::string> shownNumber(std::string_view stored);

// The words of a logical cell.
inline constexpr std::string_view kTrueText = "да";
inline constexpr std::string_view kFalseText = "нет";

// Rows of a sheet as a reader sees them: a row begins at a number, cells are placed by their column,
// and the finished rows wait until the batch asks for them. Leading blank rows are skipped, blank rows
// between rows are read as blank rows, blank rows at the end are never read, and cells outside a row
// belong to none and are not read; columns and rows beyond a spreadsheet's limits, and a row longer
// than a row of a text file may be, are a problem.
class SheetRows {
public:
    // A new row; its number is the one after the last row when the sheet gives none (0).
    void beginRow(std::size_t number = 0);
    // A cell of the row being built; column 0 for the one after the last cell. An empty cell that
    // stands in the file for a reason (a part of a merged cell, a cell with a format of its own)
    // widens the header row to its column: the values below it belong to the header's columns.
    void cell(std::string text, bool number, std::size_t column = 0, bool standing = false);
    // The same cell value in the next count columns (a repeated cell).
    void repeatCell(const std::string &text, bool number, std::size_t count, bool standing = false);
    // Empty columns before the next cell.
    void skipColumns(std::size_t count);
    // The row is complete; it stands for count rows (a repeated row).
    void endRow(std::size_t count = 1);

    bool failed() const
    {
        return !m_problem.empty();
    }
    const std::string &problem() const
    {
        return m_problem;
    }
    bool ready() const
    {
        return !m_ready.empty();
    }
    // The next row into record (as RowSource::next); ready() must be true.
    void take(Record &record);

private:
    struct Row {
        std::size_t number = 0;
        std::vector<std::string> cells;
        std::vector<bool> numbers;
        std::size_t repeat = 1; // the same row this many times, numbered on
    };
    void fail(std::string text);

    Row m_row;
    bool m_inRow = false;         // a row has begun and not ended: m_row takes the cells
    std::size_t m_column = 0;     // the next column of m_row
    std::size_t m_standing = 0;   // the last column of m_row with a standing empty cell
    std::size_t m_rowBytes = 0;   // the text of m_row, at most kMaxRecordBytes
    bool m_headerBuilt = false;   // a row with values has ended: the header
    std::size_t m_lastNumber = 0; // the number of the last row begun
    std::size_t m_lastRead = 0;   // the number of the last row handed on, 0 before the header
    std::deque<Row> m_ready;      // rows not yet taken, none of them blank
    Row m_current;                // the row taken last, which the record points into
    std::string m_problem;
};

} // namespace batch
