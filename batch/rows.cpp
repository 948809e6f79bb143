#include "batch/rows.h"

#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <cerrno>

namespace batch {

std::string quotedPath(const std::filesystem::path &path)
{
    return "«" + report::utf8Text(path) + "»";
}

std::string readFailure(std::string_view file, int error)
{
    std::string reason;
    switch (error) {
    case ENOENT:
        reason = "файл не найден";
        break;
    case EACCES:
    case EPERM:
        reason = "нет прав на чтение файла";
        break;
    case EISDIR:
        reason = "это папка, а не файл";
        break;
    default:
        reason = report::errorReason(error);
        break;
    }
    return "не удалось прочитать " + std::string(file) + ": " + reason;
}

void appendEncoded(std::string &out, std::string_view utf8, Encoding encoding)
{
    if (encoding == Encoding::Windows1251)
        engine::appendToWindows1251(out, utf8);
    else
        out += utf8;
}

std::string_view encodedText(std::string_view utf8, Encoding encoding, std::string &buffer)
{
    if (encoding != Encoding::Windows1251)
        return utf8;
    buffer.clear();
    engine::appendToWindows1251(buffer, utf8);
    return buffer;
}

} // namespace batch
