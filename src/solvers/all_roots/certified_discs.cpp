#include "solvers/all_roots/certified_discs.h"

#include "solvers/all_roots/aberth.h"
#include "solvers/all_roots/decimal_text.h"
#include "solvers/all_roots/root_inclusion.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace valdrex {
namespace {

constexpr double kUnit = std::numeric_limits<double>::epsilon() / 2;
constexpr int kMaxDoubleDigits = 15;

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

bool Solve(const DoublePolynomial& p, int digits, ExactQuestions* exact, RootSlots& out) {
    RootDiscs discs;
    if (!IncludeRoots(p, AberthRoots(p), discs))
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

bool SolveCertified(const DoublePolynomial& p, int digits, ExactQuestions* exact, RootSlots& out) {
    return p.degree >= 1 && p.degree <= kMaxDegree && digits <= kMaxDoubleDigits &&
           Solve(p, digits, exact, out);
}

} // namespace valdrex
