#pragma once

namespace valdrex::cli {

// Ctrl+C asks the run to end cleanly: the handler only sets a flag, which the batch loop, the
// line reader and a long scan's progress read. A wait for input returns at once.
void CatchInterrupt();

bool Interrupted();

// Waits until `fd` can be read without waiting. False once Ctrl+C was pressed, even just before
// the wait began: a press between a look at the flag and a plain read would be lost, and the
// read would wait for input that may never come.
bool WaitForInput(int fd);

// The customary exit status of a program ended by SIGINT.
inline constexpr int kExitInterrupted = 130;

} // namespace valdrex::cli
