// Preloaded into a Qt program (LD_PRELOAD) by startup.py: once the main window has been painted
// for the first time, the process ends at once, so that its wall and CPU time are those of the
// start-up alone. The program itself is not changed, so any build can be measured alike.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <unistd.h>

namespace {

constexpr char kMainWindowName[] = "frmMain";

class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window()->objectName() == kMainWindowName) {
            seen_ = true;
            // After the paint in progress, with every widget of the window drawn.
            QTimer::singleShot(0, [] { _exit(0); });
        }
        return false;
    }

  private:
    bool seen_ = false;
};

void WatchForTheFirstPaint() {
    QCoreApplication::instance()->installEventFilter(new FirstPaint);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchForTheFirstPaint)
