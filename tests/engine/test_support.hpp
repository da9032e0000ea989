// Shared helpers of the engine and command-line tests: scratch folders, whole
// files as bytes, and running one conversion over text held in memory.
#pragma once

#include <filesystem>
#include <optional>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/conversion_job.hpp"
#include "engine/options.hpp"

// Defined in builds under AddressSanitizer, whose own memory and time
// tests that measure the program must not count.
#if defined(__SANITIZE_ADDRESS__)
#define ORADEL_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORADEL_UNDER_SANITIZER 1
#endif
#endif

namespace oradel::testing {

// A fresh folder under the system's temporary folder, removed with its contents.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
// A golden or input file under tests/data.
std::filesystem::path DataFile(const std::string& name);

// Readable UTF-8 test text as the Windows-1251 bytes the engine works with.
std::string Windows1251(const std::string& utf8);
// Lines joined with CR LF after each.
std::string CrLfLines(const std::vector<std::string>& lines);
// A file's lines, split at CR LF, LF or a lone CR.
std::vector<std::string> SplitLines(std::string_view bytes);
// The message of the UserError that `run` throws; empty when it throws none.
std::string FailureOf(const std::function<void()>& run, Language language = Language::English);

// `unit` repeated to `size` bytes, the last copy cut.
std::string Repeated(std::string_view unit, std::size_t size);

// Options changed from the first-start state by control name and value: "1"
// or "0" for a check box, the Windows-1251 text of an edit field.
using OptionChanges = std::vector<std::pair<std::string, std::string>>;
Options WithChanges(const OptionChanges& changes);

class RecordingMessages final : public MessageSink {
  public:
    // The text the window would show.
    void ShowMessage(const Message& message) override {
        messages.push_back(message.Text(Language::Russian));
    }
    std::vector<std::string> messages;
};

struct ConversionResult {
    std::string output;  // bytes of the file written, empty when none
    JobOutcome outcome;
    std::vector<std::string> messages;
};

// Writes `input` to a scratch file named `inputName`, runs `mode` on it and reads the output.
ConversionResult Convert(int mode, const std::string& input, const Options& options,
                         const std::string& inputName = "list.txt");
ConversionResult Convert(int mode, const std::string& input);

// The points of a list as its reader takes them: name (Windows-1251),
// position, altitude; a point whose coordinates do not read is left out,
// as the exports leave it out.
struct ListPoint {
    std::string name;
    double lat, lon;
    std::optional<long> altitude;
};
std::vector<ListPoint> ListPoints(const std::string& list);

}  // namespace oradel::testing
