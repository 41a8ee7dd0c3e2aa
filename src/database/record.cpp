#include "database/record.h"

#include "core/equation_text.h"

namespace valdrex {
namespace {

std::string SolutionSet(const std::array<std::string, 13>& solText) {
    std::string set = "; S={";
    for (std::size_t i = 1; i < solText.size(); ++i) {
        if (!solText[i].empty()) {
            set += solText[i];
            set += ';';
        }
    }
    if (set.back() == ';')
        set.pop_back();
    return set + "}";
}

} // namespace

std::string RecordText(const RecordFields& fields) {
    std::string text = fields.equation + SolutionSet(fields.SolText);
    // The test point belongs to the record only once a number has actually been evaluated.
    if (!fields.input.empty() && !fields.output.empty())
        text += "; P(" + fields.input + ") =" + fields.output;
    if (!fields.factor.empty())
        text += "; R(x)=" + RemoveSpaces(fields.factor);
    return text;
}

std::string ClipboardText(const RecordFields& fields, std::string_view note) {
    std::string text = RecordText(fields) + "\r\n";
    text += note;
    return text;
}

} // namespace valdrex
