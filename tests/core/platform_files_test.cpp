#include "core/platform_files.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

// A module that is not installed is named with both places it was looked for, and nothing is
// loaded in its place.
TEST(ProgramModule, AMissingModuleSaysWhereItWasLookedFor) {
    ProgramModule missing("valdrex-no-such-module.so");
    EXPECT_TRUE(missing.error().starts_with("valdrex-no-such-module.so not found in /"))
        << missing.error();
    EXPECT_TRUE(missing.error().ends_with(" nor beside the program")) << missing.error();
    EXPECT_EQ(missing.Symbol("valdrex_solve_with_big_numbers"), nullptr);
}

} // namespace
} // namespace valdrex
