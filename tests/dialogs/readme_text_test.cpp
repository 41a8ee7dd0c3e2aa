#include "dialogs/readme_text.h"

#include "file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(ReadmeText, JoinsLinesWithCrLfAndNoEndAfterTheLast) {
    for (const auto& [contents, text] : {std::pair{"a\r\nb\r\nc", "a\r\nb\r\nc"},
                                         {"a\r\nb\r\nc\r\n", "a\r\nb\r\nc"},
                                         {"a\rb\rc", "a\r\nb\r\nc"},
                                         {"a\nb\nc\n", "a\r\nb\r\nc"},
                                         {"a\n\r\nb", "a\r\n\r\nb"},
                                         {"a\r\rb", "a\r\n\r\nb"},
                                         {"\r\nfirst line empty", "\r\nfirst line empty"},
                                         {"\n", ""},
                                         {"", ""}})
        EXPECT_EQ(ReadmeText(contents), text) << testing::PrintToString(contents);
}

TEST(ReadReadmeFile, ReadsTheWholeFileOrNothing) {
    EXPECT_EQ(ReadReadmeFile("/nonexistent-folder/readme.txt"), "");
    QTemporaryDir dir;
    const std::string path = dir.filePath("readme.txt").toStdString();
    Put(path, "Valdrex\r\n\r\nSolves equations.\n");
    EXPECT_EQ(ReadReadmeFile(path), "Valdrex\r\n\r\nSolves equations.");
}

} // namespace
} // namespace valdrex
