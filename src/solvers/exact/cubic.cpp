#include "solvers/exact/cubic.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "solvers/exact/pair_text.h"
#include "solvers/exact/quadratic.h"

#include <algorithm>
#include <cmath>

namespace valdrex {
namespace {

// One real root and the pair RZ ± i·PIZ; the imaginary part is written without a blank.
void AddRootAndPair(SolveContext& ctx, double x1) {
    ctx.AddRoot(1, SingleText(x1));
    const double rz = ctx.w.RZ;
    const std::string realText = rz != 0 ? SingleText(rz) : "";
    const std::string imagText = NumberToText(ToSingle(ctx.w.PIZ));
    ctx.AddRoot(2, UpperPairText(realText, imagText));
    ctx.AddRoot(3, LowerPairText(realText, imagText));
}

} // namespace

double ArcCos(double x) {
    return kPi / 2 - std::atan(CheckedDiv(x, CheckedSqrt(1 - x * x)));
}

double CubeRoot(double x) {
    return Sgn(x) * CheckedPow(std::fabs(x), 1.0 / 3);
}

void SolveCubic(SolveContext& ctx) {
    try {
        Polynomial& a = ctx.a;
        if (a[3] < 0) {
            for (int i = 0; i <= 3; ++i)
                a[i] = -a[i];
        }
        if (a[0] == 0) {
            // x is a factor: the quadratic that is left goes one power down.
            a[0] = a[1];
            a[1] = a[2];
            a[2] = a[3];
            SolveQuadratic(ctx);
            ctx.AddRoot(3, " 0");
        } else {
            WorkingValues& w = ctx.w;
            w.B = CheckedDiv(a[2], a[3]);
            w.C = CheckedDiv(a[1], a[3]);
            w.D = CheckedDiv(a[0], a[3]);
            const auto x = CardanoRoots(w);
            if (w.T <= 0) {
                for (int k = 1; k <= 3; ++k)
                    ctx.AddRoot(k, SingleText(x[k - 1]));
            } else {
                AddRootAndPair(ctx, x[0]);
            }
        }
        ctx.status = "Solutions found";
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(SolverErrorBox(f));
    }
}

namespace {

// ArcCos of the cosine, which at a double root may reach ±1 by rounding: its angle is then 0 or π.
double Angle(double cosine) {
    const double beyond = std::fabs(cosine) - 1;
    if (beyond >= 0 && beyond <= kCosineSlack)
        return cosine > 0 ? 0 : kPi;
    return ArcCos(cosine);
}

// The radicand of 2·PIZ, which is 0 when the pair is in truth a double real root.
double PairRadicand(double B, double C, double x1) {
    const double radicand = (B + B) * x1 + 4 * C + x1 * 3 * x1 - B * B;
    const double terms =
        std::fabs((B + B) * x1) + std::fabs(4 * C) + std::fabs(x1 * 3 * x1) + std::fabs(B * B);
    return ClampToZero(Finite(radicand), SumSlack(terms));
}

} // namespace

std::array<double, 3> CardanoRoots(WorkingValues& w) {
    const double B = w.B;
    const double C = w.C;
    const double D = w.D;
    const double p = Finite(C - B * B / 3);
    const double q = Finite((B + B) * B * B / 27 + D - C * B / 3);
    w.T = Finite(p * 4 * p * p + q * 27 * q);
    std::array<double, 3> x{};
    if (w.T < 0) {
        const double r = CheckedSqrt(-p * p * p / 27);
        const double phi = Angle(CheckedDiv(-q / 2, r));
        const double m = CheckedSqrt(-p / 3);
        for (int k = 1; k <= 3; ++k)
            x[k - 1] = (m + m) * std::cos((2 * k * kPi + phi) / 3) - B / 3;
    } else if (w.T == 0) {
        x[0] = CubeRoot(-q / 2) + CubeRoot(-q / 2) - B / 3;
        x[1] = -CubeRoot(-q / 2) - B / 3;
        x[2] = x[1];
    } else {
        const double s = CheckedSqrt(w.T / 108);
        const double u = CubeRoot(-q / 2 - s);
        const double v = CubeRoot(-q / 2 + s);
        x[0] = Finite(u + v - B / 3);
        w.RZ = Finite(-B / 2 - x[0] / 2);
        w.PIZ = CheckedSqrt(PairRadicand(B, C, x[0])) / 2;
    }
    for (double v : x)
        Finite(v);
    return x;
}

double ClampToZero(double v, double slack) {
    return v < 0 && v >= -slack ? 0 : v;
}

double SumSlack(double termMagnitudes) {
    return 16 * kEpsilon * termMagnitudes;
}

double ResolventSlack(const WorkingValues& w) {
    const double size =
        std::max({std::fabs(w.B), std::sqrt(std::fabs(w.C)), std::cbrt(std::fabs(w.D))});
    return 64 * std::sqrt(kEpsilon) * size;
}

} // namespace valdrex
