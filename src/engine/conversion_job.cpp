#include "engine/conversion_job.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kNoFile = "Нет файла ";
constexpr std::string_view kReplacedCharacters =
    "Символы, которых нет в кодировке Windows-1251, заменены: ";

// Runs the mode's body from the input into `outputFile`, which `shownName` names to the user.
void RunBody(const ConversionMode& mode, std::FILE* inputFile, std::FILE* outputFile,
             const fs::path& inputPath, const std::string& shownName, const Options& options,
             JobState& state) {
    TextInput input(inputFile);
    if (mode.input == InputKind::PointList) input.DecodeUtf8WhenDetected();
    TextOutput output(outputFile, shownName);
    ConversionContext context{input, output, options, inputPath, state};
    mode.body(context);
    output.Flush();
    // A GPX file in which no point is found (a track, another program's
    // file) would otherwise replace a point list by an empty one.
    if (mode.input == InputKind::NavitelGpx && std::ftell(outputFile) == 0) {
        throw UserError("No waypoints found in \"" + PathText(inputPath) + "\"");
    }
}

// Writes the page into a pending temporary file, then turns that into the
// final page. The pending file has a unique name and stays open, so nothing
// else can take or remove it, and it is removed however the job ends.
void RunWithPendingFile(const ConversionMode& mode, std::FILE* inputFile, const fs::path& inputPath,
                        const fs::path& output, const Options& options, JobState& state) {
    const std::string shownName = PathText(output);
    TemporaryFile pending(TemporaryFolderFor(output), shownName);
    RunBody(mode, inputFile, pending.File(), inputPath, shownName, options, state);
    if (std::fseek(pending.File(), 0, SEEK_SET) != 0) {
        throw UserError("Cannot write to file \"" + shownName + "\". " + std::strerror(errno));
    }
    AtomicOutputFile page(output);
    TextInput pendingInput(pending.File());
    TextOutput pageOutput(page.File(), shownName);
    mode.finish(pendingInput, pageOutput, state);
    pageOutput.Flush();
    page.Commit();
}

void WriteOutput(const ConversionMode& mode, FileHandle inputFile, const fs::path& input,
                 const fs::path& output, const Options& options, JobState& state) {
    const bool pending = mode.pendingBy != nullptr && options.page.*mode.pendingBy;
    if (pending) {
        RunWithPendingFile(mode, inputFile.get(), input, output, options, state);
        return;
    }
    AtomicOutputFile file(output);
    RunBody(mode, inputFile.get(), file.File(), input, PathText(output), options, state);
    inputFile.reset();
    file.Commit();
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

std::string MissingInputMessage(const fs::path& input) {
    return std::string(kNoFile) + PathText(input);
}

std::span<const LeftOutPoint> LeftOutPointList::Add(std::span<const LeftOutPoint> points) {
    const std::size_t before = points_.size();
    for (const LeftOutPoint& point : points) {
        if (known_.insert(point.recordNumber).second) points_.push_back(point);
    }
    return std::span<const LeftOutPoint>(points_).subspan(before);
}

JobOutcome RunConversion(const ConversionMode& mode, const fs::path& input, const Options& options,
                         MessageSink& messages) {
    JobOutcome outcome;
    outcome.output = OutputNameFor(mode, input, false);
    FileHandle inputFile = OpenInputFile(input);
    if (!inputFile) {
        messages.ShowMessage(MissingInputMessage(input));
        outcome.inputMissing = true;
        return outcome;
    }
    if (IsSameFile(input, outcome.output)) {
        throw UserError("The output \"" + PathText(outcome.output) +
                        "\" is the input file itself; nothing was written.");
    }
    JobState state;
    try {
        WriteOutput(mode, std::move(inputFile), input, outcome.output, options, state);
    } catch (const UserError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw UserError("Not enough memory to convert \"" + PathText(input) + "\".");
    } catch (const std::exception&) {
        // A fault of the program itself: its text is not meant for the user.
        throw UserError("The conversion of \"" + PathText(input) +
                        "\" stopped on an internal error; nothing was written.");
    }
    if (state.replacedTexts > 0) {
        messages.ShowMessage(std::string(kReplacedCharacters) +
                             std::to_string(state.replacedTexts));
    }
    outcome.leftOut = std::move(state.leftOutPoints);
    return outcome;
}

}  // namespace oradel
