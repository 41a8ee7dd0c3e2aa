#include "solvers/exact/solution_list.h"

#include "core/checked_math.h"
#include "core/number_text.h"

#include <array>
#include <charconv>

namespace valdrex {

void SolveContext::AddRoot(int k, std::string_view text) {
    std::array<char, 8> head{'x'}; // "x", k and " =", written in one piece
    char* const headEnd = std::to_chars(head.data() + 1, head.data() + 6, k).ptr;
    headEnd[0] = ' ';
    headEnd[1] = '=';
    std::string& line = lines.emplace_back();
    if (!spareLines.empty()) { // its storage, rather than a new one
        line.swap(spareLines.back());
        spareLines.pop_back();
    }
    line.assign(head.data(), static_cast<std::size_t>(headEnd + 2 - head.data()));
    line.append(text);
    SolText[k].assign(text);
}

void SolveContext::SetAsideLines() {
    if (spareLines.empty()) { // as usual: the lines change places with no line moved
        spareLines.swap(lines);
        return;
    }
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
