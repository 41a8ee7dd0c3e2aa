#include "cli/method_offer.h"

#include "cli/cli_options.h"

namespace valdrex::cli {

std::optional<std::string> MethodNotOfferedMessage(SolveMethod method, const MathsMenuState& menu) {
    if (menu.offers(method))
        return std::nullopt;
    const MethodRow& row = MethodRowOf(method);
    return "the " + std::string(row.cliName) +
           " method is not offered for this equation: " + std::string(row.notOfferedReason) +
           "; offered: " + MethodNames(" and ", &menu);
}

} // namespace valdrex::cli
