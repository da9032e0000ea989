#include "text/imported_text.hpp"

#include <gtest/gtest.h>

#include <string>

#include "text/codepage.hpp"

namespace oradel {
namespace {

struct TextCase {
    const char* text;      // readable UTF-8
    const char* expected;  // readable UTF-8
};

std::string Kept(const char* utf8, ImportedField field) {
    std::string text = Windows1251FromUtf8(utf8);
    KeepAsListText(text, field);
    return text;
}

// The characters of the list's syntax and the control characters, in names and comments alike.
TEST(KeepAsListText, ReplacesListSyntaxAndControlCharacters) {
    const TextCase cases[] = {
        {"<Ю ЮЗ>", "‹Ю ЮЗ›"},
        {"[https://a.b|c] {+7 1|d}", "(https://a.b¦c) (+7 1¦d)"},
        {"a\tb\rc\nd\x01\x1F\x7F", "a b c d   "},
        {"Гора №5 ‹›¦ (x)", "Гора №5 ‹›¦ (x)"},
        {"", ""},
    };
    for (const TextCase& c : cases) {
        for (const ImportedField field : {ImportedField::Name, ImportedField::Comment}) {
            EXPECT_EQ(Kept(c.text, field), Windows1251FromUtf8(c.expected)) << c.text;
        }
    }
}

// A name loses the colons (and blanks among and before them) that would make
// it a heading; a comment keeps them.
TEST(KeepAsListText, NamesLoseLeadingColons) {
    const TextCase cases[] = {
        {":Кавказ", "Кавказ"},      {" \t: :: Гора", "Гора"}, {"::", ""},
        {"  Гора: 1", "  Гора: 1"}, {"a:b", "a:b"},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(Kept(c.text, ImportedField::Name), Windows1251FromUtf8(c.expected)) << c.text;
    }
    EXPECT_EQ(Kept(":x", ImportedField::Comment), ":x");
}

}  // namespace
}  // namespace oradel
