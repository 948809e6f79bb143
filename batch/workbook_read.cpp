// The first sheet of an .xlsx or .ods workbook, streamed out of its archive.
#include "batch/sheet_rows.h"
#include "batch/workbook.h"
#include "batch/zip_xml.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <vector>

namespace batch {

namespace {

constexpr std::size_t kSmallPart = 16 * 1024 * 1024; // relationships, manifests, the workbook part

std::size_t numberOf(std::string_view digits)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size() ? value : 0;
}

std::size_t numberAttribute(const char **attributes, std::string_view name, std::size_t otherwise)
{
    const auto value = attribute(attributes, name);
    if (!value)
        return otherwise;
    const std::size_t number = numberOf(*value);
    return number > 0 ? number : otherwise;
}

// A sheet read row by row through its handler, which places the cells in rows. Its cells are UTF-8, and
// its result as CSV takes the form spreadsheet programs open.
class StreamedSheet : public RowSource {
public:
    StreamedSheet(std::unique_ptr<Archive> archive, std::uint64_t fileSize)
        : m_archive(std::move(archive))
        , m_fileSize(fileSize)
    {
    }

    bool header(Record &record) override
    {
        const Status status = next(record);
        if (status == Status::End)
            m_problem = "первый лист книги пуст, нет строки заголовка";
        return status == Status::Record;
    }
    Status next(Record &record) override
    {
        while (!m_rows.ready() && !m_rows.failed() && m_archive->pump()) { }
        if (m_rows.failed())
            return fail(m_rows.problem());
        if (m_archive->failed())
            return fail(m_archive->problem());
        if (!m_rows.ready())
            return sheetFound() ? Status::End : fail("в книге нет листов");
        m_rows.take(record);
        return Status::Record;
    }
    const Dialect &dialect() const override
    {
        static constexpr Dialect kSheet{Encoding::Utf8, ';', "\n", false};
        return kSheet;
    }
    std::string problem(std::string_view file) const override
    {
        return std::string(file) + ": " + m_problem;
    }
    std::uint64_t bytesConsumed() const override
    {
        return static_cast<std::uint64_t>(m_archive->shareRead() * static_cast<double>(m_fileSize));
    }

    const std::string &archiveProblem() const
    {
        return m_archive->problem();
    }

protected:
    // False when the part read held no sheet at all.
    virtual bool sheetFound() const
    {
        return true;
    }
    Status fail(const std::string &text)
    {
        m_problem = text;
        return Status::Failed;
    }

    std::unique_ptr<Archive> m_archive;
    std::uint64_t m_fileSize;
    SheetRows m_rows;
    std::string m_problem;
};

// Texts gathered from the elements named in a handler: the character data of one element, or of all
// elements below one, while it is open.
class Collected {
public:
    void open()
    {
        m_text.clear();
        m_open = true;
    }
    void close()
    {
        m_open = false;
    }
    void add(std::string_view text)
    {
        if (m_open)
            m_text += text;
    }
    std::string &text()
    {
        return m_text;
    }

private:
    std::string m_text;
    bool m_open = false;
};

// ---- Office Open XML ------------------------------------------------------------------------------

// The relationships of a part: by id, the target resolved against the part's folder, and its type.
struct Relationship {
    std::string target;
    std::string type;
};

class RelationshipsHandler : public XmlHandler {
public:
    explicit RelationshipsHandler(std::string folder)
        : m_folder(std::move(folder))
    {
    }
    void start(std::string_view name, const char **attributes) override
    {
        if (name != "Relationship")
            return;
        const auto id = attribute(attributes, "Id");
        const auto target = attribute(attributes, "Target");
        if (!id || !target)
            return;
        std::string path(*target);
        if (path.starts_with('/'))
            path.erase(0, 1);
        else
            path = m_folder + path;
        relationships[std::string(*id)] = {path, std::string(attribute(attributes, "Type").value_or(""))};
    }
    void end(std::string_view) override
    {
    }
    void text(std::string_view) override
    {
    }

    std::map<std::string, Relationship> relationships;

private:
    std::string m_folder;
};

class FirstSheetHandler : public XmlHandler {
public:
    void start(std::string_view name, const char **attributes) override
    {
        if (name == "sheet" && !id)
            if (const auto value = attribute(attributes, "id"))
                id = std::string(*value);
    }
    void end(std::string_view) override
    {
    }
    void text(std::string_view) override
    {
    }
    bool done() const override
    {
        return id.has_value();
    }
    std::optional<std::string> id;
};

class SharedStringsHandler : public XmlHandler {
public:
    void start(std::string_view name, const char **) override
    {
        if (name == "si")
            m_item.open();
        else if (name == "rPh") // a reading aid for East Asian text, not the text
            ++m_phonetic;
    }
    void end(std::string_view name) override
    {
        if (name == "si") {
            m_item.close();
            strings.push_back(std::move(m_item.text()));
        } else if (name == "rPh") {
            --m_phonetic;
        }
    }
    void text(std::string_view text) override
    {
        if (m_phonetic == 0)
            m_item.add(text);
    }
    std::vector<std::string> strings;

private:
    Collected m_item;
    int m_phonetic = 0;
};

// "BC12" is column 55; beyond the sheet's limit, one column past it.
std::size_t columnOfReference(std::string_view reference)
{
    std::size_t column = 0;
    for (const char c : reference) {
        if (c < 'A' || c > 'Z')
            break;
        column = column * 26 + static_cast<std::size_t>(c - 'A' + 1);
        if (column > kMaxSheetColumns)
            return kMaxSheetColumns + 1;
    }
    return column;
}

// The sheet part of an .xlsx workbook: rows of cells, each cell with its type, its value (<v>) or its
// inline string (<is>, runs of <t>), and a reading aid (<rPh>) that is no part of the text.
class XlsxSheet : public StreamedSheet, private XmlHandler {
public:
    XlsxSheet(std::unique_ptr<Archive> archive, std::uint64_t fileSize, std::vector<std::string> strings)
        : StreamedSheet(std::move(archive), fileSize)
        , m_strings(std::move(strings))
    {
    }
    bool begin(const std::string &sheet)
    {
        return m_archive->begin(sheet, *this);
    }

private:
    void start(std::string_view name, const char **attributes) override
    {
        if (name == "row") {
            m_rows.beginRow(numberAttribute(attributes, "r", 0));
        } else if (name == "c") {
            startCell(attributes);
        } else if (name == "v" || (name == "t" && m_inline)) {
            m_text.open();
        } else if (name == "is") {
            m_inline = true;
            m_value.clear();
        } else if (name == "rPh") {
            m_inline = false;
        }
    }
    void end(std::string_view name) override
    {
        if (name == "v" || name == "t") {
            m_value += m_text.text();
            m_text.close();
            m_text.text().clear();
        } else if (name == "is") {
            m_inline = false;
        } else if (name == "rPh") {
            m_inline = true;
        } else if (name == "c") {
            placeCell();
        } else if (name == "row") {
            m_rows.endRow();
        } else if (name == "sheetData") {
            m_done = true;
        }
    }
    void text(std::string_view text) override
    {
        m_text.add(text);
    }
    bool done() const override
    {
        return m_done;
    }

    void startCell(const char **attributes)
    {
        m_type = std::string(attribute(attributes, "t").value_or("n"));
        m_column = 0;
        if (const auto reference = attribute(attributes, "r"))
            m_column = columnOfReference(*reference);
        m_value.clear();
    }

    void placeCell()
    {
        if (m_type == "s")
            placeSharedString();
        else if (m_type == "b")
            m_rows.cell(std::string(m_value == "1" ? kTrueText : kFalseText), false, m_column);
        else if (m_type == "n")
            placeNumber();
        else // a formula's text, an inline string, an error such as "#N/A", a date as text
            m_rows.cell(std::move(m_value), false, m_column);
        m_value.clear();
    }

    void placeSharedString()
    {
        const std::size_t index = numberOf(m_value);
        if (index >= m_strings.size() || m_value.empty())
            m_rows.cell({}, false, m_column, true);
        else
            m_rows.cell(m_strings[index], false, m_column);
    }

    // A cell without a value is there for its format, or as part of a merged cell; one whose value is
    // no number is read as the file holds it.
    void placeNumber()
    {
        if (m_value.empty())
            m_rows.cell({}, false, m_column, true);
        else if (std::optional<std::string> shown = shownNumber(m_value))
            m_rows.cell(std::move(*shown), true, m_column);
        else
            m_rows.cell(std::move(m_value), false, m_column);
    }

    std::vector<std::string> m_strings;
    std::string m_type;
    std::size_t m_column = 0;
    std::string m_value;
    Collected m_text;
    bool m_inline = false;
    bool m_done = false;
};

// Reads a small XML part through handler, whole.
bool readPart(Archive &archive, const std::string &name, XmlHandler &handler)
{
    if (!archive.begin(name, handler))
        return false;
    while (archive.pump()) { }
    return !archive.failed();
}

std::string folderOf(const std::string &part)
{
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relationshipsOf(const std::string &part)
{
    return folderOf(part) + "_rels/" + part.substr(folderOf(part).size()) + ".rels";
}

std::unique_ptr<RowSource> openXlsx(
    std::unique_ptr<Archive> archive, std::uint64_t fileSize, std::string &problem)
{
    std::string workbook = "xl/workbook.xml";
    if (archive->has("_rels/.rels")) {
        RelationshipsHandler root("");
        if (!readPart(*archive, "_rels/.rels", root)) {
            problem = archive->problem();
            return nullptr;
        }
        for (const auto &[id, relationship] : root.relationships)
            if (relationship.type.ends_with("/officeDocument"))
                workbook = relationship.target;
    }
    FirstSheetHandler first;
    RelationshipsHandler parts(folderOf(workbook));
    if (!readPart(*archive, workbook, first) || !readPart(*archive, relationshipsOf(workbook), parts)) {
        problem = archive->problem();
        return nullptr;
    }
    const auto sheet = first.id ? parts.relationships.find(*first.id) : parts.relationships.end();
    if (sheet == parts.relationships.end() || !archive->has(sheet->second.target)) {
        problem = "в книге нет листов";
        return nullptr;
    }
    SharedStringsHandler strings;
    for (const auto &[id, relationship] : parts.relationships)
        if (relationship.type.ends_with("/sharedStrings")
            && !readPart(*archive, relationship.target, strings)) {
            problem = archive->problem();
            return nullptr;
        }
    auto reader = std::make_unique<XlsxSheet>(std::move(archive), fileSize, std::move(strings.strings));
    if (!reader->begin(sheet->second.target)) {
        problem = reader->archiveProblem();
        return nullptr;
    }
    return reader;
}

// ---- OpenDocument -----------------------------------------------------------------------------------

// The first table of an .ods workbook's content: rows and cells that may stand for several, a cell's
// value in its attributes or its text in paragraphs, and what is no part of the text (a comment, a
// table inside a cell).
class OdsSheet : public StreamedSheet, private XmlHandler {
public:
    using StreamedSheet::StreamedSheet;
    bool begin()
    {
        return m_archive->begin("content.xml", *this);
    }

private:
    bool sheetFound() const override
    {
        return m_tables > 0;
    }

    void start(std::string_view name, const char **attributes) override
    {
        if (name == "table")
            startTable();
        else if (!m_inTable || m_depth > 0)
            return;
        else if (name == "table-row")
            startRow(attributes);
        else if (name == "table-cell" || name == "covered-table-cell")
            startCell(name, attributes);
        else if (name == "annotation")
            ++m_annotation;
        else if (m_annotation == 0)
            startText(name, attributes);
    }
    void end(std::string_view name) override
    {
        if (name == "table")
            endTable();
        else if (!m_inTable || m_depth > 0)
            return;
        else if (name == "table-row")
            m_rows.endRow(m_rowRepeat);
        else if (name == "table-cell" || name == "covered-table-cell")
            placeCell();
        else if (name == "annotation")
            --m_annotation;
        else if (name == "p")
            m_inParagraph = false;
    }
    void text(std::string_view text) override
    {
        if (m_inParagraph && m_annotation == 0 && m_depth == 0)
            append(text);
    }
    bool done() const override
    {
        return m_done;
    }

    // Only the first table is read; one inside a cell of it is skipped whole.
    void startTable()
    {
        ++m_tables;
        m_depth += m_inTable ? 1 : 0;
        m_inTable = true;
    }
    void endTable()
    {
        if (m_depth > 0)
            --m_depth;
        else
            m_done = true;
    }

    void startRow(const char **attributes)
    {
        m_rows.beginRow();
        m_rowRepeat = numberAttribute(attributes, "number-rows-repeated", 1);
    }

    void startCell(std::string_view name, const char **attributes)
    {
        m_cellRepeat = numberAttribute(attributes, "number-columns-repeated", 1);
        m_covered = name == "covered-table-cell";
        m_type = std::string(attribute(attributes, "value-type").value_or(""));
        m_value = std::string(
            attribute(attributes, m_type == "boolean" ? "boolean-value" : "value").value_or(""));
        m_paragraphs = 0;
        m_text.clear();
    }

    // The parts of a cell's text: paragraphs on lines of their own, and runs of spaces, tabs and line
    // breaks spelled as elements.
    void startText(std::string_view name, const char **attributes)
    {
        if (name == "p") {
            if (m_paragraphs++ > 0)
                append("\n");
            m_inParagraph = true;
        } else if (m_inParagraph && name == "s") {
            appendSpaces(numberAttribute(attributes, "c", 1));
        } else if (m_inParagraph && name == "tab") {
            append("\t");
        } else if (m_inParagraph && name == "line-break") {
            append("\n");
        }
    }

    // An element may stand for many spaces: the text stops growing once it is longer than a row may be,
    // which the row then refuses.
    void append(std::string_view text)
    {
        if (m_text.size() <= kMaxRecordBytes)
            m_text += text;
    }
    void appendSpaces(std::size_t count)
    {
        if (m_text.size() <= kMaxRecordBytes)
            m_text.append(std::min(count, kMaxSheetColumns), ' ');
    }

    // A number cell whose value is missing or no number is read as the text it shows.
    void placeCell()
    {
        const bool number = m_type == "float" || m_type == "percentage" || m_type == "currency";
        const std::optional<std::string> shown = number ? shownNumber(m_value) : std::nullopt;
        if (shown)
            m_rows.repeatCell(*shown, true, m_cellRepeat);
        else if (m_type == "boolean")
            m_rows.repeatCell(std::string(m_value == "true" ? kTrueText : kFalseText), false, m_cellRepeat);
        else
            m_rows.repeatCell(m_text, false, m_cellRepeat, m_covered && !number);
    }

    int m_tables = 0;
    bool m_inTable = false;
    int m_depth = 0; // tables inside a cell of the first one
    bool m_done = false;
    std::size_t m_rowRepeat = 1;
    std::size_t m_cellRepeat = 1;
    bool m_covered = false; // a part of a merged cell
    std::string m_type;
    std::string m_value;
    std::string m_text;
    int m_paragraphs = 0;
    bool m_inParagraph = false;
    int m_annotation = 0;
};

std::unique_ptr<RowSource> openOds(
    std::unique_ptr<Archive> archive, std::uint64_t fileSize, std::string &problem)
{
    if (archive->has("META-INF/manifest.xml")) {
        const auto manifest = archive->read("META-INF/manifest.xml", kSmallPart);
        if (!manifest) {
            problem = archive->problem();
            return nullptr;
        }
        if (manifest->find("encryption-data") != std::string::npos) {
            problem = "книга защищена паролем; сохраните ее без пароля";
            return nullptr;
        }
    }
    auto reader = std::make_unique<OdsSheet>(std::move(archive), fileSize);
    if (!reader->begin()) {
        problem = reader->archiveProblem();
        return nullptr;
    }
    return reader;
}

} // namespace

std::unique_ptr<RowSource> openWorkbook(int fd, std::string &problem)
{
    auto archive = Archive::open(fd, problem);
    if (!archive)
        return nullptr;
    const std::uint64_t fileSize = archive->fileSize();
    if (archive->has("xl/workbook.xml") || archive->has("_rels/.rels"))
        return openXlsx(std::move(archive), fileSize, problem);
    if (archive->has("content.xml"))
        return openOds(std::move(archive), fileSize, problem);
    problem = "это архив ZIP, но не книга .xlsx или .ods";
    return nullptr;
}

} // namespace batch
