// The point list through every exporter: modes 2, 3, 4 (with its final pass),
// 5 and 6. The first three bytes pick the web page's options; the rest is the
// list. No content may make an exporter fail, each writes whole lines, and
// every export leaves out the same points; the list check names its
// findings on the list's lines.
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
    const std::size_t written = records - geo.state.leftOutPoints.size();
    Expect(CountCrLfLines(geo.output) == 1 + written,
           "the GEO file has one line per readable point after its header");

    const BodyResult ozi = RunBodyInMemory(3, list, options);
    Expect(CountCrLfLines(ozi.output) == 4 + written, "the Ozi file has one line per point");
    Expect(ozi.state.leftOutPoints == geo.state.leftOutPoints, "the Ozi file leaves out the same");

    const BodyResult page = RunBodyInMemory(4, list, options);
    Expect(IsWellFormedUtf8(page.output), "the web page is UTF-8");
    CountCrLfLines(page.output);
    Expect(page.state.leftOutPoints == geo.state.leftOutPoints, "the page reports the same");

    const BodyResult lk8000 = RunBodyInMemory(5, list, options);
    Expect(CountCrLfLines(lk8000.output) == 2 + written, "the LK8000 file has one line per point");
    for (const char c : lk8000.output) {
        const auto byte = static_cast<unsigned char>(c);
        Expect((byte >= 0x20 && byte < 0x7F) || byte == 0xBA || c == '\r' || c == '\n',
               "the LK8000 file is ASCII but for the degree byte");
    }
    Expect(lk8000.output.find(" \r\n") == std::string::npos, "no LK8000 line ends in a blank");

    const BodyResult cup = RunBodyInMemory(6, list, options);
    Expect(IsWellFormedUtf8(cup.output), "the CUP file is UTF-8");
    Expect(CountCrLfLines(cup.output) == 1 + written, "the CUP file has one line per point");
    for (std::size_t end = cup.output.find('\r'), start = 0; end != std::string::npos;
         start = end + 2, end = cup.output.find('\r', start)) {
        Expect(end - start <= 1000, "no CUP line is longer than 1000 bytes");
    }
    CheckListCheck(list);
    return 0;
}
