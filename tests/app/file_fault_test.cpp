// Faults of the database file met by the commands that write it: a full disk, a folder where
// the file should be, a file that may not be written. Each is reported once, in the style of
// the command, and the bytes already in the database stay as they were.

#include "app/main_model.h"
#include "core/error_box.h"
#include "core/failure.h"
#include "database/database_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/resource.h>
#include <sys/wait.h>
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

// Runs `action` in a child process whose files cannot grow beyond `limit` bytes, as on a full
// disk, and returns what it reported. The child ignores SIGXFSZ, so a write past the limit
// fails with EFBIG instead of killing it.
std::string WithFileSizeLimit(rlim_t limit, const std::function<std::string()>& action) {
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        std::string report = ::setrlimit(RLIMIT_FSIZE, &rl) == 0 ? action() : "no limit";
        const ssize_t written = ::write(channel[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return "no child";
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child ended abnormally, status " + std::to_string(status);
    return report;
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

// The viewer's save writes the whole text; a failure shows the viewer's critical box.
std::string SaveAsTheViewerDoes(const fs::path& path, const std::string& text) {
    try {
        WriteWholeFile(path.string(), text);
    } catch (const RuntimeFailure& failure) {
        return Describe({CriticalErrorBox(failure)});
    }
    return "saved";
}

TEST_F(FileFaultTest, AViewerSaveOnAFullDiskKeepsThePreviousFile) {
    const std::string edited = kOldBytes + "a longer text than the disk can take\r\n";
    for (const rlim_t limit : {rlim_t{0}, rlim_t{3}, rlim_t{kOldBytes.size()}}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        Put(database_, kOldBytes);
        EXPECT_EQ(WithFileSizeLimit(limit, [&] { return SaveAsTheViewerDoes(database_, edited); }),
                  "[Error 27. File too large|critical|Valdrex]");
        EXPECT_EQ(Bytes(database_), kOldBytes);
        // Nothing is left behind beside the database.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
    }
    EXPECT_EQ(SaveAsTheViewerDoes(database_, edited), "saved");
    EXPECT_EQ(Bytes(database_), edited);
}

TEST_F(FileFaultTest, AViewerSaveOverAReadOnlyFileKeepsIt) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permission bits do not stop the superuser's writes";
    Put(database_, kOldBytes);
    fs::permissions(database_, fs::perms::owner_read);
    EXPECT_EQ(SaveAsTheViewerDoes(database_, "edited"),
              "[Error 13. Permission denied|critical|Valdrex]");
    EXPECT_EQ(Bytes(database_), kOldBytes);
}

} // namespace
} // namespace valdrex
