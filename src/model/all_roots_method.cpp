#include "model/all_roots_method.h"

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/working_polynomial.h"
#include "solvers/all_roots/all_roots.h"
#include "solvers/exact/exact_solver.h"

#include <charconv>

namespace valdrex {
namespace {

constexpr int kDefaultDigits = 15;

int DigitsOf(const std::string& text) {
    int digits = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), digits);
    if (error != std::errc{} || end != text.data() + text.size() || digits < 1 || digits > 30)
        return kDefaultDigits;
    return digits;
}

bool NonZeroText(const std::string& text) {
    try {
        return TextToNumber(text) != 0;
    } catch (const RuntimeFailure&) {
        return true; // too large to read is certainly not zero
    }
}

} // namespace

void SolveAllRoots(SolveContext& ctx, const SolveRequest& request) {
    ctx.SetAsideAllRoots();
    AllRootsResult result;
    result.roots.swap(ctx.spareRoots);
    result.decimalsAsked = request.options.PartDecimals;
    try {
        FindAllRoots(request.coefficients, DigitsOf(request.options.DigitsText), result,
                     request.stop);
    } catch (const RuntimeFailure& f) {
        ctx.errors.push_back(SolverErrorBox(f));
        return;
    }
    switch (result.status) {
    case AllRootsResult::Status::ZeroDenominator:
        ctx.status = "Division by 0";
        ctx.zeroDenominator = result.power;
        return;
    case AllRootsResult::Status::NotANumber:
        ctx.errors.push_back(SolverErrorBox(RuntimeFailure(
            kInvalidArgumentNumber,
            "Invalid argument: " + CoefficientName(result.power) + " is not a number")));
        return;
    case AllRootsResult::Status::TooLong:
        ctx.errors.push_back(SolverErrorBox(
            RuntimeFailure(kOverflowNumber,
                           "Overflow: " + CoefficientName(result.power) + " has " + result.limit)));
        return;
    case AllRootsResult::Status::ConstantOnly: {
        // The exact method only asks whether the constant is zero; where the grid's 32-bit
        // reading gives no value or zero, the text answers. Only the constant is kept: on texts
        // that are no plain numbers the grid's reading may find powers of x the exact reading
        // did not, and the exact method would list roots of an equation that was not solved.
        Polynomial grid{};
        const bool read = !ReadCoefficients(request.coefficients, grid);
        ctx.a = {};
        if (read && grid[0] != 0)
            ctx.a[0] = grid[0];
        else
            ctx.a[0] = NonZeroText(request.coefficients[0]) ? 1 : 0;
        SolveExact(ctx);
        return;
    }
    case AllRootsResult::Status::Stopped:
        ctx.cancelled = true;
        ctx.status = "The solve was cancelled";
        return;
    case AllRootsResult::Status::Solved:
        break;
    }
    // At most twelve distinct roots: one text slot each.
    for (std::size_t k = 0; k < result.roots.size(); ++k)
        ctx.AddRoot(static_cast<int>(k) + 1, result.roots[k].text);
    ctx.allRoots.swap(result.roots);
    ctx.status = "Solutions found";
}

} // namespace valdrex
