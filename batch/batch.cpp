#include "batch/batch.h"

#include "batch/columns.h"
#include "batch/formats.h"
#include "batch/rows.h"
#include "batch/tables.h"
#include "batch/vehicle_row.h"
#include "engine/fixed_point.h"
#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <algorithm>
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

// What the rows came to: the counts, the exact sum of the premiums, the first reasons to show and the
// first rejected rows to keep.
class Tally {
public:
    explicit Tally(std::size_t rowsKept)
        : m_rowsKept(rowsKept)
    {
    }

    void add(const VehicleResult &result, std::size_t row)
    {
        if (result.kind == VehicleResult::Kind::Computed) {
            ++m_computed;
            m_total.add(result.premium);
        } else if (result.kind == VehicleResult::Kind::Rejected) {
            addRejected(result, row);
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
    std::size_t computed() const
    {
        return m_computed;
    }
    std::size_t rejected() const
    {
        return m_rejected;
    }
    const std::vector<std::string> &shownErrors() const
    {
        return m_shownErrors;
    }
    std::vector<RejectedRow> takeRejectedRows()
    {
        return std::move(m_rejectedRows);
    }

private:
    [[gnu::cold]] void addRejected(const VehicleResult &result, std::size_t row)
    {
        ++m_rejected;
        if (m_shownErrors.size() < kErrorsShown)
            m_shownErrors.push_back(result.error);
        if (m_rejectedRows.size() < m_rowsKept)
            m_rejectedRows.push_back({row, result.columns, result.error.substr(result.reasonAt)});
    }

    std::size_t m_rowsKept;
    std::size_t m_computed = 0;
    std::size_t m_rejected = 0;
    engine::FixedPointTotal m_total;
    std::vector<std::string> m_shownErrors;
    std::vector<RejectedRow> m_rejectedRows;
};

// Between the rows: whether the console asks to stop, and at most five times a second the share of the
// file read, with the progress line of a large file on a terminal. A row costs a test of its number;
// the console is asked every kPollRows rows.
class Progress {
public:
    static constexpr std::size_t kPollRows = 256;

    Progress(Console &console, std::uintmax_t fileSize)
        : m_console(console)
        , m_fileSize(fileSize)
        , m_line(console.showsProgress() && fileSize >= kProgressFileSize)
    {
    }

    // After each row, numbered as the sources number them, one after the other; false once the console
    // asks to stop.
    bool update(std::size_t row, const RowSource &source)
    {
        return row % kPollRows != 0 || poll(row, source);
    }

private:
    [[gnu::noinline]] bool poll(std::size_t row, const RowSource &source)
    {
        if (m_console.stopRequested())
            return false;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_last < std::chrono::milliseconds(200))
            return true;
        m_last = now;
        const std::uint64_t percent
            = m_fileSize == 0 ? 0 : std::min<std::uint64_t>(100, source.bytesConsumed() * 100 / m_fileSize);
        m_console.progressed(static_cast<unsigned>(percent));
        if (m_line)
            m_console.progress(
                "обработано строк: " + std::to_string(row - 1) + " (" + std::to_string(percent) + " %)");
        return true;
    }

    Console &m_console;
    std::uintmax_t m_fileSize;
    bool m_line; // the progress line is shown
    std::chrono::steady_clock::time_point m_last = std::chrono::steady_clock::now();
};

// One run, in the order of its steps. A step that cannot go on says why and returns false; the run
// then ends with kNotRead.
class BatchRun {
public:
    // rowsKept: how many rejected rows the summary keeps.
    BatchRun(const Options &options, Console &console, std::size_t rowsKept)
        : m_options(options)
        , m_console(console)
        , m_file(quotedPath(options.input))
        , m_tally(rowsKept)
    {
    }

    // The input file, which must be a file one may read, and its rows: a workbook's or a text file's,
    // by its first bytes.
    bool openInput()
    {
        const report::OpenedFile file = report::openForReading(m_options.input);
        if (!file.status)
            return fail(readFailure(m_file, file.status.error), Failure::List);
        const int fd = m_input.emplace(file.fd).get();
        m_fileSize = file.size;
        std::string problem;
        m_source = openRowSource(fd, m_file, problem);
        return m_source || fail(problem, Failure::List);
    }

    // The header row: the list's dialect and which column is where.
    bool readHeader()
    {
        if (!m_source->header(m_record))
            return fail(m_source->problem(m_file), Failure::List);
        m_encoding = m_source->dialect().encoding;
        std::vector<std::string> names;
        for (const std::string_view name : m_record.cells)
            names.push_back(
                m_encoding == Encoding::Windows1251 ? engine::fromWindows1251(name) : std::string(name));
        LayoutResult layout = layoutOf(names);
        if (!layout.layout)
            return fail(m_file + ": " + layout.problem
                    + ". Первая строка файла должна называть столбцы; см. tarifmaster --batch --help",
                Failure::List);
        m_layout = std::move(*layout.layout);
        return true;
    }

    // Where the result goes: the --output file, replaced once complete, or standard output.
    bool chooseOutput()
    {
        std::string problem;
        Failure trouble = Failure::Result;
        const StopCheck stopRequested = [this] {
            return m_console.stopRequested();
        };
        m_sink = openRowSink(m_options.output,
            m_options.standardOutput,
            m_source->dialect(),
            m_layout,
            stopRequested,
            problem,
            trouble);
        return m_sink || fail(problem, trouble);
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
                return fail(m_source->problem(m_file), Failure::List);
            evaluator.evaluate(m_record, result);
            if (result.kind == VehicleResult::Kind::EarlierTotal)
                continue;
            m_tally.add(result, m_record.row);
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
            if (!progress.update(m_record.row, *m_source))
                return stop();
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
        if (m_console.stopRequested())
            return stop();
        if (m_sink->finish())
            return true;
        return m_console.stopRequested() ? stop() : sinkFailed();
    }

    // The closing lines on the console: the first reasons, how many more, the counts and the sum; and
    // the run's end with its exit status.
    RunSummary summarize()
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
        m_summary.status = m_tally.rejected() == 0 && m_tally.totalFits() ? kAllComputed : kSomeRejected;
        m_summary.computed = m_tally.computed();
        m_summary.rejected = m_tally.rejected();
        m_summary.total = m_tally.totalText();
        m_summary.rejectedRows = m_tally.takeRejectedRows();
        if (m_options.output)
            m_summary.written = *m_options.output;
        return std::move(m_summary);
    }

    // The end of a run that wrote nothing: why, in m_summary since it failed.
    RunSummary failed()
    {
        return std::move(m_summary); // its status is still kNotRead
    }

private:
    // m_record written out with the cells added.
    bool writeRow(std::span<const std::string_view> added)
    {
        return m_sink->row(m_record, added) || sinkFailed();
    }

    bool sinkFailed()
    {
        return fail(m_sink->problem(), m_sink->trouble());
    }

    bool fail(const std::string &text, Failure failure)
    {
        m_console.progress({});
        m_console.say("tarifmaster: " + text);
        m_summary.failure = failure;
        m_summary.message = text;
        return false;
    }

    // The console asked to stop: nothing more is written, and the result is let go unfinished.
    bool stop()
    {
        m_console.progress({});
        m_summary.failure = Failure::Stopped;
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
    RunSummary m_summary;
};

RunSummary runList(const Options &options, Console &console, std::size_t rowsKept)
{
    BatchRun batch(options, console, rowsKept);
    if (!batch.openInput() || !batch.readHeader() || !batch.chooseOutput() || !batch.computeRows()
        || !batch.writeTotalRow())
        return batch.failed();
    return batch.summarize();
}

} // namespace

RunSummary runSummarized(const Options &options, Console &console)
{
    return runList(options, console, kRejectedRowsKept);
}

// The console program lists no rejected rows but on the console.
int run(const Options &options, Console &console)
{
    return runList(options, console, 0).status;
}

} // namespace batch
