// Where the program's own files lie and where the reports go, and how the shell is handed a help page,
// the web address or a new message.
//
// The help pages and tmas.gif lie beside tarifmaster.exe, in the portable zip and in the installed
// folder alike. The reports str.txt and str.doc go beside a copy that may write its own folder (an
// unpacked zip); an installed copy (under Program Files) never writes there, and neither does a copy whose
// folder this user cannot write: both write into the user's Documents folder.
#pragma once

#include "form/module1.h"

#include <filesystem>
#include <windows.h>

namespace win32 {

// The folder of the running program, as Windows names it (no trailing backslash).
std::filesystem::path programFolder();

// The user's Documents, made when missing; empty when Windows cannot say.
std::filesystem::path documentsFolder();

// The folder that the next report goes to, decided at the moment of writing.
std::filesystem::path reportFolder(const std::filesystem::path &programFolder);

// Hands a target to the shell with the arguments the program has always used; what the shell answers
// is not read.
void openWithShell(const form::ShellTarget &target, const std::filesystem::path &programFolder);

} // namespace win32
