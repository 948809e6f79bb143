#include "engine/premium_messages.h"

namespace engine {

std::string premiumProblem(const PremiumOutcome &outcome)
{
    if (outcome.status == PremiumOutcome::Status::Overflow)
        return "Страховая премия слишком велика для расчета. Проверьте коэффициенты шагов с 1 по 9.";
    if (outcome.status == PremiumOutcome::Status::Ok || outcome.reason == ParseError::Empty)
        return std::string(kZeroWarning);
    std::string message = "Коэффициент ";
    message += factorLabel(outcome.factor);
    message += " (шаг ";
    message += std::to_string(static_cast<int>(outcome.factor) + 1);
    message += "): «";
    message += outcome.text;
    message += "» — ";
    message += parseErrorText(outcome.reason, Phrasing::Sentence);
    return message;
}

} // namespace engine
