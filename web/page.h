// The page's front of Form1: the page's elements behind the form's Controls interface, found by their
// ids, which are the window's control names. Every handler is the form's (form/form1.h); what is the
// page's own stays here and in the page's script: reports as downloads, the messages in the page's
// message element, the Russian start date and time, closing the page.
//
// The page's script turns the browser's events into the form's: a chosen list entry, a click into a
// field, a chosen or typed drop-down entry, a selected option button or a pressed button is "Click",
// typing into a field is "Change". It hands each to raise() by the control's name.
#pragma once

#include <string_view>

namespace web {

// The start-up, once the page's elements are there. startMillis is the moment the page was opened, in
// milliseconds since 1970 (the report states when the program was started).
void Form_Load(double startMillis);

// Runs the form's handler of a control and event ("List1", "Click"); a pair without one does nothing.
void raise(std::string_view control, std::string_view event);

} // namespace web
