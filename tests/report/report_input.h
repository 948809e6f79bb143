// A filled-in window, as the report tests and tools use it: every factor field holds a value of its
// own, none equal to a fixed value of the foreign variant, so a field read in the wrong place shows.
#pragma once

#include "report/input.h"
#include "report/picture.h"

#include <string>

namespace report::testing {

inline ReportInput sampleInput(bool foreign = false, bool excludeKp = false)
{
    ReportInput in;
    in.fields.category = foreign ? engine::Category::Foreign : engine::Category::Cars;
    in.fields.excludeKp = excludeKp;
    //              TB      KT     KBM     KVS     KO     KM     KS     KP     KN
    in.fields.texts = {"1980", "1,8", "0,95", "1,15", "1,5", "1,3", "0,7", "0,9", "1,5"};
    in.total = "4321,09";
    in.startDate = "15.03.2024";
    in.startTime = "9:41:07";
    return in;
}

// The picture as the window hands it over. Of a PNG the report reads only the header, here of a
// 240 x 48 picture as tmas.gif is; the rest goes into the document as it is.
inline PngPicture samplePicture()
{
    return {"tmas.gif",
        PngPicture::Problem::None,
        0,
        std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\xF0\0\0\0\x30", 24) + "picture"};
}

} // namespace report::testing
