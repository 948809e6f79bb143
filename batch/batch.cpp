#include "batch/batch.h"

#include "batch/columns.h"
#include "batch/formats.h"
#include "batch/rows.h"
#include "batch/tables.h"
#include "batch/vehicle_row.h"
#include "engine/fixed_point.h"
#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <cerrno>
#include <chrono>
#include <memory>

namespace batch {

namespace {

constexpr std::size_t kErrorsShown = 10; // rejected rows listed on the console; the file has them all

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

// The total row as a row of the input: "ИТОГО" under "Категория", every other cell empty.
Record totalRecord(const Layout &layout, std::string_view word)
{
    Record total;
    total.cells.resize(layout.width);
    total.cells[*layout.cell[static_cast<std::size_t>(Column::Category)]] = word;
    return total;
}

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

    void update(std::size_t row, const RowSource &source)
    {
        if (!m_shown || row % 4096 != 0)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last < std::chrono::milliseconds(200))
            return;
        m_last = now;
        const auto percent = source.bytesConsumed() * 100 / m_fileSize;
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
        , m_file(quotedPath(options.input))
    {
    }

    // The input file, which must be a file one may read, and its rows: a workbook's or a text file's,
    // by its first bytes.
    bool openInput()
    {
        const report::OpenedFile file = report::openForReading(m_options.input);
        if (!file.status)
            return fail(readFailure(m_file, file.status.error));
        const int fd = m_input.emplace(file.fd).get();
        m_fileSize = file.size;
        std::string problem;
        m_source = openRowSource(fd, m_file, problem);
        return m_source || fail(problem);
    }

    // The header row: the list's dialect and which column is where.
    bool readHeader()
    {
        if (!m_source->header(m_record))
            return fail(m_source->problem(m_file));
        m_encoding = m_source->dialect().encoding;
        std::vector<std::string> names;
        for (const std::string_view name : m_record.cells)
            names.push_back(
                m_encoding == Encoding::Windows1251 ? engine::fromWindows1251(name) : std::string(name));
        LayoutResult layout = layoutOf(names);
        if (!layout.layout)
            return fail(m_file + ": " + layout.problem
                + ". Первая строка файла должна называть столбцы; см. tarifmaster --batch --help");
        m_layout = std::move(*layout.layout);
        return true;
    }

    // Where the result goes: the --output file, replaced once complete, or standard output.
    bool chooseOutput()
    {
        std::string problem;
        m_sink
            = openRowSink(m_options.output, m_options.standardOutput, m_source->dialect(), m_layout, problem);
        return m_sink || fail(problem);
    }

    // The header row written out with the names of the columns added, then every row computed and
    // written, as the file streams in.
    bool computeRows()
    {
        std::array<std::string, kWrittenColumns.size()> names;
        for (std::size_t i = 0; i < names.size(); ++i)
            appendEncoded(names[i], columnName(kWrittenColumns[i]), m_encoding);
        if (!writeRow(std::array<std::string_view, 3>{names[0], names[1], names[2]}))
            return false;

        const Tables tables(m_encoding);
        RowEvaluator evaluator(tables, m_layout, m_encoding);
        Progress progress(m_console, m_fileSize);
        VehicleResult result;
        std::string premiumText, errorText;
        for (;;) {
            const RowSource::Status status = m_source->next(m_record);
            if (status == RowSource::Status::End)
                return true;
            if (status == RowSource::Status::Failed)
                return fail(m_source->problem(m_file));
            evaluator.evaluate(m_record, result);
            if (result.kind == VehicleResult::Kind::EarlierTotal)
                continue;
            m_tally.add(result);
            std::array<std::string_view, 3> added{}; // a blank row gets none
            if (result.kind == VehicleResult::Kind::Computed) {
                premiumText = engine::formatFactorText(result.premium);
                added = {result.factors, premiumText, std::string_view()};
            } else if (result.kind == VehicleResult::Kind::Rejected) {
                added = {
                    std::string_view(), std::string_view(), encodedText(result.error, m_encoding, errorText)};
            }
            if (!writeRow(added))
                return false;
            progress.update(m_record.row, *m_source);
        }
    }

    // The total row: "ИТОГО" under "Категория", the exact sum of the premiums, and the counts; then
    // the result is complete.
    bool writeTotalRow()
    {
        std::string word, counts;
        appendEncoded(word, engine::kTotalWord, m_encoding);
        appendEncoded(counts, m_tally.counts(), m_encoding);
        const std::string totalText = m_tally.totalText();
        m_record = totalRecord(m_layout, word);
        if (!writeRow(std::array<std::string_view, 3>{std::string_view(), totalText, counts}))
            return false;
        // The list is read to its end and let go before the result takes a file's place: the result may
        // replace the very list (computed anew from itself), and Windows replaces no file held open.
        m_source.reset();
        m_input.reset();
        return m_sink->finish() || fail(m_sink->problem());
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
    // m_record written out with the cells added.
    bool writeRow(std::span<const std::string_view> added)
    {
        return m_sink->row(m_record, added) || fail(m_sink->problem());
    }

    bool fail(const std::string &text)
    {
        m_console.progress({});
        m_console.say("tarifmaster: " + text);
        return false;
    }

    const Options &m_options;
    Console &m_console;
    std::string m_file; // the input's name as messages quote it
    std::optional<Descriptor> m_input;
    std::uintmax_t m_fileSize = 0;
    std::unique_ptr<RowSource> m_source;
    Record m_record; // the header, then each row in turn
    Encoding m_encoding = Encoding::Utf8;
    Layout m_layout;
    std::unique_ptr<RowSink> m_sink;
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
