#pragma once

#include "core/equation_text.h"

#include <charconv>
#include <string>
#include <string_view>

namespace valdrex {

// One distinct root of an equation, as the all-roots method reports it.
struct FoundRoot {
    // The doubles nearest the root's parts, held to the finite range (the largest double of its
    // sign beyond it) and nonzero for a nonzero part (the smallest double of its sign below it).
    double re = 0, im = 0;
    double radius = 0; // bound on the distance from (re, im) to the true root; 0 when exact
    int multiplicity = 1;
    std::string exact; // exact form (reduced fraction, or radicals with "Sqr(") or empty
    std::string text;  // the text shown after "xk =", saying when the root is multiple
    // The parts correctly rounded like the text's, as numbers a JSON or decimal parser reads
    // ("-0.5", "1.25e-11", "0"); empty unless the solve was asked for them.
    std::string reDecimal, imDecimal;
};

// The text of one root of a complex pair re ± im·i appended to `out`: the upper root with "+",
// the lower one with "-". An empty real text leaves out the real part, and in the upper root
// also the "+"; the lower root always keeps its "-".
void AppendPairText(std::string& out, std::string_view realText, std::string_view imagText,
                    bool upper);
std::string UpperPairText(std::string_view realText, std::string_view imagText);
std::string LowerPairText(std::string_view realText, std::string_view imagText);

// The roots of a rational quadratic that are not both rational, reduced: the real part −B/2A =
// numerator/denominator and the other part factor·√radicand/divisor, times i for a complex pair.
// The numbers come as their callers write them, without blanks (a part left out empty), or as
// machine integers written straight into the text (a left-out numerator 0, any other part 1).
template <typename Number> struct BasicQuadraticRootParts {
    Number numerator, denominator;
    bool complex = false;
    Number factor, radicand, divisor;
};
using QuadraticRootParts = BasicQuadraticRootParts<std::string_view>;
using SmallQuadraticRootParts = BasicQuadraticRootParts<long>;

// The text of the root with "+" (the larger real root, or the upper one of a pair) in the house
// form of the symbolic quadratic (" 1/ 2+ Sqr(3) /2", "-1/2+ i·Sqr(3) /2", "-1+2i", "+ 2·Sqr(2)")
// into `text`; returns where its "+" stands, which is "-" in the other root's text.
std::size_t WriteQuadraticRoot(std::string& text, const QuadraticRootParts& parts);

// The most the text of `parts` takes.
inline std::size_t QuadraticRootRoom(const QuadraticRootParts& p) {
    return p.numerator.size() + p.denominator.size() + p.factor.size() + p.radicand.size() +
           p.divisor.size() + 20;
}
constexpr std::size_t QuadraticRootRoom(const SmallQuadraticRootParts&) {
    return 5 * 20 + 20; // a long takes at most 20 characters
}

namespace quadratic_root {
inline bool Shown(std::string_view part, long) {
    return !part.empty();
}
inline bool Shown(long part, long leftOut) {
    return part != leftOut;
}
inline bool Negative(std::string_view part) {
    return part[0] == '-';
}
inline bool Negative(long part) {
    return part < 0;
}
// Pieces of a few characters each: a loop costs less than a call to copy them.
inline char* Put(char* out, std::string_view piece) {
    for (const char c : piece)
        *out++ = c;
    return out;
}
inline char* Put(char* out, long n) {
    return std::to_chars(out, out + 20, n).ptr;
}
} // namespace quadratic_root

// The same into out[0..QuadraticRootRoom(parts)), for callers writing on the stack; returns the
// end of the text and sets `signAt`.
template <typename Number>
char* WriteQuadraticRoot(char* out, const BasicQuadraticRootParts<Number>& p, std::size_t& signAt) {
    using quadratic_root::Put;
    using quadratic_root::Shown;
    char* const start = out;
    // The numbers of a real root's rational part have a blank for their plus sign; a pair's not.
    const bool blanked = !p.complex;
    if (Shown(p.numerator, 0)) {
        if (blanked && !quadratic_root::Negative(p.numerator))
            *out++ = ' ';
        out = Put(out, p.numerator);
        if (Shown(p.denominator, 1)) {
            out = Put(out, blanked ? "/ " : "/");
            out = Put(out, p.denominator);
        }
    }
    signAt = static_cast<std::size_t>(out - start);
    out = Put(out, p.complex && !Shown(p.radicand, 1) ? "+" : "+ ");
    if (Shown(p.factor, 1))
        out = Put(out, p.factor);
    if (p.complex)
        *out++ = 'i';
    if (Shown(p.radicand, 1)) {
        if (p.complex || Shown(p.factor, 1))
            out = Put(out, kMiddleDot);
        out = Put(out, "Sqr(");
        out = Put(out, p.radicand);
        *out++ = ')';
    }
    if (Shown(p.divisor, 1)) {
        out = Put(out, " /");
        out = Put(out, p.divisor);
    }
    return out;
}

} // namespace valdrex
