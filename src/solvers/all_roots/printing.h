#pragma once

#include "solvers/all_roots/all_roots.h"

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
    void Finish() { roots_.resize(used_); }

  private:
    std::vector<FoundRoot>& roots_;
    std::size_t used_;
};

// The text of ±0.d1d2d3…·10^(exponent + 1), that is, of the value whose first significant digit
// `digits[0]` (nonzero) stands at the power `exponent`, written as %G writes it with as many
// significant digits as `digits` holds: trailing zeros dropped, no "0" before the point, a blank
// in place of the sign of a positive value, exponents "E+05" / "E-07".
std::string DecimalText(bool negative, std::string_view digits, long exponent);
void AppendDecimalText(std::string& text, bool negative, std::string_view digits, long exponent);

// Appends `value` printed with `digits` significant digits when every value within `radius` of
// it prints the same way to within one unit in the last place; otherwise false, with nothing
// appended.
bool AppendCertifiedDouble(std::string& text, double value, double radius, int digits);

// Puts the roots in the listed order (real ones ascending, then the complex ones by real part,
// the upper one of a pair first) and adds the multiplicity to the text of a multiple root.
void ListRoots(std::vector<FoundRoot>& roots);

} // namespace valdrex
