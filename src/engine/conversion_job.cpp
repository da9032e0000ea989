#include "engine/conversion_job.hpp"

#include <cstdio>
#include <new>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/output_names.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

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
        throw UserError(Message(MessageId::NoWaypointsFound, {PathText(inputPath)}));
    }
}

void WriteOutput(const ConversionMode& mode, FileHandle inputFile, const fs::path& input,
                 const fs::path& output, const Options& options, JobState& state) {
    AtomicOutputFile file(output);
    RunBody(mode, inputFile.get(), file.File(), input, PathText(output), options, state);
    inputFile.reset();
    file.Commit();
}

}  // namespace

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
    outcome.output = OutputNameFor(mode, input);
    FileHandle inputFile = OpenInputFile(input);
    if (!inputFile) {
        messages.ShowMessage(Message(MessageId::NoFile, {PathText(input)}));
        outcome.inputMissing = true;
        return outcome;
    }
    if (IsSameFile(input, outcome.output)) {
        throw UserError(Message(MessageId::OutputIsInput, {PathText(outcome.output)}));
    }
    JobState state;
    try {
        WriteOutput(mode, std::move(inputFile), input, outcome.output, options, state);
    } catch (const UserError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw UserError(Message(MessageId::OutOfMemory, {PathText(input)}));
    } catch (const std::exception&) {
        // A fault of the program itself: its text is not meant for the user.
        throw UserError(Message(MessageId::InternalError, {PathText(input)}));
    }
    if (state.replacedTexts > 0) {
        messages.ShowMessage(Message(MessageId::ReplacedCharacters, {state.replacedTexts}));
    }
    for (const Message& notice : state.notices) messages.ShowMessage(notice);
    outcome.leftOut = std::move(state.leftOutPoints);
    return outcome;
}

}  // namespace oradel
