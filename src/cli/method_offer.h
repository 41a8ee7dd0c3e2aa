#pragma once

#include "model/main_model.h"

#include <optional>
#include <string>

namespace valdrex::cli {

// Nothing when the Maths menu offers `method` for the equation; otherwise the sentence that says
// why not and which methods it offers.
std::optional<std::string> MethodNotOfferedMessage(SolveMethod method, const MathsMenuState& menu);

} // namespace valdrex::cli
