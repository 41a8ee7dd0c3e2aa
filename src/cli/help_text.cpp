#include "cli/help_text.h"

#include "model/method_table.h"

#include <algorithm>
#include <vector>

namespace valdrex::cli {
namespace {

// "--method" with each method's name and note.
std::string MethodLine() {
    std::string help = "  --method M      ";
    const std::span<const MethodRow> rows = MethodTable();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i > 0)
            help += i + 1 == rows.size() ? " or " : ", ";
        help += rows[i].cliName;
        if (!rows[i].helpNote.empty())
            help += " (" + std::string(rows[i].helpNote) + ")";
    }
    return help + "\n";
}

// The help of each method option, once, in the table's order.
std::string MethodOptionsHelp() {
    std::string help;
    std::vector<const OptionText*> shown;
    for (const MethodRow& row : MethodTable())
        for (const OptionText* option : row.cliOptions)
            if (std::find(shown.begin(), shown.end(), option) == shown.end()) {
                shown.push_back(option);
                help += option->help;
            }
    return help;
}

} // namespace

std::string HelpText() {
    return R"(Usage: valdrex-solve [OPTIONS] COEFFICIENT...   one equation, highest power first
       valdrex-solve [OPTIONS] --batch            one equation per line of standard input

Solves P(x) = 0 the way the Valdrex main window does and prints what it would show.
COEFFICIENT: 1 to 13 numbers, the last one the constant term, each an integer, a decimal or a
fraction ("1 -3 2" is x^2 - 3x + 2; "-0.5" and "3/4" are fine). "--" ends the options.

Options:
)" + MethodLine() +
           R"(                  (the approximate methods need degree 3 or more)
  --numeric       quadratic roots as numbers instead of the symbolic form
)" + MethodOptionsHelp() +
           R"(                  (other option values are signed decimals, as typed in the method dialogs)
  --test X        also evaluate P at X (a signed decimal); it goes into the record
  --save FILE     append each record to FILE (Windows-1252, CR LF), like the database
  --overwrite     with --save: empty FILE before the first record, then append
  --json          one JSON object per line for each equation (see below)
  --batch         read the equations from standard input, coefficient texts separated by
                  blanks or tabs; blank lines and lines starting with "#" are skipped
  --jobs N        with --batch: solve on N threads (default: one for each core); the output
                  and the records are the same, in input order, whatever N
  --long-scans    allow a bisection scan of more than 100000000 steps ((max - min) / inc)
  -h, --help      show this help
  --version       show the version

Plain output: the equation, the solution lines, the status text (if any), "Irreducible
factor: ..." (if any) and "P(X) = value" (with --test), one per line; in batch mode every result
ends with an empty line. Error message texts go to standard error, and so do the messages of
records that could not be saved. On a terminal, a bisection scan that takes more than a second
shows its progress there; Ctrl+C ends the run, keeping what was written.

JSON output, one object per equation:
  equation             the equation text
  lines                the solution lines, in order
  roots                the root texts as stored for the record, in order
  status               the status text ("" when none)
  factor               the irreducible factor ("" when none)
  factor_coefficients  with --method rational: 13 numbers, index = power of x; otherwise null
  all_roots            with --method all only: each distinct root as {"re", "im" (the nearest
                       doubles), "multiplicity", "radius" (bounds the distance to the true root,
                       0 when exact), "exact" (the exact form or null), "text"}
  test                 {"x": text, "value": text or null} with --test, otherwise null
  errors               the error messages, in order: [{"text", "title", "icon"}], icon "none"
                       or "critical"
  record               the database record line, without CR LF
In batch mode each object starts with "line" (the input line number), and an invalid line gives
{"line": N, "error": "..."}.

Exit status:
  0    success (a status such as "No solution found" is not a failure)
  1    an error message (such as "Overflow"), an invalid batch line, a record that could not be
       saved, or a failure to write standard output or read standard input
  2    invalid arguments or option values, an invalid coefficient, a zero denominator, a
       coefficient beyond the methods' 32 bits, a method not offered for the equation, or a
       bisection scan too long without --long-scans
  130  ended by Ctrl+C
)";
}

std::string VersionText() {
    return std::string("valdrex-solve ") + VALDREX_VERSION;
}

} // namespace valdrex::cli
