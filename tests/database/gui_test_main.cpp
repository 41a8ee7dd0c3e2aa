#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The offscreen platform reports every window feature it lacks; those reports are noise here.
void DropPlatformNotices(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
    if (!message.startsWith("This plugin does not support"))
        qt_message_output(type, context, message);
}

} // namespace

// Window tests run without a display and with a home and configuration folder of their own.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir home;
    if (!home.isValid())
        return 1;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    qInstallMessageHandler(DropPlatformNotices);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
