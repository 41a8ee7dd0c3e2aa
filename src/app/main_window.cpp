#include "app/main_window.h"
#include "app/plot_loader.h"
#include "app/status_text_fit.h"
#include "dialogs/message_box.h"
#include "dialogs/number_box.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <utility>

namespace valdrex {
namespace {

// A text the program writes: no change event runs, and the caret goes to the start.
void SetBoxText(QLineEdit* box, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (box->text() == value)
        return;
    const QSignalBlocker blocker(box);
    box->setText(value);
    box->setCursorPosition(0);
}

void SetNoteText(QPlainTextEdit* box, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (box->toPlainText() == value)
        return;
    const QSignalBlocker blocker(box);
    box->setPlainText(value);
}

void SetListLines(QListWidget* list, const std::vector<std::string>& lines) {
    QStringList items;
    for (const std::string& line : lines)
        items << QString::fromStdString(line);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    if (shown == items)
        return;
    list->clear();
    list->addItems(items);
}

} // namespace

frmMain::frmMain(ModuleState& state, SettingsStore& store, const AppEnvironment& env,
                 QWidget* parent)
    : QMainWindow(parent), store_(store), model_(state) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("#"));
    BuildControls();
    BuildMenus();
    PlaceWindow();
    ConnectControls();
    ConnectMenus();
    ConnectDialogMenus();
    Form_Load(env);
}

frmMain::~frmMain() {
    qApp->removeEventFilter(shortcutGuard_);
    disconnect(qApp, nullptr, this, nullptr);
}

void frmMain::ConnectControls() {
    for (int power = 0; power < kCoefficientCount; ++power)
        connect(txtCoef[power], &QLineEdit::textChanged, this,
                [this, power] { txtCoef_Change(power); });
    connect(txtFactor, &QLineEdit::textChanged, this, &frmMain::txtFactor_Change);
    connect(txtEquationLine, &QLineEdit::returnPressed, this, &frmMain::txtEquationLine_Enter);
    connect(txtEquationLine, &QLineEdit::textEdited, lblLineError, &QWidget::hide);
    connect(cmdPut, &QPushButton::clicked, this, &frmMain::cmdPut_Click);
    connect(cmdTest, &QPushButton::clicked, this, &frmMain::cmdTest_Click);
    connect(cmdUpdate, &QPushButton::clicked, this, &frmMain::cmdUpdate_Click);

    // The other boxes only pass their texts on: typed, or changed by Cut and Paste.
    connect(txtInput, &QLineEdit::textChanged, this, [this](const QString& text) {
        model_.SetInput(text.toStdString());
        SetBoxText(txtOutput, model_.output());
    });
    connect(txtNote, &QPlainTextEdit::textChanged, this,
            [this] { model_.SetNote(txtNote->toPlainText().toStdString()); });
    connect(txtEquation, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_.SetEquation(text.toStdString()); });
    connect(txtOutput, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_.SetOutput(text.toStdString()); });
}

void frmMain::Form_Load(const AppEnvironment& env) {
    if (LoadMainSettings(model_.state(), store_, env))
        setWindowTitle(QLatin1String(kAppTitle));
    ShowDatabaseFileCaption();
}

void frmMain::Form_Activate() {
    ShowDatabaseFileCaption();
}

void frmMain::ShowDatabaseFileCaption() {
    QString path = QString::fromStdString(model_.state().DatabaseFile);
    // A "&" in the path is text, not an access letter.
    path.replace(u'&', QStringLiteral("&&"));
    mnuFileApri->setText(QStringLiteral("&Edit ") + path);
}

bool frmMain::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QMainWindow::event(event);
}

void frmMain::closeEvent(QCloseEvent* event) {
    StoreMainSettings(model_.state(), store_);
    StoreWindowPlace();
    event->accept();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!std::exchange(shownBefore_, true))
        QTimer::singleShot(0, this, &frmMain::KeepOnScreen); // once the frame is known
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ShowInfo(); // fitted to the label's new width
}

void frmMain::ShowModel() {
    for (int power = 0; power < kCoefficientCount; ++power)
        SetBoxText(txtCoef[power], model_.coefficients()[power]);
    SetBoxText(txtEquation, model_.equation());
    SetListLines(lstSol, model_.solutionLines());
    ShowResultsAge();
    ShowInfo();
    SetBoxText(txtInput, model_.input());
    SetBoxText(txtOutput, model_.output());
    SetNoteText(txtNote, model_.note());
    SetBoxText(txtFactor, model_.factor());
    txtFactor_Change();
    FollowPlot(model_.coefficients());
}

// The historic window left the previous equation's results on screen beside a changed grid,
// as if they were the new one's.
void frmMain::ShowResultsAge() {
    const bool outdated = model_.resultsOutdated();
    QString message = QString::fromStdString(model_.message());
    if (outdated)
        message = (message + QStringLiteral(" (previous equation)")).trimmed();
    lblMsg->setText(message);
    for (QWidget* result : std::initializer_list<QWidget*>{lstSol, lblMsg, txtFactor}) {
        QPalette colours = QApplication::palette(result);
        if (outdated)
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
                colours.setColor(role, colours.color(QPalette::Disabled, role));
        result->setPalette(colours);
    }
}

// The label is too narrow for most paths; the tooltip holds the whole text.
void frmMain::ShowInfo() {
    const QString info = QString::fromStdString(model_.info());
    lblInfo->setText(FitStatusText(info, QString::fromStdString(model_.state().DatabaseFile),
                                   lblInfo->fontMetrics(), lblInfo->width()));
    lblInfo->setToolTip(info);
}

void frmMain::ShowCommandResult(std::span<const ErrorBox> errors,
                                const std::optional<UnreadBox>& unread) {
    ShowModel();
    if (unread) {
        QWidget* box = unread->box == UnreadBox::Box::Input ? txtInput : txtCoef.at(unread->power);
        box->setFocus(Qt::OtherFocusReason);
    }
    // The model's own list may change while a box waits for OK.
    const ErrorBoxes boxes(errors.begin(), errors.end());
    for (const ErrorBox& box : boxes)
        ShowErrorBox(box, this);
}

// Copy all and Update write the grid's equation beside results; results marked "(previous
// equation)" are another equation's, so the copy and the record leave them out rather than
// pair them with it.
void frmMain::WithoutOutdatedResults(const std::function<void()>& command) {
    if (!model_.resultsOutdated()) {
        command();
        return;
    }
    const MainModel::Snapshot shown = model_.TakeSnapshot();
    MainModel::Snapshot setAside = shown;
    setAside.results = {};
    model_.RestoreChanges(shown, setAside);
    command();
    // What the command said in the information line stays.
    model_.RestoreChanges(setAside, shown);
}

void frmMain::txtCoef_Change(int index) {
    const std::string text = txtCoef[index]->text().toStdString();
    ShowCommandResult(history_.Record(index, [&] { return model_.SetCoefficient(index, text); }));
}

void frmMain::txtEquationLine_Enter() {
    const std::string text = txtEquationLine->text().toStdString();
    const EnterEquationResult result =
        history_.Record(GridHistory::kCommand, [&] { return model_.EnterEquation(text); });
    if (!result.entered) {
        lblLineError->setText(QString::fromStdString(result.error));
        lblLineError->setToolTip(lblLineError->text());
        lblLineError->show();
        txtEquationLine->setFocus(Qt::OtherFocusReason);
        // Every character the line reads is one position of the box; the column of the
        // first it cannot read is therefore its position too.
        txtEquationLine->setCursorPosition(result.column - 1);
        return;
    }
    lblLineError->hide();
    ShowModel();
    txtEquationLine->selectAll(); // the next equation replaces it
}

void frmMain::EnterEquationLine(const QString& text) {
    txtEquationLine->setText(text);
    txtEquationLine->setFocus(Qt::ShortcutFocusReason);
    txtEquationLine_Enter();
}

void frmMain::txtFactor_Change() {
    model_.SetFactor(txtFactor->text().toStdString());
    cmdPut->setEnabled(model_.putEnabled());
}

void frmMain::cmdPut_Click() {
    ShowCommandResult(history_.Record(GridHistory::kCommand, [this] { return model_.Put(); }));
}

void frmMain::cmdTest_Click() {
    const TestResult result = model_.Test();
    ShowCommandResult(result.errors, result.unread);
}

void frmMain::cmdUpdate_Click() {
    if (!AcceptUnstorableCharacters(model_.note(), this))
        return;
    ErrorBoxes errors;
    WithoutOutdatedResults([&] { errors = model_.Update(); });
    ShowCommandResult(errors);
}

void frmMain::mnuFileQuit_Click() {
    close();
    // Ends at once: other windows close without asking their questions.
    QCoreApplication::exit(0);
}

} // namespace valdrex
