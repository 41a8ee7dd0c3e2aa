#include "dialogs/preferences_dialog.h"
#include "modal_answer.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace valdrex {
namespace {

class Preferences : public ::testing::Test {
  protected:
    frmOptions& Open(PreferenceValues initial) {
        values_ = std::move(initial);
        dialog_ = std::make_unique<frmOptions>(values_);
        return *dialog_;
    }

    template <typename T> T* Control(const char* name) const {
        T* control = dialog_->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QCheckBox* Check(const char* name) const { return Control<QCheckBox>(name); }
    QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }

    // Browse, with the file dialog answered by `choose` instead of the user.
    void Browse(std::function<QString(QFileDialog&)> choose) {
        dialog_->runFileDialog = std::move(choose);
        Button("cmdBrowse")->click();
    }

    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
    PreferenceValues values_{};
    std::unique_ptr<frmOptions> dialog_;
};

TEST_F(Preferences, ShowsTheCurrentValues) {
    Open({1, 1, 0, 1, "/home/ann/Valdrexdb.txt"});
    EXPECT_EQ(dialog_->windowTitle(), "Preferences");
    EXPECT_TRUE(dialog_->isModal());
    EXPECT_TRUE(Check("chkOpt")->isChecked());
    EXPECT_TRUE(Check("chkOvw")->isChecked());
    EXPECT_FALSE(Check("chkES")->isChecked());
    EXPECT_TRUE(Check("chkShowSplash")->isChecked());
    EXPECT_EQ(Control<QLabel>("lblPath")->text(), "/home/ann/Valdrexdb.txt");
    EXPECT_EQ(Control<QGroupBox>("fraPath")->title(), "Path for saving");
    EXPECT_TRUE(Button("cmdOK")->isDefault());
}

TEST_F(Preferences, SavingOffDisablesThePathControlsAndRestoresTheStoredOverwrite) {
    Open({0, 1, 1, 1, "/db.txt"});
    const auto expectPathControls = [&](bool enabled, bool overwrite) {
        for (const char* name : {"fraPath", "lblPath", "cmdBrowse", "chkOvw"})
            EXPECT_EQ(Control<QWidget>(name)->isEnabled(), enabled) << name;
        EXPECT_EQ(Check("chkOvw")->isChecked(), overwrite);
    };
    expectPathControls(false, false);
    Check("chkOpt")->click();
    expectPathControls(true, true);
    Check("chkOvw")->click(); // the user's choice is forgotten when saving goes off and on
    Check("chkOpt")->click();
    expectPathControls(false, false);
    Check("chkOpt")->click();
    expectPathControls(true, true);
}

TEST_F(Preferences, OkCopiesTheCheckBoxesAndCancelCopiesNothing) {
    struct Switches {
        int save, overwrite, symbolic, welcome;
    };
    const struct {
        const char* name;
        Switches initial;
        std::vector<const char*> clicks;
        bool ok;
        Switches expected;
    } cases[] = {
        {"unchanged", {1, 1, 1, 0}, {}, true, {1, 1, 1, 0}},
        {"all toggled", {1, 0, 1, 1}, {"chkOvw", "chkES", "chkShowSplash"}, true, {1, 1, 0, 0}},
        {"saving unchecked clears overwrite", {1, 1, 1, 1}, {"chkOpt"}, true, {0, 0, 1, 1}},
        {"other stored values", {1, 3, 2, 5}, {}, true, {1, 1, 0, 0}},
        {"saving stored as 7 is off", {7, 1, 1, 1}, {}, true, {0, 0, 1, 1}},
        {"cancel", {1, 1, 1, 1}, {"chkOpt", "chkES"}, false, {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        const Switches& in = c.initial;
        Open({in.save, in.overwrite, in.symbolic, in.welcome, "/a.txt"});
        for (const char* name : c.clicks)
            Check(name)->click();
        Button(c.ok ? "cmdOK" : "cmdCancel")->click();
        EXPECT_EQ(dialog_->result(), c.ok ? QDialog::Accepted : QDialog::Rejected) << c.name;
        EXPECT_EQ(values_.SaveEquations, c.expected.save) << c.name;
        EXPECT_EQ(values_.OverwriteFile, c.expected.overwrite) << c.name;
        EXPECT_EQ(values_.EvaluateSymbolically, c.expected.symbolic) << c.name;
        EXPECT_EQ(values_.ShowWelcome, c.expected.welcome) << c.name;
        EXPECT_EQ(values_.DatabaseFile, "/a.txt") << c.name;
    }
}

TEST_F(Preferences, BrowseOffersTheDatabaseFilter) {
    Open({1, 0, 1, 1, PathOf("old.txt")});
    Browse([](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Select the database");
        EXPECT_EQ(dialog.nameFilters(), QStringList{"Valdrex database (*.txt)"});
        EXPECT_EQ(dialog.defaultSuffix(), "txt");
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
        return QString();
    });
}

TEST_F(Preferences, BrowseCreatesTheChosenFileEvenIfThenCancelled) {
    Open({1, 0, 1, 1, PathOf("old.txt")});
    Browse([&](QFileDialog& dialog) {
        dialog.selectFile(QString::fromStdString(PathOf("notes")));
        return dialog.selectedFiles().value(0);
    });
    const std::string chosen = PathOf("notes.txt");
    EXPECT_EQ(values_.DatabaseFile, chosen);
    EXPECT_EQ(Control<QLabel>("lblPath")->text().toStdString(), chosen);
    EXPECT_TRUE(std::filesystem::exists(chosen));
    EXPECT_EQ(std::filesystem::file_size(chosen), 0u);
    Button("cmdCancel")->click();
    EXPECT_EQ(values_.DatabaseFile, chosen);
}

TEST_F(Preferences, BrowseThroughTheRealFileDialog) {
    Open({1, 0, 1, 1, PathOf("old.txt")});
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* fileDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* nameEdit = fileDialog ? fileDialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (nameEdit == nullptr) {
            ADD_FAILURE() << "no file dialog with a name box";
            if (QWidget* other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        nameEdit->setText("typed");
        static_cast<QDialog*>(fileDialog)->accept();
        answered = true;
    });
    Button("cmdBrowse")->click();
    ASSERT_TRUE(answered);
    EXPECT_EQ(values_.DatabaseFile, PathOf("typed.txt"));
    EXPECT_TRUE(std::filesystem::exists(PathOf("typed.txt")));
}

TEST_F(Preferences, BrowseCancelledChangesNothing) {
    Open({1, 0, 1, 1, PathOf("old.txt")});
    Browse([](QFileDialog&) { return QString(); });
    EXPECT_EQ(values_.DatabaseFile, PathOf("old.txt"));
    EXPECT_EQ(Control<QLabel>("lblPath")->text().toStdString(), PathOf("old.txt"));
}

TEST_F(Preferences, AFileThatCannotBeCreatedIsReportedAndNotTaken) {
    Open({1, 0, 1, 1, PathOf("old.txt")});
    const MessageBoxAnswer error(QMessageBox::Ok);
    Browse([&](QFileDialog&) { return QString::fromStdString(PathOf("missing/db.txt")); });
    ASSERT_TRUE(error.shown());
    EXPECT_EQ(error.text(), "Error 2. No such file or directory");
    EXPECT_EQ(error.icon(), QMessageBox::Critical);
    EXPECT_EQ(error.title(), "Valdrex");
    EXPECT_EQ(values_.DatabaseFile, PathOf("old.txt"));
    EXPECT_EQ(Control<QLabel>("lblPath")->text().toStdString(), PathOf("old.txt"));
}

} // namespace
} // namespace valdrex
