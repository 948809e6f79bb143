// Files and processes for the report tests: a private folder per test, whole-file reads and writes,
// and running a command to completion with its output.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace report::testing {

namespace fs = std::filesystem;

// A new folder, open to every user for reading, removed with its content at the end. A test that runs
// a program as another user puts it under /tmp, which that user can reach whatever TMPDIR says.
class TempFolder {
public:
    explicit TempFolder(const fs::path &parent = fs::temp_directory_path())
    {
        std::string pattern = (parent / "tarifmaster-report-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
        fs::permissions(m_path, fs::perms(0755));
    }
    ~TempFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const fs::path &path() const
    {
        return m_path;
    }

private:
    fs::path m_path;
};

inline std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The names in a folder, sorted: a temporary file left behind shows here.
inline std::vector<std::string> listFolder(const fs::path &folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct CommandResult {
    int status = -1; // the exit status, or -1 when the command did not exit normally
    std::string output;
};

// Runs a shell command, stdout and stderr together.
inline CommandResult runCommand(const std::string &command)
{
    CommandResult result;
    FILE *pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    if (status != -1 && WIFEXITED(status))
        result.status = WEXITSTATUS(status);
    return result;
}

// The words that run a command as an ordinary user: as nobody (uid 65534) when the tests run as root,
// whom permissions stop, and as the tests' own user otherwise.
inline std::string asOrdinaryUser()
{
    return ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}

// A path quoted for the shell.
inline std::string quoted(const fs::path &path)
{
    std::string out = "'";
    for (const char c : path.string())
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace report::testing
