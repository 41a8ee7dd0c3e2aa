#include "solvers/exact/quadratic_symbolic.h"

#include "core/checked_math.h"
#include "core/equation_text.h"
#include "core/failure.h"
#include "core/integer_math.h"
#include "core/number_text.h"

#include <cmath>
#include <string>

namespace valdrex {
namespace {

// The largest bound a 16-bit signed loop counter can scan without overflowing on its last step.
constexpr double kMaxScanBound = 32766;

bool IsWhole(double v) {
    return std::floor(v) == v;
}

std::string WithoutLeadingBlank(std::string text) {
    if (!text.empty() && text.front() == ' ')
        text.erase(0, 1);
    return text;
}

// The fraction n/den as "n", or "n/den" when den is not 1, each number written by `write`.
template <typename Write> std::string FractionText(double n, double den, Write write) {
    std::string text = write(n);
    if (den != 1)
        text += "/" + write(den);
    return text;
}

// The two number texts as plain functions, to pick one for FractionText.
std::string AsText(double v) {
    return NumberToText(v);
}
std::string AsStr(double v) {
    return NumberToStr(v);
}

// Δ < 0 and √(−Δ) not whole: the imaginary part keeps a square root.
void AddIrrationalPair(SolveContext& ctx, double delta) {
    double& D = ctx.w.D;
    const double a1 = ctx.a[1];
    const double g = Gcd(a1, D);
    const double re = CheckedDiv(-a1, g);
    const double den = CheckedDiv(D, g);
    const SquareFactor sf = ExtractSquareFactor(-delta);
    const std::string radicand = WithoutLeadingBlank(NumberToStr(sf.radicand));
    const double g2 = Gcd(D, sf.factor);
    const double k = CheckedDiv(sf.factor, g2);
    D = CheckedDiv(D, g2);
    for (int j = 1; j <= 2; ++j) {
        std::string text = re != 0 ? FractionText(re, den, AsText) : "";
        text += j == 1 ? "+ " : "- ";
        if (k != 1)
            text += WithoutLeadingBlank(NumberToStr(k));
        text += "i" + std::string(kMiddleDot) + "Sqr(" + radicand + ")";
        if (D != 1)
            text += " /" + NumberToText(D);
        ctx.AddRoot(j, text);
    }
}

// Δ < 0 and √(−Δ) whole: a rational imaginary part.
void AddRationalPair(SolveContext& ctx, double delta) {
    const double D = ctx.w.D;
    const double a1 = ctx.a[1];
    const double g = Gcd(a1, D);
    const double re = CheckedDiv(-a1, g);
    const double den = CheckedDiv(D, g);
    double s = CheckedSqrt(-delta);
    const double g3 = Gcd(D, s);
    s = CheckedDiv(s, g3);
    const double d2 = CheckedDiv(D, g3);
    for (int j = 1; j <= 2; ++j) {
        std::string text = re != 0 ? FractionText(re, den, AsText) : "";
        text += j == 1 ? "+" : "-";
        if (s != 1)
            text += NumberToText(s);
        text += "i";
        if (d2 != 1)
            text += " /" + NumberToText(d2);
        ctx.AddRoot(j, text);
    }
}

// Δ >= 0 with irrational roots: a(1) is reduced in the working polynomial itself.
void AddIrrationalRoots(SolveContext& ctx, double delta) {
    const double D = ctx.w.D;
    double& a1 = ctx.a[1];
    const double g = Gcd(a1, D);
    a1 = CheckedDiv(a1, g);
    const double den = CheckedDiv(D, g);
    const SquareFactor sf = ExtractSquareFactor(delta);
    const double g2 = Gcd(sf.factor, D);
    const double k = CheckedDiv(sf.factor, g2);
    const double den2 = CheckedDiv(D, g2);
    const std::string radicand = WithoutLeadingBlank(NumberToStr(sf.radicand));
    const std::string factor = WithoutLeadingBlank(NumberToStr(k));
    for (int j = 1; j <= 2; ++j) {
        std::string text = a1 != 0 ? FractionText(-a1, den, AsStr) : "";
        text += j == 1 ? "+ " : "- ";
        if (k != 1)
            text += factor + std::string(kMiddleDot);
        text += "Sqr(" + radicand + ")";
        if (den2 != 1)
            text += " /" + NumberToText(den2);
        ctx.AddRoot(j, text);
    }
}

// Δ >= 0 with rational roots, the larger first.
void AddRationalRoots(SolveContext& ctx, double delta) {
    const double D = ctx.w.D;
    const double a1 = ctx.a[1];
    double r1 = Finite(-a1 + CheckedSqrt(delta));
    double r2 = Finite(-a1 - CheckedSqrt(delta));
    const double g1 = Gcd(r1, D);
    const double g2 = Gcd(r2, D);
    r1 = CheckedDiv(r1, g1);
    r2 = CheckedDiv(r2, g2);
    const double den1 = CheckedDiv(D, g1);
    const double den2 = CheckedDiv(D, g2);
    ctx.AddRoot(1, FractionText(r1, den1, AsStr));
    ctx.AddRoot(2, FractionText(r2, den2, AsStr));
}

} // namespace

SquareFactor ExtractSquareFactor(double radicand) {
    double k = 1;
    const double bound = std::floor(CheckedSqrt(radicand));
    if (bound > kMaxScanBound)
        FailOverflow();
    for (int i = 2; i <= bound; ++i) {
        while (IsWhole(radicand / i / i)) {
            radicand = radicand / i / i;
            k = k * i;
        }
    }
    return {radicand, k};
}

void AddSymbolicRoots(SolveContext& ctx, double delta) {
    ctx.w.D = Finite(ctx.a[2] + ctx.a[2]);
    if (delta < 0) {
        if (IsWhole(CheckedSqrt(-delta)))
            AddRationalPair(ctx, delta);
        else
            AddIrrationalPair(ctx, delta);
    } else if (IsWhole(Finite(-ctx.a[1] + CheckedSqrt(delta)))) {
        AddRationalRoots(ctx, delta);
    } else {
        AddIrrationalRoots(ctx, delta);
    }
}

} // namespace valdrex
