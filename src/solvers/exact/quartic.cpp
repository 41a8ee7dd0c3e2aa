#include "solvers/exact/quartic.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "solvers/exact/cubic.h"
#include "solvers/exact/pair_text.h"
#include "solvers/exact/quadratic.h"

#include <cmath>
#include <utility>

namespace valdrex {
namespace {

// Both values of y = x² real: x = ±√|y|, marked imaginary where y < 0.
void AddRealY(SolveContext& ctx, double sqrtDelta) {
    const double F = ctx.w.F;
    auto& rv = ctx.w.RootValues;
    rv[0] = CheckedSqrt(std::fabs(-F / 2 + sqrtDelta / 2));
    rv[1] = -rv[0];
    rv[2] = CheckedSqrt(std::fabs(-F / 2 - sqrtDelta / 2));
    rv[3] = -rv[2];
    for (int k = 1; k <= 4; ++k) {
        const double sigma = k <= 2 ? 1 : -1;
        std::string text = SingleText(rv[k - 1]);
        if (sigma * sqrtDelta - F < 0)
            text += "i";
        ctx.AddRoot(k, text);
    }
}

// y complex with modulus √H: the four roots are ±ρ·(cos θ/2 ± i·sin θ/2).
void AddComplexY(SolveContext& ctx) {
    const double F = ctx.w.F;
    const double H = ctx.w.H;
    const double rho = CheckedSqrt(CheckedSqrt(H));
    const double theta =
        F == 0 ? kPi / 2
               : std::atan(CheckedDiv(CheckedSqrt(4 * H - F * F), -F)) + (Sgn(F) + 1) * kPi / 2;
    const double c = std::cos(theta / 2);
    const double s = std::sin(theta / 2);
    auto& rv = ctx.w.RootValues;
    rv = {rho * c, rho * c, -rho * c, -rho * c};
    for (int k = 1; k <= 4; ++k) {
        std::string text;
        if (c != 0)
            text = SingleText(rv[k - 1]);
        if (c != 0 && k % 2 == 1)
            text += "+";
        else if (k % 2 == 0)
            text += "-";
        text += SingleText(rho * s) + "i";
        ctx.AddRoot(k, text);
    }
}

// x^4 + F·x^2 + H = 0 (ctx.w.E = ctx.w.G = 0) as a quadratic in x^2. `d4` is the discriminant
// a(2)² − 4·a(0)·a(4) of the unnormalised coefficients, whose exact zero decides a double y.
void SolveBiquadratic(SolveContext& ctx, double d4) {
    const double F = ctx.w.F;
    double delta = Finite(F * F - ctx.w.H * 4);
    if (d4 == 0)
        delta = 0;
    if (delta >= 0)
        AddRealY(ctx, CheckedSqrt(delta));
    else
        AddComplexY(ctx);
}

} // namespace

namespace {

using Resolvent = std::array<double, 3>;

// The depressed quartic y^4 + p·y^2 + q·y + r, with x = y − E/4.
struct Depressed {
    double p, q, r;
};

Depressed Depress(const WorkingValues& w) {
    const double E = w.E;
    const double F = w.F;
    const double G = w.G;
    const double H = w.H;
    return {Finite(F - E * 3 * E / 8), Finite(E * E * E / 8 - F * E / 2 + G),
            Finite(E * (-3) * E * E * E / 256 + E * E * F / 16 - G * E / 4 + H)};
}

// The resolvent's roots multiply to q²/64 >= 0, so an odd count of negative roots is impossible.
// A lone negative root within rounding of 0 beside two clearly positive ones is in truth 0
// (q = 0), and the four roots are real; the two-pair rules would read it as negative.
void ClampLoneNegative(Resolvent& y, double slack) {
    for (int k = 0; k < 3; ++k) {
        const double other1 = y[(k + 1) % 3];
        const double other2 = y[(k + 2) % 3];
        if (y[k] < 0 && other1 > slack && other2 > slack)
            y[k] = ClampToZero(y[k], slack);
    }
}

// All resolvent roots non-negative: four real roots ±z1 ± z2 ± z3, signs chosen by q.
void AddFourRealRoots(SolveContext& ctx, const Resolvent& y, double q) {
    const double E = ctx.w.E;
    const double z1 = CheckedSqrt(y[0]);
    const double z2 = CheckedSqrt(y[1]);
    const double z3 = CheckedSqrt(y[2]);
    auto& rv = ctx.w.RootValues;
    if (Sgn(z1 * 8 * z2 * z3) == Sgn(-q))
        rv = {z1 + z2 + z3, z1 - z2 - z3, -z1 - z2 + z3, -z1 + z2 - z3};
    else
        rv = {-z1 - z2 - z3, -z1 + z2 + z3, z1 - z2 + z3, z1 + z2 - z3};
    for (double& v : rv)
        v = v - E / 4;
    for (int k = 1; k <= 4; ++k)
        ctx.AddRoot(k, SingleText(rv[k - 1]));
}

// A resolvent root is 0: two pairs sharing their imaginary or their real part.
void AddPairsWithZeroResolventRoot(SolveContext& ctx, double y1, double y2, double y3) {
    const double E = ctx.w.E;
    if (y1 >= 0)
        std::swap(y2, y1);
    if (y2 == 0)
        std::swap(y3, y2);
    const double z1 = CheckedSqrt(std::fabs(y1));
    if (y2 >= 0) {
        const double z2 = CheckedSqrt(y2);
        auto& rv = ctx.w.RootValues;
        rv = {z2 - E / 4, z2 - E / 4, -z2 - E / 4, -z2 - E / 4};
        AddSinglePair(ctx, 1, rv[0], z1);
        AddSinglePair(ctx, 3, rv[2], z1);
    } else {
        const double z2 = CheckedSqrt(std::fabs(y2));
        AddSinglePair(ctx, 1, -E / 4, std::fabs(z1 - z2));
        AddSinglePair(ctx, 3, -E / 4, z2 + z1);
    }
}

// Some resolvent root negative: two complex pairs.
void AddTwoPairs(SolveContext& ctx, const Resolvent& y, double q) {
    const double E = ctx.w.E;
    double y1 = y[0];
    double y2 = y[1];
    double y3 = y[2];
    if (y3 < 0) {
        if (y1 >= 0)
            std::swap(y3, y1);
        if (y2 >= 0)
            std::swap(y3, y2);
    }
    if (y2 * y1 * y3 == 0) {
        AddPairsWithZeroResolventRoot(ctx, y1, y2, y3);
        return;
    }
    const double z1 = CheckedSqrt(std::fabs(y1));
    const double z2 = CheckedSqrt(std::fabs(y2));
    const double z3 = CheckedSqrt(ClampToZero(y3, ResolventSlack(ctx.w)));
    double w = std::fabs(z1 - z2);
    auto& rv = ctx.w.RootValues;
    rv = {z3 - E / 4, z3 - E / 4, -z3 - E / 4, -z3 - E / 4};
    double v = z2 + z1;
    if (Sgn(z3 * z2 * z1) != Sgn(q / 8))
        std::swap(v, w);
    AddSinglePair(ctx, 1, rv[0], v);
    AddSinglePair(ctx, 3, rv[2], w);
}

// With T > 0 the resolvent's real root Y(1) is never negative and its pair never 0, since
// Y(1)·|pair|² = q²/64, unless T is the rounding error of a zero discriminant and the pair is in
// truth a double real root RZ. Only where the square root of Y(1) or the pair's modulus would
// fail, and the pair lies within rounding of 0, is it taken as that double root.
bool IsRoundedDoubleRoot(double y1, const WorkingValues& w) {
    const double modulusSquared = w.RZ * w.RZ + w.PIZ * w.PIZ;
    const double slack = ResolventSlack(w);
    return modulusSquared == 0 || (y1 < -slack && modulusSquared <= slack * slack);
}

// The resolvent has one real root Y(1) and the pair RZ ± i·PIZ: two real roots and a pair.
void AddRealRootsAndPair(SolveContext& ctx, double y1, double q) {
    const WorkingValues& w = ctx.w;
    const double E = w.E;
    const double z1 = CheckedSqrt(ClampToZero(y1, ResolventSlack(w)));
    const double m = CheckedSqrt(w.RZ * w.RZ + w.PIZ * w.PIZ);
    const double cr = CheckedDiv(w.RZ, m);
    const double sr = CheckedDiv(w.PIZ, m);
    const double theta =
        cr == 0 ? kPi / 2 : (1 - Sgn(cr)) * kPi / 2 + std::atan(CheckedDiv(w.PIZ, w.RZ));
    // a + i·b is the square root of RZ + i·PIZ.
    const double a = CheckedSqrt(m) * std::cos(theta / 2);
    const double b = CheckedSqrt(m) * std::sin(theta / 2);
    const double r1 = a + a + z1 - E / 4;
    const double r2 = z1 - (a + a) - E / 4;
    const double im = std::fabs(b + b);
    if (Sgn((sr * sr + cr * cr) * z1) == Sgn(-q / 8)) {
        ctx.AddRoot(1, SingleText(r1));
        ctx.AddRoot(2, SingleText(r2));
        const double re = -z1 - E / 4;
        const std::string imagText = SingleText(im);
        ctx.AddRoot(3, UpperPairText(re != 0 ? NumberToText(ToSingle(re)) : "", imagText));
        ctx.AddRoot(4, LowerPairText(re != 0 ? SingleText(re) : "", imagText));
    } else {
        ctx.AddRoot(1, SingleText(-r1 - E / 2));
        ctx.AddRoot(2, SingleText(-r2 - E / 2));
        AddSinglePair(ctx, 3, z1 - E / 4, im);
    }
}

// x^4 + E·x^3 + F·x^2 + G·x + H = 0 by Descartes' method, through the resolvent cubic.
void SolveDescartes(SolveContext& ctx) {
    WorkingValues& w = ctx.w;
    const Depressed d = Depress(w);
    w.B = d.p / 2;
    w.C = Finite(d.p * d.p / 16 - d.r / 4);
    w.D = Finite(-d.q * d.q / 64);
    Resolvent y = CardanoRoots(w);
    if (w.T > 0) {
        if (!IsRoundedDoubleRoot(y[0], w)) {
            AddRealRootsAndPair(ctx, y[0], d.q);
            return;
        }
        y = {y[0], w.RZ, w.RZ};
    }
    ClampLoneNegative(y, ResolventSlack(w));
    if (y[0] >= 0 && y[1] >= 0 && y[2] >= 0)
        AddFourRealRoots(ctx, y, d.q);
    else
        AddTwoPairs(ctx, y, d.q);
}

} // namespace

void SolveQuartic(SolveContext& ctx) {
    try {
        Polynomial& a = ctx.a;
        WorkingValues& w = ctx.w;
        if (a[4] < 0) {
            for (int i = 0; i <= 4; ++i)
                a[i] = -a[i];
        }
        const double d4 = Finite(a[2] * a[2] - a[0] * 4 * a[4]);
        w.E = CheckedDiv(a[3], a[4]);
        w.F = CheckedDiv(a[2], a[4]);
        w.G = CheckedDiv(a[1], a[4]);
        w.H = CheckedDiv(a[0], a[4]);
        if (w.E == 0 && w.G == 0) {
            SolveBiquadratic(ctx, d4);
        } else if (w.H == 0 && w.G == 0) {
            // x² is a factor; a failing quadratic still leaves the two zeros to list.
            a[2] = 1;
            a[1] = w.E;
            a[0] = w.F;
            SolveQuadratic(ctx);
            ctx.AddRoot(3, " 0");
            ctx.AddRoot(4, " 0");
        } else if (w.H == 0) {
            a[3] = 1;
            a[2] = w.E;
            a[1] = w.F;
            a[0] = w.G;
            SolveCubic(ctx);
            ctx.AddRoot(4, " 0");
        } else {
            SolveDescartes(ctx);
        }
        ctx.status = "Solutions found";
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(SolverErrorBox(f));
    }
}

} // namespace valdrex
