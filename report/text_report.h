// The text report: 31 lines in Windows-1251.
#pragma once

#include "report/input.h"

#include <string>

namespace report {

// The report's bytes: each line's text with its own terminator (CR, or CR LF for a line followed by an
// empty one) and then CR LF.
std::string textReportBytes(const ReportInput &input);

} // namespace report
