// The moment the page was opened, as the report prints it: the date and the time in the short Russian
// formats the desktop program writes for a Russian user ("05.03.2024", "09:01:07"), in the browser's
// time zone.
#pragma once

#include "form/controls.h"

namespace web {

// The date as dd.MM.yyyy and the time as HH:mm:ss.
form::StartTime startTime(double millisSince1970);

} // namespace web
