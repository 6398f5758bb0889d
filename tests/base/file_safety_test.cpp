// Whole-file writes that cannot lose data: the bak protocol, replacing a file, and
// case-insensitive lookup.

#include <gtest/gtest.h>

#include "base/bak_save.h"
#include "base/file_system.h"
#include "base/line_list.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::FaultyFileSystem;
using testing::FsOp;
using testing::TempFolder;

class BakSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("lib.01", "old keys\r\n");
        dir.write("lib.02", "old values\r\n");
    }
    std::vector<BakSaveFile> files() const {
        return {{dir.file("lib.01"), "new keys\r\n"}, {dir.file("lib.02"), "new values\r\n"}};
    }
    TempFolder dir;
    FaultyFileSystem fs;
};

TEST_F(BakSaveTest, SavedFilesReplaceTheOldOnesAndNoBakRemains) {
    BakSaveResult result = saveThroughBak(fs, files());
    EXPECT_EQ(result.outcome, BakSaveOutcome::Saved);
    EXPECT_EQ(dir.read("lib.01"), "new keys\r\n");
    EXPECT_EQ(dir.read("lib.02"), "new values\r\n");
    EXPECT_FALSE(dir.exists("lib.01bak"));
    EXPECT_FALSE(dir.exists("lib.02bak"));
}

TEST_F(BakSaveTest, FailedBakWriteLeavesTheRealFilesUntouched) {
    fs.failOn(FsOp::Write, "lib.02bak.tmp-save");
    BakSaveResult result = saveThroughBak(fs, files());
    EXPECT_EQ(result.outcome, BakSaveOutcome::WriteFailed);
    EXPECT_EQ(dir.read("lib.01"), "old keys\r\n");
    EXPECT_EQ(dir.read("lib.02"), "old values\r\n");
    // The bak file written before the failure does not stay to fill the disk.
    EXPECT_FALSE(dir.exists("lib.01bak"));
    EXPECT_FALSE(dir.exists("lib.02bak"));
}

TEST_F(BakSaveTest, AFailedWriteKeepsBakFilesThatWereThereBefore) {
    // A copy that failed earlier left the bak pair as the only copy.
    dir.write("lib.01bak", "kept keys\r\n");
    dir.write("lib.02bak", "kept values\r\n");
    fs.failOn(FsOp::Write, "lib.02bak.tmp-save");
    EXPECT_EQ(saveThroughBak(fs, files()).outcome, BakSaveOutcome::WriteFailed);
    EXPECT_TRUE(dir.exists("lib.01bak"));
    EXPECT_EQ(dir.read("lib.02bak"), "kept values\r\n");
}

TEST_F(BakSaveTest, FilesThatAlreadyHoldTheirContentAreNotWritten) {
    dir.write("lib.01", "new keys\r\n");
    dir.write("lib.02", "new values\r\n");
    fs.failOn(FsOp::Write, "");
    fs.failOn(FsOp::Copy, "");
    fs.failOn(FsOp::Remove, "");
    EXPECT_EQ(saveThroughBak(fs, files()).outcome, BakSaveOutcome::Saved);
    EXPECT_EQ(fs.failed, std::vector<std::string>{});

    // One changed file writes the whole set, and a leftover bak file is replaced.
    TempFolder other;
    other.write("lib.01", "new keys\r\n");
    other.write("lib.02", "old values\r\n");
    other.write("lib.01bak", "stale\r\n");
    FaultyFileSystem plain;
    EXPECT_EQ(saveThroughBak(plain, {{other.file("lib.01"), "new keys\r\n"}, {other.file("lib.02"), "new values\r\n"}})
                  .outcome,
              BakSaveOutcome::Saved);
    EXPECT_EQ(other.read("lib.02"), "new values\r\n");
    EXPECT_FALSE(other.exists("lib.01bak"));
}

TEST_F(BakSaveTest, FilesGivenAsLinesAreComparedAndWrittenAsTheirJoin) {
    const LineList keys = {"new", "keys"};
    const LineList values = {"new values"};
    // Held already: nothing is written.
    dir.write("lib.01", joinLines(keys));
    dir.write("lib.02", joinLines(values));
    fs.failOn(FsOp::Write, "");
    EXPECT_EQ(saveThroughBak(fs, {BakSaveFile::ofLines(dir.file("lib.01"), keys), BakSaveFile::ofLines(dir.file("lib.02"), values)})
                  .outcome,
              BakSaveOutcome::Saved);
    EXPECT_EQ(fs.failed, std::vector<std::string>{});
    // The same lines with LF line ends are not the same file: it is written with CR LF.
    dir.write("lib.02", "new values\n");
    FaultyFileSystem plain;
    EXPECT_EQ(saveThroughBak(plain, {BakSaveFile::ofLines(dir.file("lib.01"), keys), BakSaveFile::ofLines(dir.file("lib.02"), values)})
                  .outcome,
              BakSaveOutcome::Saved);
    EXPECT_EQ(dir.read("lib.01"), "new\r\nkeys\r\n");
    EXPECT_EQ(dir.read("lib.02"), "new values\r\n");
    EXPECT_FALSE(dir.exists("lib.01bak"));
}

TEST_F(BakSaveTest, FailedCopyKeepsTheBakSetAsTheOnlyCompleteCopy) {
    fs.failOn(FsOp::Copy, "lib.01");
    BakSaveResult result = saveThroughBak(fs, files());
    EXPECT_EQ(result.outcome, BakSaveOutcome::CopyFailed);
    // Both copies were attempted; then both real files were removed so that no mix of old
    // and new can be loaded, and the bak files hold the whole new content.
    EXPECT_FALSE(dir.exists("lib.01"));
    EXPECT_FALSE(dir.exists("lib.02"));
    EXPECT_EQ(dir.read("lib.01bak"), "new keys\r\n");
    EXPECT_EQ(dir.read("lib.02bak"), "new values\r\n");
}

// Library files are written and copied a megabyte at a time: the bytes must be those of the
// whole, across the piece boundaries and for a line longer than a piece.
TEST(DiskPiecesTest, LinesAndCopiesArriveWhole) {
    LineList lines;
    for (int k = 0; lines.size() < 200000; ++k) lines.push_back("example line " + std::to_string(k));
    lines.push_back(std::string(3u << 20, 'x'));
    lines.push_back("");
    TempFolder dir;
    DiskFileSystem disk;
    ASSERT_TRUE(disk.writeLines(dir.file("big.rf0"), lines).isOk());
    const std::string whole = joinLines(lines);
    ASSERT_EQ(dir.read("big.rf0"), whole);
    ASSERT_TRUE(replaceLines(disk, dir.file("big.rf0"), {"short"}).isOk());
    EXPECT_EQ(dir.read("big.rf0"), "short\r\n");
    EXPECT_FALSE(dir.exists("big.rf0.tmp-save"));

    dir.write("from.rf0", whole);
    dir.write("to.rf0", "older and longer content that must not survive the copy");
    ASSERT_TRUE(disk.copyFile(dir.file("from.rf0"), dir.file("to.rf0")).isOk());
    EXPECT_EQ(dir.read("to.rf0"), whole);
    // A missing source fails and creates nothing; so does a target that cannot be made.
    EXPECT_FALSE(disk.copyFile(dir.file("missing.rf0"), dir.file("made.rf0")).isOk());
    EXPECT_FALSE(dir.exists("made.rf0"));
    EXPECT_FALSE(disk.copyFile(dir.file("from.rf0"), dir.file("no/such/folder/to.rf0")).isOk());
    EXPECT_FALSE(disk.writeLines(dir.file("no/such/folder/x.rf1"), lines).isOk());
    // A full disk fails the write, whichever piece it strikes.
    if (disk.exists("/dev/full")) {
        EXPECT_FALSE(disk.writeLines("/dev/full", lines).isOk());
        EXPECT_FALSE(disk.copyFile(dir.file("from.rf0"), "/dev/full").isOk());
    }
}

TEST(ReplaceFileTest, FailedWriteKeepsTheOldContent) {
    TempFolder dir;
    dir.write("list.ini", "keep me\r\n");
    FaultyFileSystem fs;
    fs.failOn(FsOp::Write, ".tmp-save");
    EXPECT_FALSE(replaceLines(fs, dir.file("list.ini"), {"new"}).isOk());
    EXPECT_EQ(dir.read("list.ini"), "keep me\r\n");
    EXPECT_FALSE(dir.exists("list.ini.tmp-save"));
    DiskFileSystem disk;
    ASSERT_TRUE(replaceLines(disk, dir.file("list.ini"), {"new"}).isOk());
    EXPECT_EQ(dir.read("list.ini"), "new\r\n");
}

TEST(FileLookupTest, FindsNamesInAnyCase) {
    TempFolder dir;
    dir.write("UserData/userSelZy.ini", "x");
    DiskFileSystem fs;
    EXPECT_EQ(findCaseInsensitive(fs, dir.path(), "userdata/userselzy.ini"), dir.file("UserData/userSelZy.ini"));
    // A name that exists nowhere comes back as given.
    EXPECT_EQ(findCaseInsensitive(fs, dir.path(), "userdata/none.ini"), dir.file("userdata/none.ini"));
    Result<LineList> lines = loadLines(fs, dir.file("missing"));
    EXPECT_EQ(lines.status().kind(), ErrorKind::NotFound);
}

}  // namespace
}  // namespace tavricat
