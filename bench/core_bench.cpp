#include "core/equation_text.h"
#include "core/number_text.h"
#include "core/working_polynomial.h"

#include <benchmark/benchmark.h>

namespace valdrex {
namespace {

void BM_NumberToStr(benchmark::State& state) {
    double v = 1.0 / 3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(NumberToStr(v));
        v += 1.25;
    }
}
BENCHMARK(BM_NumberToStr);

void BM_TextToNumber(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(TextToNumber("-123.456E-3"));
}
BENCHMARK(BM_TextToNumber);

CoefficientTexts DegreeTwelveGrid() {
    CoefficientTexts t;
    for (int i = 0; i < kCoefficientCount; ++i)
        t[i] = (i % 2 ? "-" : "") + std::to_string(i + 1) + "/" + std::to_string(i % 5 + 1);
    return t;
}

void BM_EquationTextDegree12(benchmark::State& state) {
    const CoefficientTexts t = DegreeTwelveGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(EquationText(t));
}
BENCHMARK(BM_EquationTextDegree12);

void BM_ReadCoefficientsDegree12(benchmark::State& state) {
    const CoefficientTexts t = DegreeTwelveGrid();
    Polynomial a{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadCoefficients(t, a));
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_ReadCoefficientsDegree12);

} // namespace
} // namespace valdrex
