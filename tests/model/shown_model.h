#pragma once

#include "model/main_model.h"

#include <string>
#include <vector>

namespace valdrex {

using ShownLines = std::vector<std::string>;

// Every text a window shows, and what the next command would read, in one line.
inline std::string Shown(const MainModel& m) {
    std::string s = m.equation() + "|" + m.message() + "|" + m.info() + "|" + m.input() + "|" +
                    m.output() + "|" + m.note() + "|" + m.factor() + "|" +
                    (m.resultsOutdated() ? "outdated|" : "|");
    for (const std::string& text : m.coefficients())
        s += text + ",";
    for (const std::string& line : m.solutionLines())
        s += line + ";";
    for (const std::string& text : m.solText())
        s += text + ";";
    for (double v : m.workingPolynomial())
        s += std::to_string(v) + ",";
    for (double v : m.factorCoefficients())
        s += std::to_string(v) + ",";
    const WorkingValues& w = m.workingValues();
    for (double v : {w.B, w.C, w.D, w.E, w.F, w.G, w.H, w.T, w.RZ, w.PIZ, w.RootValues[0]})
        s += std::to_string(v) + ",";
    return s;
}

} // namespace valdrex
