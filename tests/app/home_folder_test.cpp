#include "app/home_folder.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <filesystem>

namespace valdrex {
namespace {

void SetEnv(const char* name, const char* value) {
    value != nullptr ? qputenv(name, value) : qunsetenv(name);
}

TEST(HomeFolder, PrefersHomeDriveAndHomePath) {
    const QByteArray home = qgetenv("HOME");
    const struct {
        const char *drive, *path, *home;
        std::string expected;
    } cases[] = {
        {"/data", "/users/ann", "/home/ann", "/data/users/ann"},
        {"", "/users/ann", "/home/ann", "/users/ann"},
        {nullptr, "/users/ann", "/home/ann", "/home/ann"},
        {"/data", nullptr, "/home/ann", "/home/ann"},
        {nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        SetEnv("HOMEDRIVE", c.drive);
        SetEnv("HOMEPATH", c.path);
        SetEnv("HOME", c.home);
        EXPECT_EQ(HomeFolder(), c.expected);
    }
    qunsetenv("HOMEDRIVE");
    qunsetenv("HOMEPATH");
    qputenv("HOME", home);
}

TEST(StripTrailingSeparator, RemovesOneSeparator) {
    for (const auto& [path, expected] : {std::pair{"/home/ann/", "/home/ann"},
                                         {"/home/ann", "/home/ann"},
                                         {"/a//", "/a/"},
                                         {"/", ""},
                                         {"", ""},
                                         {"a\\", "a\\"}})
        EXPECT_EQ(StripTrailingSeparator(path), expected) << path;
}

TEST(ProgramFolder, NamesTheRunningExecutable) {
    EXPECT_EQ(ExecutableName(), "app_tests");
    const std::filesystem::path folder = ProgramFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / ExecutableName()));
}

} // namespace
} // namespace valdrex
