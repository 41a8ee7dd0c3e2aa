#include "dialogs/test_many_window.h"

#include "gui_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace valdrex {
namespace {

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
QString Texts(QWidget* window, const QStringList& names) {
    QStringList texts;
    for (const QString& name : names)
        texts << Child(window, name)->text();
    return texts.join('|');
}

TEST(TestManyWindow, StartsEmptyAndTestWritesTheSeriesAndItsValues) {
    ShowTestMany(2, [](QDialog* window) {
        const auto title = [&](const char* name) {
            return Child<QGroupBox>(window, name)->title();
        };
        EXPECT_EQ(window->objectName() + "|" + window->windowTitle(), "frmTest|Test many numbers");
        EXPECT_EQ(title("fraN") + "|" + title("fraInc") + "|" + title("fraPN") + "|" +
                      Child<QLabel>(window, "lblInitial")->text(),
                  "N values|Increment|P(N) values|Initial value");
        auto* test = Child<QPushButton>(window, "cmdCalcolo");
        auto* close = Child<QPushButton>(window, "cmdClose");
        EXPECT_EQ(test->text() + "|" + close->text(), "&Test|&Close");
        EXPECT_TRUE(test->isDefault());
        QStringList all{"txtInc"};
        for (int i = 0; i < 10; ++i)
            all << QString("txtTN_%1").arg(i) << QString("txtON_%1").arg(i);
        EXPECT_EQ(Texts(window, all), QString(20, '|'));

        QTest::keyClicks(Child(window, "txtTN_0"), "1");
        QTest::keyClicks(Child(window, "txtInc"), "1");
        QTest::mouseClick(test, Qt::LeftButton);
        EXPECT_EQ(Texts(window, {"txtTN_0", "txtON_0", "txtTN_9", "txtON_9"}), " 1| 0| 10| 99");
        // Enter presses Test again: the boxes stay as they are.
        QTest::keyClick(Child(window, "txtTN_3"), Qt::Key_Return);
        EXPECT_EQ(Texts(window, {"txtTN_3", "txtON_3", "txtON_9"}), " 4| 15| 99");
        EXPECT_TRUE(window->isVisible());
        QTest::mouseClick(close, Qt::LeftButton);
        EXPECT_FALSE(window->isVisible());
    });
}

TEST(TestManyWindow, BoxesFollowTheirKeyRules) {
    ShowTestMany(2, [](QDialog* window) {
        QTest::keyClicks(Child(window, "txtTN_2"), "1/2.5.-x");
        QTest::keyClick(Child(window, "txtTN_2"), Qt::Key_Home);
        QTest::keyClicks(Child(window, "txtTN_2"), "-");
        QTest::keyClicks(Child(window, "txtInc"), "-.5./");
        EXPECT_EQ(Texts(window, {"txtTN_2", "txtInc"}), "-12.5|-.5");
    });
}

TEST(TestManyWindow, FailureShowsTheSolverErrorBoxAndKeepsEarlierBoxes) {
    const Boxes boxes = ShowTestMany(12, [](QDialog* window) {
        QTest::keyClicks(Child(window, "txtTN_0"), "2");
        QTest::keyClicks(Child(window, "txtTN_1"), "1000000000000000000000000000");
        QTest::mouseClick(Child<QPushButton>(window, "cmdCalcolo"), Qt::LeftButton);
        EXPECT_EQ(Texts(window, {"txtON_0", "txtON_1"}), " 4095|");
    });
    EXPECT_EQ(boxes, (Boxes{{"Error  1001. Overflow", "Error", QMessageBox::Critical}}));
}

} // namespace
} // namespace valdrex
