#include "engine/test_support.hpp"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/errors.hpp"
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

}  // namespace oradel::testing
