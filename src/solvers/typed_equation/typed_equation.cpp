#include "solvers/typed_equation/typed_equation.h"

#include "core/equation_text.h"
#include "core/utf8_text.h"
#include "solvers/all_roots/big_numbers.h"
#include "solvers/all_roots/flint_values.h"

#include <flint/fmpq.h>
#include <flint/fmpq_poly.h>
#include <flint/fmpz.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace valdrex {
namespace {

constexpr int kMaxDegree = kCoefficientCount - 1;
// Parentheses and signs nested deeper than this are no equation anyone types; the limit keeps
// the reading's recursion shallow.
constexpr int kMaxNesting = 200;
// No number of any coefficient may grow beyond this many bits (about 10^120000, beyond what the
// exact reader reads), so that a short text such as "9^99999^..." cannot take minutes.
constexpr long kMaxBits = 400000;
// A longer run of zeros is written as a power of ten.
constexpr long kMostZerosWritten = 20;

// A failure of the reading: what, where, and more about it when there is more to say.
struct ParseFailure {
    std::string what;
    int column;
    std::string detail;
};

[[noreturn]] void Fail(std::string what, int column, std::string detail = {}) {
    throw ParseFailure{std::move(what), column, std::move(detail)};
}

std::string AtColumn(std::string_view what, int column) {
    return std::string(what) + " at column " + std::to_string(column);
}

// --- Characters and tokens ---------------------------------------------------------------------

enum class Kind {
    Number,
    X,
    Plus,
    Minus,
    Times,
    Divide,
    Power,
    Superscript,
    Open,
    Close,
    Equals,
    End
};

struct Token {
    Kind kind;
    int column;
    std::string_view text; // a number's text, or the superscript digits as ASCII in `digits`
    std::string digits;
};

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
           c == 0x205F || c == 0x3000;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digit a superscript character stands for, or -1.
int SuperscriptDigit(char32_t c) {
    switch (c) {
    case 0x2070:
        return 0;
    case 0xB9:
        return 1;
    case 0xB2:
        return 2;
    case 0xB3:
        return 3;
    default:
        return c >= 0x2074 && c <= 0x2079 ? static_cast<int>(c - 0x2070) : -1;
    }
}

// Characters a message names instead of showing: controls, and the invisible ones that format
// text or change its direction.
bool IsShownByName(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0xAD || (c >= 0x200B && c <= 0x200F) ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2060 && c <= 0x206F) || c == 0xFEFF;
}

[[noreturn]] void FailUnexpected(char32_t c, int column) {
    if (IsShownByName(c)) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
        Fail(std::string("unexpected character ") + name, column);
    }
    if (c == ',')
        Fail("unexpected ','", column, "write decimals with '.'");
    std::string quoted = "unexpected '";
    AppendUtf8(quoted, c);
    Fail(quoted + "'", column);
}

// The end of a number's text that starts at `i`: digits and points, then an exponent when one
// follows ("e" or "E", a sign, digits). Whether the text is a number is the exact reader's to say.
std::size_t NumberEnd(std::string_view s, std::size_t i) {
    while (i < s.size() && (IsDigit(s[i]) || s[i] == '.'))
        ++i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < s.size() && (s[k] == '+' || s[k] == '-'))
            ++k;
        if (k < s.size() && IsDigit(s[k])) {
            while (k < s.size() && IsDigit(s[k]))
                ++k;
            i = k;
        }
    }
    return i;
}

// The kind of a token of one character, End for a character that is none.
Kind OneCharacterKind(char32_t c) {
    switch (c) {
    case 'x':
    case 'X':
        return Kind::X;
    case '+':
        return Kind::Plus;
    case '-':
    case 0x2212: // minus sign
    case 0x2013: // en dash, as word processors turn "-" into
        return Kind::Minus;
    case '*':
    case 0xB7:   // middle dot
    case 0xD7:   // multiplication sign
    case 0x22C5: // dot operator
    case 0x2219: // bullet operator
        return Kind::Times;
    case '/':
    case 0xF7: // division sign
        return Kind::Divide;
    case '^':
        return Kind::Power;
    case '(':
        return Kind::Open;
    case ')':
        return Kind::Close;
    case '=':
        return Kind::Equals;
    default:
        return Kind::End;
    }
}

std::vector<Token> Tokens(std::string_view s) {
    std::vector<Token> tokens;
    int column = 1;
    std::size_t i = 0;
    // A token of `bytes` bytes and `characters` characters at i.
    const auto add = [&](Kind kind, std::size_t bytes, int characters) {
        tokens.push_back({kind, column, s.substr(i, bytes), {}});
        i += bytes;
        column += characters;
    };
    while (i < s.size()) {
        const Utf8Character c = DecodeUtf8(s, i);
        if (c.length == 0)
            Fail("invalid UTF-8", column);
        const Kind kind = OneCharacterKind(c.value);
        if (IsBlank(c.value)) {
            i += c.length;
            ++column;
        } else if (IsDigit(s[i]) || s[i] == '.') {
            const std::size_t end = NumberEnd(s, i);
            add(Kind::Number, end - i, static_cast<int>(end - i));
        } else if (s.substr(i, 2) == "**") {
            add(Kind::Power, 2, 2);
        } else if (kind != Kind::End) {
            add(kind, c.length, 1);
        } else if (SuperscriptDigit(c.value) >= 0) {
            Token t{Kind::Superscript, column, {}, {}};
            for (Utf8Character d = c; d.length > 0 && SuperscriptDigit(d.value) >= 0;
                 d = i < s.size() ? DecodeUtf8(s, i) : Utf8Character{}) {
                t.digits += static_cast<char>('0' + SuperscriptDigit(d.value));
                i += d.length;
                ++column;
            }
            tokens.push_back(std::move(t));
        } else {
            FailUnexpected(c.value, column);
        }
    }
    tokens.push_back({Kind::End, column, {}, {}});
    return tokens;
}

// --- Exact values --------------------------------------------------------------------------------

// A polynomial being expanded, with the powers whose coefficients a decimal number of the text
// contributed to: those are written as decimals when they can be.
class Expansion {
  public:
    Expansion() { fmpq_poly_init(p_); }
    Expansion(const Expansion&) = delete;
    Expansion& operator=(const Expansion&) = delete;
    ~Expansion() { fmpq_poly_clear(p_); }

    fmpq_poly_struct* poly() { return p_; }
    const fmpq_poly_struct* poly() const { return p_; }
    int degree() const { return static_cast<int>(fmpq_poly_degree(p_)); }
    bool nonzeroAt(int k) const {
        return k < fmpq_poly_length(p_) && !fmpz_is_zero(p_->coeffs + k);
    }
    std::uint32_t decimal = 0; // bit k: a decimal contributed to the coefficient of x^k

    void Swap(Expansion& other) {
        fmpq_poly_swap(p_, other.p_);
        std::swap(decimal, other.decimal);
    }

  private:
    fmpq_poly_t p_;
};

bool IsDecimalText(std::string_view number) {
    return number.find_first_of(".eE") != std::string_view::npos;
}

constexpr char kNotANumber[] = "not a number";

// Why the exact reader refused a number.
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

// The most of a number a message quotes.
constexpr std::size_t kQuotedDigits = 20;

void ReadNumber(const Token& token, Expansion& out) {
    Rational value;
    const ExactReading reading = ReadExactNumber(token.text, value.get());
    if (reading != ExactReading::Read) {
        std::string quoted(token.text.substr(0, kQuotedDigits));
        if (token.text.size() > kQuotedDigits)
            quoted += "\u2026";
        Fail("number '" + quoted + "'", token.column, ReadingProblem(reading));
    }
    fmpq_poly_set_fmpq(out.poly(), value.get());
    out.decimal = IsDecimalText(token.text) ? 1 : 0;
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
                !std::all_of(exponent.text.begin(), exponent.text.end(), IsDigit))
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

// --- Writing the coefficients --------------------------------------------------------------------

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
    const std::string digits = Digits(z);
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

// The text of a coefficient, written as TypedEquation says; a fraction unless `decimal`.
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

// Why the exact reader does not read `text` back as q, or nothing when it does.
std::optional<std::string> ReadBackProblem(const std::string& text, const fmpq_t q) {
    Rational back;
    const ExactReading reading = ReadExactNumber(text, back.get());
    if (reading != ExactReading::Read)
        return ReadingProblem(reading);
    if (!fmpq_equal(back.get(), q))
        return "not read back alike"; // a fault of this file, never of the text typed
    return std::nullopt;
}

std::string PowerName(int power) {
    return power == 0   ? "the constant term"
           : power == 1 ? "the coefficient of x"
                        : "the coefficient of x^" + std::to_string(power);
}

} // namespace

TypedEquation ParseTypedEquation(std::string_view utf8) {
    TypedEquation result;
    try {
        Reader reader(Tokens(utf8));
        Expansion e;
        reader.Equation(e);
        CoefficientTexts canonical;
        Rational q;
        for (int k = 0; k < kCoefficientCount; ++k) {
            fmpq_poly_get_coeff_fmpq(q.get(), e.poly(), k);
            result.coefficients[k] = CoefficientText(q.get(), (e.decimal >> k) & 1);
            canonical[k] = CoefficientText(q.get(), false);
            for (const std::string* text : {&result.coefficients[k], &canonical[k]})
                if (const std::optional<std::string> problem = ReadBackProblem(*text, q.get()))
                    Fail(PowerName(k), reader.FirstColumnOf(k), *problem);
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
        const std::size_t end = NumberEnd(text, i);
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
        if (std::string problem = ReadingProblem(reading); problem != kNotANumber)
            result.limit = std::move(problem);
        return result;
    }
    const bool fraction = text.find('/') != std::string_view::npos;
    result.text = CoefficientText(q.get(), !fraction && IsDecimalText(text));
    if (const std::optional<std::string> problem = ReadBackProblem(result.text, q.get())) {
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
        canonical[k] = CoefficientText(q.get(), false);
    }
    std::string text;
    WriteCanonicalEquationText(canonical, text);
    return text;
}

} // namespace valdrex
