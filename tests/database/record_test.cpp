#include "database/record.h"

#include <gtest/gtest.h>

#include <map>

namespace valdrex {
namespace {

RecordFields Fields(std::string equation, const std::map<int, std::string>& solutions,
                    std::string input = "", std::string output = "", std::string factor = "") {
    RecordFields fields{
        std::move(equation), {}, std::move(input), std::move(output), std::move(factor)};
    for (const auto& [index, text] : solutions)
        fields.SolText[index] = text;
    return fields;
}

TEST(RecordText, JoinsTheFieldsThatArePresent) {
    const struct {
        RecordFields fields;
        std::string record;
    } cases[] = {
        {Fields("2\xC2\xB7x - 4 = 0", {{1, " 2"}}), "2\xC2\xB7x - 4 = 0; S={ 2}"},
        {Fields("5 = 0", {}), "5 = 0; S={}"},
        {Fields("e", {{1, " 1"}, {2, "-2"}}), "e; S={ 1;-2}"},
        {Fields("e", {{2, " 1/ 2"}, {12, " 3"}}), "e; S={ 1/ 2; 3}"}, // empty entries skipped
        {Fields("e", {{0, "x"}}), "e; S={}"},                         // entry 0 unused
        {Fields("e", {{1, " 2"}}, "3", " 2"), "e; S={ 2}; P(3) = 2"},
        {Fields("e", {}, "-1", "-2"), "e; S={}; P(-1) =-2"},
        {Fields("e", {}, "3", ""), "e; S={}"}, // a test point needs both texts
        {Fields("e", {}, "", " 2"), "e; S={}"},
        {Fields("x^3 - 2\xC2\xB7x^2 + x - 2 = 0", {{1, " 2"}}, "", "", "x^2  + 1 "),
         "x^3 - 2\xC2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1"},
        {Fields("e", {{1, " 1"}}, "0", " 5", "x + 5"), "e; S={ 1}; P(0) = 5; R(x)=x+5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordText(c.fields), c.record);
}

TEST(ClipboardText, IsTheRecordThenTheNoteUnchanged) {
    const RecordFields fields = Fields("e", {{1, " 2"}}, "3", " 2");
    EXPECT_EQ(ClipboardText(fields, "check"), "e; S={ 2}; P(3) = 2\r\ncheck");
    EXPECT_EQ(ClipboardText(fields, ""), "e; S={ 2}; P(3) = 2\r\n");
    EXPECT_EQ(ClipboardText(fields, "a\r\n b "), "e; S={ 2}; P(3) = 2\r\na\r\n b ");
}

} // namespace
} // namespace valdrex
