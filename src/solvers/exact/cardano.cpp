#include "solvers/exact/cardano.h"

#include "core/checked_math.h"
#include "solvers/exact/cubic.h"
#include "solvers/exact/rounding_slack.h"

#include <cmath>

namespace valdrex {
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

} // namespace valdrex
