#pragma once

// Checks shared by the fuzz targets: a broken invariant stops the run with a crash that
// libFuzzer records as a finding.

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace valdrex::fuzz {

inline void Require(bool invariant) {
    if (!invariant)
        __builtin_trap();
}

// An infinity or NaN that slipped into a text shows up as one of these words.
inline bool ShowsNonFinite(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find("inf") != std::string::npos || lower.find("nan") != std::string::npos;
}

} // namespace valdrex::fuzz
