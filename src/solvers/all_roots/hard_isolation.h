#pragma once

#include <acb.h>
#include <flint/fmpz_poly.h>

#include <atomic>

namespace valdrex {

// Isolating balls for every root of p, a square-free polynomial with integer coefficients and
// degree n >= 1: `roots` (n entries) receives n pairwise disjoint balls, each holding exactly one
// root, with a radius at most 2^-relativeBits times that root's modulus. Real roots come first in
// ascending order with an imaginary part of exactly zero, then the non-real ones in exact
// conjugate pairs (upper half first); a zero root is exactly 0. Returns false, leaving `roots`
// unspecified, once `*stop` is seen true (it is read between steps of a few milliseconds at
// most); `stop` may be null.
bool IsolateRoots(const fmpz_poly_t p, long relativeBits, acb_ptr roots,
                  const std::atomic<bool>* stop);

} // namespace valdrex
