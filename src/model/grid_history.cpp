#include "model/grid_history.h"

#include <utility>

namespace valdrex {

bool MainModel::Snapshot::Results::operator==(const Results& other) const {
    return lines == other.lines && SolText == other.SolText && message == other.message &&
           factor == other.factor && factorCoefficients == other.factorCoefficients &&
           solvedFor == other.solvedFor;
}

MainModel::Snapshot MainModel::TakeSnapshot() const {
    TieResultsToGrid();
    return {coefficients_,
            equation_,
            equationStale_,
            {solve_.lines, solve_.SolText, solve_.allRoots, message_, factor_, factorCoefficients_,
             resultsFor_},
            info_,
            input_,
            output_,
            note_};
}

void MainModel::RestoreChanges(const Snapshot& from, const Snapshot& to) {
    TieResultsToGrid();
    const auto restore = [](auto& field, const auto& was, const auto& becomes) {
        if (!(was == becomes))
            field = becomes;
    };
    if (from.coefficients != to.coefficients || from.equation != to.equation ||
        from.equationStale != to.equationStale) {
        coefficients_ = to.coefficients;
        equation_ = to.equation;
        equationStale_ = to.equationStale;
        equationShowsTexts_ = false;
        // As after any change of the grid, the test boxes hold no number of another equation.
        input_ = to.input;
        output_ = to.output;
    }
    if (!(from.results == to.results)) {
        solve_.lines = to.results.lines;
        solve_.SolText = to.results.SolText;
        solve_.allRoots = to.results.allRoots;
        message_ = to.results.message;
        factor_ = to.results.factor;
        factorCoefficients_ = to.results.factorCoefficients;
        resultsFor_ = to.results.solvedFor;
        resultsForThisGrid_ = false;
    }
    restore(info_, from.info, to.info);
    restore(input_, from.input, to.input);
    restore(output_, from.output, to.output);
    restore(note_, from.note, to.note);
}

void GridHistory::Push(int box, MainModel::Snapshot before) {
    MainModel::Snapshot after = model_.TakeSnapshot();
    if (after == before)
        return;
    redo_.clear();
    if (box != kCommand && !undo_.empty() && undo_.back().box == box &&
        undo_.back().after == before) {
        undo_.back().after = std::move(after);
        return;
    }
    undo_.push_back({box, std::move(before), std::move(after)});
    if (undo_.size() > kDepth)
        undo_.pop_front();
}

void GridHistory::Undo() {
    Move(undo_, redo_, false);
}

void GridHistory::Redo() {
    Move(redo_, undo_, true);
}

void GridHistory::Move(std::deque<Step>& from, std::deque<Step>& to, bool again) {
    if (from.empty())
        return;
    Step step = std::move(from.back());
    from.pop_back();
    if (again)
        model_.RestoreChanges(step.before, step.after);
    else
        model_.RestoreChanges(step.after, step.before);
    to.push_back(std::move(step));
}

} // namespace valdrex
