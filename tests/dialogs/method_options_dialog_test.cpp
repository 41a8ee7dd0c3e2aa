#include "dialogs/method_options_dialog.h"

#include "dialogs/scan_progress_dialog.h"
#include "gui_test.h"
#include "window_texts.h"

#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace valdrex {
namespace {

using M = MethodOptions;
using Option = std::string M::*;

// The controls are named after `id`: frmBwOpt, txtBwAc, vscBw, cmdBwOK, lblBwTh, lblBw_0.
struct DialogCase {
    const char* id;
    SolveMethod method;
    std::vector<Option> options; // of the boxes in the tab order, the accuracy first
    QStringList tabOrder;        // from the accuracy box; the cancel button is the one after OK
};

const DialogCase kDialogs[] = {
    {"Bw",
     SolveMethod::Bairstow,
     {&M::AccuracyText, &M::BairstowPText, &M::BairstowQText},
     {"txtBwAc", "txtBwCfP", "txtBwCfQ", "cmdBwOK", "cmdBWCancel", "vscBw"}},
    {"Dic",
     SolveMethod::Bisection,
     {&M::AccuracyText, &M::BisectionMinText, &M::BisectionMaxText, &M::BisectionIncText},
     {"txtDicAc", "txtDicMin", "txtDicMax", "cmdDicOK", "cmdDicCancel", "vscDic", "txtDicInc"}},
    {"Nt",
     SolveMethod::Newton,
     {&M::AccuracyText, &M::NewtonX0Text},
     {"txtNtAc", "txtNtX0", "cmdNtOK", "cmdNtCancel", "vscNt"}},
};

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << c.id;
}

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
        const bool confirmed = ShowMethodOptions(MethodRowOf(c.method), options_, nullptr);
        EXPECT_EQ(confirmed, options_.OptionsConfirmed);
    }
    // A control by its name, or by a pattern such as "txt%1Ac".
    template <class Widget = QLineEdit> Widget* Get(const QString& name) const {
        return Child<Widget>(window_, name.contains("%1") ? name.arg(c.id) : name);
    }
    void Click(const QString& name) { QTest::mouseClick(Get<QPushButton>(name), Qt::LeftButton); }
    // What the user types in box i for the OK test.
    static std::string Typed(std::size_t i) { return i == 0 ? "3" : "-"; }

    const DialogCase& c = GetParam();
    const QStringList boxes = c.tabOrder.filter(QRegularExpression("^txt"));
    const QString valueBox = boxes[1];
    const Option value = c.options[1];
    M options_;
    QDialog* window_ = nullptr;
};

TEST_P(MethodDialog, OpeningResetsItsOptionsAndShowsTheDefaults) {
    options_.OptionsConfirmed = true;
    for (const DialogCase& any : kDialogs)
        for (Option option : any.options)
            options_.*option = "7";
    Open([&] {
        ExpectTidyLayout(window_);
        ExpectShownTexts(window_, QString(WINDOW_TEXTS_DIR "/frm%1Opt.txt").arg(c.id), true);
        EXPECT_FALSE(options_.OptionsConfirmed);
        EXPECT_EQ(QApplication::focusWidget(), Get("txt%1Ac")) << "the accuracy box first";
        Click(c.tabOrder[c.tabOrder.indexOf(QString("cmd%1OK").arg(c.id)) + 1]); // Cancel
    });
    EXPECT_FALSE(options_.OptionsConfirmed);
    for (Option option : c.options)
        EXPECT_EQ(options_.*option, M{}.*option);
    // The other methods' options are not this dialog's to reset.
    EXPECT_EQ(options_.NewtonX0Text, c.method == SolveMethod::Newton ? "0" : "7");
}

TEST_P(MethodDialog, OkAndEnterCopyTheTextsAsTheyStandEscapeCancels) {
    Open([&] {
        for (qsizetype i = 0; i < boxes.size(); ++i)
            Retype(Get(boxes[i]), QString::fromStdString(Typed(i)));
        Click("cmd%1OK");
    });
    EXPECT_TRUE(options_.OptionsConfirmed);
    for (std::size_t i = 0; i < c.options.size(); ++i)
        EXPECT_EQ(options_.*c.options[i], Typed(i)) << i;
    Open([&] {
        Retype(Get(valueBox), "2.5");
        QTest::keyClick(Get(valueBox), Qt::Key_Return);
    });
    EXPECT_TRUE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.*value, "2.5");
    Open([&] {
        Retype(Get(valueBox), "4");
        QTest::keyClick(window_, Qt::Key_Escape);
        EXPECT_FALSE(window_->isVisible());
    });
    EXPECT_FALSE(options_.OptionsConfirmed);
    EXPECT_EQ(options_.*value, M{}.*value);
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
        const std::tuple<const char*, int, const char*> steps[] = {
            {"8", 1, "8"}, {nullptr, -9, "1"}, {"6", 1, "7"},
            {"0", 0, "0"}, {nullptr, 1, "2"},  {"", -1, "1"}};
        for (const auto& [typed, up, text] : steps) {
            if (typed != nullptr)
                Retype(box, typed);
            for (int i = 0; i < std::abs(up); ++i)
                Get<QScrollBar>("vsc%1")->triggerAction(up > 0
                                                            ? QAbstractSlider::SliderSingleStepSub
                                                            : QAbstractSlider::SliderSingleStepAdd);
            EXPECT_EQ(box->text(), text) << (typed ? typed : "") << up;
        }

        for (const QString& name : boxes.mid(1)) {
            QLineEdit* other = Get(name);
            Retype(other, "5-");
            QTest::keyClick(other, Qt::Key_Home);
            QTest::keyClicks(other, "--");
            EXPECT_EQ(other->text(), "-5") << "one minus, at the start";
            QTest::keyClick(other, Qt::Key_End);
            QTest::keyClicks(other, ".2./a E");
            QTest::keyClick(other, Qt::Key_Backspace);
            EXPECT_EQ(other->text(), "-5.") << "one point, no slash, letter or blank";
        }
        Click("cmd%1OK");
    });
    EXPECT_EQ(options_.AccuracyText, "1");
}

TEST_P(MethodDialog, TabGoesThroughTheControlsInOrderSelectingFromTheCaret) {
    Open([&] {
        QLineEdit* box = Get(valueBox);
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
                         [](const auto& info) { return std::string(info.param.id); });

// The digits dialog opens at the default, spins from 1 to 30, and only OK hands its value over.
TEST(AllRootsDialog, DigitsFromOneToThirty) {
    M options;
    options.DigitsText = "7";
    options.NewtonX0Text = "7";
    const auto open = [&](const std::function<void(QDialog*, QSpinBox*)>& act) {
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            ExpectShownTexts(window, WINDOW_TEXTS_DIR "/frmArOpt.txt", true);
            ExpectTidyLayout(window);
            const QRect ok = Child<QPushButton>(window, "cmdArOK")->geometry();
            const QRect cancel = Child<QPushButton>(window, "cmdArCancel")->geometry();
            EXPECT_NEAR(ok.left(), window->width() - cancel.right(), 2) << "centred";
            act(window, Child<QSpinBox>(window, "spnArDigits"));
        });
        EXPECT_EQ(ShowMethodOptions(MethodRowOf(SolveMethod::AllRoots), options, nullptr),
                  options.OptionsConfirmed);
    };
    open([](QDialog* window, QSpinBox* digits) {
        EXPECT_EQ(digits->value(), 15);
        EXPECT_EQ(QApplication::focusWidget(), digits);
        digits->setValue(40);
        EXPECT_EQ(digits->value(), 30);
        digits->setValue(0);
        EXPECT_EQ(digits->value(), 1);
        QTest::keyClick(window, Qt::Key_Escape);
    });
    EXPECT_FALSE(options.OptionsConfirmed);
    EXPECT_EQ(options.DigitsText, "15");
    EXPECT_EQ(options.NewtonX0Text, "7");
    open([](QDialog* window, QSpinBox* digits) {
        digits->selectAll();
        QTest::keyClicks(digits, "22");
        QTest::mouseClick(Child<QPushButton>(window, "cmdArOK"), Qt::LeftButton);
    });
    EXPECT_TRUE(options.OptionsConfirmed);
    EXPECT_EQ(options.DigitsText, "22");
}

// A solve runs on a thread of its own. A short one shows nothing (an unexpected modal window
// fails the test); a long one shows the share a scan reports, or a busy bar, until it ends by
// itself or Cancel stops it, which returns at once.
TEST(ScanProgressDialog, ShowsALongSolveUntilItEndsOrCancelStopsIt) {
    using Clock = std::chrono::steady_clock;
    ScanProgressDialog dialog(nullptr);
    std::thread::id solvedOn;
    dialog.Run([&](const ScanProgress& progress, const std::atomic<bool>*) {
        solvedOn = std::this_thread::get_id();
        progress(0.5);
    });
    EXPECT_NE(solvedOn, std::this_thread::get_id());

    bool stopped = false;
    Clock::time_point cancelled;
    {
        const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
            auto* progress = qobject_cast<QProgressDialog*>(window);
            ASSERT_NE(progress, nullptr);
            QTRY_COMPARE(progress->value(), 42);
            EXPECT_EQ(progress->labelText(), "Scanning the interval...");
            cancelled = Clock::now();
            progress->findChild<QPushButton*>()->click();
        });
        dialog.Run([&](const ScanProgress& progress, const std::atomic<bool>* stop) {
            while (progress(0.42))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            stopped = *stop;
        });
    }
    EXPECT_LT(Clock::now() - cancelled, std::chrono::milliseconds(100));
    EXPECT_TRUE(stopped);

    const ModalAnswer answer(QMessageBox::Ok, [&](QDialog* window) {
        auto* progress = qobject_cast<QProgressDialog*>(window);
        EXPECT_EQ(progress->maximum(), 0);
        EXPECT_EQ(progress->labelText(), "Solving the equation...");
        QTRY_VERIFY(!progress->isVisible()); // the solve's end closes it
    });
    dialog.Run([](const ScanProgress&, const std::atomic<bool>* stop) {
        for (int k = 0; k < 600 && !*stop; ++k)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        EXPECT_FALSE(*stop);
    });
    EXPECT_EQ(ShownWindow<QProgressDialog>(), nullptr);
}

} // namespace
} // namespace valdrex
