#include "form/inventory.h"

#include "engine/bonus_malus.h"
#include "engine/premium.h"
#include "engine/step_factors.h"
#include "engine/steps.h"
#include "form/form1.h"
#include "form/names.h"
#include "report/contacts.h"

#include <array>
#include <utility>
#include <vector>

namespace form {

namespace {

// The caption of a category option is the category's own.
constexpr std::string_view optionCaption(std::size_t option)
{
    return engine::categoryCaption(kCategoryOptions[option].category);
}

// Start values of the fields that the tariff decides: the class of a first contract, its КБМ, and the
// shortest period of use and term with their КС and КП; КН starts at the lower of its two values.
constexpr std::string_view kStartClass = engine::kFirstContractClass;
constexpr std::string_view kStartKbm = engine::classFactor(engine::kFirstContractClass).value();
constexpr std::string_view kStartPeriod = engine::kDefaultPeriodEntry;
constexpr std::string_view kStartKs = engine::findFactor(engine::kUsePeriodRows, kStartPeriod).value();
constexpr std::string_view kStartKp = engine::findFactor(engine::kTermRows, kStartPeriod).value();
constexpr std::string_view kStartKn = engine::kViolationFactors.front();

// clang-format off
// Tab pages ("1" to "10") share the coordinates of the tab control; frames have their own.
constexpr auto kRows = std::to_array<ControlRow>({
    {"Label1", Kind::Label, "1", "шаг", 360, 360, 495, 255, look::kHeading},
    {"Label10", Kind::Label, "1", "Базовые ставки страховых тарифов [ТБ]", 840, 360, 4695, 255, look::kHeading},
    {"Command4", Kind::Command, "1", "Прочитать", 5520, 480, 3015, 375, look::kNone},
    {"Label11", Kind::Label, "1", "Тип транспортного средства", 960, 780, 2295, 255, look::kDarkStrip},
    {"Label14(0)", Kind::Label, "1", "Легковые автомобили:", 240, 1140, 4695, 255, look::kYellow | look::kBold},
    {"List1", Kind::ListBox, "1", "", 240, 1500, 4695, 840, look::kNone, "Label14(0)"},
    {"Label14(1)", Kind::Label, "1", "Грузовые автомобили:", 240, 2520, 4695, 255, look::kYellow | look::kBold},
    {"List2", Kind::ListBox, "1", "", 240, 2940, 4695, 1815, look::kNone, "Label14(1)"},
    {"Label14(2)", Kind::Label, "1", "Мотоциклы и мотороллеры:", 240, 4860, 4695, 255, look::kYellow | look::kBold},
    {"List3", Kind::ListBox, "1", "", 240, 5220, 4695, 255, look::kNone, "Label14(2)"},
    {"Label13", Kind::Label, "1", "Базовая ставка страхового тарифа (ТБ) в рублях", 5280, 1380, 3135, 495, look::kDarkStrip},
    {"txtTb", Kind::TextBox, "1", "0", 5520, 1980, 2775, 375, look::kCyan, "Label13"},
    {"Label12", Kind::Label, "1", "Базовая ставка страхового тарифа в процентах от страховой суммы (400 тыс.рублей)", 5280, 2580, 3135, 615, look::kDarkStrip},
    {"Text1", Kind::TextBox, "1", "0", 5520, 3300, 2775, 375, look::kCyan, "Label12"},
    {"Label2", Kind::Label, "2", "шаг", 1200, 360, 495, 375, look::kHeading},
    {"Label20", Kind::Label, "2", "Коэффициенты страховых тарифов в зависимости от территории преимущественного использования транспортного средства [KT]", 1800, 360, 6735, 735, look::kHeading},
    {"Option1", Kind::Option, "2", "автомобили и пр.", 1200, 1200, 2055, 255, look::kYellow | look::kBold, {}, "транспортных средств, за исключением тракторов, самоходных дорожно-строительных и иных машин и прицепов к ним"},
    {"Option2", Kind::Option, "2", "трактора и пр.строй техника", 3720, 1200, 3135, 255, look::kYellow | look::kBold, {}, "тракторов, самоходных дорожно-строительных и иных машин и прицепов к ним"},
    {"Label47", Kind::Label, "2", "Перед выбором населеного пункта НЕЗАБУДТЕ установить переключатель \"автомобили\" или \"трактора\"", 4680, 1560, 3735, 735, look::kRedText | look::kBold},
    {"List6", Kind::ListBox, "2", "", 840, 1740, 2175, 255, look::kNone, "Label15"},
    {"Label15", Kind::Label, "2", "Москва", 3120, 1740, 735, 255, look::kGreyStrip},
    {"List7", Kind::ListBox, "2", "", 840, 2100, 2175, 840, look::kNone, "Label16"},
    {"Label16", Kind::Label, "2", "Московская обл. ( районы)", 3120, 2100, 1335, 375, look::kGreyStrip},
    {"List8", Kind::ListBox, "2", "", 840, 3060, 2175, 450, look::kNone, "Label17"},
    {"Label17", Kind::Label, "2", "Санкт-Петербург, Ленинградская обл.", 3120, 3060, 1575, 375, look::kGreyStrip},
    {"List5", Kind::ListBox, "2", "", 840, 3660, 2175, 450, look::kGreyBackground, "Label18"},
    {"Label18", Kind::Label, "2", "города России", 3120, 3540, 1335, 255, look::kGreyStrip},
    {"Text2", Kind::TextBox, "2", "", 3120, 3780, 1815, 285, look::kNone, "Label18", "Введите название города"},
    {"List9", Kind::ListBox, "2", "", 840, 5040, 2175, 450, look::kNone, "Label19"},
    {"Label19", Kind::Label, "2", "города и населенные пункты с численностью от 10 до 50 тыс. человек включительно  и  прочие населенные пункты.", 3240, 5040, 5535, 375, look::kGreyStrip},
    {"Label21", Kind::Label, "2", "KT", 6960, 2340, 255, 255, look::kGreyStrip | look::kBold},
    {"Text3", Kind::TextBox, "2", "0", 6240, 2580, 1935, 375, look::kCyan, "Label21"},
    {"List4", Kind::ListBox, "2", "", 5280, 6300, 3255, 1035, look::kHidden},
    {"Label3", Kind::Label, "3", "шаг", 1920, 360, 495, 375, look::kHeading},
    {"Label22", Kind::Label, "3", "Коэффициенты страховых тарифов в зависимости от наличия или отсутствия страховых выплат при наступлении страховых случаев, произошедших по вине страхователя (владельца транспортного средства) в период действия предыдущих договоров обязательного страхования [КБМ]", 2520, 360, 6015, 1455, look::kHeading},
    {"Label24", Kind::Label, "3", "Класс на начало срока страхования", 360, 840, 1815, 495, look::kDarkStrip},
    {"Combo1", Kind::ComboBox, "3", kStartClass, 360, 1440, 1815, 315, look::kNone, "Label24"},
    {"Frame4", Kind::Frame, "3", "", 360, 1800, 1815, 975, look::kNone},
    {"Option10", Kind::Option, "Frame4", "Заключается в первые", 120, 120, 1455, 375, look::kNone},
    {"Option11", Kind::Option, "Frame4", "Продлевается", 120, 600, 1455, 255, look::kNone},
    {"Label49", Kind::Label, "3", "Число страховых выплат", 1080, 2880, 1095, 615, look::kGreyStrip | look::kHidden},
    {"Combo5", Kind::ComboBox, "3", "", 360, 3000, 615, 315, look::kHidden, "Label49"},
    {"Label50", Kind::Label, "3", "Класс по окончании срока страхования с учетом наличия страховых случаев\nпо вине страхователя", 360, 3720, 1815, 855, look::kGreyStrip | look::kHidden | look::kTight},
    {"Text13", Kind::TextBox, "3", "", 360, 4680, 1815, 375, look::kHidden, "Label50"},
    {"Label48", Kind::Label, "3", "При заключении договора обязательного страхования впервые страхователю (владельцу транспортного средства) присваивается класс 3", 2520, 1920, 6135, 615, look::kRedText | look::kBold},
    {"Label25", Kind::Label, "3", "Коэффициент (КБМ)", 3480, 2760, 1815, 255, look::kGreyStrip},
    {"Text4", Kind::TextBox, "3", kStartKbm, 3480, 3120, 1815, 375, look::kCyan, "Label25"},
    {"Command1", Kind::Command, "3", "Примечание", 3480, 3600, 1815, 375, look::kNone},
    {"Label4", Kind::Label, "4", "шаг", 2880, 360, 495, 375, look::kHeading},
    {"Label23", Kind::Label, "4", "Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя [КВС]", 3480, 360, 4215, 735, look::kHeading},
    {"Label26", Kind::Label, "4", "Возраст и стаж водителя, указанные в страховом полисе", 2640, 1860, 2895, 495, look::kGreyStrip},
    {"List10", Kind::ListBox, "4", "", 1440, 2460, 5415, 840, look::kNone, "Label26"},
    {"Label27", Kind::Label, "4", "Коэффициент (КВС)", 3360, 3780, 1575, 375, look::kGreyStrip},
    {"Text5", Kind::TextBox, "4", "0", 2880, 4260, 2655, 375, look::kCyan, "Label27"},
    {"Label5", Kind::Label, "5", "шаг", 3720, 360, 495, 375, look::kHeading},
    {"Label28", Kind::Label, "5", "Коэффициенты страховых тарифов в зависимости от количества лиц, допущенных к управлению транспортным средством [КО]", 4440, 360, 3495, 1215, look::kHeading},
    {"List11", Kind::ListBox, "5", "", 360, 2340, 7935, 840, look::kNone, "Label28"},
    {"Label29", Kind::Label, "5", "Коэффициент (КО)", 3720, 3780, 1455, 255, look::kGreyStrip},
    {"Text6", Kind::TextBox, "5", "0", 3360, 4140, 2415, 375, look::kCyan, "Label29"},
    {"Label6", Kind::Label, "6", "шаг", 4680, 360, 495, 375, look::kHeading},
    {"Label30", Kind::Label, "6", "Коэффициенты страховых тарифов в зависимости от мощности двигателя легкового автомобиля, такси (в том числе маршрутного) [Км]", 5520, 360, 2655, 1815, look::kHeading},
    {"Label32", Kind::Label, "6", "Мощность двигателя (л.с.)", 1560, 600, 2055, 255, look::kGreyStrip},
    {"List12", Kind::ListBox, "6", "", 240, 1080, 4935, 1425, look::kNone, "Label32"},
    {"Label31", Kind::Label, "6", "Коэффициент (Км)", 3600, 3060, 1455, 255, look::kGreyStrip},
    {"Text7", Kind::TextBox, "6", "0", 3360, 3420, 1935, 375, look::kCyan, "Label31"},
    {"Label7", Kind::Label, "7", "шаг", 5520, 360, 495, 375, look::kHeading},
    {"Label33", Kind::Label, "7", "Коэффициенты страховых тарифов в зависимости от периода использования транспортного средства [КС]", 840, 360, 4575, 855, look::kHeading},
    {"Label34", Kind::Label, "7", "Период использования транспортного средства    ", 2400, 1620, 3015, 495, look::kGreyStrip},
    {"Combo2", Kind::ComboBox, "7", kStartPeriod, 2160, 2340, 3855, 315, look::kNone, "Label34"},
    {"Label35", Kind::Label, "7", "Коэффициент (КС)", 3360, 3180, 1455, 255, look::kGreyStrip},
    {"Text8", Kind::TextBox, "7", kStartKs, 2760, 3540, 2775, 375, look::kCyan, "Label35"},
    {"Label8", Kind::Label, "8", "шаг", 6360, 360, 495, 375, look::kHeading},
    {"Label36", Kind::Label, "8", "Коэффициенты страховых тарифов в зависимости от срока страхования [КП]", 1200, 360, 4575, 495, look::kHeading},
    {"Label37", Kind::Label, "8", "Срок страхования", 3120, 1620, 1575, 255, look::kGreyStrip},
    {"Combo3", Kind::ComboBox, "8", kStartPeriod, 2280, 2100, 3495, 315, look::kNone, "Label37"},
    {"Label38", Kind::Label, "8", "Коэффициент (КП)", 3240, 2940, 1455, 255, look::kGreyStrip},
    {"Text9", Kind::TextBox, "8", kStartKp, 2880, 3300, 2295, 375, look::kCyan, "Label38"},
    {"Check1", Kind::Check, "8", "Исключить", 6120, 2160, 1335, 255, look::kNone},
    {"Label9", Kind::Label, "9", "шаг", 7320, 360, 495, 375, look::kHeading},
    {"Label41", Kind::Label, "9", "Коэффициент при наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального закона \"Об обязательном страховании гражданской ответственности владельцев транспортных средств\" [КН]", 960, 360, 6015, 1215, look::kHeading},
    {"Label42", Kind::Label, "9", "При наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального закона \"Об обязательном страховании гражданской ответственности владельцев транспортных средств\", применяется коэффициент страхового тарифа (КН) - 1,5. Коэффициент (КН) применяется страховщиками при заключении или продлении срока действия договора обязательного страхования на год, следующий за периодом, в котором страховщику стало известно о совершении предусмотренных пунктом 3 статьи 9 Федерального закона \"Об обязательном страховании гражданской ответственности владельцев транспортных средств\" действий (бездействии).", 1080, 1800, 6495, 2055, look::kYellow | look::kBold},
    {"Label43", Kind::Label, "9", "см. шаг3 -примечание", 3240, 4080, 1815, 255, look::kItalic},
    {"Combo4", Kind::ComboBox, "9", kStartKn, 2640, 4320, 3135, 315, look::kCyan, "Коэффициент (КН)"},
    {"Label40", Kind::Label, "10", "шаг", 8280, 360, 495, 375, look::kHeading},
    {"Label39", Kind::Label, "10", "Определение размера страховой премии, подлежащей уплате по договорам обязательного страхования гражданской ответственности", 480, 360, 7455, 855, look::kHeading},
    {"Frame3", Kind::Frame, "10", "", 840, 1200, 7455, 3135, look::kNone},
    {kCategoryOptions[0].name, Kind::Option, "Frame3", optionCaption(0), 120, 240, 7095, 375, look::kYellow | look::kBold},
    {kCategoryOptions[1].name, Kind::Option, "Frame3", optionCaption(1), 120, 600, 7095, 495, look::kYellow | look::kBold},
    {kCategoryOptions[2].name, Kind::Option, "Frame3", optionCaption(2), 120, 1080, 7095, 615, look::kYellow | look::kBold},
    {kCategoryOptions[3].name, Kind::Option, "Frame3", optionCaption(3), 120, 1680, 7095, 375, look::kYellow | look::kBold},
    {kCategoryOptions[4].name, Kind::Option, "Frame3", optionCaption(4), 120, 2160, 7095, 735, look::kYellow | look::kRedText | look::kBold},
    {"Text10", Kind::TextBox, "10", "", 3000, 4440, 2655, 375, look::kCyan, "Страховая премия, рублей"},
    {"Label44", Kind::Label, "10", "рублей ", 5880, 4440, 615, 255, look::kNone},
    {"Command2", Kind::Command, "10", "ОК", 3120, 4920, 2415, 375, look::kNone},
    {"Command3", Kind::Command, "10", "Структура страхового тарифа", 6120, 4920, 2535, 375, look::kNone},
    {"Frame2", Kind::Frame, "10", "", 120, 4320, 2655, 1095, look::kNone},
    {"Option8", Kind::Option, "Frame2", "", 600, 240, 255, 255, look::kNone, "Отчет в текстовом файле str.txt"},
    {"Image1", Kind::Image, "Frame2", "", 840, 240, 315, 300, look::kNone},
    {"Option9", Kind::Option, "Frame2", "", 1680, 240, 255, 255, look::kNone, "Отчет в документе str.doc"},
    {"Image2", Kind::Image, "Frame2", "", 2040, 240, 315, 300, look::kNone},
    {"Command7", Kind::Command, "Frame2", "отчет", 240, 600, 2295, 375, look::kNone},
    {"Text11", Kind::TextBox, "10", "", 7440, 600, 1215, 375, look::kHidden},
    {"Text12", Kind::TextBox, "10", "", 7440, 1080, 1215, 375, look::kHidden},
    {"Frame1", Kind::Frame, "Form1", "", 0, 5520, 8895, 975, look::kDarkBackground},
    {"Label45", Kind::Link, "Frame1", report::kWebAddress, 120, 240, 2415, 375, look::kLink},
    {"Command5", Kind::Picture, "Frame1", "", 2880, 240, 1575, 375, look::kNone, "Пример"},
    {"Command6", Kind::Picture, "Frame1", "", 4680, 240, 1575, 375, look::kNone, "Выход"},
    {"Label46", Kind::Link, "Frame1", report::kMailAddress, 6720, 240, 1935, 375, look::kLink},
    // The step badges 1 to 9 (black-circled digits) and the copyright sign, kept below the visible part
    // of their containers, as the document report's characters.
    {"Label51", Kind::Label, "10", "❶", 120, 6960, 375, 375, look::kBadge},
    {"Label52", Kind::Label, "Form1", "❷", 120, 7320, 375, 375, look::kBadge},
    {"Label53", Kind::Label, "Form1", "❸", 480, 7320, 375, 375, look::kBadge},
    {"Label54", Kind::Label, "Form1", "❹", 840, 7320, 375, 375, look::kBadge},
    {"Label55", Kind::Label, "Form1", "❺", 1200, 7320, 375, 375, look::kBadge},
    {"Label56", Kind::Label, "Form1", "❻", 1560, 7320, 375, 375, look::kBadge},
    {"Label57", Kind::Label, "Form1", "❼", 1920, 7320, 375, 375, look::kBadge},
    {"Label58", Kind::Label, "Form1", "❽", 2280, 7320, 375, 375, look::kBadge},
    {"Label59", Kind::Label, "Form1", "❾", 2640, 7320, 375, 375, look::kBadge},
    {"Label60", Kind::Label, "Form1", "©", 120, 7440, 375, 375, look::kCopyright},
});

// Top to bottom and left to right as the page reads: the heading's button first, a column of lists with
// their captions as one block, the town search field before the towns it finds, the factor field after
// the choices that set it.
constexpr auto kTabOrder = std::to_array<std::string_view>({
    "Command4", "List1", "List2", "List3", "txtTb", "Text1",                                     // tab 1
    "Option1", "Option2", "List6", "List7", "List8", "Text2", "List5", "List9", "Text3",         // tab 2
    "Combo1", "Option10", "Option11", "Combo5", "Text13", "Text4", "Command1",                   // tab 3
    "List10", "Text5",                                                                           // tab 4
    "List11", "Text6",                                                                           // tab 5
    "List12", "Text7",                                                                           // tab 6
    "Combo2", "Text8",                                                                           // tab 7
    "Combo3", "Check1", "Text9",                                                                 // tab 8
    "Combo4",                                                                                    // tab 9
    "Option3", "Option4", "Option5", "Option6", "Option7",                                       // tab 10
    "Option8", "Option9", "Command7", "Text10", "Command2", "Command3",
    "Label45", "Command5", "Command6", "Label46",                                                // bottom strip
});

constexpr auto kStepNames = std::to_array<std::string_view>({
    "Шаг 1. Базовые ставки (ТБ)",
    "Шаг 2. Территория использования (КТ)",
    "Шаг 3. Бонус-малус (КБМ)",
    "Шаг 4. Возраст и стаж водителя (КВС)",
    "Шаг 5. Число допущенных к управлению (КО)",
    "Шаг 6. Мощность двигателя (КМ)",
    "Шаг 7. Период использования (КС)",
    "Шаг 8. Срок страхования (КП)",
    "Шаг 9. Нарушения (КН)",
    "Шаг 10. Страховая премия",
});
// clang-format on

// The table's own rules, checked by the compiler in every build.

// Every name once: it is the objectName that the window and its tests find the control by.
constexpr bool namesAreUnique()
{
    for (std::size_t i = 0; i < kRows.size(); ++i)
        for (std::size_t j = i + 1; j < kRows.size(); ++j)
            if (kRows[i].name == kRows[j].name)
                return false;
    return true;
}

// A control lies on the window, on a tab page, or in a frame built before it.
constexpr bool containersComeFirst()
{
    for (std::size_t i = 0; i < kRows.size(); ++i) {
        const std::string_view container = kRows[i].container;
        bool found = container == "Form1" || tabPage(container).has_value();
        for (std::size_t j = 0; j < i && !found; ++j)
            found = kRows[j].name == container && kRows[j].kind == Kind::Frame;
        if (!found)
            return false;
    }
    return true;
}

// A spoken name in Latin letters names the label that says what the control is (the spoken texts of
// their own are Russian); that label must exist.
constexpr bool spokenNamesExist()
{
    for (const ControlRow &row : kRows) {
        const std::string_view spoken = row.spoken;
        bool reference = !spoken.empty();
        for (const char c : spoken)
            reference = reference && static_cast<unsigned char>(c) < 0x80;
        if (!reference)
            continue;
        bool found = false;
        for (const ControlRow &label : kRows)
            found = found || (label.name == spoken && label.kind == Kind::Label);
        if (!found)
            return false;
    }
    return true;
}

static_assert(namesAreUnique(), "two controls share a name");
static_assert(containersComeFirst(), "a control's container is no frame listed before it");
static_assert(spokenNamesExist(), "a control is named after a label that does not exist");

constexpr bool isControl(std::string_view name)
{
    for (const ControlRow &row : kRows)
        if (row.name == name)
            return true;
    return false;
}

constexpr bool everyStopIsAControl()
{
    for (const std::string_view name : kTabOrder)
        if (!isControl(name))
            return false;
    return true;
}
static_assert(everyStopIsAControl(), "the tab order names a control the window does not have");

constexpr const ControlRow *findRow(std::string_view name)
{
    for (const ControlRow &row : kRows)
        if (row.name == name)
            return &row;
    return nullptr;
}

constexpr Kind kindOf(std::string_view name)
{
    const ControlRow *row = findRow(name);
    return row ? row->kind : Kind::Frame;
}

// Every handler and every name of form/names.h belongs to a control of the right kind: a step's choice
// to a list or a drop-down, a factor field to a field or КН's drop-down, an option to an option button.
constexpr bool bindingsNameControls()
{
    for (const Handler &handler : kHandlers)
        if (!isControl(handler.control))
            return false;
    for (const StepChoice &choice : kStepChoices)
        if (kindOf(choice.control) != Kind::ListBox && kindOf(choice.control) != Kind::ComboBox)
            return false;
    for (const std::string_view field : kFactorFields)
        if (kindOf(field) != Kind::TextBox && kindOf(field) != Kind::ComboBox)
            return false;
    for (const CategoryOption &option : kCategoryOptions)
        if (kindOf(option.name) != Kind::Option)
            return false;
    for (const std::string_view option :
        {kOtherVehiclesOption, kTractorsOption, kTextReportOption, kDocumentReportOption})
        if (kindOf(option) != Kind::Option)
            return false;
    return kindOf(kExcludeKpCheck) == Kind::Check && kindOf(kMasterTownList) == Kind::ListBox
        && kindOf(kTownResults) == Kind::ListBox;
}
static_assert(bindingsNameControls(), "a handler or a control's meaning names no such control");
// The town search gives the results the window's colour: their grey is their only look.
static_assert(findRow(kTownResults)->looks == look::kGreyBackground);
static_assert(kStepNames.size() == kPageCount, "one spoken name per tab");

} // namespace

std::span<const ControlRow> controlRows()
{
    return kRows;
}

const ControlRow *findControl(std::string_view name)
{
    return findRow(name);
}

const ControlRow *captionLabelOf(const ControlRow &row)
{
    const ControlRow *label = row.spoken.empty() ? nullptr : findRow(row.spoken);
    return label && label->kind == Kind::Label ? label : nullptr;
}

std::string spokenName(const ControlRow &row)
{
    const ControlRow *label = captionLabelOf(row);
    const std::string_view source = label ? label->caption : !row.spoken.empty() ? row.spoken : row.caption;
    std::string spoken;
    for (const char c : source) {
        const bool space = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (space && (spoken.empty() || spoken.back() == ' '))
            continue;
        spoken += space ? ' ' : c;
    }
    if (!spoken.empty() && spoken.back() == ' ')
        spoken.pop_back();
    return spoken;
}

std::string_view pictureOf(std::string_view control)
{
    // clang-format off
    static constexpr std::pair<std::string_view, std::string_view> kPictures[] = {
        {"Image1",   "text-report"},     // beside the text-report option: a text file
        {"Image2",   "document-report"}, // beside the document option: a word-processor document
        {"Command5", "example"},         // the word Пример
        {"Command6", "exit"},            // the word Выход
    };
    // clang-format on
    for (const auto &[name, picture] : kPictures)
        if (name == control)
            return picture;
    return {};
}

std::span<const std::string_view> tabOrder()
{
    return kTabOrder;
}

std::span<const std::string_view> stepNames()
{
    return kStepNames;
}

std::vector<std::string_view> startEntries(std::string_view control)
{
    const auto choice = stepChoice(control);
    if (!choice || !choice->filledAtStart)
        return {};
    return engine::entryTexts(choice->entries);
}

} // namespace form
