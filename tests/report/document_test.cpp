// The document's composition (which text gets which format and alignment) and its RTF form, without a
// word processor; libreoffice_test.cpp reads the written file back with one.
#include "report/document.h"
#include "report_input.h"
#include "support/report_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using report::Alignment;
using report::CharFormat;
using report::Composer;
using report::Document;
using report::testing::sampleInput;

TEST(Composer, FormatsApplyToTheBlockAndCarryOverToTheNext)
{
    Composer c;
    c.text("a")
        .paragraph()
        .text("b")
        .bold(true)
        .blue()
        .size(10)
        .align(Alignment::Centre)
        .paragraph()
        .collapse();
    c.text("c").font(report::kTahoma).collapse();
    c.paragraph().text("d").italic(true).align(Alignment::Right).collapse();
    const Document doc = c.document();

    ASSERT_EQ(doc.size(), 4u);
    // The first block: both of its paragraphs centred, the break after the formats too.
    EXPECT_EQ(doc[0].alignment, Alignment::Centre);
    EXPECT_EQ(doc[1].alignment, Alignment::Centre);
    const CharFormat boldBlue{report::kTimesNewRoman, 10, true, false, true};
    EXPECT_EQ(doc[0].runs.at(0).format, boldBlue);
    EXPECT_EQ(doc[1].runs.at(0).format, boldBlue);
    EXPECT_EQ(doc[1].mark, boldBlue);
    // "c" starts the third paragraph, takes the carried format and sets only the font; the last block
    // starts in that paragraph, so its alignment reaches it.
    const CharFormat tahoma{report::kTahoma, 10, true, false, true};
    EXPECT_EQ(doc[2].text(), "c");
    EXPECT_EQ(doc[2].runs.at(0).format, tahoma);
    EXPECT_EQ(doc[2].alignment, Alignment::Right);
    EXPECT_EQ(doc[2].mark, (CharFormat{report::kTahoma, 10, true, true, true}));
    EXPECT_EQ(doc[3].runs.at(0).format, (CharFormat{report::kTahoma, 10, true, true, true}));
    EXPECT_EQ(doc[3].alignment, Alignment::Right);
}

TEST(Composer, ANewDocumentIsOneEmptyParagraphInTheDefaults)
{
    const Document doc = Composer().document();
    ASSERT_EQ(doc.size(), 1u);
    EXPECT_TRUE(doc[0].runs.empty());
    EXPECT_EQ(doc[0].mark, CharFormat{});
    EXPECT_EQ(doc[0].alignment, Alignment::Left);
}

const report::Paragraph *findParagraph(const Document &doc, std::string_view start)
{
    for (const report::Paragraph &p : doc)
        if (p.text().starts_with(start))
            return &p;
    return nullptr;
}

TEST(ReportDocument, CarriedFormatsGiveWhatTheWordProcessorShowed)
{
    const Document doc = composeReport(sampleInput());
    // Blue and bold carry from the heading into the decree block, which sets neither.
    const report::Paragraph *decree = findParagraph(doc, "УТВЕРЖДЕНЫ");
    ASSERT_NE(decree, nullptr);
    EXPECT_EQ(decree->runs.at(0).format, (CharFormat{report::kTahoma, 10, true, false, true}));
    EXPECT_EQ(decree->alignment, Alignment::Left);

    // The first badge takes the separator's 10 pt, the others the 11 pt of the factor text before them.
    const report::Paragraph *first = findParagraph(doc, report::stepBadge(1));
    const report::Paragraph *second = findParagraph(doc, report::stepBadge(2));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->runs.at(0).format, (CharFormat{report::kBadgeFont, 10, true, false, true}));
    EXPECT_EQ(second->runs.at(0).format, (CharFormat{report::kBadgeFont, 11, true, false, true}));
    EXPECT_EQ(first->runs.at(1).format, (CharFormat{report::kTimesNewRoman, 11, true, false, true}));

    // Step 9: "закона " stays bold and upright, the law's name is bold italic, "KH =" neither.
    const report::Paragraph *law = findParagraph(doc, "     закона ");
    const report::Paragraph *kh = findParagraph(doc, "     транспортных средств ");
    ASSERT_NE(law, nullptr);
    ASSERT_NE(kh, nullptr);
    ASSERT_EQ(law->runs.size(), 2u);
    EXPECT_EQ(law->runs[0].format, (CharFormat{report::kTimesNewRoman, 11, true, false, true}));
    EXPECT_EQ(law->runs[1].text, "Об обязательном страховании гражданской ответственности владельцев");
    EXPECT_EQ(law->runs[1].format, (CharFormat{report::kTimesNewRoman, 11, true, true, true}));
    ASSERT_EQ(kh->runs.size(), 2u);
    EXPECT_EQ(kh->runs[1].text, "KH =1,5");
    EXPECT_EQ(kh->runs[1].format, (CharFormat{report::kTimesNewRoman, 11, false, false, true}));

    // The notice closes the document, right-aligned in 8 pt; the six empty paragraphs before it too.
    ASSERT_GE(doc.size(), 7u);
    EXPECT_TRUE(doc.back().text().starts_with("Copyright © 2003 "));
    EXPECT_EQ(doc.back().runs.at(0).format.points, 8);
    for (std::size_t i = doc.size() - 7; i < doc.size(); ++i)
        EXPECT_EQ(doc[i].alignment, Alignment::Right) << i;
    EXPECT_EQ(doc[doc.size() - 8].alignment, Alignment::Left);
}

TEST(ReportDocument, BothVariantsHaveTheSameParagraphs)
{
    // Where a step puts its paragraph break differs between the variants, never the paragraphs.
    const Document standard = composeReport(sampleInput(false));
    const Document foreign = composeReport(sampleInput(true));
    ASSERT_EQ(standard.size(), foreign.size());
    for (std::size_t i = 0; i < standard.size(); ++i)
        EXPECT_EQ(standard[i].text().empty(), foreign[i].text().empty()) << i;
}

std::string rtfOf(const report::ReportInput &in, const std::string &png = {})
{
    return report::documentRtf(in, png);
}

TEST(ReportRtf, FieldTextsCannotBreakTheDocument)
{
    struct Case {
        const char *name;
        std::string field;
        std::string expected; // in the RTF
    };
    const Case cases[] = {
        {"group and control characters", "{\\par}", "\\{\\\\par\\}"},
        {"cyrillic with its code page byte", "Я", "\\u1071\\'df"},
        {"sign beyond the code page", "✓", "\\u10003?"},
        {"above 32767 as a negative number", "\xEF\xBC\x90", "\\u-240?"}, // U+FF10
        {"outside the basic plane as a pair", "\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},
        {"control character", "a\x01z", "a?z"},
        {"malformed", "\xC3", "?"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        report::ReportInput in = sampleInput();
        in.fields.texts[8] = c.field;
        const std::string rtf = rtfOf(in);
        EXPECT_NE(rtf.find("KH =" + c.expected + "}"), std::string::npos);
        EXPECT_TRUE(support::bracesBalanced(rtf));
    }
}

TEST(ReportRtf, ThePictureIsEmbeddedWithItsSizeFromThePngHeader)
{
    // A PNG signature and IHDR of a 3 x 2 image are all the writer reads; the bytes go in as hex.
    const std::string png = std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\x03\0\0\0\x02", 24) + "rest";
    const std::string rtf = rtfOf(sampleInput(), png);
    EXPECT_NE(rtf.find("{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30\n89504e470d0a1a0a"),
        std::string::npos);
    EXPECT_NE(rtf.find("49484452000000030000000272657374}"), std::string::npos);
    EXPECT_LT(rtf.find("\\pict"), rtf.find("\\par\n"));
    EXPECT_EQ(rtfOf(sampleInput(), "not a png").find("\\pict"), std::string::npos);
}

} // namespace
