// Double-precision iteration: approximations of every root of a polynomial with machine-integer
// coefficients by the Aberth–Ehrlich iteration in doubles (Gauss–Seidel sweeps, the even and
// odd Horner chains side by side), started from the formulas of the cubic and the quartic
// where they give usable points, otherwise on circles whose radii come from the Newton polygon.
// It promises nothing: its approximations go to the inclusion test, which either proves a disc
// around each or sends the equation on to the big-number path. A fault here costs speed, never
// a wrong digit.
#include "solvers/all_roots/iteration.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace valdrex {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

DoublePolynomial ToDoublePolynomial(const long* lowestFirst, int degree) {
    DoublePolynomial d;
    d.degree = degree;
    for (int k = 0; k <= degree; ++k) {
        const long c = lowestFirst[k];
        d.hi[k] = static_cast<double>(c);
        d.lo[k] = static_cast<double>(c - static_cast<long>(d.hi[k]));
    }
    return d;
}

namespace {

constexpr double kHalfSqrt3 = 0.8660254037844386;
// Points closer than this, relative to their size, go back to the general starting points.
constexpr double kApart = 1e-6;
// So do points of sizes further apart than this: the formulas then lose the small roots'
// digits to cancellation, and may give two real points for a complex pair.
constexpr double kSpread = 1e4;

struct Cubic {
    Complex t[3];
};

// The roots of t³ + P·t + Q, the largest real one first.
Cubic DepressedCubic(double P, double Q) {
    const double halfQ = Q / 2, thirdP = P / 3;
    const double D = halfQ * halfQ + thirdP * thirdP * thirdP;
    if (D > 0) {
        // One real root; the cube root of the larger sum avoids cancellation.
        const double a = -std::copysign(std::cbrt(std::fabs(halfQ) + std::sqrt(D)), Q);
        const double b = a != 0 ? -thirdP / a : 0;
        const Complex pair{-(a + b) / 2, kHalfSqrt3 * (a - b)};
        return {{{a + b, 0}, pair, {pair.re, -pair.im}}};
    }
    // Three real roots: 2r·cos(φ/3 − 2πk/3).
    const double r = std::sqrt(-thirdP);
    // Rounding can put the cosine beyond ±1 only when two roots nearly meet; the NaN that acos
    // then gives makes the starts unusable, as two nearly equal starts would be anyway.
    const double third = std::acos(-halfQ / (r * r * r)) / 3;
    const double c = std::cos(third), s = std::sin(third);
    return {
        {{2 * r * c, 0}, {r * (-c + 2 * kHalfSqrt3 * s), 0}, {r * (-c - 2 * kHalfSqrt3 * s), 0}}};
}

// The roots of y² + B·y + C into z[0] and z[1].
void Quadratic(double B, double C, Complex* z) {
    const double disc = B * B - 4 * C;
    if (disc >= 0) {
        const double y = -(B + std::copysign(std::sqrt(disc), B)) / 2;
        z[0] = {y, 0};
        z[1] = {C / y, 0}; // y = 0 only for the double root 0 of y², whose NaN refuses the starts
        return;
    }
    const double im = std::sqrt(-disc) / 2;
    z[0] = {-B / 2, im};
    z[1] = {-B / 2, -im};
}

void CubicStarts(const DoublePolynomial& p, RootApproximations& z) {
    const double b = p.hi[2] / p.hi[3], c = p.hi[1] / p.hi[3], d = p.hi[0] / p.hi[3];
    const double shift = b / 3;
    const Cubic roots = DepressedCubic(c - b * shift, (2 * b * b / 27 - c / 3) * b + d);
    for (int i = 0; i < 3; ++i)
        z[i] = {roots.t[i].re - shift, roots.t[i].im};
}

// Ferrari: with x = y − b/4 the quartic is y⁴ + p·y² + q·y + r, and for a root m > 0 of the
// resolvent m³ + p·m² + (p²/4 − r)·m − q²/8 it splits into y² ∓ √(2m)·y + p/2 + m ± q/(2√(2m)).
bool QuarticStarts(const DoublePolynomial& poly, RootApproximations& z) {
    const double a = poly.hi[4];
    const double b = poly.hi[3] / a, c = poly.hi[2] / a, d = poly.hi[1] / a, e = poly.hi[0] / a;
    const double shift = b / 4, bb = b * b;
    const double p = c - 3 * bb / 8;
    const double q = d - b * c / 2 + bb * b / 8;
    const double r = e - b * d / 4 + bb * c / 16 - 3 * bb * bb / 256;
    if (q == 0) {
        Complex w[2];
        Quadratic(p, r, w); // roots in y²
        for (int k = 0; k < 2; ++k) {
            // The principal square root of w[k], and its negative.
            const double modulus = std::sqrt(Norm(w[k]));
            const double re = std::sqrt((modulus + w[k].re) / 2);
            const double im = std::copysign(std::sqrt((modulus - w[k].re) / 2), w[k].im);
            z[2 * k] = {re - shift, im};
            z[2 * k + 1] = {-re - shift, -im};
        }
        return true;
    }
    const double P = -p * p / 12 - r;
    const double Q = (-p * p / 108 + r / 3) * p - q * q / 8;
    const double m = DepressedCubic(P, Q).t[0].re - p / 3;
    if (!(m > 0))
        return false;
    const double root2m = std::sqrt(2 * m);
    const double offset = q / (2 * root2m);
    Quadratic(-root2m, p / 2 + m + offset, &z[0]);
    Quadratic(root2m, p / 2 + m - offset, &z[2]);
    for (int i = 0; i < 4; ++i)
        z[i].re -= shift;
    return true;
}

// Finite, not nearly equal, and of like size.
bool Usable(const RootApproximations& z, int n) {
    double smallest = INFINITY, largest = -INFINITY;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(z[i].re) || !std::isfinite(z[i].im))
            return false;
        for (int j = 0; j < i; ++j)
            if (!(Norm(z[i] - z[j]) > kApart * kApart * std::fmax(Norm(z[i]), Norm(z[j]))))
                return false;
        smallest = std::fmin(smallest, Norm(z[i]));
        largest = std::fmax(largest, Norm(z[i]));
    }
    return largest <= kSpread * kSpread * smallest;
}

} // namespace

bool ClosedFormStarts(const DoublePolynomial& p, RootApproximations& z) {
    if (p.degree == 3)
        CubicStarts(p, z);
    else if (p.degree != 4 || !QuarticStarts(p, z))
        return false;
    return Usable(z, p.degree);
}

int UpperHull(std::span<const double> logs, std::span<int> hull) {
    int size = 0;
    for (int k = 0; k < static_cast<int>(logs.size()); ++k) {
        if (logs[k] == -kInfinity)
            continue;
        // Pops while the last vertex lies on or below the chord to the new point.
        while (size >= 2) {
            const int a = hull[size - 2], b = hull[size - 1];
            if ((logs[b] - logs[a]) * (k - a) > (logs[k] - logs[a]) * (b - a))
                break;
            --size;
        }
        hull[size++] = k;
    }
    return size;
}

namespace {

constexpr int kMaxIterations = 80;
// Starts from the formulas settle in one or two sweeps. More mean poor starts, such as two real
// ones for a complex pair, which the iteration could never move off the real axis; the circles
// then start afresh.
constexpr int kFormulaSweeps = 4;
constexpr double kSettled = 1e-5;

// log2|v| + 2 to within about 0.09, enough to place starting points, which take only
// differences of these.
double RoughLog2(double v) {
    int exponent;
    const double mantissa = std::frexp(std::fabs(v), &exponent); // in [0.5, 1)
    return exponent + 2 * mantissa;
}

// The points e^(2πi·k/count) for every count up to the degree, computed once.
struct UnitRoots {
    std::array<std::array<Complex, kMaxDegree>, kMaxDegree + 1> point{};
    UnitRoots() {
        constexpr double kTwoPi = 2 * std::numbers::pi;
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
    for (int k = 0; k <= n; ++k)
        logs[k] = p.hi[k] == 0 ? -kInfinity : RoughLog2(p.hi[k]);
    std::array<int, kMaxDegree + 1> hull{};
    const int size = UpperHull(std::span(logs).first(n + 1), hull);
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

// p(z) / p'(z). p(z) = E(z²) + z·O(z²): the even and odd parts run as two Horner chains side by
// side, which halves the chain of dependent operations.
Complex NewtonRatio(const DoublePolynomial& p, Complex z) {
    const int n = p.degree;
    const Complex w = z * z;
    const int evenTop = n / 2, oddTop = (n - 1) / 2;
    Complex e{p.hi[2 * evenTop], 0}, de{0, 0};
    for (int m = evenTop - 1; m >= 0; --m) {
        de = de * w + e;
        e = e * w + Complex{p.hi[2 * m], 0};
    }
    Complex o{p.hi[2 * oddTop + 1], 0}, dO{0, 0};
    for (int m = oddTop - 1; m >= 0; --m) {
        dO = dO * w + o;
        o = o * w + Complex{p.hi[2 * m + 1], 0};
    }
    const Complex v = e + z * o;
    const Complex twoZ{2 * z.re, 2 * z.im};
    return v / (twoZ * de + o + twoZ * z * dO);
}

// Gauss–Seidel sweeps until every root has settled or `sweeps` have run. True when all settled;
// false too when a step could not be taken (it is not finite), which leaves its root as it is.
bool Iterate(const DoublePolynomial& p, RootApproximations& z, int sweeps, int& steps) {
    const int n = p.degree;
    std::array<bool, kMaxDegree> done{};
    int remaining = n;
    bool stepsFinite = true;
    for (int sweep = 0; sweep < sweeps && remaining > 0; ++sweep) {
        for (int i = 0; i < n; ++i) {
            if (done[i])
                continue;
            const Complex ratio = NewtonRatio(p, z[i]);
            ++steps;
            Complex sum{0, 0};
            for (int j = 0; j < n; ++j)
                if (j != i)
                    sum = sum + Reciprocal(z[i] - z[j]);
            const Complex step = ratio / (Complex{1, 0} - ratio * sum);
            if (!std::isfinite(step.re) || !std::isfinite(step.im)) {
                done[i] = true;
                --remaining;
                stepsFinite = false;
                continue;
            }
            z[i] = z[i] - step;
            // Near a simple root the iteration converges cubically: after a step below
            // kSettled of |z| the approximation is already good to the last bits. A root whose
            // steps stay above that (a multiple or ill-conditioned one) runs to the last sweep,
            // and the inclusion decides.
            if (Norm(step) <= kSettled * kSettled * Norm(z[i])) {
                done[i] = true;
                --remaining;
            }
        }
    }
    return remaining == 0 && stepsFinite;
}

} // namespace

AberthApproximations AberthRoots(const DoublePolynomial& p, StopFlag stop) {
    AberthApproximations a{{}, 0};
    // The flag is read between the runs of the iteration: a check in the sweeps' loop cost 7% of
    // the loop's instructions, and 80 sweeps take well under a millisecond.
    ThrowIfStopped(stop);
    if (ClosedFormStarts(p, a.z) && Iterate(p, a.z, kFormulaSweeps, a.steps))
        return a;
    ThrowIfStopped(stop);
    a.z = StartingPoints(p);
    Iterate(p, a.z, kMaxIterations, a.steps);
    ThrowIfStopped(stop);
    return a;
}

} // namespace valdrex
