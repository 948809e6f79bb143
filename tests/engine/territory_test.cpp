#include "engine/territory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace engine;

namespace {

std::vector<std::string> search(std::string_view typed)
{
    const auto found = findTowns(typed);
    return {found.begin(), found.end()};
}

} // namespace

TEST(TownSearch, MatchesTheBeginningIgnoringCaseInMasterListOrder)
{
    // clang-format off
    EXPECT_EQ(search("ново"), (std::vector<std::string>{"Новокузнецк", "Новосибирск", "Новоалтайск", "Новокуйбышевск",
        "Новомосковск", "Новороссийск", "Новотроицк", "Новоуральск", "Новочебоксарск", "Новочеркасск", "Новошахтинск"}));
    // clang-format on
    EXPECT_EQ(search("ОМСК"), std::vector<std::string>{"Омск"});
    EXPECT_EQ(search("оМсК"), std::vector<std::string>{"Омск"});
    EXPECT_EQ(search("губ"), std::vector<std::string>{"Губкин, Гуково"});
    EXPECT_EQ(search("Губкин, г"), std::vector<std::string>{"Губкин, Гуково"});
    EXPECT_EQ(search("нижний "), (std::vector<std::string>{"Нижний Новгород", "Нижний Тагил"}));
    EXPECT_EQ(search("улан-"), std::vector<std::string>{"Улан-Удэ"});
    EXPECT_EQ(search("Троицк ("), std::vector<std::string>{"Троицк (Челябинская область)"});
}

TEST(TownSearch, FindsNothingWhereTheNameDoesNotBeginWithTheText)
{
    for (const char *typed : {"", "Омскк", "город", "Москва", "Санкт", " Омск", "Omsk", "ново ", "ё"}) {
        SCOPED_TRACE(typed);
        EXPECT_TRUE(search(typed).empty());
    }
}

TEST(TownSearch, SurvivesTextThatIsNotUtf8)
{
    for (const std::string &typed : {std::string("\xD0"),
             std::string("\xD0\x9E\xFF"),
             std::string("\x80\x80"),
             std::string("\xF4\x90\x80\x80"),
             std::string(1, '\0')}) {
        EXPECT_TRUE(search(typed).empty());
    }
    // A lone Cyrillic letter is a prefix of many towns.
    EXPECT_EQ(search("я"), (std::vector<std::string>{"Ярославль", "Якутск", "Ярцево"}));
}

TEST(TownSearch, EveryTownFindsItself)
{
    for (const std::string_view town : kTowns) {
        const auto found = findTowns(town);
        EXPECT_NE(std::find(found.begin(), found.end(), town), found.end()) << town;
    }
}

TEST(TerritoryFactor, ByListEntryAndVehicleKind)
{
    struct Case {
        TerritoryList list;
        const char *entry;
        const char *general, *tractors;
    };
    // clang-format off
    const Case cases[] = {
        {TerritoryList::Moscow, "Москва", "2", "1,2"}, {TerritoryList::MoscowRegion, "Ленинский", "1,8", "1"},
        {TerritoryList::MoscowRegion, "Щелковский", "1,8", "1"},
        {TerritoryList::MoscowRegion, "Клинский", "1,6", "1"},
        {TerritoryList::MoscowRegion, "Шаховский", "1,6", "1"},
        {TerritoryList::Petersburg, "Санкт-Петербург", "1,8", "1"},
        {TerritoryList::Petersburg, "Ленинградская область", "1,6", "1"},
        {TerritoryList::Towns, "Омск", "1,3", "0,8"}, {TerritoryList::Towns, "Астрахань", "1,3", "0,8"},
        {TerritoryList::Towns, "Ярославль", "1,3", "0,8"}, {TerritoryList::Towns, "Абакан", "1", "0,8"},
        {TerritoryList::Towns, "Губкин, Гуково", "1", "0,8"},
        {TerritoryList::SmallSettlements, "города с численностью от 10 до 50 тыс", "0,6", "0,6"},
        {TerritoryList::SmallSettlements, "прочие населенные пункты", "0,4", "0,4"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(territoryFactor(c.list, c.entry, VehicleKind::General), c.general);
        EXPECT_EQ(territoryFactor(c.list, c.entry, VehicleKind::Tractors), c.tractors);
    }
}

TEST(TerritoryFactor, MissesEntriesOfOtherListsAndInexactTexts)
{
    EXPECT_FALSE(territoryFactor(TerritoryList::Towns, "Москва", VehicleKind::General));
    EXPECT_FALSE(territoryFactor(TerritoryList::Moscow, "Омск", VehicleKind::General));
    EXPECT_FALSE(territoryFactor(TerritoryList::Towns, "омск", VehicleKind::General));
    EXPECT_FALSE(territoryFactor(TerritoryList::Towns, "Губкин", VehicleKind::General));
    EXPECT_FALSE(territoryFactor(TerritoryList::MoscowRegion, "Ленинский ", VehicleKind::General));
    EXPECT_FALSE(
        territoryFactor(TerritoryList::Petersburg, "Санкт-Петербург", VehicleKind::General) == "1,6");
    EXPECT_FALSE(territoryFactor(TerritoryList::SmallSettlements, "", VehicleKind::Tractors));
}
