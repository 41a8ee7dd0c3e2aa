// The main window's control tree. Positions are in twips (1/1440 inch); at 96 dots per inch 15
// twips make one pixel, and the toolkit scales pixels for other screens by itself.
#include "app/main_window.h"
#include "app/numeric_line_edit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace valdrex {
namespace {

constexpr int kTwipsPerPixel = 15;

QRect Twips(int left, int top, int width, int height) {
    return {left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
            height / kTwipsPerPixel};
}

// The coefficient grid: two columns of boxes, x^12..x^6 on the left and x^5..x^0 on the
// right, each box followed by its "x" and a raised exponent.
constexpr int kLeftColumnRows = 7;
constexpr int kGridTop = 360;
constexpr int kRowPitch = 390;
constexpr int kBoxWidth = 3000;
constexpr int kBoxHeight = 330;
constexpr std::array<int, 2> kColumnLeft{300, 4335};
constexpr int kLetterGap = 45;
constexpr int kLetterWidth = 150;
constexpr int kExponentIndent = 135;
constexpr int kExponentRaise = 45;
constexpr int kExponentWidth = 300;
constexpr int kExponentHeight = 210;
constexpr double kExponentFontScale = 0.75;

template <typename Widget>
Widget* MakeChild(QWidget* parent, const QString& name, const QRect& geometry) {
    auto* widget = new Widget(parent);
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption,
                     const QRect& geometry) {
    auto* frame = MakeChild<QGroupBox>(parent, name, geometry);
    frame->setTitle(caption);
    return frame;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& geometry) {
    auto* button = MakeChild<QPushButton>(parent, name, geometry);
    button->setText(caption);
    button->setAutoDefault(false);
    return button;
}

} // namespace

void frmMain::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(Twips(0, 0, 11475, 7590).size());
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    Frame3 = MakeFrame(client, "Frame3", QStringLiteral("Equation"), Twips(60, 60, 8115, 1095));
    txtEquation = MakeChild<QLineEdit>(Frame3, "txtEquation", Twips(180, 420, 7755, 360));
    txtEquation->setReadOnly(true);
    txtEquation->setText(QStringLiteral("0 = 0"));
    QPalette buttonFace = txtEquation->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtEquation->setPalette(buttonFace);

    Frame1 =
        MakeFrame(client, "Frame1", QStringLiteral("Coefficients"), Twips(60, 1140, 8115, 3225));
    BuildCoefficientGrid(Frame1);

    Frame2 = MakeFrame(client, "Frame2", QStringLiteral("Solutions"), Twips(60, 4380, 8115, 2895));
    lstSol = MakeChild<QListWidget>(Frame2, "lstSol", Twips(300, 420, 7455, 2220));
    lstSol->setSelectionMode(QAbstractItemView::ExtendedSelection);

    fraNote =
        MakeFrame(client, "fraNote", QStringLiteral("Annotations"), Twips(8220, 60, 3195, 3990));
    txtNote = MakeChild<QPlainTextEdit>(fraNote, "txtNote", Twips(180, 420, 2835, 2715));
    txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNote->setTabChangesFocus(true);
    cmdUpdate =
        MakeButton(fraNote, "cmdUpdate", QStringLiteral("&Update"), Twips(1020, 3360, 1095, 375));

    fraTest = MakeFrame(client, "fraTest", QStringLiteral("Test a number"),
                        Twips(8220, 4080, 3195, 1755));
    txtInput = new NumericLineEdit(KeyRule::SignedDecimal, fraTest);
    txtInput->setObjectName(QStringLiteral("txtInput"));
    txtInput->setGeometry(Twips(180, 420, 1800, 330));
    txtInput->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cmdTest = MakeButton(fraTest, "cmdTest", QStringLiteral("&Test"), Twips(2100, 405, 915, 375));
    lblPx = MakeChild<QLabel>(fraTest, "lblPx", Twips(180, 975, 765, 330));
    lblPx->setText(QStringLiteral("P(x) ="));
    txtOutput = MakeChild<QLineEdit>(fraTest, "txtOutput", Twips(945, 975, 2070, 330));
    txtOutput->setReadOnly(true);
    txtOutput->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtOutput->setFocusPolicy(Qt::ClickFocus);

    fraCmd = MakeFrame(client, "fraCmd", QStringLiteral("Irreducible factor"),
                       Twips(8220, 5880, 3195, 1395));
    txtFactor = MakeChild<QLineEdit>(fraCmd, "txtFactor", Twips(180, 360, 2835, 330));
    txtFactor->setReadOnly(true);
    txtFactor->setFocusPolicy(Qt::ClickFocus);
    cmdPut = MakeButton(fraCmd, "cmdPut", QStringLiteral("&Put"), Twips(1050, 840, 1095, 375));
    cmdPut->setEnabled(false);

    // The two labels meet without overlapping.
    // The two labels meet without overlapping.
    lblMsg = MakeChild<QLabel>(client, "lblMsg", Twips(60, 7260, 3195, 315));
    lblInfo = MakeChild<QLabel>(client, "lblInfo", Twips(3300, 7260, 8115, 315));
    lblInfo->setTextFormat(Qt::PlainText);

    SetTabOrder();
    txtCoef[kCoefficientCount - 1]->setFocus();
}

void frmMain::BuildCoefficientGrid(QGroupBox* frame) {
    QFont exponentFont = frame->font();
    exponentFont.setPointSizeF(exponentFont.pointSizeF() * kExponentFontScale);

    for (int power = kCoefficientCount - 1; power >= 0; --power) {
        const int position = kCoefficientCount - 1 - power; // label arrays go by screen order
        const int column = position < kLeftColumnRows ? 0 : 1;
        const int row = column == 0 ? position : position - kLeftColumnRows;
        const int left = kColumnLeft[column];
        const int top = kGridTop + row * kRowPitch;
        const int letterLeft = left + kBoxWidth + kLetterGap;

        auto* box = new NumericLineEdit(KeyRule::Grid, frame);
        box->setObjectName(QStringLiteral("txtCoef_%1").arg(power));
        box->setGeometry(Twips(left, top, kBoxWidth, kBoxHeight));
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setSelectToEndOnFocus(true);
        box->setText(QStringLiteral("0"));
        box->setCursorPosition(0);
        txtCoef[power] = box;

        auto* letter = MakeChild<QLabel>(frame, QStringLiteral("lblx_%1").arg(position),
                                         Twips(letterLeft, top, kLetterWidth, kBoxHeight));
        letter->setText(power == 0 ? QStringLiteral("k") : QStringLiteral("x"));
        lblx[position] = letter;

        auto* exponent = MakeChild<QLabel>(frame, QStringLiteral("lblExp_%1").arg(position),
                                           Twips(letterLeft + kExponentIndent, top - kExponentRaise,
                                                 kExponentWidth, kExponentHeight));
        exponent->setFont(exponentFont);
        exponent->setText(power >= 2 ? QString::number(power) : QString());
        lblExp[position] = exponent;
    }
}

void frmMain::SetTabOrder() {
    QWidget* previous = txtCoef[kCoefficientCount - 1];
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (int power = kCoefficientCount - 2; power >= 0; --power)
        chain(txtCoef[power]);
    for (QWidget* next : std::initializer_list<QWidget*>{txtInput, cmdTest, cmdPut, lstSol, txtNote,
                                                         cmdUpdate, txtEquation})
        chain(next);
}

} // namespace valdrex
