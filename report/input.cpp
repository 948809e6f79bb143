#include "report/input.h"

namespace report {

bool foreignVariant(const ReportInput &input)
{
    return input.fields.category == engine::Category::Foreign;
}

std::string shownFactor(const ReportInput &input, engine::Factor factor)
{
    const engine::FieldSnapshot &fields = input.fields;
    // Without a category the report is the standard one, as for cars.
    const engine::FactorUse use = engine::factorUses(
        fields.category.value_or(engine::Category::Cars), fields.excludeKp)[static_cast<std::size_t>(factor)];
    if (use.shownExcluded)
        return " исключен";
    if (!use.fixed.empty()) {
        std::string shown(1, ' ');
        shown += use.fixed;
        return shown;
    }
    return fields.texts[static_cast<std::size_t>(factor)];
}

} // namespace report
