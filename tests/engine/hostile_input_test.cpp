// Huge and odd inputs through every mode: each job ends normally or with a
// clear UserError, leaves no half-written file, and takes time linear in the
// input. The time bound is generous: any quadratic step would need hours at
// these sizes. Under a sanitizer the inputs shrink so that the run stays short.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "engine/conversion_job.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/output_names.hpp"
#include "engine/test_support.hpp"
#include "engine/text_input.hpp"
#include "engine/text_output.hpp"
#include "text/markup.hpp"
#include "text/strings.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RecordingMessages;
using testing::ScratchFolder;
using testing::WriteBytes;

#ifdef ORADEL_UNDER_SANITIZER
constexpr std::size_t kShrink = 8;
#else
constexpr std::size_t kShrink = 1;
#endif
constexpr std::size_t kMegabyte = 1 << 20;
constexpr double kGenerousSeconds = 60;
constexpr int kAllModes[] = {1, 15, 2, 3, 4, 5};
constexpr int kListModes[] = {2, 3, 4, 5};

struct JobRun {
    bool failed = false;
    std::string error;  // the UserError's message
    JobOutcome outcome;
    std::vector<std::string> messages;
    double seconds = 0;
};

JobRun RunMode(int mode, const fs::path& input) {
    JobRun run;
    RecordingMessages messages;
    const auto start = std::chrono::steady_clock::now();
    try {
        run.outcome = RunConversion(*FindConversionMode(mode), input, Options(), messages);
    } catch (const UserError& error) {
        run.failed = true;
        run.error = error.what();
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.messages = messages.messages;
    return run;
}

// No temporary output and no pending page is left beside the input.
bool NothingHalfWritten(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp") != std::string::npos || name.ends_with("$")) return false;
    }
    return true;
}

// A job that ended normally wrote its output; one that failed says why and
// wrote nothing. Either way in linear time.
void ExpectEndsClearly(int mode, const fs::path& input, const JobRun& run) {
    SCOPED_TRACE("mode " + std::to_string(mode));
    const fs::path output = OutputNameFor(*FindConversionMode(mode), input);
    if (run.failed) {
        EXPECT_FALSE(run.error.empty());
        EXPECT_FALSE(fs::exists(output));
    } else {
        EXPECT_TRUE(fs::is_regular_file(output));
    }
    EXPECT_TRUE(NothingHalfWritten(input.parent_path()));
    EXPECT_LT(run.seconds, kGenerousSeconds);
}

// The extension of the files `mode` reads.
std::string InputExtension(int mode) {
    return mode == 1 ? ".wpt" : mode == 15 ? ".gpx" : ".txt";
}

// The input for `mode` in its own folder, so that no job's output replaces
// another job's input.
fs::path PlaceInput(const ScratchFolder& folder, int mode, const fs::path& source) {
    const fs::path modeFolder = folder / ("mode" + std::to_string(mode));
    fs::create_directories(modeFolder);
    const fs::path input = modeFolder / ("hostile" + InputExtension(mode));
    fs::create_hard_link(source, input);
    return input;
}

// Runs every mode on `bytes` and hands each outcome to `check`.
void RunAllModes(const std::string& bytes,
                 const std::function<void(int, const fs::path&, const JobRun&)>& check) {
    ScratchFolder folder;
    const fs::path source = folder / "hostile.bytes";
    WriteBytes(source, bytes);
    for (const int mode : kAllModes) {
        const fs::path input = PlaceInput(folder, mode, source);
        const JobRun run = RunMode(mode, input);
        ExpectEndsClearly(mode, input, run);
        check(mode, input, run);
    }
}

// A GPX file without points fails the job rather than giving an empty list.
bool FailedForNoWaypoints(const JobRun& run) {
    return run.failed && run.error.starts_with("No waypoints found in \"");
}

std::string OutputOf(int mode, const fs::path& input) {
    return ReadBytes(OutputNameFor(*FindConversionMode(mode), input));
}

// What a mode writes for a list without points: its headers (or page frame) only.
std::string EmptyListOutput(int mode) {
    return testing::Convert(mode, "", Options(), "hostile" + InputExtension(mode)).output;
}

std::string Repeated(std::string_view unit, std::size_t size) {
    std::string text;
    text.reserve(size + unit.size());
    while (text.size() < size) text += unit;
    text.resize(size);
    return text;
}

std::size_t Count(std::string_view text, std::string_view piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, at + piece.size())) {
        ++count;
    }
    return count;
}

TEST(HostileInput, HundredMegabyteSingleLine) {
    const std::size_t size = 100 * kMegabyte / kShrink;
    RunAllModes(Repeated("ab, cd  <N> [e|f] {1|g} ", size),
                [size](int mode, const fs::path& input, const JobRun& run) {
                    if (mode == 1) {  // not the header, so a point line that does not read
                        EXPECT_TRUE(run.failed);
                        return;
                    }
                    if (mode == 15) {  // no XML: refused
                        EXPECT_NE(run.error.find("not a GPX file"), std::string::npos) << run.error;
                        return;
                    }
                    ASSERT_FALSE(run.failed) << run.error;
                    const std::uintmax_t written =
                        fs::file_size(OutputNameFor(*FindConversionMode(mode), input));
                    if (mode == 4) {
                        EXPECT_GT(written, size / 2);  // the name is kept
                    } else {
                        EXPECT_EQ(run.outcome.leftOut.size(), 1u);  // no coordinates
                    }
                });
}

TEST(HostileInput, MillionBlankLinesGiveAnEmptyList) {
    const std::string blanks = Repeated("\r\n \r\n\t\r\n\r\n\r", 1'000'000 * 2 / kShrink);
    RunAllModes(blanks, [](int mode, const fs::path& input, const JobRun& run) {
        if (mode == 15) {
            EXPECT_TRUE(FailedForNoWaypoints(run)) << run.error;
            return;
        }
        ASSERT_FALSE(run.failed) << run.error;
        const std::string output = OutputOf(mode, input);
        if (mode == 1) {
            EXPECT_EQ(output, "");
        } else {
            EXPECT_EQ(output, EmptyListOutput(mode));
        }
    });
}

TEST(HostileInput, NulBytesAreRefusedAsNoText) {
    RunAllModes(
        std::string(8 * kMegabyte / kShrink, '\0'), [](int, const fs::path&, const JobRun& run) {
            EXPECT_NE(run.error.find("is a file of binary data"), std::string::npos) << run.error;
        });
}

TEST(HostileInput, BinaryGarbageEndsClearly) {
    std::string garbage(8 * kMegabyte / kShrink, '\0');
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (char& c : garbage) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        c = static_cast<char>(state >> 56);
        if (c == '\x1A') c = '\x1B';  // a Ctrl+Z would end the input there
    }
    RunAllModes(garbage, [](int, const fs::path&, const JobRun&) {});
}

TEST(HostileInput, GpxOfLatitudeMarkersOnly) {
    const std::size_t markers = 1'000'000 / kShrink;
    for (const std::string_view marker : {"lat=\"", " lat=\""}) {
        SCOPED_TRACE(std::string(marker));
        RunAllModes(Repeated(marker, markers * marker.size()),
                    [markers](int mode, const fs::path& input, const JobRun& run) {
                        // Not XML: mode 15 refuses the file, as it refuses any text.
                        if (mode != 15 || run.error.find("not a GPX file") != std::string::npos) {
                            return;
                        }
                        ASSERT_FALSE(run.failed) << run.error;
                        const std::string list = OutputOf(mode, input);
                        EXPECT_TRUE(list.empty() || list.ends_with("\r\n\r\n"));
                        EXPECT_LE(Count(list, "\r\n\r\n"), markers);
                    });
    }
}

// A point whose comment is 50 MB of markup brackets: the page expands every
// "[x|y]" once, the waypoint files copy the comment as it is.
TEST(HostileInput, FiftyMegabyteCommentOfBrackets) {
    const std::size_t size = 50 * kMegabyte / kShrink;
    std::string unit = "[x|y]";
    while (unit.size() < 64) unit += "]|}";
    const std::string list = "Point\r\n45.1 6.2\r\n" + Repeated(unit, size) + "\r\n";
    // A cut-off last unit still makes an anchor of "[x|y" (the title runs to the end).
    const std::size_t anchors = size / unit.size() + (size % unit.size() >= 4 ? 1 : 0);
    RunAllModes(list, [anchors](int mode, const fs::path& input, const JobRun& run) {
        if (mode != 4) return;
        ASSERT_FALSE(run.failed) << run.error;
        EXPECT_EQ(Count(OutputOf(mode, input), "\">y</a>"), anchors);
    });
}

// Brackets that never close nest every anchor in the next one's address.
TEST(HostileInput, UnclosedBracketsExpandInLinearTime) {
    const std::size_t brackets = 2 * kMegabyte / kShrink;
    for (const char bracket : {'[', '{'}) {
        const auto start = std::chrono::steady_clock::now();
        std::string expanded;
        ExpandLinkMarkup(std::string(brackets, bracket),
                         [&expanded](std::string_view piece) { expanded += piece; });
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(Count(expanded, "<a href=\""), brackets);
        EXPECT_EQ(expanded.find(bracket), std::string::npos);
        EXPECT_LT(took.count(), kGenerousSeconds);
    }
}

TEST(HostileInput, FolderAsInputIsRefusedInEveryMode) {
    ScratchFolder folder;
    for (const int mode : kAllModes) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        const fs::path input = folder / ("dir" + std::to_string(mode) + InputExtension(mode));
        fs::create_directory(input);
        const JobRun run = RunMode(mode, input);
        EXPECT_TRUE(run.failed);
        EXPECT_EQ(run.error, "Cannot open file \"" + PathText(input) + "\". Not a regular file");
        EXPECT_FALSE(fs::exists(OutputNameFor(*FindConversionMode(mode), input)));
    }
}

// A small valid input of each mode, with a name its output does not take.
struct ValidInput {
    int mode;
    const char* name;
    const char* bytes;
};

constexpr ValidInput kValidInputs[] = {
    {1, "points.wpt", "$FormatGEO\r\nA    N 44 7 24.24    E 042 34 04.08   0  d\r\n"},
    {15, "points.gpx", "<wpt lat=\"1.5\" lon=\"2.5\"><name>A</name></wpt>\r\n"},
    {2, "list.txt", "A <N>\r\n45.1 6.2\r\nc\r\n"},
    {3, "list.txt", "A <N>\r\n45.1 6.2\r\nc\r\n"},
    {4, "list.txt", "A <N>\r\n45.1 6.2\r\nc\r\n"},
    {5, "list.txt", "A <N>\r\n45.1 6.2\r\nc\r\n"},
};

// Where the output should go stands a folder (as root, permissions cannot stop
// a write): the job fails naming the output, and the folder stays as it was.
TEST(HostileInput, OutputThatCannotBeWrittenFailsClearlyInEveryMode) {
    for (const ValidInput& valid : kValidInputs) {
        SCOPED_TRACE("mode " + std::to_string(valid.mode));
        ScratchFolder folder;
        const fs::path input = folder / valid.name;
        WriteBytes(input, valid.bytes);
        const fs::path output = OutputNameFor(*FindConversionMode(valid.mode), input);
        fs::create_directory(output);
        WriteBytes(output / "keep", "kept");
        const JobRun run = RunMode(valid.mode, input);
        ASSERT_TRUE(run.failed);
        EXPECT_NE(run.error.find(PathText(output)), std::string::npos) << run.error;
        EXPECT_EQ(ReadBytes(output / "keep"), "kept");
        EXPECT_TRUE(NothingHalfWritten(folder.Path()));
    }
}

TEST(HostileInput, ReadOnlyFolderFailsClearly) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    ScratchFolder folder;
    const fs::path input = folder / "list.txt";
    WriteBytes(input, "A\r\n45.1 6.2\r\n");
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    for (const int mode : kListModes) {
        const JobRun run = RunMode(mode, input);
        EXPECT_TRUE(run.failed);
        EXPECT_TRUE(run.error.starts_with("Cannot create file \"")) << run.error;
    }
    fs::permissions(folder.Path(), fs::perms::owner_all);
    EXPECT_TRUE(NothingHalfWritten(folder.Path()));
}

TEST(HostileInput, FullDiskFailsTheWriteWithItsReason) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (full == nullptr) GTEST_SKIP() << "no /dev/full";
    {
        TextOutput output(full, "full.wpt");
        try {
            for (int i = 0; i < 10000; ++i) output.WriteLine(std::string(100, 'x'));
            output.Flush();
            FAIL() << "writing to a full disk succeeded";
        } catch (const UserError& error) {
            EXPECT_NE(std::string(error.what()).find("full.wpt"), std::string::npos);
            EXPECT_NE(std::string(error.what()).find(std::strerror(ENOSPC)), std::string::npos);
        }
    }
    std::fclose(full);
}

// Sets the largest file this process may write, as a nearly full disk would,
// for the scope; writes beyond it fail with EFBIG instead of a signal.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST(HostileInput, FullDiskKeepsTheOldOutputInEveryListMode) {
    std::string list;
    for (int i = 0; i < 20000; ++i)
        list += "Point " + std::to_string(i) + "\r\n45.1 6.2\r\nc\r\n\r\n";
    for (const int mode : kListModes) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        ScratchFolder folder;
        const fs::path input = folder / "list.txt";
        WriteBytes(input, list);
        const fs::path output = OutputNameFor(*FindConversionMode(mode), input);
        WriteBytes(output, "old output\r\n");
        JobRun run;
        {
            FileSizeLimit nearlyFull(64 * 1024);
            run = RunMode(mode, input);
        }
        ASSERT_TRUE(run.failed);
        EXPECT_TRUE(run.error.starts_with("Cannot write to file \"")) << run.error;
        EXPECT_EQ(ReadBytes(output), "old output\r\n");
        EXPECT_TRUE(NothingHalfWritten(folder.Path()));
    }
}

}  // namespace
}  // namespace oradel
