#pragma once

#include "model/grid_history.h"
#include "model/main_model.h"
#include "model/startup_settings.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace valdrex {

class NumberBox;

// The main window. All of its logic lives in MainModel; after every user action the window
// calls the model, copies the model's texts into its controls, moves the focus to a box the
// command could not read and shows the command's message boxes.
class frmMain : public QMainWindow {
    Q_OBJECT

  public:
    // Loads the settings from `store` (with the default database path from `env`); the
    // settings go back to `store` when the window closes.
    frmMain(ModuleState& state, SettingsStore& store, const AppEnvironment& env,
            QWidget* parent = nullptr);
    ~frmMain() override;

    MainModel& model() { return model_; }

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The control tree (main_window_controls.cpp).
    void BuildControls();
    void BuildEquationFrame(QGroupBox* frame);
    void BuildCoefficientGrid(QGroupBox* frame);
    void SetTabOrder();
    // The size and place of the last run, or a size that shows every control; either way inside
    // the screen.
    void PlaceWindow();
    // The window moved and shrunk to lie inside its screen, frame included.
    void KeepOnScreen();
    void StoreWindowPlace();
    // The menu tree and its enabling rules (main_window_menus.cpp).
    void BuildMenus();
    // One item for each method of the table placed at `place`, in the table's order.
    void AddMethodItems(QMenu* menu, MenuPlace place);
    void ConnectMenus();
    void ConnectControls();
    // The commands that open other windows (main_window_dialogs.cpp).
    void ConnectDialogMenus();

    // Whether Ctrl+`key` (with Shift when `shift`) belongs to the window's menus while `focus`
    // has the focus, rather than to the box's own editing.
    bool IsWindowShortcut(const QWidget* focus, Qt::Key key, bool shift) const;
    bool IsCoefficientBox(const QWidget* widget) const;

    void Form_Load(const AppEnvironment& env);
    void Form_Activate();
    void ShowDatabaseFileCaption();

    // Copies every text of the model into the controls without running their change events.
    void ShowModel();
    void ShowInfo();
    // Results of an earlier equation than the grid's look it: grey, and said so in the status.
    void ShowResultsAge();
    // After a command: the controls show the model, the focus moves to the box the command
    // could not read, if any, and the message boxes are shown in turn.
    void ShowCommandResult(std::span<const ErrorBox> errors,
                           const std::optional<UnreadBox>& unread = std::nullopt);
    // Runs `command` with the results set aside while they belong to an earlier equation than
    // the grid's, then shows them again as they were.
    void WithoutOutdatedResults(const std::function<void()>& command);

    void txtCoef_Change(int index);
    // Enter in the equation line: its equation into the grid as one step, or where it went wrong.
    void txtEquationLine_Enter();
    // `text` into the equation line, then entered.
    void EnterEquationLine(const QString& text);
    void txtFactor_Change();
    void cmdPut_Click();
    void cmdTest_Click();
    void cmdUpdate_Click();

    void mnuFileQuit_Click();
    void mnuEdit_Click();
    void mnuEditCut_Click();
    void mnuCopySelection_Click();
    void mnuCopyAll_Click();
    void mnuEditPaste_Click();
    void mnuEditDelete_Click();
    void mnuEditUndo_Click();
    void mnuEditRedo_Click();
    void mnuSolve_Click();

    void mnuFileApri_Click();
    void LoadRecord(const QString& line);
    // A method's item: its options form if it has one, then the solve (main_window_dialogs.cpp).
    void SolveWith(const MethodRow& row, QAction* item);
    void mnuSolveTest_Click();
    void mnuSolvePlot_Click();
    void mnuOptions_Click();
    void mnuHelpHelp_Click();
    void mnuHelpAbout_Click();

    // The window's active control: the last of its controls that had the focus (the menu bar
    // takes the focus while it is worked from the keyboard, but is no control of the form).
    QWidget* ActiveControl() const;
    void TrackActiveControl(QWidget* now);

    SettingsStore& store_;
    MainModel model_;
    GridHistory history_{model_};
    QPointer<QWidget> activeControl_;
    bool shownBefore_ = false;
    // The application-wide key filter of ConnectMenus; removed before the window is torn
    // down, since closing it still sends focus changes and key events through the application.
    QObject* shortcutGuard_ = nullptr;

    QGroupBox* Frame3 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* fraNote = nullptr;
    QGroupBox* fraTest = nullptr;
    QGroupBox* fraCmd = nullptr;
    QLineEdit* txtEquation = nullptr;
    QLineEdit* txtEquationLine = nullptr;
    QLabel* lblLineError = nullptr;
    std::array<NumberBox*, kCoefficientCount> txtCoef{};
    std::array<QLabel*, kCoefficientCount> lblx{};
    std::array<QLabel*, kCoefficientCount> lblExp{};
    QListWidget* lstSol = nullptr;
    QPlainTextEdit* txtNote = nullptr;
    QPushButton* cmdUpdate = nullptr;
    QPushButton* cmdTest = nullptr;
    NumberBox* txtInput = nullptr;
    QLabel* lblPx = nullptr;
    QLineEdit* txtOutput = nullptr;
    QLineEdit* txtFactor = nullptr;
    QPushButton* cmdPut = nullptr;
    QLabel* lblMsg = nullptr;
    QLabel* lblInfo = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileApri = nullptr;
    QAction* mnuFileQuit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QMenu* mnuEditCopy = nullptr;
    QAction* mnuCopySelection = nullptr;
    QAction* mnuCopyAll = nullptr;
    QAction* mnuEditPaste = nullptr;
    QAction* mnuEditDelete = nullptr;
    QAction* mnuEditUndo = nullptr;
    QAction* mnuEditRedo = nullptr;
    QAction* mnuEditLine = nullptr;
    QAction* mnuEditPasteEquation = nullptr;
    QMenu* mnuSolve = nullptr;
    QMenu* mnuSolveApproximate = nullptr;
    struct MethodItem {
        const MethodRow* row;
        QAction* item;
    };
    std::vector<MethodItem> methodItems_; // the Maths menu's item of each method
    QAction* mnuSolveTest = nullptr;
    QAction* mnuSolvePlot = nullptr;
    QMenu* mnuCustom = nullptr;
    QAction* mnuOptions = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;
};

} // namespace valdrex
