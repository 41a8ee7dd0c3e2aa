// Reading: the coefficient texts as exact decimal numbers, without big numbers, so that the
// machine-integer path can read the usual boxes in the programs themselves. What is read is
// exactly what was typed: no digit is rounded or dropped, and a text that cannot be read
// exactly (not a number, or beyond the limits) is refused with the reason.
#include "solvers/all_roots/reading.h"

#include "solvers/all_roots/all_roots.h"

#include <algorithm>

namespace valdrex {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Far beyond every limit, and far from overflowing a long when added to a text's length.
constexpr long kExponentCap = 1000000000;

// The leading number of a text, as the header says.
ExactReading Scan(std::string_view s, DecimalNumber& r) {
    r = {};
    std::size_t i = 0;
    long count = 0;
    const auto skip = [&] {
        while (i < s.size() && IsSkipped(s[i]))
            ++i;
    };
    // Digits of the mantissa; `fraction` counts those after the point into the exponent.
    const auto readMantissa = [&](bool fraction) {
        bool any = false;
        for (skip(); i < s.size() && IsDigit(s[i]); skip()) {
            const char c = s[i++];
            any = true;
            if (fraction)
                --r.exponent;
            if (c == '0' && count == 0)
                continue;                         // a leading zero
            if (++count <= kMaxSignificantDigits) // a longer text is refused anyway
                r.digits += c;
        }
        return any;
    };
    skip();
    const bool signed_ = i < s.size() && (s[i] == '-' || s[i] == '+');
    if (signed_)
        r.negative = s[i++] == '-';
    bool hasDigit = readMantissa(false);
    skip();
    bool point = false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        point = true;
        hasDigit = readMantissa(true) || hasDigit;
        skip();
    }
    const bool exponentLetter = i < s.size() && IsExponentLetter(s[i]);
    if (!hasDigit) {
        r = {};
        return signed_ || point || exponentLetter ? ExactReading::NotANumber : ExactReading::Read;
    }
    if (exponentLetter) {
        ++i;
        skip();
        bool negative = false;
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            negative = s[i++] == '-';
        long exponent = 0;
        bool any = false;
        for (skip(); i < s.size() && IsDigit(s[i]); skip()) {
            exponent = std::min(exponent * 10 + (s[i++] - '0'), kExponentCap);
            any = true;
        }
        if (!any)
            return ExactReading::NotANumber;
        r.exponent += negative ? -exponent : exponent;
    }
    if (i < s.size() && (s[i] == '.' || IsExponentLetter(s[i])))
        return ExactReading::NotANumber; // "1.2.3", "1e5e6": the number does not end there
    if (r.digits.empty()) {              // zero, whatever its exponent
        r = {};
        return ExactReading::Read;
    }
    if (count > kMaxSignificantDigits)
        return ExactReading::TooManyDigits;
    const long first = r.exponent + static_cast<long>(r.digits.size()) - 1;
    if (first > kMaxDecimalExponent || first < -kMaxDecimalExponent)
        return ExactReading::PowerTooLarge;
    return ExactReading::Read;
}

} // namespace

bool ReadPlainInteger(std::string_view s, long& value) {
    std::size_t i = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        i = 1;
    if (s.size() == i || s.size() - i > 18)
        return false;
    long n = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9')
            return false;
        n = n * 10 + (s[i] - '0');
    }
    value = negative ? -n : n;
    return true;
}

ExactReading ScanExactNumber(std::string_view text, DecimalNumber& numerator,
                             DecimalNumber& denominator) {
    const auto slash = text.find('/');
    ExactReading reading = Scan(text.substr(0, slash), numerator);
    if (reading != ExactReading::Read)
        return reading;
    denominator = {false, "1", 0};
    if (slash != std::string_view::npos) {
        reading = Scan(text.substr(slash + 1), denominator);
        if (reading != ExactReading::Read)
            return reading;
    }
    return denominator.digits.empty() ? ExactReading::ZeroDenominator : ExactReading::Read;
}

} // namespace valdrex
