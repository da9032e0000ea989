// End-to-end tests of the real oradel-convert binary.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <thread>

#include "cli/command_line.hpp"
#include "engine/conversion_modes.hpp"
#include "engine/test_support.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::Windows1251;
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

// Runs the binary with its messages in `language` ("en" or "ru").
RunResult RunTool(const ScratchFolder& folder, const std::vector<std::string>& arguments,
                  const std::string& language = "en") {
    // A run that waits (on a FIFO, say) fails after a minute instead of hanging the suite.
    std::string command = "ORADEL_LANG=" + language + " timeout 60 " + Quote(ORADEL_CONVERT_BINARY);
    for (const std::string& argument : arguments) command += " " + Quote(argument);
    const fs::path out = folder / "stdout.log", err = folder / "stderr.log";
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
    const int raw = std::system(command.c_str());
    RunResult result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadBytes(out), ReadBytes(err)};
    fs::remove(out);
    fs::remove(err);
    return result;
}

const std::string kList = Windows1251("Гора <N>\r\n55.751244 37.618423\r\nстарт\r\n");

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
    WriteBytes(folder / "nul.ini", std::string("[save_parametr_all]\r\ncFI=0\0\r\n", 28));
    fs::create_directory(folder / "dir");
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
                      UsageCase{"check box false", {"--set", "cFI=false", "@list.txt"}},
                      UsageCase{"check box off", {"--set", "cRS=off", "@list.txt"}},
                      UsageCase{"check box 2", {"--set", "CheckBox6=2", "@list.txt"}},
                      UsageCase{"check box empty", {"--set", "cFI=", "@list.txt"}},
                      UsageCase{"check box hex", {"--set", "cFI=0x1", "@list.txt"}},
                      UsageCase{"settings folder", {"--settings", "@dir", "@list.txt"}},
                      UsageCase{"settings with NUL", {"--settings", "@nul.ini", "@list.txt"}},
                      UsageCase{"unknown option", {"--fast", "@list.txt"}},
                      UsageCase{"mode out of range", {"--mode", "99", "@list.txt"}},
                      UsageCase{"mode not a number", {"--mode", "x3", "@list.txt"}},
                      UsageCase{"mode without value", {"@list.txt", "--mode"}},
                      UsageCase{"attached mode out of range", {"--mode=99", "@list.txt"}},
                      UsageCase{"value on a flag", {"--help=1", "@list.txt"}},
                      UsageCase{"unknown extension", {"@list.doc"}},
                      UsageCase{"unknown control", {"--set", "CheckBox99=1", "@list.txt"}},
                      UsageCase{"set without equals", {"--set", "cFI", "@list.txt"}},
                      UsageCase{"missing settings file",
                                {"--settings", "@none.ini", "@list.txt"}}));

// --check prints each problem as FILE:LINE: severity: text, then the counts,
// writes nothing, and fails only when a list has an error or cannot be read.
TEST(Cli, CheckPrintsProblemsByLineAndWritesNothing) {
    ScratchFolder folder;
    WriteBytes(folder / "good.txt", kList);
    WriteBytes(folder / "bad.txt", Windows1251("A\r\n43.9\r\n\r\nA\r\n44 42\r\n"));
    const std::string good = (folder / "good.txt").string(), bad = (folder / "bad.txt").string();
    const struct {
        std::vector<std::string> arguments;
        std::string language;
        int status;
        std::string out;
    } cases[] = {
        {{"--check", good},
         "en",
         0,
         good + ":1: note: The list is read as Windows-1251\n" + good +
             ":1: note: LK8000 writes names in Latin letters: \"Гора\" becomes \"Gora\"\n"
             "Errors: 0, warnings: 0, notes: 2\n"},
        {{"--check", bad},
         "ru",
         1,
         bad + ":1: note: Список прочитан в кодировке Windows-1251\n" + bad +
             ":2: error: Нет долготы после «43.9»\nОшибок: 1, предупреждений: 0, заметок: 1\n"},
        {{"--check", good, (folder / "none.txt").string()}, "en", 1, ""},
    };
    for (const auto& c : cases) {
        const RunResult result = RunTool(folder, c.arguments, c.language);
        EXPECT_EQ(result.status, c.status) << c.arguments.back();
        if (!c.out.empty()) {
            EXPECT_EQ(result.out, c.out);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()),
                  2);
    }
}

TEST(Cli, HelpAndVersionSucceed) {
    ScratchFolder folder;
    const RunResult help = RunTool(folder, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: oradel-convert"), std::string::npos);
    EXPECT_NE(RunTool(folder, {"--help"}, "ru").out.find("Вызов: oradel-convert"),
              std::string::npos);
    const RunResult version = RunTool(folder, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("oradel-convert "));
}

// Without --mode a list runs the exports that run by default, and only those.
TEST(Cli, ExtensionRunsTheDefaultExports) {
    ScratchFolder folder;
    WriteBytes(folder / "alps.TXT", kList);
    const RunResult result = RunTool(folder, {(folder / "alps.TXT").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    for (const ConversionMode& mode : ConversionModes()) {
        if (mode.input != InputKind::PointList) continue;
        const std::string name = "alps" + std::string(mode.suffix) + std::string(mode.extension);
        EXPECT_EQ(fs::exists(folder / name), mode.runsByDefault) << name;
    }
}

TEST(Cli, EachUnreadablePointIsReportedOncePerInput) {
    ScratchFolder folder;
    const std::string list =
        Windows1251("Плохая\r\nnan 1\r\n\r\nГора\r\n1 2\r\n\r\nПлохая\r\n1 2,3,4\r\n");
    WriteBytes(folder / "a.txt", list);
    WriteBytes(folder / "b.txt", list);
    const RunResult result =
        RunTool(folder, {(folder / "a.txt").string(), (folder / "b.txt").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    const std::string perInput = "error coordenades:  Плохая\r\nerror coordenades:  Плохая\r\n";
    EXPECT_EQ(result.out, perInput + perInput);
}

// A missing input is named once, however many jobs it has; the next input
// still runs, and the last line counts the jobs not done.
TEST(Cli, MissingFileIsNamedOnceAndTheNextInputRuns) {
    ScratchFolder folder;
    WriteBytes(folder / "есть.txt", kList);
    const std::string missing = (folder / "нет.txt").string();
    const RunResult result =
        RunTool(folder, {"--mode", "3", "--mode=5", missing, (folder / "есть.txt").string()}, "ru");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "Нет файла " + missing + "\nНе выполнено заданий: 2 из 4\n");
    EXPECT_TRUE(fs::exists(folder / "есть_nav.wpt"));
    EXPECT_TRUE(fs::exists(folder / "есть_lk8.wpt"));
}

// The hand-edited list survives its own export read back: the import refuses
// to replace it, and with --replace-lists keeps it as a backup.
TEST(Cli, ImportKeepsTheListUnlessAskedToReplaceIt) {
    ScratchFolder folder;
    const std::string list = (folder / "sites.txt").string();
    const std::string handEdited = kList + Windows1251("Второй комментарий\r\n");
    WriteBytes(folder / "sites.txt", handEdited);
    ASSERT_EQ(RunTool(folder, {"--mode", "2", list}).status, 0);
    const std::string geo = (folder / "sites.wpt").string();
    const RunResult refused = RunTool(folder, {geo});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "The point list \"" + list +
                               "\" already exists; nothing was written. Add --replace-lists to "
                               "replace it (the old list is kept as \"" +
                               list + ".bak\").\nJobs not done: 1 of 1\n");
    EXPECT_EQ(ReadBytes(folder / "sites.txt"), handEdited);
    const RunResult replaced = RunTool(folder, {"--replace-lists", geo});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(replaced.err, "The old list is kept as \"" + list + ".bak\".\n");
    EXPECT_EQ(ReadBytes(folder / "sites.txt.bak"), handEdited);
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

TEST(Cli, SetAndSettingsFileAreAcceptedWithValuesApartOrAttached) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", kList);
    WriteBytes(folder / "o.ini", "[save_parametr_all]\r\ncFI=0\r\nEdit1=x\r\n");
    const RunResult result =
        RunTool(folder, {"--settings", (folder / "o.ini").string(), "--set", "Edit1=А000AA",
                         "--set=cRS=0", "--mode=3", (folder / "list.txt").string()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(fs::exists(folder / "list_nav.wpt"));
    EXPECT_FALSE(fs::exists(folder / "list.wpt"));
}

// The environment as a table, for LanguageFromEnvironment.
std::map<std::string, std::string> environment;
const char* FromEnvironment(const char* name) {
    const auto found = environment.find(name);
    return found == environment.end() ? nullptr : found->second.c_str();
}

TEST(Cli, LanguageFollowsTheEnvironment) {
    const std::vector<std::pair<std::map<std::string, std::string>, Language>> cases = {
        {{}, Language::English},
        {{{"LANG", "ru_RU.UTF-8"}}, Language::Russian},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_MESSAGES", "C"}}, Language::English},
        {{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "ru_UA.UTF-8"}}, Language::Russian},
        {{{"LC_ALL", ""}, {"LANG", "ru_RU.UTF-8"}}, Language::Russian},
        {{{"LANG", "ru_RU.UTF-8"}, {"ORADEL_LANG", "en"}}, Language::English},
        {{{"LANG", "C"}, {"ORADEL_LANG", "ru"}}, Language::Russian},
        {{{"LANG", "ru_RU.UTF-8"}, {"ORADEL_LANG", "fr"}}, Language::Russian},
    };
    for (const auto& [variables, language] : cases) {
        environment = variables;
        EXPECT_EQ(LanguageFromEnvironment(FromEnvironment), language) << variables.size();
    }
}

// A message that reports replaced characters is no failure: the run still ends with 0.
TEST(Cli, ReplacedCharactersAreReportedAndTheRunSucceeds) {
    ScratchFolder folder;
    WriteBytes(folder / "points.gpx", "<wpt lat='1' lon='2'><name>Straße</name></wpt>");
    const RunResult result = RunTool(folder, {(folder / "points.gpx").string()}, "ru");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "Символы, которых нет в кодировке Windows-1251, заменены: 1\n");
    EXPECT_EQ(ReadBytes(folder / "points_nav.txt"), "Strasse\r\n1 2\r\n\r\n");
}

TEST(Cli, UsageErrorsNameTheirCause) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", kList);
    WriteBytes(folder / "nul.ini", std::string("cFI=1\0", 6));
    fs::create_directory(folder / "dir");
    const std::string list = (folder / "list.txt").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--set", "cFI=false", list}, "--set cFI takes 0 or 1, not 'false'"},
        {{"--settings", (folder / "dir").string(), list},
         '"' + (folder / "dir").string() + "\" is a folder, not a settings file"},
        {{"--settings", (folder / "nul.ini").string(), list},
         '"' + (folder / "nul.ini").string() + "\" is not a settings file"},
    };
    for (const auto& [arguments, message] : cases) {
        const RunResult result = RunTool(folder, arguments);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.err, "oradel-convert: " + message + "\nTry 'oradel-convert --help'.\n");
    }
}

// What the command line prints never carries the control characters of a
// name: the terminal shows them as escapes instead of obeying them.
TEST(Cli, ControlCharactersArePrintedVisibly) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"tab\tkept", "tab\tkept"},
        {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
        {"del\x7f", "del\\x7f"},
        {"csi\xc2\x9b"
         "2J",
         "csi\\u009b2J"},
        {"rlo\xe2\x80\xae"
         "txt.exe",
         "rlo\\u202etxt.exe"},
        {"isolate\xe2\x81\xa6", "isolate\\u2066"},
        {"not utf-8 \xff", "not utf-8 \\xff"},
        {"Гора ‰ \xe2\x80\xa9", "Гора ‰ \xe2\x80\xa9"},
    };
    for (const auto& [text, visible] : cases) EXPECT_EQ(VisibleText(text), visible) << visible;

    ScratchFolder folder;
    WriteBytes(folder / "list.txt",
               Windows1251("Гора\x1b[2J\r\nнет координат\r\n\r\n") + "C1\x98\r\nx\r\n");
    const RunResult left = RunTool(folder, {"--mode", "2", (folder / "list.txt").string()});
    EXPECT_EQ(left.out, "error coordenades:  Гора\\x1b[2J\r\nerror coordenades:  C1\\x98\r\n");
    const std::string missing = (folder / "a\x1b]0;x\x07.txt").string();
    const RunResult none = RunTool(folder, {missing}, "ru");
    EXPECT_EQ(none.err, "Нет файла " + (folder / "a\\x1b]0;x\\x07.txt").string() +
                            "\nНе выполнено заданий: 5 из 5\n");
}

// The signals whose default action ends a process and that a program may catch.
const std::vector<int> kEndingSignals = {SIGINT,  SIGTERM, SIGHUP,  SIGQUIT, SIGXFSZ,
                                         SIGALRM, SIGUSR1, SIGUSR2, SIGPIPE};

constexpr uid_t kNobody = 65534;

// Why no other user can take part in a test in `folder`; empty when one can:
// the tests run as root, and every folder above `folder` lets others through
// (a fresh machine's root may have its checkout and temporary folder in a
// 0700 /root).
std::string WhyNoOtherUser(const fs::path& folder) {
    if (geteuid() != 0) return "not run as root, so there is no other user to be";
    for (fs::path above = folder.parent_path();; above = above.parent_path()) {
        struct stat status {};
        if (stat(above.c_str(), &status) != 0 || !(status.st_mode & S_IXOTH)) {
            return above.string() + " is closed to other users";
        }
        if (above == above.root_path()) return {};
    }
}

// A copy of the binary that another user may run, in a 0755 folder of its own
// inside `folder`, wherever the build is.
fs::path ProgramForOtherUser(const ScratchFolder& folder) {
    const fs::path program = folder / "bin" / "oradel-convert";
    fs::create_directory(program.parent_path());
    fs::copy_file(ORADEL_CONVERT_BINARY, program);
    for (const fs::path& path : {program.parent_path(), program}) {
        fs::permissions(path, static_cast<fs::perms>(0755));
    }
    return program;
}

// A child process of the real binary, with the signals at their defaults and
// unblocked whatever the test runner was given, no core files, and
// optionally as another user (running a copy that user can reach).
class Child {
  public:
    Child(const ScratchFolder& folder, const std::vector<std::string>& arguments, uid_t user = 0) {
        const fs::path program = user != 0 ? ProgramForOtherUser(folder) : ORADEL_CONVERT_BINARY;
        pid_ = fork();
        if (pid_ != 0) return;
        for (const int number : kEndingSignals) signal(number, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const int quiet = open((folder / "child.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(quiet, 1);
        dup2(quiet, 2);
        if (user != 0 && (setgid(user) != 0 || setuid(user) != 0)) _exit(99);
        setenv("ORADEL_LANG", "en", 1);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(98);
    }
    pid_t Pid() const { return pid_; }
    // Waits until `ready` holds; false when the child ended first.
    template <class Condition>
    bool WaitUntil(Condition ready) {
        while (!ready()) {
            if (waitpid(pid_, &endedStatus_, WNOHANG) == pid_) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }
    // The raw wait status, and the child's peak resident memory in KiB.
    std::pair<int, long> Wait() {
        int status = 0;
        rusage usage{};
        wait4(pid_, &status, 0, &usage);
        return {status, usage.ru_maxrss};
    }

  private:
    pid_t pid_;
    int endedStatus_ = 0;
};

bool HasTemporaryFile(const fs::path& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".oradel-")) return true;
    }
    return false;
}

std::string ListWithLongComment(std::size_t size) {
    return "A\r\n1 2\r\n" + std::string(size, '[') + "\r\n";
}

class CliSignalTest : public ::testing::TestWithParam<int> {};

// Interrupted while it writes a large page, the program removes its temporary
// files and ends by the same signal, so the shell sees 128 + its number.
TEST_P(CliSignalTest, RemovesTemporaryFilesAndEndsByTheSignal) {
    ScratchFolder folder;
    WriteBytes(folder / "big.txt", ListWithLongComment(40 << 20));
    Child child(folder, {"--mode", "4", (folder / "big.txt").string()});
    while (!HasTemporaryFile(folder.Path()))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    kill(child.Pid(), GetParam());
    const int status = child.Wait().first;
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), GetParam());
    EXPECT_FALSE(HasTemporaryFile(folder.Path()));
    EXPECT_FALSE(fs::exists(folder / "big.htm"));
}

INSTANTIATE_TEST_SUITE_P(Signals, CliSignalTest, ::testing::ValuesIn(kEndingSignals),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

// An input that cannot be read, or a folder that cannot be written, fails the
// job with the system's reason. Root may do both: the child gives up its rights.
TEST(Cli, DeniedAccessFailsWithTheReason) {
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::owner_exec |
                               fs::perms::others_read | fs::perms::others_exec;
    for (const bool folderReadOnly : {false, true}) {
        ScratchFolder folder;
        const bool root = geteuid() == 0;
        const std::string noOtherUser = WhyNoOtherUser(folder.Path());
        if (root && !noOtherUser.empty()) GTEST_SKIP() << "NOT RUN: " << noOtherUser;
        fs::permissions(folder.Path(), readOnly | fs::perms::owner_write);
        WriteBytes(folder / "list.txt", kList);
        WriteBytes(folder / "child.log", "");  // the child's log, before the folder is closed
        const fs::path denied = folderReadOnly ? folder / "list_nav.wpt" : folder / "list.txt";
        if (folderReadOnly) {
            fs::permissions(folder.Path(), readOnly);
        } else {
            fs::permissions(folder / "list.txt", fs::perms::none);
        }
        Child child(folder, {"--mode", "3", (folder / "list.txt").string()}, root ? kNobody : 0);
        const int status = child.Wait().first;
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(ReadBytes(folder / "child.log"),
                  std::string(folderReadOnly ? "Cannot create file \"" : "Cannot open file \"") +
                      denied.string() + "\". Permission denied\nJobs not done: 1 of 1\n");
        EXPECT_FALSE(fs::exists(folder / "list_nav.wpt"));
        EXPECT_FALSE(HasTemporaryFile(folder.Path()));
        fs::permissions(folder.Path(), fs::perms::owner_all);
    }
}

// What a folder holds: each name with its type, and a link's target or a file's bytes.
std::map<std::string, std::string> Contents(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const fs::file_type type = entry.symlink_status().type();
        std::string& seen = contents[entry.path().filename().string()];
        seen = std::to_string(static_cast<int>(type)) + " ";
        if (type == fs::file_type::symlink) seen += fs::read_symlink(entry.path()).string();
        if (type == fs::file_type::regular) seen += ReadBytes(entry.path());
    }
    return contents;
}

bool MakeSocket(const fs::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof(address.sun_path)) return false;
    std::copy(path.native().begin(), path.native().end(), address.sun_path);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool made = bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    close(socket);
    return made;
}

// An output name that leads to anything but a regular file (or nothing) fails
// its job with the reason, changes nothing and never waits on a FIFO.
TEST(Cli, OnlyRegularFilesAreReplaced) {
    const std::string notRegular = "Not a regular file";
    const struct {
        const char* label;
        std::vector<std::string> options;
        const char* input;
        const char* output;
        const char* linkTo;  // the output is a link to this; null: it is a FIFO or socket
        std::string reason;
    } cases[] = {
        {"FIFO", {"--mode", "3"}, "list.txt", "list_nav.wpt", nullptr, notRegular},
        {"socket", {"--mode", "5"}, "list.txt", "list_lk8.wpt", nullptr, notRegular},
        {"link to a device", {"--mode", "2"}, "list.txt", "list.wpt", "device", notRegular},
        {"link to a FIFO", {"--mode", "4"}, "list.txt", "list.htm", "fifo", notRegular},
        {"FIFO as the imported list",
         {"--replace-lists"},
         "geo.wpt",
         "geo.txt",
         nullptr,
         notRegular},
        {"link loop",
         {"--mode", "3"},
         "list.txt",
         "list_nav.wpt",
         "list_nav.wpt",
         "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        WriteBytes(folder / "list.txt", kList);
        WriteBytes(folder / "geo.wpt", "A  N 1 0 0  E 2 0 0  0\r\n");
        ASSERT_EQ(mkfifo((folder / "fifo").c_str(), 0600), 0);
        // A null device of the test's own, where the system lets it make one: a
        // fault here must not replace the system's /dev/null, which root could.
        if (mknod((folder / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
            fs::create_symlink("/dev/null", folder / "device");
        }
        const fs::path output = folder / c.output;
        if (c.linkTo != nullptr) {
            fs::create_symlink(c.linkTo, output);
        } else if (std::string(c.label) == "socket") {
            if (!MakeSocket(output)) GTEST_SKIP() << "NOT RUN: no socket at " << output;
        } else {
            ASSERT_EQ(mkfifo(output.c_str(), 0600), 0);
        }
        const auto before = Contents(folder.Path());
        std::vector<std::string> arguments = c.options;
        arguments.push_back((folder / c.input).string());
        const RunResult result = RunTool(folder, arguments);
        EXPECT_EQ(result.status, 1) << c.label;
        EXPECT_EQ(result.err, "Cannot create file \"" + output.string() + "\". " + c.reason +
                                  "\nJobs not done: 1 of 1\n")
            << c.label;
        EXPECT_EQ(Contents(folder.Path()), before) << c.label;
    }
}

// Another user who watches a folder while a large page replaces a private
// one: it reports whether it opened the page or a temporary file (never, as
// they are 0600 from their first byte) and whether it saw a temporary file.
class Watcher {
  public:
    Watcher(const fs::path& folder, const std::string& output) {
        int ends[2];
        if (pipe(ends) != 0) throw std::runtime_error("no pipe");
        pid_ = fork();
        if (pid_ != 0) {
            close(ends[0]);
            stop_ = ends[1];
            return;
        }
        close(ends[1]);
        fcntl(ends[0], F_SETFL, O_NONBLOCK);
        if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(kCannotBecomeOther);
        bool sawTemporary = false;
        char byte;
        while (read(ends[0], &byte, 1) < 0) {  // the test closes its end when the run is over
            DIR* listing = opendir(folder.c_str());
            if (listing == nullptr) _exit(kCannotList);
            while (const dirent* entry = readdir(listing)) {
                const std::string name = entry->d_name;
                const bool temporary = name.starts_with(".oradel-");
                if (!temporary && name != output) continue;
                sawTemporary = sawTemporary || temporary;
                const int opened = open((folder / name).c_str(), O_RDONLY | O_NONBLOCK);
                if (opened >= 0) _exit(kOpened);
            }
            closedir(listing);
        }
        _exit(sawTemporary ? kSawTemporary : kSawNothing);
    }
    // The watcher's finding, once the run is over.
    int Finding() {
        close(stop_);
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static constexpr int kSawTemporary = 0, kOpened = 1, kCannotList = 2, kSawNothing = 3,
                         kCannotBecomeOther = 4;

  private:
    pid_t pid_;
    int stop_ = -1;
};

TEST(Cli, PrivateOutputStaysPrivateWhileItIsReplaced) {
    ScratchFolder folder;
    if (const std::string reason = WhyNoOtherUser(folder.Path()); !reason.empty()) {
        GTEST_SKIP() << "NOT RUN: " << reason;
    }
    fs::permissions(folder.Path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    WriteBytes(folder / "big.txt", ListWithLongComment(4 << 20));
    WriteBytes(folder / "big.htm", "private\r\n");
    fs::permissions(folder / "big.htm", fs::perms::owner_read | fs::perms::owner_write);
    Watcher watcher(folder.Path(), "big.htm");
    Child child(folder, {"--mode", "4", (folder / "big.txt").string()});
    const int status = child.Wait().first;
    EXPECT_EQ(watcher.Finding(), Watcher::kSawTemporary);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fs::status(folder / "big.htm").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

// An input of `prefix`, `unit` repeated to a size, and `suffix`.
struct MemoryCase {
    const char* label;
    std::vector<std::string> arguments;  // "IN" stands for the input file
    const char* inputName;
    std::string prefix, unit, suffix;
    int status;
    double growthPerByte;  // of the peak, per byte of input more
};

const MemoryCase kMemoryCases[] = {
    {"records of a list",
     {"--mode", "4", "IN"},
     "in.txt",
     "",
     "P <N>\r\n45.1 6.2\r\n[a|b] c\r\n\r\n",
     "",
     0,
     0.1},
    {"one record of comment lines",
     {"--mode", "4", "IN"},
     "in.txt",
     "A\r\n1 2\r\n",
     "c\r\n",
     "",
     1,
     0.1},
    {"one record of headings",
     {"--mode", "2", "IN"},
     "in.txt",
     "",
     ":h\r\n",
     "A\r\n1 2\r\n",
     1,
     0.1},
    {"a GPX comment never closed",
     {"--mode", "15", "IN"},
     "in.gpx",
     "<gpx><wpt lat='1' lon='2'><name>A</name></wpt><!--",
     "-",
     "",
     0,
     0.1},
    {"a GPX document type never closed",
     {"--mode", "15", "IN"},
     "in.gpx",
     "<wpt lat='1' lon='2'><name>A</name></wpt><!DOCTYPE [",
     ">",
     "",
     0,
     0.1},
    {"a settings file of line feeds",
     {"--settings", "IN", "--mode", "3", "list.txt"},
     "in.ini",
     "",
     "\n",
     "",
     0,
     0.1},
    // A comment of "[" makes a page 31 times longer, which is written in pieces.
    {"one long line of brackets",
     {"--mode", "4", "IN"},
     "in.txt",
     "A\r\n1 2\r\n",
     "[",
     "\r\n",
     0,
     10},
};

constexpr const char* kGnuTime = "/usr/bin/time";

// The binary's peak memory in KiB on the input of `size` bytes, as GNU time
// reports it: its own small process starts the binary, whose peak then
// holds nothing of this test's process.
long PeakKilobytes(const MemoryCase& c, std::size_t size) {
    ScratchFolder folder;
    WriteBytes(folder / c.inputName, c.prefix + testing::Repeated(c.unit, size) + c.suffix);
    WriteBytes(folder / "list.txt", kList);
    std::vector<std::string> arguments = {"-f", "%M", "-o", (folder / "peak.txt").string(),
                                          ORADEL_CONVERT_BINARY};
    for (const std::string& argument : c.arguments) {
        arguments.push_back(argument == "IN"         ? (folder / c.inputName).string()
                            : argument == "list.txt" ? (folder / argument).string()
                                                     : argument);
    }
    std::string command = kGnuTime;
    for (const std::string& argument : arguments) command += " " + Quote(argument);
    const int status = std::system((command + " >/dev/null 2>&1 </dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(status), c.status) << c.label;
    const std::string report = ReadBytes(folder / "peak.txt");  // after any note of the status
    return std::stol(report.substr(report.find_last_of(" \n", report.find_last_not_of(" \n")) + 1));
}

// Memory follows the longest line, never the file: from 2 MB of input to
// 8 MB the peak grows by a small part of the 6 MB (by a small multiple of it
// where the one line grows).
TEST(Cli, MemoryFollowsTheLongestLineNotTheFile) {
#ifdef ORADEL_UNDER_SANITIZER
    GTEST_SKIP() << "the sanitizer's own memory would be measured";
#endif
    if (access(kGnuTime, X_OK) != 0) GTEST_SKIP() << "no GNU time (Debian package time)";
    constexpr std::size_t kSmall = 2 << 20, kLarge = 8 << 20;
    for (const MemoryCase& c : kMemoryCases) {
        const double growth = 1024.0 * double(PeakKilobytes(c, kLarge) - PeakKilobytes(c, kSmall));
        EXPECT_LT(growth, c.growthPerByte * double(kLarge - kSmall)) << c.label;
    }
}

}  // namespace
}  // namespace oradel
