// The point list through every exporter: modes 2, 3, 4 (with its final pass)
// and 5. The first three bytes pick the web page's options; the rest is the
// list. No content may make an exporter fail, and each writes whole lines.
#include <cstdint>

#include "fuzz_support.hpp"
#include "text/utf8.hpp"

using namespace oradel;
using namespace oradel::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint32_t bits = data[0] | (data[1] << 8) | (data[2] << 16);
    const std::string_view list = AsText(data + 3, size - 3);
    const Options options = OptionsFromBits(bits);
    const std::size_t records = CountPointRecords(list);

    const BodyResult geo = RunBodyInMemory(2, list, options);
    Expect(IsWellFormedUtf8(geo.output), "the GEO file is UTF-8");
    Expect(CountCrLfLines(geo.output) + geo.state.leftOutPoints.size() <= 1 + records,
           "the GEO file has at most one line per point after its header");

    const BodyResult ozi = RunBodyInMemory(3, list, options);
    Expect(CountCrLfLines(ozi.output) == 4 + records, "the Ozi file has one line per point");

    const BodyResult page = RunBodyInMemory(4, list, options);
    Expect(IsWellFormedUtf8(page.output), "the web page is UTF-8");
    CountCrLfLines(page.output);

    const BodyResult lk8000 = RunBodyInMemory(5, list, options);
    Expect(CountCrLfLines(lk8000.output) == 2 + records, "the LK8000 file has one line per point");
    return 0;
}
