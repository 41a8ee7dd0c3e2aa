// Faults of the database file met by the main window's commands that write it: a full disk, a
// folder where the file should be, a file that may not be written. Each is reported once, in
// the record writer's style, and the bytes already in the database stay as they were. (The
// viewer's whole-file save is tested with the database file functions.)

#include "app/main_model.h"
#include "core/failure.h"
#include "file_bytes.h"
#include "file_size_limit.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

const std::string kOldBytes = "x^2 - 1 = 0; S={ 1;-1}\r\nolder note\r\n";

std::string Describe(const ErrorBoxes& boxes) {
    std::string text;
    for (const ErrorBox& box : boxes)
        text += box.text + "|" + std::to_string(static_cast<int>(box.icon)) + "|" + box.title + ";";
    return text;
}

// The command's report when it meets the failure with this errno.
std::string Reported(int errnoValue) {
    return Describe({PlainErrorBox(FileFailure(errnoValue))}) + " info=";
}

// One command that writes the database, with the settings it runs under.
const struct WritingCommand {
    const char* name;
    int saveEquations, overwriteFile;
    bool solve; // Maths > Solve; otherwise the Update button
} kCommands[] = {
    {"a solve appends the record", 1, 0, true},
    {"a solve overwrites with the record", 1, 1, true},
    {"Update appends the note", 1, 0, false},
    {"Update appends the record and the note", 0, 0, false},
    {"Update overwrites with the record, then appends the note", 0, 1, false},
};

class FileFaultTest : public ::testing::Test {
  protected:
    // Runs the command on x^2 - 3x + 2 = 0 and reports its boxes, the information label and
    // whether the solutions are gone.
    std::string Run(const WritingCommand& command) const {
        ModuleState state;
        state.DatabaseFile = db_;
        state.OverwriteFile = command.overwriteFile;
        state.SaveEquations = command.solve ? command.saveEquations : 0; // Update does the writing
        MainModel model(state);
        model.SetCoefficient(2, "1");
        model.SetCoefficient(1, "-3");
        model.SetCoefficient(0, "2");
        model.SetNote("a note");
        ErrorBoxes boxes = model.Solve(SolveMethod::Exact);
        if (!command.solve) {
            state.SaveEquations = command.saveEquations;
            boxes = model.Update();
        }
        const bool solved = model.solutionLines() == std::vector<std::string>{"x1 = 2", "x2 = 1"};
        return Describe(boxes) + " info=" + model.info() + (solved ? "" : " unsolved");
    }

    QTemporaryDir dir_;
    const std::string db_ = dir_.filePath("db.txt").toStdString();
};

TEST_F(FileFaultTest, AFullDiskIsReportedAndKeepsTheDatabase) {
    // No byte fits, or a part of the line fits and must be taken back.
    for (const rlim_t room : {rlim_t{0}, rlim_t{3}})
        for (const WritingCommand& command : kCommands) {
            SCOPED_TRACE(command.name + (", room for " + std::to_string(room)));
            Put(db_, kOldBytes);
            // Overwriting starts from an empty file; appending after the old bytes.
            const rlim_t limit = (command.overwriteFile != 0 ? 0 : kOldBytes.size()) + room;
            EXPECT_EQ(WithFileSizeLimit(limit, [&] { return Run(command); }), Reported(EFBIG));
            EXPECT_EQ(Bytes(db_), kOldBytes);
        }
}

TEST_F(FileFaultTest, AFolderInPlaceOfTheDatabaseIsReportedAndLeftAlone) {
    fs::create_directory(db_);
    Put(db_ + "/inside.txt", kOldBytes);
    for (const WritingCommand& command : kCommands) {
        EXPECT_EQ(Run(command), Reported(EISDIR)) << command.name;
        EXPECT_EQ(Bytes(db_ + "/inside.txt"), kOldBytes) << command.name;
    }
}

TEST_F(FileFaultTest, AReadOnlyDatabaseIsReportedAndKeepsItsBytes) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser's writes; the folder case "
                        "covers a database that cannot be opened for writing";
    Put(db_, kOldBytes);
    fs::permissions(db_, fs::perms::owner_read);
    for (const WritingCommand& command : kCommands) {
        EXPECT_EQ(Run(command), Reported(EACCES)) << command.name;
        EXPECT_EQ(Bytes(db_), kOldBytes) << command.name;
    }
}

} // namespace
} // namespace valdrex
