#include "solvers/exact/solution_list.h"

#include "core/checked_math.h"
#include "core/number_text.h"

namespace valdrex {

void SolveContext::AddRoot(int k, const std::string& text) {
    SolText[k] = text;
    lines.push_back("x" + std::to_string(k) + " =" + text);
}

std::string SingleText(double value) { return NumberToStr(ToSingle(value)); }

} // namespace valdrex
