#include "solvers/all_roots/small_exact_roots.h"

#include "core/equation_text.h"
#include "solvers/all_roots/quadratic_parts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <numeric>
#include <string_view>

namespace valdrex {
namespace {

constexpr long kExactDouble = 1L << 53; // whole numbers a double holds exactly

// n/d in lowest terms; the common divisor is mostly 1, and dividing costs more than testing.
void Reduce(long& n, long& d) {
    const long g = std::gcd(n, d);
    if (g != 1) {
        n /= g;
        d /= g;
    }
}

// A root's text built in place and then stored at once: appending to a string piece by piece
// costs more than the solving.
class ShortText {
  public:
    void Add(char c) { *end_++ = c; }
    void Add(std::string_view s) { end_ = std::copy(s.begin(), s.end(), end_); }
    void Digits(long n) { end_ = std::to_chars(end_, buf_.data() + buf_.size(), n).ptr; }
    // As NumberToStr writes a whole number: a blank in place of the sign of a non-negative one.
    void Blanked(long n) {
        if (n >= 0)
            Add(' ');
        Digits(n);
    }
    // n/d (d > 0) reduced, as "n" or "n/d", each number blanked or not.
    void Fraction(long n, long d, bool blanked) {
        Reduce(n, d);
        blanked ? Blanked(n) : Digits(n);
        if (d != 1) {
            Add('/');
            blanked ? Blanked(d) : Digits(d);
        }
    }
    std::size_t size() const { return static_cast<std::size_t>(end_ - buf_.data()); }
    std::string_view view() const { return {buf_.data(), size()}; }

  private:
    std::array<char, 160> buf_; // room for every part at 20 characters
    char* end_ = buf_.data();
};

// The exact form is the text without the blank standing for a plus sign.
void SetRoot(FoundRoot& root, std::string_view text, double re, double im) {
    root.re = re;
    root.im = im;
    root.text.assign(text);
    root.exact.assign(text.substr(text[0] == ' ' ? 1 : 0));
}

} // namespace

void SetSmallRational(FoundRoot& root, long n, long d) {
    Reduce(n, d);
    ShortText text, exact;
    text.Blanked(n);
    exact.Digits(n);
    if (d != 1) {
        text.Add('/');
        text.Blanked(d);
        exact.Add('/');
        exact.Digits(d);
    }
    root.text.assign(text.view());
    root.exact.assign(exact.view());
    // Both below 2^53: the quotient of the two exact doubles is the nearest double.
    root.re = static_cast<double>(n) / static_cast<double>(d);
}

bool AddSmallQuadratic(long a, long b, long c, RootSlots& out) {
    const long delta = b * b - 4 * a * c;
    const long twoA = 2 * a;
    if (delta == 0) {
        FoundRoot& root = out.Next();
        SetSmallRational(root, -b, twoA);
        root.multiplicity = 2;
        return true;
    }
    const bool negative = delta < 0;
    long k = 1, radicand = 1;
    SplitSmallSquare(std::labs(delta), k, radicand);
    // Added in the listed order, which saves the sorting moves.
    if (!negative && radicand == 1) {
        SetSmallRational(out.Next(), -b - k, twoA);
        SetSmallRational(out.Next(), -b + k, twoA);
        return true;
    }
    if (std::labs(delta) >= kExactDouble)
        return false;
    const QuadraticValues q =
        SmallQuadraticValues(static_cast<double>(a), static_cast<double>(b), static_cast<double>(c),
                             static_cast<double>(delta));
    long den = twoA;
    Reduce(k, den);
    ShortText text;
    // A complex pair's real part −B/2A is written without a blank and left out when 0.
    if (b != 0)
        text.Fraction(-b, twoA, !negative);
    const std::size_t signAt = text.size();
    text.Add('+');
    if (!(negative && radicand == 1))
        text.Add(' ');
    if (k != 1)
        text.Digits(k);
    if (negative)
        text.Add('i');
    if (radicand != 1) {
        if (negative || k != 1)
            text.Add(kMiddleDot);
        text.Add("Sqr(");
        text.Digits(radicand);
        text.Add(')');
    }
    if (den != 1) {
        text.Add(" /");
        text.Digits(den);
    }
    // A complex pair lists its upper root first, a real pair its lower one.
    out.Reserve(2);
    FoundRoot& first = out.Next();
    FoundRoot& second = out.Next();
    FoundRoot& plus = negative ? first : second;
    FoundRoot& minus = negative ? second : first;
    SetRoot(plus, text.view(), q.v[0][0], q.v[0][1]);
    SetRoot(minus, text.view(), q.v[1][0], q.v[1][1]);
    minus.text[signAt] = '-';
    minus.exact[signAt - (minus.text.size() - minus.exact.size())] = '-';
    return true;
}

} // namespace valdrex
