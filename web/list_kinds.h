// The media types of the kinds of file a vehicle list and its result may be (form/fleet_texts.h names
// the kinds: kListPatterns): the page's file field offers them beside the extensions, where a phone's
// file chooser looks only at the type, and a result is saved as its kind.
#pragma once

#include <string_view>

namespace web {

struct ListKind {
    std::string_view extension; // in lower case, with its dot
    std::string_view mediaType;
};

inline constexpr ListKind kListKinds[] = {
    {".csv", "text/csv"},
    {".txt", "text/plain"},
    {".xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
    {".ods", "application/vnd.oasis.opendocument.spreadsheet"},
};

// The media type of a file by its extension in lower case; nothing for another kind.
constexpr std::string_view mediaTypeOf(std::string_view extension)
{
    for (const ListKind &kind : kListKinds)
        if (kind.extension == extension)
            return kind.mediaType;
    return {};
}

} // namespace web
