// What the program tells its user about "ОК": the zero warning, and why a premium could not be computed.
// The window shows these texts in its message boxes, the browser edition in its message line.
#pragma once

#include "engine/premium.h"

#include <string>
#include <string_view>

namespace engine {

// A total of exactly "0": a factor the category uses has not been set.
inline constexpr std::string_view kZeroWarning = "Не установлен один из коэффициентов шаг(ов) с 1 по 9";

// The message for an outcome that is not Ok: which factor of which step holds what and why it is no
// factor text, or that the product is too large. An empty factor is the zero warning's case.
std::string premiumProblem(const PremiumOutcome &outcome);

} // namespace engine
