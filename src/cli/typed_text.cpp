#include "cli/typed_text.h"

namespace valdrex::cli {

std::optional<std::string> TypedText(KeyRule rule, std::string_view keys) {
    std::string text;
    for (const char c : keys) {
        const char32_t key = static_cast<unsigned char>(c);
        if (!FilterNumericKey(rule, key, text, static_cast<int>(text.size())))
            return std::nullopt;
        if (key == kBackspace) {
            if (!text.empty())
                text.pop_back();
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace valdrex::cli
