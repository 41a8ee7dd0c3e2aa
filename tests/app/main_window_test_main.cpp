// GUI tests run without a display, with the settings and the home folder in a throw-away
// folder so that no real user's files are read or written.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

QtMessageHandler standardHandler = nullptr;

// The offscreen platform reports every window feature it lacks; those notes are no failures.
void DropPlatformNotes(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (standardHandler != nullptr)
        standardHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    if (!home.isValid())
        return 1;
    QDir(home.path()).mkpath(QStringLiteral("config"));
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8());
    qunsetenv("HOMEDRIVE");
    qunsetenv("HOMEPATH");

    standardHandler = qInstallMessageHandler(DropPlatformNotes);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
