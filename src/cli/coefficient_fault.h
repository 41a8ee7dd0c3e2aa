#pragma once

#include <string>
#include <string_view>

namespace valdrex::cli {

// Why the coefficient box the model pointed at could not be read: a zero denominator, or a
// value (or a common denominator) beyond the methods' 32 bits, which the window also reports
// as a division by zero.
std::string CoefficientFaultMessage(int power, std::string_view text);

} // namespace valdrex::cli
