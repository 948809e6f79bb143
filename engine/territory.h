// Step 2: territory factor KT of the tariff approved by Government decree No. 264 of 7 May 2003, by
// the place where the vehicle is mainly used and by the vehicle kind. Five lists, one per group of
// the tariff's territory table: Moscow, the districts of the Moscow region, St Petersburg and the
// Leningrad region, the towns of Russia (reached through a search by the beginning of the name) and
// the small settlements. Names are stored as the tariff writes them and compared exactly.
#pragma once

#include "engine/factor_table.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace engine {

enum class TerritoryList {
    Moscow,           // Moscow alone
    MoscowRegion,     // districts of the Moscow region
    Petersburg,       // St Petersburg and the Leningrad region
    Towns,            // towns found by the search
    SmallSettlements, // towns of 10 to 50 thousand people and other settlements
};

enum class VehicleKind {
    General, // every vehicle but tractors, self-propelled road-building and other machines and their trailers
    Tractors, // tractors, self-propelled road-building and other machines and trailers to them
};

// clang-format off
inline constexpr auto kMoscowEntries = std::to_array<std::string_view>({"Москва"});
inline constexpr auto kPetersburgEntries = std::to_array<std::string_view>({"Санкт-Петербург", "Ленинградская область"});
inline constexpr auto kSmallSettlementEntries
    = std::to_array<std::string_view>({"города с численностью от 10 до 50 тыс", "прочие населенные пункты"});

// The 39 districts of the Moscow region, in the order of the list.
inline constexpr auto kMoscowRegionDistricts = std::to_array<std::string_view>({
    "Балашихинский", "Волоколамский", "Воскресенский", "Дмитровский", "Домодедовский", "Егорьевский",
    "Зарайский", "Истринский", "Каширский", "Клинский", "Коломенский", "Красногорский", "Ленинский",
    "Лотошинский", "Луховицкий", "Люберецкий", "Можайский", "Мытищинский", "Наро-Фоминский", "Ногинский",
    "Одинцовский", "Озерский", "Орехово-Зуевский", "Павлово-Посадский", "Подольский", "Пушкинский",
    "Раменский", "Рузский", "Сергиево-Посадский", "Серебряно-Прудский", "Серпуховский", "Солнечногорский",
    "Ступинский", "Талдомский", "Химкинский", "Чеховский", "Шатурский", "Шаховский", "Щелковский",
});

// The districts next to Moscow, which take the higher factor.
inline constexpr auto kNearMoscowDistricts = std::to_array<std::string_view>({
    "Балашихинский", "Домодедовский", "Истринский", "Ленинский", "Люберецкий", "Мытищинский", "Одинцовский",
    "Пушкинский", "Раменский", "Солнечногорский", "Химкинский", "Щелковский",
});

// The master list of 294 towns, searched by the beginning of the name. Two alphabetical blocks: the
// large cities first, then the other towns. "Губкин, Гуково" is one entry naming two towns.
inline constexpr std::size_t kLargeCityCount = 42;
inline constexpr auto kTowns = std::to_array<std::string_view>({
    // large cities
    "Астрахань", "Барнаул", "Брянск", "Владивосток", "Волгоград", "Воронеж", "Екатеринбург", "Иваново",
    "Ижевск", "Иркутск", "Казань", "Калининград", "Кемерово", "Киров", "Краснодар", "Красноярск", "Курск",
    "Липецк", "Магнитогорск", "Набережные Челны", "Нижний Новгород", "Новокузнецк", "Новосибирск", "Омск",
    "Оренбург", "Пенза", "Пермь", "Ростов-на-Дону", "Рязань", "Самара", "Саратов", "Тверь", "Тольятти",
    "Томск", "Тула", "Тюмень", "Ульяновск", "Уфа", "Хабаровск", "Чебоксары", "Челябинск", "Ярославль",
    // other towns
    "Абакан", "Азов", "Александров", "Алексин", "Альметьевск", "Амурск", "Анапа", "Ангарск",
    "Анжеро-Судженск", "Апатиты", "Арзамас", "Армавир", "Арсеньев", "Артем", "Архангельск", "Асбест",
    "Ачинск", "Балаково", "Балахна", "Балашов", "Батайск", "Белгород", "Белебей", "Белово", "Белогорск",
    "Белорецк", "Белореченск", "Бердск", "Березники", "Березовский", "Бийск", "Биробиджан", "Благовещенск",
    "Бор", "Борисоглебск", "Боровичи", "Братск", "Бугульма", "Бугуруслан", "Буденновск", "Бузулук",
    "Буйнакск", "Великие Луки", "Великий Новгород", "Верхняя Пышма", "Верхняя Салда", "Владикавказ",
    "Владимир", "Волгодонск", "Волжск", "Волжский", "Вологда", "Волхов", "Вольск", "Воркута", "Воткинск",
    "Выкса", "Вышний Волочек", "Вязьма", "Геленджик", "Георгиевск", "Глазов", "Горно-Алтайск",
    "Губкин, Гуково", "Гусь-Хрустальный", "Дербент", "Дзержинск", "Димитровград", "Ейск", "Елабуга", "Елец",
    "Ессентуки", "Ефремов", "Железногорск", "Заречный", "Заринск", "Зеленогорск", "Зеленодольск", "Златоуст",
    "Инта", "Искитим", "Ишим", "Ишимбай", "Йошкар-Ола", "Калуга", "Каменск-Уральский", "Каменск-Шахтинский",
    "Камышин", "Канаш", "Канск", "Каспийск", "Кимры", "Кинешма", "Кирово-Чепецк", "Киселевск", "Кисловодск",
    "Клинцы", "Ковров", "Когалым", "Комсомольск-на-Амуре", "Копейск", "Кострома", "Котлас", "Краснокаменск",
    "Краснокамск", "Краснотурьинск", "Кропоткин", "Крымск", "Кстово", "Кузнецк", "Куйбышев", "Кумертау",
    "Кунгур", "Курган", "Курганинск", "Кызыл", "Лабинск", "Лениногорск", "Ленинск-Кузнецкий", "Лесной",
    "Лесосибирск", "Ливны", "Лиски", "Лысьва", "Магадан", "Майкоп", "Малгобек", "Махачкала", "Междуреченск",
    "Мелеуз", "Миасс", "Минеральные Воды", "Минусинск", "Михайловка", "Михайловск", "Мичуринск",
    "Мончегорск", "Мурманск", "Муром", "Мценск", "Назарово", "Назрань", "Нальчик", "Находка", "Невинномысск",
    "Нерюнгри", "Нефтекамск", "Нефтеюганск", "Нижневартовск", "Нижнекамск", "Нижний Тагил", "Новоалтайск",
    "Новокуйбышевск", "Новомосковск", "Новороссийск", "Новотроицк", "Новоуральск", "Новочебоксарск",
    "Новочеркасск", "Новошахтинск", "Новый Уренгой", "Норильск", "Ноябрьск", "Нягань", "Обнинск", "Озерск",
    "Октябрьский", "Орел", "Орск", "Осинники", "Отрадный", "Павлово", "Первоуральск", "Петрозаводск",
    "Петропавловск-Камчатский", "Печора", "Полевской", "Прокопьевск", "Прохладный", "Псков", "Пятигорск",
    "Ревда", "Ржев", "Рославль", "Россошь", "Рубцовск", "Рузаевка", "Рыбинск", "Салават", "Сальск",
    "Саранск", "Сарапул", "Саров", "Сатка", "Сафоново", "Саяногорск", "Свободный", "Северодвинск",
    "Североморск", "Северск", "Серов", "Сибай", "Славянск-на-Кубани", "Смоленск", "Соликамск", "Сочи",
    "Спасск-Дальний", "Ставрополь", "Старый Оскол", "Стерлитамак", "Сургут", "Сызрань", "Сыктывкар",
    "Таганрог", "Талнах", "Тамбов", "Тимашевск", "Тихорецк", "Тобольск", "Троицк (Челябинская область)",
    "Туапсе", "Туймазы", "Тулун", "Узловая", "Улан-Удэ", "Усолье-Сибирское", "Уссурийск", "Усть-Илимск",
    "Усть-Кут", "Ухта", "Хасавюрт", "Чайковский", "Чапаевск", "Чебаркуль", "Черемхово", "Череповец",
    "Черкесск", "Черногорск", "Чистополь", "Чита", "Чусовой", "Шадринск", "Шахты", "Шелехов", "Шуя",
    "Щекино", "Элиста", "Энгельс", "Южно-Сахалинск", "Юрга", "Якутск", "Ярцево",
});

// clang-format on

constexpr std::span<const std::string_view> largeCities()
{
    return std::span(kTowns).first<kLargeCityCount>();
}

// The entries of a list, in the order the window shows them (for the towns: the master list).
constexpr std::span<const std::string_view> territoryEntries(TerritoryList list)
{
    switch (list) {
    case TerritoryList::Moscow:
        return kMoscowEntries;
    case TerritoryList::MoscowRegion:
        return kMoscowRegionDistricts;
    case TerritoryList::Petersburg:
        return kPetersburgEntries;
    case TerritoryList::Towns:
        return kTowns;
    case TerritoryList::SmallSettlements:
        return kSmallSettlementEntries;
    }
    return {};
}

// One row of the KT table: an entry of the list that is one of the names gets the factor of the
// vehicle kind. Rows are tried in order; the first match wins, so a set row stands before the
// catch-all row of its list.
struct TerritoryRow {
    TerritoryList list;
    std::span<const std::string_view> names;
    std::string_view general;  // factor for VehicleKind::General
    std::string_view tractors; // factor for VehicleKind::Tractors
};

// clang-format off
inline constexpr auto kTerritoryRows = std::to_array<TerritoryRow>({
    {TerritoryList::Moscow,           kMoscowEntries,                          "2",   "1,2"},
    {TerritoryList::MoscowRegion,     kNearMoscowDistricts,                    "1,8", "1"},
    {TerritoryList::MoscowRegion,     kMoscowRegionDistricts,                  "1,6", "1"},
    {TerritoryList::Petersburg,       std::span(kPetersburgEntries).first(1),  "1,8", "1"},
    {TerritoryList::Petersburg,       std::span(kPetersburgEntries).last(1),   "1,6", "1"},
    {TerritoryList::Towns,            largeCities(),                           "1,3", "0,8"},
    {TerritoryList::Towns,            kTowns,                                  "1",   "0,8"},
    {TerritoryList::SmallSettlements, std::span(kSmallSettlementEntries).first(1), "0,6", "0,6"},
    {TerritoryList::SmallSettlements, std::span(kSmallSettlementEntries).last(1),  "0,4", "0,4"},
});
// clang-format on

// KT for an entry chosen in a list, by the vehicle kind selected at that moment; nothing when the
// text is not an entry of that list.
constexpr std::optional<std::string_view> territoryFactor(
    TerritoryList list, std::string_view entry, VehicleKind kind)
{
    for (const TerritoryRow &row : kTerritoryRows)
        if (row.list == list && contains(row.names, entry))
            return kind == VehicleKind::General ? row.general : row.tractors;
    return std::nullopt;
}

// The towns of the master list whose names begin with typed, ignoring letter case (Cyrillic
// included), in master-list order. Spaces and hyphens are ordinary characters; an empty text finds
// nothing.
std::vector<std::string_view> findTowns(std::string_view typed);

namespace detail {
constexpr bool allIn(std::span<const std::string_view> names, std::span<const std::string_view> in)
{
    for (const std::string_view name : names)
        if (!contains(in, name))
            return false;
    return true;
}
// Alphabetical and without repeats (UTF-8 byte order is the alphabet's for names without ё).
constexpr bool strictlySorted(std::span<const std::string_view> names)
{
    return std::adjacent_find(names.begin(), names.end(), std::greater_equal<>()) == names.end();
}
constexpr bool townsWellFormed()
{
    const auto large = largeCities();
    const auto other = std::span(kTowns).subspan(kLargeCityCount);
    return strictlySorted(large) && strictlySorted(other)
        && std::none_of(large.begin(), large.end(), [&](std::string_view name) {
               return std::binary_search(other.begin(), other.end(), name);
           });
}
constexpr bool territoryRowsWellFormed()
{
    for (const TerritoryRow &row : kTerritoryRows)
        if (!allIn(row.names, territoryEntries(row.list)) || !isStoredFactorText(row.general)
            || !isStoredFactorText(row.tractors))
            return false;
    return true;
}
// The districts near Moscow, and only they, take the higher factor.
constexpr bool nearMoscowTakeTheHigherFactor()
{
    return std::all_of(
        kMoscowRegionDistricts.begin(), kMoscowRegionDistricts.end(), [](std::string_view district) {
            return (territoryFactor(TerritoryList::MoscowRegion, district, VehicleKind::General) == "1,8")
                == contains(kNearMoscowDistricts, district);
        });
}
} // namespace detail

static_assert(kTowns.size() == 294);
static_assert(kMoscowRegionDistricts.size() == 39 && kNearMoscowDistricts.size() == 12);
static_assert(detail::townsWellFormed() && detail::strictlySorted(kMoscowRegionDistricts)
    && detail::strictlySorted(kNearMoscowDistricts));
static_assert(detail::territoryRowsWellFormed() && detail::nearMoscowTakeTheHigherFactor());
// Where kLargeCityCount divides the two blocks of the master list.
static_assert(kTowns.front() == "Астрахань" && kTowns[kLargeCityCount - 1] == "Ярославль"
    && kTowns[kLargeCityCount] == "Абакан" && kTowns.back() == "Ярцево");
static_assert(
    kMoscowRegionDistricts.front() == "Балашихинский" && kMoscowRegionDistricts.back() == "Щелковский");

} // namespace engine
