// The texts of the Windows window's labels: their line breaks as Windows' statics draw them, and the
// lines of a tight label broken at spaces to fit its width. Plain C++: the width of a piece of text is
// asked of a measure the caller gives (the device context's, on Windows).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace win32 {

// "\n" as "\r\n", which a static control breaks a line at, and back.
std::wstring withCarriageReturns(std::wstring_view text);
std::string withoutCarriageReturns(std::string text);

// The lines of text broken at spaces where the next word would pass width, each paragraph ("\n") on
// lines of its own; a word wider than width stands alone on its line.
using Measure = std::function<int(std::wstring_view)>;
std::vector<std::wstring> wrappedLines(std::wstring_view text, int width, const Measure &measure);

} // namespace win32
