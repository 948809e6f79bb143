// Writes the page's HTML at build time: the template web/index.html with the window's ten pages and its
// bottom strip filled in from the window's inventory (names, kinds, captions, start texts, looks,
// tooltips, spoken names), the entries of its lists and drop-downs from the engine's tables, and the
// names of the steps; the vehicle list's file field and the captions of its rejected rows from the
// fleet window's texts; and the web app manifest with the window's caption. The page's own files hold no
// caption, entry or factor of the window.
//
//   page_generator TEMPLATE SITE_FOLDER
//
// The markup follows the window's reading order (its Tab order): each page is a section, each control
// an element whose id is the control's name, with its caption as a <label> tied to it. The window's
// frames become fieldsets, an option button's group is its container, and the factor fields keep the
// window's cyan.
#include "form/fleet_texts.h"
#include "form/inventory.h"
#include "form/module1.h"
#include "form/names.h"
#include "web/list_kinds.h"
#include "web/page_layout.h"

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
namespace look = form::look;

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

// An address with the bytes of its non-ASCII letters percent-encoded in UTF-8, as the window's desktop
// hands it on ("страховка" as "%D1%81%D1%82...").
std::string percentEncoded(std::string_view address)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
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

// The page a control lies on, through the frames that hold it; nothing for the window itself.
std::optional<int> pageOf(const ControlRow &row)
{
    if (const auto page = form::tabPage(row.container))
        return page;
    if (const ControlRow *frame = form::findControl(row.container))
        return pageOf(*frame);
    return std::nullopt;
}

// The row after a row of the inventory, or nothing after the last.
const ControlRow *nextRow(const ControlRow &row)
{
    const auto rows = form::controlRows();
    return &row + 1 == rows.data() + rows.size() ? nullptr : &row + 1;
}

bool isCaptionLabel(const ControlRow &label)
{
    for (const ControlRow &row : form::controlRows())
        if (form::captionLabelOf(row) == &label)
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

// One element of the page as HTML: the tag, the attributes in the order they are set, then either
// nothing more (an element without content, such as <input>) or the content and the closing tag.
class Element {
public:
    explicit Element(std::string_view tag)
        : m_tag(tag)
        , m_html("<" + std::string(tag))
    {
    }

    Element &set(std::string_view name, std::string_view value)
    {
        m_html += ' ' + std::string(name) + "=\"" + escaped(value) + '"';
        return *this;
    }
    Element &setIf(bool wanted, std::string_view name, std::string_view value)
    {
        return wanted ? set(name, value) : *this;
    }
    // A boolean attribute: hidden, ...
    Element &flag(std::string_view name, bool present)
    {
        if (present)
            m_html += ' ' + std::string(name);
        return *this;
    }
    // The classes of the window's looks, after the page's own class when there is one.
    Element &looks(unsigned looks, std::string_view own = {})
    {
        m_html += classAttribute(looks, own);
        return *this;
    }

    std::string empty() const
    {
        return m_html + '>';
    }
    std::string with(std::string_view content) const
    {
        return m_html + '>' + std::string(content) + "</" + m_tag + '>';
    }

private:
    std::string m_tag;
    std::string m_html;
};

std::string pictureHtml(std::string_view control, std::string_view alt)
{
    const std::string name(form::pictureOf(control));
    return Element("img")
        .set("src", name + ".gif")
        .set("srcset", name + "@2x.png 2x")
        .set("alt", alt)
        .empty();
}

// What stands before a control and ties it to its caption.
struct Caption {
    std::string html;       // a <label> before the control, or nothing
    std::string labelledBy; // the id of a label written before, which names this control too
};

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
    Caption captionFor(const ControlRow &row);

    std::string textBox(const ControlRow &row, const Caption &caption);
    std::string comboBox(const ControlRow &row, const Caption &caption);
    std::string listBox(const ControlRow &row, const Caption &caption);
    std::string choice(const ControlRow &row);
    std::string command(const ControlRow &row);
    std::string link(const ControlRow &row);

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
    const ControlRow *frame = form::findControl(row.container);
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
    m_out += Element("p").set("id", row.name).looks(row.looks).with(captionHtml(row.caption)) + "\n";
}

// The caption element before a control: its label on the window as a <label>, or its spoken name when
// the window shows none. A label that already names an earlier control names this one by reference.
Caption Writer::captionFor(const ControlRow &row)
{
    if (const ControlRow *label = form::captionLabelOf(row)) {
        if (emitted.count(label->name))
            return {{}, std::string(label->name)};
        emitted.insert(label->name);
        return {Element("label")
                    .set("id", label->name)
                    .set("for", row.name)
                    .looks(label->looks)
                    .flag("hidden", label->looks & look::kHidden)
                    .with(captionHtml(label->caption)),
            {}};
    }
    if (!row.spoken.empty())
        return {Element("label").set("for", row.name).with(escaped(form::spokenName(row))), {}};
    return {};
}

// A field, typed into; a factor field asks a phone for its decimal keyboard. A label right of the field
// on the same line of the window is its unit ("рублей ").
std::string Writer::textBox(const ControlRow &row, const Caption &caption)
{
    const std::string input = Element("input")
                                  .set("id", row.name)
                                  .looks(row.looks)
                                  .set("value", row.caption)
                                  .setIf(row.looks & look::kCyan, "inputmode", "decimal")
                                  .setIf(!row.tip.empty(), "title", row.tip)
                                  .setIf(!caption.labelledBy.empty(), "aria-labelledby", caption.labelledBy)
                                  .flag("hidden", row.looks & look::kHidden)
                                  .set("autocomplete", "off")
                                  .set("spellcheck", "false")
                                  .empty();
    const ControlRow *next = nextRow(row);
    if (next && next->kind == Kind::Label && next->top == row.top && next->left > row.left
        && !isCaptionLabel(*next)) {
        emitted.insert(next->name);
        const std::string unit
            = Element("span").set("id", next->name).looks(next->looks).with(escaped(next->caption));
        return caption.html + Element("div").set("class", "with-unit").with(input + unit);
    }
    return caption.html + input;
}

// A drop-down that can be typed into: a field with the entries of the window's design as suggestions.
std::string Writer::comboBox(const ControlRow &row, const Caption &caption)
{
    const std::string entries = std::string(row.name) + "-entries";
    std::string options;
    for (const std::string_view entry : form::startEntries(row.name))
        options += Element("option").set("value", entry).with({});
    return caption.html
        + Element("input")
              .set("id", row.name)
              .looks(row.looks)
              .set("list", entries)
              .set("value", row.caption)
              .setIf(!row.tip.empty(), "title", row.tip)
              .setIf(!caption.labelledBy.empty(), "aria-labelledby", caption.labelledBy)
              .flag("hidden", row.looks & look::kHidden)
              .set("autocomplete", "off")
              .set("spellcheck", "false")
              .empty()
        + Element("datalist").set("id", entries).with(options);
}

// A list shows as many rows as its rectangle on the window holds; a list whose entries all fit is as
// tall as they are, wrapped lines and all ("whole"), a longer one scrolls. The start-up fills it.
std::string Writer::listBox(const ControlRow &row, const Caption &caption)
{
    const std::size_t count = form::startEntries(row.name).size();
    const int rows = web::listRows(row.height);
    const bool whole = count > 0 && static_cast<int>(count) <= rows;
    return caption.html
        + Element("select")
              .set("id", row.name)
              .looks(row.looks, whole ? "whole" : "")
              .set("size", std::to_string(rows))
              .setIf(!row.tip.empty(), "title", row.tip)
              .setIf(!caption.labelledBy.empty(), "aria-labelledby", caption.labelledBy)
              .flag("hidden", row.looks & look::kHidden)
              .with({});
}

// An option button or the check box, with its caption as its label; an option without a caption is
// named by the picture beside it, and by its spoken name.
std::string Writer::choice(const ControlRow &row)
{
    std::string text = captionHtml(row.caption);
    const ControlRow *next = nextRow(row);
    if (row.caption.empty() && next && next->kind == Kind::Image) {
        emitted.insert(next->name);
        text = Element("span").set("id", next->name).with(pictureHtml(next->name, "")) + " "
            + escaped(form::spokenName(row));
    }
    const bool option = row.kind == Kind::Option;
    const std::string input = Element("input")
                                  .set("type", option ? "radio" : "checkbox")
                                  .set("id", row.name)
                                  .setIf(option, "name", "group-" + std::string(row.container))
                                  .setIf(!row.tip.empty(), "title", row.tip)
                                  .flag("hidden", row.looks & look::kHidden)
                                  .empty();
    const std::string label = Element("label")
                                  .set("for", row.name)
                                  .looks(row.looks)
                                  .setIf(!row.tip.empty(), "title", row.tip)
                                  .with(text);
    return Element("div").set("class", "choice").with(input + label);
}

// A button, with its caption or its picture. A help button opens its page beside the page, in a page
// of its own: this one keeps the fields.
std::string Writer::command(const ControlRow &row)
{
    const bool picture = row.kind == Kind::Picture;
    const std::string face = picture ? pictureHtml(row.name, form::spokenName(row)) : escaped(row.caption);
    const std::string_view kindClass = picture ? "picture" : "command";
    if (const std::string_view page = form::Module1::helpPageOf(row.name); !page.empty())
        return Element("a")
            .set("id", row.name)
            .set("class", kindClass)
            .set("href", page)
            .set("target", "_blank")
            .with(face);
    return Element("button").set("type", "button").set("id", row.name).set("class", kindClass).with(face);
}

// The mail link starts a message with its subject; the web link is its caption as it stands, and opens
// beside the page, which keeps the fields.
std::string Writer::link(const ControlRow &row)
{
    const bool mail = row.caption.find('@') != std::string_view::npos;
    const std::string target = mail ? percentEncoded(form::Module1::mailMessage(row.caption).text)
                                    : form::Module1::webAddress(row.caption).text;
    return Element("a")
        .set("id", row.name)
        .looks(row.looks)
        .set("href", target)
        .setIf(!mail, "target", "_blank")
        .with(escaped(row.caption));
}

void Writer::control(const ControlRow &row)
{
    emitted.insert(row.name);
    openFrameOf(row);
    const auto field = [](const std::string &html) {
        return Element("div").set("class", "field").with(html) + "\n";
    };
    switch (row.kind) {
    case Kind::TextBox:
        m_out += field(textBox(row, captionFor(row)));
        return;
    case Kind::ComboBox:
        m_out += field(comboBox(row, captionFor(row)));
        return;
    case Kind::ListBox:
        m_out += field(listBox(row, captionFor(row)));
        return;
    case Kind::Option:
    case Kind::Check:
        m_out += choice(row) + "\n";
        return;
    case Kind::Command:
    case Kind::Picture:
        m_out += command(row) + "\n";
        return;
    case Kind::Link:
        m_out += link(row) + "\n";
        return;
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
    if (page == form::kPageCount - 1) {
        static constexpr std::string_view kReport[]
            = {form::kTextReportOption, form::kDocumentReportOption, "Command7"};
        for (const std::string_view name : kReport) {
            std::erase(order, name);
            order.insert(std::find(order.begin(), order.end(), "Command3"), name);
        }
    }
    return order;
}

// The controls of one page in its order, each free label after the control it follows on the window,
// and what Tab does not reach (the hidden start date and time) at the end.
// A page's step marker ("шаг") and heading, which open its section as its heading.
struct PageHeading {
    const ControlRow *marker = nullptr;
    const ControlRow *heading = nullptr;
};

PageHeading headingOf(int page)
{
    PageHeading found;
    for (const ControlRow &row : form::controlRows()) {
        if (pageOf(row) != page || !web::onPage(row))
            continue;
        if (!found.marker && isStepMarker(row))
            found.marker = &row;
        else if (!found.heading && isPageHeading(row))
            found.heading = &row;
    }
    return found;
}

void writeSectionHead(std::string &out, int page, const PageHeading &head)
{
    const std::string number = std::to_string(page + 1);
    const std::string_view stepName = form::stepNames()[static_cast<std::size_t>(page)];
    out += "<section id=\"page" + number + "\" class=\"page\" aria-label=\"" + escaped(stepName) + "\">\n";
    out += "<h2><span class=\"tab\" aria-hidden=\"true\">" + number + "</span>";
    if (head.marker)
        out += " <span id=\"" + escaped(head.marker->name) + "\" class=\"marker\">"
            + escaped(head.marker->caption) + "</span>";
    if (head.heading)
        out += " <span id=\"" + escaped(head.heading->name) + "\">" + captionHtml(head.heading->caption)
            + "</span>";
    out += "</h2>\n";
}

void writePage(std::string &out, int page)
{
    const auto onThisPage = [page](const ControlRow &row) {
        return pageOf(row) == page && web::onPage(row);
    };
    const auto rows = form::controlRows();
    const PageHeading head = headingOf(page);
    writeSectionHead(out, page, head);

    Writer writer(out);
    if (head.marker)
        writer.emitted.insert(head.marker->name);
    if (head.heading)
        writer.emitted.insert(head.heading->name);
    // The labels that name no control and follow the given row on the window.
    const auto freeLabelsAfter = [&](const ControlRow *control) {
        for (const ControlRow *row = control + 1;
             row != rows.data() + rows.size() && (row->kind == Kind::Label || !onThisPage(*row));
             ++row) {
            if (onThisPage(*row) && !writer.emitted.count(row->name) && !isCaptionLabel(*row)) {
                writer.closeFrame();
                writer.freeLabel(*row);
            }
        }
    };
    // Labels between the heading and the first control of the page come first.
    for (const ControlRow &row : rows) {
        if (!onThisPage(row))
            continue;
        if (row.kind != Kind::Label)
            break;
        if (!writer.emitted.count(row.name) && !isCaptionLabel(row))
            writer.freeLabel(row);
    }
    for (const std::string_view name : pageOrder(page)) {
        const ControlRow *row = form::findControl(name);
        if (!row || !onThisPage(*row))
            continue;
        writer.control(*row);
        freeLabelsAfter(row);
    }
    writer.closeFrame();
    for (const ControlRow &row : rows)
        if (onThisPage(row) && !writer.emitted.count(row.name) && row.kind != Kind::Frame)
            writer.control(row);
    writer.closeFrame();
    out += "</section>\n";
}

// The bottom strip: the window's frame directly on the window.
void writeStrip(std::string &out)
{
    out += "<footer id=\"Frame1\"" + classAttribute(form::findControl("Frame1")->looks) + ">\n";
    Writer writer(out);
    for (const std::string_view name : form::tabOrder())
        if (const ControlRow *row = form::findControl(name); row && row->container == "Frame1")
            writer.control(*row);
    out += "</footer>\n";
}

void writeTabs(std::string &out)
{
    out += "<ol>";
    for (int page = 0; page < form::kPageCount; ++page) {
        const std::string number = std::to_string(page + 1);
        out += "<li><a href=\"#page" + number + "\" aria-label=\""
            + escaped(form::stepNames()[static_cast<std::size_t>(page)]) + "\">" + number + "</a></li>";
    }
    out += "</ol>";
}

// The kinds of file the list's field offers, as the fleet window's open dialog does (its patterns,
// "*.csv;*.txt"), each by its extension and its media type: ".csv,text/csv,.txt,text/plain".
std::string listKinds()
{
    std::string kinds;
    const std::string_view patterns = form::fleet_text::kListPatterns;
    for (std::size_t start = 0, end; start < patterns.size(); start = end + 1) {
        end = std::min(patterns.find(';', start), patterns.size());
        const std::string_view extension = patterns.substr(start + 1, end - start - 1); // after the '*'
        for (const std::string_view kind : {extension, web::mediaTypeOf(extension)})
            if (!kind.empty())
                kinds += (kinds.empty() ? "" : ",") + std::string(kind);
    }
    return kinds;
}

// The rejected rows of a list, as the fleet window lists them: a table of the row, the columns and the
// reason, filled in by the page's script; it scrolls by itself, its header in view.
std::string rejectedRowsTable()
{
    namespace ft = form::fleet_text;
    std::string header;
    for (const std::string_view column : {ft::kRowColumn, ft::kColumnsColumn, ft::kReasonColumn})
        header += Element("th").set("scope", "col").with(escaped(column));
    const std::string table
        = Element("table")
              .set("id", "fleet-rejected")
              .with(Element("caption").set("id", "fleet-rejected-caption").with(escaped(ft::kRejectedCaption))
                  + Element("thead").with(Element("tr").with(header)) + Element("tbody").with({}));
    return Element("div")
        .set("class", "rejected-rows")
        .set("role", "region")
        .set("aria-labelledby", "fleet-rejected-caption")
        .set("tabindex", "0")
        .flag("hidden", true)
        .with(table);
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
    for (int i = 0; i < form::kPageCount; ++i)
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
    filled = replace(page, "@LIST_KINDS@", listKinds()) && filled;
    filled = replace(page, "@REJECTED_ROWS@", rejectedRowsTable()) && filled;
    if (!filled) {
        std::fputs(
            "page_generator: the template lacks @TABS@, @PAGES@, @STRIP@, @LIST_KINDS@ or @REJECTED_ROWS@\n",
            stderr);
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
