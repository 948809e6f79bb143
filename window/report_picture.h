// The picture at the top of the document report, read from its file ("tmas.gif" of the program's data
// folder) and turned into PNG with Qt's image readers, so that the reports themselves need no Qt.
#pragma once

#include "report/picture.h"

#include <filesystem>

namespace window {

report::PngPicture readReportPicture(const std::filesystem::path &file);

} // namespace window
