// Long and odd inputs through every mode: each job ends normally or with a
// clear UserError and leaves no half-written file; the work on the inputs
// that could make a step quadratic grows in proportion to them. (Memory:
// cli_test.cpp, where each run is a process of its own.)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <set>
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
using testing::Repeated;
using testing::ScratchFolder;
using testing::WriteBytes;

constexpr std::size_t kMegabyte = 1 << 20;
// The modes by number, as the mode table has them: every one, and the exports.
std::vector<int> ModeNumbers(bool exportsOnly) {
    std::vector<int> numbers;
    for (const ConversionMode& mode : ConversionModes()) {
        if (!exportsOnly || !mode.IsImport()) numbers.push_back(mode.number);
    }
    return numbers;
}
const std::vector<int> kAllModes = ModeNumbers(false);
const std::vector<int> kListModes = ModeNumbers(true);

struct JobRun {
    bool failed = false;
    std::string error;  // the UserError's message
    JobOutcome outcome;
    std::vector<std::string> messages;
};

JobRun RunMode(int mode, const fs::path& input) {
    JobRun run;
    RecordingMessages messages;
    try {
        run.outcome = RunConversion(*FindConversionMode(mode), input, Options(), messages);
    } catch (const UserError& error) {
        run.failed = true;
        run.error = error.what();
    }
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
// wrote nothing.
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
}

// The extension of the files `mode` reads.
std::string InputExtension(int mode) {
    return mode == 1 ? ".wpt" : mode == 15 ? ".gpx" : mode == 16 ? ".cup" : ".txt";
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

std::size_t Count(std::string_view text, std::string_view piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string_view::npos;
         at = text.find(piece, at + piece.size())) {
        ++count;
    }
    return count;
}

TEST(HostileInput, LongSingleLine) {
    const std::size_t size = 4 * kMegabyte;
    RunAllModes(Repeated("ab, cd  <N> [e|f] {1|g} ", size),
                [size](int mode, const fs::path& input, const JobRun& run) {
                    if (mode == 1 || mode == 16) {  // no header: a point line that does not read
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
    const std::string blanks = Repeated("\r\n \r\n\t\r\n\r\n\r", 1'000'000);
    RunAllModes(blanks, [](int mode, const fs::path& input, const JobRun& run) {
        if (mode == 15) {
            EXPECT_TRUE(FailedForNoWaypoints(run)) << run.error;
            return;
        }
        ASSERT_FALSE(run.failed) << run.error;
        const std::string output = OutputOf(mode, input);
        if (mode == 1 || mode == 16) {
            EXPECT_EQ(output, "");
        } else {
            EXPECT_EQ(output, EmptyListOutput(mode));
        }
    });
}

TEST(HostileInput, NulBytesAreRefusedAsNoText) {
    RunAllModes(std::string(2 * kMegabyte, '\0'), [](int, const fs::path&, const JobRun& run) {
        EXPECT_NE(run.error.find("is a file of binary data"), std::string::npos) << run.error;
    });
}

TEST(HostileInput, BinaryGarbageEndsClearly) {
    std::string garbage(2 * kMegabyte, '\0');
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (char& c : garbage) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        c = static_cast<char>(state >> 56);
        if (c == '\x1A') c = '\x1B';  // a Ctrl+Z would end the input there
    }
    RunAllModes(garbage, [](int, const fs::path&, const JobRun&) {});
}

// A point whose comment is 4 MB of markup brackets: the page expands every
// "[x|y]" once, the waypoint files copy the comment as it is.
TEST(HostileInput, LongCommentOfBrackets) {
    const std::size_t size = 4 * kMegabyte;
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

// The processor time of `work`, the least of three runs.
double CpuSeconds(const std::function<void()>& work) {
    double least = 1e9;
    for (int run = 0; run < 3; ++run) {
        const std::clock_t start = std::clock();
        work();
        least = std::min(least, double(std::clock() - start) / CLOCKS_PER_SEC);
    }
    return least;
}

// Markup that never closes and a GPX of unfinished tokens: four times the
// input takes about four times the work, far from the sixteen of a
// quadratic step.
TEST(HostileInput, WorkGrowsInProportionToTheInput) {
    const auto expand = [](std::string_view unit) {
        return [unit](std::size_t size) {
            const std::string line = Repeated(unit, size);
            std::size_t expanded = 0;
            ExpandLinkMarkup(line,
                             [&expanded](std::string_view piece) { expanded += piece.size(); });
            EXPECT_GT(expanded, size);
        };
    };
    const auto import = [](std::string_view start, std::string_view unit) {
        return [start, unit](std::size_t size) {
            testing::Convert(15,
                             "<wpt lat='1' lon='2'/>" + std::string(start) + Repeated(unit, size),
                             Options(), "in.gpx");
        };
    };
    const struct {
        const char* label;
        std::function<void(std::size_t)> work;
    } cases[] = {
        {"unclosed links", expand("[")},       {"unclosed phones", expand("{(")},
        {"links in phones", expand("[{ - |")}, {"a tag of attributes", import("<wpt", " lat='1'")},
        {"a comment", import("<!--", "-")},    {"CDATA", import("<wpt><name><![CDATA[", "]")},
    };
    constexpr std::size_t kSize = 200'000;
    for (const auto& c : cases) {
        const double small = CpuSeconds([&] { c.work(kSize); });
        const double large = CpuSeconds([&] { c.work(4 * kSize); });
        std::printf("%s: %.4f %.4f\n", c.label, small, large);
        EXPECT_LT(large, 8 * small + 0.01) << c.label << ": " << small << " s, then " << large;
    }
}

// Twenty thousand names that the cut makes equal: each numbered in its turn,
// all different (the numbering's work per name does not grow with the file).
TEST(HostileInput, EqualNamesAreNumberedInLinearTime) {
    const std::size_t points = 20'000;
    std::string list;
    for (std::size_t i = 0; i < points; ++i) {
        list += "Gornaya Vershina Bolshaya " + std::to_string(i % 7) + "\r\n1 2\r\n\r\n";
    }
    RunAllModes(list, [points](int mode, const fs::path& input, const JobRun& run) {
        if (mode != 5 && mode != 6) return;
        ASSERT_FALSE(run.failed) << run.error;
        const std::vector<std::string> lines = testing::SplitLines(OutputOf(mode, input));
        std::set<std::string> names;
        // After the header, "W NAME A ..." or "\"NAME\",...".
        for (std::size_t at = mode == 5 ? 2 : 1; at < lines.size(); ++at) {
            const std::size_t start = mode == 5 ? 2 : 1;
            names.insert(lines[at].substr(start, lines[at].find(" \""[mode - 5], start) - start));
        }
        EXPECT_EQ(names.size(), points);
    });
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
        const std::string failure = testing::FailureOf([&] {
            for (int i = 0; i < 10000; ++i) output.WriteLine(std::string(100, 'x'));
            output.Flush();
        });
        EXPECT_NE(failure.find("full.wpt"), std::string::npos) << failure;
        EXPECT_NE(failure.find(std::strerror(ENOSPC)), std::string::npos);
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
