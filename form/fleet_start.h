// What the command line asks of the desktop program's windows, the same for the Qt window and the
// Windows program: the main window, or the fleet window, with a list to compute at once or none.
//
//   tarifmaster                  the main window
//   tarifmaster --fleet          the fleet window, which asks for a list
//   tarifmaster --fleet FILE     the fleet window computing FILE (also --fleet=FILE)
//   tarifmaster FILE             the same: a file manager's "Open with", Explorer's verb, a drop on the
//                                program's icon hand the list over this way
//
// Anything else leaves the main window (a toolkit's own options among them); --help, --version and
// --batch are answered before any window.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace form {

struct WindowRequest {
    bool fleet = false;
    std::optional<std::string> list; // UTF-8, as given

    bool operator==(const WindowRequest &) const = default;
};

// The arguments after the program's name, in UTF-8.
WindowRequest windowRequest(std::span<const std::string_view> arguments);

} // namespace form
