// The main window's control tree: the equation, the grid and the solutions on the left, the
// annotations, Test a number and the factor on the right, the status line below.
#include "app/main_window.h"
#include "dialogs/number_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace valdrex {
namespace {

// The historic fixed window's client area, in pixels: the size a first start opens at.
constexpr QSize kHistoricClientSize{765, 506};
// The right-hand column keeps the historic width; the left one takes what the window gains.
constexpr int kRightColumnWidth = 213;
constexpr int kLeftColumnRows = 7; // the grid's left column: x^12 down to x^6
constexpr int kBoxMinimumWidth = 80;
constexpr int kColumnGap = 20;
constexpr double kExponentFontScale = 0.75;

constexpr char kGeometrySection[] = "Main window";
constexpr char kGeometryKey[] = "Geometry";

template <typename Widget> Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& caption) {
    return Named(new QGroupBox(caption, parent), name);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = Named(new QPushButton(caption, parent), name);
    button->setAutoDefault(false);
    return button;
}

// A frame's layout, as close as the historic window's.
template <typename Layout> Layout* Inside(QWidget* frame) {
    auto* layout = new Layout(frame);
    layout->setContentsMargins(8, 4, 8, 6);
    layout->setSpacing(4);
    return layout;
}

// A button centred on its own row.
QHBoxLayout* Centred(QWidget* button) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    row->addStretch();
    return row;
}

// `frame` no larger than `screen` and moved inside it.
QRect InsideScreen(QRect frame, const QRect& screen) {
    frame.setSize(frame.size().boundedTo(screen.size()));
    frame.moveTo(std::clamp(frame.left(), screen.left(), screen.right() + 1 - frame.width()),
                 std::clamp(frame.top(), screen.top(), screen.bottom() + 1 - frame.height()));
    return frame;
}

} // namespace

void frmMain::BuildControls() {
    // The historic window had a fixed size. This one can be resized, so that long roots fit and
    // the window fits small or scaled screens; below the controls' smallest size it scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto* client = Named(new QWidget, "client");
    scroll->setWidget(client);
    setCentralWidget(scroll);

    Frame3 = MakeFrame(client, "Frame3", QStringLiteral("Equation"));
    BuildEquationFrame(Frame3);

    Frame1 = MakeFrame(client, "Frame1", QStringLiteral("Coefficients"));
    BuildCoefficientGrid(Frame1);

    Frame2 = MakeFrame(client, "Frame2", QStringLiteral("Solutions"));
    lstSol = Named(new QListWidget(Frame2), "lstSol");
    lstSol->setSelectionMode(QAbstractItemView::ExtendedSelection);
    (Inside<QVBoxLayout>(Frame2))->addWidget(lstSol);

    fraNote = MakeFrame(client, "fraNote", QStringLiteral("Annotations"));
    txtNote = Named(new QPlainTextEdit(fraNote), "txtNote");
    txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNote->setTabChangesFocus(true);
    cmdUpdate = MakeButton(fraNote, "cmdUpdate", QStringLiteral("&Update"));
    auto* note = Inside<QVBoxLayout>(fraNote);
    note->addWidget(txtNote);
    note->addLayout(Centred(cmdUpdate));

    fraTest = MakeFrame(client, "fraTest", QStringLiteral("Test a number"));
    txtInput = Named(new NumberBox(KeyRule::SignedDecimal, fraTest), "txtInput");
    txtInput->setSelectToEndOnFocus(false);
    txtInput->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    cmdTest = MakeButton(fraTest, "cmdTest", QStringLiteral("&Test"));
    lblPx = Named(new QLabel(QStringLiteral("P(x) ="), fraTest), "lblPx");
    txtOutput = Named(new QLineEdit(fraTest), "txtOutput");
    txtOutput->setReadOnly(true);
    txtOutput->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtOutput->setFocusPolicy(Qt::ClickFocus);
    auto* test = Inside<QGridLayout>(fraTest);
    test->addWidget(txtInput, 0, 0, 1, 2);
    test->addWidget(cmdTest, 0, 2);
    test->addWidget(lblPx, 1, 0);
    test->addWidget(txtOutput, 1, 1, 1, 2);
    test->setColumnStretch(1, 1);

    fraCmd = MakeFrame(client, "fraCmd", QStringLiteral("Irreducible factor"));
    txtFactor = Named(new QLineEdit(fraCmd), "txtFactor");
    txtFactor->setReadOnly(true);
    txtFactor->setFocusPolicy(Qt::ClickFocus);
    cmdPut = MakeButton(fraCmd, "cmdPut", QStringLiteral("&Put"));
    cmdPut->setEnabled(false);
    auto* factor = Inside<QVBoxLayout>(fraCmd);
    factor->addWidget(txtFactor);
    factor->addLayout(Centred(cmdPut));

    // The two labels share the line; each text is fitted to its own part.
    lblMsg = Named(new QLabel(client), "lblMsg");
    lblInfo = Named(new QLabel(client), "lblInfo");
    lblInfo->setTextFormat(Qt::PlainText);
    for (QLabel* label : {lblMsg, lblInfo})
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* left = new QVBoxLayout;
    left->setSpacing(2);
    left->addWidget(Frame3);
    left->addWidget(Frame1);
    left->addWidget(Frame2, 1);
    auto* right = new QVBoxLayout;
    right->setSpacing(2);
    right->addWidget(fraNote, 1);
    right->addWidget(fraTest);
    right->addWidget(fraCmd);
    for (QWidget* frame : {fraNote, fraTest, fraCmd})
        frame->setFixedWidth(kRightColumnWidth);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right);
    auto* status = new QHBoxLayout;
    status->addWidget(lblMsg, 1);
    status->addWidget(lblInfo, 2);
    auto* whole = new QVBoxLayout(client);
    whole->setContentsMargins(4, 4, 4, 2);
    whole->setSpacing(2);
    whole->addLayout(columns, 1);
    whole->addLayout(status);

    SetTabOrder();
    txtCoef[kCoefficientCount - 1]->setFocus();
}

void frmMain::BuildEquationFrame(QGroupBox* frame) {
    txtEquationLine = Named(new QLineEdit(frame), "txtEquationLine");
    txtEquationLine->setPlaceholderText(
        QStringLiteral("Type or paste an equation, such as x^3 - 6x^2 + 11x - 6, then Enter"));
    txtEquationLine->setClearButtonEnabled(true);
    lblLineError = Named(new QLabel(frame), "lblLineError");
    lblLineError->setTextFormat(Qt::PlainText);
    QPalette red = lblLineError->palette();
    red.setColor(QPalette::WindowText, Qt::darkRed);
    lblLineError->setPalette(red);
    lblLineError->hide();

    txtEquation = Named(new QLineEdit(QStringLiteral("0 = 0"), frame), "txtEquation");
    txtEquation->setReadOnly(true);
    QPalette buttonFace = txtEquation->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    txtEquation->setPalette(buttonFace);

    auto* line = new QHBoxLayout;
    line->addWidget(txtEquationLine, 3);
    line->addWidget(lblLineError, 2);
    auto* rows = Inside<QVBoxLayout>(frame);
    rows->addLayout(line);
    rows->addWidget(txtEquation);
}

// Two columns of boxes, x^12..x^6 on the left and x^5..x^0 on the right, each box followed by
// its "x" and a raised exponent. The label arrays go by screen order, not by power.
void frmMain::BuildCoefficientGrid(QGroupBox* frame) {
    QFont exponentFont = frame->font();
    exponentFont.setPointSizeF(exponentFont.pointSizeF() * kExponentFontScale);
    auto* grid = Inside<QGridLayout>(frame);
    grid->setHorizontalSpacing(2);
    grid->setColumnMinimumWidth(3, kColumnGap);

    for (int power = kCoefficientCount - 1; power >= 0; --power) {
        const int position = kCoefficientCount - 1 - power;
        const int column = position < kLeftColumnRows ? 0 : 4;
        const int row = column == 0 ? position : position - kLeftColumnRows;

        auto* box = new NumberBox(KeyRule::Grid, frame);
        box->setObjectName(QStringLiteral("txtCoef_%1").arg(power));
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setMinimumWidth(kBoxMinimumWidth);
        box->setText(QStringLiteral("0"));
        box->setCursorPosition(0);
        txtCoef[power] = box;

        auto* letter = new QLabel(power == 0 ? QStringLiteral("k") : QStringLiteral("x"), frame);
        letter->setObjectName(QStringLiteral("lblx_%1").arg(position));
        lblx[position] = letter;

        auto* exponent = new QLabel(power >= 2 ? QString::number(power) : QString(), frame);
        exponent->setObjectName(QStringLiteral("lblExp_%1").arg(position));
        exponent->setFont(exponentFont);
        exponent->setMinimumWidth(
            QFontMetrics(exponentFont).horizontalAdvance(QStringLiteral("12")));
        lblExp[position] = exponent;

        grid->addWidget(box, row, column);
        grid->addWidget(letter, row, column + 1, Qt::AlignVCenter);
        grid->addWidget(exponent, row, column + 2, Qt::AlignTop);
        grid->setColumnStretch(column, 1);
    }
    grid->setRowStretch(kLeftColumnRows, 1);
}

void frmMain::SetTabOrder() {
    QWidget* previous = txtCoef[kCoefficientCount - 1];
    const auto chain = [&previous](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (int power = kCoefficientCount - 2; power >= 0; --power)
        chain(txtCoef[power]);
    // The equation line comes last, so that Shift+Tab from the first box reaches it.
    for (QWidget* next : std::initializer_list<QWidget*>{txtInput, cmdTest, cmdPut, lstSol, txtNote,
                                                         cmdUpdate, txtEquation, txtEquationLine})
        chain(next);
}

void frmMain::PlaceWindow() {
    resize(kHistoricClientSize + QSize(0, menuBar()->sizeHint().height()));
    const std::optional<std::string> stored = store_.Read(kGeometrySection, kGeometryKey);
    if (stored)
        restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(*stored)));
    // Before it is shown, the window cannot know the title bar and border a window manager
    // adds; KeepOnScreen corrects the guess once it is shown.
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QMargins frame(border, border + style()->pixelMetric(QStyle::PM_TitleBarHeight), border,
                         border);
    const QRect place = InsideScreen(geometry().marginsAdded(frame), screen()->availableGeometry());
    if (stored)
        setGeometry(place.marginsRemoved(frame));
    else // the window manager chooses the place
        resize(place.marginsRemoved(frame).size());
}

void frmMain::KeepOnScreen() {
    const QRect frame = frameGeometry();
    const QRect place = InsideScreen(frame, screen()->availableGeometry());
    if (place == frame)
        return;
    resize(size() - (frame.size() - place.size()));
    move(place.topLeft()); // a window's position is its frame's
}

void frmMain::StoreWindowPlace() {
    store_.Write(kGeometrySection, kGeometryKey, saveGeometry().toBase64().toStdString());
}

} // namespace valdrex
