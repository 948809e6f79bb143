// Vehicle lists as workbooks: the first sheet of an Office Open XML workbook (.xlsx) or of an
// OpenDocument spreadsheet (.ods) read row by row as the CSV reader reads its rows, and a result written
// as a workbook of either kind.
//
// Reading streams the sheet out of the archive: only the row being read and, for .xlsx, the shared
// strings are held. A number cell reads as the factor text it shows (1.3 as "1,3"), a logical one as
// "да" or "нет". Rows keep the numbers the spreadsheet gives them; blank rows between rows are read as
// blank rows, blank rows at the end are not read. A workbook that cannot be read gets one Russian reason.
//
// Built without the archive and XML libraries, every workbook gets the reason that workbooks are not
// supported (workbook_none.cpp).
#pragma once

#include "batch/columns.h"
#include "batch/rows.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace batch {

enum class WorkbookFormat {
    Xlsx,
    Ods,
};

// The limits of a sheet: the spreadsheet programs' own sizes, and what unpacking may cost.
inline constexpr std::size_t kMaxSheetRows = 1048576;
inline constexpr std::size_t kMaxSheetColumns = 16384;
inline constexpr std::uint64_t kMaxUnpackedBytes = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kMaxPackingRatio = 10000;

inline constexpr std::string_view kWorkbooksNotSupported
    = "книги .xlsx и .ods в этой сборке не читаются и не пишутся; сохраните лист как CSV";

// True when this build reads and writes workbooks.
bool workbooksSupported();

// A number as a workbook stores it ("1289.925", "1.5E-3"), whatever locale the program runs in; nothing
// when text is not one number whole.
std::optional<double> storedNumber(std::string_view text);

// The rows of the first sheet of the workbook in fd (read from its start; fd stays open and is not
// closed), the header being its first row that is not blank; or nothing with the reason in problem.
// The cells are UTF-8, and record.numbers marks the ones that were numbers.
std::unique_ptr<RowSource> openWorkbook(int fd, std::string &problem);

// A result written as a workbook of one sheet into output: a bold header row that stays in view,
// columns as wide as their texts, the input's number cells as numbers and the premiums as sums of money
// the spreadsheet can add up. The rows come as the CSV writer takes them, in the list's encoding.
// Completing it asks stopRequested between its pieces (.ods) or before packing (.xlsx, whose library
// packs without a pause), and before the output takes the result.
std::unique_ptr<RowSink> makeWorkbookSink(WorkbookFormat format,
    const Layout &layout,
    Encoding encoding,
    std::unique_ptr<ResultOutput> output,
    StopCheck stopRequested);

} // namespace batch
