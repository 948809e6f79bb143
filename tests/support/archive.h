// ZIP archives made by hand for the workbook tests: the parts given, in order, and an archive whose
// directory claims another size for one part, as a crafted file would.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace support {

using ArchivePart = std::pair<std::string, std::string>; // name, content

// The archive's bytes; the parts are deflated, or stored when asked (and a part named "mimetype" always).
std::string makeArchive(const std::vector<ArchivePart> &parts, bool stored = false);

// The same bytes with the unpacked size of one part, in its local header and in the directory, set
// to size.
std::string withDeclaredSize(std::string archive, const std::string &part, std::uint32_t size);

} // namespace support
