#pragma once

#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/all_roots/printing.h"

#include <acb.h>
#include <flint/fmpq.h>
#include <flint/fmpz_poly.h>

#include <vector>

namespace valdrex {

// What one isolation did, counted the same on every run and machine: the heuristics only change
// the cost, so the tests hold each hard family to a bound on it (docs/numerics.md).
struct IsolationWork {
    long doubleSteps = 0;       // root evaluations in the sweeps in hardware doubles
    long steps = 0;             // Aberth steps in big numbers
    long restarts = 0;          // clusters restarted in frames of their own
    long proofs = 0;            // inclusion tests tried
    long topPrecision = 0;      // the highest working precision
    long topShiftPrecision = 0; // the highest precision a frame's shift took
    long centreSteps = 0;       // Newton steps moving the frames' centres
};

// Isolating balls for every root of p, a square-free polynomial with integer coefficients and
// degree n >= 1: `roots` (n entries) receives n pairwise disjoint balls, each holding exactly one
// root, with a radius at most 2^-relativeBits times that root's modulus. Real roots come first in
// ascending order with an imaginary part of exactly zero, then the non-real ones in exact
// conjugate pairs (upper half first) by their real parts; a zero root is exactly 0. Returns false,
// leaving `roots` unspecified, once `*stop` is seen true (it is read between steps of a few
// milliseconds at most); `stop` may be null. The work done is added to `*work` when it is not null.
// The method and its proof: hard_isolation.cpp.
bool IsolateRoots(const fmpz_poly_t p, long relativeBits, acb_ptr roots, StopFlag stop,
                  IsolationWork* work = nullptr);

// The isolation's heuristics reckon sizes as log2 of magnitudes (−inf for zero).
// log2(2^a + 2^b), and log2(2^a − 2^b) (−inf when that is not positive).
double LogAdd(double a, double b);
double LogSub(double a, double b);
// The height at k of the upper hull of `logs` whose vertices are `hull` (see UpperHull), by
// linear interpolation between its vertices; −inf outside it.
double HullHeight(const std::vector<double>& logs, const std::vector<int>& hull, long k);

// A vector of balls, cleared on destruction. Its indices are checked where the engine checks a
// std::vector's.
class Balls {
  public:
    explicit Balls(long n) : v_(static_cast<std::size_t>(n)) {
        for (acb_struct& z : v_)
            acb_init(&z);
    }
    Balls(const Balls&) = delete;
    Balls& operator=(const Balls&) = delete;
    ~Balls() {
        for (acb_struct& z : v_)
            acb_clear(&z);
    }
    acb_ptr get() { return v_.data(); }
    acb_srcptr get() const { return v_.data(); }
    acb_ptr operator[](long i) { return &v_[static_cast<std::size_t>(i)]; }
    acb_srcptr operator[](long i) const { return &v_[static_cast<std::size_t>(i)]; }
    long size() const { return static_cast<long>(v_.size()); }
    acb_ptr begin() { return v_.data(); }
    acb_ptr end() { return v_.data() + v_.size(); }

  private:
    std::vector<acb_struct> v_;
};

// The roots of an irreducible integer polynomial f of degree >= 3, isolated. When f is
// symmetric about a rational b (f(b + t) even in t: b is then the mean of the roots, and no
// other rational number is the real part of a root), the roots on the line Re x = b come out
// with a real part of exactly b: roots of the form b ± t with t² a root of a polynomial of half
// the degree. The real roots and the upper roots of the pairs are listed.
class IsolatedFactor {
  public:
    explicit IsolatedFactor(const fmpz_poly_t f);

    // Isolates again to `bits` bits of relative accuracy; false when stopped.
    bool Isolate(long bits, StopFlag stop);

    long count() const { return static_cast<long>(listed_.size()); } // real and upper roots
    acb_srcptr root(long i) const { return all_[listed_[i]]; }
    // Whether the real part of root i is exactly `shift()`.
    bool onAxis(long i) const { return onAxis_[listed_[i]]; }
    const fmpq* shift() const { return shift_.get(); }
    // Whether the balls of all roots, the lower ones of the pairs included, are disjoint.
    bool Disjoint() const;
    // Whether the imaginary part of root i is exactly c, decided exactly.
    bool ImaginaryPartIs(long i, const fmpq_t c, long bits) const;

  private:
    IntegerPolynomial f_;
    IntegerPolynomial half_; // with a symmetry: g(s), f(b + t) = g(t²) up to a scale
    Rational shift_;         // b; 0 without a symmetry
    bool symmetric_ = false;
    Balls all_;
    std::vector<bool> onAxis_;
    std::vector<long> listed_;
};

enum class BallRounding {
    Rounded,  // every value in the ball rounds to `out`
    Boundary, // the ball holds the rounding boundary `boundary` (and maybe more, when wide)
    Unknown,  // the ball holds 0
};

// The real ball x correctly rounded to `digits` significant digits, when the ball shows it.
BallRounding RoundBall(const arb_t x, int digits, RoundedPart& out, fmpq_t boundary);

// q rounded to `digits` significant digits, ties to even, exactly; q need not be in lowest terms
// (its denominator positive).
void RoundRational(const fmpq_t q, int digits, RoundedPart& out);

// The double nearest x, held to the range of finite doubles, and nonzero when x is: a part beyond
// the range is reported as the largest double of its sign rather than as an infinity, a nonzero
// part below it as the smallest, so that a tiny complex root never looks real.
double NearestDouble(const arf_t x);
double NearestDouble(const fmpq_t x);

// Upper bound on |x − d| over the ball, as a double rounded up (the largest double when the
// bound is beyond the range).
double DistanceBound(const arb_t x, double d);

} // namespace valdrex
