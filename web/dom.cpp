#include "web/dom.h"

#include <cstdlib>
#include <emscripten/emscripten.h>
#include <memory>
#include <vector>

// Each function below is JavaScript run in the page; texts cross as UTF-8 (pointer and length), and a
// text handed back is allocated with malloc and freed here.

// clang-format off
EM_JS(char *, tm_dom_text, (const char *id, int idLength), {
    const text = document.getElementById(UTF8ToString(id, idLength)).value;
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(void, tm_dom_set_text, (const char *id, int idLength, const char *text, int textLength), {
    document.getElementById(UTF8ToString(id, idLength)).value = UTF8ToString(text, textLength);
});
EM_JS(char *, tm_dom_chosen_entry, (const char *id, int idLength), {
    const list = document.getElementById(UTF8ToString(id, idLength));
    if (list.selectedIndex < 0)
        return 0;
    const text = list.options[list.selectedIndex].textContent;
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(void, tm_dom_set_entries, (const char *id, int idLength, const char *const *texts, const int *lengths,
                                 int count), {
    const entries = [];
    for (let i = 0; i < count; ++i) {
        const entry = document.createElement("option");
        entry.textContent = UTF8ToString(HEAP32[(texts >> 2) + i], HEAP32[(lengths >> 2) + i]);
        entries.push(entry);
    }
    document.getElementById(UTF8ToString(id, idLength)).replaceChildren(...entries);
});
EM_JS(int, tm_dom_checked, (const char *id, int idLength), {
    return document.getElementById(UTF8ToString(id, idLength)).checked ? 1 : 0;
});
EM_JS(void, tm_dom_select, (const char *id, int idLength), {
    document.getElementById(UTF8ToString(id, idLength)).checked = true;
});
EM_JS(void, tm_dom_set_hidden, (const char *id, int idLength, int hidden), {
    document.getElementById(UTF8ToString(id, idLength)).hidden = hidden != 0;
});
EM_JS(void, tm_dom_set_rows, (const char *id, int idLength, int rows), {
    document.getElementById(UTF8ToString(id, idLength)).size = rows;
});
EM_JS(void, tm_dom_set_class, (const char *id, int idLength, const char *name, int nameLength, int present), {
    document.getElementById(UTF8ToString(id, idLength)).classList.toggle(UTF8ToString(name, nameLength),
                                                                          present != 0);
});
EM_JS(void, tm_dom_inform, (const char *text, int textLength), {
    Module["inform"](UTF8ToString(text, textLength));
});
EM_JS(void, tm_dom_download, (const char *name, int nameLength, const char *type, int typeLength,
                              const char *bytes, int byteCount), {
    Module["download"](UTF8ToString(name, nameLength), UTF8ToString(type, typeLength),
                       HEAPU8.slice(bytes, bytes + byteCount));
});
EM_JS(void, tm_dom_open_beside, (const char *address, int addressLength), {
    window.open(encodeURI(UTF8ToString(address, addressLength)), "_blank", "noopener");
});
EM_JS(void, tm_dom_end_program, (), {
    Module["endProgram"]();
});
// clang-format on

namespace web::dom {

namespace {

int length(std::string_view text)
{
    return static_cast<int>(text.size());
}

std::string taken(char *text)
{
    const std::unique_ptr<char, decltype(&std::free)> owned(text, &std::free);
    return text ? std::string(text) : std::string();
}

} // namespace

std::string text(std::string_view id)
{
    return taken(tm_dom_text(id.data(), length(id)));
}

void setText(std::string_view id, std::string_view text)
{
    tm_dom_set_text(id.data(), length(id), text.data(), length(text));
}

std::optional<std::string> chosenEntry(std::string_view id)
{
    char *entry = tm_dom_chosen_entry(id.data(), length(id));
    if (!entry)
        return std::nullopt;
    return taken(entry);
}

void setEntries(std::string_view id, std::span<const std::string_view> entries)
{
    std::vector<const char *> texts;
    std::vector<int> lengths;
    for (const std::string_view entry : entries) {
        texts.push_back(entry.data());
        lengths.push_back(length(entry));
    }
    tm_dom_set_entries(id.data(), length(id), texts.data(), lengths.data(), static_cast<int>(entries.size()));
}

bool checked(std::string_view id)
{
    return tm_dom_checked(id.data(), length(id)) != 0;
}

void select(std::string_view id)
{
    tm_dom_select(id.data(), length(id));
}

void setHidden(std::string_view id, bool hidden)
{
    tm_dom_set_hidden(id.data(), length(id), hidden ? 1 : 0);
}

void setRows(std::string_view id, int rows)
{
    tm_dom_set_rows(id.data(), length(id), rows);
}

void setClass(std::string_view id, std::string_view name, bool present)
{
    tm_dom_set_class(id.data(), length(id), name.data(), length(name), present ? 1 : 0);
}

void inform(std::string_view message)
{
    tm_dom_inform(message.data(), length(message));
}

void download(std::string_view name, std::string_view type, std::string_view bytes)
{
    tm_dom_download(name.data(), length(name), type.data(), length(type), bytes.data(), length(bytes));
}

void openBeside(std::string_view address)
{
    tm_dom_open_beside(address.data(), length(address));
}

void endProgram()
{
    tm_dom_end_program();
}

} // namespace web::dom
