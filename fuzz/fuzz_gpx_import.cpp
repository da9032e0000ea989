// The Navitel GPX import (mode 15): any bytes end normally in a point list of
// whole records, each closed by an empty line, or with the UserError of an
// encoding it cannot read. No imported text carries list syntax or control
// characters.
#include <cstdint>
#include <string_view>

#include "engine/errors.hpp"
#include "fuzz_support.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Options options;
    BodyResult result;
    try {
        result = RunBodyInMemory(15, AsText(data, size), options);
    } catch (const UserError&) {
        return 0;
    }
    CountCrLfLines(result.output);
    Expect(result.output.empty() || result.output.ends_with("\r\n\r\n"),
           "the list ends with the empty line of its last record");
    for (const char c : result.output) {
        const auto byte = static_cast<unsigned char>(c);
        Expect(std::string_view("<>[]{}|\x7F").find(c) == std::string_view::npos &&
                   (byte >= 0x20 || c == '\r' || c == '\n'),
               "imported text carries no list syntax and no control character");
    }
    return 0;
}
