#include "solvers/all_roots/small_exact_roots.h"

#include "core/equation_text.h"
#include "solvers/all_roots/quadratic_parts.h"

#include <charconv>
#include <cstdlib>
#include <numeric>

namespace valdrex {
namespace {

constexpr long kExactDouble = 1L << 53; // whole numbers a double holds exactly

void AppendDigits(std::string& text, long n) {
    char buf[24];
    text.append(buf, std::to_chars(buf, buf + sizeof buf, n).ptr);
}

// As NumberToStr writes a whole number: a blank in place of the sign of a non-negative one.
void AppendBlanked(std::string& text, long n) {
    if (n >= 0)
        text += ' ';
    AppendDigits(text, n);
}

FoundRoot ExactRoot(std::string text, double re, double im) {
    FoundRoot root;
    root.re = re;
    root.im = im;
    root.exact.assign(text, text[0] == ' ' ? 1 : 0);
    root.text = std::move(text);
    return root;
}

// n/d (d > 0) reduced, as "n" or "n/d", each number written by `append`.
template <typename Append> void AppendFraction(std::string& text, long n, long d, Append append) {
    const long g = std::gcd(n, d);
    append(text, n / g);
    if (d / g != 1) {
        text += '/';
        append(text, d / g);
    }
}

} // namespace

FoundRoot SmallRationalRoot(long n, long d) {
    const long g = std::gcd(n, d);
    n /= g;
    d /= g;
    std::string text;
    AppendBlanked(text, n);
    if (d != 1) {
        text += '/';
        AppendBlanked(text, d);
    }
    // Both below 2^53: the quotient of the two exact doubles is the nearest double.
    FoundRoot root = ExactRoot(std::move(text), static_cast<double>(n) / static_cast<double>(d), 0);
    root.exact.clear();
    AppendDigits(root.exact, n);
    if (d != 1) {
        root.exact += '/';
        AppendDigits(root.exact, d);
    }
    return root;
}

bool AddSmallQuadratic(long a, long b, long c, std::vector<FoundRoot>& out) {
    const long delta = b * b - 4 * a * c;
    const long twoA = 2 * a;
    if (delta == 0) {
        out.push_back(SmallRationalRoot(-b, twoA));
        out.back().multiplicity = 2;
        return true;
    }
    const bool negative = delta < 0;
    long k = 1, radicand = 1;
    SplitSmallSquare(std::labs(delta), k, radicand);
    if (!negative && radicand == 1) {
        out.push_back(SmallRationalRoot(-b + k, twoA));
        out.push_back(SmallRationalRoot(-b - k, twoA));
        return true;
    }
    if (std::labs(delta) >= kExactDouble)
        return false;
    const QuadraticValues q =
        SmallQuadraticValues(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c),
                             static_cast<double>(delta));
    const long g = std::gcd(twoA, k);
    k /= g;
    const long den = twoA / g;
    std::string text;
    text.reserve(40);
    // A complex pair's real part −B/2A is written without a blank and left out when 0.
    if (b != 0) {
        if (negative)
            AppendFraction(text, -b, twoA, AppendDigits);
        else
            AppendFraction(text, -b, twoA, AppendBlanked);
    }
    const std::size_t signAt = text.size();
    text += '+';
    if (!(negative && radicand == 1))
        text += ' ';
    if (k != 1)
        AppendDigits(text, k);
    if (negative)
        text += 'i';
    if (radicand != 1) {
        if (negative || k != 1)
            text += kMiddleDot;
        text += "Sqr(";
        AppendDigits(text, radicand);
        text += ')';
    }
    if (den != 1) {
        text += " /";
        AppendDigits(text, den);
    }
    std::string lower = text;
    lower[signAt] = '-';
    out.push_back(ExactRoot(std::move(text), q.v[0][0], q.v[0][1]));
    out.push_back(ExactRoot(std::move(lower), q.v[1][0], q.v[1][1]));
    return true;
}

} // namespace valdrex
