// Workbooks through the batch mode: a sheet as spreadsheet programs save it read as its CSV would be,
// the result written as .xlsx and .ods and read back, and files that are no usable workbook refused.
#include "batch/batch.h"
#include "engine/windows1251.h"
#include "support/archive.h"
#include "support/batch_support.h"
#include "support/files.h"

#include <gtest/gtest.h>

namespace {

using namespace support;

constexpr const char *kRelationships = R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)";
constexpr const char *kWorkbook = R"(<?xml version="1.0" encoding="UTF-8"?>
<x:workbook xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><x:sheets><x:sheet name="Парк" sheetId="1" r:id="rId7"/><x:sheet name="Прочее" sheetId="2" r:id="rId8"/></x:sheets></x:workbook>)";
constexpr const char *kWorkbookRelationships = R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/other.xml"/><Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/fleet.xml"/><Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/></Relationships>)";
// Shared strings as Excel writes them, one in two runs of different fonts and one with a reading aid.
constexpr const char *kSharedStrings = R"(<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><si><t>Категория</t></si><si><t>КТ</t></si><si><r><t>при</t></r><r><rPr><b/></rPr><t>цеп</t></r></si><si><t>прицепы к легковым автомобилям</t><rPh><t>ぷ</t></rPh></si><si><t>Атлантида</t></si><si><t>Примечание</t></si></sst>)";

// The same vehicles in both workbooks: a header merged over two columns (G1:H1) and in its own order,
// numbers as numbers (2, 1.3, 0.7 stored as a binary fraction shows), a number cell that holds no
// number (G4), a gap (row 3), a logical cell, a rejected town, and blank formatted rows at the end;
// in the .xlsx, cells outside any row before the first.
const std::string kSheet = R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<c r="B1" t="inlineStr"><is><t>вне строки</t></is></c><c r="A1"/>
<row r="1"><c r="A1" t="inlineStr"><is><t>КС</t></is></c><c r="B1" t="s"><v>0</v></c><c r="C1" t="inlineStr"><is><t>ТБ</t></is></c><c r="D1" t="s"><v>1</v></c><c r="E1" t="inlineStr"><is><t>Исключить КП</t></is></c><c r="G1" t="s"><v>5</v></c><c r="H1" s="2"/></row>
<row r="2"><c r="A2"><v>0.69999999999999996</v></c><c r="B2" t="s"><v>2</v></c><c r="C2"><v>395</v></c><c r="D2"><v>2</v></c><c r="E2" t="b"><v>1</v></c><c r="G2" t="str"><f>A2&amp;"x"</f><v>0.7x</v></c><c r="H2" t="inlineStr"><is><t>за шапкой</t></is></c></row>
<row r="4"><c r="A4" t="inlineStr"><is><t>6 месяцев</t></is></c><c r="B4" t="s"><v>2</v></c><c r="C4" t="s"><v>3</v></c><c r="D4"><v>1.3</v></c><c r="G4"><v>н/д</v></c></row>
<row r="5"><c r="A5"><v>0.7</v></c><c r="B5" t="s"><v>2</v></c><c r="C5"><v>395</v></c><c r="D5" t="s"><v>4</v></c></row>
<row r="6" s="3" customFormat="1"/><row r="7" s="3" customFormat="1"><c r="B7" s="3"/></row>
</sheetData><mergeCells count="1"><mergeCell ref="G1:H1"/></mergeCells></worksheet>)";

const std::string kOdsContent = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"><office:body><office:spreadsheet><table:table table:name="Парк"><table:table-column table:number-columns-repeated="8"/>
<table:table-row><table:table-cell office:value-type="string"><text:p>КС</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Категория</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>ТБ</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>КТ</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Исключить<text:s/>КП</text:p></table:table-cell><table:table-cell/><table:table-cell table:number-columns-spanned="2" office:value-type="string"><text:p>Примечание</text:p><office:annotation><text:p>не часть ячейки</text:p></office:annotation></table:table-cell><table:covered-table-cell/><table:table-cell table:number-columns-repeated="1016"/></table:table-row>
<table:table-row><table:table-cell office:value-type="float" office:value="0.69999999999999996"><text:p>0,70</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>при<text:span>цеп</text:span></text:p></table:table-cell><table:table-cell office:value-type="float" office:value="395"><text:p>395</text:p></table:table-cell><table:table-cell office:value-type="float" office:value="2"><text:p>2</text:p></table:table-cell><table:table-cell office:value-type="boolean" office:boolean-value="true"><text:p>ИСТИНА</text:p></table:table-cell><table:table-cell table:number-columns-repeated="1"/><table:table-cell office:value-type="string"><text:p>0.7x</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>за шапкой</text:p></table:table-cell></table:table-row>
<table:table-row table:number-rows-repeated="1"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
<table:table-row><table:table-cell office:value-type="string"><text:p>6 месяцев</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>прицеп</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>прицепы к легковым автомобилям</text:p></table:table-cell><table:table-cell office:value-type="float" office:value="1.3"><text:p>1,3</text:p></table:table-cell><table:table-cell table:number-columns-repeated="2"/><table:table-cell office:value-type="float" office:value="н/д"><text:p>н/д</text:p></table:table-cell></table:table-row>
<table:table-row><table:table-cell office:value-type="float" office:value="0.7"><text:p>0,7</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>прицеп</text:p></table:table-cell><table:table-cell office:value-type="float" office:value="395"><text:p>395</text:p></table:table-cell><table:table-cell office:value-type="string"><text:p>Атлантида</text:p></table:table-cell></table:table-row>
<table:table-row table:number-rows-repeated="1048571"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
</table:table><table:table table:name="Прочее"/></office:spreadsheet></office:body></office:document-content>)";

std::string xlsxWith(const std::string &sheet, const char *workbook = kWorkbook)
{
    return makeArchive({{"[Content_Types].xml", "<Types/>"},
        {"_rels/.rels", kRelationships},
        {"xl/workbook.xml", workbook},
        {"xl/_rels/workbook.xml.rels", kWorkbookRelationships},
        {"xl/sharedStrings.xml", kSharedStrings},
        {"xl/worksheets/fleet.xml", sheet},
        {"xl/worksheets/other.xml", "<worksheet/>"}});
}

std::string odsWith(const std::string &content, const std::string &manifest = "<manifest:manifest/>")
{
    return makeArchive({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
        {"META-INF/manifest.xml", manifest},
        {"content.xml", content}});
}

std::vector<CsvRow> resultOf(const fs::path &input, const fs::path &output, int expectedStatus)
{
    RecordingConsole console;
    EXPECT_EQ(batch::run({input, output}, console), expectedStatus);
    return readCsvRows(output);
}

TEST(Workbook, SheetsReadAsTheirCsvAndResultsComeBackTheSame)
{
    const TempFolder folder;
    writeFile(folder.path() / "fleet.xlsx", xlsxWith(kSheet));
    writeFile(folder.path() / "fleet.ods", odsWith(kOdsContent));
    const CsvRow header = {"КС",
        "Категория",
        "ТБ",
        "КТ",
        "Исключить КП",
        "",
        "Примечание",
        "",
        "Коэффициенты",
        "Страховая премия",
        "Ошибка"};
    const std::vector<CsvRow> expected = {
        header,
        {"0,7", "прицеп", "395", "2", "да", "", "0.7x", "за шапкой", "ТБ=395; КТ=2; КС=0,7", "553", ""},
        CsvRow(header.size(), ""),
        {"6 месяцев",
            "прицеп",
            "прицепы к легковым автомобилям",
            "1,3",
            "",
            "",
            "н/д",
            "",
            "ТБ=395; КТ=1,3; КС=0,7",
            "359,45",
            ""},
        {"0,7",
            "прицеп",
            "395",
            "Атлантида",
            "",
            "",
            "",
            "",
            "",
            "",
            "строка 5, столбец «КТ»: населенный пункт «Атлантида» не найден"},
        {"", "ИТОГО", "", "", "", "", "", "", "", "912,45", "рассчитано 2, отклонено 1"},
    };
    for (const char *name : {"fleet.xlsx", "fleet.ods"}) {
        SCOPED_TRACE(name);
        const std::vector<CsvRow> rows = resultOf(folder.path() / name, folder.path() / "result.csv", 1);
        EXPECT_EQ(rows, expected);
        // A result written as either workbook reads back as the same rows.
        for (const char *written : {"result.xlsx", "result.ods"}) {
            SCOPED_TRACE(written);
            resultOf(folder.path() / name, folder.path() / written, 1);
            const std::vector<CsvRow> again
                = resultOf(folder.path() / written, folder.path() / "again.csv", 1);
            EXPECT_EQ(again, expected);
        }
    }
    // A Windows-1251 list written as a workbook: its texts and the total row come out in UTF-8.
    writeFile(folder.path() / "windows-1251.csv",
        engine::toWindows1251(
            "Категория;ТБ;КТ;КС\r\nприцеп;прицепы к легковым автомобилям;Москва;6 месяцев\r\n"));
    resultOf(folder.path() / "windows-1251.csv", folder.path() / "result.xlsx", 0);
    EXPECT_EQ(resultOf(folder.path() / "result.xlsx", folder.path() / "again.csv", 0),
        (std::vector<CsvRow>{{"Категория", "ТБ", "КТ", "КС", "Коэффициенты", "Страховая премия", "Ошибка"},
            {"прицеп",
                "прицепы к легковым автомобилям",
                "Москва",
                "6 месяцев",
                "ТБ=395; КТ=2; КС=0,7",
                "553",
                ""},
            {"ИТОГО", "", "", "", "", "553", "рассчитано 1, отклонено 0"}}));
}

TEST(Workbook, UnusableWorkbooksStopWithOneMessageAndWriteNothing)
{
    const TempFolder folder;
    const fs::path out = folder.path() / "out.xlsx";
    writeFile(out, "прежний результат");
    const std::string good = xlsxWith(kSheet);
    // A few elements that stand for many spaces, or a cell repeated along the row, make a row of a small
    // file longer than a row may be.
    const auto longRow = [](std::size_t spaces, std::size_t columns) {
        std::string spaced;
        for (std::size_t i = 0; i < spaces; ++i)
            spaced += R"(<text:s text:c="16384"/>)";
        return odsWith(kOdsContent.substr(0, kOdsContent.find("<table:table-row>"))
            + R"(<table:table-row><table:table-cell office:value-type="string"><text:p>Категория</text:p></table:table-cell></table:table-row><table:table-row><table:table-cell table:number-columns-repeated=")"
            + std::to_string(columns) + R"(" office:value-type="string"><text:p>x)" + spaced
            + "</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet></office:body></office:document-content>");
    };
    const std::string emptySheet
        = R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData><row r="3" s="1"/></sheetData></worksheet>)";
    struct Case {
        std::string file;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"old.xls",
            std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'),
            "это книга Excel 97-2003 (.xls) или книга, защищенная паролем"},
        {"cut.xlsx", good.substr(0, good.size() / 2), "книга повреждена: архив ZIP не читается"},
        {"notes.xlsx",
            makeArchive({{"notes.txt", "Категория"}}),
            "это архив ZIP, но не книга .xlsx или .ods"},
        {"nosheet.xlsx", xlsxWith(kSheet, "<workbook><sheets/></workbook>"), "в книге нет листов"},
        {"nosheet.ods",
            odsWith(
                R"(<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"/>)"),
            "в книге нет листов"},
        {"empty.xlsx", xlsxWith(emptySheet), "первый лист книги пуст, нет строки заголовка"},
        {"locked.ods",
            odsWith(kOdsContent, "<manifest><file-entry><encryption-data/></file-entry></manifest>"),
            "книга защищена паролем"},
        {"dtd.xlsx",
            xlsxWith("<!DOCTYPE worksheet [<!ENTITY a 'aaaa'>]><worksheet>&a;</worksheet>"),
            "книга повреждена: в части xl/worksheets/fleet.xml объявлен тип документа (DTD)"},
        {"bomb.xlsx",
            withDeclaredSize(good, "xl/worksheets/fleet.xml", 0x7FFFFFFF),
            "часть книги xl/worksheets/fleet.xml распаковывается больше чем в 1 ГБ"},
        {"spaces.ods", longRow(1100, 1), "строка 2 листа длиннее 16 МБ"},
        {"repeated.ods", longRow(100, 16), "строка 2 листа длиннее 16 МБ"},
        {"broken.xlsx",
            xlsxWith(kSheet.substr(0, kSheet.find("<row r=\"5\">"))),
            "книга повреждена: ошибка XML в части xl/worksheets/fleet.xml"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(folder.path() / c.file, c.bytes);
        RecordingConsole console;
        EXPECT_EQ(batch::run({folder.path() / c.file, out}, console), batch::kNotRead);
        ASSERT_EQ(console.lines.size(), 1u);
        EXPECT_TRUE(console.lines[0].starts_with(
            "tarifmaster: «" + (folder.path() / c.file).string() + "»: " + c.message))
            << console.lines[0];
        EXPECT_EQ(readFile(out), "прежний результат");
    }
}

} // namespace
