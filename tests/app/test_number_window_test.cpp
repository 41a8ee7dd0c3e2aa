#include "main_window_fixture.h"

#include "core/number_text.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace valdrex {
namespace {

struct TestCase {
    Grid grid;
    const char* input;
    std::string expected;
};

TEST_F(MainWindowTest, TestEvaluatesTheTypedPolynomial) {
    const Grid cubic = {{3, "1"}, {2, "-6"}, {1, "11"}, {0, "-6"}};
    const std::vector<TestCase> cases = {
        {cubic, "3", " 0"},
        {cubic, "-1", "-24"},
        {cubic, "", "-6"}, // an empty input reads as 0
        {{{2, "1"}, {0, "-2"}}, "1.5", NumberToStr(0.25)},
        {{{1, "1/3"}}, "3", " 1"},
        {{{1, "0.5"}}, "4", " 2"},
    };
    OpenWindow();
    auto* input = Find<QLineEdit>(QStringLiteral("txtInput"));
    for (const TestCase& c : cases) {
        EnterGrid(c.grid);
        Type(input, QLatin1String(c.input));
        QTest::mouseClick(Find<QPushButton>(QStringLiteral("cmdTest")), Qt::LeftButton);
        EXPECT_EQ(Text("txtOutput").toStdString(), c.expected) << c.input;
    }
    EXPECT_TRUE(answerer_.boxes().empty());
}

struct ZeroDenominatorCase {
    const char* input; // set as the toolkit's own paste would
    Grid grid;         // set likewise
    const char* focused;
};

TEST_F(MainWindowTest, TestStopsAtAZeroDenominator) {
    const std::vector<ZeroDenominatorCase> cases = {
        {"5/0", {{1, "1"}}, "txtInput"},
        {"2", {{2, "2/0"}}, "txtCoef_2"},
        {"5/0", {{2, "2/0"}, {3, "3/0"}}, "txtCoef_2"}, // the coefficient box wins
    };
    OpenWindow();
    for (const ZeroDenominatorCase& c : cases) {
        PressCtrl(Qt::Key_S);
        for (const auto& [power, text] : c.grid)
            Coef(power)->setText(QLatin1String(text));
        Find<QLineEdit>(QStringLiteral("txtInput"))->setText(QLatin1String(c.input));
        // The output keeps what it held.
        Find<QLineEdit>(QStringLiteral("txtOutput"))->setText(QStringLiteral("kept"));
        auto* test = Find<QPushButton>(QStringLiteral("cmdTest"));
        test->setFocus();
        QTest::mouseClick(test, Qt::LeftButton);
        EXPECT_EQ(Find<QLabel>(QStringLiteral("lblMsg"))->text(), QStringLiteral("Division by 0"));
        EXPECT_EQ(QApplication::focusWidget()->objectName(), QLatin1String(c.focused));
        EXPECT_EQ(Text("txtOutput"), QStringLiteral("kept"));
    }
    EXPECT_TRUE(answerer_.boxes().empty());
}

} // namespace
} // namespace valdrex
