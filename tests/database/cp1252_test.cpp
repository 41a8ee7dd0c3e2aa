#include "database/cp1252.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

using namespace std::string_literals;

TEST(Cp1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(EncodeCp1252(DecodeCp1252(all)), all);
}

TEST(Cp1252, DecodesToTheCodePageCharacters) {
    // The five bytes the code page leaves undefined stand for the control characters.
    EXPECT_EQ(DecodeCp1252("A\0\r \xB7 \x80 \x99 \x9F \xE9 \xFF \x81\x8D\x8F\x90\x9D"s),
              "A\0\r \xC2\xB7 \xE2\x82\xAC \xE2\x84\xA2 \xC5\xB8 \xC3\xA9 \xC3\xBF "
              "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"s);
}

TEST(Cp1252, WritesAQuestionMarkForCharactersTheCodePageLacks) {
    // An arrow, a character beyond 16 bits (one mark), Greek letters, a byte that is no
    // character; a real SUB character stays.
    EXPECT_EQ(EncodeCp1252("2\xC2\xB7x \xE2\x82\xAC a\xE2\x86\x92"
                           "b \xF0\x9F\x98\x80 \x1A \xCE\xB1\xCE\xB2 \xFF"),
              "2\xB7x \x80 a?b ? \x1A ?? ?");
    EXPECT_EQ(EncodeCp1252(""), "");
}

} // namespace
} // namespace valdrex
