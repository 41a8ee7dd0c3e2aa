#include "app/home_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace valdrex {
namespace {

// Sets or unsets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        Apply(value);
    }
    ~ScopedEnv() { Apply(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    void Apply(const char* value) {
        if (value)
            ::setenv(name_, value, 1);
        else
            ::unsetenv(name_);
    }

    const char* name_;
    std::optional<std::string> old_;
};

TEST(HomeFolder, PrefersHomeDriveAndHomePath) {
    const struct {
        const char* drive;
        const char* path;
        const char* home;
        std::string expected;
    } cases[] = {
        {"/data", "/users/ann", "/home/ann", "/data/users/ann"},
        {"", "/users/ann", "/home/ann", "/users/ann"},
        {nullptr, "/users/ann", "/home/ann", "/home/ann"},
        {"/data", nullptr, "/home/ann", "/home/ann"},
        {nullptr, nullptr, nullptr, ""},
    };
    for (const auto& c : cases) {
        const ScopedEnv drive("HOMEDRIVE", c.drive);
        const ScopedEnv path("HOMEPATH", c.path);
        const ScopedEnv home("HOME", c.home);
        EXPECT_EQ(HomeFolder(), c.expected) << c.expected;
    }
}

TEST(StripTrailingSeparator, RemovesOneSeparator) {
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {{"/home/ann/", "/home/ann"},
                 {"/home/ann", "/home/ann"},
                 {"/a//", "/a/"},
                 {"/", ""},
                 {"", ""},
                 {"a\\", "a\\"}};
    for (const auto& c : cases)
        EXPECT_EQ(StripTrailingSeparator(c.path), c.expected) << c.path;
}

TEST(ProgramFolder, NamesTheRunningExecutable) {
    EXPECT_EQ(ExecutableName(), "settings_tests");
    const std::filesystem::path folder = ProgramFolder();
    EXPECT_TRUE(folder.is_absolute());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / ExecutableName()));
}

} // namespace
} // namespace valdrex
