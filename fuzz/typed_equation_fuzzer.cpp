// Any bytes as a typed equation: no crash and no endless expansion; an equation read gives texts
// that the exact reader reads, and an equation line that reads back to the same values; a text
// refused is refused at a column inside it, with nothing else given.

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "fuzz_check.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/typed_equation/typed_equation.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace valdrex::fuzz {
namespace {

// The reduced form of a text's exact value, "n" or "n/d".
std::string Canonical(const std::string& text) {
    fmpq_t q;
    fmpq_init(q);
    std::string canonical = "unread";
    if (ReadExactNumber(text, q) == ExactReading::Read) {
        char* s = fmpq_get_str(nullptr, 10, q);
        canonical = s;
        flint_free(s);
    }
    fmpq_clear(q);
    return canonical;
}

} // namespace
} // namespace valdrex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TypedEquation typed = ParseTypedEquation(text);
    if (!typed.error.empty()) {
        // An invalid byte counts as a character, so there are at most `size` of them.
        Require(typed.column >= 1 && static_cast<std::size_t>(typed.column) <= size + 1);
        Require(typed.error.find(" at column " + std::to_string(typed.column)) !=
                std::string::npos);
        Require(typed.equation.empty());
        for (const std::string& c : typed.coefficients)
            Require(c == "0");
        return 0;
    }
    Require(ExactEquationText(typed.coefficients) == typed.equation);
    const TypedEquation again = ParseTypedEquation(typed.equation);
    Require(again.error.empty() && again.equation == typed.equation);
    for (int k = 0; k < kCoefficientCount; ++k) {
        Require(Canonical(typed.coefficients[k]) == Canonical(again.coefficients[k]));
        Require(Canonical(typed.coefficients[k]) != "unread");
        // The grid's own reading gives the same value, or none where its 32 bits do not hold it.
        const std::string& c = typed.coefficients[k];
        Require(c.find("E-") == std::string::npos);
        if (c.find('E') != std::string::npos)
            continue; // a run of zeros beyond 32 bits, refused by the grid
        try {
            Require(NormalizeCoefficient(c) == Canonical(c));
        } catch (const RuntimeFailure&) {
        }
    }
    return 0;
}
