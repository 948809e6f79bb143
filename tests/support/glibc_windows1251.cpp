#include "support/glibc_windows1251.h"

#include <iconv.h>
#include <stdexcept>

namespace support {

namespace {

std::optional<std::string> convert(std::string in, const char *from)
{
    iconv_t cd = iconv_open("CP1251", from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out(in.size(), '\0');
    char *inPtr = in.data();
    char *outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace

std::string cp1251(const std::string &utf8)
{
    const auto converted = convert(utf8, "UTF-8");
    if (!converted)
        throw std::invalid_argument("not in Windows-1251: " + utf8);
    return *converted;
}

std::optional<unsigned char> cp1251Byte(char32_t codePoint)
{
    std::string utf32(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        utf32[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
    const auto converted = convert(utf32, "UTF-32LE");
    if (!converted || converted->size() != 1)
        return std::nullopt;
    return static_cast<unsigned char>(converted->front());
}

} // namespace support
