#include "batch/batch.h"

#include "batch/columns.h"
#include "batch/csv.h"
#include "batch/tables.h"
#include "batch/vehicle_row.h"
#include "batch/workbook.h"
#include "engine/fixed_point.h"
#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <cerrno>
#include <chrono>
#include <memory>

namespace batch {

namespace {

constexpr std::size_t kFlushSize = 256 * 1024;
constexpr std::size_t kErrorsShown = 10; // rejected rows listed on the console; the file has them all

std::string quotedPath(const std::filesystem::path &path)
{
    return "«" + report::utf8Text(path) + "»";
}

// A result that could not be written, and why; the file stays as it was.
std::string notWritten(const std::filesystem::path &path, const std::string &reason)
{
    return "не удалось записать " + quotedPath(path) + ": " + reason + "; файл не изменен";
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
        return notWritten(m_file.target(), report::failureReason(m_status, kResultFile));
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
            report::closeFile(m_fd);
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

// Where a cell of a result row comes from: the input row's cell at index, or the added cell at index.
struct CellOrigin {
    bool added;
    std::size_t index;
};

// The cells that follow the carried ones in a result row: the cells added, then the values beyond the
// header's last column, which are kept too.
template<typename Visit>
void forEachTrailingCell(
    const Layout &layout, const Record &record, std::span<const std::string_view> added, const Visit &visit)
{
    for (std::size_t i = 0; i < added.size(); ++i)
        visit(added[i], CellOrigin{true, i});
    if (hasValuesBeyond(record, layout.width))
        for (std::size_t i = layout.width; i < record.cells.size(); ++i)
            visit(record.cells[i], CellOrigin{false, i});
}

// The cells of a result row in order: the carried cells, then the trailing ones.
template<typename Visit>
void forEachResultCell(
    const Layout &layout, const Record &record, std::span<const std::string_view> added, const Visit &visit)
{
    for (const std::size_t position : layout.carried)
        visit(position < record.cells.size() ? record.cells[position] : std::string_view(),
            CellOrigin{false, position});
    forEachTrailingCell(layout, record, added, visit);
}

// The total row as a row of the input: "ИТОГО" under "Категория", every other cell empty.
Record totalRecord(const Layout &layout, std::string_view word)
{
    Record total;
    total.cells.resize(layout.width);
    total.cells[*layout.cell[static_cast<std::size_t>(Column::Category)]] = word;
    return total;
}

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
        if (m_identity && !record.raw.empty() && record.cells.size() <= m_layout.width
            && !record.unterminatedQuote) {
            // Every cell is carried in its place: the row's own bytes, quoting and all.
            out += record.raw;
            out.append(m_layout.width - record.cells.size(), separator);
            forEachTrailingCell(m_layout, record, added, [&](std::string_view text, CellOrigin) {
                out += separator;
                appendCell(out, text, separator);
            });
        } else {
            bool first = true;
            forEachResultCell(m_layout, record, added, [&](std::string_view text, CellOrigin) {
                if (!first)
                    out += separator;
                first = false;
                appendCell(out, text, separator);
            });
        }
        out += m_dialect.lineEnd;
    }

private:
    const Dialect &m_dialect;
    const Layout &m_layout;
    bool m_identity; // every column is carried, none taken out
};

// Rows of a result workbook: the same cells as a CSV row, given as the CSV writer takes them (in the
// input's encoding) and written in UTF-8; the input's number cells as numbers, the premium as a sum of
// money.
class WorkbookRows {
public:
    WorkbookRows(WorkbookWriter &book, const Layout &layout, Encoding encoding)
        : m_book(book)
        , m_layout(layout)
        , m_encoding(encoding)
    {
    }

    bool row(const Record &record, std::span<const std::string_view> added, bool header)
    {
        m_texts.resize(m_layout.carried.size() + added.size() + record.cells.size());
        m_cells.clear();
        forEachResultCell(m_layout, record, added, [&](std::string_view text, CellOrigin origin) {
            ResultCell cell{text, ResultCell::Kind::Text};
            if (m_encoding == Encoding::Windows1251 && !text.empty()) {
                m_texts[m_cells.size()] = engine::fromWindows1251(text);
                cell.text = m_texts[m_cells.size()];
            }
            if (header)
                cell.kind = ResultCell::Kind::Text;
            else if (origin.added && added.size() > 1 && origin.index == 1)
                cell.kind = ResultCell::Kind::Money;
            else if (!origin.added && origin.index < record.numbers.size() && record.numbers[origin.index])
                cell.kind = ResultCell::Kind::Number;
            m_cells.push_back(cell);
        });
        return m_book.row(m_cells);
    }

private:
    WorkbookWriter &m_book;
    const Layout &m_layout;
    Encoding m_encoding;
    std::vector<std::string> m_texts; // cells converted to UTF-8, by their place in the row
    std::vector<ResultCell> m_cells;
};

// What the rows came to: the counts, the exact sum of the premiums and the first reasons to show.
class Tally {
public:
    void add(const VehicleResult &result)
    {
        if (result.kind == VehicleResult::Kind::Computed) {
            ++m_computed;
            m_total.add(result.premium);
        } else if (result.kind == VehicleResult::Kind::Rejected) {
            ++m_rejected;
            if (m_shownErrors.size() < kErrorsShown)
                m_shownErrors.push_back(result.error);
        }
    }

    // "рассчитано N, отклонено M", and that the sum did not fit when so.
    std::string counts() const
    {
        std::string counts
            = "рассчитано " + std::to_string(m_computed) + ", отклонено " + std::to_string(m_rejected);
        if (!totalFits())
            counts += "; сумма премий слишком велика для расчета";
        return counts;
    }
    // The sum of the premiums as a factor text; empty when it did not fit.
    std::string totalText() const
    {
        const auto total = m_total.value();
        return total ? engine::formatFactorText(*total) : "";
    }
    bool totalFits() const
    {
        return m_total.value().has_value();
    }
    std::size_t rejected() const
    {
        return m_rejected;
    }
    const std::vector<std::string> &shownErrors() const
    {
        return m_shownErrors;
    }

private:
    std::size_t m_computed = 0;
    std::size_t m_rejected = 0;
    engine::FixedPointTotal m_total;
    std::vector<std::string> m_shownErrors;
};

// The progress line of a large file on a terminal: rows done and the share of the file read, rewritten
// at most five times a second.
class Progress {
public:
    Progress(Console &console, std::uintmax_t fileSize)
        : m_console(console)
        , m_fileSize(fileSize)
        , m_shown(console.showsProgress() && fileSize >= kProgressFileSize)
    {
    }

    void update(std::size_t row, std::uint64_t bytesRead)
    {
        if (!m_shown || row % 4096 != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last < std::chrono::milliseconds(200))
            return;
        m_last = now;
        const auto percent = bytesRead * 100 / m_fileSize;
        m_console.progressed(static_cast<unsigned>(percent));
        m_console.progress(
            "обработано строк: " + std::to_string(row - 1) + " (" + std::to_string(percent) + " %)");
    }

private:
    Console &m_console;
    std::uintmax_t m_fileSize;
    bool m_shown;
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

// One run, in the order of its steps. A step that cannot go on says why and returns false; the run
// then ends with kNotRead.
class BatchRun {
public:
    BatchRun(const Options &options, Console &console)
        : m_options(options)
        , m_console(console)
    {
    }

    // The input file, which must be a file one may read: a workbook or a text file, by its first bytes.
    bool openInput()
    {
        const report::OpenedFile file = report::openForReading(m_options.input);
        if (!file.status)
            return fail(
                "не удалось прочитать " + quotedPath(m_options.input) + ": " + readReason(file.status.error));
        const int fd = m_input.emplace(file.fd).get();
        m_fileSize = file.size;
        char first[kSniffBytes] = {};
        const std::ptrdiff_t got = report::readStart(fd, first, sizeof first);
        const Container container
            = containerOf(std::string_view(first, got > 0 ? static_cast<std::size_t>(got) : 0));
        if (container == Container::Compound)
            return fail(quotedPath(m_options.input)
                + ": это книга Excel 97-2003 (.xls) или книга, защищенная паролем; сохраните ее как .xlsx "
                  "или .ods без пароля");
        if (container == Container::Zip) {
            std::string problem;
            m_sheet = openWorkbook(fd, problem);
            if (!m_sheet)
                return fail(quotedPath(m_options.input) + ": " + problem);
            return true;
        }
        m_reader.emplace(fd);
        return true;
    }

    // The header row: the file's dialect and which column is where. A workbook's texts are UTF-8; its
    // result as CSV goes to standard output in plain UTF-8, to a file with the mark and the line ends
    // that spreadsheet programs open as UTF-8.
    bool readHeader()
    {
        std::vector<std::string> names;
        if (m_sheet) {
            const SheetReader::Status status = m_sheet->next(m_record);
            if (status == SheetReader::Status::End)
                return fail(quotedPath(m_options.input) + ": первый лист книги пуст, нет строки заголовка");
            if (status == SheetReader::Status::Failed)
                return fail(quotedPath(m_options.input) + ": " + m_sheet->problem());
            if (m_options.output)
                m_dialect = Dialect{Encoding::Utf8WithBom, ';', "\r\n"};
            names.assign(m_record.cells.begin(), m_record.cells.end());
        } else {
            const CsvReader::Status status = m_reader->readHeader(m_record);
            if (status == CsvReader::Status::End)
                return fail(quotedPath(m_options.input) + ": файл пуст, нет строки заголовка");
            if (status != CsvReader::Status::Record)
                return readFailure(status);
            m_dialect = m_reader->dialect();
            for (const std::string_view name : m_record.cells)
                names.push_back(m_dialect.encoding == Encoding::Windows1251 ? engine::fromWindows1251(name)
                                                                            : std::string(name));
        }
        LayoutResult layout = layoutOf(names);
        if (!layout.layout)
            return fail(quotedPath(m_options.input) + ": " + layout.problem
                + ". Первая строка файла должна называть столбцы; см. tarifmaster --batch --help");
        m_layout = std::move(*layout.layout);
        m_writer.emplace(m_dialect, m_layout);
        return true;
    }

    // Where the result goes: the --output file, replaced once complete, as a workbook when its name
    // asks for one; or standard output.
    bool chooseOutput()
    {
        if (m_options.output) {
            if (const WorkbookFormat format = workbookFormatOfName(*m_options.output);
                format != WorkbookFormat::None) {
                m_book = makeWorkbookWriter(format);
                if (!workbooksSupported())
                    return fail(quotedPath(*m_options.output) + ": " + m_book->problem());
                m_bookRows.emplace(*m_book, m_layout, m_dialect.encoding);
            }
            auto target = std::make_unique<FileSink>(*m_options.output);
            if (!target->open())
                return fail(target->failure());
            m_sink = std::move(target);
        } else {
            m_sink = std::make_unique<DescriptorSink>(m_options.standardOutput);
        }
        return true;
    }

    // The header row written out with the names of the columns added, then every row computed and
    // written, as the file streams in.
    bool computeRows()
    {
        std::array<std::string, kWrittenColumns.size()> names;
        for (std::size_t i = 0; i < names.size(); ++i)
            names[i] = m_writer->encoded(columnName(kWrittenColumns[i]));
        if (!m_book) {
            m_out.reserve(kFlushSize + 64 * 1024);
            if (m_dialect.encoding == Encoding::Utf8WithBom)
                m_out += "\xEF\xBB\xBF";
        }
        if (!writeRow(std::array<std::string_view, 3>{names[0], names[1], names[2]}, true))
            return false;

        const Tables tables(m_dialect.encoding);
        RowEvaluator evaluator(tables, m_layout, m_dialect.encoding);
        Progress progress(m_console, m_fileSize);
        VehicleResult result;
        std::string premiumText, errorText;
        for (;;) {
            const Read read = nextRecord();
            if (read == Read::End)
                return true;
            if (read == Read::Failed)
                return false;
            evaluator.evaluate(m_record, result);
            if (result.kind == VehicleResult::Kind::EarlierTotal)
                continue;
            m_tally.add(result);
            std::array<std::string_view, 3> added{}; // a blank row gets none
            if (result.kind == VehicleResult::Kind::Computed) {
                premiumText = engine::formatFactorText(result.premium);
                added = {result.factors, premiumText, std::string_view()};
            } else if (result.kind == VehicleResult::Kind::Rejected) {
                added = {std::string_view(), std::string_view(), m_writer->encoded(result.error, errorText)};
            }
            if (!writeRow(added, false))
                return false;
            progress.update(m_record.row, m_sheet ? m_sheet->bytesConsumed() : m_reader->bytesConsumed());
        }
    }

    // The total row: "ИТОГО" under "Категория", the exact sum of the premiums, and the counts; then
    // the result is complete.
    bool writeTotalRow()
    {
        const std::string word = m_writer->encoded(engine::kTotalWord);
        const std::string totalText = m_tally.totalText();
        const std::string counts = m_writer->encoded(m_tally.counts());
        m_record = totalRecord(m_layout, word);
        if (!writeRow(std::array<std::string_view, 3>{std::string_view(), totalText, counts}, false))
            return false;
        if (m_book) {
            const bool made = m_book->finish([this](std::string_view bytes) {
                return m_sink->write(bytes);
            });
            if (!made)
                return fail(m_book->problem().empty() ? m_sink->failure() : bookFailure());
        } else if (!flush()) {
            return false;
        }
        // The list is read to its end and let go before the result takes a file's place: the result may
        // replace the very list (computed anew from itself), and Windows replaces no file held open.
        m_sheet.reset();
        m_reader.reset();
        m_input.reset();
        if (!m_sink->finish())
            return fail(m_sink->failure());
        return true;
    }

    // The closing lines on the console: the first reasons, how many more, the counts and the sum; and
    // the exit status.
    int summarize() const
    {
        m_console.progress({});
        for (const std::string &error : m_tally.shownErrors())
            m_console.say(error);
        const std::size_t shown = m_tally.shownErrors().size();
        if (m_tally.rejected() > shown)
            m_console.say("… и еще строк с ошибками: " + std::to_string(m_tally.rejected() - shown));
        std::string done = m_tally.counts();
        if (m_tally.totalFits())
            done += ", сумма премий " + m_tally.totalText();
        if (m_options.output)
            done += "; результат записан в " + quotedPath(*m_options.output);
        m_console.say(done);
        return m_tally.rejected() == 0 && m_tally.totalFits() ? kAllComputed : kSomeRejected;
    }

private:
    enum class Read { Record, End, Failed };

    // The next row of the file into m_record; a failure has been said.
    Read nextRecord()
    {
        if (m_sheet) {
            const SheetReader::Status status = m_sheet->next(m_record);
            if (status == SheetReader::Status::Failed) {
                fail(quotedPath(m_options.input) + ": " + m_sheet->problem());
                return Read::Failed;
            }
            return status == SheetReader::Status::Record ? Read::Record : Read::End;
        }
        const CsvReader::Status status = m_reader->next(m_record);
        if (status == CsvReader::Status::Record)
            return Read::Record;
        if (status == CsvReader::Status::End)
            return Read::End;
        readFailure(status);
        return Read::Failed;
    }

    // m_record written out with the cells added: into the workbook, or onto the CSV text.
    bool writeRow(std::span<const std::string_view> added, bool header)
    {
        if (m_book) {
            if (!m_bookRows->row(m_record, added, header))
                return fail(bookFailure());
            return true;
        }
        m_writer->row(m_out, m_record, added);
        return m_out.size() < kFlushSize || flush();
    }

    std::string bookFailure() const
    {
        return notWritten(*m_options.output, m_book->problem());
    }

    bool fail(const std::string &text)
    {
        m_console.progress({});
        m_console.say("tarifmaster: " + text);
        return false;
    }

    bool readFailure(CsvReader::Status status)
    {
        if (status == CsvReader::Status::TooLong)
            return fail(quotedPath(m_options.input) + ", строка " + std::to_string(m_record.row + 1)
                + ": длиннее " + std::to_string(kMaxRecordBytes / (1024 * 1024))
                + " МБ — вероятно, в ней не закрыта кавычка");
        if (status == CsvReader::Status::Utf16)
            return fail(quotedPath(m_options.input)
                + ": файл в кодировке UTF-16; сохраните его как CSV в UTF-8 или Windows-1251");
        return fail(
            "не удалось прочитать " + quotedPath(m_options.input) + ": " + readReason(m_reader->error()));
    }

    // Hands what is written so far to the output.
    bool flush()
    {
        if (!m_sink->write(m_out))
            return fail(m_sink->failure());
        m_out.clear();
        return true;
    }

    const Options &m_options;
    Console &m_console;
    std::optional<Descriptor> m_input;
    std::uintmax_t m_fileSize = 0;
    std::optional<CsvReader> m_reader;    // a text file
    std::unique_ptr<SheetReader> m_sheet; // or a workbook
    Record m_record;                      // the header, then each row in turn
    Dialect m_dialect;
    Layout m_layout;
    std::optional<RowWriter> m_writer; // for m_dialect and m_layout
    std::unique_ptr<Sink> m_sink;
    std::unique_ptr<WorkbookWriter> m_book; // a workbook result, handed to m_sink once complete
    std::optional<WorkbookRows> m_bookRows; // for m_book and m_layout
    std::string m_out;                      // the result not yet handed to the sink
    Tally m_tally;
};

} // namespace

int run(const Options &options, Console &console)
{
    BatchRun batch(options, console);
    if (!batch.openInput() || !batch.readHeader() || !batch.chooseOutput() || !batch.computeRows()
        || !batch.writeTotalRow())
        return kNotRead;
    return batch.summarize();
}

} // namespace batch
