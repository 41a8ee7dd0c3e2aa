#pragma once

#include <span>
#include <string>
#include <string_view>

namespace valdrex {

// The texts one database record is made of, seen in the main window when it is written.
struct RecordFields {
    std::string_view equation;
    std::span<const std::string> SolText; // index 1..12 as the solvers stored them; 0 unused
    std::string_view input;               // the tested number
    std::string_view output;              // P at the tested number
    std::string_view factor;              // the irreducible factor
};

// The record line without its line end: equation, solution set, test point, factor,
// e.g. "2·x - 4 = 0; S={ 2}; P(3) = 2; R(x)=x^2+1".
std::string RecordText(const RecordFields& fields);
// The same text appended to `text`.
void AppendRecordText(std::string& text, const RecordFields& fields);

// The "all texts" clipboard composition: the record, CR LF, the annotation unchanged.
std::string ClipboardText(const RecordFields& fields, std::string_view note);

// The equation a record line starts with; a line that is no record (an annotation) whole.
std::string_view RecordEquation(std::string_view line);

} // namespace valdrex
