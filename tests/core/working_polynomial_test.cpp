#include "core/failure.h"
#include "core/working_polynomial.h"

#include <gtest/gtest.h>

#include <map>

namespace valdrex {
namespace {

CoefficientTexts Grid(const std::map<int, std::string>& boxes) {
    CoefficientTexts t;
    t.fill("0");
    for (const auto& [power, text] : boxes)
        t[power] = text;
    return t;
}

Polynomial Poly(std::initializer_list<double> low) {
    Polynomial a{};
    int i = 0;
    for (double v : low)
        a[i++] = v;
    return a;
}

TEST(ReadCoefficients, ScalesToWholeNumbers) {
    const struct {
        std::map<int, std::string> grid;
        Polynomial a;
    } cases[] = {
        {{{2, "1/2"}, {1, "-1"}, {0, "0.5"}}, Poly({1, -2, 1})},
        {{{3, "1/3"}, {1, "0.25"}, {0, "-2"}}, Poly({-24, 3, 0, 4})},
        {{{2, "2"}, {1, "-3"}, {0, "1"}}, Poly({1, -3, 2})},
        {{{2, "4/6"}, {0, "-0.5"}}, Poly({-3, 0, 4})},
        {{}, Poly({})},
        {{{2, ""}, {1, "-"}, {0, "."}}, Poly({})},
        {{{1, "0.5"}, {0, "0.25"}}, Poly({1, 2})},
        {{{2, "0.1"}}, Poly({0, 0, 1})},
        {{{2, "1/10"}}, Poly({0, 0, 1})},
        {{{2, "1E-05"}, {0, "3"}}, Poly({3})},
        {{{12, "1/7"}, {0, "1/11"}}, [] { auto a = Poly({7}); a[12] = 11; return a; }()},
    };
    for (const auto& c : cases) {
        Polynomial a;
        a.fill(99);
        EXPECT_EQ(ReadCoefficients(Grid(c.grid), a), std::nullopt);
        EXPECT_EQ(a, c.a);
    }
}

TEST(ReadCoefficients, ReportsTheFirstUnreadableBox) {
    const struct {
        std::map<int, std::string> grid;
        int index;
    } cases[] = {
        {{{2, "5/0"}}, 2},
        {{{2, "3/"}}, 2},
        {{{5, "3/"}, {3, "1/0"}}, 3},
        {{{4, "0/0"}}, 4},
        {{{1, "2147483648"}}, 1},
        {{{0, "2147483647"}, {1, "1/2"}}, 0},       // the product n * L leaves 32 bits
        {{{0, "1/65536"}, {1, "1/65537"}}, 1},      // the scale leaves 32 bits
    };
    for (const auto& c : cases) {
        Polynomial a = Poly({1, 2, 3});
        EXPECT_EQ(ReadCoefficients(Grid(c.grid), a), c.index);
        EXPECT_EQ(a, Poly({1, 2, 3})) << "the previous polynomial is kept";
    }
}

TEST(EvaluateP, SumsFromTheConstantUp) {
    const Polynomial a = Poly({-6, 11, -6, 1});
    EXPECT_EQ(EvaluateP(a, 0), -6);
    EXPECT_EQ(EvaluateP(a, 1), 0);
    EXPECT_EQ(EvaluateP(a, 4), 6);
    EXPECT_EQ(EvaluateP(Poly({}), 0), 0);
    EXPECT_THROW(EvaluateP(a, 1e200), RuntimeFailure);
    Polynomial high{};
    high[12] = 1;
    EXPECT_THROW(EvaluateP(high, 1e30), RuntimeFailure);
}

} // namespace
} // namespace valdrex
