#pragma once

#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/printing.h"
#include "solvers/all_roots/reading.h"

#include <flint/fmpq.h>
#include <flint/fmpz_poly.h>

#include <string_view>
#include <vector>

namespace valdrex {

// The big-number path (a BigNumberPath): every equation read and solved with big numbers.
// Wherever the machine-integer path answers, this gives the same result.
void SolveWithBigNumbers(const CoefficientTexts& coefficients, int digits, StopFlag stop,
                         AllRootsResult& result);

// Frees the big-number memory kept for the calling thread.
void EndBigNumberThread();

// A coefficient text as an exact rational, read as ScanExactNumber reads it.
ExactReading ReadExactNumber(std::string_view text, fmpq_t value);

// All roots of p (degree 3 to 12, a nonzero constant term) found in doubles when its
// coefficients are below 2^60, each proved alone in its disc and printed correctly rounded to
// `digits` (at most 15) digits, in the listed order. With `exactForms`, rational roots and the
// roots of quadratic factors over the rationals are proved by exact division and written exactly.
// False, with nothing appended, when the proof fails: multiple or clustered roots, a case that
// needs more precision, or input out of range. The keys of the roots, in their listed order, go to
// `keys` when it is not null. With `decimalDigits` (0, or `digits`) the roots' parts' decimal texts
// too.
bool SolveInDoubles(const fmpz_poly_t p, int digits, int decimalDigits, bool exactForms,
                    StopFlag stop, std::vector<FoundRoot>& out,
                    std::vector<RootKey>* keys = nullptr);

} // namespace valdrex
