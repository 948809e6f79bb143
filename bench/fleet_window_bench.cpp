// The fleet window on a million vehicles, beside the console batch on the same file in the same run.
//
// BM_FleetWindowAgainstBatch: the million-row Windows-1251 list computed by tarifmaster-batch (a child,
// its result to a file) and by the fleet window (in this process, off-screen, its result beside the
// list), in turn. The window's time runs from compute() to its summary shown; it may take at most 1.1
// times the batch's. Meanwhile a timer on the window's thread ticks every 10 ms: the longest gap between
// two ticks (at most 100 ms) is the longest the window did not answer.
//
// BM_FleetWindowMemory: the window's memory with some 8 000 rejected rows (a misspelt town in one row
// in a hundred) and with the town misspelt in every row of the million (the rows whose category needs
// it rejected), each in a fresh process of this program (--memory LIST), so that the two stand side by
// side: the window lists the first 10 000 and a line for the rest, and holds no more for the second.
// Beside them the console batch's peak on the second list, and what the form's 10 000 kept rows take.
//
// A peak is read by the process itself (/proc/self/status), or the child is spawned from a small process:
// spawned from this one, which holds a window, it would count this one's pages as its own.
#include "bench/bench_lists.h"
#include "window/desktop.h"
#include "window/fleet_window.h"
#include "window/text.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeView>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using bench::listFolder;

// The million rows in Windows-1251, one in misspeltOneIn rejected; written once.
fs::path millionRows(std::size_t misspeltOneIn)
{
    const fs::path list = listFolder() / ("million-" + std::to_string(misspeltOneIn) + ".csv");
    if (!fs::exists(list))
        bench::writeList(list, 1'000'000, bench::Encoding::Windows1251, misspeltOneIn);
    return list;
}

struct WindowRun {
    double seconds = 0;
    double longestGapMs = 0;
};

// The list computed in a fleet window shown off-screen, timed from compute() until the window shows
// its end, with the longest pause between ticks of a 10 ms timer on the window's thread.
WindowRun runInWindow(window::FleetWindow &fleet, const fs::path &list)
{
    WindowRun run;
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        run.longestGapMs = std::max(run.longestGapMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    ticker.start(10);
    fleet.compute(window::fromPath(list));
    while (fleet.state() == form::FleetState::Running)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    run.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return run;
}

void BM_FleetWindowAgainstBatch(benchmark::State &state)
{
    const fs::path list = millionRows(100);
    const fs::path batchResult = listFolder() / "batch-result.csv";
    window::SilentDesktop desktop;
    window::FleetWindow fleet(desktop);
    fleet.show();
    QApplication::processEvents();
    double batchSeconds = 0, windowSeconds = 0, longestGapMs = 0;
    for (auto _ : state) {
        const bench::ChildRun batch
            = bench::runChild({TARIFMASTER_BATCH_PROGRAM, list.string(), "--output", batchResult.string()});
        const WindowRun run = runInWindow(fleet, list);
        if (!batch.exited || fleet.state() != form::FleetState::Done) {
            state.SkipWithError("the batch or the window did not compute the list");
            break;
        }
        state.SetIterationTime(run.seconds);
        batchSeconds += batch.seconds;
        windowSeconds += run.seconds;
        longestGapMs = std::max(longestGapMs, run.longestGapMs);
    }
    const auto iterations = static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["batch_s"] = batchSeconds / iterations;
    state.counters["window_s"] = windowSeconds / iterations;
    state.counters["window/batch"] = batchSeconds > 0 ? windowSeconds / batchSeconds : 0;
    state.counters["longest_gap_ms"] = longestGapMs;
}
BENCHMARK(BM_FleetWindowAgainstBatch)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A line of /proc/self/status in KiB: VmRSS (now) or VmHWM (the peak).
long statusKilobytes(const std::string &key)
{
    std::ifstream status("/proc/self/status");
    std::string name;
    long value = 0;
    while (status >> name)
        if (name == key + ":" && status >> value)
            return value;
    return 0;
}

struct MemoryCase {
    long idleKilobytes = 0;  // the window shown, before the run
    long shownKilobytes = 0; // after it, the rows shown
    long peakKilobytes = 0;
    long rejected = 0;      // rows the batch rejected
    long listed = 0;        // rows in the window's list
    long heldKilobytes = 0; // the rejected rows the form keeps: structs and texts
};

// In a fresh process (--memory LIST): the list computed in a window, what it takes printed.
int memoryCase(const char *list)
{
    window::SilentDesktop desktop;
    std::size_t held = 0;
    std::uint64_t rejected = 0;
    window::FleetWindow fleet(desktop, [&](const batch::Options &options, batch::Console &console) {
        batch::RunSummary summary = batch::runSummarized(options, console);
        rejected = summary.rejected;
        for (const batch::RejectedRow &row : summary.rejectedRows)
            held += sizeof row + row.columns.capacity() + row.reason.capacity();
        return summary;
    });
    fleet.show();
    QApplication::processEvents();
    MemoryCase result;
    result.idleKilobytes = statusKilobytes("VmRSS");
    runInWindow(fleet, list);
    auto *rows = fleet.findChild<QTreeView *>(QStringLiteral("RejectedRows"));
    rows->scrollToBottom(); // every part of the list drawn once
    QApplication::processEvents();
    result.shownKilobytes = statusKilobytes("VmRSS");
    result.peakKilobytes = statusKilobytes("VmHWM");
    result.rejected = static_cast<long>(rejected);
    result.listed = rows->model()->rowCount();
    result.heldKilobytes = static_cast<long>(held / 1024);
    std::printf("%ld %ld %ld %ld %ld %ld\n",
        result.idleKilobytes,
        result.shownKilobytes,
        result.peakKilobytes,
        result.rejected,
        result.listed,
        result.heldKilobytes);
    return fleet.state() == form::FleetState::Done ? 0 : 1;
}

// The numbers a fresh process of this program prints with mode and list ("--memory", "--batch-peak").
std::vector<long> numbersFrom(const char *mode, const fs::path &list, std::size_t count)
{
    std::string command = "'";
    command += QCoreApplication::applicationFilePath().toStdString();
    command += "' ";
    command += mode;
    command += " '";
    command += list.string();
    command += "'";
    std::vector<long> numbers(count);
    if (FILE *child = ::popen(command.c_str(), "r")) {
        for (long &number : numbers)
            if (std::fscanf(child, "%ld", &number) != 1)
                number = 0;
        ::pclose(child);
    }
    return numbers;
}

MemoryCase memoryCaseOf(const fs::path &list)
{
    const std::vector<long> n = numbersFrom("--memory", list, 6);
    return {n[0], n[1], n[2], n[3], n[4], n[5]};
}

// The console batch's peak on list, spawned from a fresh process without Qt: a child spawned from this
// one would count this one's memory as its own until it runs the batch.
int batchPeak(const char *list)
{
    const fs::path result = fs::path(list).parent_path() / "batch-result.csv";
    std::printf("%ld\n",
        bench::runChild({TARIFMASTER_BATCH_PROGRAM, list, "--output", result.string()}).peakKilobytes);
    return 0;
}

void BM_FleetWindowMemory(benchmark::State &state)
{
    const fs::path someRejected = millionRows(100);
    const fs::path all = millionRows(1);
    MemoryCase some, million;
    long batchKilobytes = 0;
    for (auto _ : state) {
        some = memoryCaseOf(someRejected);
        million = memoryCaseOf(all);
        batchKilobytes = numbersFrom("--batch-peak", all, 1)[0];
    }
    const auto mib = [](long kilobytes) {
        return static_cast<double>(kilobytes) / 1024.0;
    };
    state.counters["idle_MiB"] = mib(some.idleKilobytes);
    state.counters["1%_rejected"] = static_cast<double>(some.rejected);
    state.counters["1%_listed"] = static_cast<double>(some.listed);
    state.counters["1%_shown_MiB"] = mib(some.shownKilobytes);
    state.counters["1%_peak_MiB"] = mib(some.peakKilobytes);
    state.counters["all_rejected"] = static_cast<double>(million.rejected);
    state.counters["all_listed"] = static_cast<double>(million.listed);
    state.counters["all_shown_MiB"] = mib(million.shownKilobytes);
    state.counters["all_peak_MiB"] = mib(million.peakKilobytes);
    state.counters["held_MiB"] = mib(million.heldKilobytes);
    state.counters["batch_peak_MiB"] = mib(batchKilobytes);
}
BENCHMARK(BM_FleetWindowMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 3 && std::string(argv[1]) == "--batch-peak")
        return batchPeak(argv[2]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--memory")
        return memoryCase(argv[2]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
