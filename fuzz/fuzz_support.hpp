// What the fuzz targets share: running a mode's body on bytes held in memory,
// options picked by input bytes, and a check that aborts with a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/conversion_modes.hpp"
#include "engine/options.hpp"

namespace oradel::fuzzing {

// The input of one fuzz run as text.
inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Ends the run as a crash (which libFuzzer records with its input) when
// `holds` is false.
void Expect(bool holds, const char* property);

// First-start options with the web page's options set from the bits of
// `bits`, so that the fuzzer explores every combination the page writer reads.
Options OptionsFromBits(std::uint32_t bits);

struct BodyResult {
    std::string output;  // everything the body wrote
    JobState state;
};

// Runs the body of mode `number` on `input` exactly as the job does, with the
// files in memory. Exceptions propagate.
BodyResult RunBodyInMemory(int number, std::string_view input, const Options& options);

// Runs the import of mode `number` (a waypoint file: one line a point) on
// `input`: it ends with the job's UserError, or every point gives a record
// of four whole lines and no imported text carries list syntax.
void CheckWaypointFileImport(int number, std::string_view input);

// Checks `list` as the list check does (CheckPointList): it ends with a
// UserError, or gives its findings sorted by line, each on a line of the list.
void CheckListCheck(std::string_view list);

// The records PointListReader yields for `list`, read as a job reads it.
std::size_t CountPointRecords(std::string_view list);

// The lines of `text`: each ends with CR LF, the only place a CR or LF may stand.
std::size_t CountCrLfLines(std::string_view text);

}  // namespace oradel::fuzzing
