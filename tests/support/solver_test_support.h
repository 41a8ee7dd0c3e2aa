#pragma once

#include "core/number_text.h"
#include "core_test_support.h"
#include "solvers/exact/solution_list.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace valdrex::testing {

using V = std::vector<double>; // polynomial coefficients
using Texts = std::vector<std::string>;

// A solve context whose working polynomial holds `lowToHigh` from a(0) upward, the rest 0.
inline SolveContext MakeContext(const std::vector<double>& lowToHigh, bool symbolic = true) {
    SolveContext ctx;
    std::copy(lowToHigh.begin(), lowToHigh.end(), ctx.a.begin());
    ctx.EvSimbTmp = symbolic;
    return ctx;
}

// The same, with the coefficients written as the equation is, the highest power first.
inline SolveContext FromHighest(const std::vector<double>& highToLow) {
    return MakeContext({highToLow.rbegin(), highToLow.rend()});
}

// What a run shows on one line: "[status] x1 = ..|x2 = ..", then " ! title: text" for each
// error box, the title marked "*" when the box has the critical icon, and " {factor}" for an
// irreducible factor left.
inline std::string Outcome(const SolveContext& ctx) {
    std::string text = "[" + ctx.status + "]";
    for (std::size_t k = 0; k < ctx.lines.size(); ++k)
        text += (k ? "|" : " ") + ctx.lines[k];
    for (const ErrorBox& box : ctx.errors)
        text += " ! " + box.title + (box.icon == BoxIcon::Critical ? "*: " : ": ") + box.text;
    if (!ctx.factorText.empty())
        text += " {" + ctx.factorText + "}";
    return text;
}

// The outcome `expected` stands for: one that does not start with a status reads
// "[Solutions found] ...".
inline std::string Expected(const std::string& expected) {
    return expected[0] == '[' ? expected : "[Solutions found] " + expected;
}

// Coefficients as a test name: "_m2_0_1" for -2, 0, 1; "_1p5em07" for 1.5E-07.
inline std::string CaseName(const std::vector<double>& coefficients) {
    std::string name;
    for (const double c : coefficients) {
        name += '_';
        for (const char ch : NumberToText(c))
            if (std::isalnum(static_cast<unsigned char>(ch)))
                name += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            else if (ch == '-' || ch == '.')
                name += ch == '-' ? 'm' : 'p';
    }
    return name;
}

} // namespace valdrex::testing
