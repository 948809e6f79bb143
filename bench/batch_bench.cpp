// The batch mode on big vehicle lists: the program itself run as a child on a generated file of mixed
// categories and real entries, timed, with its peak memory read from its resource usage. The 10 000-row
// and the 1 000 000-row file run in the same process, so their peak memory can be set side by side: a
// streaming batch keeps both at the same size.
//
// BM_WorkbookAgainstCsv sets a 100 000-row workbook, the same list saved by LibreOffice Calc as .xlsx or
// .ods, beside the CSV it was made from, run in turn: time and peak memory of both, the result to
// standard output or to a workbook of the same kind.
//
// BM_BatchAgainstAwk sets the batch beside the plainest reading of the same file there is, awk splitting
// every line at ';', run in turn with the batch on the same file in the same process, so that the ratio
// of the two does not depend on the machine: once for the file in Windows-1251, as a Russian spreadsheet
// saves it, and once in UTF-8.
#include "bench/bench_lists.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bench::ChildRun;
using bench::Encoding;

using bench::listFolder;

const fs::path &listOf(std::size_t rows, Encoding encoding = Encoding::Utf8)
{
    static std::map<std::pair<std::size_t, Encoding>, fs::path> lists;
    const std::string name = "list-" + std::to_string(rows)
        + (encoding == Encoding::Windows1251 ? "-windows-1251" : "-utf-8") + ".csv";
    auto [at, added] = lists.try_emplace({rows, encoding}, listFolder() / name);
    if (added)
        bench::writeList(at->second, rows, encoding);
    return at->second;
}

ChildRun runBatch(const fs::path &list, const fs::path *output, const char *program = TARIFMASTER_PROGRAM)
{
    std::vector<std::string> args = {program, "--batch", list.string()};
    if (output)
        args.insert(args.end(), {"--output", output->string()});
    return bench::runChild(std::move(args));
}

// awk reading the list and splitting each line into its cells, and nothing else.
ChildRun runAwk(const fs::path &list)
{
    return bench::runChild({"awk", "-F;", "{n+=NF}", list.string()});
}

void measure(benchmark::State &state, bool toFile)
{
    const auto rows = static_cast<std::size_t>(state.range(0));
    const fs::path &list = listOf(rows);
    const fs::path output = listFolder() / "result.csv";
    long peak = 0;
    double cpu = 0;
    for (auto _ : state) {
        const ChildRun run = runBatch(list, toFile ? &output : nullptr);
        if (!run.exited) {
            state.SkipWithError("the batch did not finish with status 0 or 1");
            break;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakKilobytes);
        cpu += run.cpuSeconds;
    }
    state.counters["rows/s"] = benchmark::Counter(
        static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    // The child's own processor time: what the wall-clock time would be on an otherwise idle machine.
    state.counters["child_CPU_s"]
        = cpu / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["peak_RSS_MiB"] = static_cast<double>(peak) / 1024.0;
    state.counters["file_MiB"] = static_cast<double>(fs::file_size(list)) / (1024.0 * 1024.0);
}

// The result to standard output (thrown away): reading, computing and writing.
void BM_BatchToStandardOutput(benchmark::State &state)
{
    measure(state, false);
}
// The result to --output: the same, plus the temporary file flushed to the disk and renamed.
void BM_BatchToFile(benchmark::State &state)
{
    measure(state, true);
}

// The million-row list through a batch program to standard output and through awk, in turn; the time of
// an iteration is the batch's, the counters give both and their ratio.
void measureAgainstAwk(benchmark::State &state, const char *program, Encoding encoding)
{
    const fs::path &list = listOf(1'000'000, encoding);
    double batchSeconds = 0;
    double awkSeconds = 0;
    double batchCpu = 0;
    double awkCpu = 0;
    for (auto _ : state) {
        const ChildRun awk = runAwk(list);
        const ChildRun run = runBatch(list, nullptr, program);
        if (!awk.exited || !run.exited) {
            state.SkipWithError(
                !awk.exited ? "awk did not finish" : "the batch did not finish with status 0 or 1");
            break;
        }
        state.SetIterationTime(run.seconds);
        batchSeconds += run.seconds;
        awkSeconds += awk.seconds;
        batchCpu += run.cpuSeconds;
        awkCpu += awk.cpuSeconds;
    }
    const auto iterations = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetLabel(encoding == Encoding::Windows1251 ? "Windows-1251" : "UTF-8");
    state.counters["batch_s"] = batchSeconds / iterations;
    state.counters["awk_s"] = awkSeconds / iterations;
    state.counters["batch/awk"] = awkSeconds > 0 ? batchSeconds / awkSeconds : 0;
    // The same from the children's processor time, which a busy machine disturbs less.
    state.counters["CPU_batch/awk"] = awkCpu > 0 ? batchCpu / awkCpu : 0;
    state.counters["file_MiB"] = static_cast<double>(fs::file_size(list)) / (1024.0 * 1024.0);
}

// The list of rows saved by LibreOffice as a workbook of kind ("xlsx" or "ods"), as a Russian user's
// Calc reads the CSV: decimal commas as numbers. Empty when LibreOffice is missing.
fs::path workbookOf(std::size_t rows, const std::string &kind)
{
    const fs::path &list = listOf(rows);
    fs::path book = list;
    book.replace_extension(kind);
    if (!fs::exists(book)) {
        const std::string command = "soffice -env:UserInstallation=file://"
            + (listFolder() / "profile").string()
            + " --headless --infilter=CSV:59,34,76,1,,1049 --convert-to " + kind + " --outdir "
            + listFolder().string() + " " + list.string() + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0 || !fs::exists(book))
            return {};
    }
    return book;
}

void measureWorkbookAgainstCsv(benchmark::State &state, const char *program)
{
    constexpr std::size_t kRows = 100'000;
    const std::string kind = state.range(0) == 0 ? "xlsx" : "ods";
    const bool toWorkbook = state.range(1) != 0;
    const fs::path &list = listOf(kRows);
    const fs::path book = workbookOf(kRows, kind);
    if (book.empty()) {
        state.SkipWithError("LibreOffice (soffice) could not make the workbook");
        return;
    }
    const fs::path csvOut = listFolder() / "result.csv";
    const fs::path bookOut = listFolder() / ("result." + kind);
    double csvSeconds = 0, bookSeconds = 0;
    long csvPeak = 0, bookPeak = 0;
    for (auto _ : state) {
        const ChildRun csv = runBatch(list, toWorkbook ? &csvOut : nullptr, program);
        const ChildRun run = runBatch(book, toWorkbook ? &bookOut : nullptr, program);
        if (!csv.exited || !run.exited) {
            state.SkipWithError("the batch did not finish with status 0 or 1");
            break;
        }
        state.SetIterationTime(run.seconds);
        csvSeconds += csv.seconds;
        bookSeconds += run.seconds;
        csvPeak = std::max(csvPeak, csv.peakKilobytes);
        bookPeak = std::max(bookPeak, run.peakKilobytes);
    }
    const auto iterations = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetLabel(kind + (toWorkbook ? " to " + kind : " to standard output"));
    state.counters["csv_s"] = csvSeconds / iterations;
    state.counters["book_s"] = bookSeconds / iterations;
    state.counters["csv_peak_MiB"] = static_cast<double>(csvPeak) / 1024.0;
    state.counters["book_peak_MiB"] = static_cast<double>(bookPeak) / 1024.0;
    state.counters["book_MiB"] = static_cast<double>(fs::file_size(book)) / (1024.0 * 1024.0);
}

void BM_WorkbookAgainstCsv(benchmark::State &state)
{
    measureWorkbookAgainstCsv(state, TARIFMASTER_PROGRAM);
}

void BM_BatchAgainstAwk(benchmark::State &state)
{
    measureAgainstAwk(state, TARIFMASTER_PROGRAM, static_cast<Encoding>(state.range(0)));
}

// With TARIFMASTER_BASELINE naming another build of the program (an earlier commit's), the same
// measurements for it, against awk and with workbooks, in the same run: a change's effect without the
// machine's mood.
[[maybe_unused]] const bool kBaselineRegistered = [] {
    const char *baseline = std::getenv("TARIFMASTER_BASELINE");
    if (!baseline || !*baseline)
        return false;
    benchmark::RegisterBenchmark("BM_BaselineAgainstAwk",
        [baseline](benchmark::State &state) {
            measureAgainstAwk(state, baseline, static_cast<Encoding>(state.range(0)));
        })
        ->Arg(static_cast<int>(Encoding::Windows1251))
        ->Arg(static_cast<int>(Encoding::Utf8))
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("BM_BaselineWorkbookAgainstCsv",
        [baseline](benchmark::State &state) {
            measureWorkbookAgainstCsv(state, baseline);
        })
        ->Args({0, 0})
        ->Args({1, 0})
        ->Args({0, 1})
        ->Args({1, 1})
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
    return true;
}();

} // namespace

BENCHMARK(BM_BatchToStandardOutput)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_BatchToFile)->Arg(1'000'000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_WorkbookAgainstCsv)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_BatchAgainstAwk)
    ->Arg(static_cast<int>(Encoding::Windows1251))
    ->Arg(static_cast<int>(Encoding::Utf8))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
