#pragma once

#include "core/coefficient_text.h"
#include "solvers/approx/method_options.h"
#include "solvers/exact/solution_list.h"

#include <atomic>
#include <span>
#include <string>
#include <string_view>

namespace valdrex {

// The solve methods, one row each in MethodTable().
enum class SolveMethod { Exact, Rational, Bairstow, Bisection, Newton, AllRoots };

// Where a method's item sits in the Maths menu: above the Approximate roots submenu, in it (the
// approximate methods), or below it. Within a place the items follow the table.
enum class MenuPlace { AboveApproximate, Approximate, BelowApproximate };

// A method option as the command line takes it: the option's name, the key rule of the dialog
// box it stands for, the text it sets, and the help lines that introduce it (empty when a
// neighbour's lines introduce it too). A spin box's option takes a whole number from 1 to
// `wholeUpTo` instead of keys.
struct OptionText {
    std::string_view name;
    KeyRule rule;
    std::string MethodOptions::*field;
    std::string_view help;
    int wholeUpTo = 0;
};

// One labelled box of a method's options form and the option text it edits. A box whose
// option takes a whole number is a spin box.
struct OptionBox {
    const OptionText* option;
    std::string_view boxName;
    std::string_view labelName;
    std::string_view caption; // "&" before its access key
    // A smaller text set lower after the caption, read as its subscript ("X" "0": X0).
    std::string_view subscriptName = {};
    std::string_view subscript = {};
    // Shown above the other boxes, yet reached last with Tab, after the accuracy spinner.
    bool reachedLast = false;
};

// A method's options form, from which the dialogs layer builds its dialog: the explanation at
// the top; on the left, when the method has one, the accuracy box (one digit, 0 to 8) with a
// spinner from 1 to 8 that follows it; the other boxes on the right, top to bottom; OK
// (default) and Cancel (Esc) at the bottom. Tab goes through the accuracy box, the other
// boxes, OK, Cancel and the spinner.
struct OptionsForm {
    std::string_view objectName;
    std::string_view title;
    std::string_view explanationName;
    std::string_view explanation;
    std::string_view spinnerName = {}; // empty: no accuracy box
    OptionBox accuracy = {};
    std::span<const OptionBox> boxes;
    std::string_view okName;
    std::string_view cancelName;
};

// What a solver may read besides the working polynomial and values of its context.
struct SolveRequest {
    const CoefficientTexts& coefficients; // as typed
    const MethodOptions& options;
    const ScanProgress& progress; // may be empty
    // Set by another thread to stop a long solve between two of its steps; may be null.
    const std::atomic<bool>* stop;
};

// Everything the window and the command line know of one method.
struct MethodRow {
    SolveMethod id;
    std::string_view cliName;
    std::string_view helpNote; // what it finds, said after the name in the command-line help
    std::string_view caption;  // Maths menu item, "&" before its access key
    std::string_view objectName;
    char ctrlKey = 0; // the item's shortcut is Ctrl with this letter; 0: none
    MenuPlace menuPlace;
    // The Maths menu rule: whether the method is offered for a grid whose highest non-zero
    // power is `degree` (0 for an empty grid).
    bool (*offered)(int degree);
    std::string_view notOfferedReason;                  // why not, for the command line
    const OptionsForm* optionsForm = nullptr;           // none: the method asks nothing
    std::span<const OptionText* const> cliOptions = {}; // the form's texts, as command-line options
    // The solver: fills the context's solution list, texts, status and errors.
    void (*solve)(SolveContext& ctx, const SolveRequest& request);
    bool leavesFactorCoefficients = false; // the context's polynomial is then the factor's
    // The solver reads the coefficient texts itself, beyond the 32-bit limit of the grid's own
    // reading, and reports their zero denominators in the context; its polynomial starts empty.
    bool readsTextsExactly = false;
};

// Every method, in the order the command line lists them.
std::span<const MethodRow> MethodTable();
const MethodRow& MethodRowOf(SolveMethod method);

inline bool IsApproximate(const MethodRow& row) {
    return row.menuPlace == MenuPlace::Approximate;
}

// Which Maths commands are offered for the grid, decided when the menu opens.
struct MathsMenuState {
    int degree = 0; // the highest power whose box holds a non-zero value
    bool offers(SolveMethod method) const { return MethodRowOf(method).offered(degree); }
    bool operator==(const MathsMenuState&) const = default;
};
MathsMenuState MathsMenuEnabling(const CoefficientTexts& coefficients);

} // namespace valdrex
