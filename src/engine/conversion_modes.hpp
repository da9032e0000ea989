// The six conversions: one table read by the job, the window and the command line.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/options.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"

namespace oradel {

enum class InputKind { XCTrackExport, NavitelGpx, PointList };

// State of one job that its body fills and the front end or the
// page's filter pass reads afterwards.
struct JobState {
    // Names (as read, Windows-1251) of points left out because their
    // coordinates could not be read.
    std::vector<std::string> leftOutPoints;
    // Distinct filter words of the page, in order of first appearance.
    std::vector<std::string> filterWords;
    std::unordered_set<std::string> knownFilterWords;
};

// What a mode's body works with. The job owns the files.
struct ConversionContext {
    TextInput& input;
    TextOutput& output;
    const Options& options;
    const std::filesystem::path& inputPath;
    JobState& state;
};

using ModeBody = void (*)(ConversionContext& context);
// Turns the finished pending page into the final page.
using FinishingPass = void (*)(TextInput& pending, TextOutput& page, const JobState& state);

struct ConversionMode {
    int number;               // 1, 15, 2, 3, 4, 5
    bool Options::*tickedBy;  // the option that selects it
    InputKind input;
    std::string_view extension;  // of the output, with its dot
    std::string_view suffix;     // inserted before the extension ("_nav")
    // When this option is set, the body writes a pending file (output name +
    // "$") that the finishing pass turns into the output; null for none.
    bool PageOptions::*pendingBy;
    ModeBody body;
    FinishingPass finish;
};

// In the fixed order in which a run performs them: 1, 15, 2, 3, 4, 5.
std::span<const ConversionMode> ConversionModes();
// The mode with that number, or nullptr.
const ConversionMode* FindConversionMode(int number);
// The input kind that a file's extension asks for: the extension runs from the
// last dot after the last "\", "/" and ":" (so ".txt" alone has one) and is
// compared upper-cased (".WPT", ".GPX", ".TXT"); nullopt for any other.
// `name` is UTF-8 as it stands, so no best fit turns ".txť" into ".txt".
std::optional<InputKind> InputKindForName(std::string_view name);
std::optional<InputKind> InputKindForPath(const std::filesystem::path& path);

}  // namespace oradel
