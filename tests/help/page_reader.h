// A small reader for the help pages, enough to find the figures they show: the pages are our own,
// well-formed HTML (tidy checks them), so elements are found by their start tag and the matching end
// tag of the same name, and comments are skipped.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace help {

struct Element {
    std::string name;                                           // lower-case tag name: "table", "td"
    std::map<std::string, std::string, std::less<>> attributes; // value "" for an attribute without one
    std::string_view inner; // the markup between start and end tag: keep the page's text alive

    std::optional<std::string_view> attribute(std::string_view key) const;
};

// The elements of markup, at any depth, in document order; void elements (meta, link, br) have an
// empty inner.
std::vector<Element> elements(std::string_view markup);

// The elements of markup named name, or carrying the attribute key.
std::vector<Element> elementsNamed(std::string_view markup, std::string_view name);
std::vector<Element> elementsWith(std::string_view markup, std::string_view key);

// The text a reader sees: tags dropped (a <br> counts as a blank), the entities the pages use decoded, every
// run of white space (the no-break space included) made one space, and the ends trimmed.
std::string text(std::string_view markup);

// The cell texts (th and td) of each row of the table's tbody, or tfoot.
std::vector<std::vector<std::string>> tableRows(const Element &table, std::string_view section = "tbody");

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readFile(const std::string &path);

} // namespace help
