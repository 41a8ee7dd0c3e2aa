#include "model/startup_settings.h"

#include "core/checked_math.h"
#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/home_folder.h"
#include "database/database_file.h"

#include <cerrno>
#include <charconv>
#include <filesystem>

namespace valdrex {
namespace {

constexpr char kSection[] = "Options";

// A stored setting as a 16-bit integer: the whole text must be a number.
int ToInteger(const std::string& stored) {
    const std::string text = TrimBlanks(stored);
    const char* first = text.data();
    if (!text.empty() && text[0] == '+')
        ++first;
    double value = 0;
    const auto res = std::from_chars(first, text.data() + text.size(), value);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size())
        FailInvalidArgument();
    const int rounded = RoundToInt32(value);
    if (rounded < -32768 || rounded > 32767)
        FailOverflow();
    return rounded;
}

int ReadInteger(const SettingsStore& store, const char* key, int fallback) {
    const std::optional<std::string> stored = store.Read(kSection, key);
    return stored ? ToInteger(*stored) : fallback;
}

std::string DatabaseFileIn(const std::string& folder, const std::string& executableName) {
    return StripTrailingSeparator(folder) + "/" + executableName + "db.txt";
}

} // namespace

bool LoadMainSettings(ModuleState& state, const SettingsStore& store, const AppEnvironment& env) {
    // Settings not reached before a failure stay 0, as they were before loading.
    state.SaveEquations = 0;
    state.OverwriteFile = 0;
    state.EvaluateSymbolically = 0;
    bool titleSet = false;
    try {
        state.SaveEquations = ReadInteger(store, "Save equations", 1);
        state.OverwriteFile = ReadInteger(store, "Overwrite the file", 0);
        state.EvaluateSymbolically = ReadInteger(store, "Evaluate simbolically", 1);
        state.DatabaseFile = store.Read(kSection, "File for saving").value_or("");
        titleSet = true;
        if (state.DatabaseFile.empty()) {
            if (env.homeFolder.empty())
                FailFile(ENOENT);
            std::error_code ec;
            std::filesystem::current_path(env.homeFolder, ec);
            if (ec)
                FailFile(ec.value());
            state.DatabaseFile = DatabaseFileIn(env.homeFolder, env.executableName);
        }
        EnsureFileExists(state.DatabaseFile);
    } catch (const RuntimeFailure&) {
        state.DatabaseFile = DatabaseFileIn(env.programFolder, env.executableName);
        try {
            EnsureFileExists(state.DatabaseFile);
        } catch (const RuntimeFailure&) {
            // The window opens without a database file; saving will report the failure.
        }
    }
    return titleSet;
}

void StoreMainSettings(const ModuleState& state, SettingsStore& store) {
    store.Write(kSection, "Save equations", std::to_string(state.SaveEquations));
    store.Write(kSection, "Overwrite the file", std::to_string(state.OverwriteFile));
    store.Write(kSection, "Evaluate simbolically", std::to_string(state.EvaluateSymbolically));
    store.Write(kSection, "Welcome", std::to_string(state.ShowWelcome));
    if (state.SaveEquations == 1)
        store.Write(kSection, "File for Saving", state.DatabaseFile);
}

int ReadShowWelcome(const SettingsStore& store) {
    try {
        return ReadInteger(store, "Welcome", 1);
    } catch (const RuntimeFailure&) {
        return 0; // a text that is no number is not 1: go straight to the main window
    }
}

} // namespace valdrex
