// The page: the window's handlers over the page's controls, one per control and event and named after
// both, as Form1's are. A handler reads its control, asks the engine, and writes its field; the page's
// elements are the only store of state, as the window's controls are.
//
// The page's script turns the browser's events into the window's: a chosen list entry, a click into a
// field, a chosen or typed drop-down entry, a selected option button or a pressed button is "Click",
// typing into a field is "Change". It hands each to handle() by the control's name.
#pragma once

#include <string_view>

namespace web {

// Runs the handler of a control and event ("List1", "Click"); a pair without a handler does nothing.
void handle(std::string_view control, std::string_view event);

// The start-up: what Form1's Form_Load does that the page's design does not already hold. startMillis
// is the moment the page was opened, in milliseconds since 1970 (the report states when the program
// was started).
void Form_Load(double startMillis);

} // namespace web
