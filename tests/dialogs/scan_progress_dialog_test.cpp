#include "dialogs/scan_progress_dialog.h"

#include <QApplication>
#include <QProgressDialog>
#include <QThread>

#include <gtest/gtest.h>

namespace valdrex {
namespace {

QProgressDialog* ShownProgress() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* progress = qobject_cast<QProgressDialog*>(widget);
            progress && progress->isVisible())
            return progress;
    return nullptr;
}

TEST(ScanProgressDialog, ShowsThePercentageOnceTheScanRunsLongAndCancelStopsIt) {
    {
        ScanProgressDialog dialog(nullptr);
        const ScanProgress report = dialog.callback();
        for (double share : {0.0, 0.1, 0.25})
            EXPECT_TRUE(report(share));
        EXPECT_EQ(ShownProgress(), nullptr) << "a short scan shows nothing";
        QThread::msleep(600);
        EXPECT_TRUE(report(0.42));
        QProgressDialog* progress = ShownProgress();
        ASSERT_NE(progress, nullptr);
        EXPECT_TRUE(progress->isModal());
        EXPECT_EQ(progress->value(), 42);
        EXPECT_TRUE(report(0.5));
        EXPECT_EQ(progress->value(), 50);
        progress->cancel();
        EXPECT_FALSE(report(0.6));
    }
    EXPECT_EQ(ShownProgress(), nullptr) << "the window goes with the scan";
}

} // namespace
} // namespace valdrex
