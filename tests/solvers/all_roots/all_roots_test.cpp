#include "core_test_support.h"
#include "hard_families.h"
#include "root_checker.h"
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/exact_forms.h"
#include "solvers/typed_equation/typed_equation.h"

#include <gtest/gtest.h>

#include <flint/fmpz_factor.h>

#include <array>
#include <cmath>
#include <random>
#include <tuple>

namespace valdrex::testing {
namespace {

using Status = AllRootsResult::Status;

std::string Lines(const AllRootsResult& r) {
    std::string s;
    for (const FoundRoot& root : r.roots)
        s += (s.empty() ? "" : "|") + root.text;
    return s;
}

bool bigNumbersReached = false;
void MarkBigNumbersReached(const CoefficientTexts&, int, StopFlag, AllRootsResult&) {
    bigNumbersReached = true;
}

// Whether the machine-integer path settles the equation on its own, its result into `r`.
bool SettledInDoubles(const CoefficientTexts& t, int digits, AllRootsResult* r = nullptr) {
    AllRootsResult own;
    bigNumbersReached = false;
    FindAllRootsWith(MarkBigNumbersReached, t, digits, nullptr, r != nullptr ? *r : own);
    return !bigNumbersReached;
}

// (x - r)^m for integer r, lowest power first, multiplied into p.
std::vector<long> Times(std::vector<long> p, std::vector<long> factor, int times = 1) {
    for (int t = 0; t < times; ++t)
        p = Multiply(p, factor);
    return p;
}

// Every part of the roots right at each of the digit counts, as the checker has it.
void ExpectRight(const CoefficientTexts& t, std::initializer_list<int> digitCounts,
                 const std::string& name) {
    for (const int digits : digitCounts)
        EXPECT_EQ(CheckRoots(t, FindAllRoots(t, digits), digits), "") << name << " at " << digits;
}

// Every text is read exactly or refused with its reason: the approximate reading's texts,
// exponents far beyond a double's, a leading "+", and the limits on both sides.
TEST(ExactNumber, ReadsExactlyOrSaysWhyNot) {
    const std::string tenThousand = "7" + std::string(9998, '0') + "3";
    const std::string belowZeros = "0." + std::string(5000, '0') + tenThousand;
    const std::pair<std::string, std::string> cases[] = {
        {"12", "12"},
        {" - 1 2", "-12"},
        {"1.5E3", "1500"},
        {"12.5e2", "1250"},
        {"2.5/0.5", "5"},
        {"abc", "0"},
        {"", "0"},
        {".5", "1/2"},
        {"-.25e1", "-5/2"},
        {"3/4x", "3/4"},
        {"6/-4", "-3/2"},
        {"3/0.1", "30"},
        {"3/1e2", "3/100"},
        {"1e-3", "1/1000"},
        {"1.25e-7", "1/8000000"},
        {"+0.10", "1/10"},
        {"+5", "5"},
        {"\t4\n", "4"},
        {"0e999999", "0"},
        {"2E+300", "2" + std::string(300, '0')},
        {"-3.5e-1000", "-7/2" + std::string(1000, '0')},
        {"1e100000", "1" + std::string(100000, '0')},
        {"12e99999", "12" + std::string(99999, '0')},
        {"1/12345678901234567890123", "1/12345678901234567890123"},
        {tenThousand, tenThousand},
        {belowZeros, tenThousand + "/1" + std::string(15000, '0')},
    };
    for (const auto& [text, value] : cases) {
        Rational v, expected;
        fmpq_set_str(expected.get(), value.c_str(), 10);
        fmpq_canonicalise(expected.get());
        EXPECT_EQ(ReadExactNumber(text, v.get()), ExactReading::Read) << text.substr(0, 40);
        EXPECT_TRUE(fmpq_equal(v.get(), expected.get())) << text.substr(0, 40);
    }
    const std::pair<std::string, ExactReading> faults[] = {
        {"1/0", ExactReading::ZeroDenominator},
        {"3/", ExactReading::ZeroDenominator},
        {"0/0.0", ExactReading::ZeroDenominator},
        {"1e", ExactReading::NotANumber},
        {"7E+", ExactReading::NotANumber},
        {"e5", ExactReading::NotANumber},
        {"1.2.3", ExactReading::NotANumber},
        {"1e5e6", ExactReading::NotANumber},
        {"+", ExactReading::NotANumber},
        {"-.", ExactReading::NotANumber},
        {"2/1e", ExactReading::NotANumber},
        {"1" + tenThousand, ExactReading::TooManyDigits},
        {"0.000" + tenThousand + "9", ExactReading::TooManyDigits},
        {"1/" + tenThousand + "1", ExactReading::TooManyDigits},
        {"1e100001", ExactReading::PowerTooLarge},
        {"12e100000", ExactReading::PowerTooLarge},
        {"0.01e-99999", ExactReading::PowerTooLarge},
    };
    Rational v;
    for (const auto& [text, reading] : faults)
        EXPECT_EQ(ReadExactNumber(text, v.get()), reading) << text.substr(0, 40);
}

TEST(AllRoots, ReportsTheBoxOfBadInput) {
    CoefficientTexts t = TextsOf({1, 1});
    t[3] = std::string(10001, '1');
    const AllRootsResult tooLong = FindAllRoots(t, 15);
    EXPECT_EQ(tooLong.status, Status::TooLong);
    EXPECT_EQ(tooLong.power, 3);
    EXPECT_EQ(tooLong.limit, "more than 10,000 significant digits");
    t[3] = "1e-100001";
    EXPECT_EQ(FindAllRoots(t, 15).limit, "a power of ten beyond ±100,000");
    t[3] = "0";
    t[5] = "2/0";
    EXPECT_EQ(FindAllRoots(t, 15).status, Status::ZeroDenominator);
    EXPECT_EQ(FindAllRoots(t, 15).power, 5);
    t[5] = "0";
    t[4] = "1.2.3";
    const AllRootsResult notANumber = FindAllRoots(t, 15);
    EXPECT_EQ(std::tuple(notANumber.status, notANumber.power), std::tuple(Status::NotANumber, 4));
    EXPECT_EQ(FindAllRoots(TextsOf({7}), 15).status, Status::ConstantOnly);
    EXPECT_EQ(FindAllRoots(TextsOf({0}), 15).status, Status::ConstantOnly);
}

// Each solve into one result, as a batch makes them, leaves in it exactly what a fresh result
// holds: the status and every field of every root, whichever path, fault or kind of root wrote
// it before, and whether or not decimals were asked for then.
TEST(AllRoots, AReusedResultHoldsWhatAFreshOneWould) {
    CoefficientTexts big = TextsOf({-3, 0, 0, 1}); // beyond the machine integers
    big[1] = "1" + std::string(30, '0');
    CoefficientTexts tooLong = TextsOf({1, 0, 1});
    tooLong[5] = std::string(10001, '1');
    const CoefficientTexts equations[] = {
        TextsOf({1, 0, 1, 0, 0, -1}), // a real root and two pairs, none exact
        TextsOf({0, 0, 2, -3, 1}),    // 0 twice, 1 and 2: exact
        tooLong,
        TextsOf({1, 0, 0, 0, 1}), // two pairs
        TextsOf({0, -2, 0, 1}),   // 0 and ± Sqr(2)
        big,
        TextsOf({-2, 5, -4, 1}),
    };
    for (int digits : {15, 30}) {
        AllRootsResult reused;
        for (const CoefficientTexts& t : equations) {
            reused.decimalsAsked = !reused.decimalsAsked; // asked for every other time
            FindAllRoots(t, digits, reused);
            AllRootsResult fresh;
            fresh.decimalsAsked = reused.decimalsAsked;
            FindAllRoots(t, digits, fresh);
            EXPECT_EQ(std::tie(reused.status, reused.power, reused.limit, reused.degree),
                      std::tie(fresh.status, fresh.power, fresh.limit, fresh.degree));
            ASSERT_EQ(reused.roots.size(), fresh.roots.size());
            for (std::size_t i = 0; i < fresh.roots.size(); ++i) {
                const FoundRoot &a = reused.roots[i], &b = fresh.roots[i];
                EXPECT_EQ(std::tie(a.re, a.im, a.radius, a.multiplicity, a.exact, a.text,
                                   a.reDecimal, a.imDecimal),
                          std::tie(b.re, b.im, b.radius, b.multiplicity, b.exact, b.text,
                                   b.reDecimal, b.imDecimal))
                    << b.text << " at " << digits << " digits";
            }
        }
    }
}

// A stop asked for before the solve ends it with no roots, on the machine-integer path and on the
// big-number one (decimals, 30 digits, a cluster, a factorisation on a thread of its own).
TEST(AllRoots, StopsWhenAsked) {
    std::atomic<bool> stop = true;
    CoefficientTexts cluster = TextsOf({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1000000000000, 1});
    cluster[3] = "0.5";
    CoefficientTexts huge = TextsOf({0, 0, 1}); // x² = 10^1300
    huge[0] = "-1" + std::string(1300, '0');
    for (const CoefficientTexts& t : {TextsOf({-2, 0, 0, 1}), cluster, huge})
        for (int digits : {15, 30}) {
            AllRootsResult r;
            r.roots.resize(1); // what it held before goes too
            FindAllRoots(t, digits, r, &stop);
            EXPECT_EQ(r.status, Status::Stopped);
            EXPECT_TRUE(r.roots.empty());
            // Past the entry's own check: the iteration's and the factors' checks.
            AllRootsResult big;
            big.roots.resize(1);
            SolveWithBigNumbers(t, digits, &stop, big);
            EXPECT_EQ(big.status, Status::Stopped);
            EXPECT_TRUE(big.roots.empty());
            stop = false;
            EXPECT_EQ(FindAllRoots(t, digits, &stop).status, Status::Solved);
            stop = true;
        }
}

TEST(AllRoots, WritesExactRootsInTheHouseStyle) {
    const std::pair<std::vector<long>, const char*> cases[] = {
        {{2, -3, 1}, " 1| 2"},
        {{-1, 2}, " 1/ 2"},
        {{6, 5, 1}, "-3|-2"},
        {{-2, 0, 1}, "- Sqr(2)|+ Sqr(2)"},
        {{-8, 0, 1}, "- 2·Sqr(2)|+ 2·Sqr(2)"},
        {{-1, -2, 2}, " 1/ 2- Sqr(3) /2| 1/ 2+ Sqr(3) /2"},
        {{5, 2, 1}, "-1+2i|-1-2i"},
        {{1, 1, 1}, "-1/2+ i·Sqr(3) /2|-1/2- i·Sqr(3) /2"},
        {{19, 2, 1}, "-1+ 3i·Sqr(2)|-1- 3i·Sqr(2)"},
        {{1, 0, 1}, "+i|-i"},
        {{-268419071, 1, 1}, "-1/ 2- 3·Sqr(119297365) /2|-1/ 2+ 3·Sqr(119297365) /2"},
        // Square factors of big numbers: small primes, and a cofactor that is a prime's square.
        {{-9223372028264841218, 0, 1}, "- 2147483647·Sqr(2)|+ 2147483647·Sqr(2)"},
        {Times({1L << 60, 1, 1}, {-1, 1}),
         " 1|-1/2+ i·Sqr(4611686018427387903) /2|-1/2- i·Sqr(4611686018427387903) /2"},
        // Too large for the double-double values, with A > 1.
        {{1L << 60, 1, 3},
         "-1/6+ i·Sqr(13835058055282163711) /6|-1/6- i·Sqr(13835058055282163711) /6"},
        {{-(1L << 60), 1, 3},
         "-1/ 6- Sqr(13835058055282163713) /6|-1/ 6+ Sqr(13835058055282163713) /6"},
        // A denominator beyond 2^53: 1 divided by its double is not the double nearest the root.
        {Times(Times({-1, 9007199254740993}, {-1, 1}), {-2, 1}), " 1/ 9007199254740993| 1| 2"},
        {{0, 0, 0, 1}, " 0 (multiplicity 3)"},
        {{1, -2, 1}, " 1 (multiplicity 2)"},
        {Times({1}, {-1, 1}, 12), " 1 (multiplicity 12)"},
        {Times(Times({1}, {2, 0, 1}, 2), {-1, 3}),
         " 1/ 3|+ i·Sqr(2) (multiplicity 2)|- i·Sqr(2) (multiplicity 2)"},
    };
    for (const auto& [p, lines] : cases) {
        const AllRootsResult r = FindAllRoots(TextsOf(p), 15);
        EXPECT_EQ(Lines(r), lines);
        EXPECT_EQ(CheckRoots(TextsOf(p), r, 15), "") << lines;
    }
    // x² + b·x + (b² − 5)/4, b = 2^52 + 1: a constant of 103 bits beside the discriminant 5. The
    // doubles of (−b ± √5)/2 come from the exact constant.
    CoefficientTexts t = TextsOf({0, 4503599627370497, 1});
    t[0] = "5070602400912919857786626506751";
    EXPECT_EQ(CheckRoots(t, FindAllRoots(t, 15), 15), "");
    // x = 1 + 2^-53 + 10^-200, all but halfway between 1 and the next double: its double is the
    // one above, which rounding to more bits first would lose to the tie's even neighbour.
    t = TextsOf({0, 1});
    t[0] = "-1.00000000000000011102230246251565404236316680908203125" + std::string(146, '0') + "1";
    EXPECT_EQ(CheckRoots(t, FindAllRoots(t, 15), 15), "");
    // (2^53 + 1)/7, whose numerator no double holds.
    t = TextsOf({-9007199254740993, 7});
    EXPECT_EQ(CheckRoots(t, FindAllRoots(t, 15), 15), "");
    // The subnormal midpoint 2.5·2^-1074, (5·2^61 + 1)/2^1136 a hair above it, and the midpoint
    // 3.5·2^-1074: 2, 3 and 4 times 2^-1074 (ties to even), where rounding to 53 bits first put
    // the second on the midpoint and then on 2·2^-1074. And 2^-600 + 2^-653 + 2^-1253, a hair
    // above a midpoint of normal doubles, whose multiple of 2^-1074 is that midpoint.
    t = ParseTypedEquation("(2^1075 x - 5)(2^1136 x - 11529215046068469761)(2^1075 x - 7)"
                           "(2^1253 x - 2^653 - 2^600 - 1)")
            .coefficients;
    const AllRootsResult subnormal = FindAllRoots(t, 15);
    EXPECT_EQ(CheckRoots(t, subnormal, 15), "");
    for (const int k : {0, 1, 2})
        EXPECT_EQ(subnormal.roots.at(k).re, std::ldexp(2 + k, -1074)) << k;
}

// Every digit count from 1 to 30 on equations of every degree: each printed part is the true
// part correctly rounded, in the house form, with the order and the radii right.
TEST(AllRoots, EveryDigitCountRoundsCorrectly) {
    std::mt19937 random(31);
    std::uniform_int_distribution<long> coefficient(-30, 30);
    for (int digits = 1; digits <= 30; ++digits)
        for (int run = 0; run < 6; ++run) {
            std::vector<long> p(static_cast<std::size_t>(2 + (digits + 5 * run) % 12));
            for (long& c : p)
                c = coefficient(random);
            p.front() = p.front() == 0 ? -3 : p.front();
            p.back() = p.back() == 0 ? 7 : p.back();
            ExpectRight(TextsOf(p), {digits}, "run " + std::to_string(run));
        }
    // A count outside 1 to 30 is taken as the nearest of them.
    const CoefficientTexts t = TextsOf({-1, 0, 0, 3});
    EXPECT_EQ(Lines(FindAllRoots(t, 0)), Lines(FindAllRoots(t, 1)));
    EXPECT_EQ(Lines(FindAllRoots(t, 31)), Lines(FindAllRoots(t, 30)));
}

// The house form where it is easy to get wrong: roots a hair away from 2E-10, 12, 10^15, 10^-4,
// 10^-5, -1.5E-60 and .9995, which rounds up to 1 where .999 has one digit less (x^3 = c for a c
// just off a cube).
TEST(AllRoots, HouseFormOfPurposeBuiltValues) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"8.000000000000000000000000000001E-30", 15, " 2E-10"},
        {"8.000000000000000000000000000001E-30", 30, " 2E-10"},
        {"1728.0000000000000000000000001", 15, " 12"},
        {"1728.0000000000000000000000001", 30, " 12.0000000000000000000000000002"},
        {"999999999999999999999999900000000000000000000", 15, " 1E+15"},
        {"999999999999999999999999900000000000000000000", 30, " 999999999999999.999999999966667"},
        {"1.00000000000000000000000000001E-12", 15, " .0001"},
        {"1.00000000000000000000000000001E-15", 15, " 1E-05"},
        {"-3.3750000000000000000000000000001E-180", 15, "-1.5E-60"},
        {"-3.3750000000000000000000000000001E-180", 1, "-2E-60"},
        {".998500749874999999999999999999", 3, " .999"},
        {".998500749875000000000000000001", 3, " 1"},
    };
    for (const auto& [c, digits, text] : cases) {
        CoefficientTexts t = TextsOf({0, 0, 0, 1});
        t[0] = std::string(c[0] == '-' ? c + 1 : "-") + (c[0] == '-' ? "" : c);
        const AllRootsResult r = FindAllRoots(t, digits);
        ASSERT_EQ(r.roots.size(), 3U) << c;
        EXPECT_EQ(r.roots[0].text, text) << c << " at " << digits;
        EXPECT_EQ(CheckRoots(t, r, digits), "") << c << " at " << digits;
    }
}

// Roots far outside a double's range, and coefficients at the limits of the reading: every part
// correctly rounded, the exponent written in full.
TEST(AllRoots, TinyAndHugeRoots) {
    const std::vector<std::vector<std::string>> equations = {
        {"-2E900", "0", "0", "1"},            // ∛2·10^300 and a pair
        {"-3E-960", "0", "0", "1"},           // ∛3·10^-320 and a pair
        {"5E-700", "1", "0", "0", "1"},       // a root near −5·10^-700 and three of size 1
        {"1", "0", "0", "0", "0", "-7E1500"}, // a root near 10^-300 and two pairs
        {"-2", "0", "0", "1E-99999"},         // three of size 10^33333
        {"2000000000000000000000000000000", "0", "1"}, // ±i·10^15·√2, written exactly
        {"-1152921504606847105", "1"}, // 2^60 + 129: its double is the nearest, 2^60 + 256
        {"-0." + std::string(5000, '0') + "7" + std::string(9998, '1') + "3", "0", "0", "1"},
    };
    for (const std::vector<std::string>& e : equations) {
        CoefficientTexts t;
        t.fill("0");
        std::copy(e.begin(), e.end(), t.begin());
        ExpectRight(t, {1, 15, 30}, e[0].substr(0, 20));
    }
    CoefficientTexts t = TextsOf({0, 0, 0, 1});
    t[0] = "-8E900";
    EXPECT_EQ(FindAllRoots(t, 15).roots[0].exact, "2" + std::string(300, '0'));
    t[0] = "-1.5E900";
    EXPECT_EQ(FindAllRoots(t, 15).roots[0].text, " 1.14471424255333E+300");
    t = TextsOf({0, 0, 1});
    t[0] = "-2000000000000000000000000000000";
    EXPECT_EQ(Lines(FindAllRoots(t, 15)), "- 1000000000000000·Sqr(2)|+ 1000000000000000·Sqr(2)");
}

// Parts exactly on a rounding boundary are decided exactly, ties to even: imaginary parts 2.5,
// 3.5 and .125 beside real parts ±√2; real parts 2.5 and 3.5 of factors symmetric about them.
TEST(AllRoots, PartsOnARoundingBoundary) {
    const std::pair<std::vector<long>, const char*> cases[] = {
        {{1089, 0, 136, 0, 16}, "-1+ 2i|-1- 2i| 1+ 2i| 1- 2i"},
        {{3249, 0, 328, 0, 16}, "-1+ 4i|-1- 4i| 1+ 4i| 1- 4i"},
        {{16641, 0, -16256, 0, 4096}, "-1+ .1i|-1- .1i| 1+ .1i| 1- .1i"},
        {{941, -1240, 648, -160, 16}, " 2+ .6i| 2- .6i| 2+ 2i| 2- 2i"},
        {{3005, -3080, 1224, -224, 16}, " 4+ .6i| 4- .6i| 4+ 2i| 4- 2i"},
    };
    for (const auto& [p, lines] : cases) {
        EXPECT_EQ(Lines(FindAllRoots(TextsOf(p), 1)), lines);
        ExpectRight(TextsOf(p), {2}, lines);
    }
    // The exact pair -1/20 ± 3i/20 of 40x² + 4x + 1, beside the root 10^30 that sends the
    // equation to the big numbers: 0.15 lies on a boundary no ball of it ever leaves.
    CoefficientTexts t = TextsOf({0, 0, 0, 40});
    t[0] = "-1" + std::string(30, '0');
    t[1] = "-3" + std::string(30, '9');
    t[2] = "-3" + std::string(30, '9') + "6";
    AllRootsResult r;
    r.decimalsAsked = true;
    FindAllRoots(t, 1, r);
    ASSERT_EQ(r.roots.size(), 3u);
    EXPECT_EQ(std::tie(r.roots[1].reDecimal, r.roots[1].imDecimal, r.roots[2].imDecimal),
              std::tuple("-0.05", "0.2", "-0.2"));
    // Near one without lying on it: 10^40·(4x² − 8x + 13)(x − 3) + 1, irreducible, has the pair
    // 1 + 2·10^-42 ± (1.5 − 2.67·10^-42)i, which no tie may round up.
    t = TextsOf({0, 0, 0, 0});
    t[3] = "4" + std::string(40, '0');
    t[2] = "-2" + std::string(41, '0');
    t[1] = "37" + std::string(40, '0');
    t[0] = "-38" + std::string(40, '9');
    EXPECT_EQ(Lines(FindAllRoots(t, 1)), " 3| 1+ 1i| 1- 1i");
}

// Roots are listed by their printed values, and where those are equal by more digits: an exact 1
// before a root 1 + 10^-20 that prints as 1; pairs of the same printed real part by the size of
// their imaginary parts, whatever their true real parts.
TEST(AllRoots, ListedOrder) {
    CoefficientTexts t = TextsOf({0, 0, 1});
    t[0] = "1.00000000000000000001";
    t[1] = "-2.00000000000000000001";
    EXPECT_EQ(Lines(FindAllRoots(t, 15)), " 1| 100000000000000000001/ 100000000000000000000");
    // (x − 1)(x³ − 3x² + 3x − 1 − 2·10^-60): 1, then three roots within 10^-19 of it.
    t = TextsOf({0, 0, 6, -4, 1});
    t[0] = "1." + std::string(59, '0') + "2";
    t[1] = "-4." + std::string(59, '0') + "2";
    for (int digits : {15, 30}) {
        const AllRootsResult r = FindAllRoots(t, digits);
        EXPECT_EQ(Lines(r).substr(0, 5), " 1| 1");
        EXPECT_EQ(CheckRoots(t, r, digits), "") << digits;
    }
    // (x − 1)(10^17 (x − 1)(x − 2)(x − 3) − 2): 1, then 1 + 10^-17 of a cubic the double path
    // solves, whose keys to more digits then come from its balls.
    ExpectRight(ParseTypedEquation("(x-1)(10^17(x-1)(x-2)(x-3)-2)").coefficients, {15}, "");
    // (x² − 2x + 5)(100x² − 202x + 202): 1 ± 2i, and 1.01 ± 0.99995i listed first at 2 digits.
    // An exact pair −1 ± 2i before a pair of the cube roots of 2 with the real part −0.63.
    const std::vector<long> exactFirst = Times({5, 2, 1}, {-2, 0, 0, 1});
    ExpectRight(TextsOf(exactFirst), {15}, "exact first");
    // (2x² + 2x + 5)(x² + x + 3)/2: −1/2 ± 3i/2, an exact imaginary part, before −1/2 ± i·√11/2,
    // in doubles and, at 30 digits, through the factors.
    t = {"7.5", "5.5", "6.5", "2", "1"};
    for (int digits : {15, 30}) {
        const AllRootsResult r = FindAllRoots(t, digits);
        EXPECT_EQ(Lines(r).substr(0, 9), "-1/2+3i /") << digits;
        EXPECT_EQ(CheckRoots(t, r, digits), "") << digits;
    }
    // The same through the factors (a double root 3 sends it there).
    const std::vector<long> pairs = Times({5, -2, 1}, {202, -202, 100});
    for (const std::vector<long>& p : {pairs, Times(pairs, {-3, 1}, 2)}) {
        const AllRootsResult r = FindAllRoots(TextsOf(p), 2);
        EXPECT_EQ(r.roots[r.roots.size() - 4].exact.substr(0, 8), "101/100+");
        EXPECT_EQ(CheckRoots(TextsOf(p), r, 2), "");
    }
    // Left of the axis too: −1 ± i before −1.01 ± 2i, whose real part is the lower.
    EXPECT_EQ(Lines(FindAllRoots(TextsOf(Times({2, 2, 1}, {50201, 20200, 10000})), 2)),
              "-1+i|-1-i|-101/100+2i|-101/100-2i");
}

// Factors symmetric about the mean of their roots, f(b + t) even in t, with the roots t² real
// negative (on the line Re x = b), real positive (real roots), or not real; and one that is not.
TEST(AllRoots, SymmetricFactors) {
    const std::vector<std::vector<long>> factors = {
        {941, -1240, 648, -160, 16}, // (2x − 5)⁴ + 12(2x − 5)² + 16
        {1, 0, -10, 0, 1},           // ±√2 ± √3
        {37, -24, 40, -32, 16},      // (2x − 1)⁴ + 4(2x − 1)² + 32
        {38, -24, 40, -32, 16},      // the same plus 1: no symmetry
        {2, 0, 0, 1, 0, 0, 1},       // x⁶ + x³ + 2: even but for one odd power, no symmetry
    };
    for (const std::vector<long>& f : factors) {
        const std::vector<long> p = Times(f, {-1, 1}, 2); // a double root: through the factors
        ExpectRight(TextsOf(p), {1, 20, 30}, std::to_string(f[0]));
    }
}

// Ordinary equations are settled by the machine-integer path, in doubles; the big-number path is
// for the rare hard ones, and a fault in the fast path would otherwise only show as lost speed.
// The counts settled are today's, the same on every run: fewer is lost speed; more, unless a
// change meant it, a bound made unsafely tight. A fault in the iteration would also only cost
// speed: its Newton steps, the same on every run, stay exactly what they are now (worse starting
// circles cost 5% at some degrees; a change that saves steps lowers the table).
TEST(AllRoots, OrdinaryEquationsAreSettledInDoubles) {
    std::mt19937 random(5);
    std::uniform_int_distribution<long> coefficient(-20, 20);
    int settled = 0, runs = 0;
    std::array<int, kMaxDegree + 1> steps{};
    for (int digits : {3, 15})
        for (int run = 0; run < 600; ++run, ++runs) {
            std::vector<long> p(static_cast<std::size_t>(4 + run % 10));
            for (long& c : p)
                c = coefficient(random) | 1; // odd: no root 0, no zero leading coefficient
            CoefficientTexts t = TextsOf(p);
            std::fill(t.begin() + static_cast<long>(p.size()), t.end(), ""); // empty boxes
            settled += SettledInDoubles(t, digits) ? 1 : 0;
            const int n = static_cast<int>(p.size()) - 1;
            steps[n] += AberthRoots(ToDoublePolynomial(p.data(), n), nullptr).steps;
        }
    EXPECT_EQ(settled, runs);
    // With a factor of degree 1 or 2 over the integers, whose roots come out exact, and in a
    // third of them the root 0 too.
    int exactSettled = 0;
    for (int run = 0; run < 300; ++run) {
        std::vector<long> p = {coefficient(random) | 1, coefficient(random), coefficient(random),
                               coefficient(random) | 1};
        p = Multiply(p, run % 2 == 0 ? std::vector<long>{coefficient(random), 1 + run % 7}
                                     : std::vector<long>{coefficient(random) | 1,
                                                         coefficient(random), 1 + run % 5});
        if (run % 3 == 0)
            p.insert(p.begin(), 0);
        exactSettled += SettledInDoubles(TextsOf(p), 15) ? 1 : 0;
    }
    EXPECT_EQ(exactSettled, 299);
    const std::array<int, kMaxDegree + 1> now = {0,    0,    0,    360,  480,  2645, 3307,
                                                 3854, 4371, 5042, 5644, 6475, 7141};
    for (int n = 3; n <= kMaxDegree; ++n)
        EXPECT_EQ(steps[n], now[n]) << "degree " << n;
}

// Roots from 10^-17 to 10^17 in the double path: every scaling of a part to its digits, each
// settled there (a bound made looser there would only show as lost speed).
TEST(AllRoots, RootsOfEverySize) {
    std::mt19937 random(13);
    std::uniform_int_distribution<long> mantissa(-99, 99), power(0, 16);
    int settled = 0;
    for (int run = 0; run < 60; ++run) {
        std::vector<long> p(static_cast<std::size_t>(4 + run % 5));
        for (long& c : p)
            c = (mantissa(random) | 1) * static_cast<long>(std::pow(10.0, power(random)));
        // A root near −a_0/a_1 of 10^-12 or so, or one near −a_(n−1)/a_n of 10^12, with digits
        // of every kind.
        std::uniform_int_distribution<long> wide(1000, 999999), huge(1L << 50, 1L << 59);
        p[run % 2 == 0 ? 0 : p.size() - 1] = wide(random);
        p[run % 2 == 0 ? 1 : p.size() - 2] = huge(random) * (run % 4 < 2 ? 1 : -1);
        ExpectRight(TextsOf(p), {7, 15}, "run " + std::to_string(run));
        for (int digits : {7, 15})
            settled += SettledInDoubles(TextsOf(p), digits) ? 1 : 0;
    }
    // 32 of the 120 are settled there today (see above for why exactly).
    EXPECT_EQ(settled, 32);
}

// The big-number path solves in doubles exactly when every coefficient is below 2^60: x³ − c
// gives the same roots there as a whole solve for c = 2^60 − 1, and nothing for c = 2^60.
TEST(AllRoots, TheBigNumberPathSolvesInDoublesBelowTwoToTheSixty) {
    for (const long c : {(1L << 60) - 1, 1L << 60}) {
        Polynomial p;
        fmpz_poly_set_coeff_si(p.get(), 3, 1);
        fmpz_poly_set_coeff_si(p.get(), 0, -c);
        AllRootsResult r;
        const bool inDoubles = c < (1L << 60);
        EXPECT_EQ(SolveInDoubles(p.get(), 15, 0, true, nullptr, r.roots), inDoubles) << c;
        EXPECT_EQ(Lines(r), inDoubles ? Lines(FindAllRoots(TextsOf({-c, 0, 0, 1}), 15)) : "") << c;
    }
}

// The square part of a number below 2^62 taken out exactly (n = k²·r, r free of squares), as
// FLINT's factorisation has it; near squares above 2^53 the square root of a double errs.
TEST(ExactForms, SquarePartsAreExact) {
    std::mt19937_64 random(3);
    // Every number of the quick branch for small discriminants, and beyond its end.
    std::vector<long> numbers = {(1L << 62) - 1};
    for (long n = 1; n <= 2300; ++n)
        numbers.push_back(n);
    for (long m : {94906267L, 100000007L, 2147483647L})
        for (long d : {-1L, 0L, 1L})
            numbers.push_back(m * m + d);
    for (int i = 0; i < 300; ++i)
        numbers.push_back(static_cast<long>(random() >> (2 + i % 40)) | 1);
    IntegerFactorisation factors;
    const fmpz_factor_struct* f = factors.get();
    for (long n : numbers) {
        long square = 1, free = 1;
        const auto [k, r] = SplitSmallSquare(n);
        fmpz_factor_si(factors.get(), n);
        for (long j = 0; j < f->num; ++j) {
            for (ulong e = 0; e < f->exp[j] / 2; ++e)
                square *= fmpz_get_si(f->p + j);
            free *= f->exp[j] % 2 == 1 ? fmpz_get_si(f->p + j) : 1;
        }
        EXPECT_TRUE(k == square && r == free) << n << ": " << k << "²·" << r;
    }
}

// A quadratic factor is confirmed exactly when it divides: a remainder r1·x + r0 with either
// part zero is still a remainder, and a wrong Yes would write roots that are not roots.
TEST(ExactForms, QuadraticFactorOnlyWhenItDivides) {
    std::mt19937 random(17);
    std::uniform_int_distribution<long> small(-9, 9);
    int answered[2] = {};
    for (int run = 0; run < 300; ++run) {
        const long a = 1 + run % 3, b = small(random), c = small(random) | 1, lead = 1 + run % 2;
        std::vector<long> p(static_cast<std::size_t>(1 + run % 9), small(random));
        p.back() = lead;
        p = Times(p, {c, b, a});
        const int kind = run % 3; // 0: it divides; 1: remainder e·x; 2: remainder e
        p[kind == 1 ? 1 : 0] += kind == 0 ? 0 : 1 + run % 5;
        std::vector<FoundRoot> roots;
        RootSlots out(roots, 0);
        MachineQuestions questions(p.data(), static_cast<int>(p.size()) - 1, 0);
        const Answer answer = questions.IsQuadraticFactor(-b * lead, c * lead, out);
        answered[kind == 0] += answer != Answer::Unknown ? 1 : 0;
        EXPECT_NE(answer, kind == 0 ? Answer::No : Answer::Yes) << "run " << run;
    }
    EXPECT_GT(answered[0], 50);
    EXPECT_GT(answered[1], 50);
}

TEST(AllRoots, EquationsBuiltFromFactorsKeepTheirMultiplicities) {
    std::mt19937 random(29);
    std::uniform_int_distribution<long> small(-5, 5);
    for (int run = 0; run < 60; ++run) {
        std::vector<long> p = {1};
        while (p.size() < 12) {
            const int times = 1 + static_cast<int>(random() % 4);
            std::vector<long> factor =
                random() % 2 ? std::vector<long>{small(random), 1 + static_cast<long>(random() % 3)}
                             : std::vector<long>{small(random), small(random), 1};
            if (p.size() - 1 + times * (factor.size() - 1) > 12)
                break;
            p = Times(p, factor, times);
        }
        ExpectRight(TextsOf(p), {15}, "run " + std::to_string(run));
    }
}

// Where the machine-integer shortcut answers, its result must be the big-number path's to the
// byte; random grids, products of rational and quadratic factors, and coefficients near the
// 18-digit limit, whose 128-bit checks overflow.
TEST(AllRoots, ShortcutGivesTheBigNumberResult) {
    std::mt19937 random(41);
    std::uniform_int_distribution<long> small(-20, 20),
        wide(-999999999999999999, 999999999999999999);
    int answered = 0, runs = 0;
    const auto compare = [&](const std::vector<long>& p, bool checkRoots) {
        const CoefficientTexts t = TextsOf(p);
        AllRootsResult shortcut, big;
        ++runs;
        if (!SettledInDoubles(t, 15, &shortcut))
            return;
        ++answered;
        SolveWithBigNumbers(t, 15, nullptr, big);
        ASSERT_EQ(shortcut.degree, big.degree);
        ASSERT_EQ(Lines(shortcut), Lines(big));
        for (std::size_t i = 0; i < big.roots.size(); ++i) {
            const FoundRoot &a = shortcut.roots[i], &b = big.roots[i];
            EXPECT_TRUE(a.re == b.re && a.im == b.im && a.radius == b.radius &&
                        a.multiplicity == b.multiplicity && a.exact == b.exact)
                << Lines(big) << " root " << i;
        }
        if (checkRoots) {
            EXPECT_EQ(CheckRoots(TextsOf(p), shortcut, 15), "") << Lines(shortcut);
        }
    };
    for (int degree = 1; degree <= 12; ++degree)
        for (int run = 0; run < 400; ++run) {
            std::vector<long> p(degree + 1);
            for (long& c : p)
                c = run % 4 == 3 ? wide(random) : small(random);
            p.back() = p.back() == 0 ? 1 : p.back();
            compare(p, run % 50 == 0);
        }
    for (int run = 0; run < 400; ++run) {
        std::vector<long> p = {small(random) * 60 + 1};
        while (p.size() < 10)
            p = Times(p, random() % 2 ? std::vector<long>{small(random), 1 + long(random() % 6)}
                                      : std::vector<long>{small(random), small(random),
                                                          1 + long(random() % 3)});
        compare(p, run % 20 == 0);
    }
    EXPECT_GT(answered, runs / 2);
}

TEST(AllRoots, HardEquations) {
    const std::vector<std::vector<long>> integers = {
        {479001600, -1486442880, 1931559552, -1414014888, 657206836, -206070150, 44990231, -6926634,
         749463, -55770, 2717, -78, 1},                                   // (x-1)…(x-12)
        {1, 0, -72, 0, 840, 0, -3584, 0, 6912, 0, -6144, 0, 2048},        // Chebyshev T12
        {-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},                         // x^12 - 1
        {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},                          // x^12 + 1
        {-2, 400, -20000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},                  // x^12 - 2(100x-1)^2
        {3, 0, 0, 0, 1},                                                  // on the axes
        {1, 0, 3, 0, 1},                                                  // imaginary roots
        {1000000000000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},              // huge constant
        {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1000000000000, 1000000000000}, // tiny and huge
    };
    for (std::size_t i = 0; i < integers.size(); ++i)
        ExpectRight(TextsOf(integers[i]), {15, 30}, "equation " + std::to_string(i));

    const std::vector<CoefficientTexts> decimals = {
        // (x-1)(x-1.001)…(x-1.011)
        {"1.0679580300739436361391145597568", "-12.7455469079271736101352990555968",
         "69.71781118343327161430133047184", "-231.123764388269781078483221976",
         "517.188391532124853108908076", "-822.98123649115680120573", "954.899004306320245535",
         "-814.012178982021558", "505.976919387423", "-223.64928267", "66.727925", "-12.066", "1"},
        // (x-1)(x-1.01)(x-1.02)(x-1.03)
        {"1.061106", "-4.182206", "6.1811", "-4.06", "1", "0", "0", "0", "0", "0", "0", "0", "0"},
        {"1000000", "-123456.7", "2345.678", "-34.56789", "1.234567", "-0.0123456", "0.000123",
         "-0.000001", "0.5", "-12.5", "1234.5", "-98765.4", "0.000002"},
    };
    for (const CoefficientTexts& t : decimals)
        ExpectRight(t, {15, 30}, t[0]);
}

// The equations that are hard for root finders, typed with their big coefficients: tight real
// pairs that print alike to hundreds of digits (Mignotte), tight pairs near ±√3/c (Kameny),
// clusters, near-multiple roots, roots of very different sizes, with and without multiplicities.
TEST(AllRoots, HardFamilies) {
    using Make = void (*)(fmpz_poly_t, long, long);
    const Make cluster = [](fmpz_poly_t p, long n, long e) { TightCluster(p, n, e, 0); };
    const Make shifted = [](fmpz_poly_t p, long n, long e) { TightCluster(p, n, e, 1); };
    const std::tuple<Make, long, long> members[] = {
        {Mignotte, 12, 20},       {Mignotte, 5, 20},      {Kameny, 12, 10},
        {Kameny, 9, 5},           {shifted, 12, 30},      {cluster, 6, 30},
        {NearMultiple, 12, 60},   {NearMultiple, 5, 60},  {DifferentSizes, 6, 20},
        {DifferentSizes, 6, -20}, {SpreadRational, 3, 20}};
    Polynomial f;
    for (const auto& [make, n, e] : members) {
        make(f.get(), n, std::labs(e));
        if (e < 0) // (x − 10^20)^6 (10^20 x − 1)^6
            fmpz_sub_ui(f.get()->coeffs, f.get()->coeffs, 1);
        ExpectRight(TextsOfPolynomial(f.get()), {7, 15, 30},
                    "n " + std::to_string(n) + ", e " + std::to_string(e));
    }
}

} // namespace
} // namespace valdrex::testing
