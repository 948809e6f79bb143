// The program's texts on a POSIX system: the terminal takes UTF-8 as it is.
#include "batch/terminal.h"

#include <cstdio>
#include <unistd.h>

namespace batch {

void writeText(Stream stream, std::string_view utf8)
{
    std::FILE *file = stream == Stream::Output ? stdout : stderr;
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    if (stream == Stream::Error)
        std::fflush(file);
}

bool rewritesLines()
{
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace batch
