#include "app/settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace valdrex {
namespace {

// The configuration folder is fixed for the whole process once a store is first opened, so
// it is pointed at a temporary folder before any test runs.
class TemporaryConfigFolder : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        ::setenv("XDG_CONFIG_HOME", folder_.path().toUtf8().constData(), 1);
    }
    static QString IniPath() {
        return QString::fromUtf8(std::getenv("XDG_CONFIG_HOME")) + "/Valdrex/Valdrex.ini";
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

enum class StoreKind { Memory, Qt };

std::unique_ptr<SettingsStore> MakeStore(StoreKind kind) {
    if (kind == StoreKind::Memory)
        return std::make_unique<MemorySettingsStore>();
    return std::make_unique<QtSettingsStore>();
}

class BothStores : public ::testing::TestWithParam<StoreKind> {
  protected:
    std::unique_ptr<SettingsStore> store_ = MakeStore(GetParam());
};

TEST_P(BothStores, ReadsBackWhatWasWritten) {
    EXPECT_EQ(store_->Read(Section(), "Save equations"), std::nullopt);
    const std::string values[] = {
        "1", "0", "", "/home/ann/Valdrexdb.txt", "a, b; c=d", "caf\xC3\xA9 \xE2\x82\xAC"};
    for (const auto& value : values) {
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

INSTANTIATE_TEST_SUITE_P(Settings, BothStores, ::testing::Values(StoreKind::Memory, StoreKind::Qt),
                         [](const auto& info) {
                             return info.param == StoreKind::Memory ? "Memory" : "Qt";
                         });

TEST(QtSettingsStore, KeepsOneEntryInTheUsersConfigFolder) {
    QtSettingsStore().Write(Section(), "File for saving", "/a.txt");
    QtSettingsStore().Write(Section(), "File for Saving", "/b.txt");
    EXPECT_EQ(QtSettingsStore().Read(Section(), "file for saving"), "/b.txt");

    const QString iniPath = TemporaryConfigFolder::IniPath();
    ASSERT_TRUE(QFileInfo::exists(iniPath));
    QSettings file(iniPath, QSettings::IniFormat);
    file.beginGroup(QString::fromStdString(Section()));
    EXPECT_EQ(file.childKeys(), QStringList{"File for Saving"});
}

} // namespace
} // namespace valdrex
