#include "engine/premium.h"

#include <gtest/gtest.h>

#include <string>

using engine::Category;
using engine::Factor;
using engine::FactorTexts;
using engine::formatFactorText;
using engine::ParseError;
using engine::premiumFromTexts;
using Status = engine::PremiumOutcome::Status;

namespace {

// Texts in step order: TB, KT, KBM, KVS, KO, KM, KS, KP, KN.
FactorTexts texts(std::initializer_list<const char *> values)
{
    FactorTexts out;
    std::size_t i = 0;
    for (const char *value : values)
        out.at(i++) = value;
    return out;
}

std::string total(Category category, bool excludeKp, const FactorTexts &factors)
{
    const auto outcome = premiumFromTexts(category, excludeKp, factors);
    EXPECT_EQ(outcome.status, Status::Ok);
    return formatFactorText(outcome.total);
}

} // namespace

TEST(Premium, WorkedExamplesOfEveryCategory)
{
    struct Case {
        const char *name;
        Category category;
        bool excludeKp;
        FactorTexts factors;
        const char *total;
    };
    // Fields a category does not use hold rubbish on purpose: they must never be read.
    // clang-format off
    const Case cases[] = {
        {"cars", Category::Cars, false, texts({"1980", "2", "1", "1,3", "1", "1", "0,7", "0,7", "1"}), "2522,52"},
        {"cars without KP", Category::Cars, true, texts({"1980", "2", "1", "1,3", "1", "1", "0,7", "x", "1"}), "3603,6"},
        {"cars keeping four decimals",
         Category::Cars,
         true,
         texts({"1215", "1,55", "1", "1,15", "1,15", "1", "0,7", "0,7", "1"}),
         "1743,4187"},
        {"trucks ignore KM", Category::Trucks, false, texts({"2025", "1,3", "1", "1", "1", "0", "0,7", "0,7", "1"}), "1289,925"},
        {"trucks with KM left empty", Category::Trucks, false, texts({"2025", "1,3", "1", "1", "1", "", "0,7", "0,7", "1"}), "1289,925"},
        {"trailers", Category::Trailers, false, texts({"395", "2", "", "x", "", "", "0,7", "", "?"}), "553"},
        {"trailers ignore the KP exclusion", Category::Trailers, true, texts({"395", "2", "", "", "", "", "0,7", "0,1", ""}), "553"},
        {"buses", Category::Buses, false, texts({"1620", "1,8", "0,95", "1,2", "1,5", "", "1", "1", "1,5"}), "7479,54"},
        {"foreign", Category::Foreign, false, texts({"2375", "", "", "", "", "1", "", "0,7", ""}), "4322,5"},
        {"foreign without KP", Category::Foreign, true, texts({"2375", "9", "9", "9", "9", "1", "9", "", "9"}), "6175"},
        // 87645928770,0078 × 1,3 in binary floating point lands on ...0102; exact decimals give ...0101.
        {"foreign rounds the binary product",
         Category::Foreign,
         true,
         texts({"43822964385,0039", "", "", "", "", "1", "", "", ""}),
         "113939707401,0102"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(total(c.category, c.excludeKp, c.factors), c.total);
    }
}

TEST(Premium, AZeroFactorGivesAZeroTotal)
{
    // Start-up values: nothing chosen in steps 1, 2, 4, 5 and 6.
    const FactorTexts startUp = texts({"0", "0", "1", "0", "0", "0", "0,7", "0,7", "1"});
    for (const Category category :
        {Category::Cars, Category::Trucks, Category::Trailers, Category::Buses, Category::Foreign}) {
        EXPECT_EQ(total(category, false, startUp), "0");
    }
}

TEST(Premium, ReportsTheFirstUnusableFactorInMultiplicationOrder)
{
    struct Case {
        const char *name;
        Category category;
        bool excludeKp;
        FactorTexts factors;
        Factor factor;
        ParseError reason;
    };
    // clang-format off
    const Case cases[] = {
        {"KT emptied by a vehicle-kind switch", Category::Cars, false, texts({"1980", "", "1", "1", "1", "1", "0,7", "0,7", "1"}), Factor::KT, ParseError::Empty},
        {"KN typed with a point", Category::Trucks, false, texts({"2025", "1", "1", "1", "1", "", "0,7", "0,7", "1.5"}), Factor::KN, ParseError::DecimalPoint},
        {"KT before KN", Category::Buses, false, texts({"1215", "", "1", "1", "1", "", "0,7", "0,7", "abc"}), Factor::KT, ParseError::Empty},
        {"KP when not excluded", Category::Cars, false, texts({"1980", "2", "1", "1", "1", "1", "0,7", "полгода", "1"}), Factor::KP, ParseError::NotANumber},
        {"foreign KM", Category::Foreign, false, texts({"2375", "", "", "", "", "", "", "0,7", ""}), Factor::KM, ParseError::Empty},
        {"TB out of range", Category::Trailers, false, texts({"99999999999999999999", "2", "", "", "", "", "0,7", "", ""}), Factor::TB, ParseError::OutOfRange},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto outcome = premiumFromTexts(c.category, c.excludeKp, c.factors);
        EXPECT_EQ(outcome.status, Status::BadFactor);
        EXPECT_EQ(outcome.factor, c.factor);
        EXPECT_EQ(outcome.reason, c.reason);
        EXPECT_EQ(outcome.text, c.factors[static_cast<std::size_t>(c.factor)]);
    }
}

TEST(Premium, ReportsAProductBeyondTheRange)
{
    const auto huge = premiumFromTexts(
        Category::Trailers, false, texts({"922337203685477", "2", "", "", "", "", "1", "", ""}));
    EXPECT_EQ(huge.status, Status::Overflow);
    // The doubling of the foreign rule overflows on its own.
    const auto doubled = premiumFromTexts(
        Category::Foreign, true, texts({"500000000000000", "", "", "", "", "1", "", "", ""}));
    EXPECT_EQ(doubled.status, Status::Overflow);
    // Fits after doubling, not after the 1,3.
    const auto scaled = premiumFromTexts(
        Category::Foreign, true, texts({"400000000000000", "", "", "", "", "1", "", "", ""}));
    EXPECT_EQ(scaled.status, Status::Overflow);
}

TEST(Premium, FactorsUsedFollowTheCategoryAndTheExclusion)
{
    using enum Factor;
    EXPECT_EQ(
        engine::factorsUsed(Category::Cars, false), (std::vector{TB, KT, KBM, KVS, KO, KM, KS, KP, KN}));
    EXPECT_EQ(engine::factorsUsed(Category::Trucks, true), (std::vector{TB, KT, KBM, KVS, KO, KS, KN}));
    EXPECT_EQ(engine::factorsUsed(Category::Trailers, true), (std::vector{TB, KT, KS}));
    EXPECT_EQ(engine::factorsUsed(Category::Foreign, false), (std::vector{TB, KM, KP}));
    EXPECT_EQ(engine::factorLabel(KBM), "КБМ");
    EXPECT_EQ(engine::factorLabel(KN), "КН");
}

TEST(Premium, ReportsShowFixedAndExcludedFactorsByTheSameRule)
{
    using enum Factor;
    const auto use = [](Category category, bool excludeKp, Factor factor) {
        return engine::factorUses(category, excludeKp)[static_cast<std::size_t>(factor)];
    };
    // Trailers never multiply KP, yet their report shows it as left out when the user excludes it.
    EXPECT_EQ(use(Category::Trailers, true, KP), (engine::FactorUse{false, {}, true}));
    EXPECT_EQ(use(Category::Trucks, false, KM), (engine::FactorUse{false, {}, false}));
    // Abroad: KT and KVS are multiplied as fixed values, KBM/KO/KS only shown as 1, KP shown from its
    // field even when excluded, KN shown and never multiplied.
    EXPECT_EQ(use(Category::Foreign, false, KT), (engine::FactorUse{true, "2", false}));
    EXPECT_EQ(use(Category::Foreign, false, KVS), (engine::FactorUse{true, "1,3", false}));
    EXPECT_EQ(use(Category::Foreign, false, KO), (engine::FactorUse{false, "1", false}));
    EXPECT_EQ(use(Category::Foreign, true, KP), (engine::FactorUse{false, {}, false}));
    EXPECT_EQ(use(Category::Foreign, true, KN), (engine::FactorUse{false, {}, false}));

    engine::FieldSnapshot fields;
    EXPECT_EQ(engine::premiumOf(fields).total, engine::FixedPoint()) << "no category: a total of 0";
    fields.category = Category::Foreign;
    fields.texts = texts({"2375", "", "", "", "", "1", "", "0,7", ""});
    EXPECT_EQ(formatFactorText(engine::premiumOf(fields).total), "4322,5");
}
