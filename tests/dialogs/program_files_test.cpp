#include "dialogs/program_files.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(ProgramFiles, HelpFileDropsOneTrailingSeparatorReadmeKeepsIt) {
    struct Case {
        const char* folder;
        const char* help;
        const char* readme;
    };
    for (const Case& c :
         {Case{"/opt/valdrex", "/opt/valdrex/Valdrex.hlp", "/opt/valdrex/readme.txt"},
          Case{"/opt/valdrex/", "/opt/valdrex/Valdrex.hlp", "/opt/valdrex//readme.txt"},
          Case{"/", "/Valdrex.hlp", "//readme.txt"}}) {
        EXPECT_EQ(HelpFilePath(c.folder), c.help) << c.folder;
        EXPECT_EQ(ReadmeFilePath(c.folder), c.readme) << c.folder;
    }
}

} // namespace
} // namespace valdrex
