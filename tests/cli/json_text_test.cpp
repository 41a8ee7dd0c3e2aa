#include "cli/json_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace valdrex::cli {
namespace {

std::string Json(std::string_view text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

TEST(JsonTextTest, EscapesStrings) {
    const std::pair<std::string, std::string> cases[] = {
        {"x^2 - 3·x + 2 = 0", "\"x^2 - 3·x + 2 = 0\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\n\r\t\x01\x1F\x7F", "\"\\u000A\\u000D\\u0009\\u0001\\u001F\\u007F\""},
        {std::string("a\0b", 3), "\"a\\u0000b\""},
        {"", "\"\""},
        // Valid multi-byte sequences pass; broken, overlong and surrogate ones do not.
        {"\xE2\x82\xAC \xF0\x9F\x98\x80", "\"\xE2\x82\xAC \xF0\x9F\x98\x80\""},
        {"a\xE2\x82\xAC", "\"a\xE2\x82\xAC\""},
        {"\xFF", "\"\\uFFFD\""},
        {"\xC3", "\"\\uFFFD\""},
        {"\xC3(", "\"\\uFFFD(\""},
        {"\xC0\xAF", "\"\\uFFFD\\uFFFD\""},
        {"\xE0\x80\xAF", "\"\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xED\xA0\x80", "\"\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xF4\x90\x80\x80", "\"\\uFFFD\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xF0\x8F\xBF\xBF", "\"\\uFFFD\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xB7", "\"\\uFFFD\""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(Json(in), out) << out;
}

TEST(JsonTextTest, EscapesAtEveryPlaceOfALongText) {
    // Long texts are looked at eight bytes at a time: each byte that may or may not stand for
    // itself, at every place within and across those words.
    const std::pair<std::string, std::string> bytes[] = {
        {"\"", "\\\""},      {"\\", "\\\\"},      {"\x1F", "\\u001F"}, {"\x7F", "\\u007F"},
        {"\x80", "\\uFFFD"}, {"\xFF", "\\uFFFD"}, {"·", "·"},          {" ", " "},
        {"~", "~"},          {"!", "!"},          {"#", "#"},          {"[", "["},
        {"]", "]"}};
    for (const auto& [in, out] : bytes)
        for (std::size_t at = 0; at <= 17; ++at) {
            const std::string before(at, 'a');
            const std::string after(17 - at, 'b');
            EXPECT_EQ(Json(before + in + after), "\"" + before + out + after + "\"") << out << at;
        }
}

TEST(JsonTextTest, WritesNumbersOrNull) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, std::string> cases[] = {
        {1, "1"},        {-6, "-6"},    {-0.0, "0"},        {0.5, "0.5"},
        {1e20, "1e+20"}, {inf, "null"}, {inf - inf, "null"}};
    for (const auto& [value, text] : cases) {
        std::string out;
        AppendJsonNumber(out, value);
        EXPECT_EQ(out, text);
    }
}

} // namespace
} // namespace valdrex::cli
