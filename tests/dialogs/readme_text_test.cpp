#include "dialogs/readme_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace valdrex {
namespace {

TEST(ReadmeText, JoinsLinesWithCrLfAndNoEndAfterTheLast) {
    struct Case {
        const char* contents;
        const char* text;
    };
    for (const Case& c :
         {Case{"a\r\nb\r\nc", "a\r\nb\r\nc"}, Case{"a\r\nb\r\nc\r\n", "a\r\nb\r\nc"},
          Case{"a\rb\rc", "a\r\nb\r\nc"}, Case{"a\nb\nc\n", "a\r\nb\r\nc"},
          Case{"a\n\r\nb", "a\r\n\r\nb"}, Case{"a\r\rb", "a\r\n\r\nb"},
          Case{"\r\nfirst line empty", "\r\nfirst line empty"}, Case{"\n", ""}, Case{"", ""}}) {
        EXPECT_EQ(ReadmeText(c.contents), c.text) << testing::PrintToString(c.contents);
    }
}

TEST(ReadReadmeFile, MissingFileGivesEmptyText) {
    EXPECT_EQ(ReadReadmeFile("/nonexistent-folder/readme.txt"), "");
}

TEST(ReadReadmeFile, ReadsTheWholeFile) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "valdrex-readme-text-test.txt";
    {
        std::ofstream file(path, std::ios::binary);
        file << "Valdrex\r\n\r\nSolves equations.\n";
    }
    EXPECT_EQ(ReadReadmeFile(path.string()), "Valdrex\r\n\r\nSolves equations.");
    std::filesystem::remove(path);
}

} // namespace
} // namespace valdrex
