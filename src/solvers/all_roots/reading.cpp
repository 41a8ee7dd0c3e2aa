// Reading: the coefficient texts as exact decimal numbers, without big numbers, so that the
// machine-integer path can read the usual boxes in the programs themselves. What is read is
// exactly what was typed: no digit is rounded or dropped, and a text that cannot be read
// exactly is refused with the reason.
#include "solvers/all_roots/reading.h"

#include <algorithm>

namespace valdrex {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of a text.
DecimalNumber Scan(std::string_view s, bool& tooLong) {
    DecimalNumber r;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < s.size() && IsSkipped(s[i]))
            ++i;
    };
    const auto readDigits = [&](auto&& take) {
        bool any = false;
        for (skip(); i < s.size() && IsDigit(s[i]); skip()) {
            take(s[i++]);
            any = true;
        }
        return any;
    };
    const auto takeDigit = [&](char c) {
        if (r.digits.size() < kMaxExactDigits)
            r.digits += c;
        else
            tooLong = true;
    };
    skip();
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        r.negative = s[i++] == '-';
    bool hasDigit = readDigits(takeDigit);
    skip();
    if (i < s.size() && s[i] == '.') {
        ++i;
        const std::size_t before = r.digits.size();
        hasDigit = readDigits(takeDigit) || hasDigit;
        r.exponent = -static_cast<long>(r.digits.size() - before);
    }
    if (!hasDigit)
        return {};
    skip();
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        skip();
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == '-' || s[i] == '+'))
            negativeExponent = s[i++] == '-';
        long exponent = 0;
        // Capped while reading: anything past the limit is too long anyway.
        readDigits([&](char c) { exponent = std::min(exponent * 10 + (c - '0'), 100000L); });
        if (exponent > kMaxExactDigits)
            tooLong = true;
        r.exponent += negativeExponent ? -exponent : exponent;
    }
    return r;
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
    bool tooLong = false;
    const auto slash = text.find('/');
    numerator = Scan(text.substr(0, slash), tooLong);
    denominator = {false, "1", 0};
    if (slash != std::string_view::npos)
        denominator = Scan(text.substr(slash + 1), tooLong);
    if (tooLong)
        return ExactReading::TooLong;
    if (denominator.digits.find_first_not_of('0') == std::string::npos)
        return ExactReading::ZeroDenominator;
    return ExactReading::Read;
}

} // namespace valdrex
