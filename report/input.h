// What a report shows: the window's fields at the moment of the click. The report computes nothing; it
// copies the fields, and the category decides which variant is written and which factors it shows as
// fixed values or as left out.
#pragma once

#include "engine/premium.h"

#include <string>

namespace report {

struct ReportInput {
    engine::FieldSnapshot fields;     // the nine factor fields, the category and the КП exclusion
    std::string total;                // Text10, as "ОК" left it
    std::string startDate, startTime; // Text11, Text12: when the program was started
};

// Vehicles registered abroad get the foreign variant; every other category, the standard one.
bool foreignVariant(const ReportInput &input);

// What follows a factor's "=" in both reports: the field's text right after it ("ТБ =1980"), or, after
// a space, the category's fixed value ("КТ = 2") or the word for a factor the user left out
// ("КП = исключен").
std::string shownFactor(const ReportInput &input, engine::Factor factor);

} // namespace report
