// The Navitel GPX import (mode 15): any bytes end normally in a point list of
// whole records, each closed by an empty line.
#include <cstdint>

#include "fuzz_support.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Options options;
    const BodyResult result = RunBodyInMemory(15, AsText(data, size), options);
    CountCrLfLines(result.output);
    Expect(result.output.empty() || result.output.ends_with("\r\n\r\n"),
           "the list ends with the empty line of its last record");
    return 0;
}
