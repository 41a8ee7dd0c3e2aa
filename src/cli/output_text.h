#pragma once

// The texts valdrex-solve writes: each equation's answer as plain text or JSON, and the messages
// that quote what was typed.

#include "cli/standard_streams.h"
#include "core/working_polynomial.h"
#include "model/main_model.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex::cli {

// Where the texts below go: a string, or standard output's buffer, which is then written
// whenever it holds a large chunk, and a long piece (the equation of a long line) is written at
// once rather than copied in: a long answer is never held whole.
class OutputText {
  public:
    OutputText(std::string& text) : text_(text) {} // NOLINT(google-explicit-constructor)
    OutputText(OutputBuffers& io)
        : text_(io.out), io_(&io) {} // NOLINT(google-explicit-constructor)

    OutputText& operator+=(std::string_view piece) {
        if (io_ && piece.size() >= OutputBuffers::kFlushSize) {
            io_->WriteThrough(piece);
            return *this;
        }
        text_ += piece;
        return Written();
    }
    OutputText& operator+=(char c) {
        text_ += c;
        return Written();
    }

    // Where the text stands in the whole output, for TakeBack.
    std::uint64_t size() const { return (io_ ? io_->handedOn() : 0) + text_.size(); }
    // Drops what was put since size() was `size`; what has been written stays.
    void TakeBack(std::uint64_t size);

  private:
    OutputText& Written() {
        if (io_)
            io_->FlushIfFull();
        return *this;
    }

    std::string& text_;
    OutputBuffers* io_ = nullptr;
};

// Appends `text` as a JSON string: quotes, backslashes and control characters escaped (controls
// as \u00XX); a byte that is not part of valid UTF-8 becomes \uFFFD, so the output is always
// valid JSON whatever bytes came in.
void AppendJsonString(OutputText out, std::string_view text);

// Appends a number in its shortest exact form; a value that is not finite becomes null.
void AppendJsonNumber(OutputText out, double value);

// The most of an offending token a message echoes: a line of megabytes must not come back
// whole on standard error.
inline constexpr std::size_t kEchoedTokenLength = 40;

// The text between quotes in a message: printable ASCII stays, a backslash is doubled and every
// other byte (controls, NUL, anything beyond ASCII) is written as \xNN, so that random bytes
// reach a terminal or a JSON string harmlessly. Only the first 40 bytes are echoed, then "…".
std::string QuotedForMessage(std::string_view text);

// QuotedForMessage without the cut, for a file name the user needs whole.
std::string QuotedWhole(std::string_view text);

// "invalid coefficient '1e5'".
std::string InvalidCoefficientMessage(std::string_view text);

// "too many coefficients (14; at most 13)".
std::string TooManyCoefficientsMessage(int count, int limit);

// Why the coefficient of x^power, typed as `text`, could not be read: "Division by 0 in the
// coefficient of x^1 ('5/0')", or the value (or the common denominator of all the
// coefficients) beyond the 32 bits the methods use.
std::string UnreadCoefficientMessage(int power, std::string_view text, ReadFault why);

// What one equation gave: the model's result of its solve, the test and every error box.
struct EquationReport {
    int line = 0; // the input line number in batch mode, 0 otherwise
    SolveResult result;
    bool listsAllRoots = false;             // the all-roots method's roots go into the JSON
    const std::string* testInput = nullptr; // the tested number's text, if one was given
    std::string_view testOutput;            // P at it, empty when not evaluated
    // Every error box in order: the typing's, the test's and the solve's.
    std::span<const ErrorBox> errors;
};

// Plain text for standard output: the equation, the solution lines, the status, the irreducible
// factor and the test point, one per line, the empty ones left out.
void AppendPlainReport(OutputText out, const EquationReport& report);

// The error boxes' texts for standard error, one per line ("line N: " first in batch mode).
void AppendErrorBoxTexts(std::string& err, const EquationReport& report);

// The version of the JSON objects' layout, their first field: a new version only when a field
// changes its meaning or goes away (docs/json.md).
inline constexpr int kJsonSchema = 2;

// One JSON object on one line.
void AppendJsonReport(OutputText out, const EquationReport& report);

// One JSON object to `out`, or the plain text to `out` and the error boxes' texts to `err`.
void AppendReport(OutputText out, std::string& err, bool json, const EquationReport& report);

// The JSON object of an invalid batch line: {"schema": 2, "line": N, "error": "..."}.
void AppendJsonInvalidLine(OutputText out, int line, std::string_view error);

} // namespace valdrex::cli
