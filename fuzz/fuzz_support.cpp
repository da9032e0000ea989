#include "fuzz_support.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/list_checker.hpp"
#include "engine/options.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"

namespace oradel::fuzzing {
namespace {

// A read-only FILE over a copy of `bytes` (fmemopen refuses a zero size).
FileHandle OpenMemory(std::string& bytes) {
    if (bytes.empty()) return FileHandle(std::tmpfile());
    return FileHandle(fmemopen(bytes.data(), bytes.size(), "rb"));
}

// A FILE whose bytes end up in a string.
class MemoryOutput {
  public:
    MemoryOutput() : file_(open_memstream(&buffer_, &size_)) {
        if (file_ == nullptr) throw std::runtime_error("open_memstream failed");
    }
    ~MemoryOutput() {
        if (file_ != nullptr) std::fclose(file_);
        std::free(buffer_);
    }
    MemoryOutput(const MemoryOutput&) = delete;
    MemoryOutput& operator=(const MemoryOutput&) = delete;

    std::FILE* File() const { return file_; }
    std::string Bytes() {
        std::fflush(file_);
        return std::string(buffer_, size_);
    }

  private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* file_;
};

}  // namespace

void Expect(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

Options OptionsFromBits(std::uint32_t bits) {
    using P = PageOptions;
    static constexpr bool P::*kBoxes[] = {
        &P::filter,       &P::collapsible,      &P::startOpen,
        &P::windy,        &P::soundingDiagram,  &P::yandexNowcast,
        &P::windMap,      &P::googleMap,        &P::yandexMap,
        &P::thermalMap,   &P::weatherLineBreak, &P::mapLineBreak,
        &P::trackViewer,  &P::trackConverter,   &P::coordinateConverter,
        &P::trafficFines, &P::meteonova,        &P::heightMap,
    };
    Options options;
    for (std::size_t i = 0; i < std::size(kBoxes); ++i) options.page.*kBoxes[i] = (bits >> i) & 1u;
    options.page.carNumber = (bits >> 20) & 1u ? "\xC0\x30\x30\x30\x41\x41" : "";
    return options;
}

BodyResult RunBodyInMemory(int number, std::string_view input, const Options& options) {
    const ConversionMode* mode = FindConversionMode(number);
    if (mode == nullptr) throw std::logic_error("no such mode");
    std::string bytes(input);
    FileHandle inputFile = OpenMemory(bytes);
    MemoryOutput output;
    BodyResult result;
    {
        TextInput in(inputFile.get());
        if (mode->input == InputKind::PointList) in.DecodeUtf8WhenDetected();
        TextOutput out(output.File(), "fuzz output");
        const std::filesystem::path inputPath = "fuzz list.txt";
        ConversionContext context{in, out, options, inputPath, result.state};
        mode->body(context);
        out.Flush();
    }
    result.output = output.Bytes();
    return result;
}

void CheckWaypointFileImport(int number, std::string_view input) {
    const Options options;
    BodyResult result;
    try {
        result = RunBodyInMemory(number, input, options);
    } catch (const UserError&) {
        return;
    }
    Expect(CountCrLfLines(result.output) % 4 == 0, "every point gives four lines");
    Expect(result.output.find_first_of("<>[]{}|") == std::string::npos,
           "imported text carries no list syntax");
}

void CheckListCheck(std::string_view list) {
    std::string bytes(list);
    FileHandle file = OpenMemory(bytes);
    std::vector<Diagnostic> found;
    try {
        TextInput input(file.get(), "fuzz list.txt");
        const bool utf8 = input.DecodeUtf8WhenDetected();
        found = CheckPointList(input, utf8);
    } catch (const UserError&) {
        return;
    }
    const std::size_t lines = static_cast<std::size_t>(std::count(list.begin(), list.end(), '\n') +
                                                       std::count(list.begin(), list.end(), '\r')) +
                              1;
    for (std::size_t i = 0; i < found.size(); ++i) {
        Expect(found[i].line >= 1 && found[i].line <= lines,
               "every finding is on a line of the list");
        Expect(i == 0 || found[i - 1].line <= found[i].line, "the findings are sorted by line");
    }
}

std::size_t CountPointRecords(std::string_view list) {
    std::string bytes(list);
    FileHandle file = OpenMemory(bytes);
    TextInput input(file.get());
    input.DecodeUtf8WhenDetected();
    PointListReader reader(input);
    PointRecord record;
    std::size_t count = 0;
    while (reader.Next(record)) ++count;
    return count;
}

std::size_t CountCrLfLines(std::string_view text) {
    std::size_t lines = 0;
    for (std::size_t at = text.find_first_of("\r\n"); at != std::string_view::npos;
         at = text.find_first_of("\r\n", at + 2)) {
        Expect(text.substr(at, 2) == "\r\n", "a CR or LF stands only in a CR LF line end");
        ++lines;
    }
    Expect(text.empty() || text.ends_with("\r\n"), "the last line ends with CR LF");
    return lines;
}

}  // namespace oradel::fuzzing
