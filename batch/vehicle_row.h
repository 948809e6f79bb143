// One vehicle: the cells of a row read as the window's choices, the factors its category uses found in
// the engine's tables (or taken as typed factors), and the premium computed by the engine's formula.
// A row that cannot be computed gets a Russian reason naming the row, the column and the cell.
#pragma once

#include "batch/columns.h"
#include "batch/rows.h"
#include "batch/tables.h"
#include "engine/fixed_point.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace batch {

struct VehicleResult {
    enum class Kind {
        Computed,
        Rejected,
        Blank,        // every cell empty: carried through, not counted
        EarlierTotal, // the total row of an earlier run: left out, a new one is written
    };
    Kind kind = Kind::Blank;
    engine::FixedPoint premium;
    std::string factors; // "ТБ=1980; КТ=2; …", when computed: in the file's encoding, as written out
    std::string error; // "строка 17, столбец «КТ»: …", when rejected: UTF-8, as said on the console
    // Of a rejected row: the columns its first problem names ("КТ", "Класс, КБМ"; empty when it is the
    // row's), and where in error the reasons start, after the row and those columns.
    std::string columns;
    std::size_t reasonAt = 0;
};

class RowEvaluator {
public:
    RowEvaluator(const Tables &tables, const Layout &layout, Encoding encoding);

    // Reads a record of the file (cells in the file's encoding).
    void evaluate(const Record &record, VehicleResult &result);

private:
    // What a factor's cell gave: the text shown among the factors and the value multiplied.
    struct Resolved {
        std::string_view text;
        engine::FixedPoint value;
    };

    // A cell of the row, trimmed, in the file's encoding; empty when the column or the cell is missing.
    std::string_view cell(const Record &record, Column column);
    // A cell as UTF-8, for a folded lookup or a message: itself, or converted into the column's buffer.
    std::string_view utf8(Column column, std::string_view cell);
    // The entry a cell names: as the file spells it, else by its folded form.
    template<typename Value>
    Lookup<Value> find(const EntryIndex<Value> &index, Column column, std::string_view cell);
    bool present(Column column) const;
    // A problem of the row, noted for its message. Rows with problems are the rare ones: the compiler
    // keeps the paths that lead here out of the way of the rows that compute.
    [[gnu::cold]] void note(std::string named, std::string columns, std::string_view text);
    [[gnu::cold]] void problem(const std::string &text);
    [[gnu::cold]] void problem(Column column, const std::string &text);
    [[gnu::cold]] void problem(Column first, Column second, const std::string &text);
    bool resolve(const Record &record, engine::Factor factor, engine::Category category);
    template<typename Value>
    Lookup<Value> lookUp(
        const EntryIndex<Value> &index, Column column, engine::Factor factor, std::string_view text);
    bool resolveTerritory(const Record &record, std::string_view text);
    bool resolveBonusMalus(const Record &record, engine::Category category);
    // A factor the category needs has no value in the row: its cell is empty (a problem of its own), or
    // the header lacks its column (named once for the row, with the other columns it lacks).
    [[gnu::cold]] void noteMissingFactor(Column column, engine::Factor factor, engine::Category category);

    // The steps of evaluate().
    struct CategoryCell {
        std::optional<engine::Category> value; // nothing when a problem was noted, or for an earlier total
        bool earlierTotal = false;             // "ИТОГО": the total row of an earlier run
    };
    static bool isBlank(const Record &record); // every cell empty, and no quote left open
    CategoryCell readCategory(const Record &record);
    void checkShape(const Record &record); // a quote left open, values beyond the header
    bool readExcludeKp(const Record &record);
    void resolveFactors(const Record &record, engine::Category category, bool excludeKp);
    bool computePremium(engine::Category category, bool excludeKp, VehicleResult &result);
    [[gnu::cold]] void reject(const Record &record, VehicleResult &result) const;

    const Tables &m_tables;
    const Layout &m_layout;
    Encoding m_encoding;
    std::array<std::string, kColumnCount> m_utf8;               // cells converted from Windows-1251
    std::array<Resolved, engine::kFactorCount> m_resolved{};    // by engine::Factor
    std::array<std::string, engine::kFactorCount> m_labels;     // "; ТБ=", ..., in the file's encoding
    std::array<std::string, engine::kFactorCount> m_typedTexts; // factors typed as numbers, as shown
    std::vector<engine::FixedPoint> m_values;
    std::vector<std::string> m_problems;
    std::string m_firstColumns;         // the columns the first problem names, ", " between them
    std::size_t m_firstReasonAt = 0;    // where its reason starts, after "столбец «КТ»: "
    std::vector<std::string> m_missing; // columns the row's category needs and the header lacks
};

} // namespace batch
