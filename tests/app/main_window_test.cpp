#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "core/platform_files.h"
#include "dialogs/database_text_view.h"
#include "dialogs/view_db_window.h"
#include "file_bytes.h"
#include "gui_test.h"
#include "window_texts.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <qcustomplot.h>

#include <chrono>
#include <map>
#include <memory>

namespace valdrex {
namespace {

// The multiplication sign of the equation texts.
const QString kDot = QString(QChar(0x00B7));

// Coefficient texts by power, as typed.
using Grid = std::map<int, const char*>;

// Every test opens the window afresh: no stored settings, no database file, an empty clipboard.
// Message boxes are answered with OK and kept in answer_.boxes; other dialogs are cancelled.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QFile::remove(SettingsPath());
        QFile::remove(DatabasePath());
        QGuiApplication::clipboard()->clear();
        OpenWindow();
    }

    static QString HomePath() { return qEnvironmentVariable("HOME"); }
    static QString SettingsPath() {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Valdrex/Valdrex.ini";
    }
    static QString DatabasePath() { return HomePath() + "/Valdrexdb.txt"; }
    static std::string Database() { return Bytes(DatabasePath().toStdString()); }

    // Creates the window as the program does, shows it and waits until it is active.
    void OpenWindow() {
        const AppEnvironment env{QCoreApplication::applicationDirPath().toStdString(), "Valdrex",
                                 HomeFolder()};
        window_ = std::make_unique<frmMain>(state_, store_, env);
        window_->show();
        Activate();
    }
    // The offscreen platform does not give the activation back when a message box closes.
    void Activate() {
        if (QApplication::activeWindow() == window_.get())
            return;
        window_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    }

    template <typename Widget = QLineEdit> Widget* Find(const QString& name) const {
        return Child<Widget>(window_.get(), name);
    }
    QLineEdit* Coef(int power) const { return Find(QString("txtCoef_%1").arg(power)); }
    QString Text(const QString& name) const { return Find(name)->text(); }
    QString Label(const QString& name) const { return Find<QLabel>(name)->text(); }
    QString Clipboard() const { return QGuiApplication::clipboard()->text(); }
    int Solutions() const { return Find<QListWidget>("lstSol")->count(); }

    // Visits the box by Tab and types `keys` one at a time.
    void Type(QWidget* box, const QString& keys) {
        Activate();
        if (box->hasFocus())
            Find<QPushButton>("cmdTest")->setFocus(Qt::TabFocusReason);
        box->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(box, keys);
    }
    // Sets all to zero (Ctrl+S) and types the grid's coefficients.
    void EnterGrid(const Grid& grid) {
        PressCtrl(Qt::Key_S);
        for (const auto& [power, keys] : grid)
            Type(Coef(power), keys);
    }
    // Enters the grid and solves it: Ctrl+F by the exact method, Ctrl+R by rational roots.
    void Solve(const Grid& grid, Qt::Key key = Qt::Key_F) {
        EnterGrid(grid);
        PressCtrl(key);
    }
    // A Ctrl+letter press where the focus is.
    void PressCtrl(Qt::Key key) {
        Activate();
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : window_.get(), key, Qt::ControlModifier);
    }
    // Whether the item is enabled once its menu has been opened as the user would.
    bool IsEnabled(const char* menu, const char* item) const {
        Find<QMenu>(menu)->popup(window_->mapToGlobal(QPoint(10, 10)));
        Find<QMenu>(menu)->hide();
        return Find<QAction>(item)->isEnabled();
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void Trigger(const char* item) { Find<QAction>(item)->trigger(); }

    ModuleState state_;
    QtSettingsStore store_;
    ModalAnswer answer_;
    std::unique_ptr<frmMain> window_;
};

// Every control's name, caption and place in the fixed layout, and the menus with their keys.
TEST_F(MainWindowTest, ControlsAndMenusAreTheHistoricOnes) {
    ExpectShownTexts(window_.get(), WINDOW_TEXTS_DIR "/frmMain.txt", true);
}

TEST_F(MainWindowTest, TypedKeysFollowTheBoxRule) {
    const struct {
        const char* box;
        const char* text; // set by the program
        int caret;        // before typing; -1: the whole text selected
        const char* keys; // \b: Backspace, \x7f: Delete
        const char* expected;
    } cases[] = {
        {"txtCoef_3", "5", 1, "-", "5"},     {"txtCoef_3", "5", 0, "-", "-5"},
        {"txtCoef_3", "-5", -1, "-", "-5"},  {"txtCoef_3", "-5", -1, "7", "7"},
        {"txtCoef_3", "3/", 2, ".", "3/"},   {"txtCoef_3", "", 0, "1a 2+e,3", "123"},
        {"txtCoef_2", "512", 3, "\b", "51"}, {"txtCoef_2", "51", 0, "\x7f-", "-1"},
        {"txtInput", "", 0, "-1/2", "-12"},  {"txtInput", "", 0, "-.5x", "-.5"},
    };
    for (const auto& c : cases) {
        QLineEdit* box = Find(c.box);
        box->setFocus();
        box->setText(c.text);
        c.caret < 0 ? box->selectAll() : box->setCursorPosition(c.caret);
        for (const char key : std::string_view(c.keys))
            key == '\x7f' ? QTest::keyClick(box, Qt::Key_Delete) : QTest::keyClick(box, key);
        EXPECT_EQ(box->text(), c.expected) << c.box << " " << c.text << " " << c.keys;
    }
}

TEST_F(MainWindowTest, EquationFollowsTheGridKeyByKeyAndAClickIntoAFreshBoxSelectsItsZero) {
    EnterGrid({{3, "1"}, {2, "2/4"}, {1, "-1"}, {0, "0.5"}});
    EXPECT_EQ(Coef(2)->text() + Coef(0)->text(), "2/40.5");
    EXPECT_EQ(Text("txtEquation"), "x^3 + 1/2" + kDot + "x^2 - x + 1/2 = 0");
    EXPECT_EQ(answer_.boxes, Boxes{});
    Type(Coef(4), "0/"); // 0/0 cannot be reduced: a plain box, and the equation stays
    EXPECT_EQ(answer_.boxes, (Boxes{{"1002. Division by zero", "Valdrex"}}));
    EXPECT_EQ(Text("txtEquation"), "x^3 + 1/2" + kDot + "x^2 - x + 1/2 = 0");
    EXPECT_EQ(Coef(4)->text(), "0/");
    // A click into a box that holds a lone 0 selects it, so the first key replaces it; a click
    // into any other text puts the caret where it lands.
    PressCtrl(Qt::Key_S);
    for (const auto& [power, keys] : {std::pair{3, "1"}, {2, "-6"}}) {
        QTest::mouseClick(Coef(power), Qt::LeftButton, {}, QPoint(20, 10));
        QTest::keyClicks(Coef(power), keys);
        EXPECT_EQ(Coef(power)->text(), keys);
    }
    QTest::mouseClick(Coef(3), Qt::LeftButton, {}, QPoint(Coef(3)->width() - 4, 10));
    QTest::keyClicks(Coef(3), "0");
    EXPECT_EQ(Text("txtEquation"), "10" + kDot + "x^3 - 6" + kDot + "x^2 = 0");
}

TEST_F(MainWindowTest, TabRunsThroughTheGridFromTheHighestPowerSelectingFromTheCaret) {
    EXPECT_EQ(Coef(12)->selectedText(), "0"); // a text the program wrote: the visit selects all
    Find("txtInput")->setText("25");
    Find("txtInput")->setCursorPosition(1);
    for (int power = 12; power >= 0; --power) {
        EXPECT_EQ(QApplication::focusWidget(), Coef(power));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), Find("txtInput"));
    EXPECT_EQ(Find("txtInput")->selectedText(), "25") << "the test box's visit selects all";
    EXPECT_EQ(Find("txtFactor")->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(Find("txtOutput")->focusPolicy() & Qt::TabFocus, 0);
    EXPECT_EQ(Find("txtOutput")->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    Type(Coef(5), "123");
    Coef(5)->setCursorPosition(1);
    Type(Coef(5), "9");
    EXPECT_EQ(Coef(5)->text(), "19");
}

// A box the grid's reading cannot take stops Test, a solve and Test many numbers before any
// window opens, and takes the focus; the coefficient box wins over the test box.
TEST_F(MainWindowTest, AZeroDenominatorStopsACommandAndFocusesItsBox) {
    Solve({{3, "1"}, {0, "-8"}});
    const std::string saved = Database();
    // Texts set as the toolkit's own paste would.
    const std::tuple<const char*, Grid, const char*> cases[] = {
        {"cmdTest", {{1, "1"}}, "txtInput"},
        {"cmdTest", {{2, "2/0"}, {3, "3/0"}}, "txtCoef_2"},
        {"mnuSolveNewton", {{3, "1"}, {1, "5/0"}}, "txtCoef_1"},
        {"mnuSolveTest", {{2, "2/0"}}, "txtCoef_2"},
    };
    for (const auto& [command, grid, focused] : cases) {
        PressCtrl(Qt::Key_S);
        for (const auto& [power, text] : grid)
            Coef(power)->setText(text);
        Find("txtInput")->setText("5/0");
        Find("txtOutput")->setText("kept");
        Find<QPushButton>("cmdTest")->setFocus();
        *command == 'c' ? Click(command) : Trigger(command);
        EXPECT_EQ(Label("lblMsg") + "|" + Text("txtOutput"), "Division by 0|kept") << command;
        EXPECT_EQ(QApplication::focusWidget()->objectName(), focused) << command;
    }
    EXPECT_TRUE(answer_.dialogs.isEmpty());
    EXPECT_EQ(answer_.boxes, Boxes{});
    EXPECT_EQ(Database(), saved);
    Coef(2)->setText("1/2");
    Trigger("mnuSolveTest");
    EXPECT_EQ(answer_.dialogs.size(), 1);
    EXPECT_EQ(state_.TestCoef[2], 0.5);
}

// The solve's own boxes follow its lines, the saving's after them.
TEST_F(MainWindowTest, TheSavingsBoxFollowsTheSolvesOwn) {
    QFile::remove(DatabasePath()); // the start made it
    QDir().mkdir(DatabasePath());  // a folder where the file should be
    Solve({{2, "65536"}, {1, "65536"}, {0, "-1"}});
    QDir().rmdir(DatabasePath());
    ASSERT_EQ(answer_.boxes.size(), 2u);
    EXPECT_EQ(answer_.boxes[0], (SeenBox{"1001. Overflow", "Valdrex"}));
    EXPECT_TRUE(answer_.boxes[1].text.endsWith("Is a directory"))
        << answer_.boxes[1].text.toStdString();
}

TEST_F(MainWindowTest, SettingsAtFirstStartAndAfterReopeningTheFileInTheFileMenu) {
    state_.DatabaseFile = "/tmp/R&D/db.txt"; // shown again at each activation, its & doubled
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window_.get(), &activate);
    EXPECT_EQ(Find<QAction>("mnuFileApri")->text(), "&Edit /tmp/R&&D/db.txt");
    const QString file = HomePath() + "/chosen.txt";
    state_.DatabaseFile = file.toStdString();
    state_.OverwriteFile = true;
    state_.EvaluateSymbolically = state_.ShowWelcome = false;
    window_->close();
    state_ = ModuleState{};
    OpenWindow();
    EXPECT_EQ(std::tuple(state_.SaveEquations, state_.OverwriteFile, state_.EvaluateSymbolically),
              std::tuple(true, true, false));
    EXPECT_EQ(QString::fromStdString(state_.DatabaseFile), file);
    QSettings stored(SettingsPath(), QSettings::IniFormat);
    EXPECT_EQ(stored.value("Options/Welcome").toString(), "0");
    EXPECT_TRUE(stored.contains("Options/File for Saving"));

    // A setting that is no number stops the load before the title: the design title stays.
    window_->close();
    stored.setValue("Options/Save equations", "yes");
    stored.sync();
    OpenWindow();
    EXPECT_EQ(window_->windowTitle(), "#");
}

// The shortcut works as its menu item would, whether or not the menu was opened since the
// grid changed.
TEST_F(MainWindowTest, MathsMenuAndCtrlFFollowTheDegree) {
    Solve({{5, "1"}, {1, "2"}, {0, "-4"}});
    EXPECT_EQ(Solutions(), 0);
    EXPECT_EQ(Database(), "");
    EXPECT_FALSE(IsEnabled("mnuSolve", "mnuSolveFind"));
    EXPECT_TRUE(IsEnabled("mnuSolve", "mnuSolveApproximate") &&
                IsEnabled("mnuSolve", "mnuSolveRuffini"));
    Coef(5)->setText("0");
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Find<QListWidget>("lstSol")->item(0)->text(), "x1 = 2");
    EXPECT_EQ(Database(), "2\xB7x - 4 = 0; S={ 2}\r\n");
    EXPECT_TRUE(IsEnabled("mnuSolve", "mnuSolveFind"));
    EXPECT_FALSE(IsEnabled("mnuSolve", "mnuSolveApproximate"));
}

// The Edit menu follows the active control and the clipboard. Reached by Alt+F and then Right,
// which moves the focus to the menu bar before it opens, it sees the box's selection, which
// the box keeps for the copy.
TEST_F(MainWindowTest, EditMenuFollowsTheActiveControlAndTheClipboard) {
    QLineEdit* box = Coef(12);
    EXPECT_EQ(box->selectedText(), "0");
    QTest::keyClick(box, Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(Find<QMenu>("mnuFile")->isVisible());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
    QTRY_VERIFY(Find<QMenu>("mnuEdit")->isVisible());
    EXPECT_TRUE(Find<QAction>("mnuEditCut")->isEnabled());
    EXPECT_TRUE(Find<QAction>("mnuCopySelection")->isEnabled());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
    QTRY_VERIFY(Find<QMenu>("mnuEditCopy")->isVisible());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_S);
    QTRY_COMPARE(Clipboard(), "0");
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    const struct {
        const char* focus;
        bool selectAll;
        const char* clipboard;
        bool cutAndCopy, paste;
    } cases[] = {
        {"txtCoef_2", true, "", true, false},    {"txtCoef_2", false, "3/4", false, true},
        {"txtInput", false, "3/4", false, true}, {"txtFactor", false, "3/4", false, false},
        {"txtNote", true, "abc", true, true},    {"txtEquation", true, "1", true, true},
        {"cmdTest", false, "3/4", false, false}, {"lstSol", false, "3/4", false, false},
    };
    Coef(2)->setText("12");
    Find<QPlainTextEdit>("txtNote")->setPlainText("note");
    for (const auto& c : cases) {
        QGuiApplication::clipboard()->setText(c.clipboard);
        auto* focus = Find<QWidget>(c.focus);
        focus->setFocus();
        if (auto* line = qobject_cast<QLineEdit*>(focus))
            c.selectAll ? line->selectAll() : line->deselect();
        else if (auto* note = qobject_cast<QPlainTextEdit*>(focus))
            note->selectAll();
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuEditCut"), c.cutAndCopy) << c.focus;
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuCopySelection"), c.cutAndCopy) << c.focus;
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuEditPaste"), c.paste) << c.focus;
        EXPECT_EQ(IsEnabled("mnuEdit", "mnuEditPasteEquation"), *c.clipboard != '\0');
        EXPECT_TRUE(IsEnabled("mnuEdit", "mnuCopyAll") && IsEnabled("mnuEdit", "mnuEditDelete"));
    }
}

// The label shows where the record went even when the path is longer than the label.
TEST_F(MainWindowTest, TheStatusLineShortensALongPathInItsMiddle) {
    const QString folder = HomePath() + "/Documents/maths/a-rather-long-folder/and-one-more";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + "/valdrexdb.txt";
    state_.DatabaseFile = file.toStdString();
    Solve({{1, "1"}});
    auto* label = Find<QLabel>("lblInfo");
    const QString prefix = "The equation and the solutions are saved in the file ";
    EXPECT_EQ(label->toolTip(), prefix + file);
    EXPECT_TRUE(label->text().startsWith(prefix + "/")) << label->text().toStdString();
    EXPECT_TRUE(label->text().contains(QChar(0x2026)));
    EXPECT_TRUE(label->text().endsWith("/valdrexdb.txt")) << label->text().toStdString();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
}

TEST_F(MainWindowTest, CutAndCopyTheSelectionEvenFromAReadOnlyBoxOrTheSolutionList) {
    QLineEdit* box = Coef(2);
    box->setFocus();
    box->setText("125");
    box->setSelection(0, 2);
    PressCtrl(Qt::Key_X);
    EXPECT_EQ(box->text() + "|" + Clipboard(), "5|12");
    box->selectAll();
    PressCtrl(Qt::Key_C);
    EXPECT_EQ(box->text() + "|" + Clipboard(), "5|5");
    QLineEdit* equation = Find("txtEquation");
    EXPECT_EQ(equation->text(), "5" + kDot + "x^2 = 0");
    equation->setFocus();
    equation->setSelection(0, 2);
    PressCtrl(Qt::Key_X); // changes what the record shows
    EXPECT_EQ(equation->text() + "|" + Clipboard(), "x^2 = 0|5" + kDot);
    EXPECT_EQ(window_->model().equation(), "x^2 = 0");
    // Copy takes the selected lines of the solution list, which cannot be cut or pasted into.
    Solve({{3, "1"}, {1, "-4"}});
    auto* list = Find<QListWidget>("lstSol");
    ASSERT_EQ(list->count(), 3);
    list->setFocus();
    list->clearSelection();
    EXPECT_FALSE(IsEnabled("mnuEdit", "mnuCopySelection"));
    list->item(2)->setSelected(true);
    list->item(0)->setSelected(true);
    EXPECT_TRUE(IsEnabled("mnuEdit", "mnuCopySelection"));
    EXPECT_FALSE(IsEnabled("mnuEdit", "mnuEditCut") || IsEnabled("mnuEdit", "mnuEditPaste"));
    PressCtrl(Qt::Key_C);
    EXPECT_EQ(Clipboard(), list->item(0)->text() + "\n" + list->item(2)->text());
    EXPECT_EQ(list->count(), 3);
}

TEST_F(MainWindowTest, PasteChecksTheShapeOfANumberForTheBox) {
    const SeenBox refused{"The text you are trying to paste is not a valid number", "Valdrex"};
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"txtCoef_1", "1,5", false},  {"txtInput", "3/4", false},
        {"txtInput", "-0.25", true},  {"txtNote", "a, b\nc + 1", true},
        {"txtEquation", "2x", false}, {"txtCoef_1", "3/4", true}, // last: the equation follows
    };
    for (const auto& [name, clipboard, accepted] : cases) {
        PressCtrl(Qt::Key_S);
        answer_.boxes.clear();
        QGuiApplication::clipboard()->setText(clipboard);
        auto* box = Find<QWidget>(name);
        box->setFocus();
        auto* line = qobject_cast<QLineEdit*>(box);
        if (line != nullptr)
            line->selectAll();
        PressCtrl(Qt::Key_V);
        const QString text =
            line ? line->text() : qobject_cast<QPlainTextEdit*>(box)->toPlainText();
        EXPECT_EQ(text == clipboard, accepted) << name << " " << clipboard;
        EXPECT_EQ(answer_.boxes, accepted ? Boxes{} : Boxes{refused});
    }
    EXPECT_EQ(Text("txtEquation"), "3/4" + kDot + "x = 0");
    // A paste at the caret leaves the caret after the pasted text.
    QGuiApplication::clipboard()->setText("3");
    Coef(1)->setFocus();
    Coef(1)->setText("12");
    Coef(1)->setCursorPosition(1);
    PressCtrl(Qt::Key_V);
    EXPECT_EQ(Coef(1)->text() + "|" + QString::number(Coef(1)->cursorPosition()), "132|2");
}

TEST_F(MainWindowTest, UpdateNamesTheCharactersTheDatabaseCannotHold) {
    Find<QPlainTextEdit>("txtNote")->setPlainText("\u03C0 r\u00B2");
    answer_.button = QMessageBox::Cancel;
    Click("cmdUpdate");
    ASSERT_EQ(answer_.boxes.size(), 1u);
    EXPECT_TRUE(answer_.boxes[0].text.contains("characters: \u03C0\n"))
        << answer_.boxes[0].text.toStdString();
    EXPECT_EQ(Database(), "");
    answer_.button = QMessageBox::Save;
    Click("cmdUpdate");
    EXPECT_EQ(Database(), "? r\xB2\r\n");
}

// Every dialog has a dialog's title bar; a solve whose options dialog is cancelled solves
// nothing and saves nothing.
TEST_F(MainWindowTest, DialogsHaveADialogsTitleBarAndACancelledOneSolvesNothing) {
    answer_.onDialog = [](QDialog* dialog) {
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                    Qt::WindowCloseButtonHint))
            << dialog->objectName().toStdString() << " " << std::hex << flags.toInt();
        EXPECT_FALSE(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowFullscreenButtonHint));
    };
    Solve({{3, "1"}, {0, "-8"}});
    ASSERT_GT(Solutions(), 0);
    const std::string saved = Database();
    for (const char* item :
         {"mnuSolveBaristow", "mnuSolveDicotomic", "mnuSolveNewton", "mnuSolveAll"}) {
        Trigger(item);
        EXPECT_EQ(Solutions(), 0) << item;
    }
    for (const char* item : {"mnuOptions", "mnuSolveTest", "mnuHelpAbout"})
        Trigger(item);
    EXPECT_EQ(answer_.dialogs.size(), 7);
    EXPECT_EQ(Database(), saved);
}

// An All roots solve that runs long shows the progress window; Cancel ends it at once, with
// no roots shown and no record saved.
TEST_F(MainWindowTest, CancelStopsAHardAllRootsSolveAtOnce) {
    Solve({{3, "1"}, {0, "-8"}});
    const std::string saved = Database();
    ASSERT_NE(saved, "");
    // x^12 - 2(10^50000 x - 1)^2: a pair of roots closer than any double tells apart
    for (const auto& [power, text] :
         Grid{{12, "1"}, {3, "0"}, {2, "-2E100000"}, {1, "4E50000"}, {0, "-2"}})
        Coef(power)->setText(text);
    std::chrono::steady_clock::time_point cancelled;
    answer_.onDialog = [&](QDialog* dialog) {
        if (auto* progress = qobject_cast<QProgressDialog*>(dialog)) {
            cancelled = std::chrono::steady_clock::now();
            progress->cancel();
        } else {
            Child<QPushButton>(dialog, "cmdArOK")->click();
        }
    };
    Trigger("mnuSolveAll");
    const auto took = std::chrono::steady_clock::now() - cancelled;
    ASSERT_EQ(answer_.dialogs.size(), 2);
    EXPECT_EQ(answer_.dialogs[1], "QProgressDialog");
    EXPECT_LT(took, std::chrono::milliseconds(500)) << "100 ms or so on an idle machine";
    EXPECT_EQ(Solutions(), 0);
    EXPECT_EQ(Label("lblMsg"), "The solve was cancelled");
    EXPECT_EQ(Database(), saved);
}

// The plot window comes from its module: it is seen by its names only.
TEST_F(MainWindowTest, CtrlPOpensThePlotWhichFollowsTheTypingWithoutTakingTheFocus) {
    EnterGrid({{1, "1"}, {0, "-3"}});
    PressCtrl(Qt::Key_P);
    QWidget* plot = ShownWindow("frmPlot");
    ASSERT_NE(plot, nullptr);
    auto* grid = Find<QWidget>("Frame1");
    EXPECT_FALSE(
        plot->frameGeometry().intersects(QRect(grid->mapToGlobal(QPoint()), grid->size())));
    EXPECT_EQ(QApplication::activeWindow(), window_.get());
    const auto* curve = Child<QCustomPlot>(plot, "plotReal");
    auto* message = Child<QLabel>(plot, "lblPlotMessage");
    EXPECT_TRUE(curve->xAxis->range().contains(3));

    EnterGrid({{0, "-"}, {2, "1"}}); // the constant term is typed first
    EXPECT_EQ(QApplication::focusWidget(), Coef(2));
    EXPECT_EQ(QApplication::activeWindow(), window_.get());
    EXPECT_TRUE(message->isVisible() && message->text().contains("constant term"));
    QTest::keyClicks(Coef(0), "4");
    EXPECT_FALSE(message->isVisible());
    EXPECT_TRUE(curve->xAxis->range().contains(-2) && curve->xAxis->range().contains(2));
    EXPECT_EQ(QApplication::focusWidget(), Coef(2));
}

// Results stay until the next solve, grey and marked once the grid no longer holds their
// equation; a command that cannot read the grid leaves none beside its message.
TEST_F(MainWindowTest, ResultsOfAnotherEquationLookItAndAFailureClearsThem) {
    auto* list = Find<QListWidget>("lstSol");
    auto* status = Find<QLabel>("lblMsg");
    const auto grey = [&] {
        return list->palette().color(QPalette::Text) ==
                   list->palette().color(QPalette::Disabled, QPalette::Text) &&
               status->palette().color(QPalette::WindowText) ==
                   status->palette().color(QPalette::Disabled, QPalette::WindowText);
    };
    Solve({{3, "1"}, {2, "-1"}, {1, "-4"}, {0, "-6"}}, Qt::Key_R);
    EXPECT_EQ(Label("lblMsg") + "|" + Text("txtFactor"),
              "Solutions found|x^2 + 2" + kDot + "x + 2 ");
    EXPECT_FALSE(grey());
    Coef(0)->selectAll();
    QTest::keyClicks(Coef(0), "7");
    EXPECT_EQ(Label("lblMsg"), "Solutions found (previous equation)");
    EXPECT_EQ(Solutions(), 1);
    EXPECT_TRUE(grey());
    EXPECT_EQ(Find("txtFactor")->palette().color(QPalette::Text),
              list->palette().color(QPalette::Disabled, QPalette::Text));
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Label("lblMsg"), "Solutions found");
    EXPECT_FALSE(grey());

    Find("txtInput")->setText("2");
    Click("cmdTest");
    EXPECT_EQ(Text("txtOutput"), " 3");
    Type(Find("txtInput"), "5");
    EXPECT_EQ(Text("txtOutput"), "");

    Coef(1)->selectAll();
    QTest::keyClicks(Coef(1), "3/");
    PressCtrl(Qt::Key_F);
    EXPECT_EQ(Label("lblMsg") + "|" + QString::number(Solutions()), "Division by 0|0");
    EXPECT_FALSE(grey());
}

// Copy all and Update while the results are another equation's: the grid's equation goes out
// without them, and they stay on screen, marked.
TEST_F(MainWindowTest, CopyAllAndUpdateNeverPairTheGridWithAnotherEquationsRoots) {
    Solve({{2, "1"}, {0, "-4"}});
    const std::string saved = Database();
    EXPECT_EQ(saved, "x^2 - 4 = 0; S={ 2;-2}\r\n");
    Coef(0)->selectAll();
    QTest::keyClicks(Coef(0), "9");
    Find<QPlainTextEdit>("txtNote")->setPlainText("changed\nnote");
    PressCtrl(Qt::Key_A);
    EXPECT_EQ(Clipboard(), "x^2 + 9 = 0; S={}\r\nchanged\r\nnote");
    EXPECT_EQ(Label("lblInfo"), "Copy all texts in the clipboard: done!");
    state_.SaveEquations = false;
    Click("cmdUpdate");
    EXPECT_EQ(Database(), saved + "x^2 + 9 = 0; S={}\r\nchanged\r\nnote\r\n");
    EXPECT_EQ(Label("lblMsg") + "|" + QString::number(Solutions()),
              "Solutions found (previous equation)|2");
    PressCtrl(Qt::Key_Z);
    PressCtrl(Qt::Key_A);
    EXPECT_EQ(Clipboard(), "x^2 - 4 = 0; S={ 2;-2}\r\nchanged\r\nnote");
}

// Ctrl+Z and Ctrl+Y take back and redo the grid's steps (Put's among them) from a coefficient
// box; the note keeps its own undo for its own typing.
TEST_F(MainWindowTest, PutThenUndoAndRedoTakeTheGridsStepsBack) {
    auto* put = Find<QPushButton>("cmdPut");
    EXPECT_FALSE(put->isEnabled());
    // x^3 - x^2 - 4x - 6 = (x - 3)(x^2 + 2x + 2): Put moves the factor x^2 + 2x + 2 into the grid.
    Solve({{3, "1"}, {2, "-1"}, {1, "-4"}, {0, "-6"}}, Qt::Key_R);
    auto* note = Find<QPlainTextEdit>("txtNote");
    note->setFocus();
    QTest::keyClicks(note, "ab");
    const QString solved = Text("txtEquation");
    ASSERT_TRUE(put->isEnabled());
    Click("cmdPut");
    EXPECT_EQ(Coef(3)->text() + Coef(2)->text() + Coef(1)->text() + Coef(0)->text(), " 0 1 2 2");
    EXPECT_EQ(Text("txtEquation"), "x^2 + 2" + kDot + "x + 2 = 0");
    EXPECT_EQ(Label("lblMsg"), "Coefficients transferred");
    EXPECT_FALSE(put->isEnabled());
    Coef(1)->setFocus();
    PressCtrl(Qt::Key_Z);
    EXPECT_EQ(Text("txtEquation") + "|" + Text("txtFactor"), solved + "|x^2 + 2" + kDot + "x + 2 ");
    EXPECT_EQ(note->toPlainText(), "ab");
    PressCtrl(Qt::Key_S);
    EXPECT_EQ(note->toPlainText() + Label("lblMsg") + QString::number(Solutions()), "0");
    PressCtrl(Qt::Key_Z);
    EXPECT_EQ(note->toPlainText() + "|" + Label("lblMsg") + "|" + QString::number(Solutions()),
              "ab|Solutions found|1");
    PressCtrl(Qt::Key_Y);
    EXPECT_EQ(Text("txtEquation"), "0 = 0");
    PressCtrl(Qt::Key_Z);

    Type(Coef(1), "25");
    EXPECT_EQ(Coef(1)->text(), "25");
    PressCtrl(Qt::Key_Z);
    EXPECT_EQ(Coef(1)->text(), "-4") << "the typed number goes back as one";
    EXPECT_TRUE(IsEnabled("mnuEdit", "mnuEditRedo"));
    note->setFocus();
    QTest::keyClicks(note, "c");
    PressCtrl(Qt::Key_Z);
    EXPECT_EQ(note->toPlainText(), "ab");
    EXPECT_EQ(Coef(1)->text(), "-4");
    for (int power : {0, 1, 2, 3}) {
        Coef(power)->setFocus();
        PressCtrl(Qt::Key_Z);
    }
    EXPECT_EQ(Text("txtEquation"), "0 = 0");
    EXPECT_FALSE(IsEnabled("mnuEdit", "mnuEditUndo"));
}

// The window grows as the user drags it: at 1280 pixels a degree-12 equation's 30-digit complex
// roots show whole, and the size is there again at the next start.
TEST_F(MainWindowTest, ResizedTo1280PixelsThirtyDigitRootsShowWhole) {
    window_->resize(1280, 720);
    const char* coefficients[] = {"3",   "-7", "11",  "-13", "17",  "-19", "23",
                                  "-29", "31", "-37", "41",  "-43", "47"};
    for (int power = 12; power >= 0; --power)
        Coef(power)->setText(coefficients[12 - power]);
    answer_.onDialog = [](QDialog* dialog) {
        Child<QSpinBox>(dialog, "spnArDigits")->setValue(30);
        Child<QPushButton>(dialog, "cmdArOK")->click();
    };
    Trigger("mnuSolveAll");
    auto* list = Find<QListWidget>("lstSol");
    ASSERT_EQ(list->count(), 12);
    for (int row = 0; row < list->count(); ++row) {
        const QString line = list->item(row)->text();
        EXPECT_GT(line.size(), 65) << "30 digits in each part";
        EXPECT_LE(list->visualItemRect(list->item(row)).left() +
                      list->fontMetrics().horizontalAdvance(line),
                  list->viewport()->width())
            << line.toStdString();
    }
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    EXPECT_GT(Find("txtEquation")->width(), 1000);
    // Larger than the screen, it opens inside it next time; smaller, where and as it was.
    const QRect screen = window_->screen()->availableGeometry();
    ASSERT_LT(screen.width(), 1280);
    window_->close();
    OpenWindow();
    QTRY_VERIFY(screen.contains(window_->frameGeometry()));
    const QRect smaller(30, 40, 640, 480);
    window_->setGeometry(smaller);
    window_->close();
    OpenWindow();
    EXPECT_EQ(window_->geometry(), smaller);
}

// Enter expands a typed equation into the grid as one step; an error says where, with the
// caret put there, and changes nothing. An equation pasted into a box, or with Ctrl+Shift+V
// anywhere, is typed into the line.
TEST_F(MainWindowTest, TheEquationLineFillsTheGridOrSaysWhereItWentWrong) {
    auto* line = Find("txtEquationLine");
    auto* error = Find<QLabel>("lblLineError");
    PressCtrl(Qt::Key_L);
    EXPECT_EQ(QApplication::focusWidget(), line);
    QTest::keyClicks(line, "(x-1)^2(x+3)");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(Text("txtEquation"), "x^3 + x^2 - 5" + kDot + "x + 3 = 0");
    EXPECT_EQ(Coef(3)->text() + Coef(2)->text() + Coef(1)->text() + Coef(0)->text(), "11-53");
    EXPECT_FALSE(error->isVisible());

    line->setText("x^2 + 2x + * 3");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->text(), "expected a number or x at column 12");
    EXPECT_EQ(line->cursorPosition(), 11);
    EXPECT_EQ(Text("txtEquation"), "x^3 + x^2 - 5" + kDot + "x + 3 = 0");
    line->setText("x^14 - 1");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_TRUE(error->text().startsWith("degree 14")) << error->text().toStdString();
    QTest::keyClick(line, Qt::Key_End);
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_FALSE(error->isVisible());

    Coef(2)->setFocus();
    PressCtrl(Qt::Key_Z);
    EXPECT_EQ(Text("txtEquation"), "0 = 0");

    line->setText("x^2 +");
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_TRUE(error->isVisible());
    QGuiApplication::clipboard()->setText(QString::fromUtf8("x\u00B2 \u2212 2"));
    Coef(5)->setFocus();
    PressCtrl(Qt::Key_V); // the equation read clears the error, though the line was not edited
    EXPECT_EQ(Text("txtEquation"), "x^2 - 2 = 0");
    EXPECT_FALSE(error->isVisible());
    EXPECT_EQ(line->text(), Clipboard());
    EXPECT_EQ(Coef(5)->text(), "0");
    QGuiApplication::clipboard()->setText("2x = 1");
    Find<QPlainTextEdit>("txtNote")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text("txtEquation"), "2" + kDot + "x - 1 = 0");
    EXPECT_EQ(Find<QPlainTextEdit>("txtNote")->toPlainText(), "");
    EXPECT_EQ(answer_.boxes, Boxes{});
}

// Load in the viewer reads the record's equation back through the equation line, exactly and
// as one step; a line that holds no equation says why beside the line and changes nothing.
// The test screen has no room beside the main window: the viewer opens centred over it, and
// next time where it was left.
TEST_F(MainWindowTest, TheViewerOpensOverTheWindowAndLoadsARecordExactlyAsOneStep) {
    Solve({{3, "0.5"}, {2, "-7/3"}, {0, "12"}});
    const QString solved = Text("txtEquation");
    PressCtrl(Qt::Key_S);
    Find<QPlainTextEdit>("txtNote")->setPlainText("a note");
    Click("cmdUpdate");
    Trigger("mnuFileApri");
    auto* viewer = ShownWindow<frmViewDB>();
    ASSERT_NE(viewer, nullptr);
    const QRect screen = window_->screen()->availableGeometry();
    ASSERT_GT(window_->frameGeometry().width() + viewer->width(), screen.width());
    const QPoint offCentre = viewer->frameGeometry().center() - window_->frameGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 30);
    EXPECT_TRUE(screen.contains(viewer->frameGeometry()));
    auto* text = Child<DatabaseTextView>(viewer, "txtDB");
    text->select({0, 5}, {0, 5});
    Child<QAction>(viewer, "mnuVLoad")->trigger();
    EXPECT_EQ(Text("txtEquation"), solved);
    EXPECT_EQ(Coef(3)->text() + "|" + Coef(2)->text() + "|" + Coef(0)->text(), "1/2|-7/3|12");
    EXPECT_EQ(QApplication::focusWidget(), Find("txtEquationLine"));
    text->select({1, 0}, {1, 0});
    Child<QAction>(viewer, "mnuVLoad")->trigger();
    EXPECT_TRUE(Find<QLabel>("lblLineError")->text().endsWith("column 1"));
    EXPECT_EQ(Text("txtEquation"), solved);
    const QRect left(20, 30, 500, 300);
    viewer->setGeometry(left);
    viewer->close();
    Coef(1)->setFocus();
    PressCtrl(Qt::Key_Z);
    EXPECT_EQ(Text("txtEquation"), "0 = 0");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Trigger("mnuFileApri");
    viewer = ShownWindow<frmViewDB>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->geometry(), left);
    viewer->close();
}

} // namespace
} // namespace valdrex
