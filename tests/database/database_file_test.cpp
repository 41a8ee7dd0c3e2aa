#include "database/database_file.h"

#include "child_process.h"
#include "core/failure.h"
#include "database/cp1252.h"
#include "database/record.h"
#include "file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <tuple>
#include <unistd.h>

namespace valdrex {
namespace {

namespace fs = std::filesystem;

// The errno `action` failed with, 0 when it succeeded.
int FailureNumber(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeFailure& failure) {
        return failure.number();
    }
    return 0;
}

// The errno of every command at `path`: append, overwrite, ensure, read, save.
std::string Errnos(const std::string& path) {
    std::string numbers;
    for (const auto& command : std::initializer_list<std::function<void()>>{
             [&] { AppendLine(path, "line", false); }, [&] { AppendLine(path, "line", true); },
             [&] { EnsureFileExists(path); }, [&] { ReadWholeFile(path); },
             [&] { WriteWholeFile(path, "text"); }})
        numbers += std::to_string(FailureNumber(command)) + " ";
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

TEST_F(DatabaseFile, ReadsCreatesAndSavesTheWholeFile) {
    EXPECT_EQ(ReadWholeFile(db_), "");
    EXPECT_TRUE(fs::exists(db_));
    Put(db_, "2\xB7x\r\n\x80\r\nlast");
    EnsureFileExists(db_); // never changes a file that is there
    EXPECT_EQ(ReadWholeFile(db_), "2\xC2\xB7x\r\n\xE2\x82\xAC\r\nlast");
    fs::remove(db_);
    EnsureFileExists(db_);
    EXPECT_TRUE(fs::exists(db_));
    WriteWholeFile(db_, "2\xC2\xB7x\r\nno line end");
    EXPECT_EQ(Bytes(db_), "2\xB7x\r\nno line end");
    WriteWholeFile(db_, "");
    EXPECT_EQ(Bytes(db_), "");
}

TEST_F(DatabaseFile, AReplacedFileKeepsItsPermissionsAndLinks) {
    Put(db_, "old");
    fs::permissions(db_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string link = PathOf("link.txt");
    fs::create_symlink(db_, link);
    WriteWholeFile(link, "new");
    AppendLine(link, "x = 0", true);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(db_), "x = 0\r\n");
    EXPECT_EQ(fs::status(db_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 2);
}

TEST_F(DatabaseFile, FailuresReportErrnoAndChangeNothing) {
    const std::string folder = PathOf("folder"), fifo = PathOf("fifo"), null = PathOf("null");
    fs::create_directory(folder);
    Put(folder + "/inner.txt", "inner");
    EXPECT_EQ(Errnos(PathOf("missing/db.txt")), "2 2 2 2 2 ");
    EXPECT_FALSE(fs::exists(PathOf("missing")));
    EXPECT_EQ(Errnos(folder), "21 21 21 21 21 ");
    EXPECT_EQ(Bytes(folder + "/inner.txt"), "inner");
    // A pipe without partner fails at once instead of waiting for one; nothing to read.
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Errnos(fifo), "6 6 6 0 6 ");
    EXPECT_TRUE(fs::is_fifo(fifo));
    const int peer = ::open(fifo.c_str(), O_RDWR); // a writer that never writes
    EXPECT_EQ(FailureNumber([&] { ReadWholeFile(fifo); }), EAGAIN);
    ::close(peer);
    // A device is written in place, not replaced (a private null device, where one can be made).
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_EQ(Errnos(null), "0 0 0 0 0 ");
        EXPECT_TRUE(fs::is_character_file(null));
    }
    EXPECT_EQ(FailureNumber([] { ReadWholeFile("/dev/zero"); }), EFBIG); // never ends
}

TEST_F(DatabaseFile, WritesThatMayNotHappenKeepTheOldBytes) {
    const std::string locked = PathOf("locked/db.txt");
    fs::create_directory(PathOf("locked"));
    Put(locked, "old\r\n");
    Put(db_, "old\r\n");
    fs::permissions(PathOf("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    fs::permissions(db_, fs::perms::owner_read);
    // The file in the locked folder still takes an append.
    EXPECT_EQ(AsOrdinaryUser(dir_.path().toStdString(),
                             [&] { return Errnos(db_) + "| " + Errnos(locked); }),
              "13 13 13 0 13 | 0 13 0 0 13 ");
    fs::permissions(PathOf("locked"), fs::perms::owner_all);
    EXPECT_EQ(Bytes(db_) + Bytes(locked), "old\r\nold\r\nline\r\n");
}

// Overwriting once emptied the file before writing and a save once reported success with the
// file cut at the limit: on a full disk, every write must leave the previous file whole.
TEST_F(DatabaseFile, AFullDiskKeepsThePreviousFileWhole) {
    const std::string old = "x^2 - 1 = 0; S={ 1;-1}\r\nolder note\r\n";
    const std::string longer = old + "a longer text than the disk can take\r\n";
    const auto save = [&] { WriteWholeFile(db_, longer); };
    const auto overwrite = [&] { AppendLine(db_, "x = 0", true); };
    const auto append = [&] { AppendLine(db_, std::string(100, 'x'), false); };
    const std::pair<std::function<void()>, rlim_t> cases[] = {
        {save, 0},      {save, 3},      {save, old.size()},
        {overwrite, 0}, {overwrite, 3}, {append, old.size() + 8}};
    for (const auto& [write, limit] : cases) {
        Put(db_, old);
        EXPECT_EQ(WithFileSizeLimit(limit, [&] { return std::to_string(FailureNumber(write)); }),
                  std::to_string(EFBIG))
            << "limit " << limit;
        EXPECT_EQ(Bytes(db_), old) << "limit " << limit;
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_.path().toStdString()), {}), 1)
            << "a temporary file was left behind";
    }
    save();
    EXPECT_EQ(Bytes(db_), longer);
}

RecordFields Fields(std::string equation, const std::map<int, std::string>& solutions,
                    std::string input = "", std::string output = "", std::string factor = "") {
    RecordFields fields{
        std::move(equation), {}, std::move(input), std::move(output), std::move(factor)};
    for (const auto& [index, text] : solutions)
        fields.SolText[index] = text;
    return fields;
}

TEST(RecordText, JoinsTheFieldsThatArePresent) {
    const struct {
        RecordFields fields;
        std::string record;
    } cases[] = {
        {Fields("2\xC2\xB7x - 4 = 0", {{1, " 2"}}), "2\xC2\xB7x - 4 = 0; S={ 2}"},
        {Fields("5 = 0", {}), "5 = 0; S={}"},
        {Fields("e", {{1, " 1"}, {2, "-2"}}), "e; S={ 1;-2}"},
        {Fields("e", {{2, " 1/ 2"}, {12, " 3"}}), "e; S={ 1/ 2; 3}"}, // empty entries skipped
        {Fields("e", {{0, "x"}}), "e; S={}"},                         // entry 0 unused
        {Fields("e", {{1, " 2"}}, "3", " 2"), "e; S={ 2}; P(3) = 2"},
        {Fields("e", {}, "-1", "-2"), "e; S={}; P(-1) =-2"},
        {Fields("e", {}, "3", ""), "e; S={}"}, // a test point needs both texts
        {Fields("e", {}, "", " 2"), "e; S={}"},
        {Fields("x^3 - 2\xC2\xB7x^2 + x - 2 = 0", {{1, " 2"}}, "", "", "x^2  + 1 "),
         "x^3 - 2\xC2\xB7x^2 + x - 2 = 0; S={ 2}; R(x)=x^2+1"},
        {Fields("e", {{1, " 1"}}, "0", " 5", "x + 5"), "e; S={ 1}; P(0) = 5; R(x)=x+5"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RecordText(c.fields), c.record);
}

TEST(ClipboardText, IsTheRecordThenTheNoteUnchanged) {
    const RecordFields fields = Fields("e", {{1, " 2"}}, "3", " 2");
    EXPECT_EQ(ClipboardText(fields, "check"), "e; S={ 2}; P(3) = 2\r\ncheck");
    EXPECT_EQ(ClipboardText(fields, ""), "e; S={ 2}; P(3) = 2\r\n");
    EXPECT_EQ(ClipboardText(fields, "a\r\n b "), "e; S={ 2}; P(3) = 2\r\na\r\n b ");
}

using namespace std::string_literals;

TEST(Cp1252, DecodesToTheCodePageCharacters) {
    // The five bytes the code page leaves undefined stand for the control characters.
    EXPECT_EQ(DecodeCp1252("A\0\r \xB7 \x80 \x99 \x9F \xE9 \xFF \x81\x8D\x8F\x90\x9D"s),
              "A\0\r \xC2\xB7 \xE2\x82\xAC \xE2\x84\xA2 \xC5\xB8 \xC3\xA9 \xC3\xBF "
              "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"s);
}

TEST(Cp1252, WritesAQuestionMarkForCharactersTheCodePageLacks) {
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
}

TEST(UnstorableCharacters, EachCharacterTheCodePageLacksOnceInOrder) {
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

} // namespace
} // namespace valdrex
