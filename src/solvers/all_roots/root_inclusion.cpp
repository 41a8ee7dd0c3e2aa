#include "solvers/all_roots/root_inclusion.h"

#include "solvers/all_roots/double_double.h"

#include <cmath>
#include <limits>

// The bound. With z_1..z_n distinct, the Weierstrass corrections w_i = p(z_i) / (a_n Π_{j≠i}
// (z_i - z_j)) make p(z) = a_n Π(z - z_j) (1 + Σ_j w_j / (z - z_j)). On the circle of radius R
// around z_i - w_i, h(z) = p(z) / (a_n Π_{j≠i}(z - z_j)) differs from g(z) = z - (z_i - w_i) by
// (z - z_i) Σ_{j≠i} w_j / (z - z_j), at most (R + |w_i|) σ with σ = Σ_{j≠i} |w_j| / (|z_i - z_j|
// - |w_i| - R). When that is below R, Rouché's theorem leaves exactly one root in the disc.
// p(z_i) is evaluated in double-double arithmetic, so w_i is right to about u², and R is of the
// order |w_i| σ: far below the rounding of the centre to a double, which dominates the radius.
// Every quantity below is an upper bound (or, for distances, a lower bound) of the true one.

namespace valdrex {
namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;
constexpr double kNearlyReal = 1e-7;

struct Symmetric {
    int reals = 0, pairs = 0;
    std::array<double, kMaxDegree> x{};  // real approximations
    std::array<Complex, kMaxDegree> z{}; // upper members of the pairs
};

bool MakeSymmetric(int n, const RootApproximations& a, Symmetric& s) {
    std::array<Complex, kMaxDegree> lower{};
    int lowers = 0;
    for (int i = 0; i < n; ++i) {
        if (std::fabs(a[i].im) <= kNearlyReal * std::sqrt(Norm(a[i])))
            s.x[s.reals++] = a[i].re;
        else if (a[i].im > 0)
            s.z[s.pairs++] = a[i];
        else
            lower[lowers++] = a[i];
    }
    if (lowers != s.pairs)
        return false;
    for (int i = 0; i < s.pairs; ++i) {
        int best = i;
        for (int j = i + 1; j < lowers; ++j)
            if (Norm(s.z[i] - Complex{lower[j].re, -lower[j].im}) <
                Norm(s.z[i] - Complex{lower[best].re, -lower[best].im}))
                best = j;
        std::swap(lower[i], lower[best]);
        s.z[i] = {(s.z[i].re + lower[i].re) / 2, (s.z[i].im - lower[i].im) / 2};
    }
    return true;
}

// p at a point, in double-double, and a bound on the error of that value.
struct Value {
    Complex v;    // the value rounded to doubles
    double error; // bound on |p(z) - v|
};

Value Evaluate(const DoublePolynomial& p, Complex z) {
    const int n = p.degree;
    const double az = std::sqrt(Norm(z)) * (1 + 2 * kUnit);
    double scale = std::fabs(p.hi[n]);
    DoubleDouble re{p.hi[n], p.lo[n]};
    DoubleDouble im{};
    if (z.im == 0) {
        for (int k = n - 1; k >= 0; --k) {
            re = re * z.re + DoubleDouble{p.hi[k], p.lo[k]};
            scale = scale * az + std::fabs(p.hi[k]);
        }
    } else {
        for (int k = n - 1; k >= 0; --k) {
            const DoubleDouble nextRe = re * z.re + -(im * z.im) + DoubleDouble{p.hi[k], p.lo[k]};
            im = re * z.im + im * z.re;
            re = nextRe;
            scale = scale * az + std::fabs(p.hi[k]);
        }
    }
    // Every double-double step errs by a few u² of the magnitudes it combines; 32 (n + 1) u² of
    // the absolute sum covers them, the coefficients' own representation and the sum's rounding.
    const double rounding = 32 * (n + 1) * kUnit * kUnit * scale * (1 + 4 * (n + 1) * kUnit);
    return {{re.hi, im.hi}, (std::fabs(re.lo) + std::fabs(im.lo)) + rounding};
}

struct Correction {
    Complex w;    // the computed correction
    double bound; // upper bound on |w_i|
    double error; // upper bound on |computed w - w_i|
};

class Includer {
  public:
    Includer(const DoublePolynomial& p, const Symmetric& s) : p_(p), s_(s) {}

    Correction Correct(Complex z, int skipReal, int skipPair) const {
        Complex den{p_.hi[p_.degree], 0};
        for (int j = 0; j < s_.reals; ++j)
            if (j != skipReal)
                den = den * (z - Complex{s_.x[j], 0});
        for (int j = 0; j < s_.pairs; ++j) {
            if (j == skipPair) {
                den = den * Complex{0, 2 * z.im};
                continue;
            }
            const Complex d = z - s_.z[j];
            const Complex e = z - Complex{s_.z[j].re, -s_.z[j].im};
            den = den * (d * e);
        }
        const Value v = Evaluate(p_, z);
        const double rel = (6 * p_.degree + 12) * kUnit; // products, differences and the division
        const double absDen = std::sqrt(Norm(den)) * (1 - rel);
        const Complex w = v.v / den;
        const double absW = std::sqrt(Norm(w));
        const double bound = (std::sqrt(Norm(v.v)) + v.error) / absDen * (1 + 4 * kUnit);
        const double error = (absW * rel + v.error / absDen) * (1 + 4 * kUnit);
        return {w, bound, error};
    }

  private:
    const DoublePolynomial& p_;
    const Symmetric& s_;
};

struct Point {
    Complex z;
    Correction c;
};

using Distances = std::array<std::array<double, kMaxDegree>, kMaxDegree>;

// The radius R of Rouché's disc around z_i - w_i, or a negative value when the bound fails.
// `distance` holds lower bounds on |z_i - z_j|.
double RoucheRadius(const std::array<Point, kMaxDegree>& all, const Distances& distance, int n,
                    int i) {
    const double wi = all[i].c.bound;
    double sigma = 0;
    for (int j = 0; j < n; ++j) {
        if (j == i)
            continue;
        const double gap = distance[i][j] - 2 * wi;
        if (!(gap > 0))
            return -1;
        sigma += all[j].c.bound / gap * (1 + 4 * kUnit);
    }
    if (!(sigma < 0.25))
        return -1;
    return wi * sigma / (1 - sigma) * (1 + 1e-6) + std::numeric_limits<double>::min();
}

} // namespace

bool IncludeRoots(const DoublePolynomial& p, const RootApproximations& approx, RootDiscs& out) {
    const int n = p.degree;
    Symmetric s;
    if (!MakeSymmetric(n, approx, s))
        return false;
    const Includer includer(p, s);
    std::array<Point, kMaxDegree> all{};
    int count = 0;
    for (int i = 0; i < s.reals; ++i) {
        const Complex z{s.x[i], 0};
        all[count++] = {z, includer.Correct(z, i, -1)};
    }
    for (int i = 0; i < s.pairs; ++i) {
        const Correction c = includer.Correct(s.z[i], -1, i);
        all[count++] = {s.z[i], c};
        all[count++] = {{s.z[i].re, -s.z[i].im}, {{c.w.re, -c.w.im}, c.bound, c.error}};
    }
    Distances distance; // only the pairs of the n points are written and read
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j)
            distance[i][j] = distance[j][i] =
                std::sqrt(Norm(all[i].z - all[j].z)) * (1 - 4 * kUnit);
    // The lower member of a pair (after its upper one, im < 0) mirrors the upper one's disc.
    std::array<RootDisc, kMaxDegree> discs{};
    for (int i = 0; i < n; ++i) {
        if (all[i].z.im < 0) {
            discs[i] = discs[i - 1];
            discs[i].im = -discs[i].im;
            continue;
        }
        const double rouche = RoucheRadius(all, distance, n, i);
        if (rouche < 0)
            return false;
        const Complex centre = all[i].z - all[i].c.w;
        // Each part of the centre is rounded on its own.
        const double common = (rouche + all[i].c.error) * (1 + 8 * kUnit);
        const double reError = common + kUnit * std::fabs(centre.re) * (1 + 8 * kUnit);
        const double imError = common + kUnit * std::fabs(centre.im) * (1 + 8 * kUnit);
        const double radius = reError + imError;
        if (!std::isfinite(radius) || !std::isfinite(centre.re) || !std::isfinite(centre.im))
            return false;
        discs[i] = {centre.re, centre.im, radius, reError, imError};
    }
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const Complex d{discs[i].re - discs[j].re, discs[i].im - discs[j].im};
            const double apart = discs[i].radius + discs[j].radius;
            if (!(Norm(d) * (1 - 8 * kUnit) > apart * apart))
                return false;
        }
    out.count = 0;
    for (int i = 0; i < n; ++i)
        if (discs[i].im >= 0)
            out.discs[out.count++] = discs[i];
    return true;
}

} // namespace valdrex
