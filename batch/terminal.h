// Where the batch program's own texts go: standard output (the help, the version) and standard error
// (messages, the progress line), all in UTF-8. A terminal shows them as text; a file or a pipe gets
// their bytes as they are. The result of a run is no text of the program's: it reaches standard output
// as bytes in the list's own encoding (batch.cpp). terminal_posix.cpp and terminal_windows.cpp.
#pragma once

#include <string_view>

namespace batch {

enum class Stream { Output, Error };

void writeText(Stream stream, std::string_view utf8);

// True when standard error is a terminal that rewrites a line in place ("\r", then "ESC[K" to clear
// the rest of it).
bool rewritesLines();

} // namespace batch
