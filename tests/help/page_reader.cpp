#include "page_reader.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

namespace help {

namespace {

constexpr std::string_view kVoidElements[] = {"meta", "link", "br", "hr", "img", "input", "col", "wbr"};

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == ':';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string lower(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) {
        return static_cast<char>(std::tolower(c));
    });
    return out;
}

// A start tag at markup[pos] ('<' followed by a letter): fills name and attributes, returns the
// position after its '>', or npos when the tag is not closed.
std::size_t readStartTag(std::string_view markup, std::size_t pos, Element &element)
{
    std::size_t i = pos + 1;
    const std::size_t nameBegin = i;
    while (i < markup.size() && isNameChar(markup[i]))
        ++i;
    element.name = lower(markup.substr(nameBegin, i - nameBegin));
    while (i < markup.size()) {
        while (i < markup.size() && isSpace(markup[i]))
            ++i;
        if (i >= markup.size())
            break;
        if (markup[i] == '>')
            return i + 1;
        if (markup[i] == '/') {
            ++i;
            continue;
        }
        const std::size_t keyBegin = i;
        while (i < markup.size() && !isSpace(markup[i]) && markup[i] != '=' && markup[i] != '>'
            && markup[i] != '/')
            ++i;
        std::string key = lower(markup.substr(keyBegin, i - keyBegin));
        std::string value;
        if (i < markup.size() && markup[i] == '=') {
            ++i;
            if (i < markup.size() && (markup[i] == '"' || markup[i] == '\'')) {
                const char quote = markup[i++];
                const std::size_t end = markup.find(quote, i);
                if (end == std::string_view::npos)
                    return std::string_view::npos;
                value = markup.substr(i, end - i);
                i = end + 1;
            } else {
                const std::size_t valueBegin = i;
                while (i < markup.size() && !isSpace(markup[i]) && markup[i] != '>')
                    ++i;
                value = markup.substr(valueBegin, i - valueBegin);
            }
        }
        element.attributes.emplace(std::move(key), std::move(value));
    }
    return std::string_view::npos;
}

// Is markup[pos] a tag ("<name" or "</name") of exactly this name?
bool tagAt(std::string_view markup, std::size_t pos, std::string_view prefix, std::string_view name)
{
    const std::size_t nameAt = pos + prefix.size();
    if (markup.substr(pos, prefix.size()) != prefix || nameAt + name.size() > markup.size())
        return false;
    if (lower(markup.substr(nameAt, name.size())) != name)
        return false;
    return nameAt + name.size() == markup.size() || !isNameChar(markup[nameAt + name.size()]);
}

// The markup between the start tag ending at begin and the end tag that matches it (nested elements
// of the same name counted), or the rest of markup when the end tag is missing.
std::string_view innerOf(std::string_view markup, std::size_t begin, std::string_view name)
{
    int depth = 1;
    for (std::size_t i = markup.find('<', begin); i != std::string_view::npos; i = markup.find('<', i + 1)) {
        if (tagAt(markup, i, "</", name) && --depth == 0)
            return markup.substr(begin, i - begin);
        if (tagAt(markup, i, "<", name))
            ++depth;
    }
    return markup.substr(begin);
}

void appendDecodedEntity(std::string_view markup, std::size_t &pos, std::string &out)
{
    static constexpr std::pair<std::string_view, std::string_view> kEntities[] = {
        {"&nbsp;", " "},
        {"&amp;", "&"},
        {"&lt;", "<"},
        {"&gt;", ">"},
        {"&quot;", "\""},
        {"&#39;", "'"},
        {"&times;", "×"},
        {"&hellip;", "…"},
        {"&mdash;", "—"},
        {"&ndash;", "–"},
    };
    for (const auto &[entity, decoded] : kEntities)
        if (markup.substr(pos, entity.size()) == entity) {
            out += decoded;
            pos += entity.size();
            return;
        }
    out += '&';
    ++pos;
}

} // namespace

std::optional<std::string_view> Element::attribute(std::string_view key) const
{
    if (const auto it = attributes.find(key); it != attributes.end())
        return std::string_view(it->second);
    return std::nullopt;
}

std::vector<Element> elements(std::string_view markup)
{
    std::vector<Element> found;
    std::size_t pos = 0;
    while ((pos = markup.find('<', pos)) != std::string_view::npos) {
        if (markup.substr(pos, 4) == "<!--") {
            const std::size_t end = markup.find("-->", pos + 4);
            if (end == std::string_view::npos)
                break;
            pos = end + 3;
            continue;
        }
        if (pos + 1 >= markup.size() || !std::isalpha(static_cast<unsigned char>(markup[pos + 1]))) {
            ++pos;
            continue;
        }
        Element element;
        const std::size_t end = readStartTag(markup, pos, element);
        if (end == std::string_view::npos)
            break;
        const bool isVoid = std::find(std::begin(kVoidElements), std::end(kVoidElements), element.name)
            != std::end(kVoidElements);
        if (!isVoid)
            element.inner = innerOf(markup, end, element.name);
        found.push_back(std::move(element));
        pos = end;
    }
    return found;
}

std::vector<Element> elementsNamed(std::string_view markup, std::string_view name)
{
    std::vector<Element> found = elements(markup);
    std::erase_if(found, [&](const Element &element) {
        return element.name != name;
    });
    return found;
}

std::vector<Element> elementsWith(std::string_view markup, std::string_view key)
{
    std::vector<Element> found = elements(markup);
    std::erase_if(found, [&](const Element &element) {
        return !element.attribute(key);
    });
    return found;
}

std::string text(std::string_view markup)
{
    std::string raw;
    for (std::size_t pos = 0; pos < markup.size();) {
        if (markup.substr(pos, 4) == "<!--") {
            const std::size_t end = markup.find("-->", pos + 4);
            if (end == std::string_view::npos)
                break;
            pos = end + 3;
        } else if (markup[pos] == '<') {
            const std::size_t end = markup.find('>', pos);
            if (end == std::string_view::npos)
                break;
            if (tagAt(markup, pos, "<", "br"))
                raw += ' ';
            pos = end + 1;
        } else if (markup[pos] == '&') {
            appendDecodedEntity(markup, pos, raw);
        } else if (markup.substr(pos, 2) == "\xC2\xA0") { // U+00A0 written as a character
            raw += ' ';
            pos += 2;
        } else {
            raw += markup[pos++];
        }
    }
    std::string out;
    for (const char c : raw) {
        if (isSpace(c)) {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::vector<std::vector<std::string>> tableRows(const Element &table, std::string_view section)
{
    std::vector<std::vector<std::string>> rows;
    const std::vector<Element> sections = elementsNamed(table.inner, section);
    if (sections.empty())
        return rows;
    for (const Element &row : elementsNamed(sections.front().inner, "tr")) {
        std::vector<std::string> cells;
        for (const Element &cell : elements(row.inner))
            if (cell.name == "td" || cell.name == "th")
                cells.push_back(text(cell.inner));
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::optional<std::string> readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

} // namespace help
