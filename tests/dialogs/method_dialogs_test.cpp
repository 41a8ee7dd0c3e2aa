#include "dialogs/method_dialogs.h"

#include "modal_window.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using testing::Child;
using testing::WhenModalOpens;

struct Field {
    const char* label;
    const char* caption;
    const char* box;
    std::string MethodOptions::*option;
};

struct DialogCase {
    const char* form;
    void (*show)(MethodOptions&, QWidget*);
    const char* title;
    const char* explanationLabel;
    const char* explanation;
    const char* accuracyLabel;
    const char* accuracyBox;
    const char* spinner;
    const char* ok;
    const char* cancel;
    std::vector<Field> fields;
    std::vector<const char*> tabOrder;
};

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << c.form;
}

const DialogCase kBairstow{
    "frmBwOpt",
    ShowBairstowOptions,
    "Baristow method",
    "lblBwTh",
    "You should define the calculus accuracy\nand two parameters P,Q so that: \n"
    "F(X) = G(X) * (X ^ 2 + PX + Q) + R",
    "lblBw_0",
    "txtBwAc",
    "vscBw",
    "cmdBwOK",
    "cmdBWCancel",
    {{"lblBw_1", "Coef. P", "txtBwCfP", &MethodOptions::BairstowPText},
     {"lblBw_2", "Coef. Q", "txtBwCfQ", &MethodOptions::BairstowQText}},
    {"txtBwAc", "txtBwCfP", "txtBwCfQ", "cmdBwOK", "cmdBWCancel", "vscBw"}};

const DialogCase kBisection{
    "frmDicOpt",
    ShowBisectionOptions,
    "Dicotomic method",
    "lblDicTh",
    "You should define the calculus accuracy\nand the interval in which to search\n"
    "the solutions",
    "lblDic_0",
    "txtDicAc",
    "vscDic",
    "cmdDicOK",
    "cmdDicCancel",
    {{"lblDic_1", "Min", "txtDicMin", &MethodOptions::BisectionMinText},
     {"lblDic_2", "Max", "txtDicMax", &MethodOptions::BisectionMaxText},
     {"lblDic_3", "Increment", "txtDicInc", &MethodOptions::BisectionIncText}},
    {"txtDicAc", "txtDicMin", "txtDicMax", "cmdDicOK", "cmdDicCancel", "vscDic", "txtDicInc"}};

const DialogCase kNewton{"frmNtOpt",
                         ShowNewtonOptions,
                         "Newton method",
                         "lblNtTh",
                         "You should define the calculus accuracy\nand a point X0",
                         "lblNt_0",
                         "txtNtAc",
                         "vscNt",
                         "cmdNtOK",
                         "cmdNtCancel",
                         {{"lblNt_1", "X", "txtNtX0", &MethodOptions::NewtonX0Text}},
                         {"txtNtAc", "txtNtX0", "cmdNtOK", "cmdNtCancel", "vscNt"}};

// Options whose every text differs from the defaults, confirmed by an earlier dialog.
MethodOptions UsedOptions() {
    MethodOptions options;
    options.OptionsConfirmed = true;
    for (std::string* text : {&options.AccuracyText, &options.BairstowPText, &options.BairstowQText,
                              &options.BisectionMinText, &options.BisectionMaxText,
                              &options.BisectionIncText, &options.NewtonX0Text})
        *text = "7";
    return options;
}

void Retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

class MethodDialog : public ::testing::TestWithParam<DialogCase> {
  protected:
    // Opens the dialog on `options` and runs `act` on it while it is open.
    void Open(MethodOptions& options, std::function<void(QWidget*)> act) {
        WhenModalOpens(std::move(act));
        GetParam().show(options, nullptr);
    }
};

TEST_P(MethodDialog, OpeningResetsItsOptionsAndShowsTheDefaults) {
    const DialogCase& c = GetParam();
    MethodOptions options = UsedOptions();
    const MethodOptions defaults;
    Open(options, [&](QWidget* window) {
        EXPECT_EQ(window->objectName(), c.form);
        EXPECT_EQ(window->windowTitle(), c.title);
        EXPECT_EQ(Child<QLabel>(window, c.explanationLabel)->text(), c.explanation);
        EXPECT_EQ(Child<QLabel>(window, c.accuracyLabel)->text(), "Accuracy");
        EXPECT_FALSE(options.OptionsConfirmed);
        EXPECT_EQ(Child(window, c.accuracyBox)->text(), "8");
        for (const Field& f : c.fields) {
            EXPECT_EQ(Child<QLabel>(window, f.label)->text(), f.caption);
            EXPECT_EQ(Child(window, f.box)->text().toStdString(), defaults.*f.option) << f.box;
        }
        QTest::mouseClick(Child<QPushButton>(window, c.cancel), Qt::LeftButton);
    });
    EXPECT_FALSE(options.OptionsConfirmed);
    EXPECT_EQ(options.AccuracyText, "8");
    for (const Field& f : c.fields)
        EXPECT_EQ(options.*f.option, defaults.*f.option);
    // The other methods' options are not this dialog's to reset.
    if (c.show != ShowNewtonOptions) {
        EXPECT_EQ(options.NewtonX0Text, "7");
    }
}

TEST_P(MethodDialog, OkCopiesTheTextsAsTheyStand) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        Retype(Child(window, c.accuracyBox), "3");
        for (const Field& f : c.fields)
            Retype(Child(window, f.box), "-");
        QTest::mouseClick(Child<QPushButton>(window, c.ok), Qt::LeftButton);
    });
    EXPECT_TRUE(options.OptionsConfirmed);
    EXPECT_EQ(options.AccuracyText, "3");
    for (const Field& f : c.fields)
        EXPECT_EQ(options.*f.option, "-") << f.box;
}

TEST_P(MethodDialog, EnterConfirmsAndEscapeCancels) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        Retype(Child(window, c.fields.front().box), "2.5");
        QTest::keyClick(Child(window, c.fields.front().box), Qt::Key_Return);
    });
    EXPECT_TRUE(options.OptionsConfirmed);
    EXPECT_EQ(options.*c.fields.front().option, "2.5");

    Open(options, [&](QWidget* window) {
        Retype(Child(window, c.fields.front().box), "4");
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_FALSE(options.OptionsConfirmed);
    EXPECT_EQ(options.*c.fields.front().option, MethodOptions{}.*c.fields.front().option);
}

TEST_P(MethodDialog, AccuracyBoxTakesOnlyDigitsUpToEight) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        QLineEdit* box = Child(window, c.accuracyBox);
        box->selectAll();
        for (Qt::Key key : {Qt::Key_9, Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_Period,
                            Qt::Key_Slash, Qt::Key_A, Qt::Key_Space}) {
            QTest::keyClick(box, key);
            EXPECT_EQ(box->text(), "8") << "key " << key;
        }
        QTest::keyClick(box, Qt::Key_5);
        EXPECT_EQ(box->text(), "5");
        QTest::keyClick(box, Qt::Key_6);
        EXPECT_EQ(box->text(), "5") << "one character only";
    });
}

TEST_P(MethodDialog, SpinnerAndAccuracyBoxFollowEachOther) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        QLineEdit* box = Child(window, c.accuracyBox);
        auto* spinner = Child<QScrollBar>(window, c.spinner);
        const auto up = [&] { spinner->triggerAction(QAbstractSlider::SliderSingleStepSub); };
        const auto down = [&] { spinner->triggerAction(QAbstractSlider::SliderSingleStepAdd); };

        up();
        EXPECT_EQ(box->text(), "8") << "8 is the highest";
        for (int i = 0; i < 9; ++i)
            down();
        EXPECT_EQ(box->text(), "1") << "1 is the lowest";
        up();
        EXPECT_EQ(box->text(), "2");

        Retype(box, "6");
        up();
        EXPECT_EQ(box->text(), "7") << "the spinner took the typed digit";

        // "0" stays in the box; the spinner stands at its lowest without rewriting it.
        Retype(box, "0");
        EXPECT_EQ(box->text(), "0");
        up();
        EXPECT_EQ(box->text(), "2");

        // An emptied box leaves the spinner where it was.
        Retype(box, "");
        EXPECT_EQ(box->text(), "");
        down();
        EXPECT_EQ(box->text(), "1");

        QTest::mouseClick(Child<QPushButton>(window, c.ok), Qt::LeftButton);
    });
    EXPECT_EQ(options.AccuracyText, "1");
}

TEST_P(MethodDialog, ValueBoxesTakeSignedDecimals) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        for (const Field& f : c.fields) {
            QLineEdit* box = Child(window, f.box);
            Retype(box, "5-");
            EXPECT_EQ(box->text(), "5") << "no minus after a digit";
            QTest::keyClick(box, Qt::Key_Home);
            QTest::keyClicks(box, "--");
            EXPECT_EQ(box->text(), "-5") << "one minus, at the start";
            QTest::keyClick(box, Qt::Key_End);
            QTest::keyClicks(box, ".2./a E");
            EXPECT_EQ(box->text(), "-5.2") << "one point, no slash, letter or blank";
            QTest::keyClick(box, Qt::Key_Backspace);
            EXPECT_EQ(box->text(), "-5.");
        }
    });
}

TEST_P(MethodDialog, EnteringABoxSelectsFromTheCaretToTheEnd) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        QLineEdit* box = Child(window, c.fields.front().box);
        box->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->selectedText(), box->text()) << "first entry selects the whole text";

        box->setText("123");
        box->setCursorPosition(1);
        Child<QPushButton>(window, c.ok)->setFocus(Qt::TabFocusReason);
        box->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->selectedText(), "23");
    });
}

TEST_P(MethodDialog, TabGoesThroughTheControlsInOrder) {
    const DialogCase& c = GetParam();
    MethodOptions options;
    Open(options, [&](QWidget* window) {
        Child<QWidget>(window, c.tabOrder.front())->setFocus(Qt::OtherFocusReason);
        std::vector<std::string> order;
        for (std::size_t i = 0; i <= c.tabOrder.size(); ++i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            order.push_back(QApplication::focusWidget()->objectName().toStdString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        std::vector<std::string> expected(c.tabOrder.begin(), c.tabOrder.end());
        expected.push_back(c.tabOrder.front());
        EXPECT_EQ(order, expected);
    });
}

INSTANTIATE_TEST_SUITE_P(AllMethods, MethodDialog,
                         ::testing::Values(kBairstow, kBisection, kNewton),
                         [](const auto& info) { return std::string(info.param.form); });

TEST(NewtonDialog, StartPointLabelIsXWithALoweredSmallerZero) {
    MethodOptions options;
    WhenModalOpens([](QWidget* window) {
        auto* x = Child<QLabel>(window, "lblNt_1");
        auto* zero = Child<QLabel>(window, "lblNt_2");
        EXPECT_EQ(zero->text(), "0");
        EXPECT_LT(zero->font().pointSizeF(), x->font().pointSizeF());
        EXPECT_GT(zero->mapTo(window, QPoint(0, zero->height())).y(),
                  x->mapTo(window, QPoint(0, x->height())).y() - 1);
        EXPECT_GT(zero->mapTo(window, QPoint()).y(), x->mapTo(window, QPoint()).y());
    });
    ShowNewtonOptions(options, nullptr);
}

} // namespace
} // namespace valdrex
