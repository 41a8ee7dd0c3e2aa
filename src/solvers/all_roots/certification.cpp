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
// order |w_i| σ. The centre z_i − w_i is kept exactly as a double-double, so a well-separated
// root is known to about u² of its size: enough to round almost every part correctly. Every
// quantity below is an upper bound (or, for distances, a lower bound) of the true one.
#include "solvers/all_roots/certification.h"

#include "solvers/all_roots/double_double.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace valdrex {
namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;

// A bound computed in doubles, made safe against the few roundings of its own computation (each
// within u of the value): moved up for an upper bound, down for a lower one.
double RoundedUp(double bound) {
    return bound * (1 + 8 * kUnit);
}
double RoundedDown(double bound) {
    return bound * (1 - 8 * kUnit);
}

constexpr double kNearlyReal = 1e-7;

struct Symmetric {
    int reals = 0, pairs = 0;
    std::array<double, kMaxDegree> x;  // real approximations
    std::array<Complex, kMaxDegree> z; // upper members of the pairs
};

// The approximations made symmetric about the real axis: the nearly real ones on it, and the upper
// ones of the pairs with their mirror images in place of the lower ones, which are only counted
// (the inclusion proves the mirrored discs).
bool MakeSymmetric(int n, const RootApproximations& a, Symmetric& s) {
    int lowers = 0;
    for (int i = 0; i < n; ++i) {
        if (std::fabs(a[i].im) <= kNearlyReal * std::sqrt(Norm(a[i])))
            s.x[s.reals++] = a[i].re;
        else if (a[i].im > 0)
            s.z[s.pairs++] = a[i];
        else
            ++lowers;
    }
    return lowers == s.pairs;
}

} // namespace

BoundedValue EvaluateBounded(const DoublePolynomial& p, Complex z) {
    const int n = p.degree;
    const double az = RoundedUp(std::sqrt(Norm(z)));
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
    // the absolute sum covers them and the coefficients' own representation, and 33 also the
    // sum's own 2 (n + 1) roundings.
    const double rounding = 33 * (n + 1) * kUnit * kUnit * scale;
    return {{re.hi, im.hi}, (std::fabs(re.lo) + std::fabs(im.lo)) + rounding};
}

namespace {

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
        const BoundedValue v = EvaluateBounded(p_, z);
        const double rel = (6 * p_.degree + 12) * kUnit; // products, differences and the division
        const double absDen = std::sqrt(Norm(den)) * (1 - rel);
        const Complex w = v.v / den;
        const double absW = std::sqrt(Norm(w));
        const double bound = RoundedUp((std::sqrt(Norm(v.v)) + v.error) / absDen);
        const double error = RoundedUp(absW * rel + v.error / absDen);
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
        sigma += RoundedUp(all[j].c.bound / gap);
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
    std::array<Point, kMaxDegree> all;
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
            distance[i][j] = distance[j][i] = RoundedDown(std::sqrt(Norm(all[i].z - all[j].z)));
    // The lower member of a pair (after its upper one, im < 0) mirrors the upper one's disc; only
    // its place and radius are read, for the disjointness below.
    std::array<RootDisc, kMaxDegree> discs;
    for (int i = 0; i < n; ++i) {
        if (all[i].z.im < 0) {
            discs[i] = discs[i - 1];
            discs[i].im = -discs[i].im;
            continue;
        }
        const double rouche = RoucheRadius(all, distance, n, i);
        if (rouche < 0)
            return false;
        // The centre z_i − w_i exactly, as a double and the rest.
        const DoubleDouble re = TwoSum(all[i].z.re, -all[i].c.w.re);
        const DoubleDouble im = TwoSum(all[i].z.im, -all[i].c.w.im);
        const double error = RoundedUp(rouche + all[i].c.error);
        const double radius = RoundedUp(error + std::fabs(re.lo) + std::fabs(im.lo));
        if (!std::isfinite(radius) || !std::isfinite(re.hi) || !std::isfinite(im.hi))
            return false;
        discs[i] = {re.hi, im.hi, radius, re.lo, im.lo, error};
    }
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const Complex d{discs[i].re - discs[j].re, discs[i].im - discs[j].im};
            const double apart = discs[i].radius + discs[j].radius;
            if (!(RoundedDown(Norm(d)) > apart * apart))
                return false;
        }
    for (int i = 0; i < n; ++i)
        if (discs[i].im >= 0)
            out.discs[out.count++] = discs[i];
    return true;
}

namespace {

// The whole numbers in [centre − radius, centre + radius] (the radius widened for the rounding
// of the centre): none, one, or more.
enum class Whole { None, One, Many };
struct WholeNumbers {
    Whole count;
    long n{}; // the one, when there is one
};
WholeNumbers WholeIn(double centre, double radius) {
    radius = RoundedUp(radius) + 4 * kUnit * std::fabs(centre);
    if (!(std::fabs(centre) + radius < 4e18))
        return {Whole::Many};
    const double low = std::ceil(centre - radius);
    const double high = std::floor(centre + radius);
    if (low > high)
        return {Whole::None};
    if (low < high)
        return {Whole::Many};
    return {Whole::One, static_cast<long>(low)};
}

// A disc with what became of it: an exact root, or one to print; the key it is listed by; and
// where its root (the upper one of a pair) stands among the roots written.
struct Item {
    RootDisc disc;
    bool real;
    bool exact;
    bool onImaginaryAxis; // an exact pair whose real part is 0
    ShortPart re, im;     // the parts rounded (im zero for a real root)
    std::size_t at;
};

// The parts of a disc's centre rounded for printing and listing; false when not proved.
bool RoundDisc(Item& item, int digits) {
    const RootDisc& d = item.disc;
    return (item.onImaginaryAxis || RoundWithin({d.re, d.reLo}, d.error, digits, item.re)) &&
           (item.real || RoundWithin({d.im, d.imLo}, d.error, digits, item.im));
}

// The listed order of two pairs: real part, then size of imaginary part, as rounded.
int ComparePairs(const Item& a, const Item& b) {
    const auto compare = [](const ShortPart& x, const ShortPart& y) {
        const int sx = x.n == 0 ? 0 : x.negative ? -1 : 1, sy = y.n == 0 ? 0 : y.negative ? -1 : 1;
        if (sx != sy)
            return sx < sy ? -1 : 1;
        if (x.exponent != y.exponent)
            return (x.exponent < y.exponent ? -1 : 1) * sx;
        return (x.n < y.n ? -1 : x.n > y.n ? 1 : 0) * sx;
    };
    const int re = compare(a.re, b.re);
    return re != 0 ? re : compare(a.im, b.im);
}

class DiscSolver {
  public:
    DiscSolver(double lead, ExactQuestions* exact, RootSlots& out)
        : lead_(lead), exact_(exact), out_(out) {}

    // A real disc holds a rational root m/a_n (a_n the leading coefficient) only if a_n·x is the
    // whole number m; that candidate is then checked exactly.
    bool TryRational(Item& item) {
        const WholeNumbers m = WholeIn(lead_ * item.disc.re, lead_ * item.disc.radius);
        if (m.count != Whole::One)
            return m.count == Whole::None;
        item.at = out_.size();
        const Answer a = exact_->IsRationalRoot(m.n, out_);
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
        const WholeNumbers s = WholeIn(lead_ * sum, lead_ * sumRadius);
        const WholeNumbers q = WholeIn(lead_ * product, lead_ * productRadius);
        if (s.count == Whole::None || q.count == Whole::None)
            return true;
        if (s.count == Whole::Many || q.count == Whole::Many)
            return false;
        const std::size_t at = out_.size();
        const Answer answer = exact_->IsQuadraticFactor(s.n, q.n, out_);
        if (answer == Answer::Yes) {
            // The two roots in either order: the upper or lower one of a pair first, the larger
            // or smaller one of two real roots; a is the upper one, or the smaller one.
            const bool swapped = b == nullptr ? out_[at].im < 0 : out_[at].re > out_[at + 1].re;
            a.exact = true;
            a.onImaginaryAxis = b == nullptr && s.n == 0;
            a.at = swapped ? at + 1 : at;
            if (b != nullptr) {
                b->exact = true;
                b->at = swapped ? at : at + 1;
            }
        }
        return answer != Answer::Unknown;
    }

    // The root of a disc printed from its key: a real root, or the pair re ± im·i, upper first.
    void AddNumeric(Item& item) {
        const RootDisc& d = item.disc;
        item.at = out_.size();
        if (d.im == 0) {
            FoundRoot& root = out_.Next();
            root.re = d.re;
            root.radius = d.radius;
            PartBuffer buffer;
            root.text.assign(PartText(item.re, buffer));
            return;
        }
        out_.Reserve(2);
        FoundRoot& upper = out_.Next();
        FoundRoot& lower = out_.Next();
        PartBuffer reBuffer, imBuffer;
        const std::string_view re = PartText(item.re, reBuffer), im = PartText(item.im, imBuffer);
        AppendPairText(upper.text, re, im, true);
        AppendPairText(lower.text, re, im, false);
        upper.re = lower.re = d.re;
        upper.im = d.im;
        lower.im = -d.im;
        upper.radius = lower.radius = d.radius;
    }

  private:
    double lead_;
    ExactQuestions* exact_; // null when no exact forms are wanted
    RootSlots& out_;
};

// Moves the roots written from `first` on into the listed order (a pair's two roots kept
// together); false when two pairs have the same key, whose order would need more digits. Real
// roots are in the order of their disjoint discs, which is that of their keys and, where those
// are equal, of their keys at more digits.
bool ListByKeys(std::array<Item, kMaxDegree>& items, int count, std::size_t first, RootSlots& out,
                std::vector<RootKey>* keys) {
    std::array<Item*, kMaxDegree> order;
    for (int i = 0; i < count; ++i)
        order[i] = &items[i];
    const auto compare = [](const Item* a, const Item* b) {
        if (a->real != b->real)
            return a->real ? -1 : 1;
        if (a->real)
            return a->disc.re < b->disc.re ? -1 : 1;
        return ComparePairs(*a, *b);
    };
    std::sort(order.begin(), order.begin() + count,
              [&](const Item* a, const Item* b) { return compare(a, b) < 0; });
    for (int i = 1; i < count; ++i)
        if (compare(order[i - 1], order[i]) == 0)
            return false;
    if (keys != nullptr)
        for (int i = 0; i < count; ++i)
            keys->push_back({order[i]->real, Widen(order[i]->re), Widen(order[i]->im)});
    // Where each written root is now and which root is at each place, for the swaps.
    std::array<std::size_t, 2 * kMaxDegree> placeOf, rootAt;
    std::iota(placeOf.begin(), placeOf.end(), 0);
    rootAt = placeOf;
    std::size_t next = 0;
    const auto moveTo = [&](std::size_t root) {
        const std::size_t from = placeOf[root];
        if (from != next) {
            std::swap(out[first + next], out[first + from]);
            // The displaced root takes this one's place; the places up to `next` are final and
            // never looked up again.
            const std::size_t displaced = rootAt[next];
            rootAt[from] = displaced;
            placeOf[displaced] = from;
        }
        ++next;
    };
    for (int i = 0; i < count; ++i) {
        const std::size_t root = order[i]->at - first;
        moveTo(root);
        if (!order[i]->real)
            moveTo(root + 1); // the lower root, written right after the upper one
    }
    return true;
}

// The decimal texts the exact answers did not write (those of the roots of quadratic factors, and
// of every root not exact), from the parts rounded for the order, or rounded here for a real
// root of a quadratic factor; false where those are not proved.
bool FillDecimals(std::array<Item, kMaxDegree>& items, int count, int digits, RootSlots& out) {
    for (int i = 0; i < count; ++i) {
        Item& item = items[i];
        if (!out[item.at].reDecimal.empty())
            continue;
        if (item.exact && item.real && !RoundDisc(item, digits))
            return false;
        SetDecimals(out[item.at], item.re, item.im, false);
        if (!item.real) // the lower root, written right after the upper one
            SetDecimals(out[item.at + 1], item.re, item.im, true);
    }
    return true;
}

bool Solve(const DoublePolynomial& p, int digits, int decimalDigits, ExactQuestions* exact,
           StopFlag stop, RootSlots& out, std::vector<RootKey>* keys) {
    RootDiscs discs;
    if (!IncludeRoots(p, AberthRoots(p, stop).z, discs))
        return false;
    std::array<Item, kMaxDegree> items;
    for (int i = 0; i < discs.count; ++i) {
        const RootDisc& d = discs.discs[i];
        // The parts are rounded, and the place set, as the roots are written; zero until then
        // (the imaginary part of a real root stays zero).
        items[i] = {d, d.im == 0, false, false, {}, {}, {}};
    }
    // Real roots ascending, for the pairs of real roots the quadratic questions try.
    std::sort(items.begin(), items.begin() + discs.count, [](const Item& a, const Item& b) {
        if ((a.disc.im == 0) != (b.disc.im == 0))
            return a.disc.im == 0;
        return a.disc.re != b.disc.re ? a.disc.re < b.disc.re : a.disc.im < b.disc.im;
    });
    const std::size_t first = out.size();
    DiscSolver solver(p.hi[p.degree], exact, out);
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
    // Keys for the numeric roots' texts, and for the order of the pairs.
    for (int i = 0; i < discs.count; ++i) {
        Item& item = items[i];
        if ((!item.exact || !item.real) && !RoundDisc(item, digits))
            return false;
        if (!item.exact)
            solver.AddNumeric(item);
    }
    if (decimalDigits > 0 && !FillDecimals(items, discs.count, digits, out))
        return false;
    return ListByKeys(items, discs.count, first, out, keys);
}

} // namespace

bool SolveCertified(const DoublePolynomial& p, int digits, int decimalDigits, ExactQuestions* exact,
                    StopFlag stop, RootSlots& out, std::vector<RootKey>* keys) {
    return digits <= kMaxDoubleDigits && Solve(p, digits, decimalDigits, exact, stop, out, keys);
}

} // namespace valdrex
