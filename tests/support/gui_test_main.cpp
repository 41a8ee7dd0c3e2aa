#include "gui_test.h"

#include <QApplication>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A modal window that no ModalAnswer expects would wait for a click that never comes: it fails
// the running test, named by its class, title and text, and is closed. A progress window is
// modal but asks nothing, so it is left alone.
void FailOnUnexpectedDialogs(QTimer& timer) {
    QObject::connect(&timer, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || valdrex::ArmedModalAnswers() > 0 ||
            qobject_cast<QProgressDialog*>(modal) != nullptr)
            return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        ADD_FAILURE() << "unexpected modal window " << modal->metaObject()->className() << " \""
                      << modal->windowTitle().toStdString() << "\""
                      << (box ? ": " + box->text().toStdString() : std::string());
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
    });
    timer.start(20);
}

} // namespace

// Window tests run without a display, with a throw-away home and configuration folder, so that
// no real user's files are read or written.
int main(int argc, char** argv) {
    const QTemporaryDir home;
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, home.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("HOMEDRIVE");
    qunsetenv("HOMEPATH");
    // The offscreen platform reports every window feature it lacks; those reports are noise.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& m) {
        if (!m.startsWith("This plugin does not support"))
            qt_message_output(type, context, m);
    });
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTimer watcher;
    FailOnUnexpectedDialogs(watcher);
    const int failed = home.isValid() ? RUN_ALL_TESTS() : 1;
    // Painting scales images on the shared pool's threads. Ended here, they are gone long before
    // the leak check at exit; ended by the pool's own destructor, a thread could still be freeing
    // its data while the check ran, and that showed as a leak inside the library.
    QThreadPool::globalInstance()->waitForDone();
    return failed;
}
