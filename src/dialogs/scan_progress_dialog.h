#pragma once

#include "solvers/approx/method_options.h"

#include <atomic>
#include <functional>

class QWidget;

namespace valdrex {

// Runs a solve on a thread of its own while the window's thread waits for it. Nothing is shown
// while the solve is short; once it has run about 300 ms a modal window shows how far a scan
// has got (a busy bar for a method that does not say), with a Cancel button that stops the
// solve between two of its steps. The window's thread never runs the solve, so the window
// repaints and Cancel is answered at once however long a step of the method takes; the modal
// window keeps every other command away from the model meanwhile.
class ScanProgressDialog {
  public:
    // The solve, given the callback for a scan's progress and the flag that stops it.
    using Solve = std::function<void(const ScanProgress& progress, const std::atomic<bool>* stop)>;

    explicit ScanProgressDialog(QWidget* parent) : parent_(parent) {}
    ScanProgressDialog(const ScanProgressDialog&) = delete;
    ScanProgressDialog& operator=(const ScanProgressDialog&) = delete;

    // Returns once the solve has ended, by itself or stopped by Cancel; rethrows what it threw.
    void Run(const Solve& solve);

  private:
    QWidget* parent_;
};

} // namespace valdrex
