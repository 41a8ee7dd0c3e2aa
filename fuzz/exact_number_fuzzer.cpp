// Any bytes through the exact coefficient reading: no crash, a canonical fraction, and, for a
// text without "/", the value the approximate reading gives, to within its rounding.

#include "core/failure.h"
#include "core/number_text.h"
#include "fuzz_check.h"
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/big_numbers.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace valdrex::fuzz {
namespace {

void CheckAgainstApproximateReading(const std::string& s, const fmpq_t value) {
    double approximate = 0;
    try {
        approximate = TextToNumber(s);
    } catch (const RuntimeFailure&) {
        return; // beyond the Double range
    }
    const double exact = fmpq_get_d(value);
    if (std::fabs(exact) < std::numeric_limits<double>::min() * 4)
        return; // near the subnormal range the two roundings may differ by more
    Require(std::fabs(exact - approximate) <= 4e-16 * std::fabs(approximate));
}

} // namespace
} // namespace valdrex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const std::string s(reinterpret_cast<const char*>(data), size);
    fmpq_t value;
    fmpq_init(value);
    const ExactReading reading = ReadExactNumber(s, value);
    if (reading == ExactReading::Read) {
        Require(fmpq_is_canonical(value));
        // A number is at most kMaxSignificantDigits digits, the first within
        // 10^±kMaxDecimalExponent; a quotient of two has parts of at most this many digits
        // (the size in base 10 may count one more).
        constexpr std::size_t kMostDigits = 2 * kMaxDecimalExponent + kMaxSignificantDigits + 2;
        Require(fmpz_sizeinbase(fmpq_numref(value), 10) <= kMostDigits &&
                fmpz_sizeinbase(fmpq_denref(value), 10) <= kMostDigits);
        if (s.find('/') == std::string::npos)
            CheckAgainstApproximateReading(s, value);
    } else if (reading == ExactReading::ZeroDenominator) {
        Require(s.find('/') != std::string::npos);
    }
    fmpq_clear(value);
    return 0;
}
