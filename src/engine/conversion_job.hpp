// One conversion: derives the output name, opens the input, writes the output
// beside it and replaces the target only when the job ends normally.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/options.hpp"

namespace oradel {

// `name` with its extension (from the last dot after the last "\", "/" and
// ":") replaced by `extension`, which brings its own dot.
std::string ReplaceExtension(std::string_view name, std::string_view extension);

// The output name of `mode` for the input `inputName` (UTF-8 or any ASCII-compatible text).
std::string OutputNameFor(const ConversionMode& mode, std::string_view inputName,
                          bool pendingTicked);
std::filesystem::path OutputNameFor(const ConversionMode& mode,
                                    const std::filesystem::path& inputName, bool pendingTicked);

struct JobOutcome {
    bool inputMissing = false;
    std::filesystem::path output;            // the file written
    std::vector<std::string> leftOutPoints;  // Windows-1251 names
};

// Runs one job. A missing input (or, for the page, a lost pending file) is
// shown through `messages` and ends the job normally; every other failure is
// thrown as UserError and leaves existing files untouched.
JobOutcome RunConversion(const ConversionMode& mode, const std::filesystem::path& input,
                         const Options& options, MessageSink& messages);

}  // namespace oradel
