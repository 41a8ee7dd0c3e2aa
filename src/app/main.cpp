#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "core/failure.h"
#include "core/platform_files.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/program_windows.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QLatin1String(valdrex::kAppTitle));
    QApplication::setWindowIcon(valdrex::ProgramIcon());
    // Lets the desktop pair the running windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.valdrex.Valdrex"));

    valdrex::ModuleState state;
    valdrex::QtSettingsStore store;
    // Closing the welcome window other than by OK ends the program before it really starts.
    if (!valdrex::RunWelcome(state, store))
        return 0;

    const valdrex::AppEnvironment env{valdrex::UserDataFolder(valdrex::kAppTitle),
                                      valdrex::ExecutableName(), valdrex::HomeFolder()};
    valdrex::frmMain window(state, store, env);
    window.show();
    return QApplication::exec();
}
