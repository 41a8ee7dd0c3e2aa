// The texts valdrex-solve writes: JSON strings and numbers, each equation's answer, the
// messages about a coefficient the methods cannot read.

#include "cli/output_text.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

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
        {"\n\r\t\x01\x1F\x7F", "\"\\u000A\\u000D\\u0009\\u0001\\u001F\\u007F\""},
        {std::string("a\0b", 3), "\"a\\u0000b\""},
        {"", "\"\""},
        // Valid multi-byte sequences pass; broken, overlong and surrogate ones do not.
        {"\xE2\x82\xAC \xF0\x9F\x98\x80", "\"\xE2\x82\xAC \xF0\x9F\x98\x80\""},
        {"a\xE2\x82\xAC", "\"a\xE2\x82\xAC\""},
        {"\xC3", "\"\\uFFFD\""},
        {"\xC3(", "\"\\uFFFD(\""},
        {"\xC0\xAF", "\"\\uFFFD\\uFFFD\""},
        {"\xE0\x80\xAF", "\"\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xED\xA0\x80", "\"\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xF4\x90\x80\x80", "\"\\uFFFD\\uFFFD\\uFFFD\\uFFFD\""},
        {"\xF0\x8F\xBF\xBF", "\"\\uFFFD\\uFFFD\\uFFFD\\uFFFD\""},
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

// The window after the rational method on x^3 - 2x^2 + x - 2, tested at 3.
const std::string kLines[] = {"x1 = 2"}, kInput = "3";
const std::array<std::string, 12> kSolText{" 2"};
const Polynomial kFactor{1, 0, 1};
const ErrorBox kErrors[] = {
    {"Error  1001. Overflow", BoxIcon::Critical, "Error", 1001, "Overflow"},
    {"2. No such \"file\"", BoxIcon::None, "Valdrex", 2, "No such \"file\""}};

const EquationReport kRational{
    .result = {.equation = "x^3 - 2·x^2 + x - 2 = 0",
               .status = "Solutions found",
               .lines = kLines,
               .rootTexts = kSolText,
               .factor = "x^2  + 1 ",
               .factorCoefficients = &kFactor,
               .record = RecordLine{"x^3 - 2·x^2 + x - 2 = 0", "; S={ 2}; P(3) = 7; R(x)=x^2+1"}},
    .testInput = &kInput,
    .testOutput = " 7",
    .errors = kErrors};

// The report as AppendPlainReport or AppendJsonReport writes it.
template <auto Append> std::string Written(const EquationReport& report) {
    std::string out;
    Append(out, report);
    return out;
}
constexpr auto PlainReport = Written<AppendPlainReport>;
constexpr auto JsonReport = Written<AppendJsonReport>;

// JSON has every field; plain text leaves out what is empty.
TEST(EquationReportTest, JsonHasEveryFieldPlainTextWhatIsThere) {
    EXPECT_EQ(JsonReport(kRational),
              "{\"schema\":2,\"equation\":\"x^3 - 2·x^2 + x - 2 = 0\",\"lines\":[\"x1 = 2\"],"
              "\"roots\":[\" 2\"],\"status\":\"Solutions found\",\"factor\":\"x^2  + 1 \","
              "\"factor_coefficients\":[1,0,1,0,0,0,0,0,0,0,0,0,0],"
              "\"test\":{\"x\":\"3\",\"value\":\" 7\"},"
              "\"errors\":[{\"number\":1001,\"description\":\"Overflow\","
              "\"text\":\"Error  1001. Overflow\",\"title\":\"Error\",\"icon\":\"critical\"},"
              "{\"number\":2,\"description\":\"No such \\\"file\\\"\","
              "\"text\":\"2. No such \\\"file\\\"\",\"title\":\"Valdrex\",\"icon\":\"none\"}],"
              "\"record\":\"x^3 - 2·x^2 + x - 2 = 0; S={ 2}; P(3) = 7; R(x)=x^2+1\"}\n");
    EquationReport report = kRational;
    EXPECT_EQ(PlainReport(report), "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\nSolutions found\n"
                                   "Irreducible factor: x^2  + 1 \nP(3) = 7\n");
    report.result.status = report.result.factor = report.testOutput = ""; // the test failed
    EXPECT_EQ(PlainReport(report), "x^3 - 2·x^2 + x - 2 = 0\nx1 = 2\n");
}

TEST(EquationReportTest, JsonNullsBatchLineAndInvalidLine) {
    const std::array<std::string, 12> solText{" 1", "", "-2"};
    EquationReport report;
    report.line = 12;
    report.result.equation = "x = 0";
    report.result.rootTexts = solText;
    report.testInput = &kInput;
    EXPECT_EQ(
        JsonReport(report),
        "{\"schema\":2,\"line\":12,\"equation\":\"x = 0\",\"lines\":[],\"roots\":[\" 1\",\"-2\"],"
        "\"status\":\"\",\"factor\":\"\",\"factor_coefficients\":null,"
        "\"test\":{\"x\":\"3\",\"value\":null},\"errors\":[],\"record\":\"\"}\n");
    report.testInput = nullptr;
    EXPECT_NE(JsonReport(report).find("\"test\":null,"), std::string::npos);
    std::string out;
    AppendJsonInvalidLine(out, 3, "invalid coefficient '\\xFF'");
    EXPECT_EQ(out, "{\"schema\":2,\"line\":3,\"error\":\"invalid coefficient '\\\\xFF'\"}\n");
    // A method that leaves no factor this time leaves no factor coefficients either.
    report.result.factorCoefficients = &kFactor;
    EXPECT_NE(JsonReport(report).find("\"factor_coefficients\":null"), std::string::npos);
}

// The model's reading tells which box and why; the message names the box and quotes its text.
TEST(UnreadCoefficientTest, NamesTheBoxAndWhy) {
    const std::tuple<int, std::string, ReadFault, std::string> cases[] = {
        {2, "0/0", ReadFault::ZeroDenominator, "Division by 0 in the coefficient of x^2 ('0/0')"},
        {1, "1/65536", ReadFault::CommonDenominatorBeyondRange,
         "the common denominator of the coefficients is beyond the 32-bit range these methods "
         "use (at the coefficient of x ('1/65536')); --method all takes any size"},
        {3, ".0000000001", ReadFault::BeyondRange,
         "the coefficient of x^3 ('.0000000001') is beyond the 32-bit range these methods use; "
         "--method all takes any size"},
    };
    for (const auto& [power, text, why, message] : cases)
        EXPECT_EQ(UnreadCoefficientMessage(power, text, why), message);
}

} // namespace
} // namespace valdrex::cli
