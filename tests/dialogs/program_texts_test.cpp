#include "dialogs/program_files.h"
#include "dialogs/readme_text.h"
#include "dialogs/version_text.h"

#include "file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(ProgramFiles, HelpFileDropsOneTrailingSeparatorReadmeKeepsIt) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"/opt/valdrex", "/opt/valdrex/Valdrex.hlp", "/opt/valdrex/readme.txt"},
        {"/opt/valdrex/", "/opt/valdrex/Valdrex.hlp", "/opt/valdrex//readme.txt"},
        {"/", "/Valdrex.hlp", "//readme.txt"}};
    for (const auto& [folder, help, readme] : cases)
        EXPECT_EQ(HelpFilePath(folder) + "|" + ReadmeFilePath(folder),
                  help + std::string("|") + readme);
}

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
    EXPECT_EQ(ReadReadmeFile("/nonexistent-folder/readme.txt"), "");
    QTemporaryDir dir;
    const std::string path = dir.filePath("readme.txt").toStdString();
    Put(path, "Valdrex\r\n\r\nSolves equations.\n");
    EXPECT_EQ(ReadReadmeFile(path), "Valdrex\r\n\r\nSolves equations.");
}

TEST(VersionText, WritesRevisionRightAfterMinor) {
    EXPECT_EQ(VersionText(1, 3, 0), "Version 1.30 for Win-32 systems");
    EXPECT_EQ(VersionText(2, 10, 5), "Version 2.105 for Win-32 systems");
    EXPECT_EQ(VersionText(0, 0, 12), "Version 0.012 for Win-32 systems");
}

TEST(CommentText, ComposesCommentsCreditAndNoticeWithCrLf) {
    const std::string prefix =
        "A very easy way to solve algebraic equations\r\n\r\nRealized by \r\n";
    const std::string text = CommentText();
    ASSERT_GT(text.size(), prefix.size());
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    EXPECT_EQ(text.find_first_of("\r\n", prefix.size()), std::string::npos) << "a one-line notice";
}

} // namespace
} // namespace valdrex
