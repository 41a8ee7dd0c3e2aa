#include "solvers/exact/quadratic_symbolic.h"

#include "core/checked_math.h"
#include "core/equation_text.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/root_text.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace valdrex {
namespace {

// The largest bound a 16-bit signed loop counter can scan without overflowing on its last step.
constexpr double kMaxScanBound = 32766;

bool IsWhole(double v) {
    return std::floor(v) == v;
}

using AppendNumber = void (*)(std::string&, double);

// NumberToStr without its leading blank.
void AppendUnblanked(std::string& text, double v) {
    const std::size_t at = text.size();
    AppendNumberToStr(text, v);
    if (text[at] == ' ')
        text.erase(at, 1);
}

// A number's text as `append` writes it, or nothing when `omitted`.
std::string TextOf(double v, AppendNumber append, bool omitted = false) {
    std::string text;
    if (!omitted)
        append(text, v);
    return text;
}

// The fraction n/den as "n", or "n/den" when den is not 1, each number written by `append`.
void AppendFraction(std::string& text, double n, double den, AppendNumber append) {
    append(text, n);
    if (den != 1) {
        text += '/';
        append(text, den);
    }
}

// Roots 1 and 2: the root with the "+" at `signAt`, then the same with a "-" there.
void AddSignedPair(SolveContext& ctx, const QuadraticRootParts& parts) {
    const std::size_t signAt = WriteQuadraticRoot(ctx.draft, parts);
    ctx.AddRoot(1, ctx.draft);
    ctx.draft[signAt] = '-';
    ctx.AddRoot(2, ctx.draft);
}

// A complex pair's real part −a(1)/D, reduced and left out when 0: numerator and denominator.
std::pair<std::string, std::string> PairRealPart(const SolveContext& ctx) {
    const double D = ctx.w.D;
    const double a1 = ctx.a[1];
    const double g = Gcd(a1, D);
    const double re = CheckedDiv(-a1, g);
    const double den = CheckedDiv(D, g);
    return {TextOf(re, AppendNumberToText, re == 0),
            TextOf(den, AppendNumberToText, re == 0 || den == 1)};
}

// Δ < 0 and √(−Δ) not whole: the imaginary part keeps a square root.
void AddIrrationalPair(SolveContext& ctx, double delta) {
    const auto [re, reDen] = PairRealPart(ctx);
    double& D = ctx.w.D;
    const SquareFactor sf = ExtractSquareFactor(-delta);
    const double g2 = Gcd(D, sf.factor);
    const double k = CheckedDiv(sf.factor, g2);
    D = CheckedDiv(D, g2);
    AddSignedPair(ctx,
                  {re, reDen, true, TextOf(k, AppendUnblanked, k == 1),
                   TextOf(sf.radicand, AppendUnblanked), TextOf(D, AppendNumberToText, D == 1)});
}

// Δ < 0 and √(−Δ) whole: a rational imaginary part.
void AddRationalPair(SolveContext& ctx, double delta) {
    const auto [re, reDen] = PairRealPart(ctx);
    const double D = ctx.w.D;
    double s = CheckedSqrt(-delta);
    const double g3 = Gcd(D, s);
    s = CheckedDiv(s, g3);
    const double d2 = CheckedDiv(D, g3);
    AddSignedPair(ctx, {re, reDen, true, TextOf(s, AppendNumberToText, s == 1), "",
                        TextOf(d2, AppendNumberToText, d2 == 1)});
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
    AddSignedPair(ctx, {TextOf(-a1, AppendUnblanked, a1 == 0),
                        TextOf(den, AppendUnblanked, a1 == 0 || den == 1), false,
                        TextOf(k, AppendUnblanked, k == 1), TextOf(sf.radicand, AppendUnblanked),
                        TextOf(den2, AppendNumberToText, den2 == 1)});
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
    std::string& text = ctx.draft;
    text.clear();
    AppendFraction(text, r1, den1, AppendNumberToStr);
    ctx.AddRoot(1, text);
    text.clear();
    AppendFraction(text, r2, den2, AppendNumberToStr);
    ctx.AddRoot(2, text);
}

// Takes every p² out of the radicand; with p fixed, the remainders need no division.
template <std::uint32_t p> void TakeOutSquares(std::uint32_t& radicand, std::uint32_t& k) {
    while (radicand % (p * p) == 0) {
        radicand /= p * p;
        k *= p;
    }
}

// The scan on a whole radicand below 32767², in integers. There i² divides R exactly when R/i/i
// is whole in Doubles, so the factors taken out are the same. Only primes can take one out (a
// composite i needs the square of a smaller prime, already gone), so the small ones are tried
// first and then only odd i, until i² exceeds what is left.
SquareFactor ExtractWholeSquareFactor(std::uint32_t radicand) {
    std::uint32_t k = 1;
    if (radicand == 0)
        return {0, 1}; // every square divides 0, but the scan takes none out
    TakeOutSquares<2>(radicand, k);
    TakeOutSquares<3>(radicand, k);
    TakeOutSquares<5>(radicand, k);
    TakeOutSquares<7>(radicand, k);
    TakeOutSquares<11>(radicand, k);
    TakeOutSquares<13>(radicand, k);
    TakeOutSquares<17>(radicand, k);
    TakeOutSquares<19>(radicand, k);
    TakeOutSquares<23>(radicand, k);
    TakeOutSquares<29>(radicand, k);
    TakeOutSquares<31>(radicand, k);
    for (std::uint32_t i = 37; i * i <= radicand; i += 2) {
        while (radicand % (i * i) == 0) {
            radicand /= i * i;
            k *= i;
        }
    }
    return {static_cast<double>(radicand), static_cast<double>(k)};
}

} // namespace

SquareFactor ExtractSquareFactor(double radicand) {
    double k = 1;
    const double bound = std::floor(CheckedSqrt(radicand));
    if (bound > kMaxScanBound)
        FailOverflow();
    if (IsWhole(radicand))
        return ExtractWholeSquareFactor(static_cast<std::uint32_t>(radicand));
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
