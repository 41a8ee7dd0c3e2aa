// The decimal texts of the roots' parts against their true values: each is a JSON number whose
// exact value is the true part correctly rounded to the digits asked (ties to even), with no
// trailing zeros, and "0" exactly for a zero part.
#include "root_checker.h"
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"

#include <gtest/gtest.h>

#include <acb.h>
#include <arb_fmpz_poly.h>
#include <flint/fmpq.h>
#include <flint/fmpz_poly_factor.h>

#include <deque>
#include <random>
#include <regex>

namespace valdrex::testing {
namespace {

// One true part: exact when rational (`exact` set), otherwise a ball.
struct TruePart {
    bool exact = false;
    Rational value;
    Real ball;
};

struct TrueRoot {
    TruePart re, im;
};

void SetExact(TruePart& part, const fmpq_t q) {
    part.exact = true;
    fmpq_set(part.value.get(), q);
    arb_set_fmpq(part.ball.get(), q, 600);
}

// The distinct roots of p from its factors: rational roots and the real parts of quadratic
// pairs exactly, the rest as Arb balls of about 600 bits.
std::deque<TrueRoot> TrueRoots(const std::vector<long>& lowestFirst) {
    IntegerPolynomial p;
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        fmpz_poly_set_coeff_si(p.get(), static_cast<long>(k), lowestFirst[k]);
    fmpz_poly_factor_t factors;
    fmpz_poly_factor_init(factors);
    fmpz_poly_factor(factors, p.get());
    std::deque<TrueRoot> roots; // balls do not move
    Rational q;
    for (long i = 0; i < factors->num; ++i) {
        const fmpz_poly_struct* f = factors->p + i;
        const long degree = fmpz_poly_degree(f);
        if (degree == 1) {
            fmpz_neg(fmpq_numref(q.get()), f->coeffs);
            fmpz_set(fmpq_denref(q.get()), f->coeffs + 1);
            fmpq_canonicalise(q.get());
            TrueRoot& root = roots.emplace_back();
            SetExact(root.re, q.get());
            fmpq_zero(q.get());
            SetExact(root.im, q.get());
            continue;
        }
        acb_ptr balls = _acb_vec_init(degree);
        arb_fmpz_poly_complex_roots(balls, f, 0, 640);
        for (long j = 0; j < degree; ++j) {
            TrueRoot& root = roots.emplace_back();
            arb_set(root.re.ball.get(), acb_realref(balls + j));
            arb_set(root.im.ball.get(), acb_imagref(balls + j));
            if (arb_is_zero(acb_imagref(balls + j))) {
                fmpq_zero(q.get());
                SetExact(root.im, q.get());
            } else if (degree == 2) { // −B/2A
                fmpz_neg(fmpq_numref(q.get()), f->coeffs + 1);
                fmpz_mul_ui(fmpq_denref(q.get()), f->coeffs + 2, 2);
                fmpq_canonicalise(q.get());
                SetExact(root.re, q.get());
            }
        }
        _acb_vec_clear(balls, degree);
    }
    fmpz_poly_factor_clear(factors);
    return roots;
}

// Where `text` fails as the decimal text of `part` at `digits`: "" when it is right, "?" when
// the ball cannot tell.
std::string CheckDecimal(const std::string& text, TruePart& part, int digits) {
    static const std::regex number(
        R"(^(-?)(0|[1-9][0-9]*)(?:\.([0-9]*[1-9]))?(?:e(-?[1-9][0-9]*))?$)");
    std::smatch m;
    if (!std::regex_match(text, m, number) || text == "-0")
        return "not a JSON number";
    if (text == "0")
        return part.exact && fmpq_is_zero(part.value.get()) ? "" : "0 for a nonzero part";
    // The significant digits and the place of the first one.
    const std::string all = m[2].str() + m[3].str();
    const auto first = all.find_first_not_of('0');
    const std::string kept = all.substr(first);
    if (static_cast<int>(kept.size()) > digits)
        return "more digits than asked";
    const long exponent = static_cast<long>(m[2].length()) - 1 - static_cast<long>(first) +
                          (m[4].matched ? std::stol(m[4].str()) : 0);
    // |v| = kept·10^(exponent − kept + 1); the unit u of the last place at `digits` digits.
    Rational v, unit, low, high, power;
    const auto setPower = [&](fmpq_t out, long e) {
        fmpq_one(out);
        fmpz_ui_pow_ui(e >= 0 ? fmpq_numref(out) : fmpq_denref(out), 10,
                       static_cast<unsigned long>(e >= 0 ? e : -e));
    };
    fmpz_set_str(fmpq_numref(v.get()), kept.c_str(), 10);
    setPower(power.get(), exponent - static_cast<long>(kept.size()) + 1);
    fmpq_mul(v.get(), v.get(), power.get());
    setPower(unit.get(), exponent - digits + 1);
    // Values from |v| − u/2 to |v| + u/2 round to v; below a power of ten the places are finer.
    fmpq_div_fmpz(high.get(), unit.get(), Integer(2).get());
    fmpq_set(low.get(), high.get());
    if (kept == "1")
        fmpq_div_fmpz(low.get(), low.get(), Integer(10).get());
    fmpq_sub(low.get(), v.get(), low.get());
    fmpq_add(high.get(), v.get(), high.get());
    const bool negative = m[1].matched && m[1].length() == 1;
    if (part.exact) {
        Rational t;
        fmpq_abs(t.get(), part.value.get());
        if (fmpq_sgn(part.value.get()) != (negative ? -1 : 1))
            return "wrong sign";
        const int below = fmpq_cmp(t.get(), low.get()), above = fmpq_cmp(t.get(), high.get());
        if (below < 0 || above > 0)
            return "not the nearest";
        // A tie keeps the even last digit (a digit beyond those written is 0).
        const bool even = static_cast<int>(kept.size()) < digits || (kept.back() - '0') % 2 == 0;
        return (below == 0 || above == 0) && !even ? "tie not to even" : "";
    }
    Real t, bound;
    arb_abs(t.get(), part.ball.get());
    if (arb_contains_zero(part.ball.get()))
        return "?";
    if ((arf_sgn(arb_midref(part.ball.get())) < 0) != negative)
        return "wrong sign";
    arb_set_fmpq(bound.get(), low.get(), 640);
    if (arb_lt(t.get(), bound.get()))
        return "not the nearest";
    const bool aboveLow = arb_gt(t.get(), bound.get());
    arb_set_fmpq(bound.get(), high.get(), 640);
    if (arb_gt(t.get(), bound.get()))
        return "not the nearest";
    return aboveLow && arb_lt(t.get(), bound.get()) ? "" : "?";
}

// The faults of the decimal texts in `result`: each listed root matched to the nearest true
// root, its two texts checked.
std::string CheckDecimals(const std::vector<long>& p, const AllRootsResult& result, int digits,
                          int& undecided) {
    std::deque<TrueRoot> roots = TrueRoots(p);
    std::string faults;
    for (const FoundRoot& found : result.roots) {
        TrueRoot* nearest = nullptr;
        double best = 0;
        for (TrueRoot& root : roots) {
            const double dr = arf_get_d(arb_midref(root.re.ball.get()), ARF_RND_NEAR) - found.re;
            const double di = arf_get_d(arb_midref(root.im.ball.get()), ARF_RND_NEAR) - found.im;
            if (nearest == nullptr || dr * dr + di * di < best) {
                nearest = &root;
                best = dr * dr + di * di;
            }
        }
        for (const auto& [text, part, name] : {std::tuple{found.reDecimal, &nearest->re, "re"},
                                               std::tuple{found.imDecimal, &nearest->im, "im"}}) {
            const std::string fault = CheckDecimal(text, *part, digits);
            if (fault == "?")
                ++undecided;
            else if (!fault.empty())
                faults += found.text + " " + name + " \"" + text + "\": " + fault + "; ";
        }
    }
    return faults;
}

// (x - r)^m for integer r, lowest power first, multiplied into p.
std::vector<long> Times(const std::vector<long>& p, const std::vector<long>& factor) {
    std::vector<long> q(p.size() + factor.size() - 1);
    for (std::size_t i = 0; i < p.size(); ++i)
        for (std::size_t j = 0; j < factor.size(); ++j)
            q[i + j] += p[i] * factor[j];
    return q;
}

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
    int undecided = 0, parts = 0;
    for (int digits = 1; digits <= 30; ++digits)
        for (int run = 0; run < 8; ++run) {
            std::vector<long> p = {1};
            const int factors = run < 2 ? 1 : 1 + run % 4; // a line or a quadratic alone
            for (int f = 0; f < factors; ++f) {
                switch ((run + f) % 4) {
                case 0:
                    p = Times(p, {-numerator(random), denominators[random() % 11]});
                    break;
                case 1:
                    p = Times(p, {small(random), small(random), 1 + long(random() % 4)});
                    break;
                case 2:
                    p = Times(p, {small(random), small(random), 0, 1 + long(random() % 3)});
                    break;
                default:
                    p = Times(p, run % 8 == 3 ? std::vector<long>{0, 1} : std::vector<long>{3, 2});
                }
            }
            if (p.back() == 0 || p.size() > 13 ||
                std::all_of(p.begin(), p.end() - 1, [](long c) { return c == 0; }))
                continue;
            for (const bool big : {false, true}) {
                const AllRootsResult r = Solved(p, digits, big);
                ASSERT_EQ(r.status, AllRootsResult::Status::Solved);
                parts += 2 * static_cast<int>(r.roots.size());
                EXPECT_EQ(CheckDecimals(p, r, digits, undecided), "")
                    << digits << " digits, run " << run << (big ? ", big numbers" : "");
            }
        }
    EXPECT_LT(undecided, parts / 100);
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
    EXPECT_EQ(decimals({-5, 2}, 1), "2 0");
    const AllRootsResult plain = FindAllRoots(TextsOf({-2, 0, 1}), 15);
    EXPECT_TRUE(plain.roots[0].reDecimal.empty() && plain.roots[0].imDecimal.empty());
}

} // namespace
} // namespace valdrex::testing
