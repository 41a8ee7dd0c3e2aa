#pragma once

#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/double_double.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex {

// Roots written one after another into a list from position `from` on. Roots already there are
// overwritten, so that their texts keep their storage; Finish drops those left over.
class RootSlots {
  public:
    RootSlots(std::vector<FoundRoot>& roots, std::size_t from) : roots_(roots), used_(from) {}
    FoundRoot& Next(); // a root with every field reset
    // Room for `count` more roots, so that references to the next ones stay valid.
    void Reserve(std::size_t count) { roots_.reserve(used_ + count); }
    // Drops the roots past the last one taken (Next never leaves a gap).
    void Finish() {
        roots_.erase(roots_.begin() + static_cast<std::ptrdiff_t>(used_), roots_.end());
    }
    std::size_t size() const { return used_; }
    FoundRoot& operator[](std::size_t i) { return roots_[i]; }

  private:
    std::vector<FoundRoot>& roots_;
    std::size_t used_;
};

// A real number correctly rounded to a number of significant digits (ties to even):
// ±0.d1d2…·10^(exponent + 1), `digits` holding d1d2… with d1 nonzero; no digits for zero.
struct RoundedPart {
    bool negative = false;
    long exponent = 0; // the power of ten of the first digit
    std::string digits;
};

// Negative, zero or positive as the value of a is below, equal to or above that of b.
int CompareParts(const RoundedPart& a, const RoundedPart& b);

// A part as the double path rounds it, without a string: ±n·10^(exponent − digits + 1) with
// 10^(digits−1) <= n < 10^digits.
struct ShortPart {
    bool negative;
    long exponent;
    long n; // 0 for zero
    int digits;
};
RoundedPart Widen(const ShortPart& part);

// The text of a part in the house form of %G with as many significant digits as it holds:
// trailing zeros dropped, no "0" before the point, a blank in place of the sign of a positive
// value, exponents "E+05" / "E-07" below 10^-4 and from 10^digits on; " 0" for zero. The
// decimal form is the same number in the grammar of JSON numbers, for scripts: "-0.5", "0.25",
// "1.5e-7", "2e20", "0".
enum class PartForm { Printed, Decimal };
using PartBuffer = std::array<char, 96>;
std::string_view PartText(const RoundedPart& part, PartBuffer& buffer,
                          PartForm form = PartForm::Printed);
std::string_view PartText(const ShortPart& part, PartBuffer& buffer,
                          PartForm form = PartForm::Printed);

// The decimal texts of a root's parts, the imaginary part negated for the lower root of a pair
// (a real root's is "0").
void SetDecimals(FoundRoot& root, const RoundedPart& re, const RoundedPart& im, bool lower);
void SetDecimals(FoundRoot& root, const ShortPart& re, const ShortPart& im, bool lower);

// n/d (d > 0, |n| and d below 2^53) correctly rounded to `digits` (1..30) significant digits,
// ties to even, in the decimal form.
std::string_view FractionDecimal(long n, long d, int digits, PartBuffer& buffer);

// The most significant digits a double-double part is rounded to: the error of its scaling is
// bounded for the scaled values below 10^15 (docs/numerics.md).
inline constexpr int kMaxDoubleDigits = 15;

// x = hi + lo, known to within `error`, rounded to `digits` significant digits: true when every
// value within `error` of x rounds to the same digits (which are then those of the true value),
// false when that is not proved (x or the rounding boundary too close, or more digits than
// kMaxDoubleDigits).
bool RoundWithin(DoubleDouble x, double error, int digits, ShortPart& out);

// What a root is listed by: its real part and the size of its imaginary part, rounded.
struct RootKey {
    bool real = true;
    RoundedPart re, im; // im is zero for a real root
};

// Negative, zero or positive for the listed order of two roots (of two conjugate pairs, by their
// upper roots): real roots first, ascending; then the pairs by real part, then by the size of the
// imaginary part, as rounded. Equal keys are settled by the same comparison at more digits.
int CompareKeys(const RootKey& a, const RootKey& b);

// Moves the root 0, written first before roots in the listed order, to its place among them.
void PlaceRootZero(std::vector<FoundRoot>& roots);

// Adds the multiplicity to the text of each multiple root.
void AddMultiplicityTexts(std::vector<FoundRoot>& roots);

} // namespace valdrex
