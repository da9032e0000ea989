#include "engine/point_list_reader.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "engine/errors.hpp"
#include "engine/test_support.hpp"

namespace oradel {
namespace {

using testing::Windows1251;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads every record of `bytes` through a real file, as a job does.
std::vector<PointRecord> ReadAll(const std::string& bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    TextInput input(file.get());
    input.DecodeUtf8WhenDetected();
    PointListReader reader(input);
    std::vector<PointRecord> records;
    PointRecord record;
    while (reader.Next(record)) records.push_back(record);
    return records;
}

using Lines = std::vector<std::string>;

struct ReaderCase {
    const char* label;
    std::string input;
    // One entry per record: headings|name|lat|lon|comments joined by '/'|closedByBlank|closingLine
    Lines expected;
};

std::string Describe(const PointRecord& r) {
    std::string headings, comments;
    for (const auto& h : r.headings) headings += (headings.empty() ? "" : "/") + h;
    for (const auto& c : r.comments) comments += (comments.empty() ? "" : "/") + c;
    return headings + "|" + r.name + "|" + r.latText + "|" + r.lonText + "|" + comments + "|" +
           (r.closedByBlank ? "1" : "0") + "|" + r.closingLine;
}

void PrintTo(const ReaderCase& c, std::ostream* os) {
    *os << c.label;
}

class PointListReaderTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(PointListReaderTest, YieldsRecords) {
    const ReaderCase& c = GetParam();
    Lines actual;
    for (const PointRecord& record : ReadAll(c.input)) actual.push_back(Describe(record));
    EXPECT_EQ(actual, c.expected) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PointListReaderTest,
    ::testing::Values(
        ReaderCase{"empty file", "", {}}, ReaderCase{"blank lines only", "\r\n  \r\n\t\r\n", {}},
        ReaderCase{"two records",
                   "\r\n\r\n:Alps\r\nCol <N NW>\r\n45.9 6.8\r\nc1\r\nc2\r\n\r\n\r\nB\r\n1 2\r\n",
                   {"Alps|Col <N NW>|45.9|6.8|c1/c2|1|", "|B|1|2||1|"}},
        ReaderCase{"last comment is the last line", "A\r\n1 2\r\nx\r\ny", {"|A|1|2|x/y|0|"}},
        ReaderCase{"last comment line with its line end", "A\r\n1 2\r\nx\r\n", {"|A|1|2|x|0|"}},
        ReaderCase{"closing line kept as read",
                   "A\r\n1 2\r\n \t \r\nB\r\n3 4\r\n",
                   {"|A|1|2||1| \t ", "|B|3|4||1|"}},
        ReaderCase{"heading then blank line", ":H\r\n\r\n1 2\r\nc\r\n", {"H||1|2|c|0|"}},
        ReaderCase{
            "file ends after heading", "A\r\n1 2\r\n\r\n:Last\r\n", {"|A|1|2||1|", "Last|||||1|"}},
        ReaderCase{
            "heading with spaces around colon", "  : Top \r\nA\r\n1 2\r\n", {" Top|A|1|2||1|"}},
        ReaderCase{"coordinates with runs of spaces and a third value",
                   "A\r\n  45.9    6.8  1000 \r\n",
                   {"|A|45.9|6.8  1000||1|"}},
        ReaderCase{"coordinate line without space", "A\r\n45.9\r\n", {"|A|45.9|||1|"}},
        ReaderCase{"name kept untrimmed", "  A  \r\n1 2\r\n", {"|  A  |1|2||1|"}},
        ReaderCase{
            "Ctrl+Z ends the list", "A\r\n1 2\r\n\r\nB\x1A\r\n3 4\r\n", {"|A|1|2||1|", "|B||||1|"}},
        ReaderCase{"lone LF ends a line", "A\n1 2\nc\n\nB\n3 4\n", {"|A|1|2|c|1|", "|B|3|4||1|"}},
        ReaderCase{"lone CR ends a line", "A\r1 2\r\rB\r3 4", {"|A|1|2||1|", "|B|3|4||1|"}}));

TEST(PointListReaderEncoding, Utf8ListWithMarkKeepsItsHeading) {
    const auto records = ReadAll("\xEF\xBB\xBF:Кавказ\r\nХолм\r\n44.1 42.5\r\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(Describe(records[0]), Windows1251("Кавказ|Холм|44.1|42.5||1|"));
}

TEST(PointListReaderEncoding, WellFormedUtf8WithoutMarkIsDecoded) {
    const auto records = ReadAll("Холм № 1\n44.1 42.5\nСтарт — юг\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, Windows1251("Холм № 1"));
    EXPECT_EQ(records[0].comments, Lines{Windows1251("Старт — юг")});
}

TEST(PointListReaderEncoding, Windows1251ListIsReadAsItStands) {
    const std::string list = Windows1251("Холм\r\n44.1 42.5\r\nСтарт\r\n");
    const auto records = ReadAll(list);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, Windows1251("Холм"));
    EXPECT_EQ(records[0].comments, Lines{Windows1251("Старт")});
}

TEST(PointListReaderEncoding, LongLinesAcrossBufferBoundaries) {
    const std::string name(200000, 'n');
    const auto records = ReadAll(name + "\r\n1 2\r\n" + std::string(70000, 'c') + "\r");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name, name);
    EXPECT_EQ(records[0].comments[0].size(), 70000u);
}

// A record holds up to kMaxRecordLines heading and comment lines together;
// one more fails the job, naming the file and the record's first line.
TEST(PointListReader, RecordOfTooManyLinesIsAClearError) {
    const auto lines = [](std::string_view line, std::size_t count) {
        return testing::Repeated(line, line.size() * count);
    };
    const std::size_t half = kMaxRecordLines / 2;
    const struct {
        std::string list;
        std::size_t failsAtLine;  // 0: read
    } cases[] = {
        {"A\r\n1 2\r\n" + lines("c\r\n", kMaxRecordLines), 0},
        {"\r\nB\r\n1 2\r\n\r\n" + lines(":h\r\n", half) + "A\r\n1 2\r\n" + lines("c\r\n", half + 1),
         5},
        {lines(":h\r\n", kMaxRecordLines + 1) + "A\r\n1 2\r\n", 1},
    };
    for (const auto& c : cases) {
        const std::string message = testing::FailureOf([&] { testing::Convert(4, c.list); });
        if (c.failsAtLine == 0) {
            EXPECT_EQ(message, "");
            continue;
        }
        EXPECT_TRUE(message.starts_with("The record at line " + std::to_string(c.failsAtLine)))
            << message;
        EXPECT_NE(message.find("list.txt\" is longer than 10000 lines"), std::string::npos);
    }
}

}  // namespace
}  // namespace oradel
