#include "engine/decimal_numbers.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

namespace oradel {
namespace {

struct ParseCase {
    std::string text;
    std::optional<double> value;
};

void PrintTo(const ParseCase& c, std::ostream* out) {
    *out << '"' << c.text << '"';
}

class ParseDecimalTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalTest, FollowsTheNumberRule) {
    const ParseCase& c = GetParam();
    const std::optional<double> value = ParseDecimal(c.text);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << '"' << c.text << '"';
    if (value) {
        EXPECT_EQ(*value, *c.value) << '"' << c.text << '"';
    }
}

const std::string kFourHundredZeros(400, '0');

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalTest,
    ::testing::Values(
        ParseCase{"0", 0.0}, ParseCase{"55.751244", 55.751244}, ParseCase{"  -44.5  ", -44.5},
        ParseCase{"+1.5e-3", 0.0015}, ParseCase{"1E+3", 1000.0}, ParseCase{"2e2", 200.0},
        ParseCase{".5", 0.5}, ParseCase{"5.", 5.0}, ParseCase{"00012.5000", 12.5},
        ParseCase{"042", 42.0}, ParseCase{"1e-400", 0.0}, ParseCase{"-1e-400", 0.0},
        ParseCase{"0e999999999999", 0.0}, ParseCase{"1" + kFourHundredZeros + "e-399", 10.0},
        ParseCase{"0." + kFourHundredZeros + "1e402", 10.0},
        // Everything else fails.
        ParseCase{"", std::nullopt}, ParseCase{"   ", std::nullopt},
        ParseCase{"55,75", std::nullopt}, ParseCase{"1e", std::nullopt},
        ParseCase{"1e+", std::nullopt}, ParseCase{".", std::nullopt}, ParseCase{"-", std::nullopt},
        ParseCase{"+-1", std::nullopt}, ParseCase{"- 1", std::nullopt},
        ParseCase{"1.2.3", std::nullopt}, ParseCase{"1 2", std::nullopt},
        ParseCase{"12a", std::nullopt}, ParseCase{"\t1", std::nullopt},
        ParseCase{"inf", std::nullopt}, ParseCase{"nan", std::nullopt},
        ParseCase{"0x1A", std::nullopt}, ParseCase{"1e400", std::nullopt},
        ParseCase{"-1e400", std::nullopt}, ParseCase{"1" + kFourHundredZeros, std::nullopt},
        ParseCase{"e5", std::nullopt}, ParseCase{"1.5e3.1", std::nullopt}));

struct FormatCase {
    double value;
    const char* pattern;
    const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* out) {
    *out << c.value << " -> " << c.text;
}

class FormatWithPatternTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatWithPatternTest, WritesDigitsByThePattern) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatWithPattern(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, FormatWithPatternTest,
    ::testing::Values(
        FormatCase{44.1234, "00.000000", "44.123400"}, FormatCase{5.5, "00.000000", "05.500000"},
        FormatCase{-44.5, "00.000000", "-44.500000"},
        FormatCase{-0.1276, "00.000000", "-00.127600"},
        FormatCase{151.2093, "00.000000", "151.209300"},
        FormatCase{-0.0000001, "00.000000", "00.000000"},
        FormatCase{0.0000006, "00.000000", "00.000001"},
        FormatCase{59.99999999998977, "00.00", "60.00"}, FormatCase{4.4799999, "00.00", "04.48"},
        // Rounding is of the exact binary value: 2.675 lies below its
        // decimal text, 0.125 is a tie that goes to even, a carry adds a digit.
        FormatCase{2.675, "0.00", "2.67"}, FormatCase{0.125, "0.00", "0.12"},
        FormatCase{9.9999996, "0.000000", "10.000000"}, FormatCase{-1e-9, "00.00", "00.00"},
        FormatCase{7, "000", "007"}, FormatCase{-7, "000", "-007"}, FormatCase{1234, "00", "1234"},
        FormatCase{0.5, ".00", ".50"}, FormatCase{0, "0", "0"},
        FormatCase{std::nan(""), "00.00", "NAN"}, FormatCase{kInfinity, "00.00", "INF"},
        FormatCase{-kInfinity, "00.00", "-INF"}));

TEST(FormatWithPattern, WritesTheLargestDoubleInFull) {
    const std::string text =
        FormatWithPattern(std::numeric_limits<double>::lowest(), "00.000000000000000000");
    EXPECT_EQ(text.size(), 1 + 309 + 1 + 18u);
    EXPECT_EQ(text.substr(0, 5), "-1797");
}

TEST(FormatWithPattern, RejectsPatternsItCannotWrite) {
    for (const char* pattern : {"", "0,00", "#.##", "0.0.0", "0.0000000000000000000"}) {
        EXPECT_THROW(FormatWithPattern(1.5, pattern), std::invalid_argument) << pattern;
    }
}

// Sets a locale for the test's duration and puts the previous one back.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) {
        if (const char* current = std::setlocale(LC_ALL, nullptr)) saved_ = current;
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
    bool Active() const { return active_; }

  private:
    std::string saved_ = "C";
    bool active_ = false;
};

TEST(DecimalNumbers, IgnoreACommaLocale) {
    ScopedLocale russian("ru_RU.UTF-8");
    if (!russian.Active()) GTEST_SKIP() << "SKIPPED: locale ru_RU.UTF-8 is not installed";
    EXPECT_EQ(ParseDecimal("55.75"), 55.75);
    EXPECT_EQ(ParseDecimal("55,75"), std::nullopt);
    EXPECT_EQ(FormatWithPattern(-55.75, "00.000000"), "-55.750000");
}

}  // namespace
}  // namespace oradel
