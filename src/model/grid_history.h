#pragma once

#include "model/main_model.h"

#include <cstddef>
#include <deque>

namespace valdrex {

// Undo and redo for the window as a whole. Each command that changes the grid (a box's edit,
// Set all to zero, Put, a typed equation, a record loaded from the log) is one step. Undoing a
// step puts back what the step changed (the grid, and the note and results where it changed
// them) and leaves what other commands changed since, such as a note typed later.
class GridHistory {
  public:
    static constexpr std::size_t kDepth = 200; // steps kept; the oldest go first

    // Marks a step that is no box's edit.
    static constexpr int kCommand = -1;

    explicit GridHistory(MainModel& model) : model_(model) {}

    // Runs `command` on the model as one step. `box` is the power of the box being edited, or
    // kCommand; an edit of the same box right after the last one, with nothing else changed in
    // between, joins that step, so that a typed number goes back as one.
    template <typename Command> auto Record(int box, Command&& command) {
        MainModel::Snapshot before = model_.TakeSnapshot();
        auto result = command();
        Push(box, std::move(before));
        return result;
    }

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    void Undo();
    void Redo();

  private:
    struct Step {
        int box;
        MainModel::Snapshot before, after;
    };
    void Push(int box, MainModel::Snapshot before);
    // Takes the newest step of `from` back (or does it `again`) and keeps it in `to`.
    void Move(std::deque<Step>& from, std::deque<Step>& to, bool again);

    MainModel& model_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
};

} // namespace valdrex
