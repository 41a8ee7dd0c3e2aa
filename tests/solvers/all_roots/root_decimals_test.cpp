// The decimal texts of the roots' parts, checked by the root checker, and the roundings they
// are made by against exact values.
#include "core_test_support.h"
#include "root_checker.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/enclosures.h"
#include "solvers/all_roots/printing.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <random>

namespace valdrex::testing {
namespace {

AllRootsResult Solved(const std::vector<long>& p, int digits, bool bigNumbers) {
    AllRootsResult result;
    result.decimalsAsked = true;
    if (bigNumbers)
        SolveWithBigNumbers(TextsOf(p), digits, nullptr, result);
    else
        FindAllRoots(TextsOf(p), digits, result);
    return result;
}

// Random equations at every digit count, by the shortcut and by the big-number path: rational
// roots whose decimals end in 5 (ties at few digits), roots of rational quadratics, the root 0,
// repeated factors and factors with no closed form.
TEST(RootDecimals, AreTheTruePartsCorrectlyRounded) {
    std::mt19937 random(57);
    std::uniform_int_distribution<long> small(-20, 20), numerator(-400, 400);
    const long denominators[] = {1, 2, 4, 5, 8, 16, 20, 25, 3, 7, 40};
    for (int digits = 1; digits <= 30; ++digits)
        for (int run = 0; run < 8; ++run) {
            std::vector<long> p = {1};
            const int factors = run < 2 ? 1 : 1 + run % 4; // a line or a quadratic alone
            for (int f = 0; f < factors; ++f) {
                const std::vector<long> factor[] = {
                    {-numerator(random), denominators[random() % 11]},
                    {small(random), small(random), 1 + long(random() % 4)},
                    {small(random), small(random), 0, 1 + long(random() % 3)},
                    run % 8 == 3 ? std::vector<long>{0, 1} : std::vector<long>{3, 2}};
                p = Multiply(p, factor[(run + f) % 4]);
            }
            if (p.back() == 0 || std::all_of(p.begin(), p.end() - 1, [](long c) { return c == 0; }))
                continue;
            for (const bool big : {false, true}) {
                const AllRootsResult r = Solved(p, digits, big);
                ASSERT_EQ(r.status, AllRootsResult::Status::Solved);
                EXPECT_EQ(CheckRoots(TextsOf(p), r, digits), "")
                    << digits << " digits, run " << run << (big ? ", big numbers" : "");
            }
        }
    // Quadratics alone, whose decimals the machine path writes from double-doubles, at the digits
    // where their low parts decide.
    std::uniform_int_distribution<long> wide(-1000000, 1000000);
    for (int run = 0; run < 300; ++run) {
        const std::vector<long> p = {wide(random), wide(random), 1 + long(random() % 1000)};
        const int digits = 13 + run % 3;
        EXPECT_EQ(CheckRoots(TextsOf(p), Solved(p, digits, false), digits), "") << run;
    }
}

// The forms a script meets, and decimals only when asked.
TEST(RootDecimals, WrittenAsJsonNumbersWhenAsked) {
    const auto decimals = [](const std::vector<long>& p, int digits) {
        std::string s;
        for (const FoundRoot& root : Solved(p, digits, false).roots)
            s += (s.empty() ? "" : "|") + root.reDecimal + " " + root.imDecimal;
        return s;
    };
    EXPECT_EQ(decimals({-1, 3}, 15), "0.333333333333333 0");
    EXPECT_EQ(decimals({1, 1, 1}, 15), "-0.5 0.866025403784439|-0.5 -0.866025403784439");
    EXPECT_EQ(decimals({4, 0, 1}, 15), "0 2|0 -2");
    EXPECT_EQ(decimals({1, -200000000000}, 15), "5e-12 0");
    EXPECT_EQ(decimals({-123456789, 1}, 4), "1.235e8 0");
    EXPECT_EQ(decimals({-1999, 1000}, 3), "2 0"); // rounded up through the nines
    EXPECT_EQ(decimals({-9999, 1}, 2), "1e4 0");  // to the next power of ten
    EXPECT_EQ(decimals({-1, 8}, 2) + "|" + decimals({-3, 8}, 2), "0.12 0|0.38 0"); // ties to even
    EXPECT_EQ(decimals({-1235000, 1}, 3) + "|" + decimals({-1225000, 1}, 3), "1.24e6 0|1.22e6 0");
}

// A rounded part's exact value, read as the checker reads printed ones.
void ReadPart(const RoundedPart& part, Printed& out) {
    ReadPrinted(part.negative, part.digits, part.exponent + 1, out);
}

// The double path's rounding of hi + lo known to within an error, against exact values: digits
// come out only where every value within the error rounds to them, and they come out from 10^-29
// to 10^22 wherever the nearest boundary is clear of the error by 10^-14 units. Beyond, down to
// the smallest doubles, the digits are right or left to the big numbers.
TEST(RootDecimals, DoublePathRoundsOnlyWhatTheErrorAllows) {
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> offset(-0.5, 0.5), places(-1, 17);
    std::uniform_int_distribution<int> digitsOf(1, 15), ordinary(-110, 80), any(-1074, 1023);
    Real ball;
    const auto exact = [&](double d, Rational& q) {
        arb_set_d(ball.get(), d);
        arf_get_fmpq(q.get(), arb_midref(ball.get()));
    };
    int decided = 0;
    for (int run = 0; run < 30000; ++run) {
        const int digits = digitsOf(random);
        double hi = std::ldexp(1.5 + offset(random), run % 4 == 3 ? any(random) : ordinary(random));
        if (run % 4 == 1) { // next to a rounding boundary
            char boundary[40];
            std::snprintf(boundary, sizeof boundary, "%.*e", digits, hi);
            boundary[digits + 1 + (digits > 1 ? 1 : 0)] = '5';
            hi = std::strtod(boundary, nullptr);
        }
        hi = run % 8 < 4 ? hi : -hi;
        const double lo = hi * 0x1p-54 * offset(random);
        const double error =
            run % 5 == 0 ? 0 : std::fabs(hi) * std::pow(10, -digits - places(random));
        // The true value lies in [x − error, x + error]; the nearest digits of x are asked for
        // wherever that interval widened by 10^-14 units rounds to them alone.
        Interval truth, wide;
        Rational x, widen;
        exact(lo, widen);
        exact(hi, x);
        fmpq_add(x.get(), x.get(), widen.get());
        exact(error, widen);
        fmpq_sub(truth.lo.get(), x.get(), widen.get());
        fmpq_add(truth.hi.get(), x.get(), widen.get());
        RoundedPart rounded;
        RoundRational(x.get(), digits, rounded);
        Printed nearest, given;
        ReadPart(rounded, nearest);
        PowerOfTen(rounded.exponent - digits + 1 - 14, widen.get());
        fmpq_sub(wide.lo.get(), truth.lo.get(), widen.get());
        fmpq_add(wide.hi.get(), truth.hi.get(), widen.get());
        ShortPart part{};
        if (RoundWithin({hi, lo}, error, digits, part)) {
            ++decided;
            ReadPart(Widen(part), given);
            EXPECT_EQ(Rounding(given, truth, digits), Verdict::Right) << hi << " " << lo;
        } else {
            EXPECT_FALSE(std::fabs(hi) >= 1e-29 && std::fabs(hi) < 1e22 &&
                         Rounding(nearest, wide, digits) == Verdict::Right)
                << hi << " " << lo << " within " << error;
        }
    }
    EXPECT_GT(decided, 15000);
    // The scale 10^k reaches digits − 1 − k places: it is exact, and so decides, for k from -22
    // to 44. 9.4·10^e has exponent e and stays below the next power at every digit count.
    for (int digits = 1; digits <= kMaxDoubleDigits; ++digits)
        for (int k = -22; k <= 44; ++k) {
            char text[32];
            std::snprintf(text, sizeof text, "9.4e%d", digits - 1 - k);
            const double hi = std::strtod(text, nullptr);
            Rational x;
            exact(hi, x);
            RoundedPart rounded;
            RoundRational(x.get(), digits, rounded);
            ShortPart part{};
            ASSERT_TRUE(RoundWithin({hi, 0}, 0, digits, part)) << text << " at " << digits;
            EXPECT_EQ(CompareParts(Widen(part), rounded), 0) << text << " at " << digits;
        }
}

// The big-number path's rounding against exact values, at sizes to 2^±700,000: a ball's digits
// come out exactly where the whole ball rounds to them; otherwise a boundary it holds is given.
// A rational is rounded exactly, ties to even, and rounded parts compare as their values do,
// whatever their lengths.
TEST(RootDecimals, BigNumberPathRoundsBallsAndRationalsExactly) {
    std::mt19937_64 random(29);
    std::uniform_int_distribution<long> mantissa(1L << 62, std::numeric_limits<long>::max()),
        ordinary(-400, 400), any(-700000, 700000), narrow(1, 140);
    const auto sign = [](int v) { return (v > 0) - (v < 0); };
    // Ties go to the even last digit; 9.5 goes to 10, which is "1" at one digit.
    const auto even = [](const RoundedPart& p) {
        return p.digits == "1" || (p.digits.back() - '0') % 2 == 0;
    };
    RoundedPart previous;
    Rational previousValue;
    for (int run = 0; run < 3000; ++run) {
        const int digits = 1 + run % 30;
        // The ninth: 2^-325147, whose first digit lies one place below where the lengths of its
        // numerator and denominator put it.
        const long e = run == 8 ? -325209 : run % 10 == 9 ? any(random) : ordinary(random);
        const long m = run == 8 ? 1L << 62 : mantissa(random);
        Real x;
        arf_set_si_2exp_si(arb_midref(x.get()), run % 4 < 2 ? m : -m, e);
        Rational value, boundary;
        arf_get_fmpq(value.get(), arb_midref(x.get()));
        RoundedPart nearest, longer, part;
        RoundRational(value.get(), digits, nearest);
        Printed printed, given;
        ReadPart(nearest, printed);
        Interval ball;
        ball.Set(value.get());
        Verdict verdict = Rounding(printed, ball, digits);
        EXPECT_TRUE(verdict == Verdict::Right || (verdict == Verdict::Tie && even(nearest)));
        EXPECT_EQ(sign(CompareParts(previous, nearest)),
                  fmpq_cmp(previousValue.get(), printed.value.get()));
        RoundRational(printed.value.get(), 30, longer); // the same value, trailing zeros
        EXPECT_EQ(CompareParts(nearest, longer), 0);
        previous = nearest;
        fmpq_set(previousValue.get(), printed.value.get());
        if (run % 3 == 0) { // on a rounding boundary: half a unit beyond the digits
            PowerOfTen(nearest.exponent - digits + 1, boundary.get());
            fmpq_div_2exp(boundary.get(), boundary.get(), 1);
            if (nearest.negative)
                fmpq_neg(boundary.get(), boundary.get());
            fmpq_add(value.get(), printed.value.get(), boundary.get());
            arb_set_fmpq(x.get(), value.get(), 128);
        } else if (run % 3 == 1) {
            mag_set_ui_2exp_si(arb_radref(x.get()), 1, e + 63 - narrow(random));
        }
        ball.Set(x.get());
        switch (RoundBall(x.get(), digits, part, boundary.get())) {
        case BallRounding::Rounded:
            ReadPart(part, given);
            verdict = Rounding(given, ball, digits); // a tie only for a ball that is one point
            EXPECT_TRUE(verdict == Verdict::Right || (verdict == Verdict::Tie && even(part)))
                << run;
            break;
        case BallRounding::Boundary:
            EXPECT_TRUE(arb_contains_fmpq(x.get(), boundary.get())) << run;
            EXPECT_TRUE(run % 3 != 0 || fmpq_equal(boundary.get(), value.get())) << run;
            RoundRational(boundary.get(), digits, part);
            ReadPart(part, given);
            ball.Set(boundary.get());
            EXPECT_EQ(Rounding(given, ball, digits), Verdict::Tie) << run;
            EXPECT_TRUE(even(part)) << run;
            break;
        case BallRounding::Unknown:
            ADD_FAILURE() << run; // only a ball holding 0 has no rounding
        }
    }
    Real zero;
    arb_zero_pm_one(zero.get());
    EXPECT_EQ(RoundBall(zero.get(), 15, previous, previousValue.get()), BallRounding::Unknown);
    // A carry into the next power of ten: 99…9.5 rounds to 10^digits, written with as many digits
    // as asked (their count is the precision the text is written at).
    for (int digits = 1; digits <= 30; ++digits) {
        Rational q, half;
        PowerOfTen(digits, q.get());
        fmpq_set_si(half.get(), 1, 2);
        fmpq_sub(q.get(), q.get(), half.get());
        RoundedPart carried;
        RoundRational(q.get(), digits, carried);
        EXPECT_EQ(carried.digits, "1" + std::string(digits - 1, '0'));
        EXPECT_EQ(carried.exponent, digits);
    }
}

} // namespace
} // namespace valdrex::testing
