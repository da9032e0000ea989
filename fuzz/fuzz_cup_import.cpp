// The SeeYou CUP import (mode 16). Coordinates that do not read end the
// import with a UserError, the failure the job reports; otherwise every
// waypoint line gives a record of four whole lines.
#include <cstdint>

#include "fuzz_support.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    oradel::fuzzing::CheckWaypointFileImport(16, oradel::fuzzing::AsText(data, size));
    return 0;
}
