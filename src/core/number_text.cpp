#include "core/number_text.h"

#include "core/failure.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <optional>
#include <utility>

namespace valdrex {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Most texts are short plain integers ("0", "-12"); they are read directly. Up to 15 digits the
// value is below 2^53, so the conversion is exact and equals the general reading, "-0" included.
std::optional<double> PlainInteger(std::string_view s) {
    if (s.size() == 1 && IsDigit(s[0]))
        return s[0] - '0';
    std::size_t i = 0;
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        i = 1;
    const std::size_t digits = s.size() - i;
    if (digits == 0 || digits > 15)
        return std::nullopt;
    std::uint64_t n = 0;
    for (; i < s.size(); ++i) {
        if (!IsDigit(s[i]))
            return std::nullopt;
        n = n * 10 + static_cast<std::uint64_t>(s[i] - '0');
    }
    const double value = static_cast<double>(n);
    return negative ? -value : value;
}

// A whole value below 10^precision prints as its plain digits in every format here. They are
// written backwards ending at `end`; returns where they start, or null for any other value.
char* WritePlainInteger(double value, int precision, bool leadingBlank, char* end) {
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Below 10^15 the cast to a 64-bit integer is exact for a whole value: a wholeness test
    // without a library call.
    if (!(std::fabs(value) < kPowersOfTen[precision]) ||
        static_cast<double>(static_cast<std::int64_t>(value)) != value)
        return nullptr;
    char* p = end;
    auto n = static_cast<std::uint64_t>(std::fabs(value));
    do {
        *--p = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    if (value < 0)
        *--p = '-';
    else if (leadingBlank)
        *--p = ' ';
    return p;
}

// Far beyond every double and every limit, and far from overflowing a long.
constexpr long kExponentCap = 1000000000;

bool IsExponentLetter(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Room for the longest text: sign or blank, 15 digits, point, exponent.
using FormatBuffer = std::array<char, 40>;

// The text of `value`, written into `buf`.
std::string_view Format(double value, int precision, bool leadingBlank, FormatBuffer& buf) {
    if (!std::isfinite(value))
        FailOverflow();
    if (value == 0)
        value = 0; // negative zero prints as zero
    char* const end = buf.data() + buf.size();
    if (const char* start = WritePlainInteger(value, precision, leadingBlank, end))
        return {start, end};
    // The general form goes one place to the right, leaving room for the leading blank.
    char* const first = buf.data() + 1;
    char* last = std::to_chars(first, end, value, std::chars_format::general, precision).ptr;
    for (char* p = first; p != last; ++p)
        if (*p == 'e')
            *p = 'E';
    if (!leadingBlank)
        return {first, last};
    const bool negative = *first == '-';
    char* const digits = negative ? first + 1 : first;
    if (digits[0] == '0' && digits + 1 != last && digits[1] == '.') {
        std::memmove(digits, digits + 1, static_cast<std::size_t>(last - digits - 1));
        --last;
    }
    if (negative)
        return {first, last};
    buf[0] = ' ';
    return {buf.data(), last};
}

std::string FormatOwned(double value, int precision, bool leadingBlank) {
    FormatBuffer buf;
    return std::string(Format(value, precision, leadingBlank, buf));
}

void FormatAppended(std::string& out, double value, int precision, bool leadingBlank) {
    FormatBuffer buf;
    out += Format(value, precision, leadingBlank, buf);
}

// More significant digits than the rounding to a double can depend on (767 at most).
constexpr std::size_t kDecisiveDigits = 800;

// ReadLeadingNumber keeping the first `keptDigits` significant digits (the exponent counts
// those left out), with "." skipped as blanks are when `pointsSkipped`.
LeadingNumber ReadNumber(std::string_view s, CutShort rule, std::size_t keptDigits,
                         bool pointsSkipped);

// The general reading, apart so that the plain integers' path stays short.
[[gnu::noinline]] double ScannedNumber(std::string_view text, bool pointsSkipped) {
    const LeadingNumber number =
        ReadNumber(text, CutShort::EndsTheNumber, kDecisiveDigits, pointsSkipped);
    // As from_chars reads it, correctly rounded; "-0" stays negative zero. A nonzero rest past
    // the decisive digits rounds as one more "1" does.
    long exponent = number.exponent;
    std::string d = number.negative ? "-" : "";
    d += number.digits.empty() ? "0" : number.digits;
    if (number.droppedNonZero) {
        d += '1';
        --exponent;
    }
    d += 'e';
    d += std::to_string(exponent);
    double value = 0;
    const auto res = std::from_chars(d.data(), d.data() + d.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars reports both ends of the range; only the large end is a failure.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        value = strtod_l(d.c_str(), nullptr, cLocale);
        if (std::isinf(value))
            FailOverflow();
    }
    return value;
}

} // namespace

namespace {

LeadingNumber ReadNumber(std::string_view s, CutShort rule, std::size_t keptDigits,
                         bool pointsSkipped) {
    LeadingNumber r;
    std::size_t i = 0;
    const auto skip = [&] {
        while (i < s.size() && (IsSkipped(s[i]) || (pointsSkipped && s[i] == '.')))
            ++i;
    };
    // Mantissa digits; those after the point count into the exponent, those past the kept ones
    // only into it.
    const auto readMantissa = [&](bool fraction) {
        bool any = false;
        for (skip(); i < s.size() && IsDigit(s[i]); skip()) {
            const char c = s[i++];
            any = true;
            if (fraction)
                --r.exponent;
            if (r.digits.empty()) {
                if (c == '0')
                    continue;
                // Room for every digit that may follow, taken once: a long text would otherwise
                // be copied many times over as the digits grew.
                r.digits.reserve(std::min(s.size() - i + 1, keptDigits));
            }
            if (r.digits.size() < keptDigits) {
                r.digits += c;
            } else {
                ++r.exponent;
                r.droppedNonZero = r.droppedNonZero || c != '0';
            }
        }
        return any;
    };
    const auto cutShort = [&](LeadingNumber number) {
        if (rule == CutShort::IsNoNumber)
            return LeadingNumber{true, false, {}, 0};
        return number;
    };
    skip();
    const bool signedText = i < s.size() && (s[i] == '-' || s[i] == '+');
    if (signedText)
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
    if (!hasDigit)
        return signedText || point || exponentLetter ? cutShort({}) : LeadingNumber{};
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
            return cutShort(std::move(r)); // the mantissa alone, not copied
        r.exponent += negative ? -exponent : exponent;
    }
    if (i < s.size() && (s[i] == '.' || IsExponentLetter(s[i])))
        return cutShort(std::move(r));
    return r;
}

} // namespace

LeadingNumber ReadLeadingNumber(std::string_view s, CutShort rule) {
    return ReadNumber(s, rule, std::string::npos, false);
}

double TextToNumber(std::string_view text) {
    if (const std::optional<double> plain = PlainInteger(text))
        return *plain;
    return ScannedNumber(text, false);
}

double TextToNumberWithoutPoints(std::string_view text) {
    return ScannedNumber(text, true);
}

std::string NumberToStr(double value) {
    return FormatOwned(value, 15, true);
}

std::string NumberToText(double value) {
    return FormatOwned(value, 15, false);
}

std::string NumberToStr(float value) {
    return FormatOwned(value, 7, true);
}

std::string NumberToText(float value) {
    return FormatOwned(value, 7, false);
}

void AppendNumberToStr(std::string& out, double value) {
    FormatAppended(out, value, 15, true);
}

void AppendNumberToText(std::string& out, double value) {
    FormatAppended(out, value, 15, false);
}

void AppendNumberToStr(std::string& out, float value) {
    FormatAppended(out, value, 7, true);
}

void AppendNumberToText(std::string& out, float value) {
    FormatAppended(out, value, 7, false);
}

} // namespace valdrex
