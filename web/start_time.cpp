#include "web/start_time.h"

#include <ctime>

namespace web {

namespace {

// Appends a number with at least the given count of digits, zeros in front.
void appendDigits(std::string &out, int number, int digits)
{
    std::string text = std::to_string(number);
    if (static_cast<int>(text.size()) < digits)
        out.append(static_cast<std::size_t>(digits) - text.size(), '0');
    out += text;
}

} // namespace

form::StartTime startTime(double millisSince1970)
{
    const auto seconds = static_cast<std::time_t>(millisSince1970 / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    form::StartTime start;
    appendDigits(start.date, local.tm_mday, 2);
    start.date += '.';
    appendDigits(start.date, local.tm_mon + 1, 2);
    start.date += '.';
    appendDigits(start.date, local.tm_year + 1900, 4);
    appendDigits(start.time, local.tm_hour, 2);
    start.time += ':';
    appendDigits(start.time, local.tm_min, 2);
    start.time += ':';
    appendDigits(start.time, local.tm_sec, 2);
    return start;
}

} // namespace web
