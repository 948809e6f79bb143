// The picture at the top of the document report, as the program's front hands it over: the bytes of a
// PNG file, the format that word processors accept inside RTF, or why there are none. The front reads
// the picture's file (a GIF beside the program) and decodes it; the report only embeds the PNG, or puts
// the problem into words for the user (report.h).
#pragma once

#include <filesystem>
#include <string>

namespace report {

struct PngPicture {
    enum class Problem {
        None,
        Unreadable,   // the file could not be read: see error
        NotAPicture,  // its bytes are no picture the front can read
        NotConverted, // it could not be turned into PNG
    };
    std::filesystem::path file; // the picture's file, which a message names
    Problem problem = Problem::None;
    int error = 0;     // errno, when Unreadable
    std::string bytes; // the PNG file's bytes, when there is no problem

    explicit operator bool() const
    {
        return problem == Problem::None;
    }
};

} // namespace report
