#include "cli/batch_line.h"

#include <gtest/gtest.h>

namespace valdrex::cli {
namespace {

// "skip", the coefficient texts joined by "|", or "! " and the error (the fuzzer checks the
// rule on any line; these pin the texts). `parsed` is reused, as the
// batch reader reuses it, so nothing may be left over from the line before.
std::string Parsed(std::string_view line, BatchLine& parsed) {
    ParseBatchLine(line, parsed);
    if (parsed.kind != BatchLine::Kind::Equation)
        return parsed.kind == BatchLine::Kind::Skip ? "skip" : "! " + parsed.error;
    std::string text;
    for (int k = 0; k < parsed.count; ++k)
        text += (k ? "|" : "") + std::string(parsed.coefficients[k]);
    return text;
}

TEST(BatchLineTest, SplitsSkipsOrReportsTheFirstInvalidText) {
    const std::pair<std::string, std::string> cases[] = {
        {"1 -3 2", "1|-3|2"},
        {"\t 1\t\t-3   2 \t", "1|-3|2"},
        {"1 -3 2\r", "1|-3|2"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13", "1|2|3|4|5|6|7|8|9|10|11|12|13"},
        {"", "skip"},
        {"# 1 2 3", "skip"},
        {"#", "skip"},
        {"1 2 #3", "! invalid coefficient '#3'"},
        {"1 2\r\r", "! invalid coefficient '2\\x0D'"},
        {std::string("1 \0 2", 5), "! invalid coefficient '\\x00'"},
        {"1\v2", "! invalid coefficient '1\\x0B2'"},
        {"\xFF\xFE", "! invalid coefficient '\\xFF\\xFE'"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14", "! too many coefficients (14; at most 13)"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 x", "! invalid coefficient 'x'"},
    };
    BatchLine parsed;
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(Parsed(line, parsed), expected) << line;
}

} // namespace
} // namespace valdrex::cli
