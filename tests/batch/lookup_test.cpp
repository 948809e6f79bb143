// How a cell finds its entry and a header its columns: the folded form of a text, the entry index
// (exact first, then folded, never a guess between two), and the column layout.
#include "batch/columns.h"
#include "batch/tables.h"
#include "engine/windows1251.h"

#include <gtest/gtest.h>

namespace {

using batch::Fold;
using batch::Match;

} // namespace

TEST(FoldText, IgnoresCaseYoSpacesAndForNamesLatinLookalikes)
{
    struct Case {
        std::string_view text;
        std::string_view entry; // Fold::Entry
        std::string_view name;  // Fold::Name
    };
    // clang-format off
    const Case cases[] = {
        {"", "", ""},
        {" \t\r\n\u00A0", "", ""},
        {"  москва\t ", "МОСКВА", "МОСКВА"},
        {"Ростов  на\u00A0\tДону", "РОСТОВ НА ДОНУ", "РОСТОВ НА ДОНУ"},
        {"Орёл, ЁЛКИ", "ОРЕЛ, ЕЛКИ", "ОРЕЛ, ЕЛКИ"},
        {"kt", "KT", "КТ"},
        {"ABCEHKMOPTXY", "ABCEHKMOPTXY", "АВСЕНКМОРТХУ"},
        {"DFGIJLNQRSUVWZ 0-13", "DFGIJLNQRSUVWZ 0-13", "DFGIJLNQRSUVWZ 0-13"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(batch::foldText(c.text, Fold::Entry), c.entry);
        EXPECT_EQ(batch::foldText(c.text, Fold::Name), c.name);
    }
}

TEST(EntryIndex, FindsExactFirstThenFoldedAndNeverGuesses)
{
    // "Москва" and "МОСКВА" fold alike and differ; the two "Орёл" do not differ; of the two "Тверь" the
    // first is the entry. "Зеленоград ✓" has a sign Windows-1251 cannot spell.
    const std::pair<std::string_view, int> entries[] = {{"Москва", 1},
        {"МОСКВА", 2},
        {"Орёл", 3},
        {"Орел", 3},
        {"Тверь", 4},
        {"Тверь", 5},
        {"Зеленоград ✓", 6}};
    struct Case {
        std::string_view cell; // UTF-8; converted for the Windows-1251 index
        Match exact;
        Match folded;
        int value; // of the exact match, else of the folded one
    };
    const Case cases[] = {
        {"", Match::Missing, Match::Missing, 0},
        {"Мск", Match::Missing, Match::Missing, 0},
        {"Москва", Match::Found, Match::Ambiguous, 1},
        {"МОСКВА", Match::Found, Match::Ambiguous, 2},
        {"москва", Match::Missing, Match::Ambiguous, 0},
        {" орёл ", Match::Missing, Match::Found, 3},
        {"Тверь", Match::Found, Match::Ambiguous, 4},
        {"зеленоград ✓", Match::Missing, Match::Found, 6},
        {"Зеленоград ?", Match::Missing, Match::Missing, 0}, // "✓" as Windows-1251 writes it
    };
    for (const batch::Encoding encoding : {batch::Encoding::Utf8, batch::Encoding::Windows1251}) {
        batch::EntryIndex<int> index(Fold::Entry, encoding);
        for (const auto &[entry, value] : entries)
            index.add(entry, value);
        for (const Case &c : cases) {
            SCOPED_TRACE(
                std::string(c.cell) + (encoding == batch::Encoding::Utf8 ? " (UTF-8)" : " (Windows-1251)"));
            const std::string cell
                = encoding == batch::Encoding::Utf8 ? std::string(c.cell) : engine::toWindows1251(c.cell);
            const batch::Lookup<int> exact = index.findExact(cell);
            const batch::Lookup<int> folded = index.findFolded(c.cell);
            EXPECT_EQ(exact.match, c.exact);
            EXPECT_EQ(folded.match, c.folded);
            const batch::Lookup<int> &found = exact.match == Match::Found ? exact : folded;
            EXPECT_EQ(found.value ? *found.value : 0, c.value);
        }
        // Windows-1251 cells are found exactly as the file holds them, never in UTF-8.
        if (encoding == batch::Encoding::Windows1251) {
            EXPECT_EQ(index.findExact("Москва").match, Match::Missing);
        }
    }
}

TEST(ColumnLayout, FindsColumnsByNameAndCarriesTheRest)
{
    using batch::Column;
    struct Case {
        std::vector<std::string> names;
        std::vector<std::pair<Column, std::size_t>> cells; // the columns found, by position
        std::vector<std::size_t> carried;
        std::string problem;
    };
    // clang-format off
    const Case cases[] = {
        {{}, {}, {}, "в первой строке нет столбца «Категория»"},
        {{"Марка", "ТБ"}, {}, {}, "в первой строке нет столбца «Категория»"},
        {{"Категория"}, {{Column::Category, 0}}, {0}, ""},
        {{" kt ", "", "Госномер", "  категория", "тип  тс", "ИСКЛЮЧИТЬ КП"},
         {{Column::KT, 0}, {Column::Category, 3}, {Column::VehicleKind, 4}, {Column::ExcludeKp, 5}}, {0, 1, 2, 3, 4, 5}, ""},
        {{"Ошибка", "Категория", "Коэффициенты", "КН", "Страховая премия", "Прим."},
         {{Column::Error, 0}, {Column::Category, 1}, {Column::Factors, 2}, {Column::KN, 3}, {Column::Premium, 4}}, {1, 3, 5}, ""},
        {{"Категория", "КТ", "ТБ", "кт"}, {}, {}, "столбец «КТ» указан дважды: 2-й и 4-й столбцы"},
        {{"Ошибка", "Категория", "ошибка"}, {}, {}, "столбец «Ошибка» указан дважды: 1-й и 3-й столбцы"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.names.empty() ? "no names" : c.names.front());
        const batch::LayoutResult result = batch::layoutOf(c.names);
        EXPECT_EQ(result.problem, c.problem);
        ASSERT_EQ(result.layout.has_value(), c.problem.empty());
        if (!result.layout)
            continue;
        std::array<std::optional<std::size_t>, batch::kColumnCount> expected{};
        for (const auto &[column, position] : c.cells)
            expected[static_cast<std::size_t>(column)] = position;
        EXPECT_EQ(result.layout->cell, expected);
        EXPECT_EQ(result.layout->carried, c.carried);
        EXPECT_EQ(result.layout->width, c.names.size());
    }
}

// A result row: the carried cells in order (empty where the row is short), the cells added, then values
// beyond the header's last column, which are kept only when one is not blank.
TEST(ColumnLayout, OrdersTheCellsOfAResultRow)
{
    batch::Layout layout;
    layout.width = 3;
    layout.carried = {2, 0};
    const std::array<std::string_view, 2> added = {"+1", "+2"};
    const std::pair<std::vector<std::string_view>, std::vector<std::string_view>> cases[] = {
        {{}, {"", "", "+1", "+2"}},
        {{"a", "b", "c"}, {"c", "a", "+1", "+2"}},
        {{"a", "b", "c", " ", "\t"}, {"c", "a", "+1", "+2"}},
        {{"a", "b", "c", "", "d"}, {"c", "a", "+1", "+2", "", "d"}},
    };
    for (const auto &[cells, expected] : cases) {
        SCOPED_TRACE(cells.size());
        batch::Record record;
        record.cells = cells;
        std::vector<std::string_view> row;
        std::size_t fromAdded = 0;
        batch::forEachResultCell(layout, record, added, [&](std::string_view text, batch::CellOrigin origin) {
            row.push_back(text);
            fromAdded += origin.added ? 1 : 0;
        });
        EXPECT_EQ(row, expected);
        EXPECT_EQ(fromAdded, added.size());
    }
}
