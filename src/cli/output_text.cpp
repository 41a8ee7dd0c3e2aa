#include "cli/output_text.h"

#include "core/coefficient_text.h"
#include "core/utf8_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace valdrex::cli {
namespace {

// The digits of a byte escaped as \xHH or \u00HH.
constexpr std::string_view kHex = "0123456789ABCDEF";
static_assert(kHex.size() == 16);

// The bytes that stand for themselves in a JSON string: printable ASCII but the quote and the
// backslash. A table, as the scan looks at every byte of the output.
constexpr std::array<bool, 256> kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x7F; ++c)
        plain[c] = c != '"' && c != '\\';
    return plain;
}();

// Whether any of the 8 bytes of `w` may not stand for itself: below 0x20, 0x7F and above, the
// quote or the backslash. Never false for such a byte; rarely true without one.
bool MayNeedEscaping(std::uint64_t w) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighBits; };
    const std::uint64_t belowBlank = (w - kOnes * 0x20) & ~w & kHighBits;
    return (belowBlank | (w & kHighBits) | hasZeroByte(w ^ (kOnes * 0x7F)) |
            hasZeroByte(w ^ (kOnes * '"')) | hasZeroByte(w ^ (kOnes * '\\'))) != 0;
}

std::string Quoted(std::string_view text, std::size_t limit) {
    const bool cut = text.size() > limit;
    if (cut)
        text = text.substr(0, limit);
    std::string out = "'";
    out.reserve(text.size() + 6);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    if (cut)
        out += "\xE2\x80\xA6"; // …
    out += '\'';
    return out;
}

void AppendLine(OutputText out, std::string_view text) {
    out += text;
    out += '\n';
}

void AppendStringArray(OutputText out, std::span<const std::string> texts, bool skipEmpty) {
    out += '[';
    bool first = true;
    for (const std::string& text : texts) {
        if (skipEmpty && text.empty())
            continue;
        if (!first)
            out += ',';
        first = false;
        AppendJsonString(out, text);
    }
    out += ']';
}

std::string_view IconName(BoxIcon icon) {
    return icon == BoxIcon::Critical ? "critical" : "none";
}

// {"re": …, "im": …, "re_decimal": …, "im_decimal": …, "multiplicity": …, "radius": …,
// "exact": … or null, "text": …} for each.
void AppendAllRoots(OutputText out, std::span<const FoundRoot> roots) {
    out += '[';
    for (std::size_t i = 0; i < roots.size(); ++i) {
        const FoundRoot& root = roots[i];
        if (i > 0)
            out += ',';
        out += "{\"re\":";
        AppendJsonNumber(out, root.re);
        out += ",\"im\":";
        AppendJsonNumber(out, root.im);
        out += ",\"re_decimal\":";
        AppendJsonString(out, root.reDecimal);
        out += ",\"im_decimal\":";
        AppendJsonString(out, root.imDecimal);
        out += ",\"multiplicity\":";
        out += std::to_string(root.multiplicity);
        out += ",\"radius\":";
        AppendJsonNumber(out, root.radius);
        out += ",\"exact\":";
        if (root.exact.empty())
            out += "null";
        else
            AppendJsonString(out, root.exact);
        out += ",\"text\":";
        AppendJsonString(out, root.text);
        out += '}';
    }
    out += ']';
}

// The characters of `text` as a JSON string holds them, the quotes left out.
void AppendJsonCharacters(OutputText out, std::string_view text) {
    // Characters that stand as they are (valid UTF-8 sequences among them) are copied in runs.
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, sizeof word);
            if (!MayNeedEscaping(word)) {
                i += 8;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(text[i]);
        if (kPlain[c]) {
            ++i;
            continue;
        }
        if (const std::size_t length = c >= 0x80 ? DecodeUtf8(text, i).length : 0) {
            i += length;
            continue;
        }
        out += text.substr(runStart, i - runStart);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x80) {
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += "\\uFFFD";
        }
        runStart = ++i;
    }
    out += text.substr(runStart, i - runStart);
}

} // namespace

void OutputText::TakeBack(std::uint64_t size) {
    const std::uint64_t written = io_ ? io_->handedOn() : 0;
    text_.resize(size > written ? static_cast<std::size_t>(size - written) : 0);
}

void AppendJsonString(OutputText out, std::string_view text) {
    out += '"';
    AppendJsonCharacters(out, text);
    out += '"';
}

void AppendJsonNumber(OutputText out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    // Negative zero is zero here as in every other text of the program.
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value == 0 ? 0.0 : value);
    out += std::string_view(buffer, result.ptr);
}

std::string QuotedForMessage(std::string_view text) {
    return Quoted(text, kEchoedTokenLength);
}

std::string QuotedWhole(std::string_view text) {
    return Quoted(text, std::string_view::npos);
}

std::string InvalidCoefficientMessage(std::string_view text) {
    return "invalid coefficient " + QuotedForMessage(text);
}

std::string TooManyCoefficientsMessage(int count, int limit) {
    return "too many coefficients (" + std::to_string(count) + "; at most " +
           std::to_string(limit) + ")";
}

std::string UnreadCoefficientMessage(int power, std::string_view text, ReadFault why) {
    const std::string where = CoefficientName(power) + " (" + QuotedForMessage(text) + ")";
    switch (why) {
    case ReadFault::ZeroDenominator:
        return "Division by 0 in " + where;
    case ReadFault::BeyondRange:
        return where + " is beyond the 32-bit range these methods use; --method all takes any size";
    case ReadFault::CommonDenominatorBeyondRange:
        break;
    }
    return "the common denominator of the coefficients is beyond the 32-bit range these methods "
           "use (at " +
           where + "); --method all takes any size";
}

void AppendPlainReport(OutputText out, const EquationReport& report) {
    const SolveResult& result = report.result;
    AppendLine(out, result.equation);
    for (const std::string& line : result.lines)
        AppendLine(out, line);
    if (!result.status.empty())
        AppendLine(out, result.status);
    if (!result.factor.empty()) {
        out += "Irreducible factor: ";
        AppendLine(out, result.factor);
    }
    if (report.testInput && !report.testOutput.empty()) {
        out += "P(";
        out += *report.testInput;
        out += ") =";
        AppendLine(out, report.testOutput);
    }
}

void AppendErrorBoxTexts(std::string& err, const EquationReport& report) {
    for (const ErrorBox& box : report.errors) {
        if (report.line > 0)
            err += "line " + std::to_string(report.line) + ": ";
        AppendLine(err, box.text);
    }
}

void AppendJsonReport(OutputText out, const EquationReport& report) {
    const SolveResult& result = report.result;
    out += "{\"schema\":";
    out += std::to_string(kJsonSchema);
    out += ',';
    if (report.line > 0) {
        out += "\"line\":";
        out += std::to_string(report.line);
        out += ',';
    }
    out += "\"equation\":";
    AppendJsonString(out, result.equation);
    out += ",\"lines\":";
    AppendStringArray(out, result.lines, false);
    out += ",\"roots\":";
    AppendStringArray(out, result.rootTexts, true);
    out += ",\"status\":";
    AppendJsonString(out, result.status);
    out += ",\"factor\":";
    AppendJsonString(out, result.factor);
    out += ",\"factor_coefficients\":";
    if (result.factorCoefficients && !result.factor.empty()) {
        out += '[';
        for (std::size_t i = 0; i < result.factorCoefficients->size(); ++i) {
            if (i > 0)
                out += ',';
            AppendJsonNumber(out, (*result.factorCoefficients)[i]);
        }
        out += ']';
    } else {
        out += "null";
    }
    if (report.listsAllRoots) {
        out += ",\"all_roots\":";
        AppendAllRoots(out, result.allRoots);
    }
    out += ",\"test\":";
    if (report.testInput) {
        out += "{\"x\":";
        AppendJsonString(out, *report.testInput);
        out += ",\"value\":";
        if (report.testOutput.empty())
            out += "null";
        else
            AppendJsonString(out, report.testOutput);
        out += '}';
    } else {
        out += "null";
    }
    out += ",\"errors\":[";
    for (std::size_t i = 0; i < report.errors.size(); ++i) {
        const ErrorBox& box = report.errors[i];
        if (i > 0)
            out += ',';
        out += "{\"number\":";
        out += std::to_string(box.number);
        out += ",\"description\":";
        AppendJsonString(out, box.description);
        out += ",\"text\":";
        AppendJsonString(out, box.text);
        out += ",\"title\":";
        AppendJsonString(out, box.title);
        out += ",\"icon\":";
        AppendJsonString(out, IconName(box.icon));
        out += '}';
    }
    out += "],\"record\":\"";
    if (result.record) {
        AppendJsonCharacters(out, result.record->equation);
        AppendJsonCharacters(out, result.record->tail);
    }
    out += '"';
    out += "}\n";
}

void AppendReport(OutputText out, std::string& err, bool json, const EquationReport& report) {
    if (json) {
        AppendJsonReport(out, report);
        return;
    }
    AppendPlainReport(out, report);
    AppendErrorBoxTexts(err, report);
}

void AppendJsonInvalidLine(OutputText out, int line, std::string_view error) {
    out += "{\"schema\":";
    out += std::to_string(kJsonSchema);
    out += ",\"line\":";
    out += std::to_string(line);
    out += ",\"error\":";
    AppendJsonString(out, error);
    out += "}\n";
}

} // namespace valdrex::cli
