// The parts of a workbook: a ZIP archive (libzip) whose members are XML documents read as they unpack
// (expat). Member and element names are matched by their local part, whatever prefix a program gives
// the namespace. Every member read counts against the limits of a sheet, so that a small file that
// unpacks to gigabytes is refused early rather than read.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

struct zip;
struct zip_file;

namespace batch {

// What an XML document's reader is told, element by element. Names are local names ("row", "c"); an
// attribute is looked up by its local name too.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const char **attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view text) = 0;
    // True once the handler has all it needs: reading stops there.
    virtual bool done() const
    {
        return false;
    }
};

// The value of an attribute of a start() call by its local name, or nothing.
std::optional<std::string_view> attribute(const char **attributes, std::string_view name);

class Archive {
public:
    // Opens the archive in fd (fd itself stays open); nothing, with problem set, when it is not one.
    static std::unique_ptr<Archive> open(int fd, std::string &problem);
    ~Archive();
    Archive(const Archive &) = delete;
    Archive &operator=(const Archive &) = delete;

    bool has(std::string_view name) const;
    std::uint64_t fileSize() const
    {
        return m_fileSize;
    }
    // A small member whole (at most limit bytes), or nothing with problem set.
    std::optional<std::string> read(std::string_view name, std::size_t limit);

    // A member read as XML through handler, a piece at a time: begin(), then pump() until it returns
    // false; problem() says whether it ended well.
    bool begin(std::string_view name, XmlHandler &handler);
    bool pump(); // false at the end of the member, when the handler is done, or on a problem
    bool failed() const
    {
        return !m_problem.empty();
    }
    const std::string &problem() const
    {
        return m_problem;
    }
    // The share of the member read so far, from 0 to 1.
    double shareRead() const;

private:
    Archive() = default;
    struct Parser;
    bool fail(std::string text);
    zip_file *openMember(std::string_view name, std::uint64_t &size);

    zip *m_zip = nullptr;
    std::uint64_t m_fileSize = 0;
    zip_file *m_member = nullptr;
    std::uint64_t m_memberSize = 0;
    std::uint64_t m_unpacked = 0;
    std::unique_ptr<Parser> m_parser;
    std::string m_problem;
};

} // namespace batch
