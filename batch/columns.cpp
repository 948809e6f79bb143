#include "batch/columns.h"

#include "batch/tables.h"
#include "engine/premium.h"

#include <algorithm>

namespace batch {

std::string_view columnName(Column column)
{
    switch (column) {
    case Column::Category:
        return "Категория";
    case Column::VehicleKind:
        return "Тип ТС";
    case Column::Class:
        return "Класс";
    case Column::Payouts:
        return "Выплаты";
    case Column::ExcludeKp:
        return "Исключить КП";
    case Column::Factors:
        return "Коэффициенты";
    case Column::Premium:
        return "Страховая премия";
    case Column::Error:
        return "Ошибка";
    default: // ТБ to КН: the steps' own abbreviations
        return engine::factorLabel(factorOf(column));
    }
}

LayoutResult layoutOf(std::span<const std::string> names)
{
    std::array<std::string, kColumnCount> known;
    for (std::size_t i = 0; i < kColumnCount; ++i)
        known[i] = foldText(columnName(static_cast<Column>(i)), Fold::Name);

    Layout layout;
    layout.width = names.size();
    for (std::size_t position = 0; position < names.size(); ++position) {
        const std::string name = foldText(names[position], Fold::Name);
        const auto found = std::find(known.begin(), known.end(), name);
        if (name.empty() || found == known.end()) {
            layout.carried.push_back(position);
            continue;
        }
        const auto column = static_cast<std::size_t>(found - known.begin());
        if (const auto earlier = layout.cell[column])
            return {std::nullopt,
                "столбец «" + std::string(columnName(static_cast<Column>(column))) + "» указан дважды: "
                    + std::to_string(*earlier + 1) + "-й и " + std::to_string(position + 1) + "-й столбцы"};
        layout.cell[column] = position;
        const auto written
            = std::find(kWrittenColumns.begin(), kWrittenColumns.end(), static_cast<Column>(column));
        if (written == kWrittenColumns.end())
            layout.carried.push_back(position);
    }
    if (!layout.cell[static_cast<std::size_t>(Column::Category)])
        return {std::nullopt, "в первой строке нет столбца «Категория»"};
    return {std::move(layout), {}};
}

bool hasValuesBeyond(const Record &record, std::size_t width)
{
    return record.cells.size() > width
        && std::any_of(record.cells.begin() + static_cast<std::ptrdiff_t>(width),
            record.cells.end(),
            [](std::string_view text) {
                return text.find_first_not_of(" \t") != std::string_view::npos;
            });
}

} // namespace batch
