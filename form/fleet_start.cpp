#include "form/fleet_start.h"

namespace form {

namespace {

constexpr std::string_view kFleetSwitch = "--fleet";

bool isOption(std::string_view argument)
{
    return argument.starts_with('-');
}

} // namespace

WindowRequest windowRequest(std::span<const std::string_view> arguments)
{
    if (arguments.empty())
        return {};
    const std::string_view first = arguments.front();
    if (first == kFleetSwitch) {
        if (arguments.size() == 1)
            return {true, std::nullopt};
        if (arguments.size() == 2 && !arguments[1].empty())
            return {true, std::string(arguments[1])};
        return {};
    }
    if (first.starts_with(kFleetSwitch) && first.size() > kFleetSwitch.size() + 1
        && first[kFleetSwitch.size()] == '=' && arguments.size() == 1)
        return {true, std::string(first.substr(kFleetSwitch.size() + 1))};
    if (arguments.size() == 1 && !first.empty() && !isOption(first))
        return {true, std::string(first)};
    return {};
}

} // namespace form
