#include "batch/workbook.h"

#include <algorithm>

namespace batch {

Container containerOf(std::string_view firstBytes)
{
    if (firstBytes.starts_with("PK\x03\x04") || firstBytes.starts_with("PK\x05\x06"))
        return Container::Zip;
    if (firstBytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return Container::Compound;
    return Container::Text;
}

WorkbookFormat workbookFormatOfName(const std::filesystem::path &path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    if (extension == ".xlsx")
        return WorkbookFormat::Xlsx;
    if (extension == ".ods")
        return WorkbookFormat::Ods;
    return WorkbookFormat::None;
}

} // namespace batch
