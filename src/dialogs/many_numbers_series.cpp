#include "dialogs/many_numbers_series.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"

namespace valdrex {
namespace {

void WriteSeries(TestManyTexts& texts) {
    const double increment = TextToNumber(texts.increment);
    std::array<double, kTestedNumberCount> numbers{};
    numbers[0] = TextToNumber(texts.numbers[0]);
    for (int i = 1; i < kTestedNumberCount; ++i)
        numbers[i] = Finite(numbers[i - 1] + increment);
    for (int i = 0; i < kTestedNumberCount; ++i)
        texts.numbers[i] = NumberToStr(numbers[i]);
}

} // namespace

std::optional<ErrorBox> RunTestMany(const TestCoefficients& coef, TestManyTexts& texts) {
    try {
        if (!texts.increment.empty())
            WriteSeries(texts);
        for (int i = 0; i < kTestedNumberCount; ++i) {
            if (texts.numbers[i].empty())
                continue;
            // Evaluated at the number as written, so the value matches what the box shows.
            texts.values[i] = NumberToStr(EvaluateTest(coef, TextToNumber(texts.numbers[i])));
        }
    } catch (const RuntimeFailure& failure) {
        return SolverErrorBox(failure);
    }
    return std::nullopt;
}

} // namespace valdrex
