// Printing: every part of a root that is not exact is printed correctly rounded, that is, as its
// true value rounded to the chosen number of significant digits (ties to even). A part is
// printed only when its whole enclosure (the true value within a proved error) lies inside one
// rounding interval; rounding is monotone, so every value there, the true one included, gives
// the same digits. Here the enclosure is a double-double with an error bound; the big-number
// path rounds Arb balls and exact rationals the same way. Roots are listed in one order: real
// roots ascending, then the complex pairs by real part and size of imaginary part, compared as
// printed, and at more digits where the printed values are equal.
#include "solvers/all_roots/printing.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace valdrex {

FoundRoot& RootSlots::Next() {
    if (used_ == roots_.size()) {
        ++used_;
        return roots_.emplace_back();
    }
    FoundRoot& root = roots_[used_++];
    root.re = root.im = root.radius = 0;
    root.multiplicity = 1;
    root.text.clear();
    root.exact.clear();
    root.reDecimal.clear();
    root.imDecimal.clear();
    return root;
}

namespace {

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// 10^k exactly, for 22 < k <= 44: 5^k has at most 103 bits, and the product of two exact
// doubles is exactly the sum TwoProduct gives.
DoubleDouble ExactPowerOfTen(long k) {
    return TwoProduct(kPowersOfTen[22], kPowersOfTen[k - 22]);
}

// x·10^k (x > 0) as a double-double, and the error of x, which comes in `error`, scaled with it;
// false where 10^k is not exact in the form used. The arithmetic itself errs by at most 8u²·s
// (a few low parts rounded, and x.lo times the low part of 10^k left out): below 10^-16 for the
// s < 10^15 that RoundWithin decides on, where the margin of its comparisons covers it.
bool Scale(DoubleDouble x, long k, DoubleDouble& s, double& error) {
    if (k >= 0 && k <= 22) { // the usual case: 10^k is a double
        const double power = kPowersOfTen[k];
        const DoubleDouble p = TwoProduct(x.hi, power);
        s = FastTwoSum(p.hi, p.lo + x.lo * power);
        error *= power;
        return true;
    }
    if (k > 22 && k <= 44) {
        const DoubleDouble power = ExactPowerOfTen(k);
        const DoubleDouble p = TwoProduct(x.hi, power.hi);
        s = FastTwoSum(p.hi, p.lo + (x.hi * power.lo + x.lo * power.hi));
        error *= power.hi; // the low part's share, below u, is within RoundWithin's margin
        return true;
    }
    if (k < 0 && k >= -22) {
        // q + r/D with r the exact remainder of x.hi, so only the small tail is rounded.
        const double d = kPowersOfTen[-k];
        const double q = x.hi / d;
        const DoubleDouble qd = TwoProduct(q, d);
        const double r = (x.hi - qd.hi) - qd.lo;
        s = FastTwoSum(q, (r + x.lo) / d);
        error /= d;
        return true;
    }
    return false;
}

// The part as it is written: sign, then the significant digits `kept` (trailing zeros dropped)
// placed by the exponent.
std::string_view WriteDigits(PartBuffer& buf, bool negative, std::string_view kept, long exponent,
                             long precision, PartForm form) {
    const bool decimal = form == PartForm::Decimal;
    char* out = buf.data();
    char* const end = buf.data() + buf.size();
    const auto length = static_cast<long>(kept.size());
    if (negative)
        *out++ = '-';
    else if (!decimal)
        *out++ = ' ';
    const auto copy = [&](long from, long to) {
        out = std::copy(kept.data() + from, kept.data() + to, out);
    };
    if (exponent >= -4 && exponent < precision) {
        if (exponent < 0) {
            if (decimal)
                *out++ = '0';
            *out++ = '.';
            out = std::fill_n(out, -exponent - 1, '0');
            copy(0, length);
        } else if (length <= exponent + 1) {
            copy(0, length);
            out = std::fill_n(out, exponent + 1 - length, '0');
        } else {
            copy(0, exponent + 1);
            *out++ = '.';
            copy(exponent + 1, length);
        }
    } else {
        *out++ = kept[0];
        if (length > 1) {
            *out++ = '.';
            copy(1, length);
        }
        if (decimal) {
            *out++ = 'e';
            out = std::to_chars(out, end, exponent).ptr;
        } else { // %G's exponent: a sign and at least two digits
            *out++ = 'E';
            *out++ = exponent < 0 ? '-' : '+';
            const long magnitude = std::labs(exponent);
            if (magnitude < 10)
                *out++ = '0';
            out = std::to_chars(out, end, magnitude).ptr;
        }
    }
    return {buf.data(), static_cast<std::size_t>(out - buf.data())};
}

int Sign(const RoundedPart& p) {
    return p.digits.empty() ? 0 : p.negative ? -1 : 1;
}

} // namespace

int CompareParts(const RoundedPart& a, const RoundedPart& b) {
    const int sa = Sign(a), sb = Sign(b);
    if (sa != sb || sa == 0)
        return sa - sb;
    int magnitude = (a.exponent > b.exponent) - (a.exponent < b.exponent);
    // Same first place: digit by digit, the shorter one padded with zeros.
    const std::size_t length = std::max(a.digits.size(), b.digits.size());
    for (std::size_t i = 0; i < length && magnitude == 0; ++i) {
        const char da = i < a.digits.size() ? a.digits[i] : '0';
        const char db = i < b.digits.size() ? b.digits[i] : '0';
        magnitude = (da > db) - (da < db);
    }
    return sa * magnitude;
}

RoundedPart Widen(const ShortPart& part) {
    RoundedPart wide{part.negative, part.exponent, {}};
    if (part.n != 0)
        wide.digits = std::to_string(part.n);
    return wide;
}

std::string_view PartText(const RoundedPart& part, PartBuffer& buffer, PartForm form) {
    const auto last = part.digits.find_last_not_of('0');
    if (last == std::string::npos)
        return WriteDigits(buffer, false, "0", 0, 1, form);
    return WriteDigits(buffer, part.negative, std::string_view(part.digits).substr(0, last + 1),
                       part.exponent, static_cast<long>(part.digits.size()), form);
}

std::string_view PartText(const ShortPart& part, PartBuffer& buffer, PartForm form) {
    if (part.n == 0)
        return WriteDigits(buffer, false, "0", 0, 1, form);
    long n = part.n;
    while (n % 10 == 0) // the trailing zeros %G drops
        n /= 10;
    std::array<char, 24> kept;
    const char* end = std::to_chars(kept.data(), kept.data() + kept.size(), n).ptr;
    return WriteDigits(buffer, part.negative,
                       {kept.data(), static_cast<std::size_t>(end - kept.data())}, part.exponent,
                       part.digits, form);
}

namespace {

template <typename Part> Part Negated(Part part) {
    part.negative = !part.negative;
    return part;
}

template <typename Part>
void SetPartDecimals(FoundRoot& root, const Part& re, const Part& im, bool lower) {
    PartBuffer buffer;
    root.reDecimal.assign(PartText(re, buffer, PartForm::Decimal));
    root.imDecimal.assign(PartText(lower ? Negated(im) : im, buffer, PartForm::Decimal));
}

} // namespace

void SetDecimals(FoundRoot& root, const RoundedPart& re, const RoundedPart& im, bool lower) {
    SetPartDecimals(root, re, im, lower);
}

void SetDecimals(FoundRoot& root, const ShortPart& re, const ShortPart& im, bool lower) {
    SetPartDecimals(root, re, im, lower);
}

std::string_view FractionDecimal(long n, long d, int digits, PartBuffer& buffer) {
    if (n == 0)
        return "0";
    const bool negative = n < 0;
    long r = negative ? -n : n;
    // The whole part's digits, then long division: digits + 1 significant digits and whether
    // anything is left beyond them decide the rounding.
    std::array<char, 48> kept;
    std::size_t length = 0;
    long exponent = -1;
    if (const long whole = r / d; whole != 0) {
        const char* end = std::to_chars(kept.data(), kept.data() + kept.size(), whole).ptr;
        length = static_cast<std::size_t>(end - kept.data());
        exponent = static_cast<long>(length) - 1;
    }
    r %= d;
    const auto wanted = static_cast<std::size_t>(digits) + 1;
    // Until a digit is kept r is not 0, since n is not.
    while (length < wanted && r != 0) {
        r *= 10; // below 2^57
        const long digit = r / d;
        r %= d;
        if (length == 0 && digit == 0) {
            --exponent;
            continue;
        }
        kept[length++] = static_cast<char>('0' + digit);
    }
    bool beyond = r != 0;
    for (std::size_t i = wanted; i < length; ++i) // whole parts longer than asked
        beyond = beyond || kept[i] != '0';
    if (length > static_cast<std::size_t>(digits)) {
        const char next = kept[static_cast<std::size_t>(digits)];
        length = static_cast<std::size_t>(digits);
        const bool odd = (kept[length - 1] - '0') % 2 == 1;
        if (next > '5' || (next == '5' && (beyond || odd))) {
            std::size_t i = length;
            while (i > 0 && kept[i - 1] == '9')
                kept[--i] = '0';
            if (i == 0) { // 99…9 rounded up to the next power of ten
                kept[0] = '1';
                ++exponent;
            } else {
                ++kept[i - 1];
            }
        }
    }
    while (kept[length - 1] == '0') // the first digit kept is never 0
        --length;
    return WriteDigits(buffer, negative, {kept.data(), length}, exponent, digits,
                       PartForm::Decimal);
}

bool RoundWithin(DoubleDouble x, double error, int digits, ShortPart& out) {
    if (!std::isfinite(x.hi) || !(error >= 0) || digits > kMaxDoubleDigits || x.hi == 0)
        return false;
    const bool negative = x.hi < 0;
    if (negative)
        x = -x;
    const double top = kPowersOfTen[digits];
    // floor((e − 1)·log10 2) for 2^(e−1) <= x: the first digit's place or one below; the loop
    // below moves it up, once at most, where the scaled value reaches 10^digits.
    int binary; // 2^(binary − 1) <= x.hi < 2^binary
    std::frexp(x.hi, &binary);
    long exponent = ((binary - 1L) * 78913L) >> 18;
    for (int attempt = 0; attempt < 2; ++attempt) {
        DoubleDouble s;
        double e = error;
        if (!Scale(x, digits - 1 - exponent, s, e))
            return false;
        // The nearest whole number n and the offset f = s − n, in [−1/2, 1/2] up to rounding:
        // s.hi is positive and below 2^63, so the conversion takes its floor, and s.hi − floor
        // is exact.
        double whole = static_cast<double>(static_cast<long>(s.hi));
        double f = (s.hi - whole) + s.lo;
        if (f >= 0.5) {
            whole += 1;
            f -= 1;
        }
        if (whole >= top) {
            ++exponent; // at or above 10^digits: the first digit stands one place higher
            continue;
        }
        // whole >= top / 10: the exponent never stands above the first digit of x (the estimate
        // is exactly the floor of (e − 1)·log10 2 for every double, at most x.hi's first place,
        // and is raised only where s reaches top; x.lo moves s less than a unit below top / 10).
        // Just below 10^exponent the digits are one place finer, and only values within half
        // of that finer unit (0.05 of this one) round up to this n. A value further below
        // needs a lower exponent: it is left undecided, as only an s raised by its own
        // rounding can come there.
        const bool lowest = whole == top / 10;
        // A margin on the safe side of every rounding: the scaling's (below 10^-16), f's (u) and
        // that of the error bound itself (2u·e, e < 1/2: its product, and 10^k's low part).
        constexpr double kSlack = 1e-15;
        const double below = lowest ? 0.05 - kSlack : 0.5 - kSlack;
        if (!(f - e > -below && f + e < 0.5 - kSlack))
            return false;
        out = {negative, exponent, static_cast<long>(whole), digits};
        return true;
    }
    return false;
}

int CompareKeys(const RootKey& a, const RootKey& b) {
    if (a.real != b.real)
        return a.real ? -1 : 1;
    if (const int re = CompareParts(a.re, b.re); re != 0)
        return re;
    return CompareParts(a.im, b.im);
}

void PlaceRootZero(std::vector<FoundRoot>& roots) {
    // After the negative real roots: real roots come first, and their doubles have the sign of
    // the roots.
    const auto place = std::find_if(roots.begin() + 1, roots.end(),
                                    [](const FoundRoot& r) { return r.im != 0 || r.re > 0; });
    std::rotate(roots.begin(), roots.begin() + 1, place);
}

void AddMultiplicityTexts(std::vector<FoundRoot>& roots) {
    for (FoundRoot& root : roots)
        if (root.multiplicity > 1)
            root.text.append(" (multiplicity ")
                .append(std::to_string(root.multiplicity))
                .append(")");
}

} // namespace valdrex
