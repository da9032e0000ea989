#include "engine/conversion_job.hpp"

#include <cstdio>
#include <new>

#include "engine/errors.hpp"
#include "engine/file_formats.hpp"
#include "engine/files.hpp"
#include "engine/output_names.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"
#include "text/codepage.hpp"

namespace oradel {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Runs the mode's body from the input into `outputFile`, which `shownName` names to the user.
void RunBody(const ConversionMode& mode, std::FILE* inputFile, std::FILE* outputFile,
             const fs::path& inputPath, const std::string& shownName, const Options& options,
             JobState& state, FileFormat format) {
    TextInput input(inputFile, PathText(inputPath));
    if (mode.input == InputKind::PointList) input.DecodeUtf8WhenDetected();
    TextOutput output(outputFile, shownName);
    ConversionContext context{input, output, options, inputPath, state, format};
    mode.body(context);
    output.Flush();
    // A GPX file in which no point is found (a track, another program's
    // file) would otherwise replace a point list by an empty one.
    if (mode.input == InputKind::NavitelGpx && std::ftell(outputFile) == 0) {
        throw UserError(Message(MessageId::NoWaypointsFound, {PathText(inputPath)}));
    }
}

// Copies the list that an import wrote (Windows-1251) into `list`. A list
// whose bytes the list reader would take for UTF-8 (they start with a
// byte-order mark, or they are all well-formed UTF-8) is written in UTF-8
// with the mark instead, so that it reads back as the same text.
void CopyAsList(std::FILE* written, std::FILE* list, const std::string& shownName) {
    const bool readAsUtf8 = TextInput(written).DecodeUtf8WhenDetected();
    std::rewind(written);
    TextOutput out(list, shownName);
    if (readAsUtf8) out.Write(kByteOrderMark);
    std::string chunk;
    TextInput in(written);
    while (in.ReadChunk(chunk)) out.Write(readAsUtf8 ? Utf8FromWindows1251(chunk) : chunk);
    out.Flush();
}

// An import: the list is written in full before it may replace an old one,
// which is kept as its backup; a list that would not change stays as it is.
// What the name `output` leads to is checked (AtomicOutputFile) before
// anything is written beside it.
void WriteList(const ConversionMode& mode, std::FILE* inputFile, const fs::path& input,
               const fs::path& output, const Options& options, JobState& state, FileFormat format) {
    const std::string shownName = PathText(output);
    AtomicOutputFile list(output);
    TemporaryFile written(TemporaryFolderFor(output), shownName, FinalLinkTarget(output));
    RunBody(mode, inputFile, written.File(), input, shownName, options, state, format);
    std::rewind(written.File());
    CopyAsList(written.File(), list.File(), shownName);
    if (NameIsFree(output)) return list.Commit();
    if (list.SameAsTarget()) {
        state.notices.emplace_back(MessageId::ListUnchanged,
                                   std::vector<MessageArgument>{shownName});
        return;
    }
    const fs::path backup = BackupNameFor(output);
    list.CommitKeepingOld(backup);
    state.notices.emplace_back(MessageId::ListKeptAs,
                               std::vector<MessageArgument>{PathText(backup)});
}

void WriteExport(const ConversionMode& mode, FileHandle inputFile, const fs::path& input,
                 const fs::path& output, const Options& options, JobState& state,
                 FileFormat format) {
    AtomicOutputFile file(output);
    RunBody(mode, inputFile.get(), file.File(), input, PathText(output), options, state, format);
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

void CheckInputFile(const fs::path& input) {
    OpenInputFile(input);
}

std::optional<InputKind> InputKindOfFile(const fs::path& file) {
    try {
        const FileHandle input = OpenInputFile(file);
        return InputKindOf(RecogniseFormat(ReadHead(input.get(), kRecognisedBytes)), file);
    } catch (const UserError&) {
        return InputKindForPath(file);
    }
}

std::optional<ListReplacement> ListReplacedBy(const ConversionMode& mode, const fs::path& input) {
    const fs::path list = OutputNameFor(mode, input);
    if (!mode.IsImport() || NameIsFree(list)) return std::nullopt;
    return ListReplacement{list, BackupNameFor(list)};
}

JobOutcome RunConversion(const ConversionMode& mode, const fs::path& input, const Options& options,
                         MessageSink& messages, ExistingList existing) {
    JobOutcome outcome;
    outcome.output = OutputNameFor(mode, input);
    FileHandle inputFile = OpenInputFile(input);
    if (IsSameFile(input, outcome.output)) {
        throw UserError(Message(MessageId::OutputIsInput, {PathText(outcome.output)}));
    }
    const FileFormat format = RecogniseFormat(ReadHead(inputFile.get(), kRecognisedBytes));
    CheckReadable(mode.input, format, input);
    const std::optional<ListReplacement> replaced = ListReplacedBy(mode, input);
    if (replaced && existing == ExistingList::Keep) {
        throw UserError(
            Message(MessageId::ListExists, {PathText(replaced->list), PathText(replaced->backup)}));
    }
    JobState state;
    try {
        if (mode.IsImport()) {
            WriteList(mode, inputFile.get(), input, outcome.output, options, state, format);
        } else {
            WriteExport(mode, std::move(inputFile), input, outcome.output, options, state, format);
        }
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
