// The page's elements as the handlers see them: found by id, which is the window's control name, and
// read and written as text. The browser edition's only crossing between C++ and the page's document.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace web::dom {

// The text of a field or a drop-down's field (an <input>).
std::string text(std::string_view id);
void setText(std::string_view id, std::string_view text);

// The text of the entry chosen in a list (a <select>), or nothing when none is chosen.
std::optional<std::string> chosenEntry(std::string_view id);
// Replaces the entries of a list; none of them is chosen afterwards.
void setEntries(std::string_view id, std::span<const std::string_view> entries);

// Option buttons and the check box. select() selects an option button (its group's others clear) and
// raises nothing.
bool checked(std::string_view id);
void select(std::string_view id);

void setHidden(std::string_view id, bool hidden);

// The rows a list shows, and whether an element carries a class of the stylesheet.
void setRows(std::string_view id, int rows);
void setClass(std::string_view id, std::string_view name, bool present);

// Shows one of the program's messages in the page's message element (id "message", role "alert").
void inform(std::string_view message);

// Hands bytes to the browser as a file to save under a name.
void download(std::string_view name, std::string_view type, std::string_view bytes);

// Opens an address beside the page, in a tab of its own: the page keeps its fields.
void openBeside(std::string_view address);

// Ends the program: closes the page where the browser allows it, and starts it afresh otherwise.
void endProgram();

} // namespace web::dom
