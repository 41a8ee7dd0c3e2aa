#include "cli/batch_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace valdrex::cli {
namespace {

std::vector<std::string> Coefficients(const BatchLine& parsed) {
    return {parsed.coefficients.begin(), parsed.coefficients.begin() + parsed.count};
}

TEST(BatchLineTest, SplitsOnBlanksAndTabs) {
    const struct {
        std::string line;
        std::vector<std::string> coefficients;
    } cases[] = {
        {"1 -3 2", {"1", "-3", "2"}},
        {"\t 1\t\t-3   2 \t", {"1", "-3", "2"}},
        {"1 -3 2\r", {"1", "-3", "2"}},
        {"3/4 -.5 0.25 -", {"3/4", "-.5", "0.25", "-"}},
        {"7", {"7"}},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13",
         {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}},
    };
    BatchLine parsed;
    for (const auto& c : cases) {
        ParseBatchLine(c.line, parsed);
        EXPECT_EQ(parsed.kind, BatchLine::Kind::Equation) << c.line;
        EXPECT_EQ(Coefficients(parsed), c.coefficients) << c.line;
    }
}

TEST(BatchLineTest, SkipsBlankAndCommentLines) {
    BatchLine parsed;
    for (const std::string line : {"", " \t ", "\r", "# 1 2 3", "  #x", "#"}) {
        ParseBatchLine(line, parsed);
        EXPECT_EQ(parsed.kind, BatchLine::Kind::Skip) << line;
    }
}

TEST(BatchLineTest, ReportsTheFirstInvalidTextOrTooMany) {
    const struct {
        std::string line;
        std::string error;
    } cases[] = {
        {"1 1e5 2", "invalid coefficient '1e5'"},
        {"1 2 #3", "invalid coefficient '#3'"},
        {"1,5", "invalid coefficient '1,5'"},
        {"1 2\r\r", "invalid coefficient '2\\x0D'"},
        {std::string("1 \0 2", 5), "invalid coefficient '\\x00'"},
        {"1\v2", "invalid coefficient '1\\x0B2'"},
        {"\xFF\xFE", "invalid coefficient '\\xFF\\xFE'"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14", "too many coefficients (14; at most 13)"},
        {"1 2 3 4 5 6 7 8 9 10 11 12 13 14 x", "invalid coefficient 'x'"},
    };
    BatchLine parsed;
    for (const auto& c : cases) {
        ParseBatchLine(c.line, parsed);
        EXPECT_EQ(parsed.kind, BatchLine::Kind::Invalid) << c.error;
        EXPECT_EQ(parsed.error, c.error);
    }
}

} // namespace
} // namespace valdrex::cli
