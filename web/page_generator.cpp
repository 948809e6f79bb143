// Writes the page's HTML at build time: the template web/index.html with the window's ten pages and its
// bottom strip filled in from the window's inventory (names, kinds, captions, start texts, looks,
// tooltips, spoken names), the entries of its lists and drop-downs from the engine's tables, and the
// names of the steps; and the web app manifest with the window's caption. The page's own files hold no
// caption, entry or factor of the window.
//
//   page_generator TEMPLATE SITE_FOLDER
//
// The markup follows the window's reading order (its Tab order): each page is a section, each control
// an element whose id is the control's name, with its caption as a <label> tied to it. The window's
// frames become fieldsets, an option button's group is its container, and the factor fields keep the
// window's cyan.
#include "web/page_layout.h"
#include "form/inventory.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace {

using form::ControlRow;
using form::Kind;
namespace look = window::look;

constexpr int kPageCount = 10;

std::string escaped(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A caption as element content: a line break of the caption is a line break of the page.
std::string captionHtml(std::string_view caption)
{
    std::string out;
    std::size_t start = 0;
    for (std::size_t at; (at = caption.find('\n', start)) != std::string_view::npos; start = at + 1)
        out += escaped(caption.substr(start, at - start)) + "<br>";
    return out + escaped(caption.substr(start));
}

// A text of a query string in UTF-8, percent-encoded as the window's desktop hands it on.
std::string percentEncoded(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
            || byte == '-' || byte == '.' || byte == '_' || byte == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

std::string classesOf(unsigned looks)
{
    std::string classes;
    for (const web::LookClass &entry : web::kLookClasses) {
        if (looks & entry.look) {
            if (!classes.empty())
                classes += ' ';
            classes += entry.name;
        }
    }
    return classes;
}

std::string classAttribute(unsigned looks, std::string_view more = {})
{
    std::string classes = classesOf(looks);
    if (!more.empty())
        classes = classes.empty() ? std::string(more) : std::string(more) + ' ' + classes;
    return classes.empty() ? std::string() : " class=\"" + classes + "\"";
}

const ControlRow *rowNamed(std::string_view name)
{
    for (const ControlRow &row : form::controlRows())
        if (row.name == name)
            return &row;
    return nullptr;
}

// The page a control lies on, through the frames that hold it; nothing for the window itself.
std::optional<int> pageOf(const ControlRow &row)
{
    if (const auto page = form::tabPage(row.container))
        return page;
    if (const ControlRow *frame = rowNamed(row.container))
        return pageOf(*frame);
    return std::nullopt;
}

// The row after a row of the inventory, or nothing after the last.
const ControlRow *nextRow(const ControlRow &row)
{
    const auto rows = form::controlRows();
    return &row + 1 == rows.data() + rows.size() ? nullptr : &row + 1;
}

// The label that names a control on the window, when its spoken name is a label's name.
const ControlRow *captionLabelOf(const ControlRow &row)
{
    const ControlRow *label = row.spoken.empty() ? nullptr : rowNamed(row.spoken);
    return label && label->kind == Kind::Label ? label : nullptr;
}

bool isCaptionLabel(const ControlRow &label)
{
    for (const ControlRow &row : form::controlRows())
        if (captionLabelOf(row) == &label)
            return true;
    return false;
}

// The window's labels that stand for no one: a step marker ("шаг") and a page's heading.
bool isStepMarker(const ControlRow &row)
{
    return row.kind == Kind::Label && (row.looks & look::kHeading) && row.caption == "шаг";
}

bool isPageHeading(const ControlRow &row)
{
    return row.kind == Kind::Label && (row.looks & look::kHeading) && !isStepMarker(row);
}

// Never seen in the window, so not on the page: the master list of towns (the town search reads the
// engine's table) and the characters the document report reads from labels.
bool isOffPage(const ControlRow &row)
{
    return row.name == "List4" || (row.looks & (look::kBadge | look::kCopyright));
}

std::string pictureHtml(std::string_view control, std::string_view alt)
{
    const std::string name(form::pictureOf(control));
    return "<img src=\"" + name + ".gif\" srcset=\"" + name + "@2x.png 2x\" alt=\"" + escaped(alt) + "\">";
}

// Writes the controls of one container (a page or the bottom strip) as the window reads them.
class Writer {
public:
    explicit Writer(std::string &out)
        : m_out(out)
    {
    }

    void control(const ControlRow &row);
    void freeLabel(const ControlRow &row);
    void closeFrame();

    std::set<std::string_view> emitted;

private:
    void openFrameOf(const ControlRow &row);
    std::string captionFor(const ControlRow &row, std::string &labelledBy);

    std::string &m_out;
    std::string_view m_frame; // the fieldset open now
};

void Writer::closeFrame()
{
    if (!m_frame.empty())
        m_out += "</fieldset>\n";
    m_frame = {};
}

void Writer::openFrameOf(const ControlRow &row)
{
    const ControlRow *frame = rowNamed(row.container);
    const std::string_view wanted = frame && frame->kind == Kind::Frame ? frame->name : std::string_view();
    if (wanted == m_frame)
        return;
    closeFrame();
    if (!wanted.empty() && wanted != "Frame1") {
        m_out += "<fieldset id=\"" + std::string(wanted) + "\">\n";
        m_frame = wanted;
    }
}

void Writer::freeLabel(const ControlRow &row)
{
    emitted.insert(row.name);
    m_out += "<p id=\"" + escaped(row.name) + "\"" + classAttribute(row.looks) + ">"
        + captionHtml(row.caption) + "</p>\n";
}

// The caption element before a control: its label on the window as a <label>, or its spoken name when
// the window shows none. A label that already names an earlier control names this one by reference.
std::string Writer::captionFor(const ControlRow &row, std::string &labelledBy)
{
    const std::string id = escaped(row.name);
    if (const ControlRow *label = captionLabelOf(row)) {
        if (emitted.count(label->name)) {
            labelledBy = " aria-labelledby=\"" + escaped(label->name) + "\"";
            return {};
        }
        emitted.insert(label->name);
        const std::string hiddenLabel = (label->looks & look::kHidden) ? " hidden" : "";
        return "<label id=\"" + escaped(label->name) + "\" for=\"" + id + "\"" + classAttribute(label->looks)
            + hiddenLabel + ">" + captionHtml(label->caption) + "</label>";
    }
    if (!row.spoken.empty())
        return "<label for=\"" + id + "\">" + escaped(row.spoken) + "</label>";
    return {};
}

void Writer::control(const ControlRow &row)
{
    emitted.insert(row.name);
    openFrameOf(row);
    const std::string id = escaped(row.name);
    const std::string tip = row.tip.empty() ? std::string() : " title=\"" + escaped(row.tip) + "\"";
    const std::string hidden = (row.looks & look::kHidden) ? " hidden" : "";
    std::string labelledBy;
    std::string caption = captionFor(row, labelledBy);

    switch (row.kind) {
    case Kind::TextBox: {
        const std::string mode = (row.looks & look::kCyan) ? " inputmode=\"decimal\"" : "";
        const std::string input = "<input id=\"" + id + "\"" + classAttribute(row.looks) + " value=\""
            + escaped(row.caption) + "\"" + mode + tip + labelledBy + hidden
            + " autocomplete=\"off\" spellcheck=\"false\">";
        // A label right of the field on the same line of the window is its unit ("рублей ").
        const ControlRow *next = nextRow(row);
        if (next && next->kind == Kind::Label && next->top == row.top && next->left > row.left
            && !isCaptionLabel(*next)) {
            emitted.insert(next->name);
            m_out += "<div class=\"field\">" + caption + "<div class=\"with-unit\">" + input + "<span id=\""
                + escaped(next->name) + "\"" + classAttribute(next->looks) + ">" + escaped(next->caption)
                + "</span></div></div>\n";
            return;
        }
        m_out += "<div class=\"field\">" + caption + input + "</div>\n";
        return;
    }
    case Kind::ComboBox: {
        m_out += "<div class=\"field\">" + caption + "<input id=\"" + id + "\"" + classAttribute(row.looks)
            + " list=\"" + id + "-entries\" value=\"" + escaped(row.caption) + "\"" + tip + labelledBy
            + hidden + " autocomplete=\"off\" spellcheck=\"false\"><datalist id=\"" + id + "-entries\">";
        for (const std::string_view entry : window::comboEntries(row.name))
            m_out += "<option value=\"" + escaped(entry) + "\"></option>";
        m_out += "</datalist></div>\n";
        return;
    }
    case Kind::ListBox: {
        const std::vector<std::string_view> entries = window::listEntries(row.name);
        // A list whose entries all fit its rows is as tall as they are, wrapped lines and all; a longer one
        // scrolls.
        const int rows = web::listRows(row.height);
        const std::string whole = !entries.empty() && static_cast<int>(entries.size()) <= rows ? "whole" : "";
        m_out += "<div class=\"field\">" + caption + "<select id=\"" + id + "\""
            + classAttribute(row.looks, whole) + " size=\"" + std::to_string(rows) + "\"" + tip + labelledBy
            + hidden + ">";
        for (const std::string_view entry : entries)
            m_out += "<option>" + escaped(entry) + "</option>";
        m_out += "</select></div>\n";
        return;
    }
    case Kind::Option:
    case Kind::Check: {
        const std::string type = row.kind == Kind::Option ? "radio" : "checkbox";
        const std::string group
            = row.kind == Kind::Option ? " name=\"group-" + escaped(row.container) + "\"" : std::string();
        // An option without a caption is named by the picture beside it, and by its spoken name.
        std::string text = captionHtml(row.caption);
        const ControlRow *next = nextRow(row);
        if (row.caption.empty() && next && next->kind == Kind::Image) {
            emitted.insert(next->name);
            text = "<span id=\"" + escaped(next->name) + "\">" + pictureHtml(next->name, "") + "</span> "
                + escaped(row.spoken);
        }
        m_out += "<div class=\"choice\"><input type=\"" + type + "\" id=\"" + id + "\"" + group + tip + hidden
            + "><label for=\"" + id + "\"" + classAttribute(row.looks) + tip + ">" + text
            + "</label></div>\n";
        return;
    }
    case Kind::Command:
    case Kind::Picture: {
        const std::string face
            = row.kind == Kind::Picture ? pictureHtml(row.name, row.spoken) : escaped(row.caption);
        const std::string kindClass = row.kind == Kind::Picture ? "picture" : "command";
        // A help button opens its page beside the page, in a page of its own: this one keeps the fields.
        if (const std::string_view page = form::Module1::helpPageOf(row.name); !page.empty())
            m_out += "<a id=\"" + id + "\" class=\"" + kindClass + "\" href=\"" + std::string(page)
                + "\" target=\"_blank\">" + face + "</a>\n";
        else
            m_out += "<button type=\"button\" id=\"" + id + "\" class=\"" + kindClass + "\">" + face
                + "</button>\n";
        return;
    }
    case Kind::Link: {
        // The mail link starts a message with its subject; the web link is its caption as it stands.
        // The web page opens beside the page, which keeps the fields.
        std::string target(row.caption);
        std::string opens = " target=\"_blank\"";
        if (row.caption.find('@') != std::string_view::npos) {
            target = "mailto:" + target + "?Subject=" + percentEncoded(form::Module1::kMailSubject);
            opens.clear();
        }
        m_out += "<a id=\"" + id + "\"" + classAttribute(row.looks) + " href=\"" + escaped(target) + "\""
            + opens + ">" + escaped(row.caption) + "</a>\n";
        return;
    }
    case Kind::Label:
        freeLabel(row);
        return;
    case Kind::Frame:
    case Kind::Image:
        return;
    }
}

// The order in which a page lists its controls: the window's Tab order, except on the premium page,
// where the page puts "ОК" and the total right after the categories and the report after them, as a
// single column reads best.
std::vector<std::string_view> pageOrder(int page)
{
    std::vector<std::string_view> order(form::tabOrder().begin(), form::tabOrder().end());
    if (page == kPageCount - 1) {
        static constexpr std::string_view kReport[] = {"Option8", "Option9", "Command7"};
        for (const std::string_view name : kReport) {
            std::erase(order, name);
            order.insert(std::find(order.begin(), order.end(), "Command3"), name);
        }
    }
    return order;
}

// The controls of one page in its order, each free label after the control it follows on the window,
// and what Tab does not reach (the hidden start date and time) at the end.
void writePage(std::string &out, int page)
{
    const auto onPage = [page](const ControlRow &row) {
        return pageOf(row) == page && !isOffPage(row);
    };
    const auto rows = form::controlRows();
    const std::string number = std::to_string(page + 1);
    const std::string_view stepName = form::stepNames()[static_cast<std::size_t>(page)];

    const ControlRow *marker = nullptr;
    const ControlRow *heading = nullptr;
    for (const ControlRow &row : rows) {
        if (!onPage(row))
            continue;
        if (!marker && isStepMarker(row))
            marker = &row;
        else if (!heading && isPageHeading(row))
            heading = &row;
    }

    out += "<section id=\"page" + number + "\" class=\"page\" aria-label=\"" + escaped(stepName) + "\">\n";
    out += "<h2><span class=\"tab\" aria-hidden=\"true\">" + number + "</span>";
    if (marker)
        out += " <span id=\"" + escaped(marker->name) + "\" class=\"marker\">" + escaped(marker->caption)
            + "</span>";
    if (heading)
        out += " <span id=\"" + escaped(heading->name) + "\">" + captionHtml(heading->caption) + "</span>";
    out += "</h2>\n";

    Writer writer(out);
    if (marker)
        writer.emitted.insert(marker->name);
    if (heading)
        writer.emitted.insert(heading->name);
    // The labels that name no control and follow the given row on the window.
    const auto freeLabelsAfter = [&](const ControlRow *control) {
        for (const ControlRow *row = control + 1;
             row != rows.data() + rows.size() && (row->kind == Kind::Label || !onPage(*row));
             ++row) {
            if (onPage(*row) && !writer.emitted.count(row->name) && !isCaptionLabel(*row)) {
                writer.closeFrame();
                writer.freeLabel(*row);
            }
        }
    };
    // Labels between the heading and the first control of the page come first.
    for (const ControlRow &row : rows) {
        if (!onPage(row))
            continue;
        if (row.kind != Kind::Label)
            break;
        if (!writer.emitted.count(row.name) && !isCaptionLabel(row))
            writer.freeLabel(row);
    }
    for (const std::string_view name : pageOrder(page)) {
        const ControlRow *row = rowNamed(name);
        if (!row || !onPage(*row))
            continue;
        writer.control(*row);
        freeLabelsAfter(row);
    }
    writer.closeFrame();
    for (const ControlRow &row : rows)
        if (onPage(row) && !writer.emitted.count(row.name) && row.kind != Kind::Frame)
            writer.control(row);
    writer.closeFrame();
    out += "</section>\n";
}

// The bottom strip: the window's frame directly on the window.
void writeStrip(std::string &out)
{
    out += "<footer id=\"Frame1\"" + classAttribute(rowNamed("Frame1")->looks) + ">\n";
    Writer writer(out);
    for (const std::string_view name : form::tabOrder())
        if (const ControlRow *row = rowNamed(name); row && row->container == "Frame1")
            writer.control(*row);
    out += "</footer>\n";
}

void writeTabs(std::string &out)
{
    out += "<ol>";
    for (int page = 0; page < kPageCount; ++page) {
        const std::string number = std::to_string(page + 1);
        out += "<li><a href=\"#page" + number + "\" aria-label=\""
            + escaped(form::stepNames()[static_cast<std::size_t>(page)]) + "\">" + number + "</a></li>";
    }
    out += "</ol>";
}

bool readFile(const std::string &path, std::string &text)
{
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[8192];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool writeFile(const std::string &path, std::string_view text)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool replace(std::string &text, std::string_view marker, std::string_view content)
{
    const std::size_t at = text.find(marker);
    if (at == std::string::npos)
        return false;
    text.replace(at, marker.size(), content);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: page_generator TEMPLATE SITE_FOLDER\n", stderr);
        return 2;
    }
    std::string page;
    if (!readFile(argv[1], page)) {
        std::fprintf(stderr, "page_generator: cannot read %s\n", argv[1]);
        return 1;
    }
    std::string pages;
    for (int i = 0; i < kPageCount; ++i)
        pages += "\n" + [&] {
            std::string one;
            writePage(one, i);
            return one;
        }();
    std::string strip;
    writeStrip(strip);
    std::string tabs;
    writeTabs(tabs);

    const std::string caption = escaped(form::kFormCaption);
    bool filled = true;
    while (page.find("@CAPTION@") != std::string::npos)
        replace(page, "@CAPTION@", caption);
    filled = replace(page, "@TABS@", tabs) && filled;
    filled = replace(page, "@PAGES@", pages) && filled;
    filled = replace(page, "@STRIP@", strip) && filled;
    if (!filled) {
        std::fputs("page_generator: the template lacks @TABS@, @PAGES@ or @STRIP@\n", stderr);
        return 1;
    }

    // The installed app's name is the window's caption; it opens on the page and works offline.
    const std::string manifest = "{\n  \"name\": \"" + std::string(form::kFormCaption)
        + "\",\n  \"short_name\": \"" + std::string(form::kFormCaption)
        + "\",\n  \"lang\": \"ru\",\n  \"start_url\": \"./index.html\",\n  \"scope\": \"./\",\n"
          "  \"display\": \"standalone\",\n  \"background_color\": \"#ffffff\",\n  \"theme_color\": \"#1f4e8c\",\n"
          "  \"icons\": [\n    {\"src\": \"icon.svg\", \"sizes\": \"any\", \"type\": \"image/svg+xml\"},\n"
          "    {\"src\": \"icon-256.png\", \"sizes\": \"256x256\", \"type\": \"image/png\"}\n  ]\n}\n";

    const std::string folder = argv[2];
    if (!writeFile(folder + "/index.html", page) || !writeFile(folder + "/manifest.webmanifest", manifest)) {
        std::fprintf(stderr, "page_generator: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
