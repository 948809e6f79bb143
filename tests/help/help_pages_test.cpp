// The help pages beside the program: they are all there, they link only to each other, and every
// figure they show is one that the program's tables hold or that its premium formula computes, so a
// later change of a table cannot leave the help out of date.
//
// What the pages mark for this test:
//   <table data-table="cars|trucks|motorcycles|classes">  the rows of a table, cell by cell, in the
//                                                         program's order
//   <td data-formula="cars|trucks|...">                   a category's product: "ТБ × КТ × ... × (КП)"
//   <table data-category="..." [data-kp="excluded"]>      a worked example: rows of factor, choice,
//                                                         value and partial product; total in tfoot
//   <strong data-value="name">                            a figure in running text (see expectedValue)
//   <span data-rounding>a × b = exact ≈ rounded</span>    one rounded partial product, explained
#include "engine/base_rates.h"
#include "engine/bonus_malus.h"
#include "engine/fixed_point.h"
#include "engine/premium.h"
#include "engine/step_factors.h"
#include "engine/territory.h"
#include "page_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

using engine::Category;
using engine::Factor;
using help::Element;

namespace {

constexpr std::string_view kPages[] = {"tarif.htm", "prim.htm", "struk.htm", "primer.htm"};
constexpr std::string_view kStyleSheet = "help.css";

std::string pathOf(std::string_view name)
{
    return std::string(TARIFMASTER_HELP_DIR) + "/" + std::string(name);
}

std::string page(std::string_view name)
{
    const auto content = help::readFile(pathOf(name));
    if (!content)
        ADD_FAILURE() << "cannot read " << pathOf(name);
    return content.value_or("");
}

std::optional<Element> elementWith(std::string_view markup, std::string_view key, std::string_view value)
{
    for (Element &element : help::elementsWith(markup, key))
        if (element.attribute(key) == value)
            return element;
    return std::nullopt;
}

std::vector<std::string_view> split(std::string_view text, std::string_view separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t pos = 0;;) {
        const std::size_t next = text.find(separator, pos);
        parts.push_back(text.substr(pos, next - pos));
        if (next == std::string_view::npos)
            return parts;
        pos = next + separator.size();
    }
}

struct CategoryKey {
    std::string_view key;
    Category category;
};
constexpr CategoryKey kCategories[] = {
    {"cars", Category::Cars},
    {"trucks", Category::Trucks},
    {"trailers", Category::Trailers},
    {"buses", Category::Buses},
    {"foreign", Category::Foreign},
};

// Every value the program's tables hold for a factor: a worked example may show no other.
std::vector<std::string_view> tableValues(Factor factor)
{
    std::vector<std::string_view> values;
    const auto addRows = [&](std::span<const engine::FactorRow> rows) {
        for (const engine::FactorRow &row : rows)
            values.push_back(row.factor);
    };
    switch (factor) {
    case Factor::TB:
        for (const auto list :
            {engine::RateList::Cars, engine::RateList::Trucks, engine::RateList::Motorcycles})
            for (const engine::BaseRateRow &row : engine::baseRateRows(list))
                values.push_back(row.rate);
        break;
    case Factor::KT:
        for (const engine::TerritoryRow &row : engine::kTerritoryRows)
            values.insert(values.end(), {row.general, row.tractors});
        break;
    case Factor::KBM:
        for (const engine::BonusMalusClass &row : engine::kBonusMalusClasses)
            values.push_back(row.factor);
        break;
    case Factor::KVS:
        addRows(engine::kDriverRows);
        break;
    case Factor::KO:
        addRows(engine::kAdmittedDriverRows);
        break;
    case Factor::KM:
        addRows(engine::kEnginePowerRows);
        break;
    case Factor::KS:
        addRows(engine::kUsePeriodRows);
        break;
    case Factor::KP:
        addRows(engine::kTermRows);
        break;
    case Factor::KN:
        values.assign(engine::kViolationFactors.begin(), engine::kViolationFactors.end());
        break;
    }
    return values;
}

// The value a figure marked data-value="name" must show; nothing for a name this test does not know.
std::optional<std::string_view> expectedValue(std::string_view name)
{
    const std::vector<std::string_view> parts = split(name, ":");
    if (parts.size() == 2 && parts[0] == "class-kbm")
        return engine::classFactor(parts[1]);
    if (parts.size() == 3 && parts[0] == "next")
        return engine::classAfterTerm(parts[1], parts[2]);
    if (name == "first-class")
        return engine::kFirstContractClass;
    if (name == "start-kbm")
        return engine::classFactor(engine::kFirstContractClass);
    if (name == "start-ks")
        return engine::findFactor(engine::kUsePeriodRows, engine::kDefaultPeriodEntry);
    if (name == "start-kp")
        return engine::findFactor(engine::kTermRows, engine::kDefaultPeriodEntry);
    if (name == "kn-none" || name == "start-kn")
        return engine::kViolationFactors.front();
    if (name == "kn-violations")
        return engine::kViolationFactors.back();
    if (name == "foreign-kt")
        return engine::kForeignKt;
    if (name == "foreign-kvs")
        return engine::kForeignKvs;
    return std::nullopt;
}

engine::FixedPoint parsed(std::string_view text)
{
    const auto result = engine::parseFactorText(text);
    EXPECT_TRUE(result) << "not a factor text: \"" << text << '"';
    return result.value.value_or(engine::FixedPoint());
}

// The exact product of two decimal texts with a comma ("3751,3125" × "0,95" is "3563,746875"),
// with as many fraction digits as it needs; nothing when a text is not digits and one comma.
std::optional<std::string> exactProduct(std::string_view a, std::string_view b)
{
    struct Decimal {
        std::uint64_t digits = 0;
        std::size_t scale = 0;
    };
    const auto read = [](std::string_view text) -> std::optional<Decimal> {
        Decimal d;
        bool comma = false;
        for (const char c : text) {
            if (c == ',' && !comma) {
                comma = true;
            } else if (c >= '0' && c <= '9' && d.digits < 100'000'000'000ULL) {
                d.digits = d.digits * 10 + static_cast<std::uint64_t>(c - '0');
                d.scale += comma ? 1 : 0;
            } else {
                return std::nullopt;
            }
        }
        return text.empty() ? std::nullopt : std::optional(d);
    };
    const auto x = read(a);
    const auto y = read(b);
    if (!x || !y)
        return std::nullopt;
    std::string digits = std::to_string(x->digits * y->digits);
    const std::size_t scale = x->scale + y->scale;
    if (digits.size() <= scale)
        digits.insert(0, scale + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - scale);
    std::string fraction = digits.substr(digits.size() - scale);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    return fraction.empty() ? whole : whole + "," + fraction;
}

} // namespace

TEST(PageReader, ReadsAttributesCellsAndEntities)
{
    const std::string_view markup =
        R"(<!-- <table data-table="x"><tbody><tr><td>comment</td></tr></tbody></table> -->
<div class='a'><table data-table="x" data-flag>
<tbody><tr><th scope=row>1&nbsp;980</th><td> a
 <strong>b</strong>,c<br>d </td></tr><tr><td>e&amp;f)"
        "\xC2\xA0"
        R"(g</td></tr></tbody>
<tfoot><tr><td><div><div>t</div></div></td></tr></tfoot></table></div>)";
    const auto table = elementWith(markup, "data-table", "x");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->attribute("data-flag"), "");
    EXPECT_EQ(table->attribute("missing"), std::nullopt);
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(help::tableRows(*table), (Rows{{"1 980", "a b,c d"}, {"e&f g"}}));
    EXPECT_EQ(help::tableRows(*table, "tfoot"), (Rows{{"t"}}));
    EXPECT_EQ(help::elementsNamed(markup, "div").front().attribute("class"), "a");
    EXPECT_EQ(help::text(help::elementsNamed(markup, "tfoot").front()), "t");
}

TEST(HelpPages, EveryPageLiesBesideTheProgramAsUtf8WithTheSharedStyleSheet)
{
    EXPECT_TRUE(help::readFile(pathOf(kStyleSheet))) << "missing " << pathOf(kStyleSheet);
    for (const std::string_view name : kPages) {
        SCOPED_TRACE(name);
        const std::string markup = page(name);
        ASSERT_FALSE(markup.empty());
        EXPECT_EQ(markup.rfind("<!DOCTYPE html>", 0), 0u);
        ASSERT_EQ(help::elementsNamed(markup, "html").size(), 1u);
        EXPECT_EQ(help::elementsNamed(markup, "html").front().attribute("lang"), "ru");
        const std::vector<Element> metas = help::elementsNamed(markup, "meta");
        EXPECT_TRUE(std::ranges::any_of(metas, [](const Element &meta) {
            return meta.attribute("charset") == "utf-8";
        }));
        EXPECT_TRUE(std::ranges::any_of(metas, [](const Element &meta) {
            return meta.attribute("name") == "viewport";
        }));
        const std::vector<Element> links = help::elementsNamed(markup, "link");
        EXPECT_TRUE(std::ranges::any_of(links, [](const Element &link) {
            return link.attribute("rel") == "stylesheet" && link.attribute("href") == kStyleSheet;
        }));
        EXPECT_TRUE(help::elementsNamed(markup, "script").empty());
        EXPECT_FALSE(help::text(help::elementsNamed(markup, "h1").at(0)).empty());
    }
}

TEST(HelpPages, LinksReachTheOtherPagesAndTheirAnchorsOnly)
{
    for (const std::string_view name : kPages) {
        SCOPED_TRACE(name);
        const std::string markup = page(name);
        std::set<std::string, std::less<>> linkedPages;
        for (const Element &element : help::elements(markup)) {
            for (const std::string_view key : {"href", "src"}) {
                const auto target = element.attribute(key);
                if (!target)
                    continue;
                SCOPED_TRACE(*target);
                // No scheme: nothing leaves the folder of the program (no web site, no mail, no file://).
                EXPECT_EQ(target->find(':'), std::string_view::npos);
                const std::size_t hash = target->find('#');
                const std::string_view file = target->substr(0, hash);
                const std::string_view fragment
                    = hash == std::string_view::npos ? "" : target->substr(hash + 1);
                const std::string_view targetPage = file.empty() ? name : file;
                if (file == kStyleSheet)
                    continue;
                ASSERT_TRUE(std::ranges::find(kPages, targetPage) != std::end(kPages)) << "not a help page";
                linkedPages.emplace(targetPage);
                if (!fragment.empty()) {
                    const std::string linked = page(targetPage);
                    EXPECT_TRUE(elementWith(linked, "id", fragment)) << "no such anchor";
                }
            }
        }
        for (const std::string_view other : kPages)
            EXPECT_TRUE(linkedPages.contains(other)) << "no link to " << other;
    }
}

TEST(HelpPages, BaseRatePageShowsEveryRowOfTheThreeListsInOrder)
{
    const std::string markup = page("tarif.htm");
    struct List {
        std::string_view key;
        engine::RateList list;
    };
    const List lists[] = {
        {"cars", engine::RateList::Cars},
        {"trucks", engine::RateList::Trucks},
        {"motorcycles", engine::RateList::Motorcycles},
    };
    EXPECT_EQ(help::elementsWith(markup, "data-table").size(), std::size(lists));
    for (const List &list : lists) {
        SCOPED_TRACE(list.key);
        const auto table = elementWith(markup, "data-table", list.key);
        ASSERT_TRUE(table);
        const auto rows = help::tableRows(*table);
        const auto expected = engine::baseRateRows(list.list);
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const engine::BaseRateRow &row = expected[i];
            EXPECT_EQ(rows[i],
                (std::vector<std::string>{
                    std::string(row.entry), std::string(row.rate), std::string(row.percent)}))
                << "row " << i + 1;
        }
    }
}

TEST(HelpPages, NotePageShowsEveryClassWithItsFactorAndTransitions)
{
    const std::string markup = page("prim.htm");
    const auto table = elementWith(markup, "data-table", "classes");
    ASSERT_TRUE(table);
    const auto rows = help::tableRows(*table);
    ASSERT_EQ(rows.size(), engine::kBonusMalusClasses.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const engine::BonusMalusClass &row = engine::kBonusMalusClasses[i];
        std::vector<std::string> expected{std::string(row.label), std::string(row.factor)};
        expected.insert(expected.end(), row.next.begin(), row.next.end());
        EXPECT_EQ(rows[i], expected) << "class " << row.label;
    }
}

TEST(HelpPages, FiguresInRunningTextMatchTheTables)
{
    // Figures each page must state, besides whatever else it marks.
    const std::vector<std::pair<std::string_view, std::vector<std::string_view>>> required = {
        {"prim.htm", {"first-class", "class-kbm:3", "kn-none", "kn-violations"}},
        {"struk.htm", {"foreign-kt", "foreign-kvs", "start-kbm", "start-ks", "start-kp", "start-kn"}},
    };
    for (const std::string_view name : kPages) {
        SCOPED_TRACE(name);
        std::set<std::string, std::less<>> marked;
        const std::string markup = page(name);
        for (const Element &figure : help::elementsWith(markup, "data-value")) {
            const std::string_view key = *figure.attribute("data-value");
            SCOPED_TRACE(key);
            marked.emplace(key);
            const auto expected = expectedValue(key);
            ASSERT_TRUE(expected) << "unknown figure name";
            EXPECT_EQ(help::text(figure), *expected);
        }
        for (const auto &[requiredPage, names] : required) {
            if (requiredPage != name)
                continue;
            for (const std::string_view key : names) {
                EXPECT_TRUE(marked.contains(key)) << "missing figure " << key;
            }
        }
    }
}

TEST(HelpPages, FormulaOfEachCategoryNamesTheFactorsTheProgramMultiplies)
{
    const std::string markup = page("struk.htm");
    for (const auto &[key, category] : kCategories) {
        SCOPED_TRACE(key);
        const auto formula = elementWith(markup, "data-formula", key);
        ASSERT_TRUE(formula);
        std::vector<std::string> expected;
        for (const Factor factor : engine::factorsUsed(category, false))
            expected.emplace_back(engine::factorLabel(factor));
        if (category == Category::Foreign)
            expected.insert(
                expected.end(), {std::string(engine::kForeignKt), std::string(engine::kForeignKvs)});
        // The factor that the check box leaves out is the one in brackets, and only it.
        const auto withoutKp = engine::factorsUsed(category, true);
        const std::string_view kp = engine::factorLabel(Factor::KP);
        std::vector<std::string> shown;
        const std::string product = help::text(*formula);
        for (const std::string_view token : split(product, " × ")) {
            const bool bracketed = token.starts_with('(') && token.ends_with(')');
            const std::string_view bare = bracketed ? token.substr(1, token.size() - 2) : token;
            EXPECT_EQ(bracketed, bare == kp && std::ranges::find(withoutKp, Factor::KP) == withoutKp.end())
                << bare;
            shown.emplace_back(bare);
        }
        EXPECT_EQ(shown, expected);
    }
}

TEST(HelpPages, WorkedExamplesShowThePartialProductsAndTotalsTheProgramComputes)
{
    const std::string markup = page("primer.htm");
    const std::vector<Element> examples = help::elementsWith(markup, "data-category");
    ASSERT_GE(examples.size(), 2u);
    for (const Element &example : examples) {
        const std::string_view key = *example.attribute("data-category");
        SCOPED_TRACE(key);
        const auto known = std::ranges::find(kCategories, key, &CategoryKey::key);
        ASSERT_NE(known, std::end(kCategories)) << "unknown category";
        const Category category = known->category;
        const bool excludeKp = example.attribute("data-kp") == "excluded";

        // Rows in the order the program multiplies; vehicles registered abroad end with the fixed
        // territory and driver factors.
        std::vector<Factor> order = engine::factorsUsed(category, excludeKp);
        const std::size_t read = order.size();
        if (category == Category::Foreign)
            order.insert(order.end(), {Factor::KT, Factor::KVS});

        const auto rows = help::tableRows(example);
        ASSERT_EQ(rows.size(), order.size());
        engine::FactorTexts texts;
        std::optional<engine::FixedPoint> running;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Factor factor = order[i];
            SCOPED_TRACE(engine::factorLabel(factor));
            ASSERT_EQ(rows[i].size(), 4u);
            const std::string &value = rows[i][2];
            EXPECT_EQ(rows[i][0], engine::factorLabel(factor));
            if (i < read) {
                const std::vector<std::string_view> values = tableValues(factor);
                EXPECT_TRUE(std::ranges::find(values, value) != values.end())
                    << value << " is not in the factor's table";
                texts[static_cast<std::size_t>(factor)] = value;
            } else {
                EXPECT_EQ(value, factor == Factor::KT ? engine::kForeignKt : engine::kForeignKvs);
            }
            running = running ? engine::multiplyRounded(*running, parsed(value)) : parsed(value);
            ASSERT_TRUE(running);
            EXPECT_EQ(rows[i][3], engine::formatFactorText(*running));
        }

        const auto footer = help::tableRows(example, "tfoot");
        ASSERT_EQ(footer.size(), 1u);
        const engine::PremiumOutcome outcome = engine::premiumFromTexts(category, excludeKp, texts);
        ASSERT_EQ(outcome.status, engine::PremiumOutcome::Status::Ok);
        EXPECT_EQ(footer[0].back(), engine::formatFactorText(outcome.total));
        EXPECT_EQ(rows.back()[3], footer[0].back());
    }
}

TEST(HelpPages, RoundingNoteShowsTheExactAndTheRoundedProduct)
{
    const std::string markup = page("primer.htm");
    const std::vector<Element> notes = help::elementsWith(markup, "data-rounding");
    ASSERT_FALSE(notes.empty());
    for (const Element &note : notes) {
        const std::string line = help::text(note);
        SCOPED_TRACE(line);
        const auto sides = split(line, " = ");
        ASSERT_EQ(sides.size(), 2u);
        const auto factors = split(sides[0], " × ");
        const auto results = split(sides[1], " ≈ ");
        ASSERT_EQ(factors.size(), 2u);
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(exactProduct(factors[0], factors[1]), results[0]);
        const auto rounded = engine::multiplyRounded(parsed(factors[0]), parsed(factors[1]));
        ASSERT_TRUE(rounded);
        EXPECT_EQ(results[1], engine::formatFactorText(*rounded));
        EXPECT_NE(results[0], results[1]) << "nothing is rounded here";
    }
}
