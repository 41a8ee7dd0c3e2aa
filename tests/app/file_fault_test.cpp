// Faults of the database file met by the main window's commands that write it: a full disk, a
// folder where the file should be, a file that may not be written. Each is reported once, in
// the record writer's style, and the bytes already in the database stay as they were. (The
// viewer's whole-file save is tested with the database file functions.)

#include "app/main_model.h"
#include "core/error_box.h"
#include "core/failure.h"
#include "file_size_limit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

const std::string kOldBytes = "x^2 - 1 = 0; S={ 1;-1}\r\nolder note\r\n";

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Describe(const ErrorBoxes& boxes) {
    std::string text;
    for (const ErrorBox& box : boxes)
        text += "[" + box.text + "|" + (box.icon == BoxIcon::Critical ? "critical" : "plain") +
                "|" + box.title + "]";
    return text;
}

// A plain box (the record writer's style) for the failure with this errno.
std::string PlainBoxFor(int errnoValue) {
    return Describe({PlainErrorBox(FileFailure(errnoValue))});
}

// One command that writes the database, with the settings it runs under.
struct WritingCommand {
    std::string name;
    int saveEquations;
    int overwriteFile;
    bool solve; // Maths > Solve; otherwise the Update button
};

const WritingCommand kCommands[] = {
    {"a solve appends the record", 1, 0, true},
    {"a solve overwrites with the record", 1, 1, true},
    {"Update appends the note", 1, 0, false},
    {"Update appends the record and the note", 0, 0, false},
    {"Update overwrites with the record, then appends the note", 0, 1, false},
};

class FileFaultTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("valdrex-fault-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        database_ = folder_ / "db.txt";
    }
    void TearDown() override {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    // Runs the command on x^2 - 3x + 2 = 0 and reports its boxes, the information label and
    // whether the solutions are still shown.
    std::string Run(const WritingCommand& command) const {
        ModuleState state;
        state.DatabaseFile = database_.string();
        state.SaveEquations = command.saveEquations;
        state.OverwriteFile = command.overwriteFile;
        MainModel model(state);
        model.SetCoefficient(2, "1");
        model.SetCoefficient(1, "-3");
        model.SetCoefficient(0, "2");
        model.SetNote("a note");
        ErrorBoxes boxes;
        if (command.solve) {
            boxes = model.Solve(SolveMethod::Exact);
        } else {
            state.SaveEquations = 0; // solve without saving, then let Update do the writing
            model.Solve(SolveMethod::Exact);
            state.SaveEquations = command.saveEquations;
            boxes = model.Update();
        }
        const bool solved = model.solutionLines() == std::vector<std::string>{"x1 = 2", "x2 = 1"};
        return Describe(boxes) + " info=\"" + model.info() + "\"" + (solved ? "" : " unsolved");
    }

    fs::path folder_;
    fs::path database_;
};

TEST_F(FileFaultTest, AFullDiskIsReportedAndKeepsTheDatabase) {
    const std::string expected = PlainBoxFor(EFBIG) + " info=\"\"";
    // No byte fits, or a part of the line fits and must be taken back.
    for (const rlim_t room : {rlim_t{0}, rlim_t{3}})
        for (const WritingCommand& command : kCommands) {
            SCOPED_TRACE(command.name + ", room for " + std::to_string(room) + " bytes");
            Put(database_, kOldBytes);
            // Overwriting starts from an empty file; appending after the old bytes.
            const rlim_t limit = (command.overwriteFile != 0 ? 0 : kOldBytes.size()) + room;
            const std::string report = WithFileSizeLimit(limit, [&] { return Run(command); });
            EXPECT_EQ(report, expected);
            EXPECT_EQ(Bytes(database_), kOldBytes);
        }
}

TEST_F(FileFaultTest, AFolderInPlaceOfTheDatabaseIsReportedAndLeftAlone) {
    fs::create_directory(database_);
    Put(database_ / "inside.txt", kOldBytes);
    for (const WritingCommand& command : kCommands) {
        SCOPED_TRACE(command.name);
        EXPECT_EQ(Run(command), PlainBoxFor(EISDIR) + " info=\"\"");
        EXPECT_TRUE(fs::is_directory(database_));
        EXPECT_EQ(Bytes(database_ / "inside.txt"), kOldBytes);
    }
}

TEST_F(FileFaultTest, AReadOnlyDatabaseIsReportedAndKeepsItsBytes) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser's writes; the folder case "
                        "covers a database that cannot be opened for writing";
    Put(database_, kOldBytes);
    fs::permissions(database_, fs::perms::owner_read);
    for (const WritingCommand& command : kCommands) {
        SCOPED_TRACE(command.name);
        EXPECT_EQ(Run(command), PlainBoxFor(EACCES) + " info=\"\"");
        EXPECT_EQ(Bytes(database_), kOldBytes);
    }
}

} // namespace
} // namespace valdrex
