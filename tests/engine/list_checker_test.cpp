// The list check: for each problem the smallest list that shows it, and
// lists that must come out without errors or warnings.
#include "engine/list_checker.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/errors.hpp"
#include "engine/files.hpp"
#include "engine/test_support.hpp"

namespace oradel {
namespace {

using enum MessageId;
using testing::Windows1251;

std::vector<Diagnostic> Check(const std::string& bytes) {
    testing::ScratchFolder folder;
    testing::WriteBytes(folder / "list.txt", bytes);
    return CheckPointListFile(folder / "list.txt");
}

std::string Listed(const std::vector<Diagnostic>& diagnostics) {
    std::string text;
    for (const Diagnostic& d : diagnostics) {
        text += std::to_string(d.line) + ": " + d.text.Text(Language::English) + "\n";
    }
    return text;
}

TEST(ListChecker, FindsEachProblemOnItsLine) {
    const std::string far = "A\n55.75 37.61\n\nB\n55.80 37.50\n\n";
    const struct {
        std::string list;  // readable UTF-8, LF line ends unless given
        std::size_t line;
        Severity severity;
        MessageId id;
    } cases[] = {
        {"A\n43.9 abc\n", 2, Severity::Error, CheckLetterInCoordinate},
        {"A\n43.9\n", 2, Severity::Error, CheckMissingLongitude},
        {"A\n43.9.1 42\n", 2, Severity::Error, CheckTwoSeparators},
        {"A\n43 42 1850 12\n", 2, Severity::Error, CheckFourthValue},
        {"A\n43 42 высоко\n", 2, Severity::Error, CheckBadAltitude},
        {"A\n45 190\n", 2, Severity::Error, CheckOutOfRange},
        {"A\n120 45\n", 2, Severity::Error, CheckSwappedOutOfRange},
        {far + "C\n37.61 55.75\n", 8, Severity::Warning, CheckSwappedInSection},
        {far + "C\n58.75 37.61\n", 8, Severity::Warning, CheckFarFromSection},
        {"A\n1 2\n\nB\n1.0 2\n", 5, Severity::Warning, CheckRepeatedPosition},
        {"A\n43 42 9500\n", 2, Severity::Warning, CheckImplausibleAltitude},
        {"<С>\n43 42\n", 1, Severity::Warning, CheckUnnamed},
        {"A\n43 42\n\nA <Ю>\n44 42\n", 4, Severity::Warning, CheckRepeatedName},
        {"A <Ю\n43 42\n", 1, Severity::Warning, CheckUnclosedFilterTag},
        {"A\n43 42\n[https://x.org без\n", 3, Severity::Warning, CheckUnclosedMarkup},
        {"A\n43 42\n{+7 123|Сергей\n", 3, Severity::Warning, CheckUnclosedMarkup},
        {"A\n43 42\n[javascript:alert(1)|x]\n", 3, Severity::Warning, CheckScriptLink},
        {"A\n43 42\n[ftp://x.org|x]\n", 3, Severity::Warning, CheckLinkAddress},
        {":Горы\n", 1, Severity::Warning, CheckHeadingWithoutPoint},
        {":Горы\n\nB\n1 2\n", 3, Severity::Error, CheckMisreadRecord},
        {"A\n\nB\n1 2\n", 1, Severity::Error, CheckNoCoordinates},
        {"A\x07\n43 42\n", 1, Severity::Warning, CheckControlCharacter},
        {std::string("A\0\n43 42\n", 9), 1, Severity::Error, CheckNulByte},
        {"Верхнее плато Лагонаки\n43 42\n", 1, Severity::Warning, CheckLK8000NameCut},
        {"A €\n43 42\n", 1, Severity::Warning, CheckLK8000Replaced},
        {"Gornaya Vershina A\n43 42\n\nGornaya Vershina B\n44 42\n", 4, Severity::Warning,
         CheckDeviceNumbered},
        {"A b\n43 42\n\nA_b\n44 42\n", 4, Severity::Warning, CheckDeviceSameName},
        {"Верхнее плато Лагонаки\n43 42\n", 1, Severity::Warning, CheckCupNameCut},
        {"A\n43 42\n" + std::string(500, 'x') + "\n", 3, Severity::Warning, CheckLK8000CommentCut},
        {"Юца\n43 42\n", 1, Severity::Note, CheckTransliterated},
        {"A\r\n43 42\n", 2, Severity::Note, CheckMixedLineEnds},
        {"A\n43 42\n", 1, Severity::Note, CheckEncoding},
    };
    for (const auto& c : cases) {
        const std::vector<Diagnostic> found = Check(Windows1251(c.list));
        const bool present = std::ranges::any_of(found, [&](const Diagnostic& d) {
            return d.line == c.line && d.severity == c.severity && d.text.Id() == c.id;
        });
        EXPECT_TRUE(present) << c.list << "\nfound:\n" << Listed(found);
    }
}

// Lists near the rules' edges that a device takes as they are.
TEST(ListChecker, SoundListsHaveNoErrorsOrWarnings) {
    const std::string cases[] = {
        "A\n89.9 179.9\n\nB\n-89.9 -179.9 -400\n",
        "A\n55.0 37.6\n\nB\n56.1 37.6\n\nC\n57.2 37.6\n",  // a section spread over 240 km
        "A\n43 42\n[https://a.org/x,y|z] {+7 (928) 1|tel}\n",
        ":Горы\nЮца <Ю>\n43,9612 42,9845 1850 м\n\nДжуца\n43.98 42.97 6070ft\n",
    };
    std::vector<std::string> lists;
    for (const std::string& list : cases) lists.push_back(Windows1251(list));
    lists.push_back(testing::ReadBytes(std::string(ORADEL_SOURCE_DIR) + "/examples/sites.txt"));
    for (const std::string& list : lists) {
        const std::vector<Diagnostic> found = Check(list);
        const DiagnosticCounts counts = CountDiagnostics(found);
        EXPECT_EQ(counts.errors + counts.warnings, 0u) << list << "\n" << Listed(found);
    }
}

// Every list of the test data checks, each finding on one of its lines, in order.
TEST(ListChecker, EveryTestListChecksLineByLine) {
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(ORADEL_TEST_DATA))) {
        if (entry.path().extension() != ".txt") continue;
        const std::string bytes = testing::ReadBytes(entry.path());
        const auto lines = static_cast<std::size_t>(std::ranges::count(bytes, '\n')) + 1;
        const std::vector<Diagnostic> found = CheckPointListFile(entry.path());
        EXPECT_TRUE(std::ranges::is_sorted(found, {}, &Diagnostic::line)) << entry.path();
        for (const Diagnostic& d : found) EXPECT_LE(d.line, lines) << entry.path();
    }
}

TEST(ListChecker, RefusesWhatIsNoPointList) {
    testing::ScratchFolder folder;
    testing::WriteBytes(folder / "x.txt", "<?xml version=\"1.0\"?><gpx></gpx>");
    EXPECT_THROW(CheckPointListFile(folder / "x.txt"), UserError);
    EXPECT_THROW(CheckPointListFile(folder / "missing.txt"), UserError);
}

}  // namespace
}  // namespace oradel
