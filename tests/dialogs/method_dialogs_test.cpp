#include "dialogs/method_dialogs.h"

#include "gui_test.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <string>
#include <vector>

namespace valdrex {
namespace {

struct Field {
    const char* caption;
    const char* box;
    std::string MethodOptions::*option;
};

struct DialogCase {
    const char* form;
    const char* id; // the controls are named after it: txtBwAc, vscBw, cmdBwOK, lblBwTh, lblBw_0
    void (*show)(MethodOptions&, QWidget*);
    const char* title;
    const char* explanation;
    const char* cancel;
    std::vector<Field> fields;
    std::vector<std::string> tabOrder;
};

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << c.form;
}

const DialogCase kDialogs[] = {
    {"frmBwOpt",
     "Bw",
     ShowBairstowOptions,
     "Baristow method",
     "You should define the calculus accuracy\nand two parameters P,Q so that: \n"
     "F(X) = G(X) * (X ^ 2 + PX + Q) + R",
     "cmdBWCancel",
     {{"Coef. P", "txtBwCfP", &MethodOptions::BairstowPText},
      {"Coef. Q", "txtBwCfQ", &MethodOptions::BairstowQText}},
     {"txtBwAc", "txtBwCfP", "txtBwCfQ", "cmdBwOK", "cmdBWCancel", "vscBw"}},
    {"frmDicOpt",
     "Dic",
     ShowBisectionOptions,
     "Dicotomic method",
     "You should define the calculus accuracy\nand the interval in which to search\nthe solutions",
     "cmdDicCancel",
     {{"Min", "txtDicMin", &MethodOptions::BisectionMinText},
      {"Max", "txtDicMax", &MethodOptions::BisectionMaxText},
      {"Increment", "txtDicInc", &MethodOptions::BisectionIncText}},
     {"txtDicAc", "txtDicMin", "txtDicMax", "cmdDicOK", "cmdDicCancel", "vscDic", "txtDicInc"}},
    {"frmNtOpt",
     "Nt",
     ShowNewtonOptions,
     "Newton method",
     "You should define the calculus accuracy\nand a point X0",
     "cmdNtCancel",
     {{"X", "txtNtX0", &MethodOptions::NewtonX0Text}},
     {"txtNtAc", "txtNtX0", "cmdNtOK", "cmdNtCancel", "vscNt"}},
};

void Retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

class MethodDialog : public ::testing::TestWithParam<DialogCase> {
  protected:
    // Opens the dialog on options_ and runs `act` while it is open.
    void Open(const std::function<void()>& act) {
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* dialog) {
            window_ = dialog;
            act();
        });
        GetParam().show(options_, nullptr);
    }
    template <class Widget = QLineEdit> Widget* Get(const QString& name) const {
        return Child<Widget>(window_, name);
    }
    // A control's name from a pattern such as "txt%1Ac".
    QString Name(const char* pattern) const { return QString(pattern).arg(GetParam().id); }
    void Click(const QString& name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }

    MethodOptions options_;
    QDialog* window_ = nullptr;
};

TEST_P(MethodDialog, OpeningResetsItsOptionsAndShowsTheDefaults) {
    const DialogCase& c = GetParam();
    const MethodOptions defaults;
    options_.OptionsConfirmed = true;
    for (std::string* text :
         {&options_.AccuracyText, &options_.BairstowPText, &options_.BairstowQText,
          &options_.BisectionMinText, &options_.BisectionMaxText, &options_.BisectionIncText,
          &options_.NewtonX0Text})
        *text = "7";
    Open([&] {
        EXPECT_EQ(window_->objectName(), c.form);
        EXPECT_EQ(window_->windowTitle(), c.title);
        EXPECT_EQ(Get<QLabel>(Name("lbl%1Th"))->text(), c.explanation);
        EXPECT_EQ(Get<QLabel>(Name("lbl%1_0"))->text(), "Accuracy");
        EXPECT_FALSE(options_.OptionsConfirmed);
        EXPECT_EQ(Get(Name("txt%1Ac"))->text(), "8");
        for (std::size_t i = 0; i < c.fields.size(); ++i) {
            EXPECT_EQ(Get<QLabel>(Name("lbl%1_") + QString::number(i + 1))->text(),
                      c.fields[i].caption);
            EXPECT_EQ(Get(c.fields[i].box)->text().toStdString(), defaults.*c.fields[i].option);
        }
        Click(c.cancel);
    });
    EXPECT_FALSE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.AccuracyText, "8");
    for (const Field& f : c.fields)
        EXPECT_EQ(options_.*f.option, defaults.*f.option);
    // The other methods' options are not this dialog's to reset.
    EXPECT_EQ(options_.NewtonX0Text, c.show == ShowNewtonOptions ? defaults.NewtonX0Text : "7");
}

TEST_P(MethodDialog, OkAndEnterCopyTheTextsAsTheyStandEscapeCancels) {
    const DialogCase& c = GetParam();
    const Field& first = c.fields.front();
    Open([&] {
        Retype(Get(Name("txt%1Ac")), "3");
        for (const Field& f : c.fields)
            Retype(Get(f.box), "-");
        Click(Name("cmd%1OK"));
    });
    EXPECT_TRUE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.AccuracyText, "3");
    for (const Field& f : c.fields)
        EXPECT_EQ(options_.*f.option, "-") << f.box;
    Open([&] {
        Retype(Get(first.box), "2.5");
        QTest::keyClick(Get(first.box), Qt::Key_Return);
    });
    EXPECT_TRUE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.*first.option, "2.5");
    Open([&] {
        Retype(Get(first.box), "4");
        QTest::keyClick(window_, Qt::Key_Escape);
        EXPECT_FALSE(window_->isVisible());
    });
    EXPECT_FALSE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.*first.option, MethodOptions{}.*first.option);
}

TEST_P(MethodDialog, BoxesAndSpinnerFollowTheirRules) {
    Open([&] {
        QLineEdit* box = Get(Name("txt%1Ac"));
        box->selectAll();
        for (Qt::Key key : {Qt::Key_9, Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_Period,
                            Qt::Key_Slash, Qt::Key_A, Qt::Key_Space})
            QTest::keyClick(box, key);
        EXPECT_EQ(box->text(), "8") << "only the digits 1 to 8";
        QTest::keyClicks(box, "56");
        EXPECT_EQ(box->text(), "5") << "one character only";

        auto* spinner = Get<QScrollBar>(Name("vsc%1"));
        const auto up = [&] { spinner->triggerAction(QAbstractSlider::SliderSingleStepSub); };
        const auto down = [&] { spinner->triggerAction(QAbstractSlider::SliderSingleStepAdd); };
        Retype(box, "8");
        up();
        EXPECT_EQ(box->text(), "8") << "8 is the highest";
        for (int i = 0; i < 9; ++i)
            down();
        EXPECT_EQ(box->text(), "1") << "1 is the lowest";
        Retype(box, "6");
        up();
        EXPECT_EQ(box->text(), "7") << "the spinner took the typed digit";
        Retype(box, "0"); // stays, the spinner standing at its lowest without rewriting it
        EXPECT_EQ(box->text(), "0");
        up();
        EXPECT_EQ(box->text(), "2");
        Retype(box, ""); // an emptied box leaves the spinner where it was
        down();
        EXPECT_EQ(box->text(), "1");

        for (const Field& f : GetParam().fields) {
            QLineEdit* value = Get(f.box);
            Retype(value, "5-");
            QTest::keyClick(value, Qt::Key_Home);
            QTest::keyClicks(value, "--");
            EXPECT_EQ(value->text(), "-5") << "one minus, at the start";
            QTest::keyClick(value, Qt::Key_End);
            QTest::keyClicks(value, ".2./a E");
            QTest::keyClick(value, Qt::Key_Backspace);
            EXPECT_EQ(value->text(), "-5.") << "one point, no slash, letter or blank";
        }
        Click(Name("cmd%1OK"));
    });
    EXPECT_EQ(options_.AccuracyText, "1");
}

TEST_P(MethodDialog, TabGoesThroughTheControlsInOrderSelectingFromTheCaret) {
    const DialogCase& c = GetParam();
    Open([&] {
        QLineEdit* box = Get(c.fields.front().box);
        box->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->selectedText(), box->text()) << "first entry selects the whole text";
        box->setText("123");
        box->setCursorPosition(1);
        Get<QPushButton>(Name("cmd%1OK"))->setFocus(Qt::TabFocusReason);
        box->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->selectedText(), "23");

        Get<QWidget>(QString::fromStdString(c.tabOrder.front()))->setFocus();
        std::vector<std::string> order;
        for (std::size_t i = 0; i <= c.tabOrder.size(); ++i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            order.push_back(QApplication::focusWidget()->objectName().toStdString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        std::vector<std::string> expected = c.tabOrder;
        expected.push_back(c.tabOrder.front());
        EXPECT_EQ(order, expected);
    });
}

INSTANTIATE_TEST_SUITE_P(AllMethods, MethodDialog, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.form); });

TEST(NewtonDialog, StartPointLabelIsXWithALoweredSmallerZero) {
    MethodOptions options;
    const ModalAnswer answer(QMessageBox::Ok, [](QDialog* window) {
        auto* x = window->findChild<QLabel*>("lblNt_1");
        auto* zero = window->findChild<QLabel*>("lblNt_2");
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
