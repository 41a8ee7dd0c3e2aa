#include "solvers/typed_equation/typed_equation.h"

#include "core/equation_text.h"
#include "core/failure.h"
#include "core/working_polynomial.h"
#include "core_test_support.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace valdrex {
namespace {

using testing::Grid;

// The exact value of a text, as the engine's reader gives it: the oracle of these tests.
std::string ExactValue(const std::string& text) {
    Rational q;
    if (ReadExactNumber(text, q.get()) != ExactReading::Read)
        return "unread";
    char* s = fmpq_get_str(nullptr, 10, q.get());
    const std::string value = s;
    flint_free(s);
    return value;
}

// The nonzero coefficients, "power:text", highest first.
std::string Terms(const CoefficientTexts& texts) {
    std::string terms;
    for (int k = kCoefficientCount - 1; k >= 0; --k)
        if (texts[k] != "0")
            terms += (terms.empty() ? "" : " ") + std::to_string(k) + ":" + texts[k];
    return terms;
}

TEST(TypedEquation, ReadsWhatPeopleTypeAndPaste) {
    const std::pair<const char*, const char*> cases[] = {
        {"x^3 - 6x^2 + 11x - 6 = 0", "3:1 2:-6 1:11 0:-6"},
        {"(x-1)^2(x+3)", "3:1 2:1 1:-5 0:3"},
        {"2x^5 - x + 1/3", "5:2 1:-1 0:1/3"},
        {"x^2 = 2x + 1", "2:1 1:-2 0:-1"},
        {"3*x^2 + 2.5e-3x", "2:3 1:0.0025"},
        {"x\u00b2 \u2212 5x\u00b7x\u00b3 \u00d7 2 + x\u00b9\u00b2", "12:1 4:-10 2:1"},
        {"\u00a0+\u2009x\u202f\u2013\u00a01 ", "1:1 0:-1"},
        {"-X**2 + (2)(3)x - -4", "2:-1 1:6 0:4"},
        {"(x + 1)/2 - x/0.5 = x \u00f7 4", "1:-1.75 0:1/2"},
        {"((x))^12 + 0x", "12:1"},
        {"-(x - 1)^3", "3:-1 2:3 1:-3 0:1"},
        {"2^10 x + 0.5^2", "1:1024 0:0.25"},
        {"(x - x)^0 + x^0", "0:2"},
        {"(-1)^999999999x + 1^99999999", "1:-1 0:1"},
        {"x = x", ""},
        // A term's decimals make its coefficient a decimal; fractions and repeating decimals
        // stay fractions.
        {"0.5x^2 + 1/2 x + 1/4 + (x - 0.5)(x - 1/3)", "2:1.5 1:-1/3 0:5/12"},
        {"(x - 0.5)^2 - 1.5e3", "2:1 1:-1 0:-1499.75"},
        {"(x + 1/2)(x - 1/2)", "2:1 0:-1/4"},
        {"1.5e3 x + 1e0", "1:1500 0:1"},
        // Long runs of zeros as powers of ten, never after a decimal point.
        {"1e20x + 1e21", "1:100000000000000000000 0:1E21"},
        {"1e-21x - 1e-22 + 3e-10/7", "1:0.000000000000000000001 0:2999999999993/7E22"},
    };
    for (const auto& [typed, terms] : cases) {
        const TypedEquation e = ParseTypedEquation(typed);
        EXPECT_EQ(e.error, "") << typed;
        EXPECT_EQ(Terms(e.coefficients), terms) << typed;
    }
    const TypedEquation e = ParseTypedEquation("(x - 0.5)^2 - 2x = 1e30x^3");
    EXPECT_EQ(e.equation, "-1E30·x^3 + x^2 - 3·x + 1/4 = 0");
}

TEST(TypedEquation, SaysWhatIsWrongAndWhere) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "expected a number or x at column 1"},
        {"x^2 + 3x +", "expected a number or x at column 11"},
        {"x\u00b2 + * 2", "expected a number or x at column 6"},
        {"= x", "expected a number or x at column 1"},
        {"x^14", "degree 14 at column 3: at most 12"},
        {"x^7 x^7", "degree 14 at column 5: at most 12"},
        {"(x^4 + 1)^4", "degree 16 at column 11: at most 12"},
        {"x^99999", "degree 99999 at column 3: at most 12"},
        {"x^2 y", "unexpected 'y' at column 5"},
        {"\u2212x \u20ac", "unexpected '\u20ac' at column 4"},
        {"2,5x", "unexpected ',' at column 2: write decimals with '.'"},
        {"x\t\x01", "unexpected character U+0001 at column 3"},
        {"x\u202e", "unexpected character U+202E at column 2"},
        {"x \xff", "invalid UTF-8 at column 3"},
        {"(x - 1", "expected ')' at column 7"},
        {"x - 1)", "unexpected ')' at column 6"},
        {"x = 1 = 2", "a second '=' at column 7"},
        {"2 3", "expected an operator at column 3"},
        {"(x+1)2", "expected an operator at column 6"},
        {"x^-2", "expected a whole-number exponent at column 3"},
        {"x^1.5", "expected a whole-number exponent at column 3"},
        {"x^2^3", "a power of a power needs parentheses at column 4"},
        {"x\u00b2\u00b3^2", "a power of a power needs parentheses at column 4"},
        {"1/(x - x)", "division by zero at column 2"},
        {"x/(x+1)", "division by a polynomial at column 2"},
        {"7^999999", "number too large at column 3"},
        {"9^40000*9^40000*9^40000*9^40000", "number too large at column 25"},
        {"x + 1.2.3", "number '1.2.3' at column 5: not a number"},
        {"2e x", "unexpected 'e' at column 2"},
    };
    for (const auto& [typed, error] : cases) {
        const TypedEquation e = ParseTypedEquation(typed);
        EXPECT_EQ(e.error, error) << typed;
        EXPECT_EQ(e.error.find(" at column " + std::to_string(e.column)) != std::string::npos, true)
            << typed;
        EXPECT_EQ(Terms(e.coefficients), "") << typed;
        EXPECT_EQ(e.equation, "") << typed;
    }
    std::string deep(201, '(');
    EXPECT_EQ(ParseTypedEquation(deep + "x").error,
              "more than 200 levels of nesting at column 201");
    EXPECT_EQ(ParseTypedEquation(std::string(200, '(') + "x" + std::string(200, ')')).error, "");
    EXPECT_EQ(ParseTypedEquation(std::string(201, '-') + "x").error, // signs nest too
              "more than 200 levels of nesting at column 201");
}

TEST(TypedEquation, NumbersBeyondTheReadersLimitsAreRefused) {
    EXPECT_EQ(ParseTypedEquation("x + 1e100001").error,
              "number '1e100001' at column 5: a power of ten beyond \u00b1100,000");
    EXPECT_EQ(ParseTypedEquation("1" + std::string(10001, '7') + "x").error,
              "number '1" + std::string(19, '7') +
                  "\u2026' at column 1: more than 10,000 significant digits");
    // A product may go beyond what the reader reads back.
    const std::string big = "7." + std::string(6000, '3');
    EXPECT_EQ(ParseTypedEquation("x^2 + " + big + "*" + big + "x").error,
              "the coefficient of x at column 7: more than 10,000 significant digits");
    // So may the decimal form that reading the equation line back would give.
    EXPECT_EQ(ParseTypedEquation("1/50^5355 - 3").error,
              "the constant term at column 1: more than 10,000 significant digits");
}

// A grid of random texts of every kind the grid and the exact reader agree on, some beyond the
// grid's 32 bits.
CoefficientTexts RandomGrid(std::mt19937& random) {
    const auto digits = [&](int most) {
        std::string s(1 + random() % most, '0');
        for (char& c : s)
            c = static_cast<char>('0' + random() % 10);
        return s;
    };
    CoefficientTexts texts;
    texts.fill("0");
    for (std::string& text : texts) {
        const std::string sign = random() % 2 ? "-" : "";
        const auto kind = random() % 6; // 0: no term; 5: only the exact reading reads these
        text = kind == 0      ? text
               : kind == 1    ? sign + digits(4)
               : kind == 2    ? sign + digits(3) + "." + digits(4)
               : kind == 3    ? sign + digits(4) + "/" + std::to_string(1 + random() % 999)
               : kind == 4    ? sign + digits(40)
               : random() % 2 ? sign + "." + digits(30)
                              : sign + digits(3) + "e-" + digits(2);
    }
    return texts;
}

TEST(TypedEquation, AnEquationTextReadsBackToItsGrid) {
    std::mt19937 random(2024);
    for (int round = 0; round < 300; ++round) {
        const CoefficientTexts grid = RandomGrid(random);
        // The grid's own drawing where it shows the values, as the model has it.
        std::string written;
        try {
            if (std::all_of(grid.begin(), grid.end(), IsPlainNumber))
                written = EquationText(grid);
        } catch (const RuntimeFailure&) {
        }
        if (written.empty())
            written = ExactEquationText(grid).value();
        const TypedEquation e = ParseTypedEquation(written);
        ASSERT_EQ(e.error, "") << written;
        for (int k = 0; k < kCoefficientCount; ++k)
            EXPECT_EQ(ExactValue(e.coefficients[k]), ExactValue(grid[k])) << written;
        // The grid's own reading agrees wherever its 32 bits hold the values.
        Polynomial typed{}, original{};
        const std::optional<int> typedFault = ReadCoefficients(e.coefficients, typed);
        if (!ReadCoefficients(grid, original) &&
            std::all_of(grid.begin(), grid.end(), IsPlainNumber)) {
            EXPECT_EQ(typedFault, std::nullopt) << written;
            EXPECT_EQ(typed, original) << written;
        }
        EXPECT_EQ(ExactEquationText(e.coefficients), e.equation);
        EXPECT_EQ(ParseTypedEquation(e.equation).coefficients, e.coefficients) << e.equation;
    }
}

TEST(CoefficientText, ReadsOneNumberInTheExactReadersGrammar) {
    const std::pair<const char*, const char*> cases[] = {
        {"+5", "5"},      {"1.5e3", "1500"},    {"-2.5E-3", "-0.0025"}, {"3/4e1", "3/40"},
        {"2.5/0.5", "5"}, {"0.75", "0.75"},     {"-6/4", "-3/2"},       {"1/0e3", "1/0"},
        {"1e21", "1E21"}, {"-1e-30", "-1/1E30"}};
    for (const auto& [typed, text] : cases) {
        const CoefficientReading r = ReadCoefficientText(typed);
        EXPECT_EQ(r.text + "|" + r.limit, std::string(text) + "|") << typed;
    }
    for (const char* bad : {"", "-", "+", ".", "1e", "e5", "1.2.3", "5x", "1/", "/2", "1 2", "--1"})
        EXPECT_EQ(ReadCoefficientText(bad).text + ReadCoefficientText(bad).limit, "") << bad;
    const CoefficientReading beyond = ReadCoefficientText("1e100001");
    EXPECT_EQ(beyond.text + "|" + beyond.limit, "|a power of ten beyond \u00b1100,000");
    EXPECT_EQ(ExactEquationText(Grid({{1, "1"}, {0, "5/0"}})), std::nullopt);
}

} // namespace
} // namespace valdrex
