#include "cli/coefficient_list.h"

#include "cli/message_text.h"
#include "core/coefficient_text.h"

namespace valdrex::cli {

std::optional<std::string> CoefficientListError(std::span<const std::string_view> texts) {
    if (texts.empty())
        return "no coefficients";
    for (const std::string_view text : texts)
        if (!IsPastableNumber(text, PasteTarget::Coefficient))
            return InvalidCoefficientMessage(text);
    if (texts.size() > kMaxCoefficients)
        return TooManyCoefficientsMessage(static_cast<int>(texts.size()), kMaxCoefficients);
    return std::nullopt;
}

} // namespace valdrex::cli
