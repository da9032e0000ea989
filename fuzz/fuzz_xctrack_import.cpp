// The XCTrack export import (mode 1). A malformed number ends the import with
// a UserError, the failure the job reports; otherwise every point line gives
// a record of four whole lines.
#include <cstdint>

#include "engine/errors.hpp"
#include "fuzz_support.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Options options;
    BodyResult result;
    try {
        result = RunBodyInMemory(1, AsText(data, size), options);
    } catch (const UserError&) {
        return 0;
    }
    Expect(CountCrLfLines(result.output) % 4 == 0, "every point gives four lines");
    return 0;
}
