#pragma once

#include "solvers/approx/method_options.h"

#include <QElapsedTimer>

#include <memory>

class QProgressDialog;
class QWidget;

namespace valdrex {

// Progress of a long bisection scan. Nothing is shown while the scan is short; once it has run
// about half a second a modal window shows the share of the interval scanned and a Cancel
// button, and every report lets pending window events run so that the window stays alive.
class ScanProgressDialog {
  public:
    explicit ScanProgressDialog(QWidget* parent);
    ~ScanProgressDialog();
    ScanProgressDialog(const ScanProgressDialog&) = delete;
    ScanProgressDialog& operator=(const ScanProgressDialog&) = delete;

    // The callback for the scan; it returns false once the user has pressed Cancel. It refers to
    // this object, which must outlive the scan.
    ScanProgress callback();

  private:
    bool Report(double shareScanned);

    QWidget* parent_;
    QElapsedTimer sinceFirstReport_;
    std::unique_ptr<QProgressDialog> window_;
};

} // namespace valdrex
