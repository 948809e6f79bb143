// The help pages as libxml2's HTML parser reads them, enough to find the figures they show.
#pragma once

#include <functional>
#include <libxml/tree.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace help {

struct Element {
    std::shared_ptr<xmlDoc> page; // keeps node alive
    const xmlNode *node = nullptr;
    std::string name;                                           // lower-case tag name: "table", "td"
    std::map<std::string, std::string, std::less<>> attributes; // value "" for an attribute without one

    std::optional<std::string_view> attribute(std::string_view key) const;
};

// The elements of markup, at any depth, in document order (comments are no elements); those named
// name; those carrying the attribute key.
std::vector<Element> elements(std::string_view markup);
std::vector<Element> elementsNamed(std::string_view markup, std::string_view name);
std::vector<Element> elementsWith(std::string_view markup, std::string_view key);

// The text a reader sees: tags dropped (a <br> counts as a blank), entities decoded, every run of
// white space (the no-break space included) made one space, and the ends trimmed.
std::string text(const Element &element);

// The cell texts (th and td) of each row of the table's tbody, or tfoot.
std::vector<std::vector<std::string>> tableRows(const Element &table, std::string_view section = "tbody");

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::string &path);

} // namespace help
