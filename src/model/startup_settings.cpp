#include "model/startup_settings.h"

#include "core/checked_math.h"
#include "core/coefficient_text.h"
#include "core/failure.h"
#include "core/platform_files.h"
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

// The switches are stored as integers. "Save equations" and "Welcome" are on only at 1, the
// other two at any value but 0.
bool OnlyAtOne(int value) {
    return value == 1;
}
bool UnlessZero(int value) {
    return value != 0;
}

// The program writes 0 or 1, but a file edited by hand may hold other integers: one that still
// reads as the switch's state is written back as it reads.
void WriteSwitch(SettingsStore& store, const char* key, bool on, bool (*isOn)(int)) {
    std::string text = on ? "1" : "0";
    if (const std::optional<std::string> stored = store.Read(kSection, key)) {
        try {
            const int value = ToInteger(*stored);
            if (isOn(value) == on)
                text = std::to_string(value);
        } catch (const RuntimeFailure&) {
            // Not a number: the switch's own text replaces it.
        }
    }
    store.Write(kSection, key, text);
}

std::string DatabaseFileIn(const std::string& folder, const std::string& executableName) {
    return StripTrailingSeparator(folder) + "/" + executableName + "db.txt";
}

} // namespace

bool LoadMainSettings(Settings& state, const SettingsStore& store, const AppEnvironment& env) {
    // Settings not reached before a failure stay off, as they were before loading.
    state.SaveEquations = false;
    state.OverwriteFile = false;
    state.EvaluateSymbolically = false;
    bool titleSet = false;
    try {
        state.SaveEquations = OnlyAtOne(ReadInteger(store, "Save equations", 1));
        state.OverwriteFile = UnlessZero(ReadInteger(store, "Overwrite the file", 0));
        state.EvaluateSymbolically = UnlessZero(ReadInteger(store, "Evaluate simbolically", 1));
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
        state.DatabaseFile = DatabaseFileIn(env.dataFolder, env.executableName);
        try {
            std::error_code ec;
            std::filesystem::create_directories(env.dataFolder, ec);
            EnsureFileExists(state.DatabaseFile);
        } catch (const RuntimeFailure&) {
            // The window opens without a database file; saving will report the failure.
        }
    }
    return titleSet;
}

void StoreMainSettings(const Settings& state, SettingsStore& store) {
    WriteSwitch(store, "Save equations", state.SaveEquations, OnlyAtOne);
    WriteSwitch(store, "Overwrite the file", state.OverwriteFile, UnlessZero);
    WriteSwitch(store, "Evaluate simbolically", state.EvaluateSymbolically, UnlessZero);
    WriteSwitch(store, "Welcome", state.ShowWelcome, OnlyAtOne);
    if (state.SaveEquations)
        store.Write(kSection, "File for Saving", state.DatabaseFile);
}

bool ReadShowWelcome(const SettingsStore& store) {
    try {
        return OnlyAtOne(ReadInteger(store, "Welcome", 1));
    } catch (const RuntimeFailure&) {
        return false; // go straight to the main window
    }
}

} // namespace valdrex
