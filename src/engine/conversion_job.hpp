// One conversion: derives the output name, opens the input, writes the output
// beside it and replaces the target only when the job ends normally. Numbers
// are read and written without the C library's locale, so the user's decimal
// separator changes nothing.
#pragma once

#include <filesystem>
#include <span>
#include <unordered_set>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/messages.hpp"
#include "engine/options.hpp"

namespace oradel {

struct JobOutcome {
    bool inputMissing = false;     // its message has been shown
    std::filesystem::path output;  // the file written
    std::vector<LeftOutPoint> leftOut;
};

// The points that the jobs of one input left out, each once however many
// jobs met it (known by its record number), in the order first met.
class LeftOutPointList {
  public:
    // Adds the points not met before and returns just those.
    std::span<const LeftOutPoint> Add(std::span<const LeftOutPoint> points);
    const std::vector<LeftOutPoint>& Points() const { return points_; }

  private:
    std::vector<LeftOutPoint> points_;
    std::unordered_set<std::size_t> known_;
};

// Runs one job. A missing input (no regular file of that name) is shown
// through `messages` as "Нет файла" and ends the job normally with
// `inputMissing` set, so that a front end goes on with its next job and can
// still tell that this one wrote nothing. Every other failure is thrown as
// UserError with the user's message and leaves existing files untouched: an
// input that exists but cannot be read, an output that is the input file
// itself (same path, or the same file through a symbolic or hard link), a
// GPX file without points, and every failure to read or write.
JobOutcome RunConversion(const ConversionMode& mode, const std::filesystem::path& input,
                         const Options& options, MessageSink& messages);

}  // namespace oradel
