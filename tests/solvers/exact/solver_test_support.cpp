#include "solver_test_support.h"

#include "core/number_text.h"

namespace valdrex::testing {

SolveContext MakeContext(const std::vector<double>& lowToHigh, bool symbolic) {
    SolveContext ctx;
    for (std::size_t i = 0; i < lowToHigh.size(); ++i)
        ctx.a[i] = lowToHigh[i];
    ctx.EvSimbTmp = symbolic;
    return ctx;
}

SolveContext MakeContext(std::initializer_list<double> lowToHigh, bool symbolic) {
    return MakeContext(std::vector<double>(lowToHigh), symbolic);
}

std::complex<double> ParseRootText(const std::string& text) {
    if (text.empty() || text.back() != 'i')
        return TextToNumber(text);
    const std::string body = text.substr(0, text.size() - 1);
    for (std::size_t i = body.size(); i-- > 0;) {
        const bool sign = body[i] == '+' || body[i] == '-';
        if (sign && !(i > 0 && body[i - 1] == 'E'))
            return {TextToNumber(body.substr(0, i)), TextToNumber(body.substr(i))};
    }
    return {0, TextToNumber(body)};
}

} // namespace valdrex::testing
