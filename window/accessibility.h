// What screen readers learn about the window beyond Qt's own descriptions of its widgets.
//
//   ComboBox   named by its caption (its accessible name). Qt names an editable combo box on Linux by the
//              text in its field and leaves the caption to a label relation, so "3" or "6 месяцев" was
//              all a screen reader said; the text stays the value, the entries stay its children.
//   LinkLabel  a link with a press action that does what a click does, not a static text.
//   Form1, the fleet window  windows, whose titles screen readers announce when they become active.
#pragma once

namespace window {

// Registers the descriptions above with Qt; calling it again changes nothing.
void installAccessibility();

} // namespace window
