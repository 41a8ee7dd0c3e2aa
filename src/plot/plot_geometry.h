#pragma once

#include "core/working_polynomial.h"
#include "solvers/all_roots/all_roots.h"

#include <span>
#include <vector>

namespace valdrex {

struct Interval {
    double lo = 0, hi = 0;
    double width() const { return hi - lo; }
    double centre() const { return (lo + hi) / 2; }
    bool contains(double x) const { return lo <= x && x <= hi; }
};

// P at x by Horner's rule in extended precision: near a cluster of roots the values are tiny
// differences of large terms, and the plot must still tell the roots apart.
double PlotValue(const Polynomial& a, double x);

// Where P' changes sign inside `within`, each found to full precision: the local maxima and
// minima of P. Flat points where P' keeps its sign are not among them.
std::vector<double> TurningPoints(const Polynomial& a, Interval within);

// The first view of P on the real axis.
struct RealView {
    Interval x, y;
    bool clipped = false;              // a branch leaves the y-range: the axis says so
    std::vector<double> turningPoints; // inside x
};

// x shows every real root and turning point with a margin (the real parts of the complex roots
// when there are neither); y shows P at those points, and P over all of x unless a steep branch
// would flatten the rest, which is clipped instead.
RealView ChooseRealView(const Polynomial& a, std::span<const FoundRoot> roots);

// The first view of the complex plane: every root, and the unit circle unless all roots lie far
// inside it. Both intervals have the same width, so the plane keeps equal scales.
struct PlaneView {
    Interval re, im;
};
PlaneView ChoosePlaneView(std::span<const FoundRoot> roots);

// The curve of P over `x` for a plot of `pixels` (width, height) showing `y`. Samples are
// denser where the curve bends on the screen and include every key point inside x (roots and
// turning points), so a double root touches the axis. Values far outside y are held at a
// bound that no drawing code chokes on.
struct Curve {
    std::vector<double> x, y;
};
Curve SampleCurve(const Polynomial& a, Interval x, Interval y, int widthPixels, int heightPixels,
                  std::span<const double> keyPoints);

} // namespace valdrex
