#include "core/coefficient_text.h"

#include "core/checked_math.h"
#include "core/number_text.h"

namespace valdrex {

std::string TrimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

int CharacterCount(std::string_view text) {
    int count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

std::string NormalizeCoefficient(std::string_view s) {
    const auto slash = s.find('/');
    const auto point = s.find('.');
    if (slash == std::string_view::npos && point == std::string_view::npos)
        return TrimBlanks(s);

    double n = 0;
    double d = 0;
    if (slash == std::string_view::npos) {
        n = RoundToInt32(TextToNumberWithoutPoints(s));
        const int places = CharacterCount(s.substr(point + 1));
        d = RoundToInt32(TextToNumber("1E" + std::to_string(places)));
    } else {
        n = RoundToInt32(TextToNumber(s));
        d = RoundToInt32(TextToNumber(s.substr(slash + 1)));
    }
    const double g = Gcd(n, d);
    const int reducedN = RoundToInt32(CheckedDiv(n, g));
    const int reducedD = RoundToInt32(CheckedDiv(d, g));
    std::string result = NumberToStr(static_cast<double>(reducedN));
    if (reducedD != 1)
        result.append("/").append(TrimBlanks(NumberToStr(static_cast<double>(reducedD))));
    return TrimBlanks(result);
}

bool FilterNumericKey(KeyRule rule, char32_t key, std::string_view text, int caret) {
    const bool hasMinus = text.find('-') != std::string_view::npos;
    const bool hasPoint = text.find('.') != std::string_view::npos;
    const bool hasSlash = text.find('/') != std::string_view::npos;
    const bool isDigit = key >= '0' && key <= '9';

    if (rule == KeyRule::AccuracyDigit)
        return key >= '0' && key <= '8';
    if (key == kBackspace || isDigit)
        return true;
    if (key == '-')
        return !hasMinus && caret == 0;
    switch (rule) {
    case KeyRule::Grid:
        return (key == '.' || key == '/') && !hasPoint && !hasSlash;
    case KeyRule::SignedDecimal:
        return key == '.' && !hasPoint;
    case KeyRule::Increment:
        return key == '.' && !hasPoint && !hasSlash;
    case KeyRule::AccuracyDigit:
        break;
    }
    return false;
}

std::string CoefficientName(int power) {
    return power == 0   ? "the constant term"
           : power == 1 ? "the coefficient of x"
                        : "the coefficient of x^" + std::to_string(power);
}

bool IsPlainNumber(std::string_view text) {
    const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    bool digit = false;
    bool separator = false; // a "." or a "/"
    for (std::size_t i = start; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if ((c == '.' || c == '/') && !separator) {
            separator = true;
            if (c == '/' && (i == start || i + 1 == text.size()))
                return false;
        } else {
            return false;
        }
    }
    return digit;
}

bool IsPastableNumber(std::string_view text, PasteTarget target) {
    if (target == PasteTarget::Note)
        return true;
    bool pointSeen = false;
    bool slashSeen = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-') {
            if (i != 0)
                return false;
        } else if (c == '.') {
            if (pointSeen)
                return false;
            pointSeen = true;
        } else if (c == '/') {
            if (i == 0 || i + 1 == text.size() || target == PasteTarget::Input || slashSeen)
                return false;
            slashSeen = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

} // namespace valdrex
