#include "app/settings_store.h"
#include "app/startup_settings.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

class StartupSettingsTest : public ::testing::Test {
  protected:
    StartupSettingsTest() {
        fs::create_directories(root_ / "home");
        fs::create_directories(root_ / "program");
    }
    // The load changes the current folder.
    ~StartupSettingsTest() override { fs::current_path(previous_); }

    std::string PathOf(const char* name) const { return (root_ / name).string(); }

    QTemporaryDir dir_;
    const fs::path root_ = dir_.path().toStdString();
    const fs::path previous_ = fs::current_path();
    AppEnvironment env_{PathOf("program") + "/", "valdrex", PathOf("home")};
    MemorySettingsStore store_;
    ModuleState state_;
};

TEST_F(StartupSettingsTest, FirstStartUsesTheDefaultsAndCreatesTheDatabase) {
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(std::tuple(state_.SaveEquations, state_.OverwriteFile, state_.EvaluateSymbolically),
              std::tuple(1, 0, 1));
    EXPECT_EQ(state_.DatabaseFile, PathOf("home/valdrexdb.txt"));
    EXPECT_EQ(fs::file_size(state_.DatabaseFile), 0u);
    EXPECT_EQ(fs::current_path(), root_ / "home");
}

TEST_F(StartupSettingsTest, AStoredPathIsUsedAndCreated) {
    store_.Write("Options", "File for Saving", PathOf("mine.txt"));
    store_.Write("Options", "Overwrite the file", "1");
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.DatabaseFile, PathOf("mine.txt"));
    EXPECT_EQ(state_.OverwriteFile, 1);
    EXPECT_TRUE(fs::exists(PathOf("mine.txt")));
}

TEST_F(StartupSettingsTest, FailuresFallBackToTheProgramFolder) {
    // A non-numeric setting fails before the title is set; the switches read so far stay.
    store_.Write("Options", "Save equations", "yes");
    store_.Write("Options", "Evaluate simbolically", "1");
    EXPECT_FALSE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.SaveEquations + state_.OverwriteFile + state_.EvaluateSymbolically, 0);
    EXPECT_EQ(state_.DatabaseFile, PathOf("program/valdrexdb.txt"));
    EXPECT_TRUE(fs::exists(state_.DatabaseFile));

    // An unusable home fails after the title.
    state_ = ModuleState{};
    MemorySettingsStore empty;
    env_.homeFolder = PathOf("no-such-home");
    EXPECT_TRUE(LoadMainSettings(state_, empty, env_));
    EXPECT_EQ(state_.SaveEquations, 1);
    EXPECT_EQ(state_.DatabaseFile, PathOf("program/valdrexdb.txt"));

    // An unwritable fallback still ends the load.
    env_.homeFolder.clear();
    env_.programFolder = PathOf("no-such-program");
    EXPECT_TRUE(LoadMainSettings(state_, empty, env_));
    EXPECT_FALSE(fs::exists(state_.DatabaseFile));
}

TEST_F(StartupSettingsTest, StoresThePathOnlyWhenSaving) {
    state_.SaveEquations = state_.EvaluateSymbolically = state_.ShowWelcome = 0;
    state_.OverwriteFile = 1;
    state_.DatabaseFile = "/tmp/x.txt";
    StoreMainSettings(state_, store_);
    for (const auto& [key, value] : {std::pair{"Save equations", "0"},
                                     {"Overwrite the file", "1"},
                                     {"Evaluate simbolically", "0"},
                                     {"Welcome", "0"}})
        EXPECT_EQ(store_.Read("Options", key), value) << key;
    EXPECT_EQ(store_.Read("Options", "File for saving"), std::nullopt);
    state_.SaveEquations = 1;
    StoreMainSettings(state_, store_);
    EXPECT_EQ(store_.Read("Options", "File for saving"), "/tmp/x.txt");
}

TEST_F(StartupSettingsTest, WelcomeIsReadAsAnInteger) {
    EXPECT_EQ(ReadShowWelcome(store_), 1);
    for (const auto& [stored, value] :
         {std::pair{"0", 0}, {"1", 1}, {" 1 ", 1}, {"2", 2}, {"x", 0}}) {
        store_.Write("Options", "Welcome", stored);
        EXPECT_EQ(ReadShowWelcome(store_), value) << stored;
    }
}

} // namespace
} // namespace valdrex
