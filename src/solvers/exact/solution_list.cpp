#include "solvers/exact/solution_list.h"

#include "core/checked_math.h"
#include "core/number_text.h"

#include <charconv>

namespace valdrex {

void SolveContext::AddRoot(int k, std::string_view text) {
    char number[4];
    char* const numberEnd = std::to_chars(number, number + sizeof number, k).ptr;
    std::string& line = lines.emplace_back();
    if (!spareLines.empty()) { // its storage, rather than a new one
        line.swap(spareLines.back());
        spareLines.pop_back();
        line.clear();
    }
    line.reserve(text.size() + 5);
    line += 'x';
    line.append(number, static_cast<std::size_t>(numberEnd - number));
    line += " =";
    line += text;
    SolText[k].assign(text);
}

void SolveContext::SetAsideLines() {
    for (std::string& line : lines)
        spareLines.push_back(std::move(line));
    lines.clear();
}

void SolveContext::SetAsideAllRoots() {
    if (allRoots.empty())
        return;
    spareRoots.swap(allRoots);
    allRoots.clear();
}

std::string SingleText(double value) {
    return NumberToStr(ToSingle(value));
}

} // namespace valdrex
