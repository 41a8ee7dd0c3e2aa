#include "database/cp1252.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(EncodeCp1252(DecodeCp1252(all)), all);
}

TEST(Cp1252, DecodesToTheCodePageCharacters) {
    const struct {
        unsigned char byte;
        std::string utf8;
    } cases[] = {
        {0x41, "A"},        {0x00, std::string(1, '\0')}, {0x0D, "\r"},
        {0xB7, "\xC2\xB7"}, {0x80, "\xE2\x82\xAC"},       {0x99, "\xE2\x84\xA2"},
        {0x9F, "\xC5\xB8"}, {0xE9, "\xC3\xA9"},           {0xFF, "\xC3\xBF"},
        {0x81, "\xC2\x81"}, {0x8D, "\xC2\x8D"},           {0x8F, "\xC2\x8F"},
        {0x90, "\xC2\x90"}, {0x9D, "\xC2\x9D"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeCp1252(std::string(1, static_cast<char>(c.byte))), c.utf8) << int(c.byte);
}

TEST(Cp1252, WritesAQuestionMarkForCharactersTheCodePageLacks) {
    const struct {
        std::string utf8, bytes;
    } cases[] = {
        {"2\xC2\xB7x", "2\xB7x"},
        {"\xE2\x82\xAC", "\x80"},
        {"a\xE2\x86\x92"
         "b",
         "a?b"},
        {"\xF0\x9F\x98\x80", "?"}, // one mark for a character beyond 16 bits
        {"\x1A", "\x1A"},          // a real SUB character stays
        {"\xCE\xB1\xCE\xB2", "??"},
        {"\xFF", "?"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeCp1252(c.utf8), c.bytes) << c.utf8;
}

} // namespace
} // namespace valdrex
