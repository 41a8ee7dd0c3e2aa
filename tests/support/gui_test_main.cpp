#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    return home.isValid() ? RUN_ALL_TESTS() : 1;
}
