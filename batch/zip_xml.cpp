#include "batch/zip_xml.h"

#include "batch/workbook.h"
#include "report/file_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <expat.h>
#include <zip.h>

namespace batch {

namespace {

constexpr std::size_t kPieceSize = 64 * 1024;

// A name without its prefix: "table:table-cell" is "table-cell". Namespaces are not resolved (which
// costs the parser a third of its time on a large sheet): each format's names are unique without them.
std::string_view localName(const char *name)
{
    const char *separator = std::strrchr(name, ':');
    return separator != nullptr ? std::string_view(separator + 1) : std::string_view(name);
}

std::string damaged(std::string_view what)
{
    return "книга повреждена: " + std::string(what);
}

} // namespace

std::optional<std::string_view> attribute(const char **attributes, std::string_view name)
{
    for (; attributes[0] != nullptr; attributes += 2)
        if (localName(attributes[0]) == name)
            return std::string_view(attributes[1]);
    return std::nullopt;
}

// An expat parser bound to one handler; a document type declaration (and with it any entity) is
// refused, as no workbook has one.
struct Archive::Parser {
    explicit Parser(XmlHandler &to)
        : handler(to)
        , parser(XML_ParserCreate("UTF-8"))
    {
        XML_SetUserData(parser, this);
        XML_SetElementHandler(
            parser,
            [](void *self, const char *name, const char **attributes) {
                static_cast<Parser *>(self)->handler.start(localName(name), attributes);
            },
            [](void *self, const char *name) {
                static_cast<Parser *>(self)->handler.end(localName(name));
            });
        XML_SetCharacterDataHandler(parser, [](void *self, const char *text, int length) {
            static_cast<Parser *>(self)->handler.text(
                std::string_view(text, static_cast<std::size_t>(length)));
        });
        XML_SetStartDoctypeDeclHandler(parser, [](void *self, const char *, const char *, const char *, int) {
            auto *me = static_cast<Parser *>(self);
            me->doctype = true;
            XML_StopParser(me->parser, XML_FALSE);
        });
    }
    ~Parser()
    {
        XML_ParserFree(parser);
    }
    Parser(const Parser &) = delete;
    Parser &operator=(const Parser &) = delete;

    XmlHandler &handler;
    XML_Parser parser;
    bool doctype = false;
    std::string member;
};

// The archive's bytes as libzip reads them: by position from the open list, through the file seam, so
// that the same reader serves a Windows handle, a Linux descriptor and the page's memory file.
class ListBytes {
public:
    ListBytes(int fd, std::uint64_t size)
        : m_fd(fd)
        , m_size(size)
    {
    }

    static zip_int64_t callback(void *self, void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        return static_cast<ListBytes *>(self)->answer(data, length, command);
    }

private:
    zip_int64_t answer(void *data, zip_uint64_t length, zip_source_cmd_t command)
    {
        switch (command) {
        case ZIP_SOURCE_OPEN:
            m_offset = 0;
            return 0;
        case ZIP_SOURCE_READ: {
            const std::uint64_t left = m_size - std::min(m_offset, m_size);
            const auto got = report::readAt(
                m_fd, m_offset, static_cast<char *>(data), static_cast<std::size_t>(std::min(length, left)));
            if (got < 0) {
                zip_error_set(&m_error, ZIP_ER_READ, errno);
                return -1;
            }
            m_offset += static_cast<std::uint64_t>(got);
            return got;
        }
        case ZIP_SOURCE_CLOSE:
            return 0;
        case ZIP_SOURCE_STAT: {
            auto *stat = static_cast<zip_stat_t *>(data);
            zip_stat_init(stat);
            stat->size = m_size;
            stat->valid |= ZIP_STAT_SIZE;
            return sizeof(zip_stat_t);
        }
        case ZIP_SOURCE_ERROR:
            return zip_error_to_data(&m_error, data, length);
        case ZIP_SOURCE_FREE:
            delete this;
            return 0;
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t to = zip_source_seek_compute_offset(m_offset, m_size, data, length, &m_error);
            if (to < 0)
                return -1;
            m_offset = static_cast<std::uint64_t>(to);
            return 0;
        }
        case ZIP_SOURCE_TELL:
            return static_cast<zip_int64_t>(m_offset);
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN,
                ZIP_SOURCE_READ,
                ZIP_SOURCE_CLOSE,
                ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR,
                ZIP_SOURCE_FREE,
                ZIP_SOURCE_SEEK,
                ZIP_SOURCE_TELL,
                ZIP_SOURCE_SUPPORTS,
                -1);
        default:
            zip_error_set(&m_error, ZIP_ER_OPNOTSUPP, 0);
            return -1;
        }
    }

    int m_fd;
    std::uint64_t m_size;
    std::uint64_t m_offset = 0;
    zip_error_t m_error{};
};

std::unique_ptr<Archive> Archive::open(int fd, std::string &problem)
{
    const std::int64_t size = report::sizeOfFile(fd);
    if (size < 0) {
        problem = "файл не читается";
        return nullptr;
    }
    zip_error_t error;
    zip_error_init(&error);
    auto *bytes = new ListBytes(fd, static_cast<std::uint64_t>(size));
    zip_source_t *source = zip_source_function_create(&ListBytes::callback, bytes, &error);
    if (source == nullptr) {
        delete bytes;
        problem = "файл не читается";
        return nullptr;
    }
    zip *archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (archive == nullptr) {
        zip_source_free(source); // frees bytes too
        problem = damaged("архив ZIP не читается");
        return nullptr;
    }
    std::unique_ptr<Archive> result(new Archive);
    result->m_zip = archive;
    result->m_fileSize = static_cast<std::uint64_t>(size);
    return result;
}

Archive::~Archive()
{
    m_parser.reset();
    if (m_member != nullptr)
        zip_fclose(m_member);
    if (m_zip != nullptr)
        zip_discard(m_zip);
}

bool Archive::has(std::string_view name) const
{
    return zip_name_locate(m_zip, std::string(name).c_str(), 0) >= 0;
}

bool Archive::fail(std::string text)
{
    if (m_problem.empty())
        m_problem = std::move(text);
    return false;
}

zip_file *Archive::openMember(std::string_view name, std::uint64_t &size)
{
    const std::string path(name);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(m_zip, path.c_str(), 0, &stat) != 0) {
        fail(damaged("в архиве нет части " + path));
        return nullptr;
    }
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && stat.encryption_method != ZIP_EM_NONE) {
        fail("книга защищена паролем; сохраните ее без пароля");
        return nullptr;
    }
    // What the archive says a member unpacks to is checked before it is read, and what it really
    // unpacks to while it is read.
    size = (stat.valid & ZIP_STAT_SIZE) != 0 ? stat.size : 0;
    const std::uint64_t packed = (stat.valid & ZIP_STAT_COMP_SIZE) != 0 ? stat.comp_size : 0;
    if (size > kMaxUnpackedBytes || size > (packed + 1) * kMaxPackingRatio) {
        fail("часть книги " + path
            + " распаковывается больше чем в 1 ГБ или в 10 000 раз больше "
              "сжатого; такой файл не читается");
        return nullptr;
    }
    zip_file *member = zip_fopen(m_zip, path.c_str(), 0);
    if (member == nullptr) {
        const int code = zip_error_code_zip(zip_get_error(m_zip));
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP)
            fail("книга защищена паролем; сохраните ее без пароля");
        else
            fail(damaged("часть " + path + " не читается"));
    }
    m_unpacked = 0;
    return member;
}

std::optional<std::string> Archive::read(std::string_view name, std::size_t limit)
{
    std::uint64_t size = 0;
    zip_file *member = openMember(name, size);
    if (member == nullptr)
        return std::nullopt;
    std::string bytes;
    std::array<char, kPieceSize> piece;
    for (;;) {
        const zip_int64_t got = zip_fread(member, piece.data(), piece.size());
        if (got < 0) {
            zip_fclose(member);
            fail(damaged("часть " + std::string(name) + " не распаковывается"));
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(piece.data(), static_cast<std::size_t>(got));
        if (bytes.size() > limit) {
            zip_fclose(member);
            fail(damaged("часть " + std::string(name) + " слишком велика"));
            return std::nullopt;
        }
    }
    zip_fclose(member);
    return bytes;
}

bool Archive::begin(std::string_view name, XmlHandler &handler)
{
    m_parser.reset();
    if (m_member != nullptr)
        zip_fclose(m_member);
    m_member = openMember(name, m_memberSize);
    if (m_member == nullptr)
        return false;
    m_parser = std::make_unique<Parser>(handler);
    m_parser->member = std::string(name);
    return true;
}

bool Archive::pump()
{
    if (m_member == nullptr || !m_problem.empty() || m_parser->handler.done())
        return false;
    // Unpacked straight into the parser's own buffer.
    void *piece = XML_GetBuffer(m_parser->parser, static_cast<int>(kPieceSize));
    if (piece == nullptr)
        return fail("не хватает памяти для чтения книги");
    const zip_int64_t got = zip_fread(m_member, piece, kPieceSize);
    if (got < 0)
        return fail(damaged("часть " + m_parser->member + " не распаковывается"));
    m_unpacked += static_cast<std::uint64_t>(got);
    if (m_unpacked > kMaxUnpackedBytes)
        return fail(
            "часть книги " + m_parser->member + " распаковывается больше чем в 1 ГБ; такой файл не читается");
    const bool last = got == 0;
    if (XML_ParseBuffer(m_parser->parser, static_cast<int>(got), last ? XML_TRUE : XML_FALSE)
        != XML_STATUS_OK) {
        if (m_parser->doctype)
            return fail(damaged("в части " + m_parser->member + " объявлен тип документа (DTD)"));
        if (m_parser->handler.done()) // what follows the part needed is not read
            return false;
        return fail(damaged("ошибка XML в части " + m_parser->member + ", строка "
            + std::to_string(XML_GetCurrentLineNumber(m_parser->parser))));
    }
    return !last && !m_parser->handler.done();
}

double Archive::shareRead() const
{
    if (m_memberSize == 0)
        return 0;
    return static_cast<double>(m_unpacked) / static_cast<double>(m_memberSize);
}

} // namespace batch
