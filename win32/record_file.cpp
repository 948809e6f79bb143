#include "win32/record_file.h"

#include <string>

namespace win32 {

RecordFile::RecordFile(const std::filesystem::path &path)
    : m_file(_wfopen(path.c_str(), L"wb"))
{
}

RecordFile::~RecordFile()
{
    if (m_file)
        std::fclose(m_file);
}

void RecordFile::line(std::string_view name, std::string_view text)
{
    if (!m_file)
        return;
    std::string out(name);
    out += '=';
    for (const char c : text)
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    out += '\n';
    std::fwrite(out.data(), 1, out.size(), m_file);
    std::fflush(m_file);
}

} // namespace win32
