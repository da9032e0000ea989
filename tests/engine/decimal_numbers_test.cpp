#include "engine/decimal_numbers.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

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
    ::testing::Values(FormatCase{44.1234, "00.000000", "44.123400"},
                      FormatCase{5.5, "00.000000", "05.500000"},
                      FormatCase{-44.5, "00.000000", "-44.500000"},
                      FormatCase{-0.1276, "00.000000", "-00.127600"},
                      FormatCase{151.2093, "00.000000", "151.209300"},
                      FormatCase{-0.0000001, "00.000000", "00.000000"},
                      FormatCase{0.0000006, "00.000000", "00.000001"},
                      FormatCase{59.99999999998977, "00.00", "60.00"},
                      FormatCase{4.4799999, "00.00", "04.48"}, FormatCase{-1e-9, "00.00", "00.00"},
                      FormatCase{7, "000", "007"}, FormatCase{-7, "000", "-007"},
                      FormatCase{1234, "00", "1234"}, FormatCase{0.5, ".00", ".50"},
                      FormatCase{0, "0", "0"}, FormatCase{std::nan(""), "00.00", "NAN"},
                      FormatCase{kInfinity, "00.00", "INF"},
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

// The pattern rule written with to_chars alone: the text every value must get.
std::string ReferenceFormat(double value, std::string_view pattern) {
    const std::size_t patternPoint = pattern.find('.');
    const std::size_t wholeDigits = std::min(patternPoint, pattern.size());
    const int decimals =
        patternPoint == std::string_view::npos ? 0 : int(pattern.size() - patternPoint - 1);
    std::array<char, 400> buffer;
    const char* end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                    std::chars_format::fixed, decimals)
                          .ptr;
    const std::string_view text(buffer.data(), std::size_t(end - buffer.data()));
    const std::size_t point = std::min(text.find('.'), text.size());
    std::string_view whole = text.substr(0, point);
    std::string out;
    if (value < 0 && text.find_first_not_of("0.") != std::string_view::npos) out += '-';
    if (whole == "0" && wholeDigits == 0) whole = {};
    if (whole.size() < wholeDigits) out.append(wholeDigits - whole.size(), '0');
    out += whole;
    out += text.substr(point);
    return out;
}

// Values where a shortcut through the scaled integer would go wrong first:
// halves and their neighbours at every scale, carries into a new digit, the
// edge of nine whole digits, zero, subnormals, huge values and random bits.
std::vector<double> HardValues() {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  9.9999995,
                                  -9.9999995,
                                  0.9999999995,
                                  99.995,
                                  0.125,
                                  -0.125,
                                  2.675,
                                  1.005,
                                  0.5,
                                  1.5,
                                  2.5,
                                  999999999.5,
                                  999999999.4999999,
                                  1e9,
                                  1e9 - 1,
                                  1e-320,
                                  5e-324,
                                  1e300,
                                  -1e300,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::min(),
                                  44.1234,
                                  -0.0000005};
    std::mt19937_64 random(20240611);
    for (int scale = 0; scale <= 10; ++scale) {
        const double power = std::pow(10.0, scale);
        for (int i = 0; i < 400; ++i) {
            const double half = (double(random() % 2'000'000'000) + 0.5) / power;
            values.push_back(half);
            values.push_back(std::nextafter(half, 0.0));
            values.push_back(std::nextafter(half, 1e300));
            values.push_back(-(double(random() % 1'000'000) + 1) / power);
            // Just below a half that carries into the whole digits (9.9999995).
            values.push_back(std::nextafter(double(random() % 100'000) + 1 - 0.5 / power, 0.0));
        }
    }
    std::uniform_real_distribution<double> coordinate(-180.0, 180.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    for (int i = 0; i < 20'000; ++i) {
        values.push_back(coordinate(random));
        values.push_back(coordinate(random) * std::pow(10.0, exponent(random)));
        const double bits = std::bit_cast<double>(random());
        if (std::isfinite(bits)) values.push_back(bits);
    }
    return values;
}

TEST(FormatWithPattern, MatchesToCharsForEveryValue) {
    const std::vector<double> values = HardValues();
    for (const char* pattern :
         {"0", "000", ".0", "0.0", "00.00", "0.000", ".0000", "00.00000", "00.000000", "0.0000000",
          "000.00000000", "0.000000000", "00.0000000000", "0.000000000000000000"}) {
        int failures = 0;
        for (const double value : values) {
            const std::string expected = ReferenceFormat(value, pattern);
            const std::string text = FormatWithPattern(value, pattern);
            if (text != expected && ++failures <= 5) {
                ADD_FAILURE() << std::hexfloat << value << " " << pattern << ": " << text
                              << " instead of " << expected;
            }
        }
        EXPECT_EQ(failures, 0) << pattern;
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
