#include "solvers/all_roots/exact_number.h"

#include "solvers/all_roots/plain_integer.h"

#include <flint/fmpz.h>

#include <algorithm>
#include <string>

namespace valdrex {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The leading number of a text as sign, digits and a power of ten: value = ±digits·10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    long exponent = 0;
    bool tooLong = false;
};

Decimal Scan(std::string_view s) {
    Decimal r;
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
            r.tooLong = true;
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
            r.tooLong = true;
        r.exponent += negativeExponent ? -exponent : exponent;
    }
    return r;
}

// ±digits·10^exponent as a rational.
void DecimalValue(const Decimal& d, fmpq_t value) {
    fmpz_set_str(fmpq_numref(value), d.digits.c_str(), 10);
    if (d.negative)
        fmpz_neg(fmpq_numref(value), fmpq_numref(value));
    fmpz_set_ui(fmpq_denref(value), 10);
    fmpz_pow_ui(fmpq_denref(value), fmpq_denref(value),
                static_cast<unsigned long>(d.exponent < 0 ? -d.exponent : d.exponent));
    if (d.exponent > 0) {
        fmpz_mul(fmpq_numref(value), fmpq_numref(value), fmpq_denref(value));
        fmpz_one(fmpq_denref(value));
    }
    fmpq_canonicalise(value);
}

} // namespace

ExactReading ReadExactNumber(std::string_view text, fmpq_t value) {
    if (long n = 0; ReadPlainInteger(text, n)) {
        fmpq_set_si(value, n, 1);
        return ExactReading::Read;
    }
    const auto slash = text.find('/');
    const Decimal numerator = Scan(text.substr(0, slash));
    Decimal denominator;
    denominator.digits = "1";
    if (slash != std::string_view::npos)
        denominator = Scan(text.substr(slash + 1));
    if (numerator.tooLong || denominator.tooLong)
        return ExactReading::TooLong;
    if (denominator.digits.find_first_not_of('0') == std::string::npos)
        return ExactReading::ZeroDenominator;
    if (numerator.digits.empty()) {
        fmpq_zero(value);
        return ExactReading::Read;
    }
    DecimalValue(numerator, value);
    if (slash != std::string_view::npos) {
        fmpq_t d;
        fmpq_init(d);
        DecimalValue(denominator, d);
        fmpq_div(value, value, d);
        fmpq_clear(d);
    }
    return ExactReading::Read;
}

} // namespace valdrex
