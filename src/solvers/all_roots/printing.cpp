// Printing: the texts of the roots and their order. A part is written in the house form of %G
// (no "0" before the point, a blank for a plus sign, "E+05"), and only when every value its
// disc or ball allows prints the same way to within one unit in the last place.
#include "solvers/all_roots/printing.h"

#include "solvers/all_roots/double_double.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

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
    return root;
}

namespace {

// 10^k, exact for |k| <= 22.
double PowerOfTen(long k) {
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (k >= 0 && k <= 22)
        return kExact[k];
    if (k < 0 && k >= -22)
        return 1 / kExact[-k];
    return std::pow(10.0, static_cast<double>(k));
}

// e with 2^(e−1) <= |value| < 2^e, as frexp gives it, read from the bits of a normal value.
long BinaryExponent(double value) {
    const auto biased = static_cast<long>((std::bit_cast<std::uint64_t>(value) >> 52) & 0x7ff);
    if (biased != 0)
        return biased - 1022;
    int e = 0;
    std::frexp(value, &e);
    return e;
}

// |value| rounded to `digits` (at most 15) significant digits as a whole number n, 10^(digits−1)
// <= n < 10^digits, with the power of ten of its first digit. The scaling by 10^k is one exact
// double-double product, so the rounding is that of the exact binary value, ties to even, as
// the standard formatting rounds; false where 10^k is not an exact double. `exponent` comes in
// as an estimate that is never above the true one.
bool RoundedDigits(double value, int digits, long& exponent, long& n) {
    const double magnitude = std::fabs(value);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const long k = digits - 1 - exponent;
        if (k < 0 || k > 22)
            return false;
        const DoubleDouble scaled = TwoProduct(magnitude, PowerOfTen(k));
        const auto whole = static_cast<long>(scaled.hi); // its floor: scaled.hi is below 2^54
        const double part = scaled.hi - static_cast<double>(whole); // exact
        // scaled.hi is a multiple of its last place and |lo| is at most half of it, so lo only
        // decides when the part is exactly one half.
        bool up = part > 0.5;
        if (part == 0.5)
            up = scaled.lo > 0 || (scaled.lo == 0 && whole % 2 != 0);
        else if (part == 0 && scaled.lo < 0)
            up = false; // just below a whole number: rounds to it, which is `whole`
        n = whole + (up ? 1 : 0);
        const long top = static_cast<long>(PowerOfTen(digits));
        if (n < top) {
            if (n < top / 10) // the estimate was high after all; never expected
                return false;
            return true;
        }
        if (n == top && scaled.hi < static_cast<double>(top)) {
            n = top / 10; // rounded up to the next power of ten
            ++exponent;
            return true;
        }
        ++exponent; // the estimate was one low
    }
    return false;
}

// AppendDecimalText for the digits of n (exactly `digits` of them), written in one piece.
void AppendRounded(std::string& text, bool negative, long n, int digits, long exponent) {
    while (n % 10 == 0) // the trailing zeros %G drops
        n /= 10;
    std::array<char, 24> kept;
    const auto length = static_cast<long>(
        std::to_chars(kept.data(), kept.data() + kept.size(), n).ptr - kept.data());
    std::array<char, 64> buf;
    char* out = buf.data();
    *out++ = negative ? '-' : ' ';
    const auto copy = [&](long from, long to) {
        out = std::copy(kept.data() + from, kept.data() + to, out);
    };
    if (exponent >= -4 && exponent < digits) {
        if (exponent < 0) {
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
        *out++ = 'E';
        *out++ = exponent < 0 ? '-' : '+';
        const long magnitude = exponent < 0 ? -exponent : exponent;
        if (magnitude < 10)
            *out++ = '0';
        out = std::to_chars(out, buf.data() + buf.size(), magnitude).ptr;
    }
    text.append(buf.data(), out);
}

} // namespace

void AppendDecimalText(std::string& text, bool negative, std::string_view digits, long exponent) {
    const auto last = digits.find_last_not_of('0');
    if (last == std::string_view::npos) {
        text += " 0";
        return;
    }
    const std::string_view kept = digits.substr(0, last + 1);
    const long precision = static_cast<long>(digits.size());
    text += negative ? '-' : ' ';
    if (exponent >= -4 && exponent < precision) {
        if (exponent < 0) {
            text += '.';
            text.append(static_cast<std::size_t>(-exponent - 1), '0');
            text += kept;
        } else {
            const auto whole = static_cast<std::size_t>(exponent + 1);
            text += kept.substr(0, whole);
            if (kept.size() < whole)
                text.append(whole - kept.size(), '0');
            else if (kept.size() > whole)
                text.append(".").append(kept.substr(whole));
        }
        return;
    }
    text += kept[0];
    if (kept.size() > 1)
        text.append(".").append(kept.substr(1));
    text += exponent < 0 ? "E-" : "E+";
    const long magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        text += '0';
    char buf[24];
    text.append(buf, std::to_chars(buf, buf + sizeof buf, magnitude).ptr);
}

std::string DecimalText(bool negative, std::string_view digits, long exponent) {
    std::string text;
    AppendDecimalText(text, negative, digits, exponent);
    return text;
}

bool AppendCertifiedDouble(std::string& text, double value, double radius, int digits) {
    if (!std::isfinite(value) || !(radius >= 0))
        return false;
    if (value == 0) {
        if (radius == 0)
            text += " 0";
        return radius == 0;
    }
    // The last printed place is at least 10^(E − digits + 1) for 10^E <= |value|. E is estimated
    // from the binary exponent and raised only when clearly exceeded, so it never comes out
    // above the true one.
    long exponent = ((BinaryExponent(value) - 1) * 78913L) >> 18; // floor((e − 1)·log10 2)
    if (std::fabs(value) >= PowerOfTen(exponent + 1) * (1 + 1e-14))
        ++exponent;
    // Rounding to `digits` digits errs by at most half a unit; the rest is left for the radius
    // (the margin covers the inexact power of ten).
    if (!(radius < 0.499 * PowerOfTen(exponent - digits + 1)))
        return false;
    if (long n = 0; digits <= 15 && RoundedDigits(value, digits, exponent, n)) {
        AppendRounded(text, value < 0, n, digits, exponent);
        return true;
    }
    // The digits as %G writes them, then the house form: "E", a blank for the sign of a positive
    // value, no "0" before the point.
    std::array<char, 48> buf;
    char* const first = buf.data() + 1;
    char* last =
        std::to_chars(first, buf.data() + buf.size(), value, std::chars_format::general, digits)
            .ptr;
    for (char* p = first; p != last; ++p)
        if (*p == 'e')
            *p = 'E';
    char* const digitsAt = *first == '-' ? first + 1 : first;
    if (digitsAt[0] == '0' && digitsAt + 1 != last && digitsAt[1] == '.') {
        std::memmove(digitsAt, digitsAt + 1, static_cast<std::size_t>(last - digitsAt - 1));
        --last;
    }
    if (*first != '-')
        text += ' ';
    text.append(first, last);
    return true;
}

namespace {

bool ListedBefore(const FoundRoot& a, const FoundRoot& b) {
    const bool aReal = a.im == 0, bReal = b.im == 0;
    if (aReal != bReal)
        return aReal;
    if (a.re != b.re)
        return a.re < b.re;
    if (std::fabs(a.im) != std::fabs(b.im))
        return std::fabs(a.im) < std::fabs(b.im);
    return a.im > b.im;
}

} // namespace

void ListRoots(std::vector<FoundRoot>& roots) {
    // Roots often come in order already; sorting would still move each of them.
    if (!std::is_sorted(roots.begin(), roots.end(), ListedBefore))
        std::sort(roots.begin(), roots.end(), ListedBefore);
    for (FoundRoot& root : roots)
        if (root.multiplicity > 1)
            root.text += " (multiplicity " + std::to_string(root.multiplicity) + ")";
}

} // namespace valdrex
