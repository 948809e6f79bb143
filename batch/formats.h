// The one place that knows a list's formats: the row source a file gets by its first bytes (a text file,
// a workbook, or a file the batch refuses), and the row sink a result gets by the name of the output
// (CSV, .xlsx or .ods; CSV on a stream).
#pragma once

#include "batch/columns.h"
#include "batch/rows.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace batch {

// The rows of the file open in fd, read from its start; fd stays open. Nothing, with the message in
// problem, when the file is none the batch reads. file is the name as messages quote it.
std::unique_ptr<RowSource> openRowSource(int fd, std::string_view file, std::string &problem);

// Where the result of a list read from source goes: the output file, replaced only once the result is
// complete, as a workbook when its name asks for one; or, without one, the stream standardOutput.
// A text list's result as CSV keeps its dialect; a workbook's goes to a stream in plain UTF-8, to a
// file with the byte-order mark and the line ends that spreadsheet programs open as UTF-8. Nothing, with
// the message in problem and its kind in trouble, when the output cannot be written. A workbook, whose
// completion takes seconds on a large list, asks stopRequested on the way.
std::unique_ptr<RowSink> openRowSink(const std::optional<std::filesystem::path> &output,
    int standardOutput,
    const Dialect &source,
    const Layout &layout,
    const StopCheck &stopRequested,
    std::string &problem,
    Failure &trouble);

} // namespace batch
