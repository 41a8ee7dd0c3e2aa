#include "database/record.h"

#include "core/equation_text.h"

namespace valdrex {

namespace {

// Where the solution set begins: no equation text holds a ';'.
constexpr std::string_view kSetStart = "; S={";

} // namespace

void AppendRecordText(std::string& text, const RecordFields& fields) {
    text += fields.equation;
    AppendRecordTail(text, fields);
}

void AppendRecordTail(std::string& text, const RecordFields& fields) {
    text += kSetStart;
    const std::size_t setStart = text.size();
    for (std::size_t i = 1; i < fields.SolText.size(); ++i) {
        if (!fields.SolText[i].empty()) {
            if (text.size() != setStart)
                text += ';';
            text += fields.SolText[i];
        }
    }
    text += '}';
    // The test point belongs to the record only once a number has actually been evaluated.
    if (!fields.input.empty() && !fields.output.empty()) {
        text += "; P(";
        text += fields.input;
        text += ") =";
        text += fields.output;
    }
    if (!fields.factor.empty()) {
        text += "; R(x)=";
        text += RemoveSpaces(fields.factor);
    }
}

std::string RecordText(const RecordFields& fields) {
    std::string text;
    AppendRecordText(text, fields);
    return text;
}

std::string_view RecordEquation(std::string_view line) {
    return line.substr(0, line.find(kSetStart));
}

std::string ClipboardText(const RecordFields& fields, std::string_view note) {
    std::string text = RecordText(fields) + "\r\n";
    text += note;
    return text;
}

} // namespace valdrex
