#pragma once

#include "core/failure.h"
#include "core/working_polynomial.h"

#include <array>
#include <optional>
#include <string>

namespace valdrex {

inline constexpr int kTestedNumberCount = 10;

// The texts of the Test many numbers window.
struct TestManyTexts {
    std::array<std::string, kTestedNumberCount> numbers; // the N boxes
    std::string increment;
    std::array<std::string, kTestedNumberCount> values; // the P(N) boxes
};

// The Test command. With an increment, the N boxes are rewritten as the series that starts at
// the first box's number (repeated addition); then P is evaluated at the number written in
// every N box that is not empty. A failure ends the command at once with the solver's error
// box; boxes written before it keep their new texts.
std::optional<ErrorBox> RunTestMany(const TestCoefficients& coef, TestManyTexts& texts);

} // namespace valdrex
