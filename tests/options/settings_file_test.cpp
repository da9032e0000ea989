#include "options/settings_file.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/conversion_modes.hpp"
#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/test_support.hpp"
#include "options/option_controls.hpp"

namespace oradel {
namespace {
namespace fs = std::filesystem;
namespace support = oradel::testing;

using Overrides = support::OptionChanges;
constexpr auto OptionsWith = support::WithChanges;

// Every control as "name=value", in creation order, for comparing whole option states.
std::vector<std::string> Entries(const Options& options,
                                 const std::set<std::string>& leftOut = {}) {
    std::vector<std::string> entries;
    for (const OptionControl& control : OptionControls()) {
        const std::string name(control.name);
        if (leftOut.contains(name)) continue;
        entries.push_back(name + '=' +
                          (!control.IsCheckBox()     ? control.Text(options)
                           : control.Ticked(options) ? "1"
                                                     : "0"));
    }
    return entries;
}

std::string Joined(const std::vector<std::string>& lines, const std::string& ending) {
    std::string text;
    for (const std::string& line : lines) text += line + ending;
    return text;
}

Options LoadedFrom(const std::string& bytes) {
    support::ScratchFolder folder;
    support::WriteBytes(folder / "oradel.ini", bytes);
    return LoadSettings(folder / "oradel.ini");
}

TEST(SettingsFileTest, ParsesIntegersByTheProfileRule) {
    const std::vector<std::pair<std::string, long long>> numbers = {
        {"0", 0},  {"00", 0},    {"1", 1},     {"-1", -1},
        {"+7", 7}, {"0x10", 16}, {"0X1f", 31}, {"0x0", 0}};
    for (const auto& [text, expected] : numbers) {
        EXPECT_EQ(ParseProfileInteger(text), expected) << '"' << text << '"';
    }
    EXPECT_EQ(ParseProfileInteger("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(ParseProfileInteger("0x7FFFFFFFFFFFFFFF"), 9223372036854775807LL);
    EXPECT_EQ(ParseProfileInteger("99999999999999999999"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("0x10000000000000000"), std::nullopt);
    const std::vector<std::string> notNumbers = {"yes", "0xg", "0x-1", "0x+1", "0x0x1", "-0x1",
                                                 "+-1", "--1", "+",    "-",    " 1",    "1 ",
                                                 "1.5", "$10", "0x",   "0X",   ""};
    for (const std::string& text : notNumbers) {
        EXPECT_EQ(ParseProfileInteger(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(SettingsFileTest, ChecksBoxesByTheIntegerRuleElseByDefault) {
    struct Case {
        std::string stored;
        bool checkBox4;  // ticked by default
        bool cRS2;       // unticked by default
    };
    const std::vector<Case> cases = {
        {"0x10", true, true}, {"00", false, false},    {"0", false, false},
        {"-1", true, true},   {"yes", true, false},    {"", true, false},
        {"0x", true, false},  {"\"0\"", false, false}, {" 0 ", false, false},
        {"'1'", true, true},  {"1 ; on", true, false}};
    for (const Case& test : cases) {
        const Options options = LoadedFrom(support::CrLfLines(
            {"[save_parametr_all]", "CheckBox4=" + test.stored, "cRS2=" + test.stored}));
        EXPECT_EQ(options.operations.Has(4), test.checkBox4) << test.stored;
        EXPECT_EQ(options.page.startOpen, test.cRS2) << test.stored;
    }
}

TEST(SettingsFileTest, MissingOrUnreadableFileGivesDefaults) {
    support::ScratchFolder folder;
    fs::create_directory(folder / "folder.ini");
    for (const fs::path& file : {folder / "missing.ini", folder / "folder.ini"}) {
        EXPECT_EQ(Entries(LoadSettings(file)), Entries(Options())) << file;
    }
}

TEST(SettingsFileTest, ReadsTheSectionAsThePrivateProfileReaderDoes) {
    const std::string longText(3000, 'x');
    struct Case {
        std::string name;
        std::string file;
        Overrides expected;
    };
    const std::vector<Case> cases = {
        {"other section only", "[other]\r\nCheckBox4=0\r\nEdit1=a\r\n", {}},
        {"any order, extra keys and sections, any case",
         "; kept\r\n[Other]\r\nCheckBox1=0\r\n[SAVE_PARAMETR_ALL]\r\nedit2=77\r\nExtra=5\r\n"
         "crs2=1\r\ncheckbox1=0\r\n[tail]\r\nCheckBox2=0\r\n",
         {{"Edit2", "77"}, {"cRS2", "1"}, {"CheckBox1", "0"}}},
        {"LF ends, blanks and quotes",
         "  [ save_parametr_all ]  \n\tCheckBox3 =  0 \n Edit1 = \"  a=b  \" \nEdit2='x'\n"
         "Edit3=\"open\n",
         {{"CheckBox3", "0"}, {"Edit1", "  a=b  "}, {"Edit2", "x"}, {"Edit3", "\"open"}}},
        {"first key and first section count, comments do not",
         "[save_parametr_all]\r\n;CheckBox5=0\r\nCheckBox5=1\r\nCheckBox5=0\r\nEdit1=first\r\n"
         "[save_parametr_all]\r\nEdit1=second\r\nCheckBox6=0\r\n",
         {{"Edit1", "first"}}},
        {"Windows-1251 text, byte-order mark, no final line end",
         "\xEF\xBB\xBF[save_parametr_all]\r\nEdit1=\xCC\xE8\xF0 7\r\nCheckBox7=0",
         {{"Edit1", "\xCC\xE8\xF0 7"}, {"CheckBox7", "0"}}},
        {"keys without values", "[save_parametr_all]\r\nEdit1\r\nCheckBox8\r\ncRS2=\r\n", {}},
        {"long values are cut",
         "[save_parametr_all]\r\nEdit1=" + longText + "\r\nEdit2=\"" + longText + "\"\r\n",
         {{"Edit1", longText.substr(0, 2047)}, {"Edit2", longText.substr(0, 2047)}}},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(Entries(LoadedFrom(test.file)), Entries(OptionsWith(test.expected))) << test.name;
    }
}

// The operations' boxes first, in job order as the mode table gives them,
// then the page's controls in the table's order.
TEST(SettingsFileTest, NewFileHoldsEveryControlInTableOrder) {
    std::vector<std::string> lines = {"[save_parametr_all]"};
    for (const ConversionMode& mode : ConversionModes()) {
        const bool ticked = mode.tickedOnFirstStart && mode.key != "CheckBox1";
        lines.push_back(std::string(mode.key) + (ticked ? "=1" : "=0"));
    }
    for (const char* line :
         {"CheckBox6=1",  "CheckBox7=1",  "CheckBox8=1",  "CheckBox9=1",  "CheckBox10=1",
          "CheckBox11=1", "CheckBox12=1", "CheckBox13=1", "CheckBox14=1", "CheckBox16=1",
          "CheckBox17=1", "CheckBox18=1", "CheckBox19=1", "Edit1=",       "Edit2=77",
          "Edit3=",       "cRS=1",        "cFI=1",        "cRS2=1",       "CheckBox20=1",
          "CheckBox21=1"}) {
        lines.push_back(line);
    }
    const std::string expected = support::CrLfLines(lines);
    support::ScratchFolder folder;
    SaveSettings(folder / "oradel.ini",
                 OptionsWith({{"CheckBox1", "0"}, {"Edit2", "77"}, {"cRS2", "1"}}));
    EXPECT_EQ(support::ReadBytes(folder / "oradel.ini"), expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(SettingsFileTest, SaveChangesOnlyValuesAndAppendsMissingKeys) {
    const Options options = OptionsWith({{"Edit1", "new"}, {"Edit3", "abc"}, {"CheckBox4", "0"}});
    const auto rest = [&](const std::set<std::string>& present, const std::string& ending) {
        return Joined(Entries(options, present), ending);
    };
    struct Case {
        std::string name;
        std::string before;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"values in place, new keys after the section's last key",
         "; Oradel\r\n[first]\r\nCheckBox4=1\r\n\r\n[Save_Parametr_All]\r\n  edit1 = old \r\n"
         "Extra=keep\r\ncheckbox4 =1\r\nEdit3=\"abc\"\r\ncRS2=0\r\n\r\n; next\r\n[last]\r\nx=y\r\n",
         "; Oradel\r\n[first]\r\nCheckBox4=1\r\n\r\n[Save_Parametr_All]\r\n  edit1 = new \r\n"
         "Extra=keep\r\ncheckbox4 =0\r\nEdit3=\"abc\"\r\ncRS2=0\r\n" +
             rest({"Edit1", "CheckBox4", "Edit3", "cRS2"}, "\r\n") +
             "\r\n; next\r\n[last]\r\nx=y\r\n"},
        {"section added to an LF file after a blank line", "a=1\n; c",
         "a=1\n; c\n\n[save_parametr_all]\n" + rest({}, "\n")},
        {"empty section at the end without a line end", "x=1\r\n\r\n[save_parametr_all]",
         "x=1\r\n\r\n[save_parametr_all]\r\n" + rest({}, "\r\n")},
        {"last key without a line end", "[save_parametr_all]\r\nCheckBox4=1",
         "[save_parametr_all]\r\nCheckBox4=0\r\n" + rest({"CheckBox4"}, "\r\n")},
        {"key without a value gets one", "[save_parametr_all]\r\nEdit1 \r\n",
         "[save_parametr_all]\r\nEdit1=new \r\n" + rest({"Edit1"}, "\r\n")},
        {"a file of line feeds, read a line at a time", std::string(100000, '\n'),
         std::string(100000, '\n') + "[save_parametr_all]\n" + rest({}, "\n")},
    };
    for (const Case& test : cases) {
        support::ScratchFolder folder;
        support::WriteBytes(folder / "oradel.ini", test.before);
        SaveSettings(folder / "oradel.ini", options);
        EXPECT_EQ(support::ReadBytes(folder / "oradel.ini"), test.after) << test.name;
        SaveSettings(folder / "oradel.ini", options);
        EXPECT_EQ(support::ReadBytes(folder / "oradel.ini"), test.after) << test.name << ", again";
    }
}

TEST(SettingsFileTest, EveryStateSurvivesSaveAndLoad) {
    Overrides allFlipped;
    for (const OptionControl& control : OptionControls()) {
        allFlipped.emplace_back(control.name, !control.IsCheckBox()       ? "\xCD\xEE\xEC\xE5\xF0"
                                              : control.Ticked(Options()) ? "0"
                                                                          : "1");
    }
    const std::vector<Overrides> states = {
        {},
        allFlipped,
        {{"Edit1", " padded "}, {"Edit2", "\"quoted\""}, {"Edit3", "'single'"}},
        {{"Edit1", "\""}, {"Edit2", "a=b ; c [d]"}, {"Edit3", "\"\""}},
        {{"Edit1", std::string(2047, 'z')}, {"Edit2", "\t"}, {"Edit3", "'x\""}},
    };
    support::ScratchFolder folder;
    for (const Overrides& state : states) {
        SaveSettings(folder / "oradel.ini", OptionsWith(state));  // over the previous state
        EXPECT_EQ(Entries(LoadSettings(folder / "oradel.ini")), Entries(OptionsWith(state)));
    }
}

TEST(SettingsFileTest, LineBreaksInATextCannotAddKeys) {
    support::ScratchFolder folder;
    SaveSettings(folder / "oradel.ini", OptionsWith({{"Edit1", "x\r\nCheckBox4=0\n[s]"}}));
    EXPECT_EQ(Entries(LoadSettings(folder / "oradel.ini")),
              Entries(OptionsWith({{"Edit1", "x  CheckBox4=0 [s]"}})));
}

// The window's last folder is kept as UTF-8 under a key no control has; a
// save without one keeps what the file holds.
TEST(SettingsFileTest, KeepsTheLastFolderUnderItsOwnKey) {
    for (const OptionControl& control : OptionControls()) {  // keys are read in any case
        std::string key(control.name);
        for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(key, "lastfolder");
    }
    support::ScratchFolder folder;
    const fs::path file = folder / "oradel.ini";
    EXPECT_EQ(LoadLastFolder(file), fs::path());
    const fs::path maps = PathFromText("/карты/Эльбрус 2024 ");
    SaveSettings(file, Options(), maps);
    SaveSettings(file, Options());
    EXPECT_EQ(LoadLastFolder(file), maps);
    EXPECT_EQ(Entries(LoadSettings(file)), Entries(Options()));
    support::WriteBytes(file, "[save_parametr_all]\r\nLASTFOLDER=C:\\\xCA\xE0\xF0\xF2\xFB\r\n");
    EXPECT_EQ(LoadLastFolder(file), fs::path());  // Windows-1251, not UTF-8
}

TEST(SettingsFileTest, FailedWriteThrowsWithThePathAndTheReason) {
    support::ScratchFolder folder;
    fs::create_directory(folder / "taken.ini");
    const std::vector<std::pair<fs::path, std::string>> cases = {
        {folder / "no such folder" / "oradel.ini",
         "Cannot create file \"" + (folder / "no such folder" / "oradel.ini").string() +
             "\". No such file or directory"},
        {folder / "taken.ini",
         "Cannot open file \"" + (folder / "taken.ini").string() + "\". Not a regular file"}};
    for (const auto& [file, message] : cases) {
        EXPECT_EQ(support::FailureOf([&] { SaveSettings(file, Options()); }), message);
    }
    EXPECT_TRUE(fs::is_directory(folder / "taken.ini"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(SettingsFileTest, ReadOnlyFolderKeepsTheOldFile) {
    support::ScratchFolder folder;
    const std::string old = "[save_parametr_all]\r\nCheckBox4=0\r\n";
    support::WriteBytes(folder / "oradel.ini", old);
    fs::permissions(folder.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(folder / "probe")) {
        GTEST_SKIP() << "folder permissions are not enforced for this user (root?)";
    }
    EXPECT_EQ(support::FailureOf([&] { SaveSettings(folder / "oradel.ini", Options()); }),
              "Cannot create file \"" + (folder / "oradel.ini").string() + "\". Permission denied");
    EXPECT_EQ(support::ReadBytes(folder / "oradel.ini"), old);
}

}  // namespace
}  // namespace oradel
