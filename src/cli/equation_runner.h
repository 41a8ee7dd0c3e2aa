#pragma once

#include "cli/cli_options.h"
#include "cli/equation_report.h"
#include "database/record.h"
#include "model/main_model.h"
#include "model/module_state.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace valdrex::cli {

// Solves equations with the main window's own model, renewed as a fresh window for each equation:
// the coefficients typed into their boxes, the test number tested, then the chosen solve command
// with the command line's option texts standing in for the method dialog.
class EquationRunner {
  public:
    explicit EquationRunner(const CliOptions& options);

    // Solves one equation (coefficient texts already checked, highest power first). Returns why
    // it could not be solved (a method the Maths menu does not offer, a zero denominator), or
    // fills `report` with views that stay valid until the next call.
    std::optional<std::string> Solve(std::span<const std::string_view> coefficients,
                                     EquationReport& report);

    // Whether any record could not be written to the --save file.
    bool saveFailed() const { return saveFailed_; }

  private:
    const CliOptions& options_;
    ModuleState state_;
    MainModel::OptionsDialog optionsDialog_;
    MainModel model_;
    ErrorBoxes errors_;
    RecordFields fields_; // reused, so that copying the texts allocates nothing
    std::string record_;
    bool saveFailed_ = false;
};

} // namespace valdrex::cli
