// The picture at the top of the document report, as PNG. The page has no picture decoder of its own: it
// carries tmas.png, the bytes the desktop program makes of report/tmas.gif (a window test keeps the two
// alike), compiled into the module.
#pragma once

#include <string>

namespace web {

const std::string &reportPicture();

} // namespace web
