#include "cli/coefficient_fault.h"

#include "cli/message_text.h"
#include "core/checked_math.h"
#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/number_text.h"

namespace valdrex::cli {
namespace {

// A number read the way the coefficient boxes read it: 32 bits at most.
int ReadInt32(std::string_view text) {
    return RoundToInt32(TextToNumber(text));
}

bool HasZeroDenominator(std::string_view text) {
    const auto slash = text.find('/');
    try {
        return slash != std::string_view::npos && ReadInt32(text.substr(slash + 1)) == 0;
    } catch (const RuntimeFailure&) {
        return false;
    }
}

bool ValueOutOfRange(std::string_view text) {
    try {
        const std::string normal = NormalizeCoefficient(text);
        const auto slash = normal.find('/');
        ReadInt32(std::string_view(normal).substr(0, slash));
        if (slash != std::string::npos)
            ReadInt32(std::string_view(normal).substr(slash + 1));
        return false;
    } catch (const RuntimeFailure& failure) {
        return failure.number() == kOverflowNumber;
    }
}

} // namespace

std::string CoefficientFaultMessage(int power, std::string_view text) {
    if (HasZeroDenominator(text))
        return ZeroDenominatorMessage(power, text);
    return OutOfRangeMessage(power, text, ValueOutOfRange(text));
}

} // namespace valdrex::cli
