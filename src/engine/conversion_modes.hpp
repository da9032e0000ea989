// The conversions: one table that the job, the window and the command line
// read. A row says what a mode reads, what it writes and under which name,
// which check box (and settings key) selects it and how the command line
// describes it; the window's own row for it (caption, help line) stands in
// the form's table under the same key.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file_formats.hpp"
#include "engine/messages.hpp"
#include "engine/options.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"

namespace oradel {

// What a mode reads; the input's extension asks for one of these.
enum class InputKind { WaypointFile, NavitelGpx, CupFile, PointList };

// A point of the list that an export left out because its coordinates
// could not be read.
struct LeftOutPoint {
    std::size_t recordNumber = 0;  // its place among the list's records, from 1
    std::string name;              // the name line as read, Windows-1251

    bool operator==(const LeftOutPoint&) const = default;
};

// What a job's body reports besides its output.
struct JobState {
    // Points left out because their coordinates could not be read, in list order.
    std::vector<LeftOutPoint> leftOutPoints;
    // Imported names and comments in which a character Windows-1251 lacks was replaced.
    std::size_t replacedTexts = 0;
    // Further messages for the user, shown after the job has written its output.
    std::vector<Message> notices;
};

// What a mode's body works with. The job owns the files.
struct ConversionContext {
    TextInput& input;
    TextOutput& output;
    const Options& options;
    const std::filesystem::path& inputPath;
    JobState& state;
    FileFormat inputFormat = FileFormat::PlainText;  // as its first lines tell
};

using ModeBody = void (*)(ConversionContext& context);

struct ConversionMode {
    int number;
    std::string_view key;  // its check box's name and settings key, the --set name
    InputKind input;
    std::string_view extension;  // of the output, with its dot
    std::string_view suffix;     // inserted before the extension ("_nav")
    ModeBody body;
    MessageId usageLine;      // its line in the command line's usage text
    bool tickedOnFirstStart;  // its check box on the window's first start
    // Run for an input of its kind when the command line names no mode.
    bool runsByDefault;

    constexpr bool IsImport() const { return input != InputKind::PointList; }
};

// In the order in which a run performs them: imports first, then exports by number.
std::span<const ConversionMode> ConversionModes();
// The mode with that number, or with that key; nullptr for none.
const ConversionMode* FindConversionMode(int number);
const ConversionMode* FindConversionMode(std::string_view key);
// The mode numbers in job order, as "1, 15, 2, 3, 4, 5".
std::string ModeNumberList();

// The input kind that a file's extension asks for: the extension runs from the
// last dot after the last "\", "/" and ":" (so ".txt" alone has one) and is
// compared upper-cased (".WPT", ".GPX", ".TXT"); nullopt for any other.
// `name` is UTF-8 as it stands, so no best fit turns ".txť" into ".txt".
std::optional<InputKind> InputKindForName(std::string_view name);
std::optional<InputKind> InputKindForPath(const std::filesystem::path& path);
// The extension, lower case with its dot, that asks for `kind`.
std::string_view ExtensionOf(InputKind kind);
// The kind of input a file is: by its format where that tells (a GEO text
// named .txt is a waypoint file), else by its name; nullopt for a file no mode
// reads.
std::optional<InputKind> InputKindOf(FileFormat format, const std::filesystem::path& path);
// Throws UserError naming the format when a mode that reads `kind` cannot
// read a file of `format`: a GPX file given as a point list, say.
void CheckReadable(InputKind kind, FileFormat format, const std::filesystem::path& path);

}  // namespace oradel
