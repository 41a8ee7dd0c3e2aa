#include "dialogs/test_many_window.h"

#include "modal_window.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace valdrex {
namespace {

using testing::Child;
using testing::WhenModalOpens;

QLineEdit* NumberBox(QWidget* window, int i) {
    return Child(window, QStringLiteral("txtTN_%1").arg(i).toLatin1().constData());
}
QLineEdit* ValueBox(QWidget* window, int i) {
    return Child(window, QStringLiteral("txtON_%1").arg(i).toLatin1().constData());
}

ModuleState XSquaredMinusOne() {
    ModuleState state;
    state.TestCoef[2] = 1;
    state.TestCoef[0] = -1;
    return state;
}

TEST(TestManyWindow, HasItsFramesAndStartsEmpty) {
    ModuleState state = XSquaredMinusOne();
    WhenModalOpens([](QWidget* window) {
        EXPECT_EQ(window->objectName(), "frmTest");
        EXPECT_EQ(window->windowTitle(), "Test many numbers");
        EXPECT_EQ(Child<QGroupBox>(window, "fraN")->title(), "N values");
        EXPECT_EQ(Child<QGroupBox>(window, "fraInc")->title(), "Increment");
        EXPECT_EQ(Child<QGroupBox>(window, "fraPN")->title(), "P(N) values");
        EXPECT_EQ(Child<QLabel>(window, "lblInitial")->text(), "Initial value");
        EXPECT_EQ(Child<QPushButton>(window, "cmdCalcolo")->text(), "&Test");
        EXPECT_TRUE(Child<QPushButton>(window, "cmdCalcolo")->isDefault());
        EXPECT_EQ(Child<QPushButton>(window, "cmdClose")->text(), "&Close");
        EXPECT_EQ(Child(window, "txtInc")->text(), "");
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(NumberBox(window, i)->text(), "");
            EXPECT_EQ(ValueBox(window, i)->text(), "");
        }
        QTest::mouseClick(Child<QPushButton>(window, "cmdClose"), Qt::LeftButton);
    });
    ShowTestManyNumbers(state, nullptr);
}

TEST(TestManyWindow, TestWritesTheSeriesAndItsValues) {
    ModuleState state = XSquaredMinusOne();
    WhenModalOpens([](QWidget* window) {
        QTest::keyClicks(NumberBox(window, 0), "1");
        QTest::keyClicks(Child(window, "txtInc"), "1");
        QTest::mouseClick(Child<QPushButton>(window, "cmdCalcolo"), Qt::LeftButton);
        for (int i = 0; i < 10; ++i) {
            const int n = i + 1;
            EXPECT_EQ(NumberBox(window, i)->text(), " " + QString::number(n));
            EXPECT_EQ(ValueBox(window, i)->text(), " " + QString::number(n * n - 1));
        }
        // Enter presses Test again: the boxes stay as they are.
        QTest::keyClick(NumberBox(window, 3), Qt::Key_Return);
        EXPECT_EQ(ValueBox(window, 9)->text(), " 99");
        EXPECT_TRUE(window->isVisible());
    });
    ShowTestManyNumbers(state, nullptr);
}

TEST(TestManyWindow, BoxesFollowTheirKeyRules) {
    ModuleState state;
    WhenModalOpens([](QWidget* window) {
        QLineEdit* number = NumberBox(window, 2);
        QTest::keyClicks(number, "1/2.5.-x");
        EXPECT_EQ(number->text(), "12.5");
        QTest::keyClick(number, Qt::Key_Home);
        QTest::keyClicks(number, "-");
        EXPECT_EQ(number->text(), "-12.5");

        QLineEdit* increment = Child(window, "txtInc");
        QTest::keyClicks(increment, "-.5./");
        EXPECT_EQ(increment->text(), "-.5");
    });
    ShowTestManyNumbers(state, nullptr);
}

TEST(TestManyWindow, FailureShowsTheSolverErrorBoxAndKeepsEarlierBoxes) {
    ModuleState state;
    state.TestCoef[12] = 1;
    QString boxText, boxTitle;
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    WhenModalOpens([&](QWidget* window) {
        QTest::keyClicks(NumberBox(window, 0), "2");
        QTest::keyClicks(NumberBox(window, 1), "1000000000000000000000000000");
        WhenModalOpens([&](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr);
            boxText = message->text();
            boxTitle = message->windowTitle();
            boxIcon = message->icon();
            message->accept();
        });
        QTest::mouseClick(Child<QPushButton>(window, "cmdCalcolo"), Qt::LeftButton);
        EXPECT_EQ(ValueBox(window, 0)->text(), " 4096");
        EXPECT_EQ(ValueBox(window, 1)->text(), "");
    });
    ShowTestManyNumbers(state, nullptr);
    EXPECT_EQ(boxText, "Error  1001. Overflow");
    EXPECT_EQ(boxTitle, "Error");
    EXPECT_EQ(boxIcon, QMessageBox::Critical);
}

} // namespace
} // namespace valdrex
