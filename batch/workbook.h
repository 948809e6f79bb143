// Vehicle lists as workbooks: the first sheet of an Office Open XML workbook (.xlsx) or of an
// OpenDocument spreadsheet (.ods) read row by row as the CSV reader reads its rows, and a result written
// as a workbook of either kind.
//
// Reading streams the sheet out of the archive: only the row being read and, for .xlsx, the shared
// strings are held. A number cell reads as the factor text it shows (1.3 as "1,3"), a logical one as
// "да" or "нет". Rows keep the numbers the spreadsheet gives them; blank rows between rows are read as
// blank rows, blank rows at the end are not read. A workbook that cannot be read gets one Russian reason.
//
// Built without the archive and XML libraries (the browser edition), every workbook gets the reason that
// workbooks are not supported.
#pragma once

#include "batch/csv.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace batch {

enum class WorkbookFormat {
    None, // a text file
    Xlsx,
    Ods,
};

// What a file holds by its first bytes: a text file, a ZIP archive (a workbook, unless it is not one),
// or an OLE compound file (an Excel 97-2003 book, or a workbook saved with a password).
enum class Container {
    Text,
    Zip,
    Compound,
};
Container containerOf(std::string_view firstBytes);
inline constexpr std::size_t kSniffBytes = 8;

// The format a result file's name asks for, by its extension.
WorkbookFormat workbookFormatOfName(const std::filesystem::path &path);

// The limits of a sheet: the spreadsheet programs' own sizes, and what unpacking may cost.
inline constexpr std::size_t kMaxSheetRows = 1048576;
inline constexpr std::size_t kMaxSheetColumns = 16384;
inline constexpr std::uint64_t kMaxUnpackedBytes = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kMaxPackingRatio = 10000;

// Rows of a sheet, the header first: the first row that is not blank.
class SheetReader {
public:
    enum class Status {
        Record,
        End,
        Failed, // problem() says why
    };
    virtual ~SheetReader() = default;
    // Cells in UTF-8, valid until the next call; record.numbers marks the cells that were numbers.
    virtual Status next(Record &record) = 0;
    virtual const std::string &problem() const = 0;
    // How much of the file is read, for the progress line.
    virtual std::uint64_t bytesConsumed() const = 0;
};

// The first sheet of the workbook in fd (read from its start; fd stays open and is not closed), or
// nothing with the reason in problem.
std::unique_ptr<SheetReader> openWorkbook(int fd, std::string &problem);

// One cell of a result row.
struct ResultCell {
    enum class Kind {
        Text,
        Number, // a number cell of the input: text is the factor text it showed ("1,3")
        Money,  // a premium or their sum: text is a factor text ("1289,925"), shown with 2 to 4 decimals
    };
    std::string_view text; // UTF-8
    Kind kind = Kind::Text;
};

// A result written as a workbook of one sheet: a bold header row that stays in view, columns as wide
// as their texts, number cells the spreadsheet can add up.
class WorkbookWriter {
public:
    virtual ~WorkbookWriter() = default;
    // The rows in order, the header first. False when the workbook cannot take the row: problem().
    virtual bool row(std::span<const ResultCell> cells) = 0;
    // The complete file, handed to write in pieces; false when it could not be made or write failed.
    virtual bool finish(const std::function<bool(std::string_view)> &write) = 0;
    virtual const std::string &problem() const = 0;
};

std::unique_ptr<WorkbookWriter> makeWorkbookWriter(WorkbookFormat format);

// True when this build reads and writes workbooks.
bool workbooksSupported();

} // namespace batch
