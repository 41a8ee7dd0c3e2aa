#pragma once

#include "core_test_support.h"
#include "solvers/exact/solution_list.h"

#include <complex>
#include <string>
#include <vector>

namespace valdrex::testing {

// A solve context whose working polynomial holds `lowToHigh` from a(0) upward, the rest 0.
SolveContext MakeContext(const std::vector<double>& lowToHigh, bool symbolic = true);
// The same, with the coefficients written as the equation is, the highest power first.
SolveContext FromHighest(const std::vector<double>& highToLow);

// What a run shows on one line: "[status] x1 = ..|x2 = ..", then " ! title: text" for each
// error box, the title marked "*" when the box has the critical icon, and " {factor}" for an
// irreducible factor left.
std::string Outcome(const SolveContext& ctx);

// The outcome `expected` stands for: one that does not start with a status reads
// "[Solutions found] ...".
std::string Expected(const std::string& expected);

// The value of a numeric root text: real (" 2", "-1.5E-05") or a pair ("-1+ 2i", "- 2i"),
// whose imaginary part follows the last sign that is not an exponent's.
std::complex<double> ParseRootText(const std::string& text);

// The product of two polynomials, lowest power first.
template <class T> std::vector<T> Multiply(const std::vector<T>& p, const std::vector<T>& q) {
    std::vector<T> product(p.size() + q.size() - 1, 0);
    for (std::size_t i = 0; i < p.size(); ++i)
        for (std::size_t j = 0; j < q.size(); ++j)
            product[i + j] += p[i] * q[j];
    return product;
}

} // namespace valdrex::testing
