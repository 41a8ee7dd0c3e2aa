#include "solvers/all_roots/decimal_text.h"

#include <array>
#include <charconv>
#include <cmath>

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
    std::array<char, 64> buf;
    const auto end = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                   std::chars_format::scientific, digits - 1)
                         .ptr;
    const std::string_view s(buf.data(), static_cast<std::size_t>(end - buf.data()));
    const bool negative = s[0] == '-';
    const auto e = s.find('e');
    long exponent = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), s.data() + s.size(), exponent);
    // The rounding to `digits` digits errs by at most half a unit; the rest of the unit is left
    // for the radius (a margin covers the inexact power of ten).
    const double unit = PowerOfTen(exponent - digits + 1);
    if (!(radius < 0.499 * unit))
        return std::nullopt;
    std::string mantissa;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i)
        if (s[i] != '.')
            mantissa += s[i];
    return DecimalText(negative, mantissa, exponent);
}

} // namespace valdrex
