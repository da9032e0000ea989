#include "engine/test_support.hpp"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/coordinates.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/text_input.hpp"
#include "options/option_controls.hpp"
#include "text/codepage.hpp"

namespace oradel::testing {
namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = fs::temp_directory_path() /
            ("oradel-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

std::string ReadBytes(const fs::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream) throw std::runtime_error("cannot read " + file.string());
    return std::string(std::istreambuf_iterator<char>(stream), {});
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream stream(file, std::ios::binary | std::ios::trunc);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream) throw std::runtime_error("cannot write " + file.string());
}

fs::path DataFile(const std::string& name) {
    return fs::path(ORADEL_TEST_DATA) / name;
}

std::string Windows1251(const std::string& utf8) {
    return Windows1251FromUtf8(utf8);
}

std::string CrLfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

ConversionResult Convert(int mode, const std::string& input, const Options& options,
                         const std::string& inputName) {
    const ConversionMode* conversion = FindConversionMode(mode);
    if (conversion == nullptr) throw std::invalid_argument("no such mode");
    ScratchFolder folder;
    const fs::path inputPath = folder / inputName;
    WriteBytes(inputPath, input);
    RecordingMessages messages;
    ConversionResult result;
    result.outcome = RunConversion(*conversion, inputPath, options, messages);
    result.messages = messages.messages;
    if (fs::exists(result.outcome.output)) result.output = ReadBytes(result.outcome.output);
    return result;
}

std::string FailureOf(const std::function<void()>& run, Language language) {
    try {
        run();
    } catch (const UserError& error) {
        return error.UserMessage().Text(language);
    }
    return {};
}

std::string Repeated(std::string_view unit, std::size_t size) {
    std::string text;
    while (text.size() < size) text += unit;
    text.resize(size);
    return text;
}

ConversionResult Convert(int mode, const std::string& input) {
    return Convert(mode, input, Options());
}

std::vector<std::string> SplitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n') {
            line += bytes[i];
            continue;
        }
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

Options WithChanges(const OptionChanges& changes) {
    Options options;
    for (const auto& [name, value] : changes) {
        const OptionControl& control = *FindOptionControl(name);
        if (control.IsCheckBox()) {
            control.SetTicked(options, value == "1");
        } else {
            control.SetText(options, value);
        }
    }
    return options;
}

std::vector<ListPoint> ListPoints(const std::string& list) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", list);
    FileHandle file = OpenInputFile(folder / "list.txt");
    TextInput input(file.get());
    input.DecodeUtf8WhenDetected();
    PointListReader reader(input);
    PointRecord record;
    std::vector<ListPoint> points;
    while (reader.Next(record)) {
        Position position;
        if (!ReadPosition(record.latText, record.lonText, position)) continue;
        points.push_back({record.name, position.lat, position.lon, position.altitude});
    }
    return points;
}

}  // namespace oradel::testing
