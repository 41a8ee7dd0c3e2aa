#pragma once

#include "core/failure.h"
#include "core/working_polynomial.h"
#include "model/module_state.h"

#include <array>
#include <optional>
#include <string>

class QWidget;

namespace valdrex {

// The modal "Test many numbers" window: P (from state.TestCoef, filled by the caller) at up to
// ten numbers, typed or made from an initial value and an increment.
void ShowTestManyNumbers(ModuleState& state, QWidget* parent);

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
