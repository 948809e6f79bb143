// The form, the engine and the reports speak UTF-8; Windows' wide calls speak UTF-16. These are the only
// crossings between the two.
#pragma once

#include <string>
#include <string_view>

namespace win32 {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view wide);

} // namespace win32
