#include "engine/conversion_job.hpp"

#include <clocale>
#include <system_error>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kNoFile = "Нет файла ";

// Numbers are read and written with a decimal point whatever the user's
// locale; the previous setting comes back however the job ends.
class NumericLocaleGuard {
  public:
    NumericLocaleGuard() {
        if (const char* current = std::setlocale(LC_NUMERIC, nullptr)) saved_ = current;
        std::setlocale(LC_NUMERIC, "C");
    }
    ~NumericLocaleGuard() {
        if (!saved_.empty()) std::setlocale(LC_NUMERIC, saved_.c_str());
    }
    NumericLocaleGuard(const NumericLocaleGuard&) = delete;
    NumericLocaleGuard& operator=(const NumericLocaleGuard&) = delete;

  private:
    std::string saved_;
};

// Removes a file when the scope ends, whether the job succeeded or not.
class RemoveOnExit {
  public:
    explicit RemoveOnExit(fs::path path) : path_(std::move(path)) {}
    ~RemoveOnExit() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    RemoveOnExit(const RemoveOnExit&) = delete;
    RemoveOnExit& operator=(const RemoveOnExit&) = delete;

  private:
    fs::path path_;
};

void RunBody(const ConversionMode& mode, std::FILE* inputFile, std::FILE* outputFile,
             const fs::path& inputPath, const fs::path& outputPath, const Options& options,
             JobState& state) {
    TextInput input(inputFile);
    if (mode.input == InputKind::PointList) input.DecodeUtf8WhenDetected();
    TextOutput output(outputFile, PathText(outputPath));
    ConversionContext context{input, output, options, inputPath, state};
    mode.body(context);
    output.Flush();
}

// Writes the pending file, then turns it into the final output. False when
// the pending file cannot be read back.
bool RunWithPendingFile(const ConversionMode& mode, std::FILE* inputFile, const fs::path& inputPath,
                        const fs::path& output, const Options& options, MessageSink& messages,
                        JobState& state) {
    const fs::path pendingPath = OutputNameFor(mode, inputPath, true);
    RemoveOnExit pendingCleanup(pendingPath);
    {
        AtomicOutputFile pending(pendingPath);
        RunBody(mode, inputFile, pending.File(), inputPath, pendingPath, options, state);
        pending.Commit();
    }
    FileHandle pendingFile = OpenForReading(pendingPath);
    if (!pendingFile) {
        messages.ShowMessage(std::string(kNoFile) + PathText(pendingPath));
        return false;
    }
    AtomicOutputFile page(output);
    TextInput pendingInput(pendingFile.get());
    TextOutput pageOutput(page.File(), PathText(output));
    mode.finish(pendingInput, pageOutput, state);
    pageOutput.Flush();
    pendingFile.reset();
    page.Commit();
    return true;
}

}  // namespace

std::string ReplaceExtension(std::string_view name, std::string_view extension) {
    const std::size_t dot = name.rfind('.');
    const std::size_t separator = name.find_last_of("\\/:");
    std::string result(name);
    if (dot != std::string_view::npos && (separator == std::string_view::npos || dot > separator)) {
        result.resize(dot);
    }
    result += extension;
    return result;
}

std::string OutputNameFor(const ConversionMode& mode, std::string_view inputName,
                          bool pendingTicked) {
    std::string name = ReplaceExtension(inputName, mode.extension);
    if (!mode.suffix.empty()) name.insert(name.size() - mode.extension.size(), mode.suffix);
    if (pendingTicked && mode.pendingBy != nullptr) name += '$';
    return name;
}

fs::path OutputNameFor(const ConversionMode& mode, const fs::path& inputName, bool pendingTicked) {
    return PathFromText(OutputNameFor(mode, std::string_view(PathText(inputName)), pendingTicked));
}

JobOutcome RunConversion(const ConversionMode& mode, const fs::path& input, const Options& options,
                         MessageSink& messages) {
    if (mode.body == nullptr) {
        throw UserError("Conversion mode " + std::to_string(mode.number) +
                        " is not available in this version");
    }
    JobOutcome outcome;
    outcome.output = OutputNameFor(mode, input, false);
    FileHandle inputFile = OpenForReading(input);
    if (!inputFile) {
        messages.ShowMessage(std::string(kNoFile) + PathText(input));
        outcome.inputMissing = true;
        return outcome;
    }
    NumericLocaleGuard decimalPoint;
    JobState state;
    const bool pending = mode.pendingBy != nullptr && options.page.*mode.pendingBy;
    if (pending) {
        if (!RunWithPendingFile(mode, inputFile.get(), input, outcome.output, options, messages,
                                state)) {
            outcome.inputMissing = true;
        }
    } else {
        AtomicOutputFile output(outcome.output);
        RunBody(mode, inputFile.get(), output.File(), input, outcome.output, options, state);
        inputFile.reset();
        output.Commit();
    }
    outcome.leftOutPoints = std::move(state.leftOutPoints);
    return outcome;
}

}  // namespace oradel
