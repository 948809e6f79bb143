#include "batch/batch.h"

#include "batch/columns.h"
#include "batch/csv.h"
#include "batch/tables.h"
#include "batch/vehicle_row.h"
#include "engine/fixed_point.h"
#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace batch {

namespace {

constexpr std::size_t kFlushSize = 256 * 1024;
constexpr std::size_t kErrorsShown = 10; // rejected rows listed on the console; the file has them all

std::string quotedPath(const std::filesystem::path &path)
{
    return "«" + path.string() + "»";
}

std::string readReason(int error)
{
    switch (error) {
    case ENOENT:
        return "файл не найден";
    case EACCES:
    case EPERM:
        return "нет прав на чтение файла";
    case EISDIR:
        return "это папка, а не файл";
    default:
        return report::errorReason(error);
    }
}

// The result, whole or not at all: a file replaced once complete, or standard output.
class Sink {
public:
    virtual ~Sink() = default;
    virtual bool write(std::string_view bytes) = 0;
    virtual bool finish() = 0;
    virtual std::string failure() const = 0;
};

class FileSink : public Sink {
public:
    explicit FileSink(const std::filesystem::path &target)
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
    std::string failure() const override
    {
        static constexpr report::FileWording kResultFile = {
            "файл защищен от записи",
            "на месте файла находится папка",
        };
        return "не удалось записать " + quotedPath(m_file.target()) + ": "
            + report::failureReason(m_status, kResultFile) + "; файл не изменен";
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

class DescriptorSink : public Sink {
public:
    explicit DescriptorSink(int fd)
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
    std::string failure() const override
    {
        return "не удалось вывести результат: " + report::errorReason(m_error);
    }

private:
    int m_fd;
    int m_error = 0;
};

class Descriptor {
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const
    {
        return m_fd;
    }

private:
    int m_fd;
};

// Rows as the input writes them: its separator, its line end, its encoding for the texts added.
class RowWriter {
public:
    RowWriter(const Dialect &dialect, const Layout &layout)
        : m_dialect(dialect)
        , m_layout(layout)
        , m_identity(layout.carried.size() == layout.width)
    {
    }

    // A text of the program's own, in the output's encoding.
    std::string encoded(std::string_view utf8) const
    {
        std::string out;
        appendEncoded(out, utf8, m_dialect.encoding);
        return out;
    }
    // The same, kept in buffer only when it has to be converted.
    std::string_view encoded(std::string_view utf8, std::string &buffer) const
    {
        if (m_dialect.encoding != Encoding::Windows1251)
            return utf8;
        buffer.clear();
        appendEncoded(buffer, utf8, m_dialect.encoding);
        return buffer;
    }

    void row(std::string &out, const Record &record, std::span<const std::string_view> added) const
    {
        const char separator = m_dialect.separator;
        if (m_identity && record.cells.size() <= m_layout.width && !record.unterminatedQuote) {
            // Every cell is carried in its place: the row's own bytes, quoting and all.
            out += record.raw;
            out.append(m_layout.width - record.cells.size(), separator);
        } else {
            bool first = true;
            for (const std::size_t position : m_layout.carried) {
                if (!first)
                    out += separator;
                first = false;
                if (position < record.cells.size())
                    appendCell(out, record.cells[position], separator);
            }
        }
        for (const std::string_view text : added) {
            out += separator;
            appendCell(out, text, separator);
        }
        // Values beyond the header's last column are kept, after the columns added.
        if (hasValuesBeyond(record, m_layout.width))
            for (std::size_t i = m_layout.width; i < record.cells.size(); ++i) {
                out += separator;
                appendCell(out, record.cells[i], separator);
            }
        out += m_dialect.lineEnd;
    }

private:
    const Dialect &m_dialect;
    const Layout &m_layout;
    bool m_identity; // every column is carried, none taken out
};

} // namespace

int run(const Options &options, Console &console)
{
    const auto fail = [&console](const std::string &text) {
        console.progress({});
        console.say("tarifmaster: " + text);
        return kNotRead;
    };
    const Descriptor input(::open(options.input.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat file { };
    if (input.get() < 0 || ::fstat(input.get(), &file) != 0)
        return fail("не удалось прочитать " + quotedPath(options.input) + ": " + readReason(errno));
    if (S_ISDIR(file.st_mode))
        return fail("не удалось прочитать " + quotedPath(options.input) + ": " + readReason(EISDIR));

    CsvReader reader(input.get());
    Record record;
    const auto readFailure = [&](CsvReader::Status status) {
        if (status == CsvReader::Status::TooLong)
            return fail(quotedPath(options.input) + ", строка " + std::to_string(record.row + 1)
                + ": длиннее " + std::to_string(kMaxRecordBytes / (1024 * 1024))
                + " МБ — вероятно, в ней не закрыта кавычка");
        if (status == CsvReader::Status::Utf16)
            return fail(quotedPath(options.input)
                + ": файл в кодировке UTF-16; сохраните его как CSV в UTF-8 или Windows-1251");
        return fail("не удалось прочитать " + quotedPath(options.input) + ": " + readReason(reader.error()));
    };
    const CsvReader::Status headerStatus = reader.readHeader(record);
    if (headerStatus == CsvReader::Status::End)
        return fail(quotedPath(options.input) + ": файл пуст, нет строки заголовка");
    if (headerStatus != CsvReader::Status::Record)
        return readFailure(headerStatus);
    const Dialect dialect = reader.dialect();

    std::vector<std::string> names;
    for (const std::string_view name : record.cells)
        names.push_back(
            dialect.encoding == Encoding::Windows1251 ? engine::fromWindows1251(name) : std::string(name));
    const LayoutResult layoutResult = layoutOf(names);
    if (!layoutResult.layout)
        return fail(quotedPath(options.input) + ": " + layoutResult.problem
            + ". Первая строка файла должна называть столбцы; см. tarifmaster --batch --help");
    const Layout &layout = *layoutResult.layout;

    std::unique_ptr<Sink> sink;
    if (options.output) {
        auto target = std::make_unique<FileSink>(*options.output);
        if (!target->open())
            return fail(target->failure());
        sink = std::move(target);
    } else {
        sink = std::make_unique<DescriptorSink>(options.standardOutput);
    }

    const RowWriter writer(dialect, layout);
    std::string out;
    out.reserve(kFlushSize + 64 * 1024);
    if (dialect.encoding == Encoding::Utf8WithBom)
        out += "\xEF\xBB\xBF";
    std::vector<std::string> addedNames;
    for (const Column column : kWrittenColumns)
        addedNames.push_back(writer.encoded(columnName(column)));
    const std::array<std::string_view, 3> headerAdded = {addedNames[0], addedNames[1], addedNames[2]};
    writer.row(out, record, headerAdded);

    const Tables tables(dialect.encoding);
    RowEvaluator evaluator(tables, layout, dialect.encoding);
    VehicleResult result;
    std::size_t computed = 0;
    std::size_t rejected = 0;
    std::int64_t total = 0;
    bool totalFits = true;
    std::vector<std::string> shownErrors;

    const bool progress
        = console.showsProgress() && static_cast<std::uintmax_t>(file.st_size) >= kProgressFileSize;
    auto lastProgress = std::chrono::steady_clock::now();
    std::string premiumText, errorText;

    for (;;) {
        const CsvReader::Status status = reader.next(record);
        if (status == CsvReader::Status::End)
            break;
        if (status != CsvReader::Status::Record)
            return readFailure(status);
        evaluator.evaluate(record, result);
        switch (result.kind) {
        case VehicleResult::Kind::EarlierTotal:
            continue;
        case VehicleResult::Kind::Blank:
            writer.row(out, record, std::array<std::string_view, 3>{});
            break;
        case VehicleResult::Kind::Computed: {
            ++computed;
            std::int64_t sum = 0;
            if (__builtin_add_overflow(total, result.premium.raw(), &sum))
                totalFits = false;
            total = sum;
            premiumText = engine::formatFactorText(result.premium);
            writer.row(out,
                record,
                std::array<std::string_view, 3>{result.factors, premiumText, std::string_view()});
            break;
        }
        case VehicleResult::Kind::Rejected:
            ++rejected;
            if (shownErrors.size() < kErrorsShown)
                shownErrors.push_back(result.error);
            writer.row(out,
                record,
                std::array<std::string_view, 3>{
                    std::string_view(), std::string_view(), writer.encoded(result.error, errorText)});
            break;
        }
        if (out.size() >= kFlushSize) {
            if (!sink->write(out))
                return fail(sink->failure());
            out.clear();
        }
        if (progress && record.row % 4096 == 0) {
            const auto now = std::chrono::steady_clock::now();
            if (now - lastProgress >= std::chrono::milliseconds(200)) {
                lastProgress = now;
                const auto percent = reader.bytesConsumed() * 100 / static_cast<std::uintmax_t>(file.st_size);
                console.progress("обработано строк: " + std::to_string(record.row - 1) + " ("
                    + std::to_string(percent) + " %)");
            }
        }
    }

    // The total row: "ИТОГО" under "Категория", the exact sum of the premiums, and the counts.
    std::string counts = "рассчитано " + std::to_string(computed) + ", отклонено " + std::to_string(rejected);
    if (!totalFits)
        counts += "; сумма премий слишком велика для расчета";
    const std::string totalWord = writer.encoded(engine::kTotalWord);
    const std::string totalText
        = totalFits ? engine::formatFactorText(engine::FixedPoint::fromRaw(total)) : "";
    const std::string countsText = writer.encoded(counts);
    const char separator = dialect.separator;
    for (std::size_t i = 0; i < layout.carried.size(); ++i) {
        if (i > 0)
            out += separator;
        if (i == layout.categoryOutput)
            appendCell(out, totalWord, separator);
    }
    out += separator;
    out += separator;
    appendCell(out, totalText, separator);
    out += separator;
    appendCell(out, countsText, separator);
    out += dialect.lineEnd;
    if (!sink->write(out) || !sink->finish())
        return fail(sink->failure());

    console.progress({});
    for (const std::string &error : shownErrors)
        console.say(error);
    if (rejected > shownErrors.size())
        console.say("… и еще строк с ошибками: " + std::to_string(rejected - shownErrors.size()));
    std::string done = counts;
    if (totalFits)
        done += ", сумма премий " + totalText;
    if (options.output)
        done += "; результат записан в " + quotedPath(*options.output);
    console.say(done);
    return rejected == 0 && totalFits ? kAllComputed : kSomeRejected;
}

} // namespace batch
