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
};

// The text of one root of a complex pair re ± im·i appended to `out`: the upper root with "+",
// the lower one with "-". An empty real text leaves out the real part, and in the upper root
// also the "+"; the lower root always keeps its "-".
void AppendPairText(std::string& out, std::string_view realText, std::string_view imagText,
                    bool upper);
std::string UpperPairText(std::string_view realText, std::string_view imagText);
std::string LowerPairText(std::string_view realText, std::string_view imagText);

} // namespace valdrex
