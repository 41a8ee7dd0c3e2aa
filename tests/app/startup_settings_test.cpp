#include "app/settings_store.h"
#include "app/startup_settings.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

class StartupSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("valdrex-startup-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "home");
        fs::create_directories(root_ / "program");
        env_ = {(root_ / "program").string() + "/", "valdrex", (root_ / "home").string()};
        previous_ = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(root_);
    }

    fs::path root_;
    fs::path previous_;
    AppEnvironment env_;
    MemorySettingsStore store_;
    ModuleState state_;
};

TEST_F(StartupSettingsTest, FirstStartUsesTheDefaultsAndCreatesTheDatabase) {
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.SaveEquations, 1);
    EXPECT_EQ(state_.OverwriteFile, 0);
    EXPECT_EQ(state_.EvaluateSymbolically, 1);
    EXPECT_EQ(state_.DatabaseFile, (root_ / "home" / "valdrexdb.txt").string());
    EXPECT_TRUE(fs::exists(state_.DatabaseFile));
    EXPECT_EQ(fs::file_size(state_.DatabaseFile), 0u);
    EXPECT_EQ(fs::current_path(), root_ / "home");
}

TEST_F(StartupSettingsTest, AStoredPathIsUsedAndCreated) {
    const std::string path = (root_ / "mine.txt").string();
    store_.Write("Options", "File for Saving", path);
    store_.Write("Options", "Overwrite the file", "1");
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.DatabaseFile, path);
    EXPECT_EQ(state_.OverwriteFile, 1);
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(StartupSettingsTest, ANonNumericSettingFallsBackToTheProgramFolder) {
    store_.Write("Options", "Save equations", "yes");
    store_.Write("Options", "Evaluate simbolically", "1");
    EXPECT_FALSE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.SaveEquations, 0);
    EXPECT_EQ(state_.OverwriteFile, 0);
    EXPECT_EQ(state_.EvaluateSymbolically, 0);
    EXPECT_EQ(state_.DatabaseFile, (root_ / "program" / "valdrexdb.txt").string());
    EXPECT_TRUE(fs::exists(state_.DatabaseFile));
}

TEST_F(StartupSettingsTest, AnUnusableHomeFallsBackAfterTheTitle) {
    env_.homeFolder = (root_ / "no-such-home").string();
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.SaveEquations, 1);
    EXPECT_EQ(state_.DatabaseFile, (root_ / "program" / "valdrexdb.txt").string());
}

TEST_F(StartupSettingsTest, AnUnwritableFallbackStillEndsTheLoad) {
    env_.homeFolder.clear();
    env_.programFolder = (root_ / "no-such-program").string();
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_FALSE(fs::exists(state_.DatabaseFile));
}

TEST_F(StartupSettingsTest, StoresThePathOnlyWhenSaving) {
    state_.SaveEquations = 0;
    state_.OverwriteFile = 1;
    state_.EvaluateSymbolically = 0;
    state_.ShowWelcome = 0;
    state_.DatabaseFile = "/tmp/x.txt";
    StoreMainSettings(state_, store_);
    EXPECT_EQ(store_.Read("Options", "Save equations"), "0");
    EXPECT_EQ(store_.Read("Options", "Overwrite the file"), "1");
    EXPECT_EQ(store_.Read("Options", "Evaluate simbolically"), "0");
    EXPECT_EQ(store_.Read("Options", "Welcome"), "0");
    EXPECT_EQ(store_.Read("Options", "File for saving"), std::nullopt);
    state_.SaveEquations = 1;
    StoreMainSettings(state_, store_);
    EXPECT_EQ(store_.Read("Options", "File for saving"), "/tmp/x.txt");
}

TEST_F(StartupSettingsTest, WelcomeIsReadAsAnInteger) {
    EXPECT_EQ(ReadShowWelcome(store_), 1);
    for (const auto& [stored, value] : std::initializer_list<std::pair<const char*, int>>{
             {"0", 0}, {"1", 1}, {" 1 ", 1}, {"2", 2}, {"x", 0}}) {
        store_.Write("Options", "Welcome", stored);
        EXPECT_EQ(ReadShowWelcome(store_), value) << stored;
    }
}

} // namespace
} // namespace valdrex
