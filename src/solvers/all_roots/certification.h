#pragma once

#include "solvers/all_roots/iteration.h"
#include "solvers/all_roots/printing.h"

namespace valdrex {

enum class Answer { Yes, No, Unknown };

// p(z) in double-double arithmetic: the value rounded to doubles, and a bound on |p(z) − v| that
// the inclusion test relies on.
struct BoundedValue {
    Complex v;
    double error;
};
BoundedValue EvaluateBounded(const DoublePolynomial& p, Complex z);

// A disc proved to hold exactly one root: im == 0 exactly for a root proved real; im > 0 for the
// root of a conjugate pair in the upper half-plane, whose partner is the mirrored disc.
// Only ever written whole and read as far as written, so not zeroed first.
struct RootDisc {
    double re, im;     // the doubles nearest the centre
    double radius;     // bound on the distance from (re, im) to the root
    double reLo, imLo; // the centre is (re + reLo, im + imLo) exactly
    double error;      // bound on the distance from that centre to the root
};

struct RootDiscs {
    int count = 0; // real roots plus one per conjugate pair
    std::array<RootDisc, kMaxDegree> discs;
};

// Rouché's test on the approximations of p's n roots (conjugate pairs or nearly real): a disc for
// each real root and each pair, pairwise disjoint, into a new `out`. False when the bound fails.
bool IncludeRoots(const DoublePolynomial& p, const RootApproximations& approx, RootDiscs& out);

// The exact questions the double path asks about the integer polynomial it solves, answered
// with big numbers or with machine integers. Unknown (numbers too large to answer) makes the
// double path give up.
class ExactQuestions {
  public:
    virtual ~ExactQuestions() = default;
    // Whether m / a_n (a_n the leading coefficient) is a root; if so, that root is appended.
    virtual Answer IsRationalRoot(long m, RootSlots& out) = 0;
    // Whether a_n·x² − s·x + q, made primitive, divides the polynomial; if so, its two roots are
    // appended.
    virtual Answer IsQuadraticFactor(long s, long q, RootSlots& out) = 0;
};

// All roots of the integer polynomial p (degree 3 to 12, nonzero constant term) found in doubles,
// each proved alone in its disc and printed correctly rounded to `digits` (at most 15) digits,
// in the listed order. With `exact`, rational roots and the roots of quadratic factors over the
// rationals are proved by its answers and written exactly. False when the proof fails (multiple
// or clustered roots, a part too close to a rounding boundary, two roots whose order needs more
// digits, or a question left unanswered); the slots taken are then garbage. The keys of the roots
// (a real root, or a pair), in their listed order, go to `keys` when it is not null. With
// `decimalDigits` (0, or `digits`), every root has its parts' decimal texts: those the exact
// answers did not write come from the rounded parts.
bool SolveCertified(const DoublePolynomial& p, int digits, int decimalDigits, ExactQuestions* exact,
                    StopFlag stop, RootSlots& out, std::vector<RootKey>* keys = nullptr);

} // namespace valdrex
