// The test record's file (test_seams.h): one for the program, written by the main window's and the
// fleet window's recorders alike, a line at a time and sent on at once, so that a test reads it as it
// grows.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string_view>

namespace win32 {

class RecordFile {
public:
    explicit RecordFile(const std::filesystem::path &path);
    ~RecordFile();
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;

    // Writes "name=text", the text's line breaks as "\n".
    void line(std::string_view name, std::string_view text);

private:
    std::FILE *m_file;
};

} // namespace win32
