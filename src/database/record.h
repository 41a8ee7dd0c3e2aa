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
// What follows the equation in the record ("; S={ 2}; P(3) = 2"), appended to `text`.
void AppendRecordTail(std::string& text, const RecordFields& fields);

// A record line as two views: its equation, which may be as long as a line of input, and the
// tail that follows it; so the equation is never held twice.
struct RecordLine {
    std::string_view equation;
    std::string_view tail;

    std::size_t size() const { return equation.size() + tail.size(); }
    bool empty() const { return size() == 0; }
    std::string Text() const { return std::string(equation).append(tail); }
    bool operator==(std::string_view text) const {
        return text.size() == size() && text.starts_with(equation) && text.ends_with(tail);
    }
    bool operator==(const RecordLine& other) const { return other == Text(); }
};

// The "all texts" clipboard composition: the record, CR LF, the annotation unchanged.
std::string ClipboardText(const RecordFields& fields, std::string_view note);

// The equation a record line starts with; a line that is no record (an annotation) whole.
std::string_view RecordEquation(std::string_view line);

} // namespace valdrex
