#pragma once

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/working_polynomial.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace valdrex::testing {

// Coefficient boxes holding `rest` except the texts given by power.
inline CoefficientTexts Grid(const std::map<int, std::string>& boxes,
                             const std::string& rest = "0") {
    CoefficientTexts texts;
    texts.fill(rest);
    for (const auto& [power, text] : boxes)
        texts[power] = text;
    return texts;
}

// The number of the failure `f` raises, 0 when it raises none.
template <class F> int FailureOf(F f) {
    try {
        f();
    } catch (const RuntimeFailure& e) {
        return e.number();
    }
    return 0;
}

// The coefficients from the constant term up, the rest 0.
inline Polynomial Poly(const std::vector<double>& lowToHigh) {
    Polynomial a{};
    std::copy(lowToHigh.begin(), lowToHigh.end(), a.begin());
    return a;
}

// The product of two polynomials, lowest power first.
template <class T> std::vector<T> Multiply(const std::vector<T>& p, const std::vector<T>& q) {
    std::vector<T> product(p.size() + q.size() - 1, 0);
    for (std::size_t i = 0; i < p.size(); ++i)
        for (std::size_t j = 0; j < q.size(); ++j)
            product[i + j] += p[i] * q[j];
    return product;
}

} // namespace valdrex::testing
