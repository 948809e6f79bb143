#include "bench/bench_lists.h"

#include "batch/tables.h"
#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/premium.h"
#include "engine/step_factors.h"
#include "engine/territory.h"
#include "engine/windows1251.h"

#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <fstream>
#include <span>
#include <spawn.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace bench {

namespace fs = std::filesystem;

namespace {

// A small deterministic generator, so every run reads the same file.
class Dice {
public:
    std::size_t operator()(std::size_t sides)
    {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::size_t>((m_state >> 33) % sides);
    }

private:
    std::uint64_t m_state = 42;
};

template<typename Range>
std::string_view pick(Dice &dice, const Range &range)
{
    return range[dice(range.size())];
}

template<typename Rows>
std::string_view pickEntry(Dice &dice, const Rows &rows)
{
    return rows[dice(rows.size())].entry;
}

} // namespace

void writeList(const fs::path &path, std::size_t rows, Encoding encoding, std::size_t misspeltOneIn)
{
    std::ofstream out(path, std::ios::binary);
    const auto put = [&](const std::string &utf8) {
        out << (encoding == Encoding::Windows1251 ? engine::toWindows1251(utf8) : utf8);
    };
    put("Госномер;Категория;ТБ;КТ;Тип ТС;Класс;Выплаты;КВС;КО;КМ;КС;КП;КН;Исключить КП\r\n");
    Dice dice;
    const std::vector<std::span<const engine::BaseRateRow>> rates
        = {engine::kCarRates, engine::kTruckRates, engine::kMotorcycleRates};
    const std::vector<std::span<const std::string_view>> settlements = {engine::kMoscowEntries,
        engine::kMoscowRegionDistricts,
        engine::kPetersburgEntries,
        engine::kTowns,
        engine::kTowns,
        engine::kTowns,
        engine::kSmallSettlementEntries};
    std::string line;
    for (std::size_t i = 0; i < rows; ++i) {
        line.clear();
        line += "А" + std::to_string(100 + i % 900) + "ВС" + std::to_string(10 + i % 90) + ";";
        line += batch::categoryWord(static_cast<engine::Category>(i % engine::kCategoryCount));
        line += ';';
        if (dice(10) == 0)
            line += "1980";
        else
            line += pickEntry(dice, rates[dice(rates.size())]);
        line += ';';
        if (dice(misspeltOneIn) == 0)
            line += "Новосибрск";
        else if (dice(10) == 0)
            line += "1,3";
        else
            line += pick(dice, settlements[dice(settlements.size())]);
        line += ';';
        line += dice(5) == 0 ? "трактора" : "";
        line += ';';
        line += engine::kBonusMalusClasses[dice(engine::kBonusMalusClasses.size())].label;
        line += ';';
        line += dice(2) == 0 ? std::string_view() : pick(dice, engine::kPayoutCounts);
        line += ';';
        line += pickEntry(dice, engine::kDriverRows);
        line += ';';
        line += dice(2) == 0 ? std::string_view("1,5") : pickEntry(dice, engine::kAdmittedDriverRows);
        line += ';';
        line += pickEntry(dice, engine::kEnginePowerRows);
        line += ';';
        line += pickEntry(dice, engine::kUsePeriodRows);
        line += ';';
        line += pickEntry(dice, engine::kTermRows);
        line += ';';
        line += pick(dice, engine::kViolationFactors);
        line += ';';
        line += dice(2) == 0 ? "да" : "нет";
        line += "\r\n";
        put(line);
    }
}

namespace {

struct ListFolder {
    fs::path path;
    ListFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "tarifmaster-batch-bench-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
    }
    ~ListFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            fs::remove_all(path, ignored);
    }
    ListFolder(const ListFolder &) = delete;
    ListFolder &operator=(const ListFolder &) = delete;
};

} // namespace

const fs::path &listFolder()
{
    static const ListFolder folder;
    return folder.path;
}

ChildRun runChild(std::vector<std::string> args)
{
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    ChildRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        struct rusage usage { };
        if (::wait4(pid, &status, 0, &usage) == pid) {
            run.exited = WIFEXITED(status) && WEXITSTATUS(status) <= 1; // 1: the misspelt towns
            run.peakKilobytes = usage.ru_maxrss;
            const auto seconds = [](const timeval &time) {
                return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
            };
            run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

} // namespace bench
