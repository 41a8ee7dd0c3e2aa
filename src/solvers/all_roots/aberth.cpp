#include "solvers/all_roots/aberth.h"

#include "solvers/all_roots/closed_form_starts.h"

#include <cmath>
#include <limits>

namespace valdrex {
namespace {

constexpr int kMaxIterations = 80;
// Starts from the formulas settle in one or two sweeps. More mean poor starts, such as two real
// ones for a complex pair, which the iteration could never move off the real axis; the circles
// then start afresh.
constexpr int kFormulaSweeps = 4;
constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;
constexpr double kSettled = 1e-5;

// log2|v| to within about 0.09, enough to place starting points.
double RoughLog2(double v) {
    int exponent = 0;
    const double mantissa = std::frexp(std::fabs(v), &exponent); // in [0.5, 1)
    return exponent - 2 + 2 * mantissa;
}

// The points e^(2πi·k/count) for every count up to the degree, computed once.
struct UnitRoots {
    std::array<std::array<Complex, kMaxDegree>, kMaxDegree + 1> point{};
    UnitRoots() {
        constexpr double kTwoPi = 6.283185307179586;
        for (int count = 1; count <= kMaxDegree; ++count)
            for (int k = 0; k < count; ++k)
                point[count][k] = {std::cos(kTwoPi * k / count), std::sin(kTwoPi * k / count)};
    }
};

// Starting points: for each edge of the upper convex hull of (k, log|a_k|), as many points as
// the edge is long on the circle whose radius that edge predicts, each circle turned a little
// against the others.
RootApproximations StartingPoints(const DoublePolynomial& p) {
    static const UnitRoots roots;
    const int n = p.degree;
    std::array<double, kMaxDegree + 1> logs{};
    std::array<int, kMaxDegree + 1> hull{};
    int size = 0;
    for (int k = 0; k <= n; ++k) {
        if (p.hi[k] == 0)
            continue;
        logs[k] = RoughLog2(p.hi[k]);
        // Pops while the last point lies on or below the chord to the new one.
        while (size >= 2) {
            const int a = hull[size - 2], b = hull[size - 1];
            if ((logs[b] - logs[a]) * (k - a) > (logs[k] - logs[a]) * (b - a))
                break;
            --size;
        }
        hull[size++] = k;
    }
    RootApproximations z{};
    int filled = 0;
    constexpr Complex kTurn{0.7648421872844885, 0.644217687237691}; // e^0.7i
    Complex turn = kTurn;
    for (int e = 0; e + 1 < size; ++e) {
        const int i = hull[e], j = hull[e + 1];
        const double radius = std::exp2((logs[i] - logs[j]) / (j - i));
        for (int m = 0; m < j - i; ++m)
            z[filled + m] = turn * roots.point[j - i][m] * Complex{radius, 0};
        filled += j - i;
        turn = turn * kTurn;
    }
    return z;
}

struct Ratio {
    Complex value; // p(z) / p'(z)
    bool atNoise;  // |p(z)| within the rounding of its evaluation
};

// p(z) = E(z²) + z·O(z²): the even and odd parts run as two Horner chains side by side, which
// halves the chain of dependent operations.
Ratio NewtonRatio(const DoublePolynomial& p, Complex z) {
    const int n = p.degree;
    const Complex w = z * z;
    const double aw = Norm(z);
    const int evenTop = n / 2, oddTop = (n - 1) / 2;
    Complex e{p.hi[2 * evenTop], 0}, de{0, 0};
    double scaleE = std::fabs(p.hi[2 * evenTop]);
    for (int m = evenTop - 1; m >= 0; --m) {
        de = de * w + e;
        e = e * w + Complex{p.hi[2 * m], 0};
        scaleE = scaleE * aw + std::fabs(p.hi[2 * m]);
    }
    Complex o{p.hi[2 * oddTop + 1], 0}, dO{0, 0};
    double scaleO = std::fabs(p.hi[2 * oddTop + 1]);
    for (int m = oddTop - 1; m >= 0; --m) {
        dO = dO * w + o;
        o = o * w + Complex{p.hi[2 * m + 1], 0};
        scaleO = scaleO * aw + std::fabs(p.hi[2 * m + 1]);
    }
    const Complex v = e + z * o;
    const Complex twoZ{2 * z.re, 2 * z.im};
    const Complex d = twoZ * de + o + twoZ * z * dO;
    const double scale = scaleE + std::sqrt(aw) * scaleO;
    const double noise = 4 * (n + 1) * kUnit * scale;
    const bool atNoise = Norm(v) <= noise * noise;
    return {v / d, atNoise};
}

// Gauss–Seidel sweeps until every root has settled or `sweeps` have run. True when all settled;
// false too when a step could not be taken (it is not finite), which leaves its root as it is.
bool Iterate(const DoublePolynomial& p, RootApproximations& z, int sweeps) {
    const int n = p.degree;
    std::array<bool, kMaxDegree> done{};
    int remaining = n;
    bool stepsFinite = true;
    for (int sweep = 0; sweep < sweeps && remaining > 0; ++sweep) {
        for (int i = 0; i < n; ++i) {
            if (done[i])
                continue;
            const Ratio r = NewtonRatio(p, z[i]);
            Complex sum{0, 0};
            for (int j = 0; j < n; ++j)
                if (j != i)
                    sum = sum + Reciprocal(z[i] - z[j]);
            const Complex step = r.value / (Complex{1, 0} - r.value * sum);
            if (!std::isfinite(step.re) || !std::isfinite(step.im)) {
                done[i] = true;
                --remaining;
                stepsFinite = false;
                continue;
            }
            z[i] = z[i] - step;
            // Near a simple root the iteration converges cubically: after a step below
            // kSettled of |z| the approximation is already good to the last bits.
            if (r.atNoise || Norm(step) <= kSettled * kSettled * Norm(z[i])) {
                done[i] = true;
                --remaining;
            }
        }
    }
    return remaining == 0 && stepsFinite;
}

} // namespace

RootApproximations AberthRoots(const DoublePolynomial& p) {
    RootApproximations z;
    if (ClosedFormStarts(p, z) && Iterate(p, z, kFormulaSweeps))
        return z;
    z = StartingPoints(p);
    Iterate(p, z, kMaxIterations);
    return z;
}

} // namespace valdrex
