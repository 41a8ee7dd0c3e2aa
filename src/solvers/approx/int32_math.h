#pragma once

namespace valdrex {

// 32-bit signed integer arithmetic that fails with Overflow where the result does not fit.

// |v|; the magnitude of -2147483648 does not fit.
int CheckedAbs(int v);
// base^exponent (exponent >= 0) as a product of 32-bit integers; base^0 = 1.
int CheckedIntPower(int base, int exponent);

} // namespace valdrex
