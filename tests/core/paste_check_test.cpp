#include "core/paste_check.h"

#include <gtest/gtest.h>

namespace valdrex {
namespace {

TEST(IsPastableNumber, ChecksTheShapeOfANumber) {
    const struct {
        const char* text;
        bool coefficient;
        bool input;
    } cases[] = {
        {"3/4", true, false},   {"-0.25", true, true}, {"0.25-", false, false},
        {"1,5", false, false},  {"1/2.5", true, false}, {"-.5", true, true},
        {"1/2/3", false, false}, {"/2", false, false}, {"2/", false, false},
        {"1-2", false, false},  {"1e5", false, false}, {"12", true, true},
        {"", true, true},       {"1..2", false, false}, {" 1", false, false},
        {"+1", false, false},   {"1\r\n", false, false}, {"-", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPastableNumber(c.text, PasteTarget::Coefficient), c.coefficient) << c.text;
        EXPECT_EQ(IsPastableNumber(c.text, PasteTarget::Input), c.input) << c.text;
        EXPECT_TRUE(IsPastableNumber(c.text, PasteTarget::Note)) << c.text;
    }
}

} // namespace
} // namespace valdrex
