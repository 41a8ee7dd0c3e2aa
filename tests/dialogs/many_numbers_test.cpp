#include "core/failure.h"
#include "dialogs/many_numbers_window.h"
#include "gui_test.h"
#include "window_texts.h"

#include <QPushButton>

namespace valdrex {
namespace {

using Texts = std::array<std::string, 10>;

// Coefficients lowest power first.
const TestCoefficients kXSquaredMinusOne{-1, 0, 1};
const std::optional<ErrorBox> kOverflow =
    SolverErrorBox(RuntimeFailure(kOverflowNumber, "Overflow"));

// Presses Test with the N boxes and the increment, expecting `box`; returns the boxes then.
TestManyTexts PressTest(const TestCoefficients& coef, const Texts& numbers, const char* increment,
                        const std::optional<ErrorBox>& box = std::nullopt,
                        const Texts& values = {}) {
    TestManyTexts texts{numbers, increment, values};
    EXPECT_EQ(RunTestMany(coef, texts), box);
    return texts;
}

TEST(RunTestMany, SeriesFromInitialValueAndIncrement) {
    const TestManyTexts ones = PressTest(kXSquaredMinusOne, {"1"}, "1");
    EXPECT_EQ(ones.numbers, (Texts{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", " 10"}));
    EXPECT_EQ(ones.values,
              (Texts{" 0", " 3", " 8", " 15", " 24", " 35", " 48", " 63", " 80", " 99"}));
    // 0.1 + 0.1 + 0.1 is not 0.3, but the box reads " .3" and P is taken there.
    const TestManyTexts tenths = PressTest(kXSquaredMinusOne, {""}, ".1");
    EXPECT_EQ(tenths.numbers,
              (Texts{" 0", " .1", " .2", " .3", " .4", " .5", " .6", " .7", " .8", " .9"}));
    EXPECT_EQ(tenths.values[3], "-.91");
    const TestManyTexts down = PressTest(kXSquaredMinusOne, {"2"}, "-.5");
    EXPECT_EQ(down.numbers[9] + "|" + down.values[9], "-2.5| 5.25");
}

TEST(RunTestMany, WithoutIncrementOnlyTypedBoxesAreEvaluatedAndKeepTheirText) {
    const Texts numbers{"", "3", "", "", "-.5"};
    const TestManyTexts texts =
        PressTest(kXSquaredMinusOne, numbers, "", std::nullopt, {"", "", "old"});
    EXPECT_EQ(texts.numbers, numbers);
    EXPECT_EQ(texts.values, (Texts{"", " 8", "old", "", "-.75"}));
}

TEST(RunTestMany, ZeroPolynomialAndConstantAtZero) {
    const std::tuple<TestCoefficients, const char*, const char*> cases[] = {
        {{}, "7", " 0"},
        {{}, "0", " 0"},
        {TestCoefficients{-4, 0, 0, 2}, "0", "-4"},
        {TestCoefficients{2.5}, "0", " 2.5"}};
    for (const auto& [coef, number, value] : cases)
        EXPECT_EQ(PressTest(coef, {number}, "").values[0], value) << number;
}

TEST(RunTestMany, OverflowKeepsTheBoxesWrittenBefore) {
    EXPECT_EQ(PressTest(TestCoefficients{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1},
                        {"2", "1E+300", "3"}, "", kOverflow)
                  .values,
              (Texts{" 4096"}));
    // An overflow in the series itself rewrites no box.
    const TestManyTexts series = PressTest(kXSquaredMinusOne, {"1E+308"}, "1E+308", kOverflow);
    EXPECT_EQ(series.numbers, (Texts{"1E+308"}));
    EXPECT_EQ(series.values, Texts{});
}

// Shows the window for P(x) = x^power - 1 and runs `act` on it; returns the boxes it showed.
Boxes ShowTestMany(int power, const std::function<void(QDialog*)>& act) {
    ModuleState state;
    state.TestCoef[power] = 1;
    state.TestCoef[0] = -1;
    const ModalAnswer answer(QMessageBox::Ok, act);
    ShowTestManyNumbers(state, nullptr);
    return answer.boxes;
}

// The texts of the named boxes, joined by '|'.
QString Shown(QWidget* window, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names)
        texts << Child(window, name)->text();
    return texts.join('|');
}

TEST(TestManyWindow, StartsEmptyAndTestWritesTheSeriesAndItsValues) {
    ShowTestMany(2, [](QDialog* window) {
        auto* test = Child<QPushButton>(window, "cmdCalcolo");
        auto* close = Child<QPushButton>(window, "cmdClose");
        EXPECT_TRUE(test->isDefault());
        EXPECT_EQ(Child(window, "txtON_0")->alignment() & Qt::AlignRight, Qt::AlignRight);
        QStringList all{"txtInc"};
        for (int i = 0; i < 10; ++i)
            all << QString("txtTN_%1").arg(i) << QString("txtON_%1").arg(i);
        EXPECT_EQ(Shown(window, all), QString(20, '|'));
        ExpectTidyLayout(window);
        ExpectShownTexts(window, WINDOW_TEXTS_DIR "/frmTest.txt", true);
        Child(window, "txtTN_0")->setFocus(Qt::TabFocusReason);
        for (int i = 1; i < 10; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget(), Child(window, QString("txtTN_%1").arg(i)));
        }

        QTest::keyClicks(Child(window, "txtTN_0"), "1");
        QTest::keyClicks(Child(window, "txtInc"), "1");
        QTest::mouseClick(test, Qt::LeftButton);
        EXPECT_EQ(Shown(window, {"txtTN_0", "txtON_0", "txtTN_9", "txtON_9"}), " 1| 0| 10| 99");
        // Enter presses Test again: the boxes stay as they are.
        QTest::keyClick(Child(window, "txtTN_3"), Qt::Key_Return);
        EXPECT_EQ(Shown(window, {"txtTN_3", "txtON_3", "txtON_9"}), " 4| 15| 99");
        EXPECT_TRUE(window->isVisible());
        QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    });
}

TEST(TestManyWindow, AFailureShowsItsBoxAndKeepsEarlierValuesKeysFollowTheRules) {
    const Boxes boxes = ShowTestMany(12, [](QDialog* window) {
        QTest::keyClicks(Child(window, "txtTN_0"), "2");
        QTest::keyClicks(Child(window, "txtTN_1"), "1000000000000000000000000000");
        QTest::mouseClick(Child<QPushButton>(window, "cmdCalcolo"), Qt::LeftButton);
        EXPECT_EQ(Shown(window, {"txtON_0", "txtON_1"}), " 4095|");
        // The boxes' key rules: one minus, at the start; one point; digits only.
        QTest::keyClicks(Child(window, "txtTN_2"), "1/2.5.-x");
        QTest::keyClick(Child(window, "txtTN_2"), Qt::Key_Home);
        QTest::keyClicks(Child(window, "txtTN_2"), "-");
        QTest::keyClicks(Child(window, "txtInc"), "-.5./");
        EXPECT_EQ(Shown(window, {"txtTN_2", "txtInc"}), "-12.5|-.5");
    });
    EXPECT_EQ(boxes, (Boxes{{"Error  1001. Overflow", "Error", QMessageBox::Critical}}));
}

} // namespace
} // namespace valdrex
