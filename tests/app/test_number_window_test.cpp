#include "main_window_fixture.h"

namespace valdrex {
namespace {

TEST_F(MainWindowTest, TestEvaluatesTheTypedPolynomial) {
    OpenWindow();
    EnterGrid({{3, "1"}, {2, "-6"}, {1, "11/2"}, {0, "-6"}});
    for (const auto& [input, output] : {std::pair{"", "-6"}, {"-1", "-18.5"}}) {
        Type(Find("txtInput"), input); // an empty input reads as 0
        Click("cmdTest");
        EXPECT_EQ(Text("txtOutput"), output) << input;
    }
    EXPECT_EQ(answer_.boxes, std::vector<SeenBox>{});
    Type(Coef(1), "1"); // a coefficient change empties the test boxes
    EXPECT_EQ(Text("txtInput") + Text("txtOutput"), "");
}

TEST_F(MainWindowTest, TestStopsAtAZeroDenominatorAndFocusesItsBox) {
    const struct {
        const char* input; // set as the toolkit's own paste would
        Grid grid;         // likewise
        const char* focused;
    } cases[] = {
        {"5/0", {{1, "1"}}, "txtInput"},
        {"5/0", {{2, "2/0"}, {3, "3/0"}}, "txtCoef_2"}, // the coefficient box wins
    };
    OpenWindow();
    for (const auto& c : cases) {
        PressCtrl(Qt::Key_S);
        for (const auto& [power, text] : c.grid)
            Coef(power)->setText(text);
        Find("txtInput")->setText(c.input);
        Find("txtOutput")->setText("kept");
        Find<QPushButton>("cmdTest")->setFocus();
        Click("cmdTest");
        EXPECT_EQ(Label("lblMsg"), "Division by 0");
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focused);
        EXPECT_EQ(Text("txtOutput"), "kept");
    }
    EXPECT_EQ(answer_.boxes, std::vector<SeenBox>{});
}

} // namespace
} // namespace valdrex
