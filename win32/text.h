// The form, the engine and the reports speak UTF-8; Windows' wide calls speak UTF-16. These are the only
// crossings between the two.
#pragma once

#include <string>
#include <string_view>
#include <windows.h>

namespace win32 {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view wide);

// A window's text (a caption, a field's content) as Windows holds it.
std::wstring windowText(HWND hwnd);

} // namespace win32
