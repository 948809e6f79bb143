// The document report read back by a word processor: LibreOffice converts the written "str.doc" files
// (one conversion for all three, it takes a second or two) to flat ODF, and the tests look at the
// paragraphs and formats that LibreOffice itself found in them.
#include "report/contacts.h"
#include "report/document.h"
#include "report/report.h"
#include "report_input.h"
#include "support/files.h"
#include "window/report_picture.h"

#include <QByteArray>
#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace report::testing;
using namespace support;

using Properties = std::map<std::string, std::string>;

struct Span {
    std::string text;
    std::string style; // a text style, or empty for text directly in the paragraph
};

struct OdtParagraph {
    std::string style;
    std::vector<Span> spans;
    bool image = false;
    QByteArray imageData;

    std::string text() const
    {
        std::string all;
        for (const Span &span : spans)
            all += span.text;
        return all;
    }
};

// What the tests need of a flat ODF text document.
struct OdtDocument {
    std::map<std::string, std::string> fontFamilies; // font-face name -> family
    std::map<std::string, Properties> styles;        // "family:name" -> properties and "parent"
    std::map<std::string, Properties> pageLayouts;
    std::string standardPageLayout;
    std::vector<OdtParagraph> paragraphs;

    // A property of a paragraph's text, or of one of its spans: the span's style over the paragraph's
    // style over its parents over the default.
    std::string property(const OdtParagraph &paragraph, int span, const std::string &name) const
    {
        if (span >= 0) {
            const std::string value
                = lookUp("text:" + paragraph.spans.at(static_cast<std::size_t>(span)).style, name);
            if (!value.empty())
                return value;
        }
        return lookUp("paragraph:" + paragraph.style, name);
    }

    std::string font(const OdtParagraph &paragraph, int span) const
    {
        const std::string face = property(paragraph, span, "style:font-name");
        const auto found = fontFamilies.find(face);
        return found == fontFamilies.end() ? face : found->second;
    }

private:
    std::string lookUp(std::string key, const std::string &name) const
    {
        for (int depth = 0; depth < 10; ++depth) {
            const auto style = styles.find(key);
            if (style == styles.end())
                break;
            if (const auto value = style->second.find(name); value != style->second.end())
                return value->second;
            const auto parent = style->second.find("parent");
            key = parent == style->second.end() ? "default:" + key.substr(0, key.find(':')) : parent->second;
        }
        return {};
    }
};

std::string attribute(const QXmlStreamReader &xml, const char *name)
{
    return xml.attributes().value(QString::fromLatin1(name)).toString().toStdString();
}

// LibreOffice's RTF reader puts a six-per-em space (U+2006) beside each space of a run of spaces; the
// document has plain spaces there, which is what the comparisons below are about.
std::string withoutSixPerEmSpaces(std::string text)
{
    const std::string sixPerEm = "\xE2\x80\x86";
    for (std::size_t at; (at = text.find(sixPerEm)) != std::string::npos;)
        text.erase(at, sixPerEm.size());
    return text;
}

OdtDocument readFlatOdt(const fs::path &path)
{
    OdtDocument doc;
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly))
        return doc;
    QXmlStreamReader xml(&file);
    Properties *style = nullptr; // the style or page layout whose properties are being read
    OdtParagraph *paragraph = nullptr;
    std::vector<std::string> spanStyles;
    bool inBinary = false;
    int inFrame = 0; // the picture's frame holds no text of the paragraph, only the XML's indentation
    const auto appendText = [&](const std::string &text) {
        if (!paragraph)
            return;
        const std::string spanStyle = spanStyles.empty() ? std::string() : spanStyles.back();
        if (paragraph->spans.empty() || paragraph->spans.back().style != spanStyle)
            paragraph->spans.push_back({{}, spanStyle});
        paragraph->spans.back().text += text;
    };
    while (!xml.atEnd()) {
        xml.readNext();
        const std::string name = xml.qualifiedName().toString().toStdString();
        if (xml.isStartElement()) {
            if (name == "style:font-face") {
                std::string family = attribute(xml, "svg:font-family");
                if (family.size() >= 2 && family.front() == '\'')
                    family = family.substr(1, family.size() - 2);
                doc.fontFamilies[attribute(xml, "style:name")] = family;
            } else if (name == "style:default-style") {
                style = &doc.styles["default:" + attribute(xml, "style:family")];
            } else if (name == "style:style") {
                const std::string family = attribute(xml, "style:family");
                style = &doc.styles[family + ":" + attribute(xml, "style:name")];
                if (const std::string parent = attribute(xml, "style:parent-style-name"); !parent.empty())
                    (*style)["parent"] = family + ":" + parent;
            } else if (name == "style:page-layout") {
                style = &doc.pageLayouts[attribute(xml, "style:name")];
            } else if (name == "style:master-page" && attribute(xml, "style:name") == "Standard") {
                doc.standardPageLayout = attribute(xml, "style:page-layout-name");
            } else if (style
                && (name == "style:paragraph-properties" || name == "style:text-properties"
                    || name == "style:page-layout-properties")) {
                for (const QXmlStreamAttribute &a : xml.attributes())
                    (*style)[a.qualifiedName().toString().toStdString()] = a.value().toString().toStdString();
            } else if (name == "text:p" || name == "text:h") {
                doc.paragraphs.push_back({attribute(xml, "text:style-name"), {}, false, {}});
                paragraph = &doc.paragraphs.back();
                spanStyles.clear();
            } else if (name == "text:span") {
                spanStyles.push_back(attribute(xml, "text:style-name"));
            } else if (name == "text:s") {
                const std::string count = attribute(xml, "text:c");
                appendText(std::string(count.empty() ? 1 : std::stoul(count), ' '));
            } else if (name == "text:tab") {
                appendText("\t");
            } else if (name == "draw:image" && paragraph) {
                paragraph->image = true;
            } else if (name == "office:binary-data") {
                inBinary = true;
            } else if (name == "draw:frame") {
                ++inFrame;
            }
        } else if (xml.isEndElement()) {
            if (name == "style:style" || name == "style:default-style" || name == "style:page-layout")
                style = nullptr;
            else if (name == "text:p" || name == "text:h")
                paragraph = nullptr;
            else if (name == "text:span" && !spanStyles.empty())
                spanStyles.pop_back();
            else if (name == "office:binary-data")
                inBinary = false;
            else if (name == "draw:frame")
                --inFrame;
        } else if (xml.isCharacters() && paragraph) {
            if (inBinary)
                paragraph->imageData += xml.text().toLatin1();
            else if (inFrame == 0)
                appendText(withoutSixPerEmSpaces(xml.text().toString().toStdString()));
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return doc;
}

// A length of ODF ("1.1811in", "3cm", "30mm", "85pt") in centimetres.
double centimetres(const std::string &length)
{
    std::size_t used = 0;
    const double value = std::stod(length, &used);
    const std::string unit = length.substr(used);
    if (unit == "in")
        return value * 2.54;
    if (unit == "mm")
        return value / 10;
    if (unit == "pt")
        return value * 2.54 / 72;
    EXPECT_EQ(unit, "cm") << length;
    return value;
}

// The three documents, written by the program and converted once for all tests.
struct Converted {
    TempFolder folder;
    std::map<std::string, OdtDocument> documents; // "standard", "foreign", "excluded"
    std::string log;
};

const Converted &converted()
{
    static const std::unique_ptr<Converted> result = [] {
        auto c = std::make_unique<Converted>();
        const fs::path in = c->folder.path() / "in";
        fs::create_directory(in);
        struct Variant {
            const char *name;
            report::ReportInput input;
        };
        report::ReportInput excluded = sampleInput(false, true);
        excluded.fields.texts[8] = "1,5 {\\par} ✓";
        const Variant variants[]
            = {{"standard", sampleInput()}, {"foreign", sampleInput(true)}, {"excluded", excluded}};
        std::string files;
        for (const Variant &v : variants) {
            // Each report is written as "str.doc" and read under a ".doc" name, as a user opens it.
            const fs::path folder = c->folder.path() / v.name;
            fs::create_directory(folder);
            const report::WriteResult written = report::writeDocumentReport(
                v.input, folder, window::readReportPicture(TARIFMASTER_TEST_PICTURE));
            EXPECT_TRUE(written.ok) << written.reason;
            fs::create_hard_link(written.path, in / (std::string(v.name) + ".doc"));
            files += " " + quoted(in / (std::string(v.name) + ".doc"));
        }
        const CommandResult which = runCommand("command -v soffice");
        if (which.status != 0) {
            ADD_FAILURE() << "soffice not found: tools/test installs libreoffice-writer-nogui";
            return c;
        }
        const fs::path out = c->folder.path() / "out";
        const CommandResult run
            = runCommand("soffice -env:UserInstallation=file://" + (c->folder.path() / "profile").string()
                + " --headless --convert-to fodt --outdir " + quoted(out) + files);
        c->log = run.output;
        for (const Variant &v : variants)
            c->documents[v.name] = readFlatOdt(out / (std::string(v.name) + ".fodt"));
        return c;
    }();
    return *result;
}

const OdtDocument &document(const std::string &variant)
{
    const Converted &c = converted();
    const OdtDocument &doc = c.documents.at(variant);
    EXPECT_FALSE(doc.paragraphs.empty()) << "LibreOffice did not convert " << variant << ":\n" << c.log;
    return doc;
}

std::vector<std::string> texts(const OdtDocument &doc)
{
    std::vector<std::string> all;
    for (const OdtParagraph &p : doc.paragraphs)
        all.push_back(p.text());
    return all;
}

const std::string kRule(58, '=');

// The standard variant of the sample window, paragraph by paragraph, "" for an empty one.
std::vector<std::string> standardParagraphs()
{
    // clang-format off
    std::vector<std::string> p = {
        "", "", // the picture, then an empty paragraph
        "Страховые тарифы по обязательному страхованию гражданской ответственности владельцев транспортных средств",
        "", "", "", "", "УТВЕРЖДЕНЫ", "постановлением Правительства", "Российской Федерации", "от 7 мая 2003 г. № 264",
        "", kRule, "",
        "❶ Базовые ставки страховых тарифов ТБ =1980",
        "❷ Коэффициенты страховых тарифов в зависимости от территории преимущественного",
        "     использования транспортного средства КТ =1,8",
        "❸ Коэффициенты страховых тарифов в зависимости от наличия или отсутствия страховых выплат",
        "     при наступлении страховых случаев, произошедших по вине страхователя (владельца",
        "     транспортного средства) в период действия предыдущих договоров обязательного страхования",
        "     КБМ =0,95",
        "❹ Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя   КВС =1,15",
        "❺ Коэффициенты страховых тарифов в зависимости от количества лиц, допущенных к",
        "     управлению транспортным средством KO =1,5",
        "❻ Коэффициенты страховых тарифов в зависимости от мощности двигателя легкового",
        "     автомобиля, такси (в том числе маршрутного) KM =1,3",
        "❼ Коэффициенты страховых тарифов в зависимости от периода использования транспортного",
        "     средства KC =0,7",
        "❽ Коэффициенты страховых тарифов в зависимости от срока страхования КП =0,9",
        "❾ Коэффициент при наличии нарушений, предусмотренных пунктом 3 статьи 9 Федерального",
        "     закона Об обязательном страховании гражданской ответственности владельцев",
        "     транспортных средств KH =1,5",
        "", kRule, "", "ИТОГО:4321,09 рублей", "", kRule, "",
        std::string(report::kWebAddress), std::string(report::kMailAddress), "", kRule, "", "15.03.2024", "9:41:07",
    };
    // clang-format on
    p.insert(p.end(), 6, "");
    p.push_back("Copyright © 2003 Разработчики программы ТарифМастер");
    return p;
}

// Compares paragraph by paragraph, so that a difference names its paragraph.
void expectParagraphs(const OdtDocument &doc, const std::vector<std::string> &expected)
{
    const std::vector<std::string> actual = texts(doc);
    EXPECT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        EXPECT_EQ(actual[i], expected[i]) << "paragraph " << i;
}

TEST(DocumentInLibreOffice, TheStandardVariantReadsBackParagraphByParagraph)
{
    expectParagraphs(document("standard"), standardParagraphs());
}

TEST(DocumentInLibreOffice, TheForeignVariantShowsItsFixedFactors)
{
    std::vector<std::string> expected = standardParagraphs();
    expected[16] = "     использования транспортного средства КТ = 2";
    expected[20] = "     КБМ = 1";
    expected[21] = "❹ Коэффициенты страховых тарифов в зависимости от возраста и стажа водителя КВС = 1,3";
    expected[23] = "     управлению транспортным средством KO = 1";
    expected[27] = "     средства KC = 1";
    expectParagraphs(document("foreign"), expected);
}

TEST(DocumentInLibreOffice, AnExcludedTermAndAnOddFieldReadBackAsShown)
{
    std::vector<std::string> expected = standardParagraphs();
    expected[28] = "❽ Коэффициенты страховых тарифов в зависимости от срока страхования КП = исключен";
    expected[31] = "     транспортных средств KH =1,5 {\\par} ✓";
    expectParagraphs(document("excluded"), expected);
}

TEST(DocumentInLibreOffice, ThePictureComesFirstCentred)
{
    const OdtDocument &doc = document("standard");
    ASSERT_FALSE(doc.paragraphs.empty());
    const OdtParagraph &first = doc.paragraphs.front();
    EXPECT_TRUE(first.image);
    EXPECT_TRUE(QByteArray::fromBase64(first.imageData).startsWith("\x89PNG\r\n\x1A\n"));
    EXPECT_EQ(doc.property(first, -1, "fo:text-align"), "center");
    int images = 0;
    for (const OdtParagraph &p : doc.paragraphs)
        images += p.image ? 1 : 0;
    EXPECT_EQ(images, 1);
}

TEST(DocumentInLibreOffice, FontsSizesWeightsColoursAndAlignments)
{
    const OdtDocument &doc = document("standard");
    ASSERT_EQ(doc.paragraphs.size(), standardParagraphs().size());
    struct Case {
        const char *name;
        std::size_t paragraph;
        int span;
        std::string font, size, weight, style, colour, align;
    };
    // An empty weight or slant is the default, normal; "left" is "start" in ODF.
    const Case cases[] = {
        {"heading", 2, 0, "Tahoma", "12pt", "bold", "", "#0000ff", "center"},
        {"decree, blue carried over", 7, 0, "Tahoma", "10pt", "bold", "", "#0000ff", "start"},
        {"first badge", 14, 0, "DejaVu Sans", "10pt", "bold", "", "#0000ff", "start"},
        {"first factor text", 14, 1, "Times New Roman", "11pt", "bold", "", "#0000ff", "start"},
        {"ninth badge", 29, 0, "DejaVu Sans", "11pt", "bold", "", "#0000ff", "start"},
        {"law: word before the name", 30, 0, "Times New Roman", "11pt", "bold", "", "#0000ff", "start"},
        {"law: name", 30, 1, "Times New Roman", "11pt", "bold", "italic", "#0000ff", "start"},
        {"law: name, second line", 31, 0, "Times New Roman", "11pt", "bold", "italic", "#0000ff", "start"},
        {"KH and its value", 31, 1, "Times New Roman", "11pt", "", "", "#0000ff", "start"},
        {"separator after the factors", 33, 0, "Times New Roman", "11pt", "", "", "#0000ff", "start"},
        {"total", 35, 0, "Tahoma", "10pt", "bold", "", "#0000ff", "start"},
        {"e-mail address", 40, 0, "Tahoma", "10pt", "bold", "", "#0000ff", "start"},
        {"start time", 45, 0, "Tahoma", "10pt", "bold", "", "#0000ff", "start"},
        {"notice", 52, 0, "Times New Roman", "8pt", "bold", "", "#0000ff", "end"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const OdtParagraph &p = doc.paragraphs.at(c.paragraph);
        ASSERT_LT(c.span, static_cast<int>(p.spans.size())) << p.text();
        const auto normal = [](std::string value) {
            return value == "normal" ? std::string() : value;
        };
        EXPECT_EQ(doc.font(p, c.span), c.font);
        EXPECT_EQ(doc.property(p, c.span, "fo:font-size"), c.size);
        EXPECT_EQ(normal(doc.property(p, c.span, "fo:font-weight")), c.weight);
        EXPECT_EQ(normal(doc.property(p, c.span, "fo:font-style")), c.style);
        EXPECT_EQ(doc.property(p, c.span, "fo:color"), c.colour);
        EXPECT_EQ(doc.property(p, -1, "fo:text-align"), c.align);
    }
    EXPECT_EQ(doc.paragraphs.at(30).spans.at(1).text,
        "Об обязательном страховании гражданской ответственности владельцев");
    EXPECT_EQ(doc.paragraphs.at(31).spans.at(1).text, "KH =1,5");
}

TEST(DocumentInLibreOffice, PageMarginsAreThreeOneAndAHalfTwoAndTwoCentimetres)
{
    for (const std::string variant : {"standard", "foreign"}) {
        SCOPED_TRACE(variant);
        const OdtDocument &doc = document(variant);
        ASSERT_TRUE(doc.pageLayouts.count(doc.standardPageLayout)) << doc.standardPageLayout;
        const Properties &page = doc.pageLayouts.at(doc.standardPageLayout);
        EXPECT_NEAR(centimetres(page.at("fo:margin-left")), 3.0, 0.01);
        EXPECT_NEAR(centimetres(page.at("fo:margin-right")), 1.5, 0.01);
        EXPECT_NEAR(centimetres(page.at("fo:margin-top")), 2.0, 0.01);
        EXPECT_NEAR(centimetres(page.at("fo:margin-bottom")), 2.0, 0.01);
        EXPECT_NEAR(centimetres(page.at("fo:page-width")), 21.0, 0.01);
    }
}

} // namespace
