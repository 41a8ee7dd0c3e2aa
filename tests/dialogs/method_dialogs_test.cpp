#include "dialogs/method_dialogs.h"

#include "gui_test.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

#include <string>
#include <vector>

namespace valdrex {
namespace {

using Option = std::string MethodOptions::*;

struct Field {
    const char* caption;
    const char* box;
    Option option;
};

struct DialogCase {
    const char* form;
    const char* id; // the controls are named after it: txtBwAc, vscBw, cmdBwOK, lblBwTh, lblBw_0
    void (*show)(MethodOptions&, QWidget*);
    const char* title;
    const char* explanation;
    std::vector<Field> fields;
    QStringList tabOrder; // from the accuracy box; the cancel button is the one after OK
};

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << c.form;
}

const char kBairstowText[] = "You should define the calculus accuracy\nand two parameters P,Q so "
                             "that: \nF(X) = G(X) * (X ^ 2 + PX + Q) + R";
const char kBisectionText[] =
    "You should define the calculus accuracy\nand the interval in which to search\nthe solutions";
const DialogCase kDialogs[] = {
    {"frmBwOpt",
     "Bw",
     ShowBairstowOptions,
     "Baristow method",
     kBairstowText,
     {{"Coef. P", "txtBwCfP", &MethodOptions::BairstowPText},
      {"Coef. Q", "txtBwCfQ", &MethodOptions::BairstowQText}},
     {"txtBwAc", "txtBwCfP", "txtBwCfQ", "cmdBwOK", "cmdBWCancel", "vscBw"}},
    {"frmDicOpt",
     "Dic",
     ShowBisectionOptions,
     "Dicotomic method",
     kBisectionText,
     {{"Min", "txtDicMin", &MethodOptions::BisectionMinText},
      {"Max", "txtDicMax", &MethodOptions::BisectionMaxText},
      {"Increment", "txtDicInc", &MethodOptions::BisectionIncText}},
     {"txtDicAc", "txtDicMin", "txtDicMax", "cmdDicOK", "cmdDicCancel", "vscDic", "txtDicInc"}},
    {"frmNtOpt",
     "Nt",
     ShowNewtonOptions,
     "Newton method",
     "You should define the calculus accuracy\nand a point X0",
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
        c.show(options_, nullptr);
    }
    // A control by its name, or by a pattern such as "txt%1Ac".
    template <class Widget = QLineEdit> Widget* Get(const QString& name) const {
        return Child<Widget>(window_, name.contains("%1") ? name.arg(c.id) : name);
    }
    void Click(const QString& name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
    QString Cancel() const {
        return c.tabOrder[c.tabOrder.indexOf(QString("cmd%1OK").arg(c.id)) + 1];
    }

    const DialogCase& c = GetParam();
    const Field& first = c.fields.front();
    MethodOptions options_;
    QDialog* window_ = nullptr;
};

TEST_P(MethodDialog, OpeningResetsItsOptionsAndShowsTheDefaults) {
    const MethodOptions defaults;
    options_.OptionsConfirmed = true;
    options_.AccuracyText = "7";
    for (const DialogCase& any : kDialogs)
        for (const Field& f : any.fields)
            options_.*f.option = "7";
    Open([&] {
        EXPECT_EQ(window_->objectName(), c.form);
        EXPECT_EQ(window_->windowTitle(), c.title);
        EXPECT_EQ(Get<QLabel>("lbl%1Th")->text(), c.explanation);
        EXPECT_EQ(Get<QLabel>("lbl%1_0")->text(), "Accuracy");
        EXPECT_FALSE(options_.OptionsConfirmed);
        EXPECT_EQ(Get("txt%1Ac")->text(), "8");
        for (std::size_t i = 0; i < c.fields.size(); ++i) {
            EXPECT_EQ(Get<QLabel>("lbl%1_" + QString::number(i + 1))->text(), c.fields[i].caption);
            EXPECT_EQ(Get(c.fields[i].box)->text().toStdString(), defaults.*c.fields[i].option);
        }
        Click(Cancel());
    });
    EXPECT_FALSE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.AccuracyText, "8");
    for (const Field& f : c.fields)
        EXPECT_EQ(options_.*f.option, defaults.*f.option);
    // The other methods' options are not this dialog's to reset.
    EXPECT_EQ(options_.NewtonX0Text, c.show == ShowNewtonOptions ? defaults.NewtonX0Text : "7");
}

TEST_P(MethodDialog, OkAndEnterCopyTheTextsAsTheyStandEscapeCancels) {
    Open([&] {
        Retype(Get("txt%1Ac"), "3");
        for (const Field& f : c.fields)
            Retype(Get(f.box), "-");
        Click("cmd%1OK");
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
        QLineEdit* box = Get("txt%1Ac");
        box->selectAll();
        for (Qt::Key key : {Qt::Key_9, Qt::Key_Backspace, Qt::Key_Minus, Qt::Key_Period,
                            Qt::Key_Slash, Qt::Key_A, Qt::Key_Space})
            QTest::keyClick(box, key);
        EXPECT_EQ(box->text(), "8") << "only the digits 1 to 8";
        QTest::keyClicks(box, "56");
        EXPECT_EQ(box->text(), "5") << "one character only";

        // The text typed (if any), the spinner's steps up (or down), the box's text then. The
        // spinner stays within 1 to 8 and takes a typed digit; a typed "0" stays in the box with
        // the spinner at its lowest, and an emptied box leaves the spinner where it was.
        const struct {
            const char* typed;
            int up;
            const char* text;
        } steps[] = {{"8", 1, "8"}, {nullptr, -9, "1"}, {"6", 1, "7"},
                     {"0", 0, "0"}, {nullptr, 1, "2"},  {"", -1, "1"}};
        auto* spinner = Get<QScrollBar>("vsc%1");
        for (const auto& step : steps) {
            if (step.typed != nullptr)
                Retype(box, step.typed);
            for (int i = 0; i < std::abs(step.up); ++i)
                spinner->triggerAction(step.up > 0 ? QAbstractSlider::SliderSingleStepSub
                                                   : QAbstractSlider::SliderSingleStepAdd);
            EXPECT_EQ(box->text(), step.text) << (step.typed ? step.typed : "") << step.up;
        }

        for (const Field& f : c.fields) {
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
        Click("cmd%1OK");
    });
    EXPECT_EQ(options_.AccuracyText, "1");
}

TEST_P(MethodDialog, TabGoesThroughTheControlsInOrderSelectingFromTheCaret) {
    Open([&] {
        QLineEdit* box = Get(first.box);
        box->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->selectedText(), box->text()) << "first entry selects the whole text";
        box->setText("123");
        box->setCursorPosition(1);
        Get<QPushButton>("cmd%1OK")->setFocus(Qt::TabFocusReason);
        box->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(box->selectedText(), "23");

        Get<QWidget>(c.tabOrder.front())->setFocus();
        QStringList order;
        for (qsizetype i = 0; i <= c.tabOrder.size(); ++i) {
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(order, c.tabOrder + QStringList{c.tabOrder.front()});
    });
}

INSTANTIATE_TEST_SUITE_P(AllMethods, MethodDialog, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.form); });

TEST(NewtonDialog, StartPointLabelIsXWithALoweredSmallerZero) {
    MethodOptions options;
    const ModalAnswer answer(QMessageBox::Ok, [](QDialog* window) {
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
