// The document as RTF 1.x, which Word, LibreOffice and WordPad read whatever the file is called.
#pragma once

#include "report/document_model.h"

#include <string>

namespace report {

// pngBytes is the data of the document's picture run, a PNG file's bytes.
std::string toRtf(const Document &document, const std::string &pngBytes);

} // namespace report
