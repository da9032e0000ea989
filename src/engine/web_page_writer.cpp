// The page start, the section headings and the point blocks of the web page,
// and the pass that puts the filter buttons into the finished page. Text from
// the list is Windows-1251 and becomes UTF-8 as it goes into a line; the page
// itself is UTF-8, so its Cyrillic literals are written as they stand.

#include "engine/web_page_writer.hpp"

#include <array>

#include "engine/files.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/web_page_parts.hpp"
#include "text/codepage.hpp"
#include "text/markup.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

using web_page::kFilterPlaceholder;

constexpr std::array<std::string_view, 9> kFilterStyle = {
    "<style>",
    ".filterDiv {color: #000000; display: none;}",
    ".show {display: block;}",
    ".container { margin-top: 20px; overflow: hidden;}",
    ".btn {border: none; outline: none; padding: 12px 16px; background-color: #f1f1f1; cursor: "
    "pointer;}",
    ".btn:hover { background-color: #ddd;}",
    ".btn.active {background-color: #777; color: white;}",
    "</style>",
    "",
};

std::string Utf8(std::string_view ansi) {
    return AnsiToUtf8Text(ansi);
}

// The input's file name up to its first "." (empty without one), in
// Windows-1251. A file name that is not UTF-8 is taken as Windows-1251 bytes.
// Control characters, which only some file systems allow in names, become
// spaces so that the title stays on its line.
std::string PageTitle(const std::filesystem::path& inputPath) {
    const std::string name = PathText(inputPath.filename());
    std::string title = IsWellFormedUtf8(name) ? Cp1251FromUtf8(name) : name;
    const std::size_t dot = title.find('.');
    title.resize(dot == std::string::npos ? 0 : dot);
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return title;
}

void WriteButtonBar(TextOutput& out, const PageOptions& options) {
    out.WriteLine("<div id=\"myBtnContainer\">");
    out.WriteLine("<button class=\"btn active\" onclick=\"filterSelection('all')\">Все</button>");
    if (options.collapsible) {
        out.WriteLine("<button class=\"btn\" onclick=\"det_open()\">Вид</button>");
    }
    out.WriteLine("<button class=\"btn\" onclick=\"filterPlus()\">+</button>");
    out.WriteLine(kFilterPlaceholder);
    out.WriteLine("</div>");
    out.WriteLine("");
    out.WriteLine("<div class=\"container\">");
}

void WritePageStart(TextOutput& out, const PageOptions& options, const std::string& title) {
    const std::string utf8Title = Utf8(title);
    out.WriteLine("<html>");
    out.WriteLine("<head>");
    out.WriteLine("<title> " + utf8Title + " </title>");
    out.WriteLine("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    out.WriteLine("<meta name=\"viewport\" content=\"width=device-width\">");
    out.WriteLine("</head>");
    out.WriteLine("");
    if (options.filter) {
        for (const std::string_view line : kFilterStyle) out.WriteLine(line);
    }
    out.WriteLine("<body>");
    out.WriteLine("<h3><font color=#1E90FF>" + utf8Title + "</font></h3><p>");
    if (options.filter) WriteButtonBar(out, options);
}

// The filter tag of a name with every run of spaces made one space.
std::string FilterText(std::string_view name) {
    std::string text = ExtractFilterTag(name);
    ReplaceAll(text, "  ", " ");
    return text;
}

// Adds the words of a filter text that the page has not seen yet, in order.
// Every word is kept whole, however many there are and however long.
void CollectFilterWords(std::string_view filterText, JobState& state) {
    std::string_view rest = filterText;
    std::string_view word;
    while (!rest.empty()) {
        if (rest.find(' ') != std::string_view::npos) {
            SplitFirstField(rest, word, " ");
        } else {
            word = rest;
            rest = {};
        }
        word = TrimView(word);
        if (word.empty()) continue;
        auto [known, added] = state.knownFilterWords.emplace(word);
        if (added) state.filterWords.push_back(*known);
    }
}

// What the point blocks of a page share: the page's options and buffers reused from point to point,
// so that a point costs no allocations once the buffers have grown to the longest line.
struct PointBlockWriter {
    TextOutput& out;
    JobState& state;
    const PageOptions& options;
    std::string line;      // the line being put together
    std::string lat, lon;  // the point's coordinate texts in UTF-8

    void WriteHeadings(const PointRecord& point);
    void WriteComments(const PointRecord& point);
    void WriteCoordinates(const PointRecord& point);
    void WritePointBlock(const PointRecord& point);
};

void PointBlockWriter::WriteHeadings(const PointRecord& point) {
    for (const std::string& heading : point.headings) {
        line.assign("<b><font color=#008000>");
        AppendUtf8FromCp1251(line, ExpandLinkMarkup(heading));
        line += "</font></b><br>";
        out.WriteLine(line);
    }
}

// Every comment line ends in "<br>" except a last one that ended the file;
// a record closed by a blank line (or the end of the file) adds an empty line.
void PointBlockWriter::WriteComments(const PointRecord& point) {
    for (std::size_t i = 0; i < point.comments.size(); ++i) {
        line.clear();
        AppendUtf8FromCp1251(line, ExpandLinkMarkup(point.comments[i]));
        const bool endsFile = !point.closedByBlank && i + 1 == point.comments.size();
        if (!endsFile) line += "<br>";
        out.WriteLine(line);
    }
    if (point.closedByBlank) out.WriteLine("");
}

// The coordinate line and the link lines built from the same coordinates.
void PointBlockWriter::WriteCoordinates(const PointRecord& point) {
    lat.clear();
    AppendUtf8FromCp1251(lat, point.latText);
    lon.clear();
    AppendUtf8FromCp1251(lon, point.lonText);
    line.assign(lat);
    line += ' ';
    line += lon;
    line += "<br>";
    out.WriteLine(line);
    web_page::WriteLinkLines(out, options, lat, lon, line);
}

void PointBlockWriter::WritePointBlock(const PointRecord& point) {
    if (options.filter) {
        const std::string filterText = FilterText(point.name);
        line.assign("<div class=\"filterDiv ");
        AppendUtf8FromCp1251(line, filterText);
        line += "\">";
        out.WriteLine(line);
        CollectFilterWords(filterText, state);
    }
    if (options.collapsible) {
        out.WriteLine(options.startOpen ? "<details open><summary>" : "<details><summary>");
    }
    line.assign("<b>");
    AppendUtf8FromCp1251(line, StripFilterTag(point.name));
    line += "</b><br>";
    out.WriteLine(line);
    if (options.collapsible) out.WriteLine("</summary>");
    WriteCoordinates(point);
    WriteComments(point);
    if (options.collapsible) out.WriteLine("</details>");
    out.WriteLine("<p>");
    if (options.filter) {
        out.WriteLine("</div>");
        out.WriteLine("");
    }
}

}  // namespace

void WriteWebPage(ConversionContext& context) {
    const PageOptions& options = context.options.page;
    PointBlockWriter writer{context.output, context.state, options, {}, {}, {}};
    WritePageStart(context.output, options, PageTitle(context.inputPath));
    PointListReader reader(context.input);
    PointRecord point;
    while (reader.Next(point)) {
        writer.WriteHeadings(point);
        writer.WritePointBlock(point);
    }
    web_page::WritePageEnd(context.output, options);
}

void FinishWebPage(TextInput& pending, TextOutput& page, const JobState& state) {
    std::string line, utf8Word, button;
    while (!pending.AtEnd()) {
        pending.ReadLine(line);
        if (line != kFilterPlaceholder) {
            page.WriteLine(line);  // UTF-8 already
            continue;
        }
        for (const std::string& word : state.filterWords) {
            utf8Word.clear();
            AppendUtf8FromCp1251(utf8Word, word);
            button.assign("<button class=\"btn\" onclick=\"filterSelection('");
            button += utf8Word;
            button += "')\">";
            button += utf8Word;
            button += "</button>";
            page.WriteLine(button);
        }
    }
}

}  // namespace oradel
