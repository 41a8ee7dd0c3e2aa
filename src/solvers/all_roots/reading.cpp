// Reading: the coefficient texts as exact decimal numbers, without big numbers, so that the
// machine-integer path can read the usual boxes in the programs themselves. What is read is
// exactly what was typed: no digit is rounded or dropped, and a text that cannot be read
// exactly (not a number, or beyond the limits) is refused with the reason.
#include "solvers/all_roots/reading.h"

#include "solvers/all_roots/all_roots.h"

namespace valdrex {
namespace {

// A number as the exact reading reads it, within the limits.
ExactReading Read(std::string_view text, LeadingNumber& number) {
    number = ReadLeadingNumber(text, CutShort::IsNoNumber);
    if (number.cutShort)
        return ExactReading::NotANumber;
    if (number.digits.empty()) // zero, whatever its exponent
        return ExactReading::Read;
    if (static_cast<long>(number.digits.size()) > kMaxSignificantDigits)
        return ExactReading::TooManyDigits;
    const long first = number.exponent + static_cast<long>(number.digits.size()) - 1;
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

ExactReading ScanExactNumber(std::string_view text, LeadingNumber& numerator,
                             LeadingNumber& denominator) {
    const auto slash = text.find('/');
    ExactReading reading = Read(text.substr(0, slash), numerator);
    if (reading != ExactReading::Read)
        return reading;
    denominator = {false, false, "1", 0};
    if (slash != std::string_view::npos) {
        reading = Read(text.substr(slash + 1), denominator);
        if (reading != ExactReading::Read)
            return reading;
    }
    return denominator.digits.empty() ? ExactReading::ZeroDenominator : ExactReading::Read;
}

std::string_view ReadingLimitText(ExactReading reading) {
    switch (reading) {
    case ExactReading::TooManyDigits:
        return "more than 10,000 significant digits";
    case ExactReading::PowerTooLarge:
        return "a power of ten beyond \u00b1100,000";
    default:
        return {};
    }
}

} // namespace valdrex
