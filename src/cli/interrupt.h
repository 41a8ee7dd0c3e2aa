#pragma once

namespace valdrex::cli {

// Ctrl+C asks the run to end cleanly: the handler only sets a flag, which the batch loop, the
// line reader and a long scan's progress read. A read waiting for input returns at once.
void CatchInterrupt();

bool Interrupted();

// The customary exit status of a program ended by SIGINT.
inline constexpr int kExitInterrupted = 130;

} // namespace valdrex::cli
