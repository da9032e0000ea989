// The mode table and the message table are the one source of what the
// documents and the front ends say about them.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "engine/conversion_modes.hpp"
#include "engine/messages.hpp"

namespace oradel {
namespace {

std::string SourceFile(const std::string& name) {
    std::ifstream file(std::string(ORADEL_SOURCE_DIR) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string OutputName(const ConversionMode& mode) {
    return "name" + std::string(mode.suffix) + std::string(mode.extension);
}

TEST(ModeTable, EveryModeHasABody) {
    for (const ConversionMode& mode : ConversionModes())
        EXPECT_NE(mode.body, nullptr) << mode.number;
}

// Each document lists every mode once, in a row or entry that names its
// output, and states the job order as the table has it.
TEST(ModeTable, DocumentsListEveryModeWithItsOutput) {
    struct Document {
        std::string file;
        std::regex entry;   // captures a mode number and what follows it
        std::string order;  // the words before the job order
    };
    const std::regex tableRow(R"(\n\| (\d+) \|([^\n]*))");
    const std::vector<Document> documents = {
        {"README.md", tableRow, "order "},
        {"docs/guide.en.md", tableRow, "order "},
        {"docs/guide.ru.md", tableRow, "порядке "},
        {"packaging/oradel-convert.1.in", std::regex(R"(\n\.TP 4\n\.B (\d+)\n([^\n]*))"), "order "},
    };
    for (const Document& document : documents) {
        const std::string text = SourceFile(document.file);
        std::map<int, std::string> entries;
        for (std::sregex_iterator it(text.begin(), text.end(), document.entry), end; it != end;
             ++it) {
            entries.emplace(std::stoi((*it)[1]), (*it)[2]);
        }
        EXPECT_EQ(entries.size(), ConversionModes().size()) << document.file;
        for (const ConversionMode& mode : ConversionModes()) {
            const std::string output = OutputName(mode);
            ASSERT_TRUE(entries.contains(mode.number)) << document.file << " mode " << mode.number;
            std::string row =
                std::regex_replace(entries[mode.number], std::regex(R"(\\f[BIR])"), "");
            EXPECT_NE(row.find(output), std::string::npos) << document.file << ": " << row;
        }
        EXPECT_NE(text.find(document.order + ModeNumberList()), std::string::npos) << document.file;
    }
}

// Every message has both texts, with the same arguments in each.
TEST(MessageTable, EveryMessageHasBothTextsWithTheSameArguments) {
    for (int id = 0; id < static_cast<int>(MessageId::Count); ++id) {
        const std::vector<MessageArgument> arguments = {"\x01", "\x02", "\x03", "\x04", "\x05"};
        const Message message(static_cast<MessageId>(id), arguments);
        const std::string russian = message.Text(Language::Russian);
        const std::string english = message.Text(Language::English);
        EXPECT_FALSE(russian.empty()) << id;
        EXPECT_FALSE(english.empty()) << id;
        EXPECT_EQ(russian.find('{'), std::string::npos) << "unfilled argument in " << id;
        for (const char argument : {'\x01', '\x02', '\x03', '\x04', '\x05'}) {
            EXPECT_EQ(russian.find(argument) == std::string::npos,
                      english.find(argument) == std::string::npos)
                << "message " << id << " argument " << int(argument);
        }
    }
}

TEST(MessageTable, ReasonsAndNestedMessagesKeepTheirLanguage) {
    const Message message(MessageId::CannotOpenFile, {"a.txt", ReasonOf(EACCES)});
    EXPECT_EQ(message.Text(Language::English), "Cannot open file \"a.txt\". Permission denied");
    EXPECT_EQ(message.Text(Language::Russian), "Не удаётся открыть файл «a.txt». Нет доступа");
}

}  // namespace
}  // namespace oradel
