// Feeds arbitrary bytes to the workbook reader, as a whole file or, to reach the sheet readers past
// the archive's checksums, as the sheet part of an otherwise sound .xlsx or .ods: the first byte says
// which. Every row is read to the end; nothing may crash, leak, overflow or read out of bounds, a row
// never has more cells than a sheet can, and a cell read as a number shows a finite number with a
// decimal comma, which a result workbook writes as that number.
#include "batch/workbook.h"
#include "support/archive.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
namespace {

constexpr const char *kRelationships
    = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
constexpr const char *kWorkbook
    = R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet r:id="r2"/></sheets></workbook>)";
constexpr const char *kWorkbookRelationships
    = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r2" Type="x/worksheet" Target="s.xml"/><Relationship Id="r3" Type="x/sharedStrings" Target="t.xml"/></Relationships>)";
constexpr const char *kStrings
    = R"(<sst><si><t>Категория</t></si><si><r><t>при</t></r><r><t>цеп</t></r></si></sst>)";

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool showsNumber(std::string_view text)
{
    std::string stored(text);
    for (char &c : stored)
        if (c == ',')
            c = '.';
    double value = 0;
    const auto [end, error] = std::from_chars(stored.data(), stored.data() + stored.size(), value);
    return error == std::errc() && end == stored.data() + stored.size() && std::isfinite(value)
        && stored.find('.') == stored.rfind('.');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    std::string file;
    switch (data[0] % 3) {
    case 0:
        file = rest;
        break;
    case 1:
        // The parts stored, not deflated, so that the sheet's bytes are what the XML reader sees.
        file = support::makeArchive({{"_rels/.rels", kRelationships},
                                        {"xl/workbook.xml", kWorkbook},
                                        {"xl/_rels/workbook.xml.rels", kWorkbookRelationships},
                                        {"xl/t.xml", kStrings},
                                        {"xl/s.xml", std::string(rest)}},
            true);
        break;
    default:
        file = support::makeArchive({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                        {"content.xml", std::string(rest)}},
            true);
        break;
    }
    const int fd = ::memfd_create("workbook", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, file.data(), file.size()) != static_cast<ssize_t>(file.size()))
        std::abort();
    std::string problem;
    if (auto sheet = batch::openWorkbook(fd, problem)) {
        batch::Record record;
        for (bool more = sheet->header(record); more;
             more = sheet->next(record) == batch::RowSource::Status::Record) {
            check(record.cells.size() <= batch::kMaxSheetColumns && record.row <= batch::kMaxSheetRows
                && record.numbers.size() == record.cells.size());
            for (std::size_t i = 0; i < record.cells.size(); ++i)
                check(!record.numbers[i] || showsNumber(record.cells[i]));
        }
    } else if (problem.empty()) {
        std::abort();
    }
    ::close(fd);
    return 0;
}
