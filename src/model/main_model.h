#pragma once

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/working_polynomial.h"
#include "database/record.h"
#include "model/method_table.h"
#include "model/module_state.h"
#include "solvers/approx/method_options.h"
#include "solvers/exact/solution_list.h"

#include <atomic>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex {

// Boxes of the failures to show, in the order they happened.
using ErrorBoxes = std::vector<ErrorBox>;

// A box whose text a command could not read, and why.
struct UnreadBox {
    enum class Box { Coefficient, Input } box = Box::Coefficient;
    int power = 0; // the coefficient's power, for Box::Coefficient
    ReadFault why = ReadFault::ZeroDenominator;
    bool operator==(const UnreadBox&) const = default;
};

// What one solve did. The texts are views into the model, valid until its next command; when
// `unread` names a box, the method did not run and the outputs are still those of the solve
// before.
struct SolveResult {
    std::span<const std::string> coefficients = {}; // the texts solved as typed, index = power
    std::string_view equation = {};                 // and their equation text
    std::string_view status = {};
    std::span<const std::string> lines = {};     // the solution list
    std::span<const std::string> rootTexts = {}; // the texts of roots 1 to 12, empty ones included
    std::span<const FoundRoot> allRoots = {};    // every distinct root, from the all-roots method
    std::string_view factor = {};                // the irreducible factor the rational roots leave
    const Polynomial* factorCoefficients = nullptr; // its coefficients, when the method leaves them
    std::optional<RecordLine> record = {};          // the record to save, when solves save theirs
    std::span<const ErrorBox> errors = {};          // the failures, in the order they happened
    std::optional<UnreadBox> unread = {}; // the box that stopped the solve before its method
    bool cancelled = false;               // stopped before the method had finished
};

// What Test did: P at the number is in the output box unless a failure or an unread box
// stopped it.
struct TestResult {
    ErrorBoxes errors;
    std::optional<UnreadBox> unread;
};

// What EnterEquation did: the typed equation is in the grid, or why it is not.
struct EnterEquationResult {
    bool entered = false;
    std::string error; // why not, with where: "expected a number or x at column 7"
    int column = 0;    // where, 1-based, in characters (0 when entered)
};

// The main window without widgets: the texts of its boxes and labels, the solution list and
// every command that changes them. The window and the command-line front end both drive it,
// so a command gives the same texts in either.
class MainModel {
  public:
    // Writes one line to the database file, or replaces the file with it; fails with a
    // RuntimeFailure carrying errno.
    using DatabaseLineWriter = void (*)(const std::string& path, std::string_view utf8Line,
                                        bool truncateFirst);

    // The database file is written with AppendLine.
    explicit MainModel(ModuleState& state);
    // With `appendLine` null the model writes no file: a solve's record is only in its result,
    // for the caller to save, and ExportToFile and Update are not to be called.
    MainModel(ModuleState& state, DatabaseLineWriter appendLine);

    // Makes the model a new window's again: every box "0", nothing left from earlier commands.
    // The texts keep their storage, up to a few kilobytes, so a model renewed for each equation
    // allocates little.
    void Renew();

    ModuleState& state() { return state_; }
    const ModuleState& state() const { return state_; }

    const CoefficientTexts& coefficients() const { return coefficients_; }
    const std::string& equation() const { return equation_; }
    const std::vector<std::string>& solutionLines() const { return solve_.lines; }
    const std::array<std::string, kMaxRoots + 1>& solText() const { return solve_.SolText; }
    const std::string& message() const { return message_; }
    const std::string& info() const { return info_; }
    const std::string& input() const { return input_; }
    const std::string& output() const { return output_; }
    const std::string& note() const { return note_; }
    const std::string& factor() const { return factor_; }
    bool putEnabled() const { return !factor_.empty(); }
    const Polynomial& workingPolynomial() const { return solve_.a; }
    const Polynomial& factorCoefficients() const { return factorCoefficients_; }
    const WorkingValues& workingValues() const { return solve_.w; }
    // Every distinct root the all-roots method found in the last solve.
    const std::vector<FoundRoot>& allRoots() const { return solve_.allRoots; }
    // Whether the solution list, the status and the factor belong to an equation the grid no
    // longer holds: a coefficient changed since the command that left them.
    bool resultsOutdated() const;

    // A coefficient box's text changed (typed, pasted or set by a command): the test boxes
    // are emptied and the equation text is built again.
    ErrorBoxes SetCoefficient(int power, std::string text);
    // SetCoefficient for each text in turn, the first one for the highest power, the last one
    // for the constant term.
    ErrorBoxes SetCoefficients(std::span<const std::string_view> highestFirst);
    // A typed equation ("x^3 - 6x^2 + 11x - 6 = 0", "(x-1)^2(x+3)") expanded exactly into the
    // thirteen boxes, as SetCoefficients would set them, with its exact equation text. On a
    // failure nothing changes.
    EnterEquationResult EnterEquation(std::string_view utf8Text);
    // A new number to test: P of the old one goes.
    void SetInput(const std::string& text);
    void SetNote(const std::string& text) { note_ = text; }
    // Cut and Paste reach the read-only boxes too, and the record shows what they hold.
    void SetEquation(const std::string& text) { equation_ = text; }
    void SetOutput(const std::string& text) { output_ = text; }
    void SetFactor(const std::string& text) { factor_ = text; }

    // "Set all to zero".
    ErrorBoxes ClearAll();
    // "Put": the irreducible factor into the grid.
    ErrorBoxes Put();
    // "Test": P at the input number.
    TestResult Test();
    // Reads the typed coefficients for "Test many numbers", whose window may open when nothing
    // failed.
    TestResult PrepareTestMany();

    // The solve command: the grid read as the method reads it, then the method with `options`;
    // `progress` is offered to a long scan, and `stop`, once another thread sets it, stops a
    // long solve (the result then says cancelled). When solves save their records, the record
    // of a solve that was not cancelled is written (a model without a writer leaves it in the
    // result).
    SolveResult Solve(SolveMethod method, const MethodOptions& options,
                      const ScanProgress& progress = {}, const std::atomic<bool>* stop = nullptr);
    // The same in two steps, for a window that asks for the options in between. StartSolve reads
    // the grid and empties the outputs; a box it cannot read ends the solve, and its result names
    // the box. Otherwise FinishSolve runs the method.
    SolveResult StartSolve(SolveMethod method);
    SolveResult FinishSolve(const MethodOptions& options, const ScanProgress& progress = {},
                            const std::atomic<bool>* stop = nullptr);

    // Appends the record to the database file (or empties the file first in overwrite mode).
    ErrorBoxes ExportToFile();
    // The record and the annotation as one text for the clipboard; reports in the info label.
    std::string CopyAllText();
    // "Update": the record when solves do not save it, then the annotation line.
    ErrorBoxes Update();

  private:
    // StartSolve's reading and emptying; false when a box could not be read.
    bool ReadForSolve(SolveMethod method);
    SolveResult Result() const;
    // The record of the texts as they stand: its tail into recordTail_.
    void BuildRecord();
    // Writes the record to the database file: a box when that fails, the info label when not.
    ErrorBoxes WriteRecord();
    // A command that could not read a box leaves no results beside its message.
    void DropResults();

    ModuleState& state_;
    DatabaseLineWriter appendLine_;
    CoefficientTexts coefficients_;
    std::string equation_ = "0 = 0";
    std::string equationDraft_;       // where SetCoefficients draws, keeping equation_ on a failure
    bool equationStale_ = false;      // the last drawing failed: equation_ is an earlier grid's
    bool equationShowsTexts_ = false; // known to show every text's value as typed
    SolveContext solve_; // the last run: working polynomial and values, solution list and texts
    std::string message_;
    std::string info_;
    std::string input_;
    std::string output_;
    std::string note_;
    std::string factor_;
    Polynomial factorCoefficients_{};
    // The last solve, besides the texts above; kept between solves for their storage.
    const MethodRow* method_ = &MethodRowOf(SolveMethod::Exact);
    ErrorBoxes errors_;
    std::string recordTail_; // the record after its equation, which is equation_
    bool recordToSave_ = false;
    std::optional<UnreadBox> unread_;
    // The fingerprint of the grid the shown results came from (a grid of any size, told apart
    // without a copy of it); empty while nothing is shown. Taken only when the grid is about to
    // change or a snapshot needs it, so that a run of solves without edits never takes one.
    mutable std::optional<std::size_t> resultsFor_;
    mutable bool resultsForThisGrid_ = false; // shown results of the grid as it stands
    void NoResultsShown();
    void ResultsOfThisGridShown();
    void TieResultsToGrid() const;

  public:
    // What the window shows, as the grid history keeps it for each step (grid_history.cpp).
    struct Snapshot {
        CoefficientTexts coefficients;
        std::string equation;
        bool equationStale;
        struct Results {
            std::vector<std::string> lines;
            std::array<std::string, kMaxRoots + 1> SolText;
            std::vector<FoundRoot> allRoots; // follow the lines, so not compared
            std::string message, factor;
            Polynomial factorCoefficients;
            std::optional<std::size_t> solvedFor;
            bool operator==(const Results& other) const;
        } results;
        std::string info, input, output, note;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot TakeSnapshot() const;
    // Puts back each part of the window that differs between `from` and `to` as it is in `to`;
    // the other parts stay as they are now.
    void RestoreChanges(const Snapshot& from, const Snapshot& to);
};

} // namespace valdrex
