// What the benchmarks of big vehicle lists share: the generated list, the folder it lives in, and a
// program run as a child, timed, with its peak memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

enum class Encoding { Utf8, Windows1251 };

// One vehicle per row: every category, entries of every list, now and then a factor typed as a number,
// and one row in misspeltOneIn (about) with a misspelt town, which the batch rejects. The same file
// every time.
void writeList(
    const std::filesystem::path &path, std::size_t rows, Encoding encoding, std::size_t misspeltOneIn = 100);

// A folder of the program's own for the generated lists, made when first asked for and removed when
// the program ends.
const std::filesystem::path &listFolder();

struct ChildRun {
    bool exited = false;   // with status 0 or 1 (1: the misspelt towns)
    double seconds = 0;    // wall-clock time from start to exit
    double cpuSeconds = 0; // user and system time of the child
    long peakKilobytes = 0;
};

// Runs a program found on the PATH or by its path, its standard output and error thrown away.
ChildRun runChild(std::vector<std::string> args);

} // namespace bench
