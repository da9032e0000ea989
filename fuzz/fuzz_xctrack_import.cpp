// The XCTrack export import (mode 1). A malformed number ends the import with
// a UserError, the failure the job reports; otherwise every point line gives
// a record of four whole lines.
#include <cstdint>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    oradel::fuzzing::CheckWaypointFileImport(1, oradel::fuzzing::AsText(data, size));
    return 0;
}
