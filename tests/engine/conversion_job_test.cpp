#include "engine/conversion_job.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/test_support.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::RecordingMessages;
using testing::ScratchFolder;
using testing::WriteBytes;

struct NameCase {
    int mode;
    const char* input;
    bool pendingTicked;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << "mode " << c.mode << " " << c.input << (c.pendingTicked ? " pending" : "");
}

class OutputNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(OutputNameTest, FollowsTheModeRule) {
    const NameCase& c = GetParam();
    EXPECT_EQ(
        OutputNameFor(*FindConversionMode(c.mode), std::string_view(c.input), c.pendingTicked),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OutputNameTest,
    ::testing::Values(
        NameCase{2, "alps.txt", false, "alps.wpt"}, NameCase{3, "alps.txt", false, "alps_nav.wpt"},
        NameCase{4, "alps.txt", false, "alps.htm"}, NameCase{4, "alps.txt", true, "alps.htm$"},
        NameCase{5, "alps.txt", true, "alps_lk8.wpt"},
        NameCase{1, "points.wpt", false, "points.txt"},
        NameCase{15, "Exported Waypoints.gpx", false, "Exported Waypoints_nav.txt"},
        NameCase{2, "alps", false, "alps.wpt"}, NameCase{3, "alps", false, "alps_nav.wpt"},
        NameCase{5, "alps", false, "alps_lk8.wpt"}, NameCase{4, "alps", false, "alps.htm"},
        NameCase{5, "D:\\maps.old\\alps.txt", false, "D:\\maps.old\\alps_lk8.wpt"},
        NameCase{2, "D:\\maps.old\\alps", false, "D:\\maps.old\\alps.wpt"},
        NameCase{2, "maps.old/alps", false, "maps.old/alps.wpt"},
        NameCase{2, "C:alps", false, "C:alps.wpt"}, NameCase{2, "a.b.txt", false, "a.b.wpt"},
        NameCase{3, "ALPS.TXT", false, "ALPS_nav.wpt"}));

TEST(InputKind, FollowsTheExtensionRule) {
    const std::vector<std::pair<std::string, std::optional<InputKind>>> cases = {
        {"alps.TXT", InputKind::PointList},
        {".txt", InputKind::PointList},
        {"a.Wpt", InputKind::XCTrackExport},
        {"x.gpx", InputKind::NavitelGpx},
        {"maps.txt/alps", std::nullopt},
        {"alps.txt.", std::nullopt},
        {"alps.txť", std::nullopt},
        {"D:\\maps.gpx\\alps", std::nullopt},
        {"ёлка.wpt", InputKind::XCTrackExport}};
    for (const auto& [name, kind] : cases) EXPECT_EQ(InputKindForName(name), kind) << name;
}

// A body that copies its input line by line, for jobs whose format does not matter.
void CopyLines(ConversionContext& context) {
    std::string line;
    while (!context.input.AtEnd()) {
        context.input.ReadLine(line);
        context.output.WriteLine(line);
    }
}

void FailHalfway(ConversionContext& context) {
    context.output.WriteLine("partial");
    throw UserError("'x' is not a valid floating point value");
}

constexpr ConversionMode kCopyToTxt{
    9,      &Options::importXCTrackExport, InputKind::XCTrackExport, ".txt", "", nullptr, CopyLines,
    nullptr};
constexpr ConversionMode kFailing{9,
                                  &Options::importXCTrackExport,
                                  InputKind::XCTrackExport,
                                  ".txt",
                                  "",
                                  nullptr,
                                  FailHalfway,
                                  nullptr};

bool LeftoverTemporaryFiles(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".tmp") != std::string::npos) return true;
    }
    return false;
}

TEST(ConversionJob, MissingInputIsReportedAndCreatesNothing) {
    ScratchFolder folder;
    RecordingMessages messages;
    const fs::path input = folder / "нет.txt";
    const JobOutcome outcome = RunConversion(*FindConversionMode(3), input, Options(), messages);
    EXPECT_TRUE(outcome.inputMissing);
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Нет файла " + PathText(input)});
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST(ConversionJob, FolderAsInputIsAMissingFile) {
    ScratchFolder folder;
    fs::create_directory(folder / "dir.txt");
    RecordingMessages messages;
    EXPECT_TRUE(RunConversion(*FindConversionMode(3), folder / "dir.txt", Options(), messages)
                    .inputMissing);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST(ConversionJob, FailedJobLeavesExistingOutputUntouched) {
    ScratchFolder folder;
    WriteBytes(folder / "points.wpt", "A 1 2\r\n");
    WriteBytes(folder / "points.txt", "hand-edited list\r\n");
    RecordingMessages messages;
    EXPECT_THROW(RunConversion(kFailing, folder / "points.wpt", Options(), messages), UserError);
    EXPECT_EQ(ReadBytes(folder / "points.txt"), "hand-edited list\r\n");
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

TEST(ConversionJob, OutputThatIsItsOwnInputIsRewrittenWhole) {
    ScratchFolder folder;
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\n";
    WriteBytes(folder / "same.txt", text);
    RecordingMessages messages;
    RunConversion(kCopyToTxt, folder / "same.txt", Options(), messages);
    std::string expected;
    for (int i = 0; i < 20000; ++i) expected += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(ReadBytes(folder / "same.txt"), expected);
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

TEST(ConversionJob, OutputThatCannotBeReplacedFailsWithClearMessage) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", "A\r\n1 2\r\n");
    fs::create_directory(folder / "list_nav.wpt");
    RecordingMessages messages;
    try {
        RunConversion(*FindConversionMode(3), folder / "list.txt", Options(), messages);
        FAIL() << "expected a failure";
    } catch (const UserError& error) {
        EXPECT_TRUE(std::string(error.what()).starts_with("Cannot create file \"")) << error.what();
        EXPECT_NE(std::string(error.what()).find("list_nav.wpt"), std::string::npos);
    }
    EXPECT_TRUE(fs::is_directory(folder / "list_nav.wpt"));
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

TEST(ConversionJob, ReadOnlyTargetIsRefusedAndKept) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", "A\r\n1 2\r\n");
    WriteBytes(folder / "list_nav.wpt", "protected\r\n");
    fs::permissions(folder / "list_nav.wpt", fs::perms::owner_read | fs::perms::group_read);
    RecordingMessages messages;
    try {
        RunConversion(*FindConversionMode(3), folder / "list.txt", Options(), messages);
        FAIL() << "expected a failure";
    } catch (const UserError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot create file \"" +
                                                 PathText(folder / "list_nav.wpt") +
                                                 "\". The file is read-only.");
    }
    EXPECT_EQ(ReadBytes(folder / "list_nav.wpt"), "protected\r\n");
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

TEST(ConversionJob, CommaDecimalLocaleGivesSameBytesAndIsRestored) {
    const std::string list = "A\r\n45.5 6.25\r\nc\r\n";
    const std::string pointLocaleOutput = testing::Convert(3, list).output;
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "LOCALE ru_RU.UTF-8 IS NOT INSTALLED: comma-decimal check not run";
    }
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(testing::Convert(3, list).output, pointLocaleOutput);
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace oradel
