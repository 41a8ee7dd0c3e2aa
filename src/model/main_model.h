#pragma once

#include "core/coefficient_text.h"
#include "core/failure.h"
#include "model/method_table.h"
#include "model/module_state.h"
#include "solvers/approx/method_options.h"
#include "solvers/exact/solution_list.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace valdrex {

// Which box should take the focus after a command (a zero denominator points at its box).
struct FocusRequest {
    enum class Box { Coefficient, Input } box;
    int index = 0; // coefficient power, for Box::Coefficient
    bool operator==(const FocusRequest&) const = default;
};

// Boxes of the failures to show, in the order they happened.
using ErrorBoxes = std::vector<ErrorBox>;

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
    MainModel(ModuleState& state, DatabaseLineWriter appendLine);

    // Makes the model a new window's again: every box "0", nothing left from earlier commands.
    // The texts keep their storage, so a model renewed for each equation allocates little.
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

    // A coefficient box's text changed (typed, pasted or set by a command): the test boxes
    // are emptied and the equation text is built again.
    ErrorBoxes SetCoefficient(int power, const std::string& text);
    // SetCoefficient for each text in turn, the first one for the highest power, the last one
    // for the constant term.
    ErrorBoxes SetCoefficients(std::span<const std::string_view> highestFirst);
    void SetInput(const std::string& text) { input_ = text; }
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
    ErrorBoxes Test();
    // Reads the typed coefficients for "Test many numbers"; `canOpen` tells whether its window
    // may open (not after a zero denominator or a failure).
    ErrorBoxes PrepareTestMany(bool& canOpen);

    // Shows the options form of a method; it resets the option texts, and sets them and
    // OptionsConfirmed when the user confirms.
    using OptionsDialog = std::function<void(const MethodRow& row, MethodOptions& options)>;
    // The solve command sequence around one solver. A method with an options form shows it
    // through `optionsDialog` (without one, the current options count as confirmed);
    // `progress` is offered to a long scan.
    ErrorBoxes Solve(SolveMethod method, const OptionsDialog& optionsDialog = {},
                     const ScanProgress& progress = {});

    // Appends the record to the database file (or empties the file first in overwrite mode).
    ErrorBoxes ExportToFile();
    // The record and the annotation as one text for the clipboard; reports in the info label.
    std::string CopyAllText();
    // "Update": the record when solves do not save it, then the annotation line.
    ErrorBoxes Update();

    // The focus a command asked for, once.
    std::optional<FocusRequest> TakeFocusRequest();

  private:
    ModuleState& state_;
    DatabaseLineWriter appendLine_;
    CoefficientTexts coefficients_;
    std::string equation_ = "0 = 0";
    std::string equationDraft_; // where SetCoefficients draws, keeping equation_ on a failure
    SolveContext solve_; // the last run: working polynomial and values, solution list and texts
    std::string message_;
    std::string info_;
    std::string input_;
    std::string output_;
    std::string note_;
    std::string factor_;
    Polynomial factorCoefficients_{};
    std::optional<FocusRequest> focus_;
};

} // namespace valdrex
