#include "solvers/all_roots/aberth.h"

#include <cmath>
#include <limits>

namespace valdrex {
namespace {

constexpr int kMaxIterations = 80;
constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;

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

Ratio NewtonRatio(const DoublePolynomial& p, Complex z) {
    const int n = p.degree;
    Complex v{p.hi[n], 0};
    Complex d{0, 0};
    double scale = std::fabs(p.hi[n]);
    const double az = std::sqrt(Norm(z));
    for (int k = n - 1; k >= 0; --k) {
        d = d * z + v;
        v = v * z + Complex{p.hi[k], 0};
        scale = scale * az + std::fabs(p.hi[k]);
    }
    const bool atNoise = std::sqrt(Norm(v)) <= 4 * (n + 1) * kUnit * scale;
    return {v / d, atNoise};
}

} // namespace

RootApproximations AberthRoots(const DoublePolynomial& p) {
    const int n = p.degree;
    RootApproximations z = StartingPoints(p);
    std::array<bool, kMaxDegree> done{};
    int remaining = n;
    for (int iteration = 0; iteration < kMaxIterations && remaining > 0; ++iteration) {
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
                continue;
            }
            z[i] = z[i] - step;
            if (r.atNoise || Norm(step) <= 16 * kUnit * kUnit * Norm(z[i])) {
                done[i] = true;
                --remaining;
            }
        }
    }
    return z;
}

} // namespace valdrex
