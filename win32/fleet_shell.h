// What the fleet window asks of the Windows shell: the common file dialogs (IFileOpenDialog and
// IFileSaveDialog), a file handed to its default program and a file shown selected in Explorer. The
// user's Documents are program_files.h's.
#pragma once

#include "form/fleet_controls.h"

#include <filesystem>
#include <optional>
#include <windows.h>

namespace win32 {

enum class DialogKind { Open, Save };

// The dialog over owner; nothing when the user cancels or the shell has no such dialog.
std::optional<std::filesystem::path> chooseFile(HWND owner, DialogKind kind, const form::FileDialog &dialog);

bool openWithDefaultProgram(const std::filesystem::path &file);
bool showSelectedInFolder(const std::filesystem::path &file);

} // namespace win32
