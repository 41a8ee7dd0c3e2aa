#include "cli/batch_line.h"

#include "cli/message_text.h"
#include "core/coefficient_text.h"

namespace valdrex::cli {
namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

void ParseBatchLine(std::string_view line, BatchLine& out) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    out.count = 0;
    out.error.clear();

    std::size_t i = 0;
    while (i < line.size() && IsSeparator(line[i]))
        ++i;
    if (i == line.size() || line[i] == '#') {
        out.kind = BatchLine::Kind::Skip;
        return;
    }

    int total = 0;
    while (i < line.size()) {
        const std::size_t start = i;
        while (i < line.size() && !IsSeparator(line[i]))
            ++i;
        const std::string_view token = line.substr(start, i - start);
        if (!IsPastableNumber(token, PasteTarget::Coefficient)) {
            out.kind = BatchLine::Kind::Invalid;
            out.error = InvalidCoefficientMessage(token);
            return;
        }
        if (total < kMaxCoefficients)
            out.coefficients[total] = token;
        ++total;
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
    }
    if (total > kMaxCoefficients) {
        out.kind = BatchLine::Kind::Invalid;
        out.error = TooManyCoefficientsMessage(total, kMaxCoefficients);
        return;
    }
    out.kind = BatchLine::Kind::Equation;
    out.count = total;
}

} // namespace valdrex::cli
