#include "cli/equation_report.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace valdrex::cli {
namespace {

// The window after the rational method on x^3 - 2x^2 + x - 2, tested at 3.
const std::string kLines[] = {"x1 = 2"}, kInput = "3";
const std::array<std::string, 12> kSolText{" 2"};
const Polynomial kFactor{1, 0, 1};
const ErrorBox kErrors[] = {{"Error  1001. Overflow", BoxIcon::Critical, "Error"},
                            {"2. No such \"file\"", BoxIcon::None, "Valdrex"}};

const EquationReport kRational{
    .result = {.equation = "x^3 - 2·x^2 + x - 2 = 0",
               .status = "Solutions found",
               .lines = kLines,
               .rootTexts = kSolText,
               .factor = "x^2  + 1 ",
               .factorCoefficients = &kFactor,
               .record = "x^3 - 2·x^2 + x - 2 = 0; S={ 2}; P(3) = 7; R(x)=x^2+1"},
    .testInput = &kInput,
    .testOutput = " 7",
    .errors = kErrors};

TEST(EquationReportTest, PlainTextLeavesOutWhatIsEmpty) {
    EquationReport report = kRational;
    std::string out;
    AppendPlainReport(out, report);
    EXPECT_EQ(out, "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\nSolutions found\n"
                   "Irreducible factor: x^2  + 1 \nP(3) = 7\n");
    report.result.status = report.result.factor = report.testOutput = ""; // the test failed
    out.clear();
    AppendPlainReport(out, report);
    EXPECT_EQ(out, "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\n");
}

TEST(EquationReportTest, JsonHasEveryField) {
    std::string out;
    AppendJsonReport(out, kRational);
    EXPECT_EQ(out, "{\"equation\":\"x^3 - 2·x^2 + x - 2 = 0\",\"lines\":[\"x1 = 2\"],"
                   "\"roots\":[\" 2\"],\"status\":\"Solutions found\",\"factor\":\"x^2  + 1 \","
                   "\"factor_coefficients\":[1,0,1,0,0,0,0,0,0,0,0,0,0],"
                   "\"test\":{\"x\":\"3\",\"value\":\" 7\"},"
                   "\"errors\":[{\"text\":\"Error  1001. Overflow\",\"title\":\"Error\","
                   "\"icon\":\"critical\"},{\"text\":\"2. No such \\\"file\\\"\","
                   "\"title\":\"Valdrex\",\"icon\":\"none\"}],"
                   "\"record\":\"x^3 - 2·x^2 + x - 2 = 0; S={ 2}; P(3) = 7; R(x)=x^2+1\"}\n");
}

TEST(EquationReportTest, JsonNullsBatchLineAndInvalidLine) {
    const std::array<std::string, 12> solText{" 1", "", "-2"};
    EquationReport report;
    report.line = 12;
    report.result.equation = "x = 0";
    report.result.rootTexts = solText;
    report.testInput = &kInput;
    std::string out;
    AppendJsonReport(out, report);
    EXPECT_EQ(out, "{\"line\":12,\"equation\":\"x = 0\",\"lines\":[],\"roots\":[\" 1\",\"-2\"],"
                   "\"status\":\"\",\"factor\":\"\",\"factor_coefficients\":null,"
                   "\"test\":{\"x\":\"3\",\"value\":null},\"errors\":[],\"record\":\"\"}\n");
    report.testInput = nullptr;
    out.clear();
    AppendJsonReport(out, report);
    EXPECT_NE(out.find("\"test\":null,"), std::string::npos);
    out.clear();
    AppendJsonInvalidLine(out, 3, "invalid coefficient '\\xFF'");
    EXPECT_EQ(out, "{\"line\":3,\"error\":\"invalid coefficient '\\\\xFF'\"}\n");
}

} // namespace
} // namespace valdrex::cli
