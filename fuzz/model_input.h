#pragma once

// The model fuzzer's input format, shared with the worst-case benchmark that replays its corpus.
//
// Lines. Lines 1 to 13 are the boxes of x^12 down to x^0; then the accuracy, Bairstow's P and
// Q, the bisection's Min, Max and increment, Newton's X0, the number to test, and a line whose
// first character "0" turns the symbolic quadratic form off. Missing lines keep the boxes at
// "0" and the options at their defaults.

#include "model/main_model.h"

#include <string>
#include <string_view>
#include <vector>

namespace valdrex::fuzz {

struct ModelInput {
    std::vector<std::string> boxes; // x^12 first; may be fewer than 13
    MethodOptions options;
    std::string testInput;
    bool evaluateSymbolically = true;
};

inline ModelInput ReadModelInput(std::string_view bytes) {
    std::vector<std::string> lines;
    for (;;) {
        const std::size_t end = bytes.find('\n');
        lines.emplace_back(bytes.substr(0, end));
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    const auto take = [&](std::size_t i, std::string& field) {
        if (i < lines.size())
            field = lines[i];
    };
    ModelInput in;
    for (std::size_t i = 0; i < lines.size() && i < kCoefficientCount; ++i)
        in.boxes.push_back(lines[i]);
    MethodOptions& o = in.options;
    take(13, o.AccuracyText);
    take(14, o.BairstowPText);
    take(15, o.BairstowQText);
    take(16, o.BisectionMinText);
    take(17, o.BisectionMaxText);
    take(18, o.BisectionIncText);
    take(19, o.NewtonX0Text);
    take(20, in.testInput);
    in.evaluateSymbolically = !(lines.size() > 21 && lines[21].rfind('0', 0) == 0);
    return in;
}

// Settings for a run that writes nothing to disk, and the options as confirmed in their dialog.
inline void ApplySettings(const ModelInput& in, ModuleState& state) {
    state.SaveEquations = false;
    state.EvaluateSymbolically = in.evaluateSymbolically;
    state.Options = in.options;
}

// Types the boxes into the grid; returns the boxes the equation text reported.
inline ErrorBoxes TypeBoxes(const ModelInput& in, MainModel& model) {
    ErrorBoxes all;
    for (std::size_t i = 0; i < in.boxes.size(); ++i) {
        const ErrorBoxes some =
            model.SetCoefficient(kCoefficientCount - 1 - static_cast<int>(i), in.boxes[i]);
        all.insert(all.end(), some.begin(), some.end());
    }
    return all;
}

// A scan over a vast interval is one the user asked for and may cancel; replays cancel it at
// its first progress report.
inline bool CancelScan(double) {
    return false;
}

} // namespace valdrex::fuzz
