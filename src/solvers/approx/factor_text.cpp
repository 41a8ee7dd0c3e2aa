#include "solvers/approx/factor_text.h"

#include "core/checked_math.h"
#include "core/equation_text.h"
#include "core/number_text.h"
#include "solvers/approx/int32_math.h"

namespace valdrex {
namespace {

std::string Term(int c, int power, bool leading) {
    if (c == 0)
        return "";
    std::string term = c < 0 ? "-" : (leading ? "" : "+");
    const int magnitude = CheckedAbs(c);
    if (magnitude == 1) {
        if (power == 0)
            term += " 1";
    } else {
        std::string digits = NumberToStr(static_cast<double>(magnitude));
        if (leading)
            digits.erase(0, 1);
        term += digits;
        if (power > 0)
            term += kMiddleDot;
    }
    if (power == 1)
        term += "x";
    else if (power >= 2)
        term += "x^" + std::to_string(power);
    return term;
}

} // namespace

std::string FactorText(const Polynomial& a, int degree) {
    std::string text;
    for (int i = degree; i >= 0; --i)
        text += Term(RoundToInt32(a[i]), i, i == degree) + " ";
    return text;
}

} // namespace valdrex
