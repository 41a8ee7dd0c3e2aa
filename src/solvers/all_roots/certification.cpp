// Inclusion and certification: each approximation from the iteration is proved to lie in a
// disc holding exactly one root, by Rouché's theorem applied to the Weierstrass corrections
// (p evaluated in double-double with a bound on its error); the discs are pairwise disjoint, so
// the count is the degree and a disc on the real axis holds a real root. Rational roots and the
// roots of rational quadratic factors are then recognised (a disc can only hold such a root if
// it holds the right whole numbers) and confirmed by exact questions. What this file returns is
// proved: a disc per root, or false.
//
// The bound. With z_1..z_n distinct, the Weierstrass corrections w_i = p(z_i) / (a_n Π_{j≠i}
// (z_i - z_j)) make p(z) = a_n Π(z - z_j) (1 + Σ_j w_j / (z - z_j)). On the circle of radius R
// around z_i - w_i, h(z) = p(z) / (a_n Π_{j≠i}(z - z_j)) differs from g(z) = z - (z_i - w_i) by
// (z - z_i) Σ_{j≠i} w_j / (z - z_j), at most (R + |w_i|) σ with σ = Σ_{j≠i} |w_j| / (|z_i - z_j|
// - |w_i| - R). When that is below R, Rouché's theorem leaves exactly one root in the disc.
// p(z_i) is evaluated in double-double arithmetic, so w_i is right to about u², and R is of the
// order |w_i| σ: far below the rounding of the centre to a double, which dominates the radius.
// Every quantity below is an upper bound (or, for distances, a lower bound) of the true one.
#include "solvers/all_roots/certification.h"

#include "solvers/all_roots/double_double.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace valdrex {
namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;
constexpr double kNearlyReal = 1e-7;
constexpr int kMaxDoubleDigits = 15;

// A disc proved to hold exactly one root: im == 0 exactly for a root proved real; im > 0 for the
// root of a conjugate pair in the upper half-plane, whose partner is the mirrored disc.
struct RootDisc {
    double re = 0, im = 0, radius = 0;
    double reError = 0, imError = 0; // bounds on the error of each part alone
};

struct RootDiscs {
    int count = 0; // real roots plus one per conjugate pair
    std::array<RootDisc, kMaxDegree> discs{};
};

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

// The whole numbers in [centre − radius, centre + radius] (the radius widened for the rounding
// of the centre): none, one (stored in `n`), or more.
enum class Whole { None, One, Many };
Whole WholeIn(double centre, double radius, long& n) {
    radius = radius * (1 + 4 * kUnit) + 4 * kUnit * std::fabs(centre);
    if (!(std::fabs(centre) + radius < 4e18))
        return Whole::Many;
    const double low = std::ceil(centre - radius);
    const double high = std::floor(centre + radius);
    if (low > high)
        return Whole::None;
    if (low < high)
        return Whole::Many;
    n = static_cast<long>(low);
    return Whole::One;
}

struct Item {
    RootDisc disc;
    bool exact = false;
};

class DiscSolver {
  public:
    DiscSolver(double lead, int digits, ExactQuestions* exact, RootSlots& out)
        : lead_(lead), digits_(digits), exact_(exact), out_(out) {}

    // A real disc holds a rational root m/a_n (a_n the leading coefficient) only if a_n·x is the
    // whole number m; that candidate is then checked exactly.
    bool TryRational(Item& item) {
        long m = 0;
        const Whole w = WholeIn(lead_ * item.disc.re, lead_ * item.disc.radius, m);
        if (w != Whole::One)
            return w == Whole::None;
        const Answer a = exact_->IsRationalRoot(m, out_);
        item.exact = a == Answer::Yes;
        return a != Answer::Unknown;
    }

    // Two roots x, y are those of a quadratic factor over the rationals only if a_n·(x + y) and
    // a_n·x·y are whole numbers (Gauss's lemma); the candidate is checked exactly.
    bool TryQuadratic(Item& a, Item* b) {
        double sum, product, sumRadius, productRadius;
        const double ra = a.disc.radius;
        if (b == nullptr) {
            const double modulus = std::sqrt(Norm({a.disc.re, a.disc.im}));
            sum = 2 * a.disc.re;
            product = a.disc.re * a.disc.re + a.disc.im * a.disc.im;
            sumRadius = 2 * ra;
            productRadius = 2 * modulus * ra + ra * ra;
        } else {
            const double rb = b->disc.radius;
            sum = a.disc.re + b->disc.re;
            product = a.disc.re * b->disc.re;
            sumRadius = ra + rb;
            productRadius = std::fabs(a.disc.re) * rb + std::fabs(b->disc.re) * ra + ra * rb;
        }
        long s = 0, q = 0;
        const Whole ws = WholeIn(lead_ * sum, lead_ * sumRadius, s);
        const Whole wq = WholeIn(lead_ * product, lead_ * productRadius, q);
        if (ws == Whole::None || wq == Whole::None)
            return true;
        if (ws == Whole::Many || wq == Whole::Many)
            return false;
        const Answer answer = exact_->IsQuadraticFactor(s, q, out_);
        if (answer == Answer::Yes) {
            a.exact = true;
            if (b != nullptr)
                b->exact = true;
        }
        return answer != Answer::Unknown;
    }

    bool AddNumeric(const Item& item) {
        const RootDisc& d = item.disc;
        if (d.im == 0) {
            FoundRoot& root = out_.Next();
            root.re = d.re;
            root.radius = d.radius;
            return AppendCertifiedDouble(root.text, d.re, d.reError, digits_);
        }
        // The pair re ± im·i, upper root first.
        out_.Reserve(2);
        FoundRoot& upper = out_.Next();
        FoundRoot& lower = out_.Next();
        std::string& text = upper.text;
        if (!AppendCertifiedDouble(text, d.re, d.reError, digits_))
            return false;
        const std::size_t signAt = text.size();
        text += '+';
        if (!AppendCertifiedDouble(text, d.im, d.imError, digits_))
            return false;
        text += 'i';
        lower.text = text;
        lower.text[signAt] = '-';
        upper.re = lower.re = d.re;
        upper.im = d.im;
        lower.im = -d.im;
        upper.radius = lower.radius = d.radius;
        return true;
    }

  private:
    double lead_;
    int digits_;
    ExactQuestions* exact_; // null when no exact forms are wanted
    RootSlots& out_;
};

bool Solve(const DoublePolynomial& p, int digits, ExactQuestions* exact, StopFlag stop,
           RootSlots& out) {
    RootDiscs discs;
    if (!IncludeRoots(p, AberthRoots(p, stop), discs))
        return false;
    std::array<Item, kMaxDegree> items{};
    for (int i = 0; i < discs.count; ++i)
        items[i].disc = discs.discs[i];
    // In the listed order (real roots ascending, then the pairs by real part), so that the roots
    // need no sorting afterwards unless exact ones come first.
    std::sort(items.begin(), items.begin() + discs.count, [](const Item& a, const Item& b) {
        if ((a.disc.im == 0) != (b.disc.im == 0))
            return a.disc.im == 0;
        return a.disc.re != b.disc.re ? a.disc.re < b.disc.re : a.disc.im < b.disc.im;
    });
    DiscSolver solver(p.hi[p.degree], digits, exact, out);
    if (exact != nullptr) {
        for (int i = 0; i < discs.count; ++i)
            if (items[i].disc.im == 0 && !solver.TryRational(items[i]))
                return false;
        for (int i = 0; i < discs.count; ++i) {
            if (items[i].exact)
                continue;
            if (items[i].disc.im != 0) {
                if (!solver.TryQuadratic(items[i], nullptr))
                    return false;
                continue;
            }
            for (int j = i + 1; j < discs.count && !items[i].exact; ++j)
                if (!items[j].exact && items[j].disc.im == 0 &&
                    !solver.TryQuadratic(items[i], &items[j]))
                    return false;
        }
    }
    for (int i = 0; i < discs.count; ++i)
        if (!items[i].exact && !solver.AddNumeric(items[i]))
            return false;
    return true;
}

} // namespace

bool SolveCertified(const DoublePolynomial& p, int digits, ExactQuestions* exact, StopFlag stop,
                    RootSlots& out) {
    return p.degree >= 1 && p.degree <= kMaxDegree && digits <= kMaxDoubleDigits &&
           Solve(p, digits, exact, stop, out);
}

} // namespace valdrex
