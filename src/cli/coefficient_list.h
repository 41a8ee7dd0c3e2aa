#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace valdrex::cli {

inline constexpr int kMaxCoefficients = 13;

// Why a list of coefficient texts (highest power first) cannot be typed into the grid, or
// nothing when it can: each text must pass the Paste command's number check, and there are at
// most 13 of them.
std::optional<std::string> CoefficientListError(std::span<const std::string_view> texts);

} // namespace valdrex::cli
