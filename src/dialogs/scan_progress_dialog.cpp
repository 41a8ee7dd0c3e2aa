#include "dialogs/scan_progress_dialog.h"

#include "core/failure.h"
#include "dialogs/dialog_parts.h"

#include <QCoreApplication>
#include <QProgressDialog>

#include <algorithm>

namespace valdrex {
namespace {

// Scans shorter than this finish without a window flashing up.
constexpr qint64 kShowAfterMilliseconds = 500;

int Percentage(double shareScanned) {
    return static_cast<int>(std::clamp(shareScanned, 0.0, 1.0) * 100.0);
}

} // namespace

ScanProgressDialog::ScanProgressDialog(QWidget* parent) : parent_(parent) {}

ScanProgressDialog::~ScanProgressDialog() = default;

ScanProgress ScanProgressDialog::callback() {
    return [this](double shareScanned) { return Report(shareScanned); };
}

bool ScanProgressDialog::Report(double shareScanned) {
    // The clock starts with the scan, not when the options dialog opened before it.
    if (!sinceFirstReport_.isValid())
        sinceFirstReport_.start();
    if (!window_) {
        if (sinceFirstReport_.elapsed() < kShowAfterMilliseconds)
            return true;
        window_ = std::make_unique<QProgressDialog>(QStringLiteral("Scanning the interval..."),
                                                    QStringLiteral("&Cancel"), 0, 100, parent_,
                                                    kDialogFrame);
        window_->setObjectName("frmScanProgress");
        window_->setWindowTitle(QString::fromUtf8(kAppTitle));
        window_->setWindowIcon(ProgramIcon());
        // Modal for the whole program: no other command may start while the scan runs.
        window_->setWindowModality(Qt::ApplicationModal);
        window_->setAutoReset(false);
        window_->setAutoClose(false);
        window_->setMinimumDuration(0);
        window_->show();
    }
    window_->setValue(Percentage(shareScanned));
    QCoreApplication::processEvents();
    return !window_->wasCanceled();
}

} // namespace valdrex
