# Writes a C++ source that holds the bytes of INPUT (the report's picture) for reportPicture().
file(READ ${INPUT} hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}.new "// Written by web/embed_picture.cmake from web/tmas.png.
#include \"web/report_picture.h\"

namespace web {

namespace {
constexpr unsigned char kPng[] = {
    ${bytes}
};
} // namespace

const std::string &reportPicture()
{
    static const std::string png(reinterpret_cast<const char *>(kPng), sizeof kPng);
    return png;
}

} // namespace web
")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
