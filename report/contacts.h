// The author's addresses: shown by the two links at the bottom of the window and written at the end of
// both reports. Both lie under a domain reserved for examples.
#pragma once

#include <string_view>

namespace report {

inline constexpr std::string_view kWebAddress = "http://example.com";
inline constexpr std::string_view kMailAddress = "tm@example.com";

} // namespace report
