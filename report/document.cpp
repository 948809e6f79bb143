#include "report/document.h"

#include "engine/premium.h"
#include "report/contacts.h"
#include "report/rtf_writer.h"

#include <utility>

namespace report {

std::string Paragraph::text() const
{
    std::string all;
    for (const Run &run : runs)
        all += run.text;
    return all;
}

std::string stepBadge(int step)
{
    // U+2776 DINGBAT NEGATIVE CIRCLED DIGIT ONE and the eight after it, as UTF-8: E2 9D B6 to E2 9D BE.
    std::string badge = "\xE2\x9D\xB6";
    badge[2] = static_cast<char>(0xB6 + (step - 1));
    return badge;
}

Composer::Composer()
    : m_alignments{Alignment::Left}
{
}

Composer &Composer::append(AtomType type, std::string_view text)
{
    m_atoms.push_back({type, std::string(text), m_carried});
    if (type == AtomType::Break)
        m_alignments.push_back(m_alignments.back());
    return *this;
}

Composer &Composer::text(std::string_view utf8)
{
    return append(AtomType::Text, utf8);
}

Composer &Composer::picture()
{
    return append(AtomType::Picture, {});
}

Composer &Composer::paragraph()
{
    return append(AtomType::Break, {});
}

template<typename Change>
Composer &Composer::setFormat(Change change)
{
    for (std::size_t i = m_blockAtom; i < m_atoms.size(); ++i)
        change(m_atoms[i].format);
    change(m_carried);
    return *this;
}

Composer &Composer::font(std::string_view name)
{
    return setFormat([name](CharFormat &format) {
        format.font = name;
    });
}

Composer &Composer::size(int points)
{
    return setFormat([points](CharFormat &format) {
        format.points = points;
    });
}

Composer &Composer::bold(bool on)
{
    return setFormat([on](CharFormat &format) {
        format.bold = on;
    });
}

Composer &Composer::italic(bool on)
{
    return setFormat([on](CharFormat &format) {
        format.italic = on;
    });
}

Composer &Composer::blue()
{
    return setFormat([](CharFormat &format) {
        format.blue = true;
    });
}

Composer &Composer::align(Alignment alignment)
{
    for (std::size_t p = m_blockParagraph; p < m_alignments.size(); ++p)
        m_alignments[p] = alignment;
    return *this;
}

void Composer::collapse()
{
    m_blockAtom = m_atoms.size();
    m_blockParagraph = m_alignments.size() - 1;
}

Document Composer::document() const
{
    Document document(m_alignments.size());
    std::size_t p = 0;
    for (const Atom &atom : m_atoms) {
        Paragraph &paragraph = document[p];
        switch (atom.type) {
        case AtomType::Break:
            paragraph.mark = atom.format;
            ++p;
            break;
        case AtomType::Picture:
            paragraph.runs.push_back({{}, atom.format, true});
            break;
        case AtomType::Text:
            if (!paragraph.runs.empty() && !paragraph.runs.back().picture
                && paragraph.runs.back().format == atom.format)
                paragraph.runs.back().text += atom.text;
            else
                paragraph.runs.push_back({atom.text, atom.format, false});
            break;
        }
    }
    document[p].mark = m_carried; // the last paragraph's mark is the document's end
    for (std::size_t i = 0; i < document.size(); ++i)
        document[i].alignment = m_alignments[i];
    return document;
}

namespace {

const std::string kRule(58, '=');
constexpr std::string_view kCopyrightSign = "©"; // the one character of the label that holds it

std::string cat(std::string_view literal, std::string_view value)
{
    std::string text(literal);
    text += value;
    return text;
}

// A step's badge block: the badge in its font, after a paragraph break where the step starts one.
void badge(Composer &c, int step, bool breakFirst = false)
{
    if (breakFirst)
        c.paragraph();
    c.text(stepBadge(step)).font(kBadgeFont).collapse();
}

// Ends a factor's text block: the factor texts are set in 11 pt Times New Roman.
void factorText(Composer &c)
{
    c.font(kTimesNewRoman).size(11).collapse();
}

void opening(Composer &c)
{
    c.picture()
        .paragraph()
        .paragraph()
        .text("Страховые тарифы по обязательному страхованию гражданской")
        .text(" ответственности владельцев транспортных средств")
        .bold(true)
        .blue()
        .size(12)
        .font(kTahoma)
        .align(Alignment::Centre)
        .paragraph()
        .paragraph()
        .collapse();
    c.paragraph()
        .paragraph()
        .paragraph()
        .text("УТВЕРЖДЕНЫ")
        .paragraph()
        .text("постановлением Правительства")
        .paragraph()
        .text("Российской Федерации")
        .paragraph()
        .text("от 7 мая 2003 г. № 264")
        .bold(true)
        .size(10)
        .font(kTahoma)
        .align(Alignment::Left)
        .collapse();
    c.paragraph().paragraph().text(kRule).paragraph().paragraph().font(kTimesNewRoman).collapse();
}

// What follows the factor's "=": its field, a fixed value or the word for a factor left out.
std::string shown(const ReportInput &in, engine::Factor factor)
{
    return shownFactor(in, factor);
}

// Steps 2 to 7 of both variants.
void middleSteps(Composer &c, const ReportInput &in, bool foreign)
{
    using enum engine::Factor;
    badge(c, 2, foreign);
    c.text(" Коэффициенты страховых тарифов в зависимости от территории преимущественного")
        .paragraph()
        .text(cat("     использования транспортного средства КТ =", shown(in, KT)))
        .paragraph();
    factorText(c);

    badge(c, 3);
    c.text(" Коэффициенты страховых тарифов в зависимости от наличия или отсутствия страховых выплат")
        .paragraph()
        .text("     при наступлении страховых случаев, произошедших по вине страхователя (владельца")
        .paragraph()
        .text("     транспортного средства) в период действия предыдущих договоров обязательного "
              "страхования")
        .paragraph()
        .text(cat("     КБМ =", shown(in, KBM)))
        .paragraph();
    factorText(c);

    badge(c, 4);
    // The foreign variant has always set one space before "КВС", the standard one three.
    c.text(cat(foreign ? " Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя КВС ="
                       : " Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя   КВС =",
               shown(in, KVS)))
        .paragraph();
    factorText(c);

    badge(c, 5);
    c.text(" Коэффициенты страховых тарифов в зависимости от количества лиц, допущенных к")
        .paragraph()
        .text(cat("     управлению транспортным средством KO =", shown(in, KO)))
        .paragraph();
    factorText(c);

    badge(c, 6);
    c.text(" Коэффициенты страховых тарифов в зависимости от мощности двигателя легкового")
        .paragraph()
        .text(cat("     автомобиля, такси (в том числе маршрутного) KM =", shown(in, KM)))
        .paragraph();
    factorText(c);

    badge(c, 7);
    c.text(" Коэффициенты страховых тарифов в зависимости от периода использования транспортного")
        .paragraph()
        .text(cat("     средства KC =", shown(in, KS)))
        .paragraph();
    factorText(c);
}

void foreignSteps(Composer &c, const ReportInput &in)
{
    badge(c, 1);
    c.text(cat(" Базовые ставки страховых тарифов ТБ =", shown(in, engine::Factor::TB)));
    factorText(c);
    middleSteps(c, in, true);
    badge(c, 8);
    c.text(cat(" Коэффициенты страховых тарифов в зависимости от срока страхования КП =",
               shown(in, engine::Factor::KP)))
        .paragraph();
    factorText(c);
    badge(c, 9);
}

void standardSteps(Composer &c, const ReportInput &in)
{
    badge(c, 1);
    c.text(cat(" Базовые ставки страховых тарифов ТБ =", shown(in, engine::Factor::TB))).paragraph();
    factorText(c);
    middleSteps(c, in, false);
    badge(c, 8);
    c.text(cat(" Коэффициенты страховых тарифов в зависимости от срока страхования КП =",
        shown(in, engine::Factor::KP)));
    factorText(c);
    badge(c, 9, true);
}

// Step 9 of both variants: the law's name in bold italic, "KH =" and its value upright and not bold.
void violationsStep(Composer &c, const ReportInput &in)
{
    c.text(" Коэффициент при наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального")
        .paragraph()
        .text("     закона ")
        .font(kTimesNewRoman)
        .size(11)
        .italic(false)
        .collapse();
    c.text("Об обязательном страховании гражданской ответственности владельцев")
        .paragraph()
        .text("     транспортных средств ")
        .font(kTimesNewRoman)
        .size(11)
        .bold(true)
        .italic(true)
        .collapse();
    c.text(cat("KH =", shown(in, engine::Factor::KN)))
        .font(kTimesNewRoman)
        .bold(false)
        .italic(false)
        .size(11)
        .collapse();
}

void rule(Composer &c)
{
    c.paragraph().paragraph().text(kRule).font(kTimesNewRoman).align(Alignment::Left).collapse();
}

void closing(Composer &c, const ReportInput &in)
{
    rule(c);
    c.paragraph()
        .paragraph()
        .text(std::string(engine::kTotalWord) + ":" + in.total + " " + "рублей")
        .bold(true)
        .size(10)
        .font(kTahoma)
        .align(Alignment::Left)
        .collapse();
    rule(c);
    c.paragraph()
        .paragraph()
        .text(kWebAddress)
        .paragraph()
        .text(kMailAddress)
        .bold(true)
        .blue()
        .size(10)
        .font(kTahoma)
        .align(Alignment::Left)
        .collapse();
    rule(c);
    c.paragraph()
        .paragraph()
        .text(in.startDate)
        .paragraph()
        .text(in.startTime)
        .bold(true)
        .font(kTahoma)
        .size(10)
        .align(Alignment::Left)
        .paragraph()
        .collapse();
    for (int i = 0; i < 6; ++i)
        c.paragraph();
    c.text("Copyright ")
        .text(kCopyrightSign)
        .text(" 2003 Разработчики программы ТарифМастер")
        .font(kTimesNewRoman)
        .size(8)
        .align(Alignment::Right)
        .collapse();
}

} // namespace

Document composeReport(const ReportInput &input)
{
    Composer c;
    opening(c);
    if (foreignVariant(input))
        foreignSteps(c, input);
    else
        standardSteps(c, input);
    violationsStep(c, input);
    closing(c, input);
    return c.document();
}

std::string documentRtf(const ReportInput &input, const std::string &pngBytes)
{
    return toRtf(composeReport(input), pngBytes);
}

} // namespace report
