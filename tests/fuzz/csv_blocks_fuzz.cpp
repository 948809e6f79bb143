// Feeds arbitrary bytes to the CSV reader as a file (after a first byte that sets the block size), and
// checks that read in blocks of 1 to 16 bytes, the file gives the same rows, dialect, bytes read up to
// the end of the header and failure as read whole. The two readers go in step, a row at a time, and
// their rows are compared where they lie. Its inputs are those of csv_fuzz.
#include "batch/csv.h"
#include "support/batch_support.h"

#include <cstdint>
#include <cstdlib>

namespace {

using Status = batch::RowSource::Status;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameRecord(const batch::Record &a, const batch::Record &b)
{
    return a.cells == b.cells && a.raw == b.raw && a.row == b.row
        && a.unterminatedQuote == b.unterminatedQuote;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view file(reinterpret_cast<const char *>(data + 1), size - 1);
    static support::MemoryFile wholeFile; // kept for all runs, which saves making and closing them
    static support::MemoryFile piecesFile;
    batch::CsvReader whole(wholeFile.hold(file), file.size() + 1); // in one block
    batch::CsvReader pieces(piecesFile.hold(file), 1 + data[0] % 16);
    batch::Record a;
    batch::Record b;
    const bool header = whole.header(a);
    check(pieces.header(b) == header && pieces.bytesConsumed() == whole.bytesConsumed());
    Status status = header ? Status::Record : Status::Failed;
    while (status == Status::Record) {
        check(sameRecord(a, b));
        status = whole.next(a);
        check(pieces.next(b) == status);
    }
    check(support::sameDialect(pieces.dialect(), whole.dialect()));
    if (status == Status::Failed)
        check(pieces.problem("«file»") == whole.problem("«file»"));
    return 0;
}
