#include "dialogs/version_text.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(VersionText, WritesRevisionRightAfterMinor) {
    struct Case {
        int major, minor, revision;
        const char* text;
    };
    for (const Case& c : {Case{1, 3, 0, "Version 1.30 for Win-32 systems"},
                          Case{2, 10, 5, "Version 2.105 for Win-32 systems"},
                          Case{0, 0, 12, "Version 0.012 for Win-32 systems"}}) {
        EXPECT_EQ(VersionText(c.major, c.minor, c.revision), c.text);
    }
}

TEST(CommentText, ComposesCommentsCreditAndNoticeWithCrLf) {
    const std::string prefix = "A very easy way to solve algebraic equations\r\n\r\n"
                               "Realized by \r\n";
    const std::string text = CommentText();
    ASSERT_GT(text.size(), prefix.size());
    EXPECT_EQ(text.substr(0, prefix.size()), prefix);
    const std::string notice = text.substr(prefix.size());
    EXPECT_EQ(notice.find_first_of("\r\n"), std::string::npos);
}

} // namespace
} // namespace valdrex
