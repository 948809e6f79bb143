#include "page_reader.h"

#include <fstream>
#include <iterator>
#include <libxml/HTMLparser.h>

namespace help {

namespace {

std::string asString(const xmlChar *text)
{
    return text ? std::string(reinterpret_cast<const char *>(text)) : std::string();
}

void collect(const std::shared_ptr<xmlDoc> &page, const xmlNode *first, std::vector<Element> &out)
{
    for (const xmlNode *node = first; node; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        Element element{page, node, asString(node->name), {}};
        for (const xmlAttr *a = node->properties; a; a = a->next) {
            xmlChar *value = xmlNodeListGetString(page.get(), a->children, 1);
            element.attributes.emplace(asString(a->name), asString(value));
            xmlFree(value);
        }
        out.push_back(std::move(element));
        collect(page, node->children, out);
    }
}

std::vector<Element> elementsOf(const std::shared_ptr<xmlDoc> &page, const xmlNode *first)
{
    std::vector<Element> found;
    collect(page, first, found);
    return found;
}

void appendText(const xmlNode *first, std::string &out)
{
    for (const xmlNode *node = first; node; node = node->next) {
        if (node->type == XML_TEXT_NODE)
            out += asString(node->content);
        else if (node->type == XML_ELEMENT_NODE && asString(node->name) == "br")
            out += ' ';
        else if (node->type == XML_ELEMENT_NODE)
            appendText(node->children, out);
    }
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
    const int options = HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    const std::shared_ptr<xmlDoc> page(
        htmlReadMemory(markup.data(), static_cast<int>(markup.size()), nullptr, "UTF-8", options),
        xmlFreeDoc);
    return page ? elementsOf(page, xmlDocGetRootElement(page.get())) : std::vector<Element>();
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

std::string text(const Element &element)
{
    std::string raw;
    appendText(element.node->children, raw);
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const bool noBreakSpace = raw.compare(i, 2, "\xC2\xA0") == 0;
        if (noBreakSpace || raw[i] == ' ' || raw[i] == '\t' || raw[i] == '\n' || raw[i] == '\r'
            || raw[i] == '\f') {
            i += noBreakSpace ? 1 : 0;
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += raw[i];
        }
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::vector<std::vector<std::string>> tableRows(const Element &table, std::string_view section)
{
    std::vector<std::vector<std::string>> rows;
    for (const Element &part : elementsOf(table.page, table.node->children)) {
        if (part.name != section)
            continue;
        for (const Element &row : elementsOf(table.page, part.node->children)) {
            if (row.name != "tr")
                continue;
            std::vector<std::string> cells;
            for (const Element &cell : elementsOf(table.page, row.node->children))
                if (cell.name == "td" || cell.name == "th")
                    cells.push_back(text(cell));
            rows.push_back(std::move(cells));
        }
        break;
    }
    return rows;
}

std::optional<std::string> readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace help
