// One rule of unique names for every waypoint file that needs them.
#include "engine/unique_names.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace oradel {
namespace {

TEST(UniqueNames, NumbersRepeatedNamesWithinTheLimit) {
    const struct {
        std::size_t limit;
        const char* separator;
        FittingLength fit;
        std::vector<std::string> names, taken;
    } cases[] = {
        {5,
         "",
         FittingBytes,
         {"ab", "ab", "ab2", "abcdefg", "abcdefh"},
         {"ab", "ab2", "ab22", "abcde", "abcd2"}},
        {3,
         "",
         FittingBytes,
         std::vector<std::string>(11, "abc"),
         {"abc", "ab2", "ab3", "ab4", "ab5", "ab6", "ab7", "ab8", "ab9", "a10", "a11"}},
        {9,
         " ",
         FittingUtf8,
         {"Юца", "Юца", "Юца Юца", "Юца Юца"},
         {"Юца", "Юца 2", "Юца Ю", "Юца 3"}},
        {5, " ", FittingUtf8, {"Ю ца", "Ю ца"}, {"Ю ц", "Ю 2"}},
    };
    for (const auto& c : cases) {
        UniqueNames names(c.limit, c.separator, c.fit);
        std::vector<std::string> taken;
        for (const std::string& name : c.names) taken.push_back(names.Take(name));
        EXPECT_EQ(taken, c.taken) << c.names.front();
    }
}

}  // namespace
}  // namespace oradel
