#pragma once

// One equation, solved by the main window's own model.

#include "cli/command_line.h"
#include "cli/output_text.h"

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace valdrex::cli {

// Solves equations with the main window's own model, renewed as a fresh window for each equation:
// the coefficients typed into their boxes, the test number tested, then the chosen solve command
// with the command line's option texts. Each runner has a model of its own, so batch workers each
// use one.
class EquationRunner {
  public:
    explicit EquationRunner(const CliOptions& options);

    // Solves one equation, given as its grid texts (already read, highest power first) or as a
    // typed equation. Returns why it could not be solved (a typed equation that is none, a
    // method the Maths menu does not offer, a coefficient the method cannot read), or fills
    // `report` with views that stay valid until the next call.
    std::optional<std::string> Solve(std::span<const std::string_view> coefficients,
                                     EquationReport& report);
    std::optional<std::string> SolveTyped(std::string_view equation, EquationReport& report);

    // With --save: the record of the last solve, for the one writer of the file to append; empty
    // when there is none.
    RecordLine recordToSave() const { return recordToSave_; }

  private:
    // Solve once the grid holds the equation.
    std::optional<std::string> SolveGrid(EquationReport& report);
    bool OnScanProgress(double shareScanned);

    const CliOptions& options_;
    ModuleState state_;
    ScanProgress scanProgress_;
    MainModel model_;
    ErrorBoxes errors_;
    RecordLine recordToSave_;
    int line_ = 0;
    std::chrono::steady_clock::time_point scanStart_;
    int shownPercent_ = -1; // on the terminal's progress line, -1 when none is shown
};

} // namespace valdrex::cli
