#include "app/qt_settings_store.h"
#include "core/platform_files.h"
#include "file_bytes.h"
#include "model/startup_settings.h"

#include <QByteArray>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace valdrex {
namespace {

// The home folder prefers HOMEDRIVE and HOMEPATH; the data folder is XDG's when absolute.
TEST(UserFolders, HomeAndDataFolderFollowTheEnvironmentTheProgramsItsFile) {
    const QByteArray home = qgetenv("HOME"), dataHome = qgetenv("XDG_DATA_HOME");
    const std::tuple<const char*, const char*, const char*, std::string> cases[] = {
        {"/data", "/users/ann", "/home/ann", "/data/users/ann"},
        {"", "/users/ann", "/home/ann", "/users/ann"},
        {nullptr, "/users/ann", "/home/ann", "/home/ann"},
        {"/data", nullptr, "/home/ann", "/home/ann"},
        {nullptr, nullptr, nullptr, ""},
    };
    for (const auto& [drive, path, homeVar, expected] : cases) {
        for (const auto& [name, value] :
             {std::pair{"HOMEDRIVE", drive}, {"HOMEPATH", path}, {"HOME", homeVar}})
            value != nullptr ? qputenv(name, value) : qunsetenv(name);
        EXPECT_EQ(HomeFolder(), expected);
    }
    qunsetenv("HOMEDRIVE");
    qunsetenv("HOMEPATH");
    qputenv("HOME", "/home/ann");
    const std::pair<const char*, std::string> data[] = {
        {"/data/", "/data/Valdrex"},
        {"relative", "/home/ann/.local/share/Valdrex"},
        {"", "/home/ann/.local/share/Valdrex"}};
    for (const auto& [value, expected] : data) {
        qputenv("XDG_DATA_HOME", value);
        EXPECT_EQ(UserDataFolder("Valdrex"), expected) << value;
    }
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", dataHome);
    // The program's folder is the running executable's.
    EXPECT_EQ(ExecutableName(), "settings_tests");
    const std::filesystem::path folder = ProgramFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / ExecutableName()));
}

// A module that is not installed is named with both places it was looked for, and nothing is
// loaded in its place.
TEST(ProgramModule, AMissingModuleSaysWhereItWasLookedFor) {
    ProgramModule missing("valdrex-no-such-module.so");
    EXPECT_TRUE(missing.error().starts_with("valdrex-no-such-module.so not found in /"))
        << missing.error();
    EXPECT_TRUE(missing.error().ends_with(" nor beside the program")) << missing.error();
    EXPECT_EQ(missing.Symbol("valdrex_solve_with_big_numbers"), nullptr);
}

// The configuration folder is fixed for the whole process once a store is first opened, so
// it is pointed at a temporary folder before any test runs.
const QTemporaryDir kConfigFolder;
[[maybe_unused]] const bool kConfigFolderSet =
    qputenv("XDG_CONFIG_HOME", kConfigFolder.path().toUtf8());

// Every test uses its own section, so tests sharing one settings file do not meet.
std::string Section() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

class BothStores : public ::testing::TestWithParam<bool> {
  protected:
    std::unique_ptr<SettingsStore> store_ =
        GetParam() ? std::unique_ptr<SettingsStore>(std::make_unique<QtSettingsStore>())
                   : std::make_unique<MemorySettingsStore>();
};

TEST_P(BothStores, ReadsBackWhatWasWrittenUnderAKeyOfAnyCase) {
    EXPECT_EQ(store_->Read(Section(), "Save equations"), std::nullopt);
    for (const char* value :
         {"1", "0", "", "/home/ann/Valdrexdb.txt", "a, b; c=d", "caf\xC3\xA9 \xE2\x82\xAC"}) {
        store_->Write(Section(), "Save equations", value);
        EXPECT_EQ(store_->Read(Section(), "Save equations"), value);
    }
    // Keys ignore case.
    store_->Write(Section(), "File for saving", "/old.txt");
    store_->Write(Section(), "File for Saving", "/new.txt");
    EXPECT_EQ(store_->Read(Section(), "File for saving"), "/new.txt");
    EXPECT_EQ(store_->Read(Section(), "FILE FOR SAVING"), "/new.txt");
    EXPECT_EQ(store_->Read(Section(), "File for"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Settings, BothStores, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Qt" : "Memory"; });

TEST(QtSettingsStore, KeepsOneEntryInTheUsersConfigFolder) {
    QtSettingsStore().Write(Section(), "File for saving", "/a.txt");
    QtSettingsStore().Write(Section(), "File for Saving", "/b.txt");
    EXPECT_EQ(QtSettingsStore().Read(Section(), "file for saving"), "/b.txt");
    QSettings file(kConfigFolder.path() + "/Valdrex/Valdrex.ini", QSettings::IniFormat);
    file.beginGroup(QString::fromStdString(Section()));
    EXPECT_EQ(file.childKeys(), QStringList{"File for Saving"});
    // A file name is bytes, whether UTF-8 or not.
    for (const std::string name : {"/db\xFF.txt", "/caf\xC3\xA9.txt"}) {
        QtSettingsStore().Write(Section(), "File for Saving", name);
        EXPECT_EQ(QtSettingsStore().Read(Section(), "File for Saving"), name);
    }
}

namespace fs = std::filesystem;

class StartupSettingsTest : public ::testing::Test {
  protected:
    StartupSettingsTest() { fs::create_directories(root_ / "home"); }
    // The load changes the current folder.
    ~StartupSettingsTest() override { fs::current_path(previous_); }

    std::string PathOf(const char* name) const { return (root_ / name).string(); }
    std::string Stored(const char* key) const { return store_.Read("Options", key).value_or("-"); }

    QTemporaryDir dir_;
    const fs::path root_ = dir_.path().toStdString();
    const fs::path previous_ = fs::current_path();
    AppEnvironment env_{PathOf("data/Valdrex") + "/", "valdrex", PathOf("home")};
    MemorySettingsStore store_;
    ModuleState state_;
};

TEST_F(StartupSettingsTest, FirstStartUsesTheDefaultsAStoredPathIsUsedAndCreated) {
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(std::tuple(state_.SaveEquations, state_.OverwriteFile, state_.EvaluateSymbolically),
              std::tuple(true, false, true));
    EXPECT_EQ(state_.DatabaseFile, PathOf("home/valdrexdb.txt"));
    EXPECT_EQ(fs::file_size(state_.DatabaseFile), 0u);
    EXPECT_EQ(fs::current_path(), root_ / "home");
    store_.Write("Options", "File for Saving", PathOf("mine.txt"));
    store_.Write("Options", "Overwrite the file", "1");
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    EXPECT_EQ(state_.DatabaseFile, PathOf("mine.txt"));
    EXPECT_TRUE(state_.OverwriteFile);
    EXPECT_TRUE(fs::exists(PathOf("mine.txt")));
}

TEST_F(StartupSettingsTest, FailuresFallBackToTheDataFolderCreatedWhenNeeded) {
    // A non-numeric setting fails before the title is set; the switches read so far stay.
    store_.Write("Options", "Save equations", "yes");
    store_.Write("Options", "Evaluate simbolically", "1");
    EXPECT_FALSE(LoadMainSettings(state_, store_, env_));
    EXPECT_FALSE(state_.SaveEquations || state_.OverwriteFile || state_.EvaluateSymbolically);
    EXPECT_EQ(state_.DatabaseFile, PathOf("data/Valdrex/valdrexdb.txt"));
    EXPECT_TRUE(fs::exists(state_.DatabaseFile));

    // An unusable home fails after the title.
    state_ = ModuleState{};
    MemorySettingsStore empty;
    env_.homeFolder = PathOf("no-such-home");
    EXPECT_TRUE(LoadMainSettings(state_, empty, env_));
    EXPECT_TRUE(state_.SaveEquations);
    EXPECT_EQ(state_.DatabaseFile, PathOf("data/Valdrex/valdrexdb.txt"));

    // An unwritable fallback still ends the load.
    env_.homeFolder.clear();
    Put(PathOf("file"), "");
    env_.dataFolder = PathOf("file/Valdrex");
    EXPECT_TRUE(LoadMainSettings(state_, empty, env_));
    EXPECT_FALSE(fs::exists(state_.DatabaseFile));
}

TEST_F(StartupSettingsTest, StoresThePathOnlyWhenSaving) {
    state_.SaveEquations = state_.EvaluateSymbolically = state_.ShowWelcome = false;
    state_.OverwriteFile = true;
    state_.DatabaseFile = "/tmp/x.txt";
    StoreMainSettings(state_, store_);
    EXPECT_EQ(Stored("Save equations") + Stored("Overwrite the file") +
                  Stored("Evaluate simbolically") + Stored("Welcome") + Stored("File for saving"),
              "0100-");
    state_.SaveEquations = true;
    StoreMainSettings(state_, store_);
    EXPECT_EQ(Stored("File for saving"), "/tmp/x.txt");
}

// A file edited by hand may hold other integers than 0 and 1: saving and the welcome window are
// on only at 1, overwriting and the symbolic form at any value but 0. Such a value is written
// back as it reads while its switch keeps its state.
TEST_F(StartupSettingsTest, OtherStoredIntegersKeepTheirMeaningAndText) {
    const char* keys[] = {"Save equations", "Overwrite the file", "Evaluate simbolically",
                          "Welcome"};
    for (const char* key : keys)
        store_.Write("Options", key, "2");
    store_.Write("Options", "Overwrite the file", "-3");
    EXPECT_TRUE(LoadMainSettings(state_, store_, env_));
    state_.ShowWelcome = ReadShowWelcome(store_);
    EXPECT_EQ(std::tuple(state_.SaveEquations, state_.OverwriteFile, state_.EvaluateSymbolically,
                         state_.ShowWelcome),
              std::tuple(false, true, true, false));
    StoreMainSettings(state_, store_);
    EXPECT_EQ(Stored(keys[0]) + Stored(keys[1]) + Stored(keys[2]) + Stored(keys[3]), "2-322");
    state_.OverwriteFile = state_.EvaluateSymbolically = false;
    state_.ShowWelcome = true;
    StoreMainSettings(state_, store_);
    EXPECT_EQ(Stored(keys[0]) + Stored(keys[1]) + Stored(keys[2]) + Stored(keys[3]), "2001");
}

} // namespace
} // namespace valdrex
