// The columns of a vehicle list: which cell of a row holds what, found from the header row by name. Names
// match whatever their letter case and the spaces around them; the order is free, a column that is not
// needed may be missing, and columns the batch does not know are carried through untouched. The layout
// also orders the cells of a result row, whatever the result is written as.
#pragma once

#include "batch/rows.h"
#include "engine/premium.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

// The columns the batch reads and the three it writes. ТБ to КН stand in the order of engine::Factor,
// which columnOf() and the static_asserts below it rely on.
enum class Column {
    Category,
    TB,
    KT,
    KBM,
    KVS,
    KO,
    KM,
    KS,
    KP,
    KN,
    VehicleKind, // "Тип ТС"
    Class,       // "Класс"
    Payouts,     // "Выплаты"
    ExcludeKp,   // "Исключить КП"
    Factors,     // "Коэффициенты", written
    Premium,     // "Страховая премия", written
    Error,       // "Ошибка", written
};
inline constexpr std::size_t kColumnCount = 17;
inline constexpr std::array kWrittenColumns = {Column::Factors, Column::Premium, Column::Error};
static_assert(kColumnCount == static_cast<std::size_t>(Column::Error) + 1);

// The column of a factor's cell, and the factor of a column from ТБ to КН: one place apart.
constexpr Column columnOf(engine::Factor factor)
{
    return static_cast<Column>(static_cast<std::size_t>(factor) + 1);
}
constexpr engine::Factor factorOf(Column column)
{
    return static_cast<engine::Factor>(static_cast<std::size_t>(column) - 1);
}
static_assert(columnOf(engine::Factor::TB) == Column::TB && columnOf(engine::Factor::KT) == Column::KT
    && columnOf(engine::Factor::KBM) == Column::KBM && columnOf(engine::Factor::KVS) == Column::KVS
    && columnOf(engine::Factor::KO) == Column::KO && columnOf(engine::Factor::KM) == Column::KM
    && columnOf(engine::Factor::KS) == Column::KS && columnOf(engine::Factor::KP) == Column::KP
    && columnOf(engine::Factor::KN) == Column::KN);
static_assert(engine::kFactorCount == static_cast<std::size_t>(Column::KN));
static_assert(factorOf(Column::KN) == engine::Factor::KN && factorOf(Column::TB) == engine::Factor::TB);

// The name of a column as the header spells it and messages quote it.
std::string_view columnName(Column column);

struct Layout {
    std::array<std::optional<std::size_t>, kColumnCount> cell; // position in the row, when present
    std::size_t width = 0;                                     // cells in the header row
    std::vector<std::size_t> carried;                          // positions written out as they are, in order
};

struct LayoutResult {
    std::optional<Layout> layout;
    std::string problem; // when there is no layout: why, in Russian
};

// The layout of a header row whose names are given in UTF-8. The columns the batch writes are taken
// out when the header has them already (a result of an earlier run read again), so they are written
// once, anew. Without "Категория", or with a column named twice, the header is not usable.
LayoutResult layoutOf(std::span<const std::string> names);

// True when the record has cells beyond the header's width that are not empty.
bool hasValuesBeyond(const Record &record, std::size_t width);

// Where a cell of a result row comes from: the input row's cell at index, or the added cell at index.
struct CellOrigin {
    bool added;
    std::size_t index;
};

// The cells that follow the carried ones in a result row: the cells added, then the values beyond the
// header's last column, which are kept too.
template<typename Visit>
void forEachTrailingCell(
    const Layout &layout, const Record &record, std::span<const std::string_view> added, const Visit &visit)
{
    for (std::size_t i = 0; i < added.size(); ++i)
        visit(added[i], CellOrigin{true, i});
    if (hasValuesBeyond(record, layout.width))
        for (std::size_t i = layout.width; i < record.cells.size(); ++i)
            visit(record.cells[i], CellOrigin{false, i});
}

// The cells of a result row in order: the carried cells, then the trailing ones.
template<typename Visit>
void forEachResultCell(
    const Layout &layout, const Record &record, std::span<const std::string_view> added, const Visit &visit)
{
    for (const std::size_t position : layout.carried)
        visit(position < record.cells.size() ? record.cells[position] : std::string_view(),
            CellOrigin{false, position});
    forEachTrailingCell(layout, record, added, visit);
}

} // namespace batch
