// The page start, the section headings and the point blocks of the web page.
// With the filter option the list is read twice: first for the filter words,
// whose buttons stand at the top of the page, then for the page. Text from
// the list is Windows-1251 and becomes UTF-8 as it goes into a line; the page
// itself is UTF-8, so its Cyrillic literals are written as they stand.

#include "engine/web_page_writer.hpp"

#include <array>
#include <unordered_set>
#include <vector>

#include "engine/export_points.hpp"
#include "engine/files.hpp"
#include "engine/web_page_parts.hpp"
#include "text/codepage.hpp"
#include "text/markup.hpp"
#include "text/strings.hpp"
#include "text/utf8.hpp"

namespace oradel {
namespace {

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

std::string Utf8(std::string_view windows1251) {
    return Utf8FromWindows1251(windows1251);
}

// Text that is not the list author's own HTML (the input's file name, the
// filter words) stands in the page as text: the characters that could open a
// tag, an entity or end an attribute become character references.
void AppendHtmlText(std::string& out, std::string_view text) {
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
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
}

// A filter word inside the single-quoted script string of a button's
// onclick attribute: the characters that could end the string or the
// attribute, or start an entity, become \xNN escapes, which the script reads
// back as the same word.
void AppendScriptString(std::string& out, std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || std::string_view("\\'\"&<>").find(c) != std::string_view::npos) {
            out += "\\x";
            AppendHex(out, byte, 2, HexCase::Upper);
        } else {
            out += c;
        }
    }
}

// The input's file name up to its first "." (empty without one), in
// Windows-1251. A file name that is not UTF-8 is taken as Windows-1251 bytes.
// Control characters, which only some file systems allow in names, become
// spaces so that the title stays on its line.
std::string PageTitle(const std::filesystem::path& inputPath) {
    const std::string name = PathText(inputPath.filename());
    std::string title = IsWellFormedUtf8(name) ? Windows1251FromUtf8(name) : name;
    const std::size_t dot = title.find('.');
    title.resize(dot == std::string::npos ? 0 : dot);
    for (char& c : title) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return title;
}

// The distinct filter words of the list's names, in order of first appearance.
// Every word is kept whole, however many there are and however long.
class FilterWords {
  public:
    void Add(std::string_view filterText);
    const std::vector<std::string>& Words() const { return words_; }

  private:
    std::vector<std::string> words_;
    std::unordered_set<std::string> known_;
};

void FilterWords::Add(std::string_view filterText) {
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
        if (!word.empty() && known_.emplace(word).second) words_.emplace_back(word);
    }
}

// A point's division carries each of its filter words as a class with this
// prefix, so that no word can be one of the page's own class names ("show",
// "active", "btn") or the script's "all".
constexpr std::string_view kFilterClassPrefix = "f-";

// One button per filter word, in the order of first appearance.
void WriteFilterButtons(TextOutput& page, const FilterWords& filterWords) {
    std::string utf8Word, button;
    for (const std::string& word : filterWords.Words()) {
        utf8Word.clear();
        AppendUtf8FromWindows1251(utf8Word, word);
        button.assign("<button class=\"btn\" onclick=\"filterSelection('");
        button += kFilterClassPrefix;
        AppendScriptString(button, utf8Word);
        button += "')\">";
        AppendHtmlText(button, utf8Word);
        button += "</button>";
        page.WriteLine(button);
    }
}

void WriteButtonBar(TextOutput& out, const PageOptions& options, const FilterWords& filterWords) {
    out.WriteLine("<div id=\"myBtnContainer\">");
    out.WriteLine("<button class=\"btn active\" onclick=\"filterSelection('all')\">Все</button>");
    if (options.collapsible) {
        out.WriteLine("<button class=\"btn\" onclick=\"det_open()\">Вид</button>");
    }
    out.WriteLine("<button class=\"btn\" onclick=\"filterPlus()\">+</button>");
    WriteFilterButtons(out, filterWords);
    out.WriteLine("</div>");
    out.WriteLine("");
    out.WriteLine("<div class=\"container\">");
}

void WritePageStart(TextOutput& out, const PageOptions& options, const std::string& title,
                    const FilterWords& filterWords) {
    std::string utf8Title;
    AppendHtmlText(utf8Title, Utf8(title));
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
    if (options.filter) WriteButtonBar(out, options, filterWords);
}

// The filter tag of a name with every run of spaces made one space.
std::string FilterText(std::string_view name) {
    std::string text = ExtractFilterTag(name);
    CollapseRuns(text, ' ');
    return text;
}

// What the point blocks of a page share: the page's options and buffers reused from point to point,
// so that a point costs no allocations once the buffers have grown to the longest line.
struct PointBlockWriter {
    TextOutput& out;
    const PageOptions& options;
    std::string line;  // the line being put together

    void WriteExpanded(std::string_view text);
    void WriteHeadings(const PointRecord& point);
    void WriteComments(const PointRecord& point);
    void WriteCoordinates(const ExportPoint& point);
    void WritePointBlock(const ExportPoint& point);
};

// Writes the text with its markup expanded, in pieces: the expansion of a
// hostile line can be thirty times longer than the line and is never held whole.
void PointBlockWriter::WriteExpanded(std::string_view text) {
    ExpandLinkMarkup(text, [this](std::string_view piece) {
        line.clear();
        AppendUtf8FromWindows1251(line, piece);
        out.Write(line);
    });
}

void PointBlockWriter::WriteHeadings(const PointRecord& point) {
    for (const std::string& heading : point.headings) {
        out.Write("<b><font color=#008000>");
        WriteExpanded(heading);
        out.WriteLine("</font></b><br>");
    }
}

// Every comment line ends in "<br>" except a last one that ended the file;
// a record closed by a blank line (or the end of the file) adds an empty line.
void PointBlockWriter::WriteComments(const PointRecord& point) {
    for (std::size_t i = 0; i < point.comments.size(); ++i) {
        WriteExpanded(point.comments[i]);
        const bool endsFile = !point.closedByBlank && i + 1 == point.comments.size();
        out.WriteLine(endsFile ? "" : "<br>");
    }
    if (point.closedByBlank) out.WriteLine("");
}

// The coordinate line as the list has it, and the link lines when the
// coordinates can be read, built from them with a decimal comma made a point.
void PointBlockWriter::WriteCoordinates(const ExportPoint& point) {
    const PointRecord& record = point.record;
    line.clear();
    AppendUtf8FromWindows1251(line, record.latText);
    line += ' ';
    AppendUtf8FromWindows1251(line, record.lonText);
    line += "<br>";
    out.WriteLine(line);
    if (!point.readable) return;
    // Texts that read as numbers are ASCII, the same in UTF-8.
    web_page::WriteLinkLines(out, options, point.position.latText, point.position.lonText, line);
}

void PointBlockWriter::WritePointBlock(const ExportPoint& exportPoint) {
    const PointRecord& point = exportPoint.record;
    if (options.filter) {
        line.assign("<div class=\"filterDiv ");
        const std::string filterText = FilterText(point.name);
        std::string_view words = filterText, word, separator;  // none before the first word
        while (!words.empty()) {
            SplitFirstField(words, word, " ");
            line += separator;
            line += kFilterClassPrefix;
            AppendHtmlText(line, Utf8(word));
            separator = " ";
        }
        line += "\">";
        out.WriteLine(line);
    }
    if (options.collapsible) {
        out.WriteLine(options.startOpen ? "<details open><summary>" : "<details><summary>");
    }
    line.assign("<b>");
    AppendUtf8FromWindows1251(line, StripFilterTag(point.name));
    line += "</b><br>";
    out.WriteLine(line);
    if (options.collapsible) out.WriteLine("</summary>");
    WriteCoordinates(exportPoint);
    WriteComments(point);
    if (options.collapsible) out.WriteLine("</details>");
    out.WriteLine("<p>");
    if (options.filter) {
        out.WriteLine("</div>");
        out.WriteLine("");
    }
}

// The filter words of every name in the list.
FilterWords ReadFilterWords(TextInput& input) {
    FilterWords filterWords;
    PointListReader reader(input);
    PointRecord record;
    while (reader.Next(record)) filterWords.Add(FilterText(record.name));
    return filterWords;
}

}  // namespace

void WriteWebPage(ConversionContext& context) {
    const PageOptions& options = context.options.page;
    FilterWords filterWords;
    if (options.filter) {
        filterWords = ReadFilterWords(context.input);
        context.input.Restart();
    }
    PointBlockWriter writer{context.output, options, {}};
    WritePageStart(context.output, options, PageTitle(context.inputPath), filterWords);
    ExportPointReader reader(context);
    ExportPoint point;
    while (reader.NextRecord(point)) {
        writer.WriteHeadings(point.record);
        writer.WritePointBlock(point);
    }
    web_page::WritePageEnd(context.output, options);
}

}  // namespace oradel
