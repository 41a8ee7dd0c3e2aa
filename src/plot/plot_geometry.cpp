#include "plot/plot_geometry.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace valdrex {
namespace {

// Grid over which the sign changes of P' are looked for; closer turning points than one grid
// step apart lie inside the x-range anyway.
constexpr int kTurningGrid = 2048;
constexpr double kXMargin = 0.15;  // of the width of the interesting points, on each side
constexpr double kYMargin = 0.08;  // of the y-range, on each side
constexpr int kYProbes = 512;      // samples of P over the x-range when choosing y
constexpr double kCoreReach = 2.0; // how far (in core heights) P may leave the core unclipped
constexpr double kPlaneMargin = 0.15;
constexpr double kCircleWhenBeyond = 0.1; // roots all inside this radius: the circle stays out
constexpr int kMaxCurvePoints = 4000;
constexpr int kMaxRefinement = 10;
constexpr double kBendTolerance = 0.25; // pixels between the curve and its chord
constexpr double kValueBound = 1e6;     // in y-range heights from the centre

Polynomial Derivative(const Polynomial& a) {
    Polynomial d{};
    for (int i = 1; i < kCoefficientCount; ++i)
        d[i - 1] = i * a[i];
    return d;
}

bool HasTerms(const Polynomial& a) {
    return std::any_of(a.begin(), a.end(), [](double c) { return c != 0; });
}

double Bisect(const Polynomial& a, double lo, double hi) {
    const bool loNegative = PlotValue(a, lo) < 0;
    for (;;) {
        const double mid = lo + (hi - lo) / 2;
        if (mid <= lo || mid >= hi)
            return mid;
        const double value = PlotValue(a, mid);
        if (value == 0)
            return mid;
        ((value < 0) == loNegative ? lo : hi) = mid;
    }
}

Interval Around(double lo, double hi, double margin) {
    const double pad = (hi - lo) * margin;
    return {lo - pad, hi + pad};
}

// The curve between two samples, refined while its middle strays from the chord on the screen.
class Sampler {
  public:
    Sampler(const Polynomial& a, Interval y, double pixelsPerUnit)
        : a_(a), y_(y), pixelsPerUnit_(pixelsPerUnit),
          bound_(kValueBound * std::max(y.width(), 1e-300)) {}

    void Add(double x, double value) {
        curve_.x.push_back(x);
        curve_.y.push_back(std::clamp(value, y_.centre() - bound_, y_.centre() + bound_));
    }

    void Refine(double x0, double y0, double x1, double y1, int depth) {
        if (depth >= kMaxRefinement || static_cast<int>(curve_.x.size()) >= kMaxCurvePoints)
            return;
        const double xm = x0 + (x1 - x0) / 2;
        const double ym = PlotValue(a_, xm);
        const bool allAbove = y0 > y_.hi && ym > y_.hi && y1 > y_.hi;
        const bool allBelow = y0 < y_.lo && ym < y_.lo && y1 < y_.lo;
        if (allAbove || allBelow || std::abs(ym - (y0 + y1) / 2) * pixelsPerUnit_ < kBendTolerance)
            return;
        Refine(x0, y0, xm, ym, depth + 1);
        Add(xm, ym);
        Refine(xm, ym, x1, y1, depth + 1);
    }

    Curve Take() { return std::move(curve_); }

  private:
    const Polynomial& a_;
    Interval y_;
    double pixelsPerUnit_;
    double bound_;
    Curve curve_;
};

} // namespace

double PlotValue(const Polynomial& a, double x) {
    long double s = 0;
    for (int i = kCoefficientCount - 1; i >= 0; --i)
        s = s * x + a[i];
    return static_cast<double>(s);
}

std::vector<double> TurningPoints(const Polynomial& a, Interval within) {
    std::vector<double> points;
    const Polynomial slope = Derivative(a);
    if (!HasTerms(slope) || !(within.width() > 0))
        return points;
    double lastX = within.lo;
    double lastValue = PlotValue(slope, lastX);
    for (int i = 1; i <= kTurningGrid; ++i) {
        const double x = within.lo + within.width() * i / kTurningGrid;
        const double value = PlotValue(slope, x);
        if (value == 0)
            continue; // the bracket around it closes at the next value of either sign
        if (lastValue != 0 && (value < 0) != (lastValue < 0))
            points.push_back(Bisect(slope, lastX, x));
        lastX = x;
        lastValue = value;
    }
    return points;
}

RealView ChooseRealView(const Polynomial& a, std::span<const FoundRoot> roots) {
    RealView view;
    // Every turning point lies within the hull of the roots (Gauss-Lucas), widened a little so
    // that one at an end of it is bracketed.
    double hullLo = 0, hullHi = 0;
    if (!roots.empty()) {
        const auto [lo, hi] = std::minmax_element(
            roots.begin(), roots.end(), [](const auto& l, const auto& r) { return l.re < r.re; });
        hullLo = lo->re;
        hullHi = hi->re;
    }
    const double widen =
        0.01 * (hullHi - hullLo) + 1e-9 * (1 + std::abs(hullLo) + std::abs(hullHi));
    view.turningPoints = TurningPoints(a, {hullLo - widen, hullHi + widen});

    std::vector<double> shown = view.turningPoints;
    for (const FoundRoot& root : roots)
        if (root.im == 0)
            shown.push_back(root.re);
    if (shown.empty())
        for (const FoundRoot& root : roots)
            shown.push_back(root.re);
    if (shown.empty())
        shown.push_back(0);
    const auto [lo, hi] = std::minmax_element(shown.begin(), shown.end());
    if (*hi > *lo) {
        view.x = Around(*lo, *hi, kXMargin);
    } else {
        // One point: as wide as the roots lie from it in the plane, at least one unit.
        double half = 1;
        for (const FoundRoot& root : roots)
            half = std::max(half, std::abs(std::complex(root.re - *lo, root.im)));
        view.x = {*lo - half, *lo + half};
    }

    double coreLo = 0, coreHi = 0;
    for (const double t : view.turningPoints) {
        coreLo = std::min(coreLo, PlotValue(a, t));
        coreHi = std::max(coreHi, PlotValue(a, t));
    }
    double fullLo = coreLo, fullHi = coreHi;
    for (int i = 0; i <= kYProbes; ++i) {
        const double value = PlotValue(a, view.x.lo + view.x.width() * i / kYProbes);
        fullLo = std::min(fullLo, value);
        fullHi = std::max(fullHi, value);
    }
    double yLo = fullLo, yHi = fullHi;
    if (const double core = coreHi - coreLo; core > 0) {
        yLo = std::max(fullLo, coreLo - kCoreReach * core);
        yHi = std::min(fullHi, coreHi + kCoreReach * core);
        view.clipped = yLo > fullLo || yHi < fullHi;
    }
    if (!(yHi > yLo)) {
        yLo -= 1;
        yHi += 1;
    }
    view.y = Around(yLo, yHi, kYMargin);
    return view;
}

PlaneView ChoosePlaneView(std::span<const FoundRoot> roots) {
    double reLo = 0, reHi = 0, imLo = 0, imHi = 0, modulus = 0;
    bool first = true;
    for (const FoundRoot& root : roots) {
        reLo = first ? root.re : std::min(reLo, root.re);
        reHi = first ? root.re : std::max(reHi, root.re);
        imLo = first ? -std::abs(root.im) : std::min(imLo, -std::abs(root.im));
        imHi = first ? std::abs(root.im) : std::max(imHi, std::abs(root.im));
        modulus = std::max(modulus, std::abs(std::complex(root.re, root.im)));
        first = false;
    }
    if (roots.empty() || modulus >= kCircleWhenBeyond) {
        reLo = std::min(reLo, -1.0);
        reHi = std::max(reHi, 1.0);
        imLo = std::min(imLo, -1.0);
        imHi = std::max(imHi, 1.0);
    }
    const double re = (reLo + reHi) / 2, im = (imLo + imHi) / 2;
    double half = std::max(reHi - reLo, imHi - imLo) / 2 * (1 + kPlaneMargin);
    if (!(half > 0))
        half = modulus > 0 ? modulus / 2 : 1;
    return {{re - half, re + half}, {im - half, im + half}};
}

Curve SampleCurve(const Polynomial& a, Interval x, Interval y, int widthPixels, int heightPixels,
                  std::span<const double> keyPoints) {
    if (!(x.width() > 0) || widthPixels <= 0 || heightPixels <= 0)
        return {};
    const int intervals = std::clamp(widthPixels / 2, 32, 1000);
    std::vector<double> xs;
    xs.reserve(intervals + 1 + keyPoints.size());
    for (int i = 0; i <= intervals; ++i)
        xs.push_back(x.lo + x.width() * i / intervals);
    for (const double key : keyPoints)
        if (x.contains(key))
            xs.push_back(key);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());

    Sampler sampler(a, y, y.width() > 0 ? heightPixels / y.width() : 1);
    double x0 = xs.front(), y0 = PlotValue(a, x0);
    sampler.Add(x0, y0);
    for (std::size_t i = 1; i < xs.size(); ++i) {
        const double x1 = xs[i], y1 = PlotValue(a, x1);
        sampler.Refine(x0, y0, x1, y1, 0);
        sampler.Add(x1, y1);
        x0 = x1;
        y0 = y1;
    }
    return sampler.Take();
}

} // namespace valdrex
