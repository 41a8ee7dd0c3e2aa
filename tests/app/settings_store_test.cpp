#include "app/settings_store.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace valdrex {
namespace {

// The configuration folder is fixed for the whole process once a store is first opened, so
// it is pointed at a temporary folder before any test runs.
class TemporaryConfigFolder : public ::testing::Environment {
  public:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", folder_.path().toUtf8()); }
    static QString IniPath() {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Valdrex/Valdrex.ini";
    }

  private:
    QTemporaryDir folder_;
};

[[maybe_unused]] const auto* const kConfigFolder =
    ::testing::AddGlobalTestEnvironment(new TemporaryConfigFolder);

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

TEST_P(BothStores, ReadsBackWhatWasWritten) {
    EXPECT_EQ(store_->Read(Section(), "Save equations"), std::nullopt);
    for (const char* value :
         {"1", "0", "", "/home/ann/Valdrexdb.txt", "a, b; c=d", "caf\xC3\xA9 \xE2\x82\xAC"}) {
        store_->Write(Section(), "Save equations", value);
        EXPECT_EQ(store_->Read(Section(), "Save equations"), value);
    }
}

TEST_P(BothStores, KeysIgnoreCase) {
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
    QSettings file(TemporaryConfigFolder::IniPath(), QSettings::IniFormat);
    file.beginGroup(QString::fromStdString(Section()));
    EXPECT_EQ(file.childKeys(), QStringList{"File for Saving"});
}

} // namespace
} // namespace valdrex
