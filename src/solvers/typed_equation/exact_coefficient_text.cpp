#include "solvers/typed_equation/exact_coefficient_text.h"

#include "core/equation_text.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/typed_equation/equation_tokens.h"
#include "solvers/typed_equation/typed_equation.h"

#include <flint/fmpz.h>

#include <algorithm>

namespace valdrex {
namespace typed {
namespace {

// A longer run of zeros is written as a power of ten.
constexpr long kMostZerosWritten = 20;

// The decimal digits of |z|.
std::string Digits(const fmpz_t z) {
    std::string digits(fmpz_sizeinbase(z, 10) + 2, '\0');
    fmpz_get_str(digits.data(), 10, z);
    digits.resize(digits.find('\0'));
    if (digits[0] == '-')
        digits.erase(0, 1);
    return digits;
}

// The digits of |z| > 0; a long run of trailing zeros as "E" and its length.
std::string WholeText(const fmpz_t z) {
    std::string digits = Digits(z);
    const std::size_t last = digits.find_last_not_of('0');
    const std::size_t zeros = digits.size() - 1 - last;
    if (zeros > static_cast<std::size_t>(kMostZerosWritten))
        return digits.substr(0, last + 1) + "E" + std::to_string(zeros);
    return digits;
}

// |q| as a decimal when its denominator is 2^a·5^b and no long run of zeros follows the point;
// nothing otherwise.
std::optional<std::string> DecimalText(const fmpq_t q) {
    Integer rest, factor;
    fmpz_set_ui(factor.get(), 2);
    const slong twos = fmpz_remove(rest.get(), fmpq_denref(q), factor.get());
    fmpz_set_ui(factor.get(), 5);
    const slong fives = fmpz_remove(rest.get(), rest.get(), factor.get());
    if (!fmpz_is_one(rest.get()))
        return std::nullopt;
    // |q| = m / 10^places, m without trailing zeros as q is reduced.
    const slong places = std::max(twos, fives);
    Integer m;
    fmpz_mul_2exp(m.get(), fmpq_numref(q), static_cast<ulong>(places - twos));
    fmpz_pow_ui(factor.get(), factor.get(), static_cast<ulong>(places - fives)); // 5^…
    fmpz_mul(m.get(), m.get(), factor.get());
    std::string digits = Digits(m.get());
    const auto size = static_cast<slong>(digits.size());
    if (places - size > kMostZerosWritten)
        return std::nullopt; // "E-" would be lost on the grid, which rounds it to a whole number
    if (size <= places)
        digits.insert(0, static_cast<std::size_t>(places + 1 - size), '0');
    digits.insert(digits.size() - static_cast<std::size_t>(places), 1, '.');
    return digits;
}

} // namespace

bool IsDecimalText(std::string_view number) {
    return number.find_first_of(".eE") != std::string_view::npos;
}

std::string ReadingProblem(ExactReading reading) {
    switch (reading) {
    case ExactReading::Read:
        break;
    case ExactReading::ZeroDenominator:
        return "division by zero";
    case ExactReading::NotANumber:
        break;
    case ExactReading::TooManyDigits:
    case ExactReading::PowerTooLarge:
        return std::string(ReadingLimitText(reading));
    }
    return kNotANumber;
}

std::string CoefficientText(const fmpq_t q, bool decimal) {
    if (fmpq_is_zero(q))
        return "0";
    std::string text = fmpz_sgn(fmpq_numref(q)) < 0 ? "-" : "";
    if (fmpz_is_one(fmpq_denref(q)))
        return text + WholeText(fmpq_numref(q));
    if (decimal)
        if (const std::optional<std::string> d = DecimalText(q))
            return text + *d;
    return text + WholeText(fmpq_numref(q)) + "/" + WholeText(fmpq_denref(q));
}

std::optional<std::string> ReadBackProblem(const std::string& text, const fmpq_t q) {
    Rational back;
    const ExactReading reading = ReadExactNumber(text, back.get());
    if (reading != ExactReading::Read)
        return ReadingProblem(reading);
    if (!fmpq_equal(back.get(), q))
        return "not read back alike"; // a fault of this file, never of the text typed
    return std::nullopt;
}

} // namespace typed

CoefficientReading ReadCoefficientText(std::string_view text) {
    CoefficientReading result;
    // An optional sign and a number, then optionally "/" and the same again.
    std::size_t i = 0;
    bool shaped = true;
    for (int part = 0; part < 2 && shaped; ++part) {
        if (part == 1) {
            if (i == text.size())
                break;
            shaped = text[i++] == '/';
        }
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const std::size_t end = typed::NumberEnd(text, i);
        shaped = shaped && end > i;
        i = end;
    }
    if (!shaped || i != text.size())
        return result;
    Rational q;
    const ExactReading reading = ReadExactNumber(text, q.get());
    if (reading == ExactReading::ZeroDenominator) {
        result.text = "1/0"; // refused alike by every reading, as the typed text is
        return result;
    }
    if (reading != ExactReading::Read) {
        if (std::string problem = typed::ReadingProblem(reading); problem != typed::kNotANumber)
            result.limit = std::move(problem);
        return result;
    }
    const bool fraction = text.find('/') != std::string_view::npos;
    result.text = typed::CoefficientText(q.get(), !fraction && typed::IsDecimalText(text));
    if (const std::optional<std::string> problem = typed::ReadBackProblem(result.text, q.get())) {
        result.text.clear();
        result.limit = *problem;
    }
    return result;
}

std::optional<std::string> ExactEquationText(const CoefficientTexts& texts) {
    CoefficientTexts canonical;
    Rational q;
    for (int k = 0; k < kCoefficientCount; ++k) {
        if (ReadExactNumber(texts[k], q.get()) != ExactReading::Read)
            return std::nullopt;
        canonical[k] = typed::CoefficientText(q.get(), false);
    }
    std::string text;
    WriteCanonicalEquationText(canonical, text);
    return text;
}

} // namespace valdrex
