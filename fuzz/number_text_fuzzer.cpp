// Any bytes through the number-text rules: no failure other than a RuntimeFailure, texts in
// their documented shapes, and printed numbers that read back.

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "fuzz_check.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace valdrex::fuzz {
namespace {

bool OnlyNumberCharacters(const std::string& text) {
    return text.find_first_not_of(" -0123456789.E+") == std::string::npos;
}

// NumberToText is NumberToStr without the sign place and with "0" before a leading point.
std::string ExpectedText(const std::string& str) {
    std::string text = str[0] == ' ' ? str.substr(1) : str;
    const std::size_t digitsAt = text[0] == '-' ? 1 : 0;
    if (text.compare(digitsAt, 1, ".") == 0)
        text.insert(digitsAt, 1, '0');
    return text;
}

// Reads back within the printed digits; subnormal values only to the nearest representable one.
// The largest Doubles print rounded up beyond the range and read back as an overflow.
void RequireReadsBack(const std::string& str, double value, double relative, double smallest) {
    double back = 0;
    try {
        back = TextToNumber(str);
    } catch (const RuntimeFailure&) {
        Require(std::fabs(value) > std::numeric_limits<double>::max() * (1 - relative));
        return;
    }
    Require(std::fabs(back - value) <= std::max(std::fabs(value) * relative, smallest));
}

void CheckDouble(double v) {
    const std::string str = NumberToStr(v);
    const std::string text = NumberToText(v);
    Require(!str.empty() && (str[0] == ' ' || str[0] == '-'));
    Require((str[0] == '-') == (v < 0));
    Require(OnlyNumberCharacters(str) && !ShowsNonFinite(str));
    Require(text == ExpectedText(str));
    RequireReadsBack(str, v, 1e-14, std::numeric_limits<double>::denorm_min());
}

void CheckSingle(float f) {
    const std::string str = NumberToStr(f);
    Require(!str.empty() && (str[0] == ' ' || str[0] == '-'));
    Require(OnlyNumberCharacters(str) && !ShowsNonFinite(str));
    Require(NumberToText(f) == ExpectedText(str));
    RequireReadsBack(str, f, 1e-6, std::numeric_limits<float>::denorm_min());
}

// A number the text rules produced: printing it never fails, and it reads back.
void CheckFinite(double v) {
    Require(std::isfinite(v));
    CheckDouble(v);
    try {
        CheckSingle(ToSingle(v));
    } catch (const RuntimeFailure&) {
        Require(std::fabs(v) > std::numeric_limits<float>::max() / 2);
    }
}

// Raw bit patterns: infinities and NaNs must be refused, everything else printed.
void CheckBits(const std::uint8_t* data, std::size_t size) {
    if (size >= sizeof(double)) {
        double v;
        std::memcpy(&v, data, sizeof v);
        try {
            CheckDouble(v);
            Require(std::isfinite(v));
        } catch (const RuntimeFailure&) {
            Require(!std::isfinite(v));
        }
    }
    if (size >= sizeof(float)) {
        float f;
        std::memcpy(&f, data, sizeof f);
        try {
            CheckSingle(f);
            Require(std::isfinite(f));
        } catch (const RuntimeFailure&) {
            Require(!std::isfinite(f));
        }
    }
}

} // namespace
} // namespace valdrex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const std::string s(reinterpret_cast<const char*>(data), size);
    try {
        CheckFinite(TextToNumber(s));
    } catch (const RuntimeFailure&) {
        // beyond the Double range
    }
    CheckBits(data, size);
    return 0;
}
