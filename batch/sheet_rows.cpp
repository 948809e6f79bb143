#include "batch/sheet_rows.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace batch {

std::optional<double> storedNumber(std::string_view text)
{
    double value = 0;
#if defined(__cpp_lib_to_chars)
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
#else
    // The page's C++ library reads no floating-point text; its C library knows no locale but "C". What
    // strtod takes and from_chars does not (leading spaces or plus, hexadecimal) is no number here either.
    const std::string whole(text);
    if (whole.empty() || whole[0] == '+' || std::isspace(static_cast<unsigned char>(whole[0]))
        || whole.find_first_of("xX") != std::string::npos)
        return std::nullopt;
    char *end = nullptr;
    value = std::strtod(whole.c_str(), &end);
    if (end != whole.c_str() + whole.size())
        return std::nullopt;
#endif
    return value;
}

std::optional<std::string> shownNumber(std::string_view stored)
{
    const std::optional<double> number = storedNumber(stored);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    double value = *number;
    if (value == 0)
        value = 0; // no "-0"
    // Fifteen significant digits, as a spreadsheet shows a number. printf's %g is what to_chars would
    // give with this precision; it spares the Windows program the C++ library's 170 KB of number tables.
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.15g", value);
    std::string shown(text, static_cast<std::size_t>(std::clamp(length, 0, int(sizeof text) - 1)));
    for (char &c : shown)
        if (c == '.')
            c = ',';
    return shown;
}

void SheetRows::fail(std::string text)
{
    if (m_problem.empty())
        m_problem = std::move(text);
}

void SheetRows::beginRow(std::size_t number)
{
    if (number == 0)
        number = m_lastNumber + 1;
    else if (number <= m_lastNumber)
        fail("книга повреждена: строки листа идут не по порядку (строка " + std::to_string(number) + ")");
    m_inRow = true;
    m_row.number = number;
    m_row.cells.clear();
    m_row.numbers.clear();
    m_row.repeat = 1;
    m_column = 0;
    m_standing = 0;
    m_rowBytes = 0;
}

void SheetRows::cell(std::string text, bool number, std::size_t column, bool standing)
{
    if (!m_inRow)
        return;
    if (column == 0)
        column = m_column + 1;
    else if (column <= m_column)
        fail("книга повреждена: ячейки строки " + std::to_string(m_row.number) + " идут не по порядку");
    m_column = column;
    if (text.empty()) {
        if (standing && column <= kMaxSheetColumns)
            m_standing = column;
        return;
    }
    m_rowBytes += text.size();
    if (m_rowBytes > kMaxRecordBytes) {
        fail("строка " + std::to_string(m_row.number) + " листа длиннее "
            + std::to_string(kMaxRecordBytes / (1024 * 1024)) + " МБ");
        return;
    }
    if (column > kMaxSheetColumns) {
        fail("в строке " + std::to_string(m_row.number) + " больше " + std::to_string(kMaxSheetColumns)
            + " столбцов");
        return;
    }
    m_row.cells.resize(column - 1);
    m_row.numbers.resize(column - 1);
    m_row.cells.push_back(std::move(text));
    m_row.numbers.push_back(number);
}

void SheetRows::repeatCell(const std::string &text, bool number, std::size_t count, bool standing)
{
    if (!m_inRow)
        return;
    if (text.empty()) {
        skipColumns(count);
        if (standing && m_column <= kMaxSheetColumns)
            m_standing = m_column;
        return;
    }
    for (std::size_t i = 0; i < count && !failed(); ++i)
        cell(text, number);
}

void SheetRows::skipColumns(std::size_t count)
{
    if (!m_inRow)
        return;
    m_column = count > kMaxSheetColumns ? kMaxSheetColumns + 1 : m_column + count;
}

void SheetRows::endRow(std::size_t count)
{
    if (!m_inRow)
        return;
    m_inRow = false;
    if (count == 0)
        count = 1;
    const std::size_t last = m_row.number + count - 1;
    if (m_row.cells.empty()) { // blank rows: read only when a row with values follows
        m_lastNumber = last;
        return;
    }
    if (last > kMaxSheetRows || last < m_row.number) {
        fail("в листе больше " + std::to_string(kMaxSheetRows) + " строк");
        return;
    }
    m_lastNumber = last;
    if (!m_headerBuilt && m_standing > m_row.cells.size()) {
        m_row.cells.resize(m_standing);
        m_row.numbers.resize(m_standing);
    }
    m_headerBuilt = true;
    m_row.repeat = count;
    m_ready.push_back(std::move(m_row));
    m_row = Row{};
}

void SheetRows::take(Record &record)
{
    Row &next = m_ready.front();
    if (m_lastRead != 0 && next.number > m_lastRead + 1) {
        m_current = Row{m_lastRead + 1, {}, {}};
    } else if (next.repeat > 1) {
        m_current = next;
        m_current.repeat = 1;
        ++next.number;
        --next.repeat;
    } else {
        m_current = std::move(next);
        m_ready.pop_front();
    }
    m_lastRead = m_current.number;
    record.cells.assign(m_current.cells.begin(), m_current.cells.end());
    record.numbers = m_current.numbers;
    record.raw = {};
    record.row = m_current.number;
    record.unterminatedQuote = false;
}

} // namespace batch
