#include "dialogs/scan_progress_dialog.h"

#include "core/failure.h"
#include "dialogs/dialog_parts.h"
#include "solvers/all_roots/all_roots.h"

#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace valdrex {
namespace {

// Solves shorter than this finish without a window flashing up.
constexpr auto kShowAfter = std::chrono::milliseconds(300);
// How often the window looks at the solve: often enough that its end shows at once.
constexpr int kPollMilliseconds = 10;

// The solve's thread and what the window's thread learns from it.
class SolveThread {
  public:
    explicit SolveThread(const ScanProgressDialog::Solve& solve)
        : thread_([this, &solve] {
              try {
                  solve([this](double share) { return Report(share); }, &stop_);
              } catch (...) {
                  failure_ = std::current_exception();
              }
              EndAllRootsThread(); // its big-number memory would be lost with the thread
              const std::lock_guard hold(lock_);
              done_ = true;
              ended_.notify_all();
          }) {}

    // Only reached without Finish when the window could not be shown.
    ~SolveThread() {
        if (thread_.joinable()) {
            stop_ = true;
            thread_.join();
        }
    }

    // Whether the solve ended within `time`.
    bool EndsWithin(std::chrono::milliseconds time) {
        std::unique_lock hold(lock_);
        return ended_.wait_for(hold, time, [this] { return done_; });
    }
    bool done() {
        const std::lock_guard hold(lock_);
        return done_;
    }
    // The share a scan last reported, negative before its first report.
    double share() const { return share_; }

    // Waits for the end, stopping the solve first when asked to; rethrows what it threw.
    void Finish(bool stop) {
        stop_ = stop_ || stop;
        thread_.join();
        if (failure_)
            std::rethrow_exception(failure_);
    }

  private:
    bool Report(double share) {
        share_ = share;
        return !stop_;
    }

    std::atomic<bool> stop_{false};
    std::atomic<double> share_{-1};
    std::mutex lock_;
    std::condition_variable ended_;
    bool done_ = false;
    std::exception_ptr failure_;
    std::thread thread_; // last: it starts once the rest is ready
};

} // namespace

void ScanProgressDialog::Run(const Solve& solve) {
    SolveThread thread(solve);
    if (thread.EndsWithin(kShowAfter)) {
        thread.Finish(false);
        return;
    }
    QProgressDialog window(QStringLiteral("Solving the equation..."), QStringLiteral("&Cancel"), 0,
                           0, parent_, kDialogFrame);
    window.setObjectName("frmScanProgress");
    window.setWindowTitle(QString::fromUtf8(kAppTitle));
    window.setWindowIcon(ProgramIcon());
    // Modal for the whole program: no other command may reach the model while the solve runs.
    window.setWindowModality(Qt::ApplicationModal);
    window.setAutoReset(false);
    window.setAutoClose(false);
    window.setMinimumDuration(0);
    const auto look = [&] {
        if (thread.done()) {
            window.accept();
            return;
        }
        if (const double share = thread.share(); share >= 0) {
            if (window.maximum() == 0) {
                window.setLabelText(QStringLiteral("Scanning the interval..."));
                window.setMaximum(100);
            }
            window.setValue(static_cast<int>(std::clamp(share, 0.0, 1.0) * 100.0));
        }
    };
    look();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, look);
    poll.start(kPollMilliseconds);
    // Cancel, Esc or closing the window stop the solve.
    thread.Finish(window.exec() != QDialog::Accepted);
}

} // namespace valdrex
