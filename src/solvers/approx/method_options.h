#pragma once

#include <functional>
#include <string>

namespace valdrex {

// The methods' options, held as the texts the user typed; defaults as each options dialog
// resets them when it opens.
struct MethodOptions {
    bool OptionsConfirmed = false;
    std::string AccuracyText = "8";
    std::string BairstowPText = "0";
    std::string BairstowQText = "0";
    std::string BisectionMinText = "-10";
    std::string BisectionMaxText = "10";
    std::string BisectionIncText = ".1";
    std::string NewtonX0Text = "0";
    std::string DigitsText = "15"; // significant digits of the all-roots method
    // Not a setting: the all-roots method also writes each root's parts as decimal texts, for
    // a caller that shows them (the JSON output).
    bool PartDecimals = false;
};

// Called now and then during a long bisection scan with the share of the interval scanned
// (0 to 1); returning false cancels the scan.
using ScanProgress = std::function<bool(double shareScanned)>;

// The tolerance 10^(-digits) for an accuracy text read as a number: "8" gives 1E-08, an empty
// text or "0" gives 1, and a huge digit count gives 0 (a tolerance no correction ever beats).
double AccuracyTolerance(const std::string& accuracyText);

} // namespace valdrex
