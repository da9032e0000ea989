#include <gtest/gtest.h>

#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Convert;
using testing::CrLfLines;
using testing::Windows1251;

const std::string kHeader =
    CrLfLines({"OziExplorer Waypoint File Version 1.0", "WGS 84", "Reserved 2", "Reserved 3"});

struct NavitelCase {
    const char* label;
    std::string list;  // readable UTF-8, converted to Windows-1251
    std::vector<std::string> records;
};

void PrintTo(const NavitelCase& c, std::ostream* os) {
    *os << c.label;
}

class NavitelWaypointsTest : public ::testing::TestWithParam<NavitelCase> {};

TEST_P(NavitelWaypointsTest, WritesRecords) {
    const NavitelCase& c = GetParam();
    const auto result = Convert(3, Windows1251(c.list));
    EXPECT_EQ(result.output, kHeader + Windows1251(CrLfLines(c.records))) << c.label;
    EXPECT_TRUE(result.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Records, NavitelWaypointsTest,
    ::testing::Values(
        NavitelCase{"empty list", "", {}},
        NavitelCase{"worked example",
                    "Гора\r\n55.751244 37.618423\r\nстарт, юг\r\n",
                    {"-1,Гора,55.751244,37.618423, , 0, 1, 3, 0, 65535,старт юг, 0, 0, 0.00000, "
                     "-777"}},
        NavitelCase{"the altitude in feet",
                    "A\r\n1 2 1850\r\n\r\nB\r\n3 4 -5ft\r\n",
                    {"-1,A,1,2, , 0, 1, 3, 0, 65535,, 0, 0, 0.00000, 6070",
                     "-1,B,3,4, , 0, 1, 3, 0, 65535,, 0, 0, 0.00000, -7"}},
        NavitelCase{"description keeps its ends",
                    "A\r\n1 2\r\n  старт, юг  \r\n\r\n",
                    {"-1,A,1,2, , 0, 1, 3, 0, 65535, старт юг , 0, 0, 0.00000, -777"}},
        NavitelCase{"closing line of spaces gives one space",
                    "A\r\n1 2\r\n   \r\nB\r\n3 4\r\n\r\n",
                    {"-1,A,1,2, , 0, 1, 3, 0, 65535, , 0, 0, 0.00000, -777",
                     "-1,B,3,4, , 0, 1, 3, 0, 65535,, 0, 0, 0.00000, -777"}},
        NavitelCase{
            "name loses tag, runs collapse, comma becomes space",
            ":Heading\r\n  Col  du,  Lac <N NW> \r\n-45.123456789 +6.8\r\nx\r\ny\r\n",
            {"-1,Col du Lac,-45.123456789,+6.8, , 0, 1, 3, 0, 65535,x, 0, 0, 0.00000, -777"}},
        NavitelCase{"decimal commas become points",
                    "A\r\n45,9    6,8\r\n",
                    {"-1,A,45.9,6.8, , 0, 1, 3, 0, 65535,, 0, 0, 0.00000, -777"}},
        NavitelCase{"coordinate line without space: left out",
                    "A\r\n45.9\r\n\r\nB\r\n1 2\r\n",
                    {"-1,B,1,2, , 0, 1, 3, 0, 65535,, 0, 0, 0.00000, -777"}},
        NavitelCase{"a name that is only a tag is numbered, markup kept",
                    "<W>\r\n1 2\r\n[http://a.b|Site], {+7 (912) 1|T}\r\n",
                    {"-1,WPT001,1,2, , 0, 1, 3, 0, 65535,[http://a.b|Site] {+7 (912) 1|T}, 0, 0, "
                     "0.00000, -777"}}));

}  // namespace
}  // namespace oradel
