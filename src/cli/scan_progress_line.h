#pragma once

namespace valdrex::cli {

// Whether standard error is a terminal, where long scans show how far they have got.
bool ProgressShown();

// "valdrex-solve: line 12: scanning, 42%" over the terminal's last line (no "line" for 0).
void ShowScanProgress(int line, int percent);
// Erases the progress line.
void ClearScanProgress();

} // namespace valdrex::cli
