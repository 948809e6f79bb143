#include "batch/formats.h"

#include "batch/csv.h"
#include "batch/workbook.h"
#include "report/file_writer.h"

#include <algorithm>
#include <cerrno>

namespace batch {

namespace {

// What a file holds by its first bytes: a text file, a ZIP archive (a workbook, unless it is not one),
// or an OLE compound file (an Excel 97-2003 book, or a workbook saved with a password).
enum class Container {
    Text,
    Zip,
    Compound,
};
constexpr std::size_t kSniffBytes = 8;

Container containerOf(std::string_view firstBytes)
{
    if (firstBytes.starts_with("PK\x03\x04") || firstBytes.starts_with("PK\x05\x06"))
        return Container::Zip;
    if (firstBytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return Container::Compound;
    return Container::Text;
}

// The workbook a result file's name asks for, by its extension; nothing for CSV.
std::optional<WorkbookFormat> workbookFormatOfName(const std::filesystem::path &path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    if (extension == ".xlsx")
        return WorkbookFormat::Xlsx;
    if (extension == ".ods")
        return WorkbookFormat::Ods;
    return std::nullopt;
}

// The --output file, replaced only once complete.
class ResultFile : public ResultOutput {
public:
    explicit ResultFile(const std::filesystem::path &target)
        : m_file(target)
    {
    }
    bool open()
    {
        return remember(m_file.open());
    }
    bool write(std::string_view bytes) override
    {
        return remember(m_file.write(bytes));
    }
    bool finish() override
    {
        return remember(m_file.commit());
    }
    std::string reason() const override
    {
        static constexpr report::FileWording kResultFile = {
            "файл защищен от записи",
            "на месте файла находится папка",
        };
        return report::failureReason(m_status, kResultFile);
    }
    std::string notWritten(std::string_view reason) const override
    {
        return "не удалось записать " + quotedPath(m_file.target()) + ": " + std::string(reason)
            + "; файл не изменен";
    }
    Failure trouble() const override
    {
        if (m_status.protectedFile)
            return Failure::ResultProtected;
        switch (m_status.error) {
        case EBUSY:
        case ETXTBSY:
            return Failure::ResultBusy;
        case EACCES:
        case EPERM:
        case EROFS:
            return Failure::ResultFolder;
        default:
            return Failure::Result;
        }
    }

private:
    bool remember(report::FileStatus status)
    {
        m_status = status;
        return static_cast<bool>(status);
    }
    report::FileReplacement m_file;
    report::FileStatus m_status;
};

// Standard output, or another stream the batch writes as it goes.
class ResultStream : public ResultOutput {
public:
    explicit ResultStream(int fd)
        : m_fd(fd)
    {
    }
    bool write(std::string_view bytes) override
    {
        if (report::writeAll(m_fd, bytes))
            return true;
        m_error = errno;
        return false;
    }
    bool finish() override
    {
        return true;
    }
    std::string reason() const override
    {
        return report::errorReason(m_error);
    }
    std::string notWritten(std::string_view reason) const override
    {
        return "не удалось вывести результат: " + std::string(reason);
    }

private:
    int m_fd;
    int m_error = 0;
};

// A workbook's result as CSV: plain UTF-8 on a stream, and in a file as spreadsheet programs open it.
Dialect csvDialectOf(const Dialect &source, bool toFile)
{
    if (source.fromText || !toFile)
        return source;
    return {Encoding::Utf8WithBom, ';', "\r\n", false};
}

} // namespace

std::unique_ptr<RowSource> openRowSource(int fd, std::string_view file, std::string &problem)
{
    char first[kSniffBytes] = {};
    const std::ptrdiff_t got = report::readStart(fd, first, sizeof first);
    switch (containerOf(std::string_view(first, got > 0 ? static_cast<std::size_t>(got) : 0))) {
    case Container::Compound:
        problem = std::string(file)
            + ": это книга Excel 97-2003 (.xls) или книга, защищенная паролем; сохраните ее как .xlsx "
              "или .ods без пароля";
        return nullptr;
    case Container::Zip: {
        std::string reason;
        auto sheet = openWorkbook(fd, reason);
        if (!sheet)
            problem = std::string(file) + ": " + reason;
        return sheet;
    }
    case Container::Text:
        break;
    }
    return std::make_unique<CsvReader>(fd);
}

std::unique_ptr<RowSink> openRowSink(const std::optional<std::filesystem::path> &output,
    int standardOutput,
    const Dialect &source,
    const Layout &layout,
    const StopCheck &stopRequested,
    std::string &problem,
    Failure &trouble)
{
    if (!output)
        return std::make_unique<CsvWriter>(
            csvDialectOf(source, false), layout, std::make_unique<ResultStream>(standardOutput));
    const std::optional<WorkbookFormat> workbook = workbookFormatOfName(*output);
    if (workbook && !workbooksSupported()) {
        problem = quotedPath(*output) + ": " + std::string(kWorkbooksNotSupported);
        return nullptr;
    }
    auto file = std::make_unique<ResultFile>(*output);
    if (!file->open()) {
        problem = file->notWritten(file->reason());
        trouble = file->trouble();
        return nullptr;
    }
    if (workbook)
        return makeWorkbookSink(*workbook, layout, source.encoding, std::move(file), stopRequested);
    return std::make_unique<CsvWriter>(csvDialectOf(source, true), layout, std::move(file));
}

} // namespace batch
