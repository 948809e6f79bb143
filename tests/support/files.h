// Files and processes for the tests: a private folder per test, whole-file reads and writes, and
// running a command to completion with its output.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace support {

namespace fs = std::filesystem;

// A new folder, open to every user for reading, removed with its content at the end. A test that runs
// a program as another user puts it under /tmp, which that user can reach whatever TMPDIR says.
class TempFolder {
public:
    explicit TempFolder(const fs::path &parent = fs::temp_directory_path());
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const fs::path &path() const
    {
        return m_path;
    }

private:
    fs::path m_path;
};

// Points the system's temporary folder (TMPDIR) at folder while it lives, so that a test sees the work
// files a run leaves there.
class TemporaryFilesIn {
public:
    explicit TemporaryFilesIn(const fs::path &folder);
    ~TemporaryFilesIn();
    TemporaryFilesIn(const TemporaryFilesIn &) = delete;
    TemporaryFilesIn &operator=(const TemporaryFilesIn &) = delete;

private:
    std::optional<std::string> m_earlier;
};

std::string readFile(const fs::path &path);
void writeFile(const fs::path &path, const std::string &bytes);

// The names in a folder, sorted: a temporary file left behind shows here.
std::vector<std::string> listFolder(const fs::path &folder);

struct CommandResult {
    int status = -1; // the exit status, or -1 when the command did not exit normally
    std::string output;
};

// Runs a shell command, stdout and stderr together.
CommandResult runCommand(const std::string &command);

// A path quoted for the shell.
std::string quoted(const fs::path &path);

// The words that run a command as an ordinary user: as nobody (uid 65534) when the tests run as root,
// whom permissions stop, and as the tests' own user otherwise.
std::string asOrdinaryUser();

} // namespace support
