// Replacing a report file in one step, so that a failed write never leaves half a report.
#pragma once

#include "report/report.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace report {

// Writes bytes to a new file beside target (same folder, unique name), flushes it to the disk, and
// renames it over target. The rename replaces whatever target is, a symbolic link included, without
// following it; a folder in target's place fails the write. On any failure the new file is removed and
// target is left as it was; the result names target and says why in Russian.
WriteResult replaceFile(const std::filesystem::path &target, std::string_view bytes);

// Why a file operation failed, for the user: a Russian phrase for an errno value.
std::string errorReason(int error);

} // namespace report
