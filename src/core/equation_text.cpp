#include "core/equation_text.h"

#include "core/number_text.h"

#include <algorithm>
#include <array>

namespace valdrex {
namespace {

// The normalised coefficient. A text without "/" and "." only loses its blanks, so it is used
// in place; the others are normalised into `storage`.
std::string_view Normalized(std::string_view unblanked, std::string& storage) {
    bool plain = true;
    for (const char c : unblanked)
        plain = plain && c != '/' && c != '.';
    if (plain) {
        const auto last = unblanked.find_last_not_of(' ');
        return last == std::string_view::npos ? std::string_view{} : unblanked.substr(0, last + 1);
    }
    storage = NormalizeCoefficient(unblanked);
    return storage;
}

// The text is written through a pointer into room sized once for the whole text: appending
// character by character cost more than everything else here, and a long equation grown step by
// step would be copied at each step.
class Writer {
  public:
    explicit Writer(char* room) : begin_(room), p_(room) {}
    bool empty() const { return p_ == begin_; }
    void Put(char c) { *p_++ = c; }
    void Put(std::string_view text) { p_ = std::copy(text.begin(), text.end(), p_); }
    std::size_t size() const { return static_cast<std::size_t>(p_ - begin_); }

  private:
    char* begin_;
    char* p_;
};

// "x" or "x^" and the power.
void PutPower(Writer& w, int power) {
    w.Put('x');
    if (power >= 2) {
        w.Put('^');
        if (power >= 10)
            w.Put(static_cast<char>('0' + power / 10));
        w.Put(static_cast<char>('0' + power % 10));
    }
}

bool IsSign(char c) {
    return c == '+' || c == '-';
}

// Puts a piece as SpaceSigns would leave it: a sign after the first character is set apart.
void PutSpaced(Writer& w, std::string_view piece) {
    for (const char c : piece) {
        if (IsSign(c) && !w.empty()) {
            w.Put(' ');
            w.Put(c);
            w.Put(' ');
        } else {
            w.Put(c);
        }
    }
}

// The sign (-1, 0 or 1) of a short whole number such as "-17", the usual coefficient, seen
// without the general reading; 2 for any other text.
int PlainSign(std::string_view c) {
    const bool negative = !c.empty() && c[0] == '-';
    if (c.size() <= static_cast<std::size_t>(negative) || c.size() > 15)
        return 2;
    bool zero = true;
    for (std::size_t i = negative; i < c.size(); ++i) {
        if (c[i] < '0' || c[i] > '9')
            return 2;
        zero = zero && c[i] == '0';
    }
    return zero ? 0 : negative ? -1 : 1;
}

// The most a term of coefficient `c` takes: " + ", c with each sign spaced, the middle dot and
// "x^12".
std::size_t TermRoom(std::string_view c) {
    return 3 + c.size() + 2 * static_cast<std::size_t>(std::count_if(c.begin(), c.end(), IsSign)) +
           kMiddleDot.size() + 4;
}

// What " = 0" or "0 = 0" adds.
constexpr std::size_t kEndRoom = 5;

// Puts the term of one coefficient whose value has the sign of `value`, signs already spaced. A
// "+" that would open the text is left out, as the text never starts with one.
void PutTerm(Writer& w, std::string_view c, int power, double value) {
    if (value == 0)
        return;
    if (c == "1" || c == "-1") {
        if (c[0] == '-')
            PutSpaced(w, "-");
        else if (!w.empty())
            w.Put(" + ");
        if (power == 0)
            w.Put('1');
        else
            PutPower(w, power);
        return;
    }
    if (value > 0 && !w.empty())
        w.Put(" + ");
    PutSpaced(w, c);
    if (power > 0) {
        w.Put(kMiddleDot);
        PutPower(w, power);
    }
}

// SpaceSigns without a second string: the text grows and is filled from its end.
void SpaceSignsInPlace(std::string& s) {
    std::size_t signs = 0;
    for (std::size_t i = 1; i < s.size(); ++i)
        signs += IsSign(s[i]) ? 1 : 0;
    if (signs == 0)
        return;
    std::size_t from = s.size();
    s.resize(s.size() + 2 * signs);
    std::size_t to = s.size();
    while (from > 1) {
        const char c = s[--from];
        if (IsSign(c)) {
            s[--to] = ' ';
            s[--to] = c;
            s[--to] = ' ';
        } else {
            s[--to] = c;
        }
    }
}

} // namespace

bool WriteEquationText(const CoefficientTexts& coefficients, std::string& s) {
    // The usual grid, short whole numbers without blanks, read and written in one pass into
    // room any such grid fits: sizing it term by term cost more than the writing.
    constexpr std::size_t kPlainTermRoom = 3 + 15 + 2 + kMiddleDot.size() + 4;
    std::array<char, kCoefficientCount * kPlainTermRoom + kEndRoom> plainRoom;
    Writer plainWriter(plainRoom.data());
    bool plain = true;
    for (int i = kCoefficientCount - 1; i >= 0 && plain; --i) {
        const std::string& c = coefficients[i];
        if (c.size() == 1 && c[0] == '0')
            continue; // most boxes
        const int sign = PlainSign(c);
        plain = sign != 2;
        if (sign == 1 || sign == -1)
            PutTerm(plainWriter, c, i, sign);
    }
    if (plain) {
        plainWriter.Put(plainWriter.empty() ? "0 = 0" : " = 0");
        s.assign(plainRoom.data(), plainWriter.size());
        return true;
    }
    // Each term's coefficient text and the sign of its value, read before the text is sized.
    std::array<std::string_view, kCoefficientCount> terms;
    std::array<double, kCoefficientCount> values{};
    std::array<std::string, kCoefficientCount> normalized; // fractions and decimals, short
    std::size_t room = kEndRoom;
    for (int i = kCoefficientCount - 1; i >= 0; --i) {
        const std::string& text = coefficients[i];
        if (text.size() == 1 && text[0] == '0')
            continue; // the most common box contributes nothing
        const auto firstNonBlank = text.find_first_not_of(' ');
        const std::string_view unblanked = firstNonBlank == std::string::npos
                                               ? std::string_view{}
                                               : std::string_view(text).substr(firstNonBlank);
        terms[i] = Normalized(unblanked, normalized[i]);
        const int sign = PlainSign(terms[i]);
        values[i] = sign != 2 ? sign : TextToNumber(terms[i]);
        room += TermRoom(terms[i]);
    }
    s.clear();
    s.resize(room);
    Writer w(s.data());
    for (int i = kCoefficientCount - 1; i >= 0; --i)
        PutTerm(w, terms[i], i, values[i]);
    w.Put(w.empty() ? "0 = 0" : " = 0");
    s.resize(w.size());
    return false;
}

void WriteCanonicalEquationText(const CoefficientTexts& canonical, std::string& s) {
    std::size_t room = kEndRoom;
    for (const std::string& c : canonical)
        room += TermRoom(c);
    s.clear();
    s.resize(room);
    Writer w(s.data());
    for (int i = kCoefficientCount - 1; i >= 0; --i) {
        const std::string& c = canonical[i];
        PutTerm(w, c, i, c == "0" ? 0 : c[0] == '-' ? -1 : 1);
    }
    w.Put(w.empty() ? "0 = 0" : " = 0");
    s.resize(w.size());
}

std::string EquationText(const CoefficientTexts& coefficients) {
    std::string s;
    s.reserve(64);
    WriteEquationText(coefficients, s);
    return s;
}

std::string SpaceSigns(std::string_view text) {
    std::string out(text);
    SpaceSignsInPlace(out);
    return out;
}

std::string RemoveSpaces(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != ' ')
            out += c;
    return out;
}

} // namespace valdrex
