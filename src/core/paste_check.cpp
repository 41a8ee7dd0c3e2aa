#include "core/paste_check.h"

namespace valdrex {

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
