#include "support/archive.h"

#include <cstring>
#include <stdexcept>
#include <zip.h>

namespace support {

std::string makeArchive(const std::vector<ArchivePart> &parts, bool stored)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (archive == nullptr)
        throw std::runtime_error("zip_open_from_source");
    zip_source_keep(buffer);
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(archive, content.data(), content.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            throw std::runtime_error("zip_file_add " + name);
        zip_set_file_compression(archive,
            static_cast<zip_uint64_t>(index),
            stored || name == "mimetype" ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
            0);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("zip_close");
    std::string bytes;
    zip_source_open(buffer);
    char piece[65536];
    for (zip_int64_t got; (got = zip_source_read(buffer, piece, sizeof piece)) > 0;)
        bytes.append(piece, static_cast<std::size_t>(got));
    zip_source_close(buffer);
    zip_source_free(buffer);
    return bytes;
}

std::string withDeclaredSize(std::string archive, const std::string &part, std::uint32_t size)
{
    // A local header names its part 30 bytes in and holds the size at 22; a directory entry names it 46
    // bytes in and holds the size at 24.
    const auto patch = [&](std::string_view signature, std::size_t nameAt, std::size_t sizeAt) {
        for (std::size_t at = archive.find(signature); at != std::string::npos;
             at = archive.find(signature, at + 1))
            if (archive.compare(at + nameAt, part.size(), part) == 0)
                std::memcpy(archive.data() + at + sizeAt, &size, sizeof size);
    };
    patch(std::string_view("PK\x03\x04", 4), 30, 22);
    patch(std::string_view("PK\x01\x02", 4), 46, 24);
    return archive;
}

} // namespace support
