// The command line's batch lines against a plain reading of their rule: blank and "#" lines
// are skipped, a line with anything but numbers is a typed equation, otherwise blank- or
// tab-separated coefficients read as the command line reads its arguments, at most 13.

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/output_text.h"
#include "core/coefficient_text.h"
#include "fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace valdrex::fuzz {
namespace {

using cli::BatchLine;

std::vector<std::string_view> Tokens(std::string_view line) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t start = line.find_first_not_of(" \t", i);
        if (start == std::string_view::npos)
            break;
        i = std::min(line.find_first_of(" \t", start), line.size());
        tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

// Messages reach terminals and JSON strings: printable ASCII only, but for the "…" after a
// token cut short and the "±" of a limit, and never longer than its cut allows.
bool Printable(std::string_view text) {
    static constexpr std::string_view kAllowed[] = {"\xE2\x80\xA6'", "\xC2\xB1"};
    if (text.size() > 4 * cli::kEchoedTokenLength + 96)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        bool allowed = false;
        for (const std::string_view a : kAllowed)
            if (text.substr(i, a.size()) == a) {
                i += a.size() - 1;
                allowed = true;
            }
        if (!allowed && (text[i] < 0x20 || text[i] > 0x7E))
            return false;
    }
    return true;
}

void CheckLine(std::string_view line, const BatchLine& parsed) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::vector<std::string_view> tokens = Tokens(line);
    if (tokens.empty() || tokens[0][0] == '#') {
        Require(parsed.kind == BatchLine::Kind::Skip);
        return;
    }
    if (cli::IsTypedEquation(line)) {
        Require(parsed.kind == BatchLine::Kind::Equation && parsed.count == 0);
        Require(parsed.typed.data() == line.data() && parsed.typed.size() == line.size());
        return;
    }
    // The batch reading and the list check of the command-line arguments agree.
    std::vector<std::string> gridTexts;
    const std::optional<std::string> error = cli::ReadCoefficientList(tokens, gridTexts);
    if (error) {
        Require(parsed.kind == BatchLine::Kind::Invalid && parsed.error == *error);
        Require(!parsed.error.empty() && Printable(parsed.error));
        return;
    }
    Require(parsed.kind == BatchLine::Kind::Equation && parsed.error.empty());
    Require(parsed.typed.empty());
    Require(parsed.count == static_cast<int>(tokens.size()));
    for (int i = 0; i < parsed.count; ++i) {
        const std::string_view c = parsed.coefficients[i];
        Require(c == gridTexts[i]);
        // A plain number is a view into the line itself; any other is its grid text, plain.
        if (IsPlainNumber(tokens[i]))
            Require(c.data() == tokens[i].data());
        else
            Require(IsPlainNumber(c) || c.find('E') != std::string_view::npos);
    }
}

} // namespace
} // namespace valdrex::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace valdrex;
    using namespace valdrex::fuzz;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Two lines read into one BatchLine, as the batch loop does: nothing of the first may
    // leak into the second.
    const std::size_t cut = input.find('\n');
    const std::string_view first = input.substr(0, cut);
    const std::string_view second = cut == std::string_view::npos ? "" : input.substr(cut + 1);
    cli::BatchLine parsed;
    cli::ParseBatchLine(first, parsed);
    CheckLine(first, parsed);
    cli::ParseBatchLine(second, parsed);
    CheckLine(second, parsed);
    return 0;
}
