#include "solvers/typed_equation/equation_tokens.h"

#include "core/utf8_text.h"

#include <cstdio>

namespace valdrex::typed {

void Fail(std::string what, int column, std::string detail) {
    throw ParseFailure{std::move(what), column, std::move(detail)};
}

namespace {

bool IsBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F ||
           c == 0x205F || c == 0x3000;
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

} // namespace

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

} // namespace valdrex::typed
