#include "dialogs/many_numbers_window.h"

#include "core/checked_math.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/message_box.h"

#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace valdrex {
namespace {

// The N boxes rewritten as the series from the first box's number, by repeated addition.
void WriteSeries(TestManyTexts& texts) {
    const double increment = TextToNumber(texts.increment);
    std::array<double, kTestedNumberCount> numbers{};
    numbers[0] = TextToNumber(texts.numbers[0]);
    for (int i = 1; i < kTestedNumberCount; ++i)
        numbers[i] = Finite(numbers[i - 1] + increment);
    for (int i = 0; i < kTestedNumberCount; ++i)
        texts.numbers[i] = NumberToStr(numbers[i]);
}

class TestManyWindow : public QDialog {
  public:
    TestManyWindow(const TestCoefficients& coef, QWidget* parent);

  private:
    QGroupBox* NumbersFrame();
    QGroupBox* IncrementFrame();
    QGroupBox* ValuesFrame();
    void Test();
    TestManyTexts Texts() const;
    void Show(const TestManyTexts& texts);

    const TestCoefficients& coef_;
    std::array<NumberBox*, kTestedNumberCount> numbers_{};
    NumberBox* increment_ = nullptr;
    std::array<QLineEdit*, kTestedNumberCount> values_{};
};

void SetTextIfChanged(QLineEdit* box, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    if (box->text() != shown)
        box->setText(shown);
}

TestManyWindow::TestManyWindow(const TestCoefficients& coef, QWidget* parent)
    : QDialog(parent, kDialogFrame), coef_(coef) {
    setObjectName("frmTest");
    setWindowTitle(QStringLiteral("Test many numbers"));
    setWindowIcon(ProgramIcon());

    auto* test = new QPushButton(QStringLiteral("&Test"), this);
    test->setObjectName("cmdCalcolo");
    test->setDefault(true);
    connect(test, &QPushButton::clicked, this, &TestManyWindow::Test);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName("cmdClose");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* middle = new QVBoxLayout;
    middle->addWidget(IncrementFrame());
    middle->addStretch();
    middle->addWidget(test);
    middle->addWidget(close);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(NumbersFrame());
    layout->addLayout(middle);
    layout->addWidget(ValuesFrame());
    layout->setSizeConstraint(QLayout::SetFixedSize);

    QWidget::setTabOrder(numbers_.back(), increment_);
    SetTabOrder({increment_, test, close});
}

QGroupBox* TestManyWindow::NumbersFrame() {
    auto* frame = new QGroupBox(QStringLiteral("N values"), this);
    frame->setObjectName("fraN");
    auto* grid = new QGridLayout(frame);
    auto* initial = new QLabel(QStringLiteral("Initial value"), frame);
    initial->setObjectName("lblInitial");
    grid->addWidget(initial, 0, 0);
    for (int i = 0; i < kTestedNumberCount; ++i) {
        numbers_[i] = new NumberBox(KeyRule::SignedDecimal, frame);
        numbers_[i]->setObjectName(QStringLiteral("txtTN_%1").arg(i));
        numbers_[i]->setAlignment(Qt::AlignRight);
        grid->addWidget(numbers_[i], i, 1);
        if (i > 0)
            QWidget::setTabOrder(numbers_[i - 1], numbers_[i]);
    }
    return frame;
}

QGroupBox* TestManyWindow::IncrementFrame() {
    auto* frame = new QGroupBox(QStringLiteral("Increment"), this);
    frame->setObjectName("fraInc");
    increment_ = new NumberBox(KeyRule::Increment, frame);
    increment_->setObjectName("txtInc");
    increment_->setAlignment(Qt::AlignRight);
    auto* column = new QVBoxLayout(frame);
    column->addWidget(increment_);
    return frame;
}

QGroupBox* TestManyWindow::ValuesFrame() {
    auto* frame = new QGroupBox(QStringLiteral("P(N) values"), this);
    frame->setObjectName("fraPN");
    auto* column = new QVBoxLayout(frame);
    const int width =
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("-8.88888888888888E+888"));
    for (int i = 0; i < kTestedNumberCount; ++i) {
        values_[i] = new QLineEdit(frame);
        values_[i]->setObjectName(QStringLiteral("txtON_%1").arg(i));
        values_[i]->setAlignment(Qt::AlignRight);
        values_[i]->setReadOnly(true);
        values_[i]->setFocusPolicy(Qt::ClickFocus);
        values_[i]->setMinimumWidth(width + 12);
        column->addWidget(values_[i]);
    }
    return frame;
}

TestManyTexts TestManyWindow::Texts() const {
    TestManyTexts texts;
    for (int i = 0; i < kTestedNumberCount; ++i) {
        texts.numbers[i] = BoxText(numbers_[i]);
        texts.values[i] = BoxText(values_[i]);
    }
    texts.increment = BoxText(increment_);
    return texts;
}

void TestManyWindow::Show(const TestManyTexts& texts) {
    for (int i = 0; i < kTestedNumberCount; ++i) {
        SetTextIfChanged(numbers_[i], texts.numbers[i]);
        SetTextIfChanged(values_[i], texts.values[i]);
    }
}

void TestManyWindow::Test() {
    TestManyTexts texts = Texts();
    const std::optional<ErrorBox> failure = RunTestMany(coef_, texts);
    Show(texts);
    if (failure)
        ShowErrorBox(*failure, this);
}

} // namespace

std::optional<ErrorBox> RunTestMany(const TestCoefficients& coef, TestManyTexts& texts) {
    try {
        if (!texts.increment.empty())
            WriteSeries(texts);
        for (int i = 0; i < kTestedNumberCount; ++i) {
            if (texts.numbers[i].empty())
                continue;
            // Evaluated at the number as written, so the value matches what the box shows.
            texts.values[i] = NumberToStr(EvaluateTest(coef, TextToNumber(texts.numbers[i])));
        }
    } catch (const RuntimeFailure& failure) {
        return SolverErrorBox(failure);
    }
    return std::nullopt;
}

void ShowTestManyNumbers(ModuleState& state, QWidget* parent) {
    TestManyWindow window(state.TestCoef, parent);
    window.exec();
}

} // namespace valdrex
