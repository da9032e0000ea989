// One conversion: derives the output name, opens the input, checks that it
// holds what the mode reads, writes the output beside it and replaces the
// target only when the job ends normally. Numbers are read and written
// without the C library's locale, so the user's decimal separator changes
// nothing.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <unordered_set>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/messages.hpp"
#include "engine/options.hpp"

namespace oradel {

struct JobOutcome {
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

// Throws the UserError that a job on `input` would meet first: "Нет файла"
// for a name that does not exist, or why an existing file cannot be read. A
// front end checks each input once, so that it says so once, not per job.
void CheckInputFile(const std::filesystem::path& input);

// The kind of input a file is: by its content (InputKindOf) when it can be
// read, else by its name.
std::optional<InputKind> InputKindOfFile(const std::filesystem::path& file);

// The point list that an import would replace, and the name under which the
// old list would be kept.
struct ListReplacement {
    std::filesystem::path list;
    std::filesystem::path backup;
};
// nullopt when `mode` is no import or its list does not exist yet.
std::optional<ListReplacement> ListReplacedBy(const ConversionMode& mode,
                                              const std::filesystem::path& input);

// Whether an import may replace an existing point list.
enum class ExistingList { Keep, Replace };

// Runs one job. Every failure is thrown as UserError with the user's message
// and leaves existing files untouched: an input that does not exist or cannot
// be read, one whose content the mode does not read (a GPX file given as a
// point list), an output that is the input file itself (same path, or the
// same file through a symbolic or hard link), a GPX file without points, an
// existing point list that `existing` keeps, and every failure to read or
// write. An import that replaces a list first keeps the old one as its
// backup (BackupNameFor) and says so; one whose list would not change
// changes nothing. Messages besides a failure go to `messages`.
JobOutcome RunConversion(const ConversionMode& mode, const std::filesystem::path& input,
                         const Options& options, MessageSink& messages,
                         ExistingList existing = ExistingList::Keep);

}  // namespace oradel
