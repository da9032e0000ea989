// End-to-end tests of the real oradel-convert binary.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "engine/conversion_modes.hpp"
#include "engine/test_support.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::Ansi;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

RunResult RunTool(const ScratchFolder& folder, const std::vector<std::string>& arguments) {
    std::string command = Quote(ORADEL_CONVERT_BINARY);
    for (const std::string& argument : arguments) command += " " + Quote(argument);
    const fs::path out = folder / "stdout.log", err = folder / "stderr.log";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    RunResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return result;
}

const std::string kList = Ansi("Гора <N>\r\n55.751244 37.618423\r\nстарт\r\n");

struct UsageCase {
    const char* label;
    std::vector<std::string> arguments;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.label;
}

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, IsAUsageError) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", kList);
    WriteBytes(folder / "list.doc", kList);
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument.starts_with("@")) argument = (folder / argument.substr(1)).string();
    }
    const RunResult result = RunTool(folder, arguments);
    EXPECT_EQ(result.status, 2) << GetParam().label;
    EXPECT_NE(result.err.find("oradel-convert:"), std::string::npos);
    EXPECT_EQ(fs::exists(folder / "list_nav.wpt"), false);
}

INSTANTIATE_TEST_SUITE_P(
    BadCommandLines, CliUsageTest,
    ::testing::Values(UsageCase{"no file", {}},
                      UsageCase{"unknown option", {"--fast", "@list.txt"}},
                      UsageCase{"mode out of range", {"--mode", "7", "@list.txt"}},
                      UsageCase{"mode not a number", {"--mode", "x3", "@list.txt"}},
                      UsageCase{"mode without value", {"@list.txt", "--mode"}},
                      UsageCase{"unknown extension", {"@list.doc"}},
                      UsageCase{"unknown control", {"--set", "CheckBox99=1", "@list.txt"}},
                      UsageCase{"set without equals", {"--set", "cFI", "@list.txt"}},
                      UsageCase{"missing settings file",
                                {"--settings", "@none.ini", "@list.txt"}}));

TEST(Cli, HelpAndVersionSucceed) {
    ScratchFolder folder;
    const RunResult help = RunTool(folder, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: oradel-convert"), std::string::npos);
    const RunResult version = RunTool(folder, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("oradel-convert "));
}

TEST(Cli, ExtensionRunsEveryBuiltExport) {
    ScratchFolder folder;
    WriteBytes(folder / "alps.TXT", kList);
    const RunResult result = RunTool(folder, {(folder / "alps.TXT").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    for (const ConversionMode& mode : ConversionModes()) {
        if (mode.input != InputKind::PointList) continue;
        const std::string name = "alps" + std::string(mode.suffix) + std::string(mode.extension);
        EXPECT_TRUE(fs::exists(folder / name)) << name;
    }
}

TEST(Cli, MissingFileGivesOneMessagePerJobAndStatusOne) {
    ScratchFolder folder;
    const std::string missing = (folder / "нет.txt").string();
    const RunResult result = RunTool(folder, {"--mode", "3", "--mode", "3", missing});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Нет файла " + missing + "\n");
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

TEST(Cli, FailedJobStopsTheRunAndKeepsFiles) {
    ScratchFolder folder;
    WriteBytes(folder / "a.txt", kList);
    WriteBytes(folder / "b.txt", kList);
    fs::create_directory(folder / "a_nav.wpt");  // the output cannot replace a folder
    const RunResult result =
        RunTool(folder, {"--mode", "3", (folder / "a.txt").string(), (folder / "b.txt").string()});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("a_nav.wpt"), std::string::npos) << result.err;
    EXPECT_TRUE(fs::is_directory(folder / "a_nav.wpt"));
    EXPECT_FALSE(fs::exists(folder / "b_nav.wpt")) << "jobs after a failure must not run";
}

TEST(Cli, SetAndSettingsFileAreAccepted) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", kList);
    WriteBytes(folder / "o.ini", "[save_parametr_all]\r\ncFI=0\r\nEdit1=x\r\n");
    const RunResult result =
        RunTool(folder, {"--settings", (folder / "o.ini").string(), "--set", "Edit1=А000AA",
                         "--set", "cRS=0", "--mode", "3", (folder / "list.txt").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(folder / "list_nav.wpt"));
}

}  // namespace
}  // namespace oradel
