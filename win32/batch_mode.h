// The batch mode inside tarifmaster.exe. tarifmaster-batch.exe is a small console program that starts
// tarifmaster.exe with its own arguments after kBatchProgramSwitch, hands it its standard streams and
// its console, and waits for it (batch_console.cpp): the batch and its workbook libraries are carried
// once, in tarifmaster.exe, as on Linux (`tarifmaster --batch`).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace win32 {

// The first argument that makes tarifmaster.exe the batch program (never typed by a user).
inline constexpr wchar_t kBatchProgramSwitch[] = L"--batch-program";

// Runs the batch when the arguments (argv[0] included, UTF-16) ask for it: --batch or --output as the
// desktop program takes them, or kBatchProgramSwitch and the batch program's arguments. The exit
// status, or nothing when a window is wanted.
std::optional<int> runBatchMode(const std::vector<std::wstring> &arguments);

} // namespace win32
