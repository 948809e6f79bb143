// Feeds arbitrary bytes to the workbook reader, as a whole file or, to reach the sheet readers past
// the archive's checksums, as the sheet part of an otherwise sound .xlsx or .ods: the first byte says
// which. Every row is read to the end; nothing may crash, leak, overflow or read out of bounds, and a
// row never has more cells than a sheet can.
#include "batch/workbook.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <zip.h>

namespace {

constexpr const char *kRelationships
    = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
constexpr const char *kWorkbook
    = R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet r:id="r2"/></sheets></workbook>)";
constexpr const char *kWorkbookRelationships
    = R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="r2" Type="x/worksheet" Target="s.xml"/><Relationship Id="r3" Type="x/sharedStrings" Target="t.xml"/></Relationships>)";
constexpr const char *kStrings
    = R"(<sst><si><t>Категория</t></si><si><r><t>при</t></r><r><t>цеп</t></r></si></sst>)";

// The parts stored, not deflated, so that the sheet's bytes are what the XML reader sees.
std::string archiveOf(std::initializer_list<std::pair<const char *, std::string_view>> parts)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        std::abort();
    zip_source_keep(buffer);
    for (const auto &[name, content] : parts) {
        const zip_int64_t index
            = zip_file_add(archive, name, zip_source_buffer(archive, content.data(), content.size(), 0), 0);
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    zip_close(archive);
    std::string bytes;
    zip_source_open(buffer);
    char piece[65536];
    for (zip_int64_t got; (got = zip_source_read(buffer, piece, sizeof piece)) > 0;)
        bytes.append(piece, static_cast<std::size_t>(got));
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
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
        file = archiveOf({{"_rels/.rels", kRelationships},
            {"xl/workbook.xml", kWorkbook},
            {"xl/_rels/workbook.xml.rels", kWorkbookRelationships},
            {"xl/t.xml", kStrings},
            {"xl/s.xml", rest}});
        break;
    default:
        file = archiveOf(
            {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", rest}});
        break;
    }
    const int fd = ::memfd_create("workbook", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, file.data(), file.size()) != static_cast<ssize_t>(file.size()))
        std::abort();
    std::string problem;
    if (auto sheet = batch::openWorkbook(fd, problem)) {
        batch::Record record;
        while (sheet->next(record) == batch::SheetReader::Status::Record)
            if (record.cells.size() > batch::kMaxSheetColumns || record.row > batch::kMaxSheetRows
                || record.numbers.size() != record.cells.size())
                std::abort();
    } else if (problem.empty()) {
        std::abort();
    }
    ::close(fd);
    return 0;
}
