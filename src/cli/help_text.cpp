#include "cli/help_text.h"

namespace valdrex::cli {

std::string HelpText() {
    return R"(Usage: valdrex-solve [OPTIONS] COEFFICIENT...   one equation, highest power first
       valdrex-solve [OPTIONS] --batch            one equation per line of standard input

Solves P(x) = 0 the way the Valdrex main window does and prints what it would show.
COEFFICIENT: 1 to 13 numbers, the last one the constant term, each an integer, a decimal or a
fraction ("1 -3 2" is x^2 - 3x + 2; "-0.5" and "3/4" are fine). "--" ends the options.

Options:
  --method M      exact (default, degree 4 at most), rational, bairstow, bisection or newton
                  (the approximate methods need degree 3 or more)
  --numeric       quadratic roots as numbers instead of the symbolic form
  --accuracy D    accuracy digits of the approximate methods, one digit 0 to 8 (default 8)
  --p P, --q Q    Bairstow start values (default 0, 0)
  --min A, --max B, --inc H
                  bisection interval and increment (default -10, 10, .1)
  --x0 X          Newton start point (default 0)
                  (option values are signed decimals, as typed in the method dialogs)
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
