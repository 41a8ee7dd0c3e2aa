#include "dialogs/scan_progress_dialog.h"
#include "gui_test.h"

#include <QProgressDialog>
#include <QThread>

namespace valdrex {
namespace {

TEST(ScanProgressDialog, ShowsThePercentageOnceTheScanRunsLongAndCancelStopsIt) {
    {
        ScanProgressDialog dialog(nullptr);
        const ScanProgress report = dialog.callback();
        EXPECT_TRUE(report(0.0) && report(0.1) && report(0.25));
        EXPECT_EQ(ShownWindow<QProgressDialog>(), nullptr) << "a short scan shows nothing";
        QThread::msleep(600);
        EXPECT_TRUE(report(0.42));
        auto* progress = ShownWindow<QProgressDialog>();
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(progress->isModal());
        EXPECT_EQ(progress->value(), 42);
        EXPECT_TRUE(report(0.5));
        EXPECT_EQ(progress->value(), 50);
        progress->cancel();
        EXPECT_FALSE(report(0.6));
    }
    EXPECT_EQ(ShownWindow<QProgressDialog>(), nullptr) << "the window goes with the scan";
}

} // namespace
} // namespace valdrex
