// The share of printed parts (real and imaginary parts of the roots that are not exact) that are
// the true part correctly rounded, judged by the tests' independent checker (Arb at high
// precision): a random set and a hard set, at several digit counts.
//     rounding_share [random equations per degree, default 200]
#include "solvers/all_roots/all_roots.h"
#include "solvers/all_roots/root_checker.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using valdrex::CoefficientTexts;
using valdrex::testing::RoundingTally;

struct Set {
    const char* name;
    std::vector<CoefficientTexts> equations;
};

CoefficientTexts Texts(const std::vector<std::string>& lowestFirst) {
    CoefficientTexts t;
    t.fill("0");
    for (std::size_t k = 0; k < lowestFirst.size(); ++k)
        t[k] = lowestFirst[k];
    return t;
}

Set RandomSet(int perDegree) {
    Set set{"random, degree 3-12, coefficients -20..20", {}};
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> coefficient(-20, 20);
    for (int degree = 3; degree <= 12; ++degree)
        for (int i = 0; i < perDegree; ++i) {
            std::vector<std::string> p(static_cast<std::size_t>(degree) + 1);
            for (std::string& c : p)
                c = std::to_string(coefficient(random));
            if (p.back() == "0")
                p.back() = "1";
            set.equations.push_back(Texts(p));
        }
    return set;
}

// Equations whose roots are known to be hard to print right: near ties, clusters, large and small
// coefficients, sizes far apart.
Set HardSet() {
    Set set{"hard", {}};
    auto& e = set.equations;
    for (int n = 3; n <= 12; ++n) {
        std::vector<std::string> p(static_cast<std::size_t>(n) + 1, "0");
        p[0] = "-1", p[1] = "-1", p[n] = "1"; // x^n - x - 1
        e.push_back(Texts(p));
        p[1] = "-3", p[0] = "1"; // x^n - 3x + 1
        e.push_back(Texts(p));
        p[1] = "0", p[0] = "-2"; // x^n - 2
        e.push_back(Texts(p));
        p[0] = "-2", p[1] = "400", p[2] = "-20000"; // x^n - 2(100x - 1)^2
        e.push_back(Texts(p));
    }
    // Chebyshev T12, T9, T7 and 64x^6 - 80x^4 + 24x^2 - 1.
    e.push_back(
        Texts({"1", "0", "-72", "0", "840", "0", "-3584", "0", "6912", "0", "-6144", "0", "2048"}));
    e.push_back(Texts({"0", "9", "0", "-120", "0", "432", "0", "-576", "0", "256"}));
    e.push_back(Texts({"0", "-7", "0", "56", "0", "-112", "0", "64"}));
    e.push_back(Texts({"-1", "0", "24", "0", "-80", "0", "64"}));
    e.push_back(Texts({"1.061106", "-4.182206", "6.1811", "-4.06", "1"}));
    e.push_back(Texts({"1000000", "-123456.7", "2345.678", "-34.56789", "1.234567", "-0.0123456",
                       "0.000123", "-0.000001", "0.5", "-12.5", "1234.5", "-98765.4", "0.000002"}));
    e.push_back(Texts({"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "-1000000000000",
                       "1000000000000"}));
    e.push_back(Texts({"3", "0", "0", "0", "1"}));
    e.push_back(Texts({"1", "0", "3", "0", "1"}));
    e.push_back(Texts({"1E-200", "0", "0", "1E200"}));
    e.push_back(Texts({"-1", "1E-20", "1"}));
    e.push_back(Texts({"7", "-1E15", "0", "0", "0", "1"}));
    return set;
}

RoundingTally Measure(const Set& set, int digits) {
    RoundingTally total;
    for (const CoefficientTexts& t : set.equations) {
        RoundingTally one;
        valdrex::testing::CheckRoots(t, valdrex::FindAllRoots(t, digits), digits, &one);
        total.parts += one.parts;
        total.correct += one.correct;
    }
    return total;
}

} // namespace

int main(int argc, char** argv) {
    const int perDegree = argc > 1 ? std::atoi(argv[1]) : 200;
    for (const Set& set : {RandomSet(perDegree), HardSet()})
        for (int digits : {3, 7, 15, 30}) {
            const RoundingTally t = Measure(set, digits);
            std::printf("%-44s %2d digits: %6d of %6d parts correctly rounded (%.2f%%)\n", set.name,
                        digits, t.correct, t.parts,
                        t.parts != 0 ? 100.0 * t.correct / t.parts : 100.0);
        }
    return 0;
}
