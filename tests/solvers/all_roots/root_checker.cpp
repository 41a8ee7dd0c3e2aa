#include "root_checker.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"

#include <acb.h>
#include <arb_fmpz_poly.h>
#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz_factor.h>
#include <flint/fmpz_poly_factor.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <sstream>

namespace valdrex::testing {
namespace {

// A number's text in pieces: a sign from `signs`, digits, a point and digits, the letter
// `letter` with an exponent's sign and digits, each optional; false when anything else stands in
// it. (Read by hand: std::regex trips GCC 12's warnings in sanitized builds.)
struct Pieces {
    char sign = 0, exponentSign = 0;
    bool point = false, scientific = false;
    std::string whole, fraction, exponent;
    // Whether the digits after a point end in one that is not 0.
    bool FractionEnds() const { return !point || (!fraction.empty() && fraction.back() != '0'); }
    // The count of digits before the point, once the exponent is applied.
    long PointAt() const {
        const long e = scientific ? std::stol(exponent) : 0;
        return static_cast<long>(whole.size()) + (exponentSign == '-' ? -e : e);
    }
};
bool ReadPieces(const std::string& text, const std::string& signs, char letter, Pieces& out) {
    std::size_t i = 0;
    const auto take = [&](const std::string& set) {
        return i < text.size() && set.find(text[i]) != std::string::npos ? text[i++] : '\0';
    };
    const auto digits = [&] {
        const std::size_t from = i;
        while (take("0123456789") != 0)
            continue;
        return text.substr(from, i - from);
    };
    out.sign = take(signs);
    out.whole = digits();
    out.point = take(".") != 0;
    out.fraction = digits();
    out.scientific = take(std::string(1, letter)) != 0;
    if (out.scientific) {
        out.exponentSign = take("+-");
        out.exponent = digits();
    }
    return i == text.size();
}

// A printed part (" 1.5E-07", "-.25", " 12"), checked against the house form of %G with
// `digits` significant digits.
std::string ParsePrinted(const std::string& part, int digits, Printed& out) {
    Pieces m;
    if (!ReadPieces(part, " -", 'E', m) || m.sign == 0 || m.whole.size() + m.fraction.size() == 0 ||
        (m.scientific &&
         (m.whole.size() != 1 || m.whole == "0" || m.exponentSign == 0 || m.exponent.size() < 2 ||
          (m.exponent.size() > 2 && m.exponent[0] == '0'))))
        return "not in the house form";
    if (!m.scientific && !m.whole.empty() && m.whole[0] == '0')
        return "a 0 before the point";
    if (!m.FractionEnds())
        return "a point or a zero at the end";
    if (!ReadPrinted(m.sign == '-', m.whole + m.fraction, m.PointAt(), out))
        return "zero";
    if (static_cast<int>(out.kept.size()) > digits)
        return "more than " + std::to_string(digits) + " significant digits";
    // %G's choice: the exponent form exactly below 10^-4 and from 10^digits on.
    if (m.scientific != (out.first < -4 || out.first >= digits))
        return "the wrong one of the fixed and exponent forms";
    return "";
}

// x rounded to `digits` significant digits into `out`, when the ball shows it (for the order).
bool RoundedValue(const arb_t x, int digits, long precision, fmpq_t out) {
    fmpq_zero(out);
    if (arb_is_zero(x))
        return true;
    Real a, l, scaled, half;
    arb_abs(a.get(), x);
    arb_log_base_ui(l.get(), a.get(), 10, precision);
    arb_floor(l.get(), l.get(), precision);
    Integer e;
    bool known = !arb_contains_zero(x) && arb_get_unique_fmpz(e.get(), l.get());
    if (known) {
        // floor(|x|·10^k + 1/2), one less on an exact tie with an odd result, times 10^-k.
        const long k = digits - 1 - fmpz_get_si(e.get());
        Rational scale;
        PowerOfTen(k, scale.get());
        arb_set_fmpq(half.get(), scale.get(), precision);
        arb_mul(scaled.get(), a.get(), half.get(), precision);
        arb_set_d(half.get(), 0.5);
        arb_add(scaled.get(), scaled.get(), half.get(), precision);
        const bool tie = arb_is_exact(scaled.get()) && arb_is_int(scaled.get());
        arb_floor(scaled.get(), scaled.get(), precision);
        known = arb_get_unique_fmpz(fmpq_numref(out), scaled.get());
        if (known && tie && fmpz_is_odd(fmpq_numref(out)))
            fmpz_sub_ui(fmpq_numref(out), fmpq_numref(out), 1);
        fmpq_div(out, out, scale.get());
        if (arb_is_negative(x))
            fmpq_neg(out, out);
    }
    return known;
}

// Whether n (a text of digits) is free of squares, as far as it can be told quickly.
bool SquareFree(const std::string& digits) {
    Integer n;
    fmpz_set_str(n.get(), digits.c_str(), 10);
    bool free = true;
    if (fmpz_bits(n.get()) < 62) {
        IntegerFactorisation f;
        fmpz_factor(f.get(), n.get());
        for (long j = 0; j < f.get()->num; ++j)
            free = free && f.get()->exp[j] == 1;
    }
    return free;
}

// The value of an exact form: "n/d", or "R±K·i·Sqr(N) /D" with every piece optional but one. Read
// by hand: the numbers can have tens of thousands of digits. `reduced` tells whether it is in
// lowest terms: fractions reduced, no factor or divisor 1, K and D coprime, N free of squares.
bool ExactValue(std::string form, acb_t value, long precision, bool& reduced) {
    form.erase(std::remove(form.begin(), form.end(), ' '), form.end());
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < form.size() && std::isdigit(static_cast<unsigned char>(form[i])))
            ++i;
        return form.substr(from, i - from);
    };
    const auto take = [&](const std::string& piece) {
        if (form.compare(i, piece.size(), piece) != 0)
            return false;
        i += piece.size();
        return true;
    };
    Rational q;
    // The rational part, up to the sign of the irrational one.
    std::size_t split = form.find_first_of("+-", 1);
    if (split == std::string::npos &&
        (form.find('i') != std::string::npos || form.find("Sqr") != std::string::npos))
        split = 0;
    const std::string rational = form.substr(0, split);
    reduced = true;
    if (!rational.empty()) {
        if (fmpq_set_str(q.get(), rational.c_str(), 10) != 0)
            return false;
        reduced = fmpq_is_canonical(q.get()) &&
                  (rational.find('/') == std::string::npos || !fmpz_is_one(fmpq_denref(q.get())));
        fmpq_canonicalise(q.get());
    }
    acb_zero(value);
    arb_set_fmpq(acb_realref(value), q.get(), precision);
    if (split == std::string::npos)
        return !rational.empty();
    i = split + 1;
    // A piece left out is 1.
    const auto integer = [](const std::string& text, fmpz_t n, arb_t out) {
        fmpz_set_str(n, text.empty() ? "1" : text.c_str(), 10);
        arb_set_fmpz(out, n);
    };
    Real part, other;
    Integer k, n; // the factor, the radicand or divisor
    const std::string factor = digits();
    integer(factor, k.get(), part.get());
    const bool imaginary = take("i");
    take("\xC2\xB7"); // the middle dot
    if (take("Sqr(")) {
        const std::string radicand = digits();
        integer(radicand, n.get(), other.get());
        if (!take(")"))
            return false;
        reduced = reduced && radicand != "1" && SquareFree(radicand);
        arb_sqrt(other.get(), other.get(), precision);
        arb_mul(part.get(), part.get(), other.get(), precision);
    }
    if (take("/")) {
        const std::string divisor = digits();
        integer(divisor, n.get(), other.get());
        arb_div(part.get(), part.get(), other.get(), precision);
        fmpz_gcd(n.get(), k.get(), n.get());
        reduced = reduced && fmpz_is_one(n.get()) && divisor != "1";
    }
    reduced = reduced && factor != "1";
    if (i != form.size())
        return false;
    if (form[split] == '-')
        arb_neg(part.get(), part.get());
    arb_add(imaginary ? acb_imagref(value) : acb_realref(value),
            imaginary ? acb_imagref(value) : acb_realref(value), part.get(), precision);
    return true;
}

// The value part of a root's text split into real and imaginary texts (imaginary empty for a
// real root), and whether it is the lower root of a pair.
void SplitText(const std::string& text, std::string& re, std::string& im) {
    re = text;
    im.clear();
    if (text.empty() || text.back() != 'i')
        return;
    // The sign before the imaginary part is the last "+" or "-" not part of an exponent.
    for (std::size_t k = text.size() - 1; k-- > 0;)
        if ((text[k] == '+' || text[k] == '-') && (k == 0 || text[k - 1] != 'E')) {
            re = text.substr(0, k);
            im = text.substr(k + 1, text.size() - k - 2);
            return;
        }
    re.clear();
    im = text.substr(0, text.size() - 1);
}

// Where `text` fails as the decimal text of the true part t at `digits`: "" when it is right,
// "?" when the ball cannot tell.
std::string CheckDecimal(const std::string& text, const Interval& t, int digits) {
    // -?(0|[1-9][0-9]*)(.[0-9]*[1-9])?(e-?[1-9][0-9]*)?
    Pieces m;
    if (!ReadPieces(text, "-", 'e', m) || text == "-0" || m.whole.empty() ||
        (m.whole.size() > 1 && m.whole[0] == '0') || !m.FractionEnds() ||
        (m.scientific && (m.exponentSign == '+' || m.exponent.empty() || m.exponent[0] == '0')))
        return "not a JSON number";
    const std::string all = m.whole + m.fraction;
    Printed v;
    if (!ReadPrinted(m.sign == '-', all, m.PointAt(), v))
        return fmpq_is_zero(t.lo.get()) && fmpq_is_zero(t.hi.get())     ? ""
               : fmpq_sgn(t.lo.get()) <= 0 && fmpq_sgn(t.hi.get()) >= 0 ? "?"
                                                                        : "0 for a nonzero part";
    // Trailing zeros of the whole part count: "10000" is not "1e4".
    if (static_cast<long>(all.size() - all.find_first_not_of('0')) > digits)
        return "more digits than asked";
    switch (Rounding(v, t, digits)) {
    case Verdict::Right:
        return "";
    case Verdict::Wrong:
        return "not the nearest";
    case Verdict::Undecided:
        return "?";
    case Verdict::Tie: // the even last digit kept (one beyond those written is 0)
        break;
    }
    return static_cast<int>(v.kept.size()) < digits || (v.kept.back() - '0') % 2 == 0
               ? ""
               : "tie not to even";
}

class Checker {
  public:
    Checker(const fmpz_poly_t p, int digits, long precision)
        : digits_(digits), precision_(precision), degree_(fmpz_poly_degree(p)),
          roots_(TrueRoots(p, precision)) {}

    std::string Check(const AllRootsResult& result) {
        long total = 0;
        matched_.clear();
        for (std::size_t i = 0; i < result.roots.size(); ++i) {
            const FoundRoot& found = result.roots[i];
            total += found.multiplicity;
            where_ = "root " + std::to_string(i + 1) + " '" + found.text + "': ";
            if (!std::isfinite(found.re) || !std::isfinite(found.im) ||
                !std::isfinite(found.radius))
                Fault("a double that is not finite");
            const bool lower = found.im < 0;
            if (lower && (i == 0 || !MirrorsUpper(result.roots[i - 1], found))) {
                Fault("a lower root not right after its upper one");
                continue;
            }
            if (lower)
                continue;
            const long match = found.exact.empty() ? MatchPrinted(found) : MatchExact(found);
            if (match < 0)
                continue;
            TrueRoot& t = roots_[static_cast<std::size_t>(match)];
            t.used = true;
            matched_.push_back(match);
            if (t.multiplicity != found.multiplicity)
                Fault("multiplicity " + std::to_string(found.multiplicity) + ", true " +
                      std::to_string(t.multiplicity));
            CheckRadius(found, t.value.get());
            CheckDecimals(found, t, result.decimalsAsked);
        }
        if (total != degree_ || result.degree != degree_)
            faults_ << "multiplicities add up to " << total << " and the degree is "
                    << result.degree << ", the equation's degree " << degree_ << "\n";
        CheckOrder();
        return faults_.str();
    }

    RoundingTally tally() const { return tally_; }
    bool undecided() const { return undecided_; }

  private:
    void Fault(const std::string& what) { faults_ << where_ << what << "\n"; }

    // The lower root of a pair: the upper one's values mirrored, its text with "-" for "+".
    static bool MirrorsUpper(const FoundRoot& upper, const FoundRoot& lower) {
        std::string text = upper.text, suffix;
        if (const auto m = text.find(" (multiplicity"); m != std::string::npos) {
            suffix = text.substr(m);
            text.erase(m);
        }
        std::string re, im;
        SplitText(text, re, im);
        // An exact form has one "+", and no exponent.
        const std::string mirrored = upper.exact.empty() ? re + "-" + im + "i"
                                     : text.find('+') == std::string::npos
                                         ? ""
                                         : text.replace(text.find('+'), 1, "-");
        return upper.im > 0 && lower.im == -upper.im && lower.re == upper.re &&
               lower.radius == upper.radius && lower.multiplicity == upper.multiplicity &&
               lower.reDecimal == upper.reDecimal &&
               lower.imDecimal == (upper.imDecimal.empty() ? "" : "-" + upper.imDecimal) &&
               lower.exact.empty() == upper.exact.empty() && lower.text == mirrored + suffix;
    }

    // The text's multiplicity suffix checked and removed.
    std::string ValueText(const FoundRoot& found) {
        std::string text = found.text;
        const std::string suffix = " (multiplicity " + std::to_string(found.multiplicity) + ")";
        if (found.multiplicity > 1) {
            if (text.size() < suffix.size() || text.substr(text.size() - suffix.size()) != suffix)
                Fault("no multiplicity in the text");
            else
                text.erase(text.size() - suffix.size());
        }
        return text;
    }

    long MatchExact(const FoundRoot& found) {
        std::string text = ValueText(found), exact = found.exact;
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        exact.erase(std::remove(exact.begin(), exact.end(), ' '), exact.end());
        if (text != exact || found.exact[0] == ' ')
            Fault("text and exact form differ");
        Complex v;
        long match = -1;
        bool reduced = true;
        if (!ExactValue(found.exact, v.get(), precision_ + 64, reduced)) {
            Fault("exact form not understood");
        } else {
            if (!reduced)
                Fault("exact form not in lowest terms");
            for (std::size_t k = 0; k < roots_.size() && match < 0; ++k)
                if (!roots_[k].used && acb_overlaps(v.get(), roots_[k].value.get()))
                    match = static_cast<long>(k);
            if (match < 0)
                Fault("exact form is not a root");
            else if ((found.exact.find("Sqr") != std::string::npos ||
                      found.exact.find('i') != std::string::npos) !=
                     (roots_[static_cast<std::size_t>(match)].factorDegree == 2))
                Fault("exact form of the wrong kind");
            else if ((found.im == 0) != arb_is_zero(acb_imagref(roots_[match].value.get())))
                Fault("real and imaginary disagree");
        }
        return match;
    }

    long MatchPrinted(const FoundRoot& found) {
        std::string re, im;
        SplitText(ValueText(found), re, im);
        const bool real = im.empty();
        if (real != (found.im == 0))
            Fault("real and imaginary disagree");
        Printed pre, pim;
        const bool hasRe = !re.empty();
        for (const auto& [text, printed] : {std::pair{&re, &pre}, std::pair{&im, &pim}}) {
            if (text->empty())
                continue;
            ++tally_.parts;
            if (const std::string fault = ParsePrinted(*text, digits_, *printed); !fault.empty())
                Fault("'" + *text + "': " + fault);
        }
        // The nearest unused true root with the same shape; a rational or quadratic one should
        // have been written exactly.
        long match = -1;
        double best = INFINITY;
        for (std::size_t k = 0; k < roots_.size(); ++k) {
            const TrueRoot& t = roots_[k];
            if (t.used || arb_is_zero(acb_imagref(t.value.get())) != real ||
                (!real && !arb_is_positive(acb_imagref(t.value.get()))))
                continue;
            const double distance = std::hypot(
                arf_get_d(arb_midref(acb_realref(t.value.get())), ARF_RND_NEAR) - found.re,
                arf_get_d(arb_midref(acb_imagref(t.value.get())), ARF_RND_NEAR) - found.im);
            // Roots whose doubles are the same (1e20 ± 10^-40) cannot be told apart by what is
            // shown; the earlier listed takes the earlier in the documented order.
            if (distance < best || match < 0 ||
                (distance == best && Precedes(static_cast<long>(k), match))) {
                best = distance;
                match = static_cast<long>(k);
            }
        }
        if (match < 0) {
            Fault("no true root left of its shape");
            return -1;
        }
        const TrueRoot& t = roots_[static_cast<std::size_t>(match)];
        if (t.factorDegree <= 2)
            Fault("not written exactly");
        const auto verify = [&](const Printed& printed, const arb_t part, const std::string& text) {
            Interval truth;
            truth.Set(part);
            const Verdict verdict =
                arb_contains_zero(part) ? Verdict::Undecided : Rounding(printed, truth, digits_);
            if (verdict == Verdict::Right)
                ++tally_.correct;
            else if (verdict == Verdict::Wrong)
                Fault("'" + text + "' is not the true part correctly rounded");
            else
                undecided_ = true;
        };
        if (hasRe)
            verify(pre, acb_realref(t.value.get()), re);
        else if (!arb_contains_zero(acb_realref(t.value.get())))
            Fault("a real part left out that is not 0");
        if (!real)
            verify(pim, acb_imagref(t.value.get()), im);
        return match;
    }

    // The decimal texts of a root's parts when asked for, none otherwise.
    void CheckDecimals(const FoundRoot& found, const TrueRoot& t, bool asked) {
        if (!asked && !(found.reDecimal.empty() && found.imDecimal.empty()))
            Fault("decimals not asked for");
        Interval re, im;
        if (t.reExact)
            re.Set(t.re.get());
        else
            re.Set(acb_realref(t.value.get()));
        im.Set(acb_imagref(t.value.get()));
        for (const auto& [text, part] :
             {std::pair{&found.reDecimal, &re}, std::pair{&found.imDecimal, &im}}) {
            const std::string fault = asked ? CheckDecimal(*text, *part, digits_) : "";
            undecided_ = undecided_ || fault == "?";
            if (!fault.empty() && fault != "?")
                Fault("decimal \"" + *text + "\" " + fault);
        }
    }

    void CheckRadius(const FoundRoot& found, const acb_t truth) {
        Real distance, limit;
        Complex d;
        acb_set_d_d(d.get(), found.re, found.im);
        acb_sub(d.get(), d.get(), truth, precision_);
        acb_abs(distance.get(), d.get(), precision_);
        if (found.exact.empty()) {
            // Beyond the double range neither the doubles nor the radius can hold the distance.
            arb_set_d(limit.get(), found.radius);
            if (std::fabs(found.re) < 1e300 && std::fabs(found.im) < 1e300 &&
                arb_gt(distance.get(), limit.get()))
                Fault("radius " + std::to_string(found.radius) + " is below the distance");
            return;
        }
        // An exact root: radius 0, and the doubles nearest its parts (within half a unit in
        // their last place), where they can be.
        acb_abs(distance.get(), truth, precision_);
        // Of the true root, whatever the doubles say.
        const double size = arf_get_d(arb_midref(distance.get()), ARF_RND_NEAR);
        const auto nearest = [&](double part, const arb_t value) {
            arb_set_d(distance.get(), part);
            arb_sub(distance.get(), value, distance.get(), precision_);
            // Half the gap to the next double on the true part's side: below a power of two the
            // doubles are twice as close as above it.
            const double toward = arb_is_negative(distance.get()) ? -HUGE_VAL : HUGE_VAL;
            arb_abs(distance.get(), distance.get());
            arb_set_d(limit.get(), std::fabs(std::nextafter(part, toward) - part));
            arb_mul_2exp_si(limit.get(), limit.get(), -1);
            return !arb_gt(distance.get(), limit.get());
        };
        if (found.radius != 0 ||
            (size < 1e300 && size > std::numeric_limits<double>::denorm_min() &&
             !(nearest(found.re, acb_realref(truth)) && nearest(found.im, acb_imagref(truth)))))
            Fault("an exact root's doubles are not the nearest");
    }

    // -1, 0, 1 comparing two listed (upper or real) roots by their real parts, then the sizes of
    // their imaginary parts, rounded to `digits`; 2 when the balls do not tell.
    int CompareKeys(long a, long b, int digits) const {
        Rational x, y;
        Real size;
        for (int part = 0; part < 2; ++part) {
            for (const auto& [root, value] : {std::pair{a, x.get()}, std::pair{b, y.get()}}) {
                const acb_srcptr z = roots_[static_cast<std::size_t>(root)].value.get();
                arb_abs(size.get(), acb_imagref(z));
                if (!RoundedValue(part == 0 ? acb_realref(z) : size.get(), digits, precision_,
                                  value))
                    return 2;
            }
            if (const int order = fmpq_cmp(x.get(), y.get()); order != 0)
                return order < 0 ? -1 : 1;
        }
        return 0;
    }

    // Whether true root a comes before b in the documented order, as far as the balls tell.
    bool Precedes(long a, long b) const {
        for (int digits = digits_; digits <= 64 * digits_; digits *= 2)
            if (const int order = CompareKeys(a, b, digits); order != 0)
                return order == -1;
        return false;
    }

    // Real roots first, ascending; pairs by rounded real part, then size of imaginary part; equal
    // keys compared again at twice the digits, and so on.
    void CheckOrder() {
        for (std::size_t i = 1; i < matched_.size(); ++i) {
            const acb_srcptr a = roots_[matched_[i - 1]].value.get(),
                             b = roots_[matched_[i]].value.get();
            const bool aReal = arb_is_zero(acb_imagref(a)), bReal = arb_is_zero(acb_imagref(b));
            where_ = "unit " + std::to_string(i + 1) + ": ";
            if (aReal != bReal) {
                if (!aReal)
                    Fault("a real root after a pair");
                continue;
            }
            for (int digits = digits_; digits <= 64 * digits_; digits *= 2) {
                const int order = CompareKeys(matched_[i - 1], matched_[i], digits);
                undecided_ = undecided_ || order == 2;
                if (order == 1)
                    Fault("out of order");
                if (order != 0)
                    break;
            }
        }
    }

    int digits_;
    long precision_;
    long degree_;
    std::deque<TrueRoot> roots_;
    std::vector<long> matched_; // the true root of each unit, in the listed order
    std::ostringstream faults_;
    std::string where_;
    RoundingTally tally_;
    bool undecided_ = false;
};

// The equation's exact polynomial, its coefficients read as the engine reads them (a reading
// held to exact values by its own test).
void TruePolynomial(const CoefficientTexts& texts, fmpz_poly_t p) {
    RationalPolynomial q;
    Rational c;
    for (int k = 0; k < kCoefficientCount; ++k) {
        ReadExactNumber(texts[k], c.get());
        fmpq_poly_set_coeff_fmpq(q.get(), k, c.get());
    }
    fmpq_poly_get_numerator(p, q.get());
}

} // namespace

std::deque<TrueRoot> TrueRoots(const fmpz_poly_t p, long precision) {
    IntegerFactors f;
    fmpz_poly_factor(f.get(), p);
    std::deque<TrueRoot> roots;
    for (long i = 0; i < f.get()->num; ++i) {
        const fmpz_poly_struct* factor = f.get()->p + i;
        const long d = fmpz_poly_degree(factor);
        acb_ptr r = _acb_vec_init(d);
        arb_fmpz_poly_complex_roots(r, factor, 0, precision);
        for (long k = 0; k < d; ++k) {
            TrueRoot& t = roots.emplace_back();
            acb_set(t.value.get(), r + k);
            t.multiplicity = static_cast<int>(f.get()->exp[i]);
            t.factorDegree = d;
            t.reExact = d == 1 || (d == 2 && !arb_is_zero(acb_imagref(r + k)));
            if (t.reExact) { // −B/(d·A)
                fmpz_neg(fmpq_numref(t.re.get()), factor->coeffs + d - 1);
                fmpz_mul_ui(fmpq_denref(t.re.get()), factor->coeffs + d, static_cast<ulong>(d));
                fmpq_canonicalise(t.re.get());
            }
        }
        _acb_vec_clear(r, d);
    }
    return roots;
}

void PowerOfTen(long e, fmpq_t out) {
    fmpq_one(out);
    fmpz_ui_pow_ui(e >= 0 ? fmpq_numref(out) : fmpq_denref(out), 10,
                   static_cast<unsigned long>(std::labs(e)));
}

void Interval::Set(const arb_t x) {
    Float end;
    arb_get_lbound_arf(end.get(), x, ARF_PREC_EXACT);
    arf_get_fmpq(lo.get(), end.get());
    arb_get_ubound_arf(end.get(), x, ARF_PREC_EXACT);
    arf_get_fmpq(hi.get(), end.get());
}

void Interval::Set(const fmpq_t q) {
    fmpq_set(lo.get(), q);
    fmpq_set(hi.get(), q);
}

bool ReadPrinted(bool negative, const std::string& digits, long pointAt, Printed& out) {
    const auto firstDigit = digits.find_first_not_of('0');
    if (firstDigit == std::string::npos)
        return false;
    out.first = pointAt - 1 - static_cast<long>(firstDigit);
    out.kept = digits.substr(firstDigit);
    out.kept.erase(out.kept.find_last_not_of('0') + 1);
    fmpz_set_str(fmpq_numref(out.value.get()), digits.c_str(), 10);
    fmpz_one(fmpq_denref(out.value.get()));
    Rational scale;
    PowerOfTen(pointAt - static_cast<long>(digits.size()), scale.get());
    fmpq_mul(out.value.get(), out.value.get(), scale.get());
    if (negative)
        fmpq_neg(out.value.get(), out.value.get());
    return true;
}

Verdict Rounding(const Printed& printed, const Interval& truth, int digits) {
    // The values that round to v lie within half a unit of the last place, a twentieth toward 0
    // from a power of ten, where the places below are finer.
    Rational scale, from, to;
    const fmpq* v = printed.value.get();
    PowerOfTen(printed.first - digits + 1, scale.get());
    fmpq_div_2exp(to.get(), scale.get(), 1);
    fmpq_div_fmpz(from.get(), to.get(), Integer(printed.kept == "1" ? 10 : 1).get());
    if (fmpq_sgn(v) < 0)
        fmpq_swap(from.get(), to.get());
    fmpq_sub(from.get(), v, from.get());
    fmpq_add(to.get(), v, to.get());
    const fmpq *lo = truth.lo.get(), *hi = truth.hi.get();
    if (fmpq_cmp(hi, from.get()) < 0 || fmpq_cmp(lo, to.get()) > 0)
        return Verdict::Wrong;
    const int low = fmpq_cmp(lo, from.get()), high = fmpq_cmp(hi, to.get());
    if (low > 0 && high < 0)
        return Verdict::Right;
    return low < 0 || high > 0 || !fmpq_equal(lo, hi) ? Verdict::Undecided : Verdict::Tie;
}

CoefficientTexts TextsOf(const std::vector<long>& lowestFirst) {
    CoefficientTexts t;
    t.fill("0");
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        t[k] = std::to_string(lowestFirst[k]);
    return t;
}

std::string CheckRoots(const CoefficientTexts& texts, const AllRootsResult& result, int digits,
                       RoundingTally* tally) {
    IntegerPolynomial p;
    TruePolynomial(texts, p.get());
    std::string faults;
    // At a precision enough for the coefficients' size, and again at more where some digit
    // could not be decided.
    for (long precision = std::max(768L, 8 * std::labs(fmpz_poly_max_bits(p.get())));;
         precision *= 8) {
        Checker checker(p.get(), digits, precision);
        faults = checker.Check(result);
        if (tally != nullptr)
            *tally = checker.tally();
        if (!checker.undecided() || (tally == nullptr && !faults.empty()) || precision > 20000)
            break;
    }
    return faults;
}

} // namespace valdrex::testing
