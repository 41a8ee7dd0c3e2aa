#pragma once

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
// numerator/denominator (numerator empty when 0, denominator empty when 1) and the other part
// factor·√radicand/divisor (each empty when 1), times i for a complex pair. The numbers are
// given as their callers write them, without blanks.
struct QuadraticRootParts {
    std::string_view numerator, denominator;
    bool complex = false;
    std::string_view factor, radicand, divisor;
};

// The text of the root with "+" (the larger real root, or the upper one of a pair) in the house
// form of the symbolic quadratic (" 1/ 2+ Sqr(3) /2", "-1/2+ i·Sqr(3) /2", "-1+2i", "+ 2·Sqr(2)")
// into `text`; returns where its "+" stands, which is "-" in the other root's text.
std::size_t WriteQuadraticRoot(std::string& text, const QuadraticRootParts& parts);

// The same into out[0..QuadraticRootRoom(parts)), for callers writing on the stack; returns the
// end of the text and sets `signAt`.
inline std::size_t QuadraticRootRoom(const QuadraticRootParts& p) {
    return p.numerator.size() + p.denominator.size() + p.factor.size() + p.radicand.size() +
           p.divisor.size() + 20;
}
char* WriteQuadraticRoot(char* out, const QuadraticRootParts& parts, std::size_t& signAt);

} // namespace valdrex
