#include "engine/conversion_job.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <clocale>
#include <cstring>
#include <new>
#include <stdexcept>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/output_names.hpp"
#include "engine/point_list_reader.hpp"
#include "engine/test_support.hpp"
#include "engine/text_input.hpp"

namespace oradel {
namespace {

namespace fs = std::filesystem;
using testing::FailureOf;
using testing::ReadBytes;
using testing::RecordingMessages;
using testing::ScratchFolder;
using testing::Windows1251;
using testing::WriteBytes;

struct NameCase {
    int mode;
    const char* input;
    const char* expected;
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << "mode " << c.mode << " " << c.input;
}

class OutputNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(OutputNameTest, FollowsTheModeRule) {
    const NameCase& c = GetParam();
    EXPECT_EQ(OutputNameFor(*FindConversionMode(c.mode), std::string_view(c.input)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, OutputNameTest,
    ::testing::Values(NameCase{2, "alps.txt", "alps.wpt"}, NameCase{3, "alps.txt", "alps_nav.wpt"},
                      NameCase{4, "alps.txt", "alps.htm"}, NameCase{5, "alps.txt", "alps_lk8.wpt"},
                      NameCase{1, "points.wpt", "points.txt"},
                      NameCase{15, "Exported Waypoints.gpx", "Exported Waypoints_nav.txt"},
                      NameCase{2, "alps", "alps.wpt"}, NameCase{3, "alps", "alps_nav.wpt"},
                      NameCase{5, "alps", "alps_lk8.wpt"}, NameCase{4, "alps", "alps.htm"},
                      NameCase{5, "D:\\maps.old\\alps.txt", "D:\\maps.old\\alps_lk8.wpt"},
                      NameCase{2, "D:\\maps.old\\alps", "D:\\maps.old\\alps.wpt"},
                      NameCase{2, "maps.old/alps", "maps.old/alps.wpt"},
                      NameCase{2, "C:alps", "C:alps.wpt"}, NameCase{2, "a.b.txt", "a.b.wpt"},
                      NameCase{3, "ALPS.TXT", "ALPS_nav.wpt"}));

TEST(InputKind, FollowsTheExtensionRule) {
    const std::vector<std::pair<std::string, std::optional<InputKind>>> cases = {
        {"alps.TXT", InputKind::PointList},   {".txt", InputKind::PointList},
        {"a.Wpt", InputKind::WaypointFile},   {"x.gpx", InputKind::NavitelGpx},
        {"maps.txt/alps", std::nullopt},      {"alps.txt.", std::nullopt},
        {"alps.txť", std::nullopt},           {"D:\\maps.gpx\\alps", std::nullopt},
        {"ёлка.wpt", InputKind::WaypointFile}};
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
    throw UserError(Message(MessageId::NotANumber, {"x", std::size_t{1}, "f"}));
}

void FailOutOfRange(ConversionContext&) {
    throw std::out_of_range("degrees beyond a 32-bit integer");
}
void FailInvalidArgument(ConversionContext&) {
    throw std::invalid_argument("unknown option control: cX");
}
void FailOutOfMemory(ConversionContext&) {
    throw std::bad_alloc();
}

// An import of mode 9 that runs `body`.
constexpr ConversionMode TestImport(ModeBody body) {
    return {9,    "test", InputKind::WaypointFile, ".txt", "", body, MessageId::ModeImportXCTrack,
            true, true};
}
constexpr ConversionMode kCopyToTxt = TestImport(CopyLines);
constexpr ConversionMode kFailing = TestImport(FailHalfway);

bool LeftoverTemporaryFiles(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.path().filename().string().find(".oradel-") != std::string::npos) return true;
    }
    return false;
}

// A name that does not exist, and a file that is not a regular one, fail
// with their reason before anything is written; a FIFO is never waited on.
TEST(ConversionJob, InputsThatCannotBeReadFailWithTheirReason) {
    ScratchFolder folder;
    fs::create_directory(folder / "dir.txt");
    const bool fifo = mkfifo((folder / "fifo.txt").c_str(), 0600) == 0;
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"нет.txt", "Нет файла " + PathText(folder / "нет.txt")},
        {"dir.txt",
         "Не удаётся открыть файл «" + PathText(folder / "dir.txt") + "». Это не обычный файл"},
        {"fifo.txt",
         "Не удаётся открыть файл «" + PathText(folder / "fifo.txt") + "». Это не обычный файл"},
    };
    for (const auto& [name, message] : cases) {
        if (name == "fifo.txt" && !fifo) continue;
        const fs::path input = folder / name;
        EXPECT_EQ(FailureOf([&] { CheckInputFile(input); }, Language::Russian), message);
        RecordingMessages messages;
        EXPECT_EQ(
            FailureOf([&] { RunConversion(*FindConversionMode(3), input, Options(), messages); },
                      Language::Russian),
            message);
        EXPECT_FALSE(fs::exists(folder / (fs::path(name).stem().string() + "_nav.wpt")));
    }
}

// Each mode reads only what it can: the file's content, not its name, decides.
TEST(ConversionJob, ModesRefuseFilesTheyCannotRead) {
    const std::string gpx = "<?xml version=\"1.0\"?>\r\n<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>";
    const std::string compeGps =
        "G  WGS 84\r\nU  1\r\nW  A A 1.0\xBA"
        "N 2.0\xBA"
        "E 27-MAR-62\r\n";
    const std::string ozi = "OziExplorer Waypoint File Version 1.1\r\nWGS 84\r\n";
    const struct {
        int mode;
        std::string input, content, message;
    } cases[] = {
        {2, "a.txt", gpx, "is a GPX file, not a point list; nothing was written."},
        {3, "b.txt", "$FormatGEO\r\nA  N 1 0 0  E 2 0 0  0\r\n",
         "is an XCTrack (GEO) waypoint file, not a point list; nothing was written."},
        {5, "c.txt", compeGps,
         "is an LK8000 (CompeGPS) waypoint file, not a point list; nothing was written."},
        {4, "d.txt", ozi,
         "is an OziExplorer waypoint file, not a point list; nothing was written."},
        {2, "e.txt", std::string("A\r\n1 2\0", 7),
         "is a file of binary data, not a point list; nothing was written."},
        {1, "f.wpt", gpx,
         "is a GPX file; this import reads XCTrack, LK8000 and OziExplorer waypoint files."},
        {1, "g.wpt", "G  WGS 84\r\nU  0\r\nW  A 32T 500000 5000000 27-MAR-62\r\n",
         "gives its points in UTM; this import reads latitude and longitude."},
        {15, "h.gpx", "A\r\n1 2\r\n", "is a point list, not a GPX file; nothing was written."},
        {1, "i.wpt", ":Горы\r\nA\r\n1 2\r\n",
         "is a point list; this import reads XCTrack, LK8000 and OziExplorer waypoint files."},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        WriteBytes(folder / c.input, c.content);
        RecordingMessages messages;
        const std::string failure = FailureOf([&] {
            RunConversion(*FindConversionMode(c.mode), folder / c.input, Options(), messages);
        });
        EXPECT_EQ(failure, "\"" + PathText(folder / c.input) + "\" " + c.message) << c.input;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()),
                  1);
    }
}

// An import never silently replaces a point list: it refuses, or it keeps the
// old list as a backup that no later run replaces; a list that would not
// change is left alone.
TEST(ConversionJob, ImportKeepsTheOldListAsItsBackup) {
    ScratchFolder folder;
    const fs::path list = folder / "sites.txt";
    const std::string handEdited = "Юца <Ю>\r\n43.9612 42.9845\r\nhand-edited\r\n";
    WriteBytes(list, handEdited);
    fs::permissions(list, fs::perms::owner_read | fs::perms::owner_write);
    const auto oldTime = fs::last_write_time(list) - std::chrono::hours(24);
    fs::last_write_time(list, oldTime);
    const auto import = [&](const std::string& export_, ExistingList existing) {
        WriteBytes(folder / "sites.wpt", export_);
        RecordingMessages messages;
        RunConversion(*FindConversionMode(1), folder / "sites.wpt", Options(), messages, existing);
        return messages.messages;
    };
    const std::string first = "A  N 1 0 0  E 2 0 0  0\r\n";
    EXPECT_EQ(FailureOf([&] { import(first, ExistingList::Keep); }),
              "The point list \"" + PathText(list) +
                  "\" already exists; nothing was written. Add --replace-lists to replace it (the "
                  "old list is kept as \"" +
                  PathText(list) + ".bak\").");
    EXPECT_EQ(ReadBytes(list), handEdited);

    EXPECT_EQ(
        import(first, ExistingList::Replace),
        std::vector<std::string>{"Прежний список сохранён как «" + PathText(list) + ".bak»."});
    EXPECT_EQ(ReadBytes(fs::path(PathText(list) + ".bak")), handEdited);
    EXPECT_EQ(fs::status(fs::path(PathText(list) + ".bak")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::last_write_time(fs::path(PathText(list) + ".bak")), oldTime);
    EXPECT_EQ(ReadBytes(list), "A\r\n01.000000 02.000000\r\n\r\n\r\n");

    EXPECT_EQ(import(first, ExistingList::Replace),
              std::vector<std::string>{"Список «" + PathText(list) + "» не изменился."});
    EXPECT_FALSE(fs::exists(PathText(list) + ".2.bak"));
    import("B  N 3 0 0  E 4 0 0  0\r\n", ExistingList::Replace);
    EXPECT_EQ(ReadBytes(fs::path(PathText(list) + ".2.bak")),
              "A\r\n01.000000 02.000000\r\n\r\n\r\n");
    EXPECT_EQ(ReadBytes(fs::path(PathText(list) + ".bak")), handEdited);
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

// A list that an import writes reads back as the same text, even when its
// Windows-1251 bytes happen to be a byte-order mark or well-formed UTF-8.
TEST(ConversionJob, ImportedListReadsBackAsItsText) {
    for (const std::string name : {"п»їСтарт", "Рё", "Юца"}) {
        ScratchFolder folder;
        WriteBytes(folder / "p.gpx", "<wpt lat='1' lon='2'><name>" + name + "</name></wpt>");
        RecordingMessages messages;
        RunConversion(*FindConversionMode(15), folder / "p.gpx", Options(), messages);
        FileHandle list = OpenInputFile(folder / "p_nav.txt");
        TextInput input(list.get());
        input.DecodeUtf8WhenDetected();
        PointListReader reader(input);
        PointRecord record;
        ASSERT_TRUE(reader.Next(record)) << name;
        EXPECT_EQ(record.name, Windows1251(name));
    }
}

// A fault of the program reaches the user as a UserError of its own words,
// never as the library's text.
TEST(ConversionJob, ProgramFaultsBecomeUserErrors) {
    const std::vector<std::pair<ModeBody, std::string>> cases = {
        {FailOutOfRange, "\" stopped on an internal error; nothing was written."},
        {FailInvalidArgument, "\" stopped on an internal error; nothing was written."},
        {FailOutOfMemory, "Not enough memory to convert \""},
    };
    for (const auto& [body, message] : cases) {
        ScratchFolder folder;
        WriteBytes(folder / "points.wpt", "A 1 2\r\n");
        const ConversionMode mode = TestImport(body);
        RecordingMessages messages;
        const std::string failure =
            FailureOf([&] { RunConversion(mode, folder / "points.wpt", Options(), messages); });
        EXPECT_NE(failure.find(message), std::string::npos) << failure;
        EXPECT_FALSE(fs::exists(folder / "points.txt"));
        EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
    }
}

// Outside a job, what the window and the command line show for any failure.
TEST(FailureText, NamesEveryFailureInWords) {
    const UserError user(Message(MessageId::UsageNoInput));
    EXPECT_EQ(FailureText(user, Language::Russian), "не указан входной файл");
    EXPECT_EQ(FailureText(std::bad_alloc(), Language::Russian), "Не хватает памяти.");
    EXPECT_EQ(FailureText(std::logic_error("no control x"), Language::English),
              "Internal error of the program: no control x");
}

TEST(ConversionJob, FailedJobLeavesExistingOutputUntouched) {
    ScratchFolder folder;
    WriteBytes(folder / "points.wpt", "A 1 2\r\n");
    WriteBytes(folder / "points.txt", "hand-edited list\r\n");
    RecordingMessages messages;
    EXPECT_THROW(
        RunConversion(kFailing, folder / "points.wpt", Options(), messages, ExistingList::Replace),
        UserError);
    EXPECT_EQ(ReadBytes(folder / "points.txt"), "hand-edited list\r\n");
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

// How the output of a job can turn out to be its own input.
struct SameFileCase {
    const char* label;
    int mode;
    const char* input;
    const char* output;  // the job's output name
    enum { SameName, SymbolicLink, HardLink } how;
};

void PrintTo(const SameFileCase& c, std::ostream* os) {
    *os << c.label;
}

class SameFileTest : public ::testing::TestWithParam<SameFileCase> {};

TEST_P(SameFileTest, IsRefusedAndTheInputKept) {
    const SameFileCase& c = GetParam();
    ScratchFolder folder;
    const std::string bytes = "A\r\n45.5 6.25\r\n";
    WriteBytes(folder / c.input, bytes);
    if (c.how == SameFileCase::SymbolicLink) fs::create_symlink(c.input, folder / c.output);
    if (c.how == SameFileCase::HardLink) fs::create_hard_link(folder / c.input, folder / c.output);
    RecordingMessages messages;
    EXPECT_EQ(FailureOf([&] {
                  RunConversion(*FindConversionMode(c.mode), folder / c.input, Options(), messages);
              }),
              "The output \"" + PathText(folder / c.output) +
                  "\" is the input file itself; nothing was written.");
    EXPECT_EQ(ReadBytes(folder / c.input), bytes);
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, SameFileTest,
    ::testing::Values(
        SameFileCase{"XCTrack file as list", 2, "s.wpt", "s.wpt", SameFileCase::SameName},
        SameFileCase{"note as export", 1, "note.txt", "note.txt", SameFileCase::SameName},
        SameFileCase{"page as list", 4, "page.htm", "page.htm", SameFileCase::SameName},
        SameFileCase{"link to the input", 3, "l.txt", "l_nav.wpt", SameFileCase::SymbolicLink},
        SameFileCase{"hard link", 5, "h.txt", "h_lk8.wpt", SameFileCase::HardLink}));

TEST(ConversionJob, OutputThatCannotBeReplacedFailsWithClearMessage) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", "A\r\n1 2\r\n");
    fs::create_directory(folder / "list_nav.wpt");
    RecordingMessages messages;
    const std::string failure = FailureOf(
        [&] { RunConversion(*FindConversionMode(3), folder / "list.txt", Options(), messages); });
    EXPECT_TRUE(failure.starts_with("Cannot create file \"")) << failure;
    EXPECT_NE(failure.find("list_nav.wpt"), std::string::npos);
    EXPECT_TRUE(fs::is_directory(folder / "list_nav.wpt"));
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

TEST(ConversionJob, ReadOnlyTargetIsRefusedAndKept) {
    ScratchFolder folder;
    WriteBytes(folder / "list.txt", "A\r\n1 2\r\n");
    WriteBytes(folder / "list_nav.wpt", "protected\r\n");
    fs::permissions(folder / "list_nav.wpt", fs::perms::owner_read | fs::perms::group_read);
    RecordingMessages messages;
    EXPECT_EQ(
        FailureOf([&] {
            RunConversion(*FindConversionMode(3), folder / "list.txt", Options(), messages);
        }),
        "Cannot create file \"" + PathText(folder / "list_nav.wpt") + "\". The file is read-only.");
    EXPECT_EQ(ReadBytes(folder / "list_nav.wpt"), "protected\r\n");
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

// What a replaced output keeps: its permissions, its links, and the place of
// the file a symbolic link leads to; other hard links keep the old content.
struct TargetCase {
    const char* label;
    const char* output;  // the name the job writes, list_nav.wpt or a link of that name
    const char* file;    // the file that must get the new content
    enum { PrivateFile, LinkInFolder, LinkElsewhere, HardLink } arrangement;
};

void PrintTo(const TargetCase& c, std::ostream* os) {
    *os << c.label;
}

class ReplacedTargetTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ReplacedTargetTest, KeepsPermissionsAndLinks) {
    const TargetCase& c = GetParam();
    ScratchFolder folder;
    fs::create_directory(folder / "other");
    WriteBytes(folder / "list.txt", "A\r\n45.5 6.25\r\n");
    WriteBytes(folder / c.file, "old\r\n");
    if (c.arrangement == TargetCase::PrivateFile) {
        fs::permissions(folder / c.file, fs::perms::owner_read | fs::perms::owner_write);
    } else if (c.arrangement == TargetCase::HardLink) {
        fs::create_hard_link(folder / c.file, folder / c.output);
    } else {
        const fs::path target = c.arrangement == TargetCase::LinkElsewhere
                                    ? fs::path("other") / "target.wpt"
                                    : fs::path(c.file);
        fs::create_symlink(target, folder / c.output);
    }
    RecordingMessages messages;
    RunConversion(*FindConversionMode(3), folder / "list.txt", Options(), messages);

    EXPECT_TRUE(ReadBytes(folder / c.file).starts_with("OziExplorer")) << "new content";
    if (c.arrangement == TargetCase::PrivateFile) {
        EXPECT_EQ(fs::status(folder / c.file).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write);
    } else if (c.arrangement == TargetCase::HardLink) {
        EXPECT_EQ(ReadBytes(folder / c.output), "old\r\n") << "the other name keeps the old file";
    } else {
        EXPECT_TRUE(fs::is_symlink(folder / c.output)) << "the link stays a link";
    }
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

INSTANTIATE_TEST_SUITE_P(
    Targets, ReplacedTargetTest,
    ::testing::Values(
        TargetCase{"600 file", "list_nav.wpt", "list_nav.wpt", TargetCase::PrivateFile},
        TargetCase{"link beside", "list_nav.wpt", "real.wpt", TargetCase::LinkInFolder},
        TargetCase{"link to another folder", "list_nav.wpt", "other/target.wpt",
                   TargetCase::LinkElsewhere},
        TargetCase{"hard link", "copy.wpt", "list_nav.wpt", TargetCase::HardLink}));

// Names the job does not own stay as they are, however they look: the page's
// pending file is a temporary file of its own, and temporary names do not
// grow with the output's name.
TEST(ConversionJob, LeavesFilesItDidNotCreateAndTakesLongNames) {
    ScratchFolder folder;
    const std::string list = "A <N>\r\n45.5 6.25\r\n";
    WriteBytes(folder / "x.txt", list);
    WriteBytes(folder / "x.htm$", "mine\r\n");
    fs::create_directory(folder / "y.htm$");
    WriteBytes(folder / "y.txt", list);
    fs::create_directory(folder / "y.htm");  // the page cannot be written: the job fails
    const std::string longName = std::string(236, 'n') + ".txt";  // 240 bytes, as touch allows
    WriteBytes(folder / longName, list);
    RecordingMessages messages;
    for (const int mode : {2, 3, 4, 5}) {
        RunConversion(*FindConversionMode(mode), folder / longName, Options(), messages);
    }
    RunConversion(*FindConversionMode(4), folder / "x.txt", Options(), messages);
    RunConversion(*FindConversionMode(4), folder / "x.htm$", Options(), messages);  // as input
    EXPECT_THROW(RunConversion(*FindConversionMode(4), folder / "y.txt", Options(), messages),
                 UserError);
    EXPECT_EQ(ReadBytes(folder / "x.htm$"), "mine\r\n");
    EXPECT_TRUE(fs::is_directory(folder / "y.htm$"));
    EXPECT_TRUE(fs::exists(folder / "x.htm"));
    EXPECT_TRUE(fs::exists(folder / (std::string(236, 'n') + "_lk8.wpt")));
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
}

// A job stopped by a signal leaves nothing behind: the table of live
// temporary files names each file while it exists.
TEST(TemporaryFile, InterruptionRemovesEveryLiveTemporaryFile) {
    ScratchFolder folder;
    const fs::path kept = folder / "kept.wpt";
    WriteBytes(kept, "old\r\n");
    AtomicOutputFile output(kept);
    TemporaryFile pending(folder.Path(), "page");
    std::fputs("new", output.File());
    EXPECT_TRUE(LeftoverTemporaryFiles(folder.Path()));
    RemoveTemporaryFilesNow();
    EXPECT_FALSE(LeftoverTemporaryFiles(folder.Path()));
    EXPECT_EQ(ReadBytes(kept), "old\r\n");
}

// A temporary file has the permission bits of the file it is to replace from
// its first byte, whatever the user's umask, so that another user never reads
// a private file's next content; a new file gets what the umask gives.
TEST(TemporaryFile, StartsWithThePermissionsOfTheFileItReplaces) {
    const struct {
        int old;  // -1: no file yet
        mode_t umask;
        const char* link;  // the output's name leads there through this link; null for none
        int expected;
    } cases[] = {
        {0600, 0, nullptr, 0600},    {0640, 0, nullptr, 0640}, {0644, 077, nullptr, 0644},
        {0600, 0, "link.wpt", 0600}, {-1, 022, nullptr, 0644}, {-1, 077, nullptr, 0600},
    };
    for (const auto& c : cases) {
        ScratchFolder folder;
        const fs::path file = folder / "out.wpt";
        if (c.old >= 0) {
            WriteBytes(file, "old\r\n");
            fs::permissions(file, static_cast<fs::perms>(c.old));
        }
        if (c.link != nullptr) fs::create_symlink("out.wpt", folder / c.link);
        const mode_t before = umask(c.umask);
        AtomicOutputFile output(c.link != nullptr ? folder / c.link : file);
        umask(before);
        struct stat status {};
        ASSERT_EQ(fstat(fileno(output.File()), &status), 0);
        EXPECT_EQ(status.st_mode & 07777, static_cast<mode_t>(c.expected))
            << c.old << " " << c.umask;
    }
}

// Where another user could have planted the output's symbolic link (in a
// sticky folder everyone may write to, as /tmp), a link on the way to the
// file that is neither the running user's nor the folder owner's is not followed.
TEST(ConversionJob, AnotherUsersLinkInASharedFolderIsNotFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "NOT RUN: only root can make another user's link";
    constexpr uid_t kRoot = 0, kOther = 65534;
    const fs::perms shared = fs::perms::all | fs::perms::sticky_bit;
    const struct {
        const char* label;
        fs::perms folder;
        uid_t folderOwner;
        std::vector<uid_t> linkOwners;  // of the chain from the output's name to the file
        bool refused;
    } cases[] = {
        {"another user's link", shared, kRoot, {kOther}, true},
        {"another user's link behind an own one", shared, kRoot, {kRoot, kOther}, true},
        {"the folder owner's link", shared, kOther, {kOther}, false},
        {"an own link", shared, kOther, {kRoot}, false},
        {"a folder that is not sticky", fs::perms::all, kRoot, {kOther}, false},
    };
    for (const auto& c : cases) {
        ScratchFolder scratch;
        const fs::path folder = scratch / "shared";
        fs::create_directory(folder);
        WriteBytes(folder / "list.txt", "A\r\n1 2\r\n");
        WriteBytes(scratch / "kept.wpt", "old\r\n");
        for (std::size_t i = 0; i < c.linkOwners.size(); ++i) {
            const fs::path link = folder / (i == 0 ? "list_nav.wpt" : "link" + std::to_string(i));
            const bool last = i + 1 == c.linkOwners.size();
            fs::create_symlink(last ? "../kept.wpt" : "link" + std::to_string(i + 1), link);
            ASSERT_EQ(lchown(link.c_str(), c.linkOwners[i], c.linkOwners[i]), 0);
        }
        ASSERT_EQ(chown(folder.c_str(), c.folderOwner, c.folderOwner), 0);
        fs::permissions(folder, c.folder);
        RecordingMessages messages;
        const std::string failure = FailureOf([&] {
            RunConversion(*FindConversionMode(3), folder / "list.txt", Options(), messages);
        });
        const std::string refusal = "Cannot create file \"" + PathText(folder / "list_nav.wpt") +
                                    "\". It is another user's link in a shared folder";
        EXPECT_EQ(failure, c.refused ? refusal : "") << c.label;
        EXPECT_EQ(ReadBytes(scratch / "kept.wpt") == "old\r\n", c.refused) << c.label;
        EXPECT_FALSE(LeftoverTemporaryFiles(scratch.Path()));
    }
}

// Nothing in the engine reads the C library's locale: the modes that parse
// and format numbers write the same bytes under a comma-decimal locale.
TEST(ConversionJob, CommaDecimalLocaleGivesSameBytes) {
    const std::string list = "A\r\n45.5 6.25\r\nc\r\n\r\nB\r\n-0.125 179.99\r\n";
    std::vector<std::string> pointLocaleOutputs;
    for (const int mode : {2, 3, 4, 5})
        pointLocaleOutputs.push_back(testing::Convert(mode, list).output);
    if (std::setlocale(LC_ALL, "ru_RU.UTF-8") == nullptr) {
        GTEST_SKIP() << "LOCALE ru_RU.UTF-8 IS NOT INSTALLED: comma-decimal check not run";
    }
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    std::size_t index = 0;
    for (const int mode : {2, 3, 4, 5}) {
        EXPECT_EQ(testing::Convert(mode, list).output, pointLocaleOutputs[index++]) << mode;
    }
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace oradel
