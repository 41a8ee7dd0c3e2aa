#include "dialogs/test_many_window.h"

#include "gui_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace valdrex {
namespace {

QLineEdit* NumberBox(QWidget* window, int i) {
    return Child(window, QString("txtTN_%1").arg(i));
}
QLineEdit* ValueBox(QWidget* window, int i) {
    return Child(window, QString("txtON_%1").arg(i));
}

ModuleState XSquaredMinusOne() {
    ModuleState state;
    state.TestCoef[2] = 1;
    state.TestCoef[0] = -1;
    return state;
}

// Shows the window and runs `act` on it; returns the message boxes it showed.
std::vector<SeenBox> ShowTestMany(ModuleState state, const std::function<void(QDialog*)>& act) {
    const ModalAnswer answer(QMessageBox::Ok, act);
    ShowTestManyNumbers(state, nullptr);
    return answer.boxes;
}

TEST(TestManyWindow, StartsEmptyAndTestWritesTheSeriesAndItsValues) {
    ShowTestMany(XSquaredMinusOne(), [](QDialog* window) {
        EXPECT_EQ(window->objectName(), "frmTest");
        EXPECT_EQ(window->windowTitle(), "Test many numbers");
        EXPECT_EQ(Child<QGroupBox>(window, "fraN")->title(), "N values");
        EXPECT_EQ(Child<QGroupBox>(window, "fraInc")->title(), "Increment");
        EXPECT_EQ(Child<QGroupBox>(window, "fraPN")->title(), "P(N) values");
        EXPECT_EQ(Child<QLabel>(window, "lblInitial")->text(), "Initial value");
        auto* test = Child<QPushButton>(window, "cmdCalcolo");
        EXPECT_EQ(test->text(), "&Test");
        EXPECT_TRUE(test->isDefault());
        EXPECT_EQ(Child<QPushButton>(window, "cmdClose")->text(), "&Close");
        QString all = Child(window, "txtInc")->text();
        for (int i = 0; i < 10; ++i)
            all += NumberBox(window, i)->text() + ValueBox(window, i)->text();
        EXPECT_EQ(all, "");

        QTest::keyClicks(NumberBox(window, 0), "1");
        QTest::keyClicks(Child(window, "txtInc"), "1");
        QTest::mouseClick(test, Qt::LeftButton);
        for (int i = 0, n = 1; i < 10; ++i, ++n) {
            EXPECT_EQ(NumberBox(window, i)->text(), " " + QString::number(n));
            EXPECT_EQ(ValueBox(window, i)->text(), " " + QString::number(n * n - 1));
        }
        // Enter presses Test again: the boxes stay as they are.
        QTest::keyClick(NumberBox(window, 3), Qt::Key_Return);
        EXPECT_EQ(ValueBox(window, 9)->text(), " 99");
        EXPECT_TRUE(window->isVisible());
        QTest::mouseClick(Child<QPushButton>(window, "cmdClose"), Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    });
}

TEST(TestManyWindow, BoxesFollowTheirKeyRules) {
    ShowTestMany(XSquaredMinusOne(), [](QDialog* window) {
        QLineEdit* number = NumberBox(window, 2);
        QTest::keyClicks(number, "1/2.5.-x");
        QTest::keyClick(number, Qt::Key_Home);
        QTest::keyClicks(number, "-");
        EXPECT_EQ(number->text(), "-12.5");
        QTest::keyClicks(Child(window, "txtInc"), "-.5./");
        EXPECT_EQ(Child(window, "txtInc")->text(), "-.5");
    });
}

TEST(TestManyWindow, FailureShowsTheSolverErrorBoxAndKeepsEarlierBoxes) {
    ModuleState state;
    state.TestCoef[12] = 1;
    const std::vector<SeenBox> boxes = ShowTestMany(state, [](QDialog* window) {
        QTest::keyClicks(NumberBox(window, 0), "2");
        QTest::keyClicks(NumberBox(window, 1), "1000000000000000000000000000");
        QTest::mouseClick(Child<QPushButton>(window, "cmdCalcolo"), Qt::LeftButton);
        EXPECT_EQ(ValueBox(window, 0)->text() + "|" + ValueBox(window, 1)->text(), " 4096|");
    });
    EXPECT_EQ(boxes,
              (std::vector<SeenBox>{{"Error  1001. Overflow", "Error", QMessageBox::Critical}}));
}

} // namespace
} // namespace valdrex
