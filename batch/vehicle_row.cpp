#include "batch/vehicle_row.h"

#include "engine/bonus_malus.h"
#include "engine/premium.h"
#include "engine/utf8.h"
#include "engine/windows1251.h"

#include <algorithm>
#include <charconv>

namespace batch {

namespace {

using engine::Category;
using engine::Factor;

constexpr std::size_t kQuotedLength = 60; // characters of a cell quoted in a message

constexpr bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A cell in «», on one line and not too long.
std::string quoted(std::string_view text)
{
    std::string out = "«";
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        if (++characters > kQuotedLength) {
            out += "…";
            break;
        }
        const char32_t c = engine::nextCodePoint(text, pos);
        engine::appendUtf8(out, engine::isControlCharacter(c) ? U' ' : c);
    }
    return out + "»";
}

std::string columnQuoted(Column column)
{
    return "«" + std::string(columnName(column)) + "»";
}

// What a step's cell names when it is no entry of the step and no number, with the quoted cell.
std::string notFound(Factor factor, const std::string &cell)
{
    switch (factor) {
    case Factor::TB:
        return "тип транспортного средства " + cell + " не найден";
    case Factor::KT:
        return "населенный пункт " + cell + " не найден";
    case Factor::KVS:
        return "возраст и стаж водителя " + cell + " не найдены";
    case Factor::KO:
        return "вариант допуска к управлению " + cell + " не найден";
    case Factor::KM:
        return "мощность двигателя " + cell + " не найдена";
    case Factor::KS:
        return "период использования " + cell + " не найден";
    case Factor::KP:
        return "срок страхования " + cell + " не найден";
    case Factor::KBM: // no entries but numbers
    case Factor::KN:
        break;
    }
    return cell + " — "
        + std::string(engine::parseErrorText(engine::ParseError::NotANumber, engine::Phrasing::Clause));
}

} // namespace

RowEvaluator::RowEvaluator(const Tables &tables, const Layout &layout, Encoding encoding)
    : m_tables(tables)
    , m_layout(layout)
    , m_encoding(encoding)
{
    for (std::size_t i = 0; i < engine::kFactorCount; ++i) {
        m_labels[i] = "; ";
        appendEncoded(m_labels[i], engine::factorLabel(static_cast<Factor>(i)), encoding);
        m_labels[i] += '=';
    }
}

bool RowEvaluator::present(Column column) const
{
    return m_layout.cell[static_cast<std::size_t>(column)].has_value();
}

std::string_view RowEvaluator::cell(const Record &record, Column column)
{
    const auto position = m_layout.cell[static_cast<std::size_t>(column)];
    if (!position || *position >= record.cells.size())
        return {};
    return trimmed(record.cells[*position]);
}

std::string_view RowEvaluator::utf8(Column column, std::string_view cell)
{
    if (m_encoding != Encoding::Windows1251 || cell.empty())
        return cell;
    std::string &utf8 = m_utf8[static_cast<std::size_t>(column)];
    utf8.clear();
    engine::appendFromWindows1251(utf8, cell);
    return utf8;
}

template<typename Value>
Lookup<Value> RowEvaluator::find(const EntryIndex<Value> &index, Column column, std::string_view cell)
{
    const Lookup<Value> exact = index.findExact(cell);
    return exact.match == Match::Found ? exact : index.findFolded(utf8(column, cell));
}

// A problem: the columns it names as a sentence's start, then its reason; the first of a row also keeps
// the columns' names and where its reason starts.
void RowEvaluator::note(std::string named, std::string columns, std::string_view text)
{
    if (m_problems.empty()) {
        m_firstColumns = std::move(columns);
        m_firstReasonAt = named.size();
    }
    m_problems.push_back(std::move(named += text));
}

void RowEvaluator::problem(const std::string &text)
{
    note({}, {}, text);
}

void RowEvaluator::problem(Column column, const std::string &text)
{
    note("столбец " + columnQuoted(column) + ": ", std::string(columnName(column)), text);
}

void RowEvaluator::problem(Column first, Column second, const std::string &text)
{
    note("столбцы " + columnQuoted(first) + " и " + columnQuoted(second) + ": ",
        std::string(columnName(first)) + ", " + std::string(columnName(second)),
        text);
}

void RowEvaluator::noteMissingFactor(Column column, Factor factor, Category category)
{
    if (!present(column)) { // said once for the row, with the other columns it lacks
        m_missing.push_back(columnQuoted(column));
        return;
    }
    problem(column,
        "пусто, а для категории «" + std::string(categoryWord(category)) + "» коэффициент "
            + std::string(engine::factorLabel(factor)) + " нужен");
}

// A cell of a step: an entry of the step as the window writes it, else a factor typed as a number, else
// an entry written loosely. A number is taken as the factor itself when the step's table has factors
// that low and that high. Returns the entry found; Missing when a number was taken or a problem noted.
template<typename Value>
Lookup<Value> RowEvaluator::lookUp(
    const EntryIndex<Value> &index, Column column, Factor factor, std::string_view text)
{
    if (const Lookup<Value> exact = index.findExact(text); exact.match == Match::Found)
        return exact;
    const engine::ParseResult parsed = engine::parseFactorText(text);
    if (parsed) {
        const Range &range = m_tables.range(factor);
        std::string &shown = m_typedTexts[static_cast<std::size_t>(factor)];
        shown = engine::formatFactorText(*parsed.value);
        if (*parsed.value < range.lowest.value || *parsed.value > range.highest.value)
            problem(column,
                "коэффициент " + shown + " вне диапазона тарифа: от " + std::string(range.lowest.text)
                    + " до " + std::string(range.highest.text));
        else
            m_resolved[static_cast<std::size_t>(factor)] = {shown, *parsed.value};
        return {};
    }
    const std::string_view spelled = utf8(column, text);
    const Lookup<Value> loose = index.findFolded(spelled);
    if (loose.match == Match::Ambiguous)
        problem(column, quoted(spelled) + " подходит к нескольким строкам: напишите, как в окне программы");
    else if (loose.match == Match::Missing
        && (parsed.error == engine::ParseError::DecimalPoint
            || parsed.error == engine::ParseError::OutOfRange))
        problem(column,
            quoted(spelled) + " — "
                + std::string(engine::parseErrorText(parsed.error, engine::Phrasing::Clause)));
    else if (loose.match == Match::Missing)
        problem(column, notFound(factor, quoted(spelled)));
    return loose;
}

bool RowEvaluator::resolveTerritory(const Record &record, std::string_view text)
{
    const std::size_t problems = m_problems.size();
    const Lookup<TerritoryFactors> settlement = lookUp(m_tables.settlements(), Column::KT, Factor::KT, text);
    if (settlement.match != Match::Found)
        return m_problems.size() == problems; // a number taken as the factor, or a problem noted
    // An empty "Тип ТС" means every vehicle but tractors, as the window starts.
    engine::VehicleKind kind = engine::VehicleKind::General;
    if (const std::string_view kindText = cell(record, Column::VehicleKind); !kindText.empty()) {
        const Lookup<engine::VehicleKind> found
            = find(m_tables.vehicleKinds(), Column::VehicleKind, kindText);
        if (found.match != Match::Found) {
            problem(Column::VehicleKind,
                quoted(utf8(Column::VehicleKind, kindText)) + " — ожидается «автомобили» или «трактора»");
            return false;
        }
        kind = *found.value;
    }
    const FactorValue &factor
        = kind == engine::VehicleKind::General ? settlement.value->general : settlement.value->tractors;
    m_resolved[static_cast<std::size_t>(Factor::KT)] = {factor.text, factor.value};
    return true;
}

bool RowEvaluator::resolveBonusMalus(const Record &record, Category category)
{
    const std::string_view start = cell(record, Column::Class);
    const std::string_view payouts = cell(record, Column::Payouts);
    const std::string_view factor = cell(record, Column::KBM);
    if (!factor.empty() && (!start.empty() || !payouts.empty())) {
        problem(start.empty() ? Column::Payouts : Column::Class,
            Column::KBM,
            "указаны и класс, и коэффициент — оставьте что-то одно");
        return false;
    }
    if (!factor.empty()) { // a number only: КБМ has no entries of its own
        const std::size_t problems = m_problems.size();
        lookUp(m_tables.entries(Factor::KBM), Column::KBM, Factor::KBM, factor);
        return m_problems.size() == problems;
    }
    if (start.empty()) {
        if (!payouts.empty())
            problem(Column::Payouts, "число выплат указано без класса на начало срока");
        else if (!present(Column::Class) && !present(Column::KBM))
            m_missing.push_back("«Класс» (или «КБМ»)");
        else
            problem(Column::Class,
                Column::KBM,
                "оба пусты, а для категории «" + std::string(categoryWord(category))
                    + "» коэффициент КБМ нужен");
        return false;
    }
    const Lookup<ClassFactors> found = find(m_tables.classes(), Column::Class, start);
    if (found.match != Match::Found) {
        problem(Column::Class,
            "класс " + quoted(utf8(Column::Class, start)) + " не найден: классы M и от 0 до 13");
        return false;
    }
    const FactorValue *value = &found.value->atStart;
    if (!payouts.empty()) {
        unsigned count = 0;
        const auto [end, error] = std::from_chars(payouts.data(), payouts.data() + payouts.size(), count);
        if (error == std::errc::result_out_of_range
            || (error == std::errc() && end == payouts.data() + payouts.size()
                && count >= engine::kPayoutCounts.size())) {
            problem(Column::Payouts,
                "число выплат " + quoted(utf8(Column::Payouts, payouts)) + " вне диапазона от 0 до 4");
            return false;
        }
        if (error != std::errc() || end != payouts.data() + payouts.size()) {
            problem(Column::Payouts, quoted(utf8(Column::Payouts, payouts)) + " — не число");
            return false;
        }
        const auto label
            = std::find(engine::kPayoutCounts.begin(), engine::kPayoutCounts.end(), std::to_string(count));
        value = &found.value->afterPayouts[static_cast<std::size_t>(label - engine::kPayoutCounts.begin())];
    }
    m_resolved[static_cast<std::size_t>(Factor::KBM)] = {value->text, value->value};
    return true;
}

bool RowEvaluator::resolve(const Record &record, Factor factor, Category category)
{
    const Column column = columnOf(factor);
    if (factor == Factor::KBM)
        return resolveBonusMalus(record, category);
    const std::string_view text = cell(record, column);
    if (text.empty()) {
        noteMissingFactor(column, factor, category);
        return false;
    }
    if (factor == Factor::KT)
        return resolveTerritory(record, text);
    const std::size_t problems = m_problems.size();
    const Lookup<FactorValue> entry = lookUp(m_tables.entries(factor), column, factor, text);
    if (entry.match != Match::Found)
        return m_problems.size() == problems; // a number taken as the factor, or a problem noted
    m_resolved[static_cast<std::size_t>(factor)] = {entry.value->text, entry.value->value};
    return true;
}

// The steps of a row: a blank row or the total of an earlier run are set aside; the category, the shape
// of the row and the exclusion of КП read; every factor the category uses resolved; then the premium,
// or every problem met on the way.
void RowEvaluator::evaluate(const Record &record, VehicleResult &result)
{
    result.factors.clear();
    result.error.clear();
    m_problems.clear();
    m_values.clear();
    m_missing.clear();
    if (isBlank(record)) {
        result.kind = VehicleResult::Kind::Blank;
        return;
    }
    const CategoryCell category = readCategory(record);
    if (category.earlierTotal) {
        result.kind = VehicleResult::Kind::EarlierTotal;
        return;
    }
    checkShape(record);
    const bool excludeKp = readExcludeKp(record);
    if (category.value)
        resolveFactors(record, *category.value, excludeKp);
    if (m_problems.empty() && computePremium(*category.value, excludeKp, result))
        return;
    reject(record, result);
}

bool RowEvaluator::isBlank(const Record &record)
{
    return !record.unterminatedQuote
        && std::all_of(record.cells.begin(), record.cells.end(), [](std::string_view text) {
               return trimmed(text).empty();
           });
}

RowEvaluator::CategoryCell RowEvaluator::readCategory(const Record &record)
{
    const std::string_view text = cell(record, Column::Category);
    if (text.empty()) {
        problem(Column::Category, "категория не указана");
        return {};
    }
    if (const Lookup<Category> found = find(m_tables.categories(), Column::Category, text);
        found.match == Match::Found)
        return {*found.value, false};
    if (foldText(utf8(Column::Category, text), Fold::Entry) == engine::kTotalWord)
        return {std::nullopt, true};
    problem(Column::Category,
        "категория " + quoted(utf8(Column::Category, text)) + " не найдена: укажите " + categoryChoices());
    return {};
}

void RowEvaluator::checkShape(const Record &record)
{
    if (record.unterminatedQuote)
        problem("кавычка, открытая в этой строке, не закрыта до конца файла");
    if (hasValuesBeyond(record, m_layout.width))
        problem("в строке есть значения правее последнего столбца заголовка");
}

bool RowEvaluator::readExcludeKp(const Record &record)
{
    const std::string_view answer = cell(record, Column::ExcludeKp);
    if (answer.empty())
        return false;
    const Lookup<bool> found = find(m_tables.yesNo(), Column::ExcludeKp, answer);
    if (found.match == Match::Found)
        return *found.value;
    problem(Column::ExcludeKp, quoted(utf8(Column::ExcludeKp, answer)) + " — ожидается «да» или «нет»");
    return false;
}

void RowEvaluator::resolveFactors(const Record &record, Category category, bool excludeKp)
{
    for (const Factor factor : m_tables.used(category, excludeKp))
        if (resolve(record, factor, category))
            m_values.push_back(m_resolved[static_cast<std::size_t>(factor)].value);
    if (m_missing.empty())
        return;
    std::string names;
    for (const std::string &name : m_missing)
        names += (names.empty() ? "" : ", ") + name;
    const std::string need = "для категории «" + std::string(categoryWord(category)) + "»";
    problem(m_missing.size() == 1 ? "нет столбца " + names + ", а " + need + " он нужен"
                                  : "нет столбцов " + names + ", а " + need + " они нужны");
}

bool RowEvaluator::computePremium(Category category, bool excludeKp, VehicleResult &result)
{
    const auto premium = engine::premium(category, excludeKp, m_values);
    if (!premium) {
        problem("страховая премия слишком велика для расчета");
        return false;
    }
    result.kind = VehicleResult::Kind::Computed;
    result.premium = *premium;
    const engine::FactorUses &uses = m_tables.uses(category, excludeKp);
    for (std::size_t i = 0; i < engine::kFactorCount; ++i) {
        if (!uses[i].multiplied)
            continue;
        result.factors += std::string_view(m_labels[i]).substr(result.factors.empty() ? 2 : 0);
        // A factor text is digits and a comma, the same bytes in every encoding.
        result.factors += uses[i].fixed.empty() ? m_resolved[i].text : uses[i].fixed;
    }
    return true;
}

void RowEvaluator::reject(const Record &record, VehicleResult &result) const
{
    result.kind = VehicleResult::Kind::Rejected;
    result.error = "строка " + std::to_string(record.row);
    result.columns = m_firstColumns;
    for (std::size_t i = 0; i < m_problems.size(); ++i) {
        result.error += i == 0 ? (m_firstColumns.empty() ? ": " : ", ") : "; ";
        if (i == 0)
            result.reasonAt = result.error.size() + m_firstReasonAt;
        result.error += m_problems[i];
    }
}

} // namespace batch
