#include "dialogs/preferences_dialog.h"
#include "file_bytes.h"
#include "gui_test.h"
#include "window_texts.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>

#include <array>
#include <filesystem>

namespace valdrex {
namespace {

using Switches = std::array<int, 4>; // save, overwrite, symbolic, welcome

class Preferences : public ::testing::Test {
  protected:
    void Open(Switches s, std::string path = "/a.txt") {
        values_ = {s[0] != 0, s[1] != 0, s[2] != 0, s[3] != 0, std::move(path)};
        dialog_ = std::make_unique<frmOptions>(values_);
    }
    template <typename T = QCheckBox> T* Control(const char* name) const {
        return Child<T>(dialog_.get(), name);
    }
    void Click(const char* button) { Control<QAbstractButton>(button)->click(); }
    std::string Path() const { return Control<QLabel>("lblPath")->text().toStdString(); }
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
    Settings values_{};
    std::unique_ptr<frmOptions> dialog_;
};

TEST_F(Preferences, SavingOffDisablesThePathControlsAndRestoresTheStoredOverwrite) {
    Open({0, 1, 1, 1});
    EXPECT_TRUE(dialog_->isModal());
    EXPECT_TRUE(Control<QPushButton>("cmdOK")->isDefault());
    dialog_->show();
    ExpectTidyLayout(dialog_.get());
    ExpectShownTexts(dialog_.get(), WINDOW_TEXTS_DIR "/frmOptions.txt");
    // The clicks, then whether the path controls are enabled and overwrite checked. The user's
    // choice of overwrite is forgotten when saving goes off and on.
    const std::pair<std::vector<const char*>, bool> steps[] = {
        {{}, false}, {{"chkOpt"}, true}, {{"chkOvw", "chkOpt"}, false}, {{"chkOpt"}, true}};
    for (const auto& [clicks, enabled] : steps) {
        for (const char* name : clicks)
            Click(name);
        for (const char* name : {"fraPath", "lblPath", "cmdBrowse", "chkOvw"})
            EXPECT_EQ(Control<QWidget>(name)->isEnabled(), enabled) << name;
        EXPECT_EQ(Control("chkOvw")->isChecked(), enabled);
    }
}

TEST_F(Preferences, OkCopiesTheCheckBoxesAndCancelCopiesNothing) {
    const struct {
        Switches initial;
        std::vector<const char*> clicks;
        bool ok;
        Switches expected;
    } cases[] = {
        {{1, 1, 1, 0}, {}, true, {1, 1, 1, 0}},
        {{1, 0, 1, 1}, {"chkOvw", "chkES", "chkShowSplash"}, true, {1, 1, 0, 0}},
        {{1, 1, 1, 1}, {"chkOpt"}, true, {0, 0, 1, 1}}, // saving off clears overwrite
        {{1, 1, 1, 1}, {"chkOpt", "chkES"}, false, {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        Open(c.initial);
        for (const char* name : c.clicks)
            Click(name);
        Click(c.ok ? "cmdOK" : "cmdCancel");
        EXPECT_EQ(dialog_->result(), c.ok ? QDialog::Accepted : QDialog::Rejected);
        const Settings& v = values_;
        EXPECT_EQ(
            (Switches{v.SaveEquations, v.OverwriteFile, v.EvaluateSymbolically, v.ShowWelcome}),
            c.expected)
            << "case " << (&c - cases);
        EXPECT_EQ(v.DatabaseFile, "/a.txt");
    }
}

TEST_F(Preferences, BrowseCreatesTheChosenFileEvenIfThenCancelled) {
    Open({1, 0, 1, 1}, PathOf("old.txt"));
    const ModalAnswer answer(QMessageBox::Ok, [](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->defaultSuffix(), "txt");
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(files->fileMode(), QFileDialog::AnyFile);
        files->findChild<QLineEdit*>("fileNameEdit")->setText("typed");
        dialog->accept();
    });
    Click("cmdBrowse");
    const std::string chosen = PathOf("typed.txt");
    EXPECT_EQ(values_.DatabaseFile + "|" + Path(), chosen + "|" + chosen);
    EXPECT_EQ(std::filesystem::file_size(chosen), 0u);
    Click("cmdCancel");
    EXPECT_EQ(values_.DatabaseFile, chosen);
}

// Long names, sizes and dates are shown whole, not cut by the first column widths.
TEST_F(Preferences, TheFileListSizesItsColumnsToTheirContents) {
    Put(PathOf((std::string(90, 'n') + ".txt").c_str()), std::string(478, 'x'));
    Open({1, 0, 1, 1}, PathOf("old.txt"));
    dialog_->runFileDialog = [](QFileDialog& files) {
        files.show();
        auto* list = files.findChild<QTreeView*>("treeView");
        EXPECT_NE(list, nullptr);
        const auto columnsFit = [list] {
            QCoreApplication::processEvents();
            if (list->model()->rowCount(list->rootIndex()) == 0)
                return false;
            for (int column = 0; column < list->header()->count(); ++column)
                if (list->header()->sectionSize(column) <
                    static_cast<QAbstractItemView*>(list)->sizeHintForColumn(column))
                    return false;
            return true;
        };
        EXPECT_TRUE(list && QTest::qWaitFor(columnsFit, 2000));
        return QString();
    };
    Click("cmdBrowse");
}

TEST_F(Preferences, ACancelledOrFailedBrowseKeepsThePath) {
    const SeenBox notFound{"Error 2. No such file or directory", "Valdrex", QMessageBox::Critical};
    for (const auto& [chosen, boxes] :
         {std::pair{std::string(), Boxes{}}, {PathOf("missing/db.txt"), Boxes{notFound}}}) {
        Open({1, 0, 1, 1}, PathOf("old.txt"));
        dialog_->runFileDialog = [&](QFileDialog&) { return QString::fromStdString(chosen); };
        EXPECT_EQ(BoxesShownBy(QMessageBox::Ok, [&] { Click("cmdBrowse"); }), boxes);
        EXPECT_EQ(values_.DatabaseFile + "|" + Path(), PathOf("old.txt") + "|" + PathOf("old.txt"));
    }
}

} // namespace
} // namespace valdrex
