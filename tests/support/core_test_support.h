#pragma once

#include "core/coefficient_text.h"
#include "core/failure.h"

#include <map>
#include <string>

namespace valdrex::testing {

// Coefficient boxes holding "0" except the texts given by power.
inline CoefficientTexts Grid(const std::map<int, std::string>& boxes) {
    CoefficientTexts texts;
    texts.fill("0");
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

} // namespace valdrex::testing
