#include "solvers/all_roots/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

namespace valdrex {
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

} // namespace

std::string DecimalText(bool negative, std::string_view digits, long exponent) {
    const auto last = digits.find_last_not_of('0');
    if (last == std::string_view::npos)
        return " 0";
    const std::string_view kept = digits.substr(0, last + 1);
    const long precision = static_cast<long>(digits.size());
    std::string text(negative ? "-" : " ");
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
        return text;
    }
    text += kept[0];
    if (kept.size() > 1)
        text.append(".").append(kept.substr(1));
    text += exponent < 0 ? "E-" : "E+";
    const long magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10)
        text += '0';
    text += std::to_string(magnitude);
    return text;
}

std::optional<std::string> CertifiedDoubleText(double value, double radius, int digits) {
    if (!std::isfinite(value) || !(radius >= 0))
        return std::nullopt;
    if (value == 0)
        return radius == 0 ? std::optional<std::string>(" 0") : std::nullopt;
    // The last printed place is at least 10^(E − digits + 1) for 10^E <= |value|. E is estimated
    // from the binary exponent and raised only when clearly exceeded, so it never comes out
    // above the true one.
    int binary = 0;
    std::frexp(value, &binary);
    long exponent = static_cast<long>(std::floor((binary - 1) * 0.30102999566398120));
    if (std::fabs(value) >= PowerOfTen(exponent + 1) * (1 + 1e-14))
        ++exponent;
    // Rounding to `digits` digits errs by at most half a unit; the rest is left for the radius
    // (the margin covers the inexact power of ten).
    if (!(radius < 0.499 * PowerOfTen(exponent - digits + 1)))
        return std::nullopt;
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
    if (*first == '-')
        return std::string(first, last);
    buf[0] = ' ';
    return std::string(buf.data(), last);
}

} // namespace valdrex
