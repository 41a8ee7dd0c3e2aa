#include "core/error_box.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(ErrorBox, ComposesEachStyle) {
    const RuntimeFailure f(kOverflowNumber, "Overflow");
    EXPECT_EQ(PlainErrorBox(f), (ErrorBox{"1001. Overflow", BoxIcon::None, "Valdrex"}));
    EXPECT_EQ(CriticalErrorBox(f), (ErrorBox{"Error 1001. Overflow", BoxIcon::Critical, "Valdrex"}));
    EXPECT_EQ(SolverErrorBox(f), (ErrorBox{"Error  1001. Overflow", BoxIcon::Critical, "Error"}));
    EXPECT_EQ(HelpErrorBox(f), (ErrorBox{"1001. Overflow", BoxIcon::Critical, "Valdrex"}));
    EXPECT_EQ(RationalErrorBox(f), (ErrorBox{"1001. Overflow", BoxIcon::Critical, "Error"}));
}

TEST(ErrorBox, FileFailuresCarryTheSystemDescription) {
    const RuntimeFailure f = FileFailure(2);
    EXPECT_EQ(PlainErrorBox(f).text, "2. No such file or directory");
    EXPECT_EQ(FileFailure(0).number(), 5) << "an unknown cause reads as an I/O failure";
}

} // namespace
} // namespace valdrex
