// A result as an .xlsx workbook (libxlsxwriter, rows streamed to a temporary file as they come) or an
// .ods one (the sheet's XML streamed to a temporary file, then packed with libzip).
#include "batch/workbook.h"
#include "engine/utf8.h"
#include "engine/windows1251.h"
#include "report/file_writer.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <vector>
#include <xlsxwriter.h>
#include <zip.h>

namespace batch {

namespace {

constexpr std::string_view kSheetName = "Расчет";
constexpr std::size_t kPieceSize = 64 * 1024;
constexpr std::size_t kMaxXlsxText = 32767; // characters in a cell of an .xlsx workbook

// A factor text with a decimal point, as a number attribute spells it ("1289,925" is "1289.925").
std::string withDecimalPoint(std::string_view factorText)
{
    std::string text(factorText);
    for (char &c : text)
        if (c == ',')
            c = '.';
    return text;
}

// A factor text as the number it writes.
double valueOf(std::string_view factorText)
{
    return storedNumber(withDecimalPoint(factorText)).value_or(0);
}

// Characters of a text's longest line, as a column's width counts them: the bytes that begin a UTF-8
// sequence.
std::size_t charactersOf(std::string_view utf8)
{
    std::size_t count = 0, longest = 0;
    for (const char byte : utf8) {
        if (byte == '\n')
            count = 0;
        else if (!engine::isContinuationByte(static_cast<unsigned char>(byte)))
            longest = std::max(longest, ++count);
    }
    return longest;
}

// One cell of a result row.
struct ResultCell {
    enum class Kind {
        Text,
        Number, // a number cell of the input: text is the factor text it showed ("1,3")
        Money,  // a premium or their sum: text is a factor text ("1289,925"), shown with 2 to 4 decimals
    };
    std::string_view text; // UTF-8
    Kind kind = Kind::Text;
};

// A workbook of one sheet, the rows in order, the header first; then the complete file. What both
// formats share: the rows counted against the sheet's limit, the columns' widths.
class SheetWriter {
public:
    virtual ~SheetWriter() = default;
    // False when the workbook cannot take the row: problem().
    virtual bool row(std::span<const ResultCell> cells) = 0;
    // The complete file, handed to write in pieces; false when it could not be made, write failed or
    // stopRequested said so on the way.
    virtual bool finish(const std::function<bool(std::string_view)> &write, const StopCheck &stopRequested)
        = 0;
    const std::string &problem() const
    {
        return m_problem;
    }

protected:
    bool nextRow(std::span<const ResultCell> cells)
    {
        if (m_rows == kMaxSheetRows)
            return fail("в листе книги не больше " + std::to_string(kMaxSheetRows) + " строк");
        if (cells.size() > kMaxSheetColumns)
            return fail("в листе книги не больше " + std::to_string(kMaxSheetColumns) + " столбцов");
        if (m_widths.size() < cells.size())
            m_widths.resize(cells.size(), 0);
        for (std::size_t i = 0; i < cells.size(); ++i)
            m_widths[i] = std::max(m_widths[i], charactersOf(cells[i].text));
        ++m_rows;
        return true;
    }
    // A column's width in characters: its longest text, within reason.
    double widthOf(std::size_t column) const
    {
        return static_cast<double>(std::clamp<std::size_t>(m_widths[column] + 2, 6, 60));
    }
    bool fail(std::string text)
    {
        if (m_problem.empty())
            m_problem = std::move(text);
        return false;
    }
    std::size_t m_rows = 0; // rows written, the header included
    std::vector<std::size_t> m_widths;
    std::string m_problem;
};

// A private folder for a writer's temporary files, removed with everything in it. Its files are named
// as the C library's narrow calls take them (the libraries write by name), whatever alphabet the
// system's temporary folder is spelled in.
class TemporaryFolder {
public:
    TemporaryFolder()
        : m_path(report::makeTemporaryFolder())
        , m_narrow(m_path.empty() ? std::string() : report::narrowPath(m_path))
    {
    }
    ~TemporaryFolder()
    {
        if (!m_path.empty())
            report::removeTemporaryFolder(m_path);
    }
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    bool made() const
    {
        return !m_narrow.empty();
    }
    // The folder, and a file in it, as a narrow name.
    const std::string &name() const
    {
        return m_narrow;
    }
    std::string file(std::string_view name) const
    {
        return m_narrow + '/' + std::string(name);
    }
    // A new file of the folder, open for writing and reading back, with a buffer of kPieceSize that
    // lives as long as the folder (the C library's own is 1 KB in the page, where every write that
    // empties it is a call out of the module); nothing when none can be made.
    std::FILE *create(std::string_view name)
    {
        std::FILE *created = made() ? std::fopen(file(name).c_str(), "w+b") : nullptr;
        if (created != nullptr) {
            m_buffers.push_back(std::make_unique<char[]>(kPieceSize));
            std::setvbuf(created, m_buffers.back().get(), _IOFBF, kPieceSize);
        }
        return created;
    }

private:
    std::filesystem::path m_path;
    std::string m_narrow;
    std::vector<std::unique_ptr<char[]>> m_buffers;
};

// Hands a file to write in pieces.
bool copyFile(std::FILE *file, const std::function<bool(std::string_view)> &write)
{
    std::array<char, kPieceSize> piece;
    std::rewind(file);
    for (;;) {
        const std::size_t got = std::fread(piece.data(), 1, piece.size(), file);
        if (got > 0 && !write(std::string_view(piece.data(), got)))
            return false;
        if (got < piece.size())
            return std::ferror(file) == 0;
    }
}

// ---- .xlsx ----------------------------------------------------------------------------------------

class XlsxWriter : public SheetWriter {
public:
    XlsxWriter()
    {
        if (!m_folder.made()) {
            fail("не удалось создать временную папку для книги");
            return;
        }
        m_file = m_folder.file("result.xlsx");
        m_tmpdir = m_folder.name();
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.tmpdir = m_tmpdir.data();
        m_book = workbook_new_opt(m_file.c_str(), &options);
        if (m_book == nullptr) {
            fail("не удалось начать книгу .xlsx");
            return;
        }
        m_sheet = workbook_add_worksheet(m_book, std::string(kSheetName).c_str());
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        m_money = workbook_add_format(m_book);
        format_set_num_format(m_money, "0.00##");
    }
    ~XlsxWriter() override
    {
        if (m_book != nullptr)
            lxw_workbook_free(m_book);
    }

    bool row(std::span<const ResultCell> cells) override
    {
        if (m_book == nullptr || !m_problem.empty())
            return false;
        const auto row = static_cast<lxw_row_t>(m_rows);
        if (!nextRow(cells))
            return false;
        const bool header = row == 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const ResultCell &cell = cells[i];
            const auto column = static_cast<lxw_col_t>(i);
            lxw_error error = LXW_NO_ERROR;
            if (cell.text.empty())
                continue;
            if (cell.kind == ResultCell::Kind::Text) {
                if (charactersOf(cell.text) > kMaxXlsxText)
                    return fail("в ячейке строки " + std::to_string(row + 1) + " больше "
                        + std::to_string(kMaxXlsxText) + " знаков: книга .xlsx столько не вмещает");
                m_text.assign(cell.text);
                error
                    = worksheet_write_string(m_sheet, row, column, m_text.c_str(), header ? m_bold : nullptr);
            } else {
                lxw_format *format
                    = cell.kind == ResultCell::Kind::Money ? m_money : (header ? m_bold : nullptr);
                error = worksheet_write_number(m_sheet, row, column, valueOf(cell.text), format);
            }
            if (error != LXW_NO_ERROR)
                return fail(std::string("не удалось записать ячейку книги: ") + lxw_strerror(error));
        }
        return true;
    }

    // The library packs the workbook without a pause: a stop waits for it.
    bool finish(
        const std::function<bool(std::string_view)> &write, const StopCheck & /*stopRequested*/) override
    {
        if (m_book == nullptr || !m_problem.empty())
            return false;
        for (std::size_t i = 0; i < m_widths.size(); ++i)
            worksheet_set_column(
                m_sheet, static_cast<lxw_col_t>(i), static_cast<lxw_col_t>(i), widthOf(i), nullptr);
        worksheet_freeze_panes(m_sheet, 1, 0);
        const lxw_error error = workbook_close(m_book); // frees the workbook too
        m_book = nullptr;
        if (error != LXW_NO_ERROR)
            return fail(std::string("не удалось собрать книгу .xlsx: ") + lxw_strerror(error));
        std::FILE *file = std::fopen(m_file.c_str(), "rb");
        if (file == nullptr)
            return fail("не удалось прочитать собранную книгу");
        const bool copied = copyFile(file, write);
        std::fclose(file);
        return copied;
    }

private:
    TemporaryFolder m_folder;
    std::string m_file;
    std::string m_tmpdir;
    lxw_workbook *m_book = nullptr;
    lxw_worksheet *m_sheet = nullptr;
    lxw_format *m_bold = nullptr;
    lxw_format *m_money = nullptr;
    std::string m_text;
};

// ---- .ods -----------------------------------------------------------------------------------------

// A little below zlib's default: 100 000 rows of sheet XML (170 MB) pack to 8 MB instead of 6 MB, in
// half the time.
constexpr zip_uint32_t kDeflateLevel = 5;

constexpr std::string_view kOdsMimeType = "application/vnd.oasis.opendocument.spreadsheet";

constexpr std::string_view kContentHead = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" xmlns:loext="urn:org:documentfoundation:names:experimental:office:xmlns:loext:1.0" office:version="1.3"><office:automatic-styles><number:number-style style:name="N1"><number:number number:decimal-places="4" number:min-decimal-places="2" loext:min-decimal-places="2" number:min-integer-digits="1"/></number:number-style><style:style style:name="ce1" style:family="table-cell"><style:text-properties fo:font-weight="bold" style:font-weight-asian="bold" style:font-weight-complex="bold"/></style:style><style:style style:name="ce2" style:family="table-cell" style:data-style-name="N1"/>)";
constexpr std::string_view kContentTail
    = "</table:table></office:spreadsheet></office:body></office:document-content>";

constexpr std::string_view kManifest = R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3"><manifest:file-entry manifest:full-path="/" manifest:version="1.3" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/><manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/><manifest:file-entry manifest:full-path="settings.xml" manifest:media-type="text/xml"/></manifest:manifest>
)";

// The view: the header row frozen above the rest.
constexpr std::string_view kSettings = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document-settings xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:config="urn:oasis:names:tc:opendocument:xmlns:config:1.0" office:version="1.3"><office:settings><config:config-item-set config:name="ooo:view-settings"><config:config-item-map-indexed config:name="Views"><config:config-item-map-entry><config:config-item config:name="ViewId" config:type="string">view1</config:config-item><config:config-item-map-named config:name="Tables"><config:config-item-map-entry config:name="Расчет"><config:config-item config:name="VerticalSplitMode" config:type="short">2</config:config-item><config:config-item config:name="VerticalSplitPosition" config:type="int">1</config:config-item><config:config-item config:name="ActiveSplitRange" config:type="short">2</config:config-item><config:config-item config:name="PositionTop" config:type="int">0</config:config-item><config:config-item config:name="PositionBottom" config:type="int">1</config:config-item></config:config-item-map-entry></config:config-item-map-named><config:config-item config:name="ActiveTable" config:type="string">Расчет</config:config-item></config:config-item-map-entry></config:config-item-map-indexed></config:config-item-set></office:settings></office:document-settings>
)";

// A text as XML character data: markup escaped, invalid bytes and characters XML cannot hold replaced.
void appendXmlText(std::string &out, std::string_view utf8)
{
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t from = pos;
        const char32_t c = engine::nextCodePoint(utf8, pos);
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if ((c < 0x20 && c != '\t' && c != '\n') || c == 0xFFFE || c == 0xFFFF
            || c == engine::kReplacementCharacter) // what XML cannot hold, and bytes that are no UTF-8
            out += "\xEF\xBF\xBD";
        else
            out.append(utf8.substr(from, pos - from));
    }
}

// A cell's text as paragraphs, with runs of spaces, tabs and line breaks as the format spells them: a
// single space between words stays a space, any other run of spaces is counted out.
void appendParagraphs(std::string &out, std::string_view text)
{
    out += "<text:p>";
    bool atStart = true; // of a paragraph, or after a tab
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ') {
            const std::size_t end = std::min(text.find_first_not_of(' ', i), text.size());
            const std::size_t count = end - i;
            const bool atEnd = end == text.size() || text[end] == '\n' || text[end] == '\t';
            if (atStart || atEnd) {
                out += "<text:s text:c=\"" + std::to_string(count) + "\"/>";
            } else {
                out += ' ';
                if (count > 1)
                    out += "<text:s text:c=\"" + std::to_string(count - 1) + "\"/>";
            }
            i = end;
        } else if (c == '\n' || c == '\t') {
            out += c == '\n' ? "</text:p><text:p>" : "<text:tab/>";
            atStart = true;
            ++i;
        } else {
            const std::size_t end = std::min(text.find_first_of(" \n\t", i), text.size());
            appendXmlText(out, text.substr(i, end - i));
            atStart = false;
            i = end;
        }
    }
    out += "</text:p>";
}

class OdsWriter : public SheetWriter {
public:
    OdsWriter()
        : m_rowsFile(m_folder.create("rows.xml"))
    {
        if (m_rowsFile == nullptr)
            fail("не удалось создать временный файл для книги");
    }
    ~OdsWriter() override
    {
        if (m_rowsFile != nullptr)
            std::fclose(m_rowsFile);
    }

    // The rows go to a file of their own until the columns' widths are known.
    bool row(std::span<const ResultCell> cells) override
    {
        if (m_rowsFile == nullptr || !m_problem.empty())
            return false;
        const bool header = m_rows == 0;
        if (!nextRow(cells))
            return false;
        m_xml.clear();
        appendRow(m_xml, cells, header);
        if (std::fwrite(m_xml.data(), 1, m_xml.size(), m_rowsFile) != m_xml.size())
            return fail("не удалось записать временный файл книги");
        return true;
    }

    bool finish(const std::function<bool(std::string_view)> &write, const StopCheck &stopRequested) override
    {
        if (m_rowsFile == nullptr || !m_problem.empty())
            return false;
        std::FILE *content = m_folder.create("content.xml");
        if (content == nullptr)
            return fail("не удалось создать временный файл для книги");
        if (!writeContent(content, stopRequested)) {
            std::fclose(content);
            return fail("не удалось записать временный файл книги");
        }
        return pack(content, write, stopRequested);
    }

private:
    // The header row is bold and repeated on every printed page.
    static void appendRow(std::string &xml, std::span<const ResultCell> cells, bool header)
    {
        xml += header ? "<table:table-header-rows><table:table-row>" : "<table:table-row>";
        for (const ResultCell &cell : cells)
            appendCell(xml, cell, header);
        xml += header ? "</table:table-row></table:table-header-rows>" : "</table:table-row>";
    }

    static void appendCell(std::string &xml, const ResultCell &cell, bool header)
    {
        const char *style = header ? " table:style-name=\"ce1\"" : "";
        if (cell.text.empty()) {
            xml += header ? "<table:table-cell table:style-name=\"ce1\"/>" : "<table:table-cell/>";
            return;
        }
        xml += "<table:table-cell";
        if (cell.kind == ResultCell::Kind::Text) {
            xml += style;
            xml += " office:value-type=\"string\">";
        } else {
            xml += cell.kind == ResultCell::Kind::Money ? " table:style-name=\"ce2\"" : style;
            xml += " office:value-type=\"float\" office:value=\"" + withDecimalPoint(cell.text) + "\">";
        }
        appendParagraphs(xml, cell.text);
        xml += "</table:table-cell>";
    }

    // The content part up to the first row: the styles, the columns' among them, and the table's start.
    std::string contentHead() const
    {
        std::string head(kContentHead);
        for (std::size_t i = 0; i < m_widths.size(); ++i) {
            char width[32];
            std::snprintf(width, sizeof width, "%.2f", widthOf(i) * 0.2); // about 0.2 cm a character
            head += "<style:style style:name=\"co" + std::to_string(i + 1)
                + "\" style:family=\"table-column\"><style:table-column-properties style:column-width=\""
                + width + "cm\"/></style:style>";
        }
        head += "</office:automatic-styles><office:body><office:spreadsheet><table:table table:name=\"";
        head += kSheetName;
        head += "\">";
        for (std::size_t i = 0; i < m_widths.size(); ++i)
            head += "<table:table-column table:style-name=\"co" + std::to_string(i + 1) + "\"/>";
        return head;
    }

    // The content part whole: its head, the rows written so far, its tail.
    bool writeContent(std::FILE *content, const StopCheck &stopRequested) const
    {
        const auto put = [content, &stopRequested](std::string_view piece) {
            return !stopRequested() && std::fwrite(piece.data(), 1, piece.size(), content) == piece.size();
        };
        return put(contentHead()) && copyFile(m_rowsFile, put) && put(kContentTail)
            && std::fflush(content) == 0;
    }

    // The archive in memory, handed to write: the mimetype first and stored, as the format asks, then
    // the parts. Packing asks stopRequested between its pieces. Closes content.
    bool pack(std::FILE *content, const std::function<bool(std::string_view)> &write, StopCheck stopRequested)
    {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
        zip_t *archive = buffer != nullptr ? zip_open_from_source(buffer, ZIP_TRUNCATE, &error) : nullptr;
        if (archive == nullptr) {
            if (buffer != nullptr)
                zip_source_free(buffer);
            std::fclose(content);
            return fail("не удалось собрать книгу .ods");
        }
        zip_source_keep(buffer);
        zip_register_cancel_callback_with_state(archive, cancelled, nullptr, &stopRequested);
        if (!addParts(archive, content) || zip_close(archive) != 0) {
            zip_discard(archive);
            zip_source_free(buffer);
            return fail("не удалось собрать книгу .ods");
        }
        const bool handed = handOver(buffer, write);
        zip_source_free(buffer);
        return handed;
    }

    static int cancelled(zip_t * /*archive*/, void *stopRequested)
    {
        return (*static_cast<StopCheck *>(stopRequested))() ? 1 : 0;
    }

    static bool addParts(zip_t *archive, std::FILE *content)
    {
        const auto add = [&](const char *name, zip_source_t *source, bool stored) {
            if (source == nullptr)
                return false;
            const zip_int64_t index = zip_file_add(archive, name, source, ZIP_FL_ENC_UTF_8);
            if (index < 0) {
                zip_source_free(source);
                return false;
            }
            return zip_set_file_compression(archive,
                       static_cast<zip_uint64_t>(index),
                       stored ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                       stored ? 0 : kDeflateLevel)
                == 0;
        };
        const auto text = [&](std::string_view part) {
            return zip_source_buffer(archive, part.data(), part.size(), 0);
        };
        std::rewind(content);
        return add("mimetype", text(kOdsMimeType), true)
            && add("META-INF/manifest.xml", text(kManifest), false)
            && add("settings.xml", text(kSettings), false)
            && add("content.xml", zip_source_filep(archive, content, 0, -1), false); // closes content
    }

    // The packed archive, a piece at a time.
    static bool handOver(zip_source_t *buffer, const std::function<bool(std::string_view)> &write)
    {
        bool handed = zip_source_open(buffer) == 0;
        std::array<char, kPieceSize> piece;
        while (handed) {
            const zip_int64_t got = zip_source_read(buffer, piece.data(), piece.size());
            if (got <= 0) {
                handed = got == 0;
                break;
            }
            handed = write(std::string_view(piece.data(), static_cast<std::size_t>(got)));
        }
        zip_source_close(buffer);
        return handed;
    }

    TemporaryFolder m_folder; // before the files in it, which close first
    std::FILE *m_rowsFile;
    std::string m_xml;
};

// ---- The sink ---------------------------------------------------------------------------------------

// Rows of a result workbook: the same cells as a CSV row, given as the CSV writer takes them (in the
// list's encoding) and written in UTF-8; the input's number cells as numbers, the premium as a sum of
// money. The complete workbook goes to the output at the end.
class WorkbookSink : public RowSink {
public:
    WorkbookSink(std::unique_ptr<SheetWriter> book,
        const Layout &layout,
        Encoding encoding,
        std::unique_ptr<ResultOutput> output,
        StopCheck stopRequested)
        : m_book(std::move(book))
        , m_layout(layout)
        , m_encoding(encoding)
        , m_output(std::move(output))
        , m_stopRequested(std::move(stopRequested))
    {
    }

    bool row(const Record &record, std::span<const std::string_view> added) override
    {
        m_texts.resize(m_layout.carried.size() + added.size() + record.cells.size());
        m_cells.clear();
        forEachResultCell(m_layout, record, added, [&](std::string_view text, CellOrigin origin) {
            m_cells.push_back({inUtf8(text), kindOf(record, added, origin)});
        });
        m_header = false;
        return m_book->row(m_cells);
    }

    // The workbook made and handed to the output a piece at a time, then the output completed: a stop
    // on the way leaves the output uncompleted.
    bool finish() override
    {
        const auto write = [this](std::string_view bytes) {
            return !m_stopRequested() && m_output->write(bytes);
        };
        return m_book->finish(write, m_stopRequested) && !m_stopRequested() && m_output->finish();
    }

    std::string problem() const override
    {
        return m_output->notWritten(m_book->problem().empty() ? m_output->reason() : m_book->problem());
    }

    Failure trouble() const override
    {
        return m_book->problem().empty() ? m_output->trouble() : Failure::Result;
    }

private:
    // A cell's text in UTF-8, converted into its place in m_texts when the list is Windows-1251.
    std::string_view inUtf8(std::string_view text)
    {
        if (m_encoding != Encoding::Windows1251 || text.empty())
            return text;
        std::string &converted = m_texts[m_cells.size()];
        converted = engine::fromWindows1251(text);
        return converted;
    }

    // The header's cells are all texts; the second cell added to a row is its premium.
    ResultCell::Kind kindOf(
        const Record &record, std::span<const std::string_view> added, CellOrigin origin) const
    {
        if (m_header)
            return ResultCell::Kind::Text;
        if (origin.added && added.size() > 1 && origin.index == 1)
            return ResultCell::Kind::Money;
        if (!origin.added && origin.index < record.numbers.size() && record.numbers[origin.index])
            return ResultCell::Kind::Number;
        return ResultCell::Kind::Text;
    }

    std::unique_ptr<SheetWriter> m_book;
    const Layout &m_layout;
    Encoding m_encoding;
    std::unique_ptr<ResultOutput> m_output;
    StopCheck m_stopRequested;
    bool m_header = true;             // the next row is the header
    std::vector<std::string> m_texts; // cells converted to UTF-8, by their place in the row
    std::vector<ResultCell> m_cells;
};

} // namespace

bool workbooksSupported()
{
    return true;
}

std::unique_ptr<RowSink> makeWorkbookSink(WorkbookFormat format,
    const Layout &layout,
    Encoding encoding,
    std::unique_ptr<ResultOutput> output,
    StopCheck stopRequested)
{
    std::unique_ptr<SheetWriter> book;
    if (format == WorkbookFormat::Ods)
        book = std::make_unique<OdsWriter>();
    else
        book = std::make_unique<XlsxWriter>();
    return std::make_unique<WorkbookSink>(
        std::move(book), layout, encoding, std::move(output), std::move(stopRequested));
}

} // namespace batch
