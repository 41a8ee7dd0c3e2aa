#include "solver_test_support.h"

#include "core/number_text.h"

#include <algorithm>

namespace valdrex::testing {

SolveContext MakeContext(const std::vector<double>& lowToHigh, bool symbolic) {
    SolveContext ctx;
    std::copy(lowToHigh.begin(), lowToHigh.end(), ctx.a.begin());
    ctx.EvSimbTmp = symbolic;
    return ctx;
}

SolveContext FromHighest(const std::vector<double>& highToLow) {
    return MakeContext({highToLow.rbegin(), highToLow.rend()});
}

std::string Outcome(const SolveContext& ctx) {
    std::string text = "[" + ctx.status + "]";
    for (std::size_t k = 0; k < ctx.lines.size(); ++k)
        text += (k ? "|" : " ") + ctx.lines[k];
    for (const ErrorBox& box : ctx.errors)
        text += " ! " + box.title + (box.icon == BoxIcon::Critical ? "*: " : ": ") + box.text;
    if (!ctx.factorText.empty())
        text += " {" + ctx.factorText + "}";
    return text;
}

std::string Expected(const std::string& expected) {
    return expected[0] == '[' ? expected : "[Solutions found] " + expected;
}

std::complex<double> ParseRootText(const std::string& text) {
    if (text.empty() || text.back() != 'i')
        return TextToNumber(text);
    const std::string body = text.substr(0, text.size() - 1);
    for (std::size_t i = body.size(); i-- > 0;)
        if ((body[i] == '+' || body[i] == '-') && !(i > 0 && body[i - 1] == 'E'))
            return {TextToNumber(body.substr(0, i)), TextToNumber(body.substr(i))};
    return {0, TextToNumber(body)};
}

} // namespace valdrex::testing
