#pragma once

// The characters of a typed equation read as tokens, and the failure every stage of its
// reading reports with a column.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::typed {

// A failure of the reading: what, where, and more about it when there is more to say.
struct ParseFailure {
    std::string what;
    int column;
    std::string detail;
};

[[noreturn]] void Fail(std::string what, int column, std::string detail = {});

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

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The end of a number's text that starts at `i`: digits and points, then an exponent when one
// follows ("e" or "E", a sign, digits). Whether the text is a number is the exact reader's to say.
std::size_t NumberEnd(std::string_view s, std::size_t i);

// The tokens of a UTF-8 text, ending with one of Kind::End; columns count characters from 1.
// Blanks of every width are left out; "−" and "–" are minus signs, "·", "×", "⋅" and "∙" times.
std::vector<Token> Tokens(std::string_view utf8);

} // namespace valdrex::typed
