#include "solvers/typed_equation/typed_equation.h"

#include "core/coefficient_text.h"
#include "core/equation_text.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"
#include "solvers/typed_equation/equation_tokens.h"
#include "solvers/typed_equation/exact_coefficient_text.h"

#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace valdrex {
namespace {

using typed::Fail;
using typed::Kind;
using typed::ParseFailure;
using typed::Token;

constexpr int kMaxDegree = kCoefficientCount - 1;
// Parentheses and signs nested deeper than this are no equation anyone types; the limit keeps
// the reading's recursion shallow.
constexpr int kMaxNesting = 200;
// No number of any coefficient may grow beyond this many bits (about 10^120000, beyond what the
// exact reader reads), so that a short text such as "9^99999^..." cannot take minutes.
constexpr long kMaxBits = 400000;

std::string AtColumn(std::string_view what, int column) {
    return std::string(what) + " at column " + std::to_string(column);
}

// A polynomial being expanded, with the powers whose coefficients a decimal number of the text
// contributed to: those are written as decimals when they can be.
class Expansion {
  public:
    fmpq_poly_struct* poly() { return p_.get(); }
    const fmpq_poly_struct* poly() const { return p_.get(); }
    int degree() const { return static_cast<int>(fmpq_poly_degree(poly())); }
    bool nonzeroAt(int k) const {
        return k < fmpq_poly_length(poly()) && !fmpz_is_zero(poly()->coeffs + k);
    }
    std::uint32_t decimal = 0; // bit k: a decimal contributed to the coefficient of x^k

    void Swap(Expansion& other) {
        fmpq_poly_swap(poly(), other.poly());
        std::swap(decimal, other.decimal);
    }

  private:
    RationalPolynomial p_;
};

// The most of a number a message quotes.
constexpr std::size_t kQuotedDigits = 20;

void ReadNumber(const Token& token, Expansion& out) {
    Rational value;
    const ExactReading reading = ReadExactNumber(token.text, value.get());
    if (reading != ExactReading::Read) {
        std::string quoted(token.text.substr(0, kQuotedDigits));
        if (token.text.size() > kQuotedDigits)
            quoted += "\u2026";
        Fail("number '" + quoted + "'", token.column, typed::ReadingProblem(reading));
    }
    fmpq_poly_set_fmpq(out.poly(), value.get());
    out.decimal = typed::IsDecimalText(token.text) ? 1 : 0;
}

void CheckSize(const Expansion& e, int column) {
    const fmpq_poly_struct* p = e.poly();
    bool tooLarge = fmpz_bits(p->den) > kMaxBits;
    for (slong k = 0; k < p->length && !tooLarge; ++k)
        tooLarge = fmpz_bits(p->coeffs + k) > kMaxBits;
    if (tooLarge)
        Fail("number too large", column);
}

void CheckDegree(long degree, int column) {
    if (degree > kMaxDegree)
        Fail("degree " + std::to_string(degree), column, "at most " + std::to_string(kMaxDegree));
}

// a · b into a; `column` is where b starts.
void Multiply(Expansion& a, const Expansion& b, int column) {
    if (a.degree() >= 0 && b.degree() >= 0)
        CheckDegree(a.degree() + b.degree(), column);
    std::uint32_t decimal = 0;
    for (int i = 0; i <= a.degree(); ++i)
        for (int j = 0; j <= b.degree(); ++j)
            if (a.nonzeroAt(i) && b.nonzeroAt(j) && (((a.decimal >> i) | (b.decimal >> j)) & 1))
                decimal |= 1u << (i + j);
    fmpq_poly_mul(a.poly(), a.poly(), b.poly());
    a.decimal = decimal;
    CheckSize(a, column);
}

// --- The reading ---------------------------------------------------------------------------------

class Reader {
  public:
    explicit Reader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    // equation := sum ["=" sum]
    void Equation(Expansion& out) {
        Sum(out);
        if (Peek().kind == Kind::Equals) {
            Next();
            Expansion right;
            Sum(right);
            fmpq_poly_sub(out.poly(), out.poly(), right.poly());
            out.decimal |= right.decimal;
        }
        const Token& t = Peek();
        if (t.kind == Kind::Equals)
            Fail("a second '='", t.column);
        if (t.kind == Kind::Close)
            Fail("unexpected ')'", t.column);
        if (t.kind != Kind::End)
            Fail("expected an operator", t.column);
    }

    // The column of the first term of the equation's sides with a term in x^power.
    int FirstColumnOf(int power) const { return firstColumn_[power]; }

  private:
    const Token& Peek() const { return tokens_[next_]; }
    const Token& Next() { return tokens_[next_++]; }

    void Enter(int column) {
        if (++depth_ > kMaxNesting)
            Fail("more than " + std::to_string(kMaxNesting) + " levels of nesting", column);
    }

    // sum := term {("+" | "-") term}; a sign may open it (see Factor).
    void Sum(Expansion& out) {
        const int column = Peek().column;
        Term(out);
        Note(out, column);
        while (Peek().kind == Kind::Plus || Peek().kind == Kind::Minus) {
            const bool minus = Next().kind == Kind::Minus;
            Expansion term;
            const int termColumn = Peek().column;
            Term(term);
            Note(term, termColumn);
            if (minus)
                fmpq_poly_sub(out.poly(), out.poly(), term.poly());
            else
                fmpq_poly_add(out.poly(), out.poly(), term.poly());
            out.decimal |= term.decimal;
        }
    }

    // Where the equation's sides first have a term in each power.
    void Note(const Expansion& term, int column) {
        if (depth_ > 0)
            return;
        for (int k = 0; k <= term.degree(); ++k)
            if (term.nonzeroAt(k) && firstColumn_[k] == 0)
                firstColumn_[k] = column;
    }

    // term := factor {["*"] factor | "/" factor}; the "*" may be left out before "x" or "(".
    void Term(Expansion& out) {
        Factor(out);
        for (;;) {
            const Token& op = Peek();
            const bool divide = op.kind == Kind::Divide;
            if (divide || op.kind == Kind::Times)
                Next();
            else if (op.kind != Kind::X && op.kind != Kind::Open)
                return;
            const int column = Peek().column;
            Expansion right;
            Factor(right);
            if (divide)
                Divide(out, right, op.column);
            else
                Multiply(out, right, column);
        }
    }

    // a / b into a, b a number; `column` is the "/".
    void Divide(Expansion& a, const Expansion& b, int column) {
        if (b.degree() > 0)
            Fail("division by a polynomial", column);
        if (b.degree() < 0)
            Fail("division by zero", column);
        Rational divisor;
        fmpq_poly_get_coeff_fmpq(divisor.get(), b.poly(), 0);
        fmpq_poly_scalar_div_fmpq(a.poly(), a.poly(), divisor.get());
        if (b.decimal & 1)
            for (int k = 0; k <= a.degree(); ++k)
                if (a.nonzeroAt(k))
                    a.decimal |= 1u << k;
        CheckSize(a, column);
    }

    // factor := ("+" | "-") factor | power
    void Factor(Expansion& out) {
        const Token& t = Peek();
        if (t.kind == Kind::Plus || t.kind == Kind::Minus) {
            Next();
            Enter(t.column);
            Factor(out);
            --depth_;
            if (t.kind == Kind::Minus)
                fmpq_poly_neg(out.poly(), out.poly());
            return;
        }
        Power(out);
    }

    // power := primary [("^" | "**") whole number | superscript digits]
    void Power(Expansion& out) {
        const int baseColumn = Peek().column;
        Primary(out);
        const Token& t = Peek();
        std::string_view digits;
        int column = t.column;
        if (t.kind == Kind::Superscript) {
            digits = Next().digits;
        } else if (t.kind == Kind::Power) {
            Next();
            const Token& exponent = Peek();
            column = exponent.column;
            if (exponent.kind != Kind::Number ||
                !std::all_of(exponent.text.begin(), exponent.text.end(), typed::IsDigit))
                Fail("expected a whole-number exponent", exponent.column);
            digits = Next().text;
        } else {
            return;
        }
        if (Peek().kind == Kind::Power || Peek().kind == Kind::Superscript)
            Fail("a power of a power needs parentheses", Peek().column);
        RaiseTo(out, digits, baseColumn, column);
    }

    void RaiseTo(Expansion& base, std::string_view digits, int baseColumn, int column) {
        unsigned long exponent = 0;
        for (const char d : digits)
            exponent = std::min(exponent * 10 + static_cast<unsigned long>(d - '0'), 1000000000UL);
        if (base.degree() > 0) {
            CheckDegree(static_cast<long>(base.degree() * exponent), column);
            Expansion result;
            fmpq_poly_one(result.poly());
            for (unsigned long k = 0; k < exponent; ++k)
                Multiply(result, base, baseColumn);
            base.Swap(result);
            return;
        }
        const fmpq_poly_struct* p = base.poly();
        const bool unit = base.degree() < 0 || (fmpz_is_pm1(p->coeffs) && fmpz_is_one(p->den));
        if (!unit && exponent * (fmpz_bits(p->coeffs) + fmpz_bits(p->den)) > kMaxBits)
            Fail("number too large", column);
        fmpq_poly_pow(base.poly(), base.poly(), exponent);
    }

    // primary := number | "x" | "(" sum ")"
    void Primary(Expansion& out) {
        const Token& t = Peek();
        switch (t.kind) {
        case Kind::Number:
            ReadNumber(Next(), out);
            return;
        case Kind::X:
            Next();
            fmpq_poly_zero(out.poly());
            fmpq_poly_set_coeff_si(out.poly(), 1, 1);
            out.decimal = 0;
            return;
        case Kind::Open: {
            Next();
            Enter(t.column);
            Sum(out);
            --depth_;
            const Token& close = Peek();
            if (close.kind != Kind::Close)
                Fail("expected ')'", close.column);
            Next();
            return;
        }
        default:
            Fail("expected a number or x", t.column);
        }
    }

    std::vector<Token> tokens_;
    std::size_t next_ = 0;
    int depth_ = 0;
    std::array<int, kCoefficientCount> firstColumn_{};
};

} // namespace

TypedEquation ParseTypedEquation(std::string_view utf8) {
    TypedEquation result;
    try {
        Reader reader(typed::Tokens(utf8));
        Expansion e;
        reader.Equation(e);
        CoefficientTexts canonical;
        Rational q;
        for (int k = 0; k < kCoefficientCount; ++k) {
            fmpq_poly_get_coeff_fmpq(q.get(), e.poly(), k);
            result.coefficients[k] = typed::CoefficientText(q.get(), (e.decimal >> k) & 1);
            canonical[k] = typed::CoefficientText(q.get(), false);
            // The equation line writes a run of zeros as a power of ten, which the reading of
            // that line takes for a decimal: the decimal form must read back too.
            const std::string asDecimal = canonical[k].find('E') == std::string::npos
                                              ? std::string()
                                              : typed::CoefficientText(q.get(), true);
            const std::array<const std::string*, 3> texts{&result.coefficients[k], &canonical[k],
                                                          &asDecimal};
            for (const std::string* text : texts)
                if (const std::optional<std::string> problem =
                        text->empty() ? std::nullopt : typed::ReadBackProblem(*text, q.get()))
                    Fail(CoefficientName(k), reader.FirstColumnOf(k), *problem);
        }
        WriteCanonicalEquationText(canonical, result.equation);
    } catch (const ParseFailure& failure) {
        result = TypedEquation{};
        result.error = AtColumn(failure.what, failure.column);
        if (!failure.detail.empty())
            result.error += ": " + failure.detail;
        result.column = failure.column;
    }
    return result;
}

} // namespace valdrex
