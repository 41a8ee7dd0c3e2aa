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
#include <flint/fmpz_poly_factor.h>

#include <deque>
#include <optional>
#include <random>

namespace valdrex::testing {
namespace {

// A true part as an interval of rationals, a point when the part is known exactly.
struct Part {
    Rational lo, hi;
    void SetPoint(const fmpq_t q) {
        fmpq_set(lo.get(), q);
        fmpq_set(hi.get(), q);
    }
    void SetBall(const arb_t x) {
        arf_t end;
        arf_init(end);
        arb_get_lbound_arf(end, x, 640);
        arf_get_fmpq(lo.get(), end);
        arb_get_ubound_arf(end, x, 640);
        arf_get_fmpq(hi.get(), end);
        arf_clear(end);
    }
};

struct TrueRoot {
    Part re, im;
    double reNear = 0, imNear = 0;
};

// The distinct roots of p, from its factors over the integers: rational roots, the real parts of
// quadratic pairs and zero imaginary parts exactly, the rest as Arb balls of 640 bits.
std::deque<TrueRoot> TrueRoots(const std::vector<long>& lowestFirst) {
    IntegerPolynomial p;
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        fmpz_poly_set_coeff_si(p.get(), static_cast<long>(k), lowestFirst[k]);
    fmpz_poly_factor_t factors;
    fmpz_poly_factor_init(factors);
    fmpz_poly_factor(factors, p.get());
    std::deque<TrueRoot> roots;
    Rational q;
    for (long i = 0; i < factors->num; ++i) {
        const fmpz_poly_struct* f = factors->p + i;
        const long degree = fmpz_poly_degree(f);
        acb_ptr balls = _acb_vec_init(degree);
        arb_fmpz_poly_complex_roots(balls, f, 0, 640);
        for (long j = 0; j < degree; ++j) {
            TrueRoot& root = roots.emplace_back();
            root.re.SetBall(acb_realref(balls + j));
            root.im.SetBall(acb_imagref(balls + j));
            root.reNear = arf_get_d(arb_midref(acb_realref(balls + j)), ARF_RND_NEAR);
            root.imNear = arf_get_d(arb_midref(acb_imagref(balls + j)), ARF_RND_NEAR);
            if (degree == 1 || (degree == 2 && !arb_is_zero(acb_imagref(balls + j)))) {
                fmpz_neg(fmpq_numref(q.get()), f->coeffs + degree - 1); // −B/(degree·A)
                fmpz_mul_ui(fmpq_denref(q.get()), f->coeffs + degree, degree);
                fmpq_canonicalise(q.get());
                root.re.SetPoint(q.get());
            }
        }
        _acb_vec_clear(balls, degree);
    }
    fmpz_poly_factor_clear(factors);
    return roots;
}

// The pieces of a JSON number written as -?(0|[1-9][0-9]*)(.[0-9]*[1-9])?(e-?[1-9][0-9]*)?;
// false for any other text. (Read by hand: std::regex trips GCC 12's warnings in sanitized
// builds.)
struct DecimalPieces {
    bool negative = false;
    std::string whole, fraction;
    std::optional<long> exponent;
};
bool ReadDecimalPieces(const std::string& text, DecimalPieces& out) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return text.substr(from, i - from);
    };
    out.negative = i < text.size() && text[i] == '-';
    i += out.negative ? 1 : 0;
    out.whole = digits();
    if (out.whole.empty() || (out.whole.size() > 1 && out.whole[0] == '0'))
        return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        out.fraction = digits();
        if (out.fraction.empty() || out.fraction.back() == '0')
            return false;
    }
    if (i < text.size() && text[i] == 'e') {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        i += negative ? 1 : 0;
        const std::string e = digits();
        if (e.empty() || e[0] == '0')
            return false;
        out.exponent = negative ? -std::stol(e) : std::stol(e);
    }
    return i == text.size();
}

// Where `text` fails as the decimal text of the part t at `digits`: "" when it is right, "?"
// when the ball cannot tell.
std::string CheckDecimal(const std::string& text, Part& t, int digits) {
    DecimalPieces m;
    if (!ReadDecimalPieces(text, m) || text == "-0")
        return "not a JSON number";
    const std::string all = m.whole + m.fraction;
    const auto first = all.find_first_not_of('0');
    if (first == std::string::npos)
        return fmpq_is_zero(t.lo.get()) && fmpq_is_zero(t.hi.get())     ? ""
               : fmpq_sgn(t.lo.get()) <= 0 && fmpq_sgn(t.hi.get()) >= 0 ? "?"
                                                                        : "0 for a nonzero part";
    const std::string kept = all.substr(first);
    if (static_cast<int>(kept.size()) > digits)
        return "more digits than asked";
    // v = ±kept·10^(place − |kept| + 1), with `place` that of its first digit. The values that
    // round to v lie within half a unit of the last place, a twentieth toward 0 from 10^place.
    const long place = static_cast<long>(m.whole.size() - 1 - first) + m.exponent.value_or(0);
    Rational v, scale, from, to;
    const auto power = [](long e, fmpq_t out) {
        fmpq_one(out);
        fmpz_ui_pow_ui(e >= 0 ? fmpq_numref(out) : fmpq_denref(out), 10,
                       static_cast<unsigned long>(std::labs(e)));
    };
    fmpz_set_str(fmpq_numref(v.get()), ((m.negative ? "-" : "") + kept).c_str(), 10);
    power(place - static_cast<long>(kept.size()) + 1, scale.get());
    fmpq_mul(v.get(), v.get(), scale.get());
    power(place - digits + 1, scale.get());
    fmpq_div_2exp(to.get(), scale.get(), 1);
    fmpq_div_fmpz(from.get(), to.get(), Integer(kept == "1" ? 10 : 1).get());
    if (m.negative)
        fmpq_swap(from.get(), to.get());
    fmpq_sub(from.get(), v.get(), from.get());
    fmpq_add(to.get(), v.get(), to.get());
    if (fmpq_cmp(t.hi.get(), from.get()) < 0 || fmpq_cmp(t.lo.get(), to.get()) > 0)
        return "not the nearest";
    const int low = fmpq_cmp(t.lo.get(), from.get()), high = fmpq_cmp(t.hi.get(), to.get());
    if (low > 0 && high < 0)
        return "";
    if (low < 0 || high > 0 || !fmpq_equal(t.lo.get(), t.hi.get()))
        return "?";
    // A tie keeps the even last digit (one beyond those written is 0).
    return static_cast<int>(kept.size()) < digits || (kept.back() - '0') % 2 == 0
               ? ""
               : "tie not to even";
}

// The faults of the decimal texts in `result`, each root checked against the nearest true one.
std::string CheckDecimals(const std::vector<long>& p, const AllRootsResult& result, int digits,
                          int& undecided) {
    std::deque<TrueRoot> roots = TrueRoots(p);
    std::string faults;
    for (const FoundRoot& found : result.roots) {
        const auto distance = [&](const TrueRoot& r) {
            return std::hypot(r.reNear - found.re, r.imNear - found.im);
        };
        TrueRoot& nearest = *std::min_element(
            roots.begin(), roots.end(),
            [&](const TrueRoot& a, const TrueRoot& b) { return distance(a) < distance(b); });
        for (const auto& [text, part] :
             {std::pair{found.reDecimal, &nearest.re}, std::pair{found.imDecimal, &nearest.im}}) {
            const std::string fault = CheckDecimal(text, *part, digits);
            undecided += fault == "?" ? 1 : 0;
            if (!fault.empty() && fault != "?")
                faults += found.text + ": \"" + text + "\" " + fault + "; ";
        }
    }
    return faults;
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
                const std::vector<long> factor[] = {
                    {-numerator(random), denominators[random() % 11]},
                    {small(random), small(random), 1 + long(random() % 4)},
                    {small(random), small(random), 0, 1 + long(random() % 3)},
                    run % 8 == 3 ? std::vector<long>{0, 1} : std::vector<long>{3, 2}};
                const std::vector<long>& g = factor[(run + f) % 4];
                std::vector<long> q(p.size() + g.size() - 1);
                for (std::size_t i = 0; i < p.size(); ++i)
                    for (std::size_t j = 0; j < g.size(); ++j)
                        q[i + j] += p[i] * g[j];
                p = q;
            }
            if (p.back() == 0 || std::all_of(p.begin(), p.end() - 1, [](long c) { return c == 0; }))
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
    EXPECT_EQ(decimals({-1999, 1000}, 3), "2 0"); // rounded up through the nines
    EXPECT_EQ(decimals({-9999, 1}, 2), "1e4 0");  // to the next power of ten
    EXPECT_EQ(decimals({-1, 8}, 2) + "|" + decimals({-3, 8}, 2), "0.12 0|0.38 0"); // ties to even
    EXPECT_TRUE(FindAllRoots(TextsOf({-2, 0, 1}), 15).roots[0].reDecimal.empty());
}

} // namespace
} // namespace valdrex::testing
