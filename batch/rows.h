// A vehicle list's rows as the batch reads and writes them. A row source hands out the rows of a list,
// the header first, each with the row number a spreadsheet shows; a row sink takes the result rows and
// hands the result on whole. The CSV reader and the two sheet readers are row sources, the CSV writer
// and the workbook writer row sinks; formats.h chooses them, and nothing else knows which it has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

enum class Encoding {
    Utf8,
    Utf8WithBom,
    Windows1251,
};

// How a list is written: the encoding of its cells, and for a text file its separator and line end,
// which a CSV result keeps. A workbook's cells are UTF-8 and it has no separator or line end of its
// own (fromText false): its result as CSV takes the form spreadsheet programs open.
struct Dialect {
    Encoding encoding = Encoding::Utf8;
    char separator = ';';
    std::string_view lineEnd = "\n"; // "\r\n", "\n" or "\r", as the header row ends
    bool fromText = true;
};

// One row of a list.
struct Record {
    std::vector<std::string_view> cells; // in the list's encoding; valid until the next read
    std::string_view raw;                // a text file's bytes of the row, without the line end
    std::size_t row = 0;                 // as a spreadsheet numbers it: the header is row 1 of a text file
    bool unterminatedQuote = false;      // a quoted cell ran on to the end of the file
    std::vector<bool> numbers;           // of a workbook's row: which cells were numbers
};

// Longest row a list may have; a longer one in a text file means a quote was never closed.
inline constexpr std::size_t kMaxRecordBytes = 16 * 1024 * 1024;

// Where the rows of a list come from.
class RowSource {
public:
    enum class Status {
        Record,
        End,
        Failed, // problem() says why
    };
    virtual ~RowSource() = default;
    // The header row. False when the list has none (an empty file, an empty first sheet) or cannot be
    // read: problem().
    virtual bool header(Record &record) = 0;
    // The rows after the header, then End.
    virtual Status next(Record &record) = 0;
    // Known once the header is read.
    virtual const Dialect &dialect() const = 0;
    // Why the list could not be read, as a sentence about file (the name as messages quote it).
    virtual std::string problem(std::string_view file) const = 0;
    // How much of the file is read, for the progress line.
    virtual std::uint64_t bytesConsumed() const = 0;
};

// Why a run wrote no result.
enum class Failure {
    None,
    Stopped,         // the console asked to stop
    List,            // the list cannot be read, or has no usable header
    ResultBusy,      // another program holds the result file open (Windows)
    ResultProtected, // the result file is write-protected for this user
    ResultFolder,    // the result's folder cannot be written: no rights, a read-only disk
    Result,          // the result cannot be written otherwise: a full disk, a folder in its place
};

// Where a result's bytes go: the --output file, replaced only once the result is complete, or a
// stream such as standard output.
class ResultOutput {
public:
    virtual ~ResultOutput() = default;
    virtual bool write(std::string_view bytes) = 0;
    // The result is complete.
    virtual bool finish() = 0;
    // Why the last write or finish failed.
    virtual std::string reason() const = 0;
    // The message that the result was not written, for that reason.
    virtual std::string notWritten(std::string_view reason) const = 0;
    // The kind of the last failure, one of the Result kinds, for a front that offers a way round it.
    virtual Failure trouble() const
    {
        return Failure::Result;
    }
};

// Asked while a result is completed: true abandons it, and nothing is handed on.
using StopCheck = std::function<bool()>;

// Where the result rows go. A result row is a row of the list (the header first, the total row last)
// with the cells the batch adds to it; the cells added are in the list's encoding, as are the row's.
class RowSink {
public:
    virtual ~RowSink() = default;
    // False when the row cannot be written: problem().
    virtual bool row(const Record &record, std::span<const std::string_view> added) = 0;
    // Hands the complete result on. False when it cannot: problem().
    virtual bool finish() = 0;
    virtual std::string problem() const = 0;
    // The kind of the failure that problem() tells of.
    virtual Failure trouble() const = 0;
};

// A file's name as messages quote it: «name».
std::string quotedPath(const std::filesystem::path &path);

// The message that file (quoted) cannot be read, for the errno value error.
std::string readFailure(std::string_view file, int error);

// Appends a text of the program's own, given in UTF-8, as a list of the encoding holds it.
void appendEncoded(std::string &out, std::string_view utf8, Encoding encoding);

// The same text, kept in buffer only when it has to be converted.
std::string_view encodedText(std::string_view utf8, Encoding encoding, std::string &buffer);

} // namespace batch
