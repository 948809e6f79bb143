// The picture at the top of the document report: read from its file (a GIF beside the program) and
// handed on as PNG, the format that word processors accept inside RTF.
#pragma once

#include <filesystem>
#include <string>

namespace report {

struct PngPicture {
    enum class Problem {
        None,
        Unreadable,   // the file could not be read: see error
        NotAPicture,  // its bytes are no picture Qt can read
        NotConverted, // it could not be turned into PNG
    };
    Problem problem = Problem::None;
    int error = 0;     // errno, when Unreadable
    std::string bytes; // the PNG file's bytes, when there is no problem

    explicit operator bool() const
    {
        return problem == Problem::None;
    }
};

PngPicture pictureAsPng(const std::filesystem::path &picture);

} // namespace report
