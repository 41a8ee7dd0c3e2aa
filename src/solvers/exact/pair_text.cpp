#include "solvers/exact/pair_text.h"

namespace valdrex {

void AddSinglePair(SolveContext& ctx, int k, double re, double im) {
    const std::string realText = re != 0 ? SingleText(re) : "";
    const std::string imagText = SingleText(im);
    ctx.AddRoot(k, UpperPairText(realText, imagText));
    ctx.AddRoot(k + 1, LowerPairText(realText, imagText));
}

} // namespace valdrex
