// The Paste check against its rule stated another way, and what a passed text leads to.

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace valdrex::fuzz {
namespace {

// Refused: a character other than digits, "-", "." and "/"; a "-" after the first place; two
// points; two slashes; a slash first, last or anywhere for the test input.
bool Acceptable(const std::string& t, PasteTarget target) {
    if (target == PasteTarget::Note)
        return true;
    if (t.find_first_not_of("0123456789-./") != std::string::npos)
        return false;
    if (t.find('-', 1) != std::string::npos)
        return false;
    const auto slashes = std::count(t.begin(), t.end(), '/');
    if (std::count(t.begin(), t.end(), '.') > 1 || slashes > 1)
        return false;
    if (slashes == 1 && (target == PasteTarget::Input || t.front() == '/' || t.back() == '/'))
        return false;
    return true;
}

} // namespace
} // namespace valdrex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const PasteTarget target :
         {PasteTarget::Note, PasteTarget::Input, PasteTarget::Coefficient})
        Require(IsPastableNumber(text, target) == Acceptable(text, target));
    // The test input's rule is the stricter one.
    if (IsPastableNumber(text, PasteTarget::Input))
        Require(IsPastableNumber(text, PasteTarget::Coefficient));
    // A pasted coefficient is normalised, or refused with a run-time failure, never otherwise.
    if (IsPastableNumber(text, PasteTarget::Coefficient)) {
        try {
            const std::string r = NormalizeCoefficient(text);
            Require(r.find_first_not_of("0123456789-/") == std::string::npos);
        } catch (const RuntimeFailure&) {
        }
    }
    return 0;
}
