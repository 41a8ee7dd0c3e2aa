#include "database/database_file.h"

#include "child_process.h"
#include "core/failure.h"
#include "core_test_support.h"
#include "database/cp1252.h"
#include "database/locked_file.h"
#include "database/record.h"
#include "file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

// Read and write for the owner, read for the group: not the mode files are made with.
constexpr fs::perms kMode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;

// The bytes in pieces of `size`.
ByteChunks Pieces(std::string bytes, std::size_t size) {
    auto rest = std::make_shared<std::string>(std::move(bytes));
    auto at = std::make_shared<std::size_t>(0);
    return [rest, at, size] {
        const std::string_view piece = std::string_view(*rest).substr(*at, size);
        *at += piece.size();
        return piece;
    };
}

// The viewer's save of `bytes` over whatever the file holds now.
void Save(const std::string& path, const std::string& bytes) {
    ReplaceKeepingAppends(path, {FileSize(path), {}}, Pieces(bytes, 4096));
}

// The viewer's reading: the file as long as it was while no writer held it.
std::string ReadAsTheViewer(const std::string& path) {
    LockedFile file(path, O_RDONLY | O_CREAT, LOCK_SH);
    file.Unlock();
    std::string bytes(static_cast<std::size_t>(file.status().st_size), '\0');
    EXPECT_EQ(::pread(file.fd(), bytes.data(), bytes.size(), 0),
              static_cast<ssize_t>(bytes.size()));
    return bytes;
}

// The errno `command` fails with, 0 when it does not.
std::string ErrnoOf(const std::function<void()>& command) {
    return std::to_string(testing::FailureOf(command));
}

// The errno of every command at `path`: append, overwrite, ensure, the viewer's open, save.
std::string Errnos(const std::string& path) {
    std::string numbers;
    for (const auto& command : std::initializer_list<std::function<void()>>{
             [&] { AppendLine(path, "line", false); }, [&] { AppendLine(path, "line", true); },
             [&] { EnsureFileExists(path); },
             [&] { LockedFile(path, O_RDONLY | O_CREAT, LOCK_SH); }, [&] { Save(path, "text"); }})
        numbers += ErrnoOf(command) + " ";
    return numbers;
}

class DatabaseFile : public ::testing::Test {
  protected:
    // A hang would stop the whole test run; the alarm turns it into a failure.
    void SetUp() override { ::alarm(20); }
    void TearDown() override { ::alarm(0); }
    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

    QTemporaryDir dir_;
    const std::string db_ = PathOf("db.txt");
};

TEST_F(DatabaseFile, AppendsOrOverwritesCodePageLinesWithCrLf) {
    AppendLine(db_, "2\xC2\xB7x - 4 = 0; S={ 2}", false);
    AppendLine(db_, "two", false);
    EXPECT_EQ(Bytes(db_), "2\xB7x - 4 = 0; S={ 2}\r\ntwo\r\n");
    AppendLine(db_, "three", true);
    AppendLine(db_, "", false); // an empty annotation is an empty line
    EXPECT_EQ(Bytes(db_), "three\r\n\r\n");
    AppendLine(db_, "x\xE2\x86\x92y", true);
    EXPECT_EQ(Bytes(db_), "x?y\r\n");
    // A last line cut short or edited by hand never swallows the next record.
    for (const std::string old : {"cut record", "a\r", "a\n"}) {
        Put(db_, old);
        AppendLine(db_, "next", false);
        EXPECT_EQ(Bytes(db_), old + (old.ends_with('\n') ? "" : "\r\n") + "next\r\n");
    }
}

TEST_F(DatabaseFile, CreatesAndReplacesTheWholeFile) {
    EnsureFileExists(db_);
    EXPECT_EQ(Bytes(db_), "");
    Put(db_, "2\xB7x\r\n\x80\r\nlast");
    EnsureFileExists(db_); // never changes a file that is there
    EXPECT_EQ(Bytes(db_), "2\xB7x\r\n\x80\r\nlast");
    Save(db_, "2\xB7x\r\nno line end");
    EXPECT_EQ(Bytes(db_), "2\xB7x\r\nno line end");
    Save(db_, "");
    EXPECT_EQ(Bytes(db_), "");
}

TEST_F(DatabaseFile, AReplacedFileKeepsItsPermissionsAndLinks) {
    Put(db_, "old");
    fs::permissions(db_, kMode);
    const std::string link = PathOf("link.txt"), linkToLink = PathOf("link2.txt");
    fs::create_symlink(db_, link);
    fs::create_symlink("link.txt", linkToLink);
    Save(link, "new");
    AppendLine(linkToLink, "x = 0", true);
    EXPECT_TRUE(fs::is_symlink(link) && fs::is_symlink(linkToLink));
    EXPECT_EQ(Bytes(db_), "x = 0\r\n");
    EXPECT_EQ(fs::status(db_).permissions(), kMode);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 3);
}

TEST_F(DatabaseFile, FailuresReportErrnoAndChangeNothing) {
    const std::string folder = PathOf("folder"), fifo = PathOf("fifo"), null = PathOf("null");
    fs::create_directory(folder);
    Put(folder + "/inner.txt", "inner");
    EXPECT_EQ(Errnos(PathOf("missing/db.txt")), "2 2 2 2 2 ");
    fs::create_symlink("loop", PathOf("loop"));
    EXPECT_EQ(Errnos(PathOf("loop")), "40 40 40 40 40 ");
    EXPECT_FALSE(fs::exists(PathOf("missing")));
    EXPECT_EQ(Errnos(folder), "21 21 21 21 21 ");
    EXPECT_EQ(Bytes(folder + "/inner.txt"), "inner");
    // A pipe without partner fails at once instead of waiting for one; nothing to read.
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Errnos(fifo), "6 6 6 0 6 ");
    EXPECT_TRUE(fs::is_fifo(fifo));
    // A device is written in place, not replaced (a private null device, where one can be made).
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(Errnos(null), "0 0 0 0 0 ");
        EXPECT_TRUE(fs::is_character_file(null));
    }
}

TEST_F(DatabaseFile, WritesThatMayNotHappenKeepTheOldBytes) {
    const std::string locked = PathOf("locked/db.txt");
    fs::create_directory(PathOf("locked"));
    const std::string writeOnly = PathOf("write-only.txt");
    Put(locked, "old\r\n");
    Put(db_, "old\r\n");
    Put(writeOnly, "old");
    fs::permissions(PathOf("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(db_, fs::perms::owner_read);
    fs::permissions(writeOnly, fs::perms::owner_write);
    // The file in the locked folder still takes an append; a file that may not be read is
    // written without a look at its last line.
    EXPECT_EQ(AsOrdinaryUser(
                  dir_.path().toStdString(),
                  [&] { return Errnos(db_) + "| " + Errnos(locked) + "| " + Errnos(writeOnly); }),
              "13 13 13 0 13 | 0 13 0 0 13 | 0 0 0 13 0 ");
    fs::permissions(PathOf("locked"), fs::perms::owner_all);
    EXPECT_EQ(Bytes(db_) + Bytes(locked) + Bytes(writeOnly), "old\r\nold\r\nline\r\ntext");
}

// A link planted at the database path in a folder everyone shares (such as /tmp) must not
// make the program, run by root or by anyone else, write where the link points.
TEST_F(DatabaseFile, AnotherUsersLinkInASharedFolderIsNotFollowed) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "planting another user's link needs root";
    const std::string shared = PathOf("shared"), victim = PathOf("victim.txt");
    fs::create_directory(shared);
    fs::permissions(shared, fs::perms::all | fs::perms::sticky_bit);
    fs::permissions(dir_.path().toStdString(), fs::perms::all); // world-writable, not sticky
    Put(victim, "victim\r\n");
    fs::permissions(victim, fs::perms::all);
    const auto plant = [](const std::string& link, const std::string& target, uid_t owner) {
        fs::create_symlink(target, link);
        EXPECT_EQ(::lchown(link.c_str(), owner, owner), 0);
        return link;
    };
    const std::string nobodys = plant(shared + "/nobodys", victim, kNobody);
    const std::string strangers = plant(shared + "/strangers", victim, kNobody - 1);
    const std::string dangling = plant(shared + "/dangling", PathOf("new.txt"), kNobody);
    const std::string folderOwners = plant(shared + "/roots", victim, 0);
    const std::string unshared = plant(PathOf("unshared"), victim, kNobody);
    EXPECT_EQ(Errnos(nobodys) + "| " + Errnos(dangling), "13 13 13 13 13 | 13 13 13 13 13 ");
    EXPECT_FALSE(fs::exists(PathOf("new.txt")));
    try {
        AppendLine(nobodys, "x", false);
    } catch (const RuntimeFailure& failure) {
        EXPECT_EQ(failure.description(), "'" + nobodys +
                                             "' is another user's symbolic link in a shared "
                                             "folder; it is not followed");
    }
    AppendLine(folderOwners, "root's own link", false);
    AppendLine(unshared, "a link outside a shared folder", false);
    EXPECT_EQ(ReportFromChild(BecomeNobody,
                              [&] {
                                  AppendLine(nobodys, "nobody's own link", false);
                                  AppendLine(folderOwners, "the folder owner's link", false);
                                  return Errnos(strangers);
                              }),
              "13 13 13 13 13 ");
    EXPECT_EQ(Bytes(victim), "victim\r\nroot's own link\r\na link outside a shared folder\r\n"
                             "nobody's own link\r\nthe folder owner's link\r\n");
}

// A replace keeps what others see of the file: its other names, its mode, its owner and group.
TEST_F(DatabaseFile, AReplaceKeepsHardLinksModeOwnerAndGroup) {
    const std::string other = PathOf("other.txt");
    Put(db_, "old\r\n");
    ASSERT_EQ(::link(db_.c_str(), other.c_str()), 0);
    fs::permissions(db_, kMode);
    Save(db_, "new");
    EXPECT_EQ(Bytes(other), "new");
    EXPECT_EQ(fs::hard_link_count(db_), 2u);
    EXPECT_EQ(fs::status(db_).permissions(), kMode);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 2);
    if (::geteuid() != 0)
        GTEST_SKIP() << "files of other users need root";
    struct stat st {};
    ASSERT_EQ(::lchown(other.c_str(), kNobody, kNobody), 0);
    fs::remove(db_);
    AppendLine(other, "x = 0", true); // by root
    EXPECT_TRUE(::stat(other.c_str(), &st) == 0 && st.st_uid == kNobody && st.st_gid == kNobody);
    // Nobody may write root's file in a shared folder, but not make a new file root's, nor
    // rename one over it: the file is rewritten in place.
    fs::permissions(dir_.path().toStdString(), fs::perms::all | fs::perms::sticky_bit);
    Put(db_, "old\r\n");
    fs::permissions(db_, fs::perms::all);
    EXPECT_EQ(
        ReportFromChild(BecomeNobody, [&] { return ErrnoOf([&] { Save(db_, "by nobody"); }); }),
        "0");
    EXPECT_TRUE(::stat(db_.c_str(), &st) == 0 && st.st_uid == 0 && Bytes(db_) == "by nobody");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 2);
}

// Overwriting once emptied the file before writing and a save once reported success with the
// file cut at the limit: on a full disk, every write must leave the previous file whole.
TEST_F(DatabaseFile, AFullDiskKeepsThePreviousFileWhole) {
    const std::string old = "x^2 - 1 = 0; S={ 1;-1}\r\nolder note\r\n";
    const std::string longer = old + "a longer text than the disk can take\r\n";
    const auto save = [&] { Save(db_, longer); };
    const auto overwrite = [&] { AppendLine(db_, "x = 0", true); };
    const auto append = [&] { AppendLine(db_, std::string(100, 'x'), false); };
    const std::pair<std::function<void()>, rlim_t> cases[] = {
        {save, 0},      {save, 3},      {save, old.size()},
        {overwrite, 0}, {overwrite, 3}, {append, old.size() + 8}};
    for (const auto& [write, limit] : cases) {
        Put(db_, old);
        EXPECT_EQ(WithFileSizeLimit(limit, [&] { return ErrnoOf(write); }), std::to_string(EFBIG))
            << "limit " << limit;
        EXPECT_EQ(Bytes(db_), old) << "limit " << limit;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 1)
            << "a temporary file was left behind";
    }
    save();
    EXPECT_EQ(Bytes(db_), longer);
    // A file with another name is rewritten in place: room for a longer text comes first.
    const std::string other = PathOf("other.txt");
    ASSERT_EQ(::link(db_.c_str(), other.c_str()), 0);
    const auto saveLonger = [&] { Save(db_, "new " + longer); };
    EXPECT_EQ(WithFileSizeLimit(longer.size(), [&] { return ErrnoOf(saveLonger); }),
              std::to_string(EFBIG));
    EXPECT_EQ(Bytes(other), longer);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 2);
}

// Writers in processes of their own append records of many lengths, many across a page
// boundary, while another replaces the file with what it read, keeping what was appended since:
// every record ends up in the file once, whole, on a line of its own.
TEST_F(DatabaseFile, ConcurrentAppendsAndReplacesKeepEveryRecordOnce) {
    constexpr int kRounds = 12, kWriters = 4, kRecords = 200;
    const auto record = [](int writer, int k) {
        return "writer " + std::to_string(writer) + " record " + std::to_string(k) + " " +
               std::string(static_cast<std::size_t>(k * 739 % 6000), 'x');
    };
    std::vector<std::string> records;
    for (int writer = 0; writer < kWriters; ++writer)
        for (int k = 0; k < kRecords; ++k)
            records.push_back(record(writer, k));
    std::sort(records.begin(), records.end());
    for (int round = 0; round < kRounds; ++round) {
        std::filesystem::remove(db_);
        std::vector<pid_t> children;
        for (int writer = 0; writer < kWriters; ++writer)
            children.push_back(SpawnChild([&, writer] {
                LineAppender appender(db_); // the record writer's way, and the window's
                for (int k = 0; k < kRecords; ++k)
                    if (writer % 2 == 0)
                        appender.Append(record(writer, k));
                    else
                        AppendLine(db_, record(writer, k), false);
            }));
        children.push_back(SpawnChild([&] { // the viewer's saves of what it read
            for (int k = 0; k < 6; ++k) {
                const std::string seen = ReadAsTheViewer(db_);
                if (ReplaceKeepingAppends(db_, {seen.size(), Pieces(seen, 4096)},
                                          Pieces(seen, 5000))
                        .changedOtherwise)
                    throw FileFailure(EAGAIN);
            }
        }));
        for (const pid_t child : children)
            EXPECT_EQ(ExitStatus(child), 0);
        std::vector<std::string> lines = Lines(Bytes(db_), "\r\n");
        std::sort(lines.begin(), lines.end());
        ASSERT_TRUE(lines == records) << "round " << round << ": " << lines.size() << " lines, "
                                      << std::count(lines.begin(), lines.end(), "") << " blank";
    }
}

// A writer killed while it appends can leave the start of its line, cut between two pages;
// the next writer takes that back before it appends.
TEST_F(DatabaseFile, WhatAKillLeftOfALineIsTakenBack) {
    const std::string record(1 << 18, 'x'); // a kill often comes while it is written
    int cut = 0;
    for (int round = 0; round < 60 && cut < 3; ++round) {
        Put(db_, "old\r\n");
        const pid_t child = SpawnChild([&] {
            for (LineAppender appender(db_);;)
                appender.Append(record);
        });
        while (fs::file_size(db_) == 5) // whatever the machine's load made of the start
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        std::this_thread::sleep_for(std::chrono::microseconds(round * 97 % 500));
        ::kill(child, SIGKILL);
        ExitStatus(child);
        cut += !Bytes(db_).ends_with('\n');
        AppendLine(db_, "next", false);
        std::vector<std::string> lines = Lines(Bytes(db_), "\r\n");
        ASSERT_TRUE(lines.front() == "old" && lines.back() == "next" && Bytes(db_).ends_with('\n'));
        EXPECT_EQ(std::count(lines.begin(), lines.end(), record), lines.size() - 2) << round;
    }
    // What such a kill leaves, made by hand, since a slow (sanitized) build may see no kill land
    // inside a write: a marked append cut at a page's end.
    Put(db_, "old\r\n");
    const int fd = ::open(db_.c_str(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    const bool attributes = ::fsetxattr(fd, "user.test", "1", 1, 0) == 0; // asked on its own
    const bool marked = MarkAppend(fd, 5, record.size() + 2);
    EXPECT_EQ(::write(fd, record.data(), 4096 - 5), 4096 - 5);
    ::close(fd);
    if (!attributes)
        GTEST_SKIP() << "no extended attributes here";
    EXPECT_TRUE(marked);
    AppendLine(db_, "next", false);
    EXPECT_EQ(Bytes(db_), "old\r\nnext\r\n");
}

// The texts a record is made of, held for the record's views into them.
struct Texts {
    std::string equation;
    CoefficientTexts SolText;
    std::string input = "", output = "", factor = "";
    operator RecordFields() const { return {equation, SolText, input, output, factor}; }
};

// Solution texts by index, the rest empty.
CoefficientTexts Sol(const std::map<int, std::string>& texts) {
    return testing::Grid(texts, "");
}

TEST(RecordText, JoinsTheFieldsThatArePresent) {
    const struct {
        Texts fields;
        std::string record;
    } cases[] = {
        {{"2\xC2\xB7x - 4 = 0", Sol({{1, " 2"}})}, "2\xC2\xB7x - 4 = 0; S={ 2}"},
        {{"5 = 0", {}}, "5 = 0; S={}"},
        {{"e", Sol({{1, " 1"}, {2, "-2"}})}, "e; S={ 1;-2}"},
        {{"e", Sol({{2, " 1/ 2"}, {12, " 3"}})}, "e; S={ 1/ 2; 3}"}, // empty entries skipped
        {{"e", Sol({{0, "x"}})}, "e; S={}"},                         // entry 0 unused
        {{"e", Sol({{1, " 2"}}), "3", " 2"}, "e; S={ 2}; P(3) = 2"},
        {{"e", {}, "-1", "-2"}, "e; S={}; P(-1) =-2"},
        {{"e", {}, "3", ""}, "e; S={}"}, // a test point needs both texts
        {{"e", {}, "", " 2"}, "e; S={}"},
        {{"x^3 - 2\xC2\xB7x^2 + x - 2 = 0", Sol({{1, " 2"}}), "", "", "x^2  + 1 "},
         "x^3 - 2\xC2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1"},
        {{"e", Sol({{1, " 1"}}), "0", " 5", "x + 5"}, "e; S={ 1}; P(0) = 5; R(x)=x+5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RecordText(c.fields), c.record);
        EXPECT_EQ(RecordEquation(c.record), c.fields.equation) << "read back";
        // The clipboard takes the record, then the note unchanged.
        EXPECT_EQ(ClipboardText(c.fields, ""), c.record + "\r\n");
        EXPECT_EQ(ClipboardText(c.fields, "a\r\n b "), c.record + "\r\na\r\n b ");
    }
    EXPECT_EQ(RecordEquation("a note, x^2 = 1"), "a note, x^2 = 1");
}

using namespace std::string_literals;

TEST(Cp1252, DecodesToTheCodePageCharactersAndWritesAQuestionMarkForOthers) {
    // The five bytes the code page leaves undefined stand for the control characters.
    EXPECT_EQ(DecodeCp1252("A\0\r \xB7 \x80 \x99 \x9F \xE9 \xFF \x81\x8D\x8F\x90\x9D"s),
              "A\0\r \xC2\xB7 \xE2\x82\xAC \xE2\x84\xA2 \xC5\xB8 \xC3\xA9 \xC3\xBF "
              "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"s);
    // An arrow, a character beyond 16 bits (one mark), Greek letters, a byte that is no
    // character; a real SUB character stays.
    EXPECT_EQ(EncodeCp1252("2\xC2\xB7x \xE2\x82\xAC a\xE2\x86\x92"
                           "b \xF0\x9F\x98\x80 \x1A \xCE\xB1\xCE\xB2 \xFF"),
              "2\xB7x \x80 a?b ? \x1A ?? ?");
    EXPECT_EQ(EncodeCp1252(""), "");
    // Ill-formed sequences, one mark per byte: overlong, surrogate, beyond U+10FFFF; then the
    // smallest four-byte characters after the first lead byte.
    EXPECT_EQ(EncodeCp1252("\xF0\x8F\xBF\xBF \xE0\x9F\xBF \xED\xA0\x80 \xF4\x90\x80\x80 "
                           "\xF1\x80\x80\x80"),
              "???? ??? ??? ???? ?");
    EXPECT_EQ(EncodeCp1252("\xEF\xBB\xBFx\xEF\xBB\xBF"), "x?"); // a leading mark is dropped
    // Each character it lacks is named once, in order.
    EXPECT_EQ(UnstorableCharacters("\u00E9 \u03C0 \u221A \u20AC \u03C0 ? \u00B7x"), "\u03C0\u221A");
    EXPECT_EQ(UnstorableCharacters("caf\u00E9 \u2022 \u2122 ? \r\n"), "");
    EXPECT_EQ(UnstorableCharacters("\U0001F600\u0100"), "\U0001F600\u0100");
}

TEST(MergeOnSave, KeepsWhatWasAppendedAndAsksAboutAnyOtherChange) {
    constexpr bool ask = true, write = false;
    // read, disk, saved -> ask first, appended
    const std::tuple<const char*, const char*, const char*, bool, const char*> cases[] = {
        {"a\r\n", "a\r\n", "b\r\n", write, ""},
        {"a\r\n", "a\r\nr1\r\nr2\r\n", "b\r\n", write, "r1\r\nr2\r\n"},
        {"a\r\n", "a\r\nr1\r\n", "b", write, "\r\nr1\r\n"}, // the edited last line lost its end
        {"a", "a\r\nr1\r\n", "b", write, "\r\nr1\r\n"},     // the record already on its own line
        {"", "r1\r\n", "", write, "r1\r\n"},
        {"a\r\n", "", "b", ask, ""},                // emptied
        {"a\r\nb\r\n", "a\r\n", "a\r\n", ask, ""},  // shortened
        {"a\r\n", "x\r\nr1\r\n", "a\r\n", ask, ""}, // changed, then grown
    };
    for (const auto& [read, disk, saved, askFirst, appended] : cases) {
        const SaveMerge merge = MergeOnSave(read, disk, saved);
        EXPECT_EQ(merge.askFirst, askFirst) << read << "|" << disk;
        EXPECT_EQ(merge.appended, appended) << read << "|" << disk;
    }
}

// The save that streams ends as the merge of whole texts says: the text and what was
// appended, or the file untouched when it changed otherwise. The pieces are cut at odd places
// and the file is longer than one piece of reading.
TEST_F(DatabaseFile, AReplaceEndsAsTheMergeOfWholeTextsSays) {
    const std::string read = std::string(1500000, 'r') + "\r\nlast";
    std::string changedLate = read;
    changedLate[1200001] = 'x';
    const std::pair<std::string, std::string> cases[] = {
        {read, "edited"},
        {read + "\r\nr1\r\nr2\r\n", "edited\r\n"},
        {read + "\r\nr1\r\n", "edited"},
        {read + " more\r\n", "edited"},
        {read.substr(0, 100), "edited"},
        {changedLate, "edited"},
        {changedLate + "r1\r\n", "edited"},
        {"", ""},
    };
    for (const auto& [disk, text] : cases) {
        Put(db_, disk);
        const ReplaceOutcome outcome =
            ReplaceKeepingAppends(db_, {read.size(), Pieces(read, 7)}, Pieces(text, 5));
        const SaveMerge merge = MergeOnSave(read, disk, text);
        EXPECT_EQ(outcome.changedOtherwise, merge.askFirst) << disk.size();
        EXPECT_EQ(outcome.appended, merge.appended) << disk.size();
        EXPECT_EQ(Bytes(db_), merge.askFirst ? disk : text + merge.appended) << disk.size();
        EXPECT_EQ(outcome.diskLength, merge.askFirst ? disk.size() : 0) << disk.size();
    }
    // Told to replace whatever the first bytes are, it keeps only what lies beyond them.
    Put(db_, "other\r\nr1\r\n");
    EXPECT_EQ(ReplaceKeepingAppends(db_, {7, {}}, Pieces("mine", 3)).appended, "\r\nr1\r\n");
    EXPECT_EQ(Bytes(db_), "mine\r\nr1\r\n");
}

} // namespace
} // namespace valdrex
