#include "cli/interrupt.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <poll.h>
#include <pthread.h>

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

bool WaitForInput(int fd) {
    // Ctrl+C is held back while the flag is read, and let through only inside ppoll, which
    // returns at once for a press held back.
    sigset_t interrupt, previous;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
    sigset_t waiting = previous;
    sigdelset(&waiting, SIGINT);
    pollfd input{fd, POLLIN, 0};
    while (!Interrupted() && ::ppoll(&input, 1, nullptr, &waiting) < 0 && errno == EINTR) {
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return !Interrupted();
}

} // namespace valdrex::cli
