#include "cli/interrupt.h"

#include <atomic>
#include <csignal>

namespace valdrex::cli {
namespace {

std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) {
    interrupted.store(true, std::memory_order_relaxed);
}

} // namespace

void CatchInterrupt() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: a waiting read returns EINTR
    sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() {
    return interrupted.load(std::memory_order_relaxed);
}

} // namespace valdrex::cli
