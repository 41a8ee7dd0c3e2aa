#include "solvers/exact/pair_text.h"

namespace valdrex {

std::string UpperPairText(const std::string& realText, const std::string& imagText) {
    return realText.empty() ? imagText + "i" : realText + "+" + imagText + "i";
}

std::string LowerPairText(const std::string& realText, const std::string& imagText) {
    return realText + "-" + imagText + "i";
}

void AddSinglePair(SolveContext& ctx, int k, double re, double im) {
    const std::string realText = re != 0 ? SingleText(re) : "";
    const std::string imagText = SingleText(im);
    ctx.AddRoot(k, UpperPairText(realText, imagText));
    ctx.AddRoot(k + 1, LowerPairText(realText, imagText));
}

} // namespace valdrex
