// The picture at the top of the document report: read from its file (a GIF beside the program) and
// handed on as PNG, the format that word processors accept inside RTF.
#pragma once

#include <filesystem>
#include <string>

namespace report {

struct PngPicture {
    bool ok = false;
    std::string bytes;  // the PNG file's bytes
    std::string reason; // when !ok: why, in Russian, naming the picture's file
};

PngPicture pictureAsPng(const std::filesystem::path &picture);

} // namespace report
