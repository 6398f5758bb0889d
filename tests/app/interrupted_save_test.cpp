// A sentence-library save killed at every step it takes: the next start must open the
// library whole, either as it was before the save or as the save meant to write it.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "app/library_files.h"
#include "app/workspace.h"
#include "base/file_system.h"
#include "memory/sentence_library.h"
#include "support/analysis_builder.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

constexpr int kFinished = 7;
constexpr int kSaveFailed = 8;  // a save that failed without a kill: not a crash test at all

// The disk, until the `killAt`-th change, which does half of its work (a write stops half
// way) and ends the process on the spot.
class KillingFileSystem : public DiskFileSystem {
public:
    explicit KillingFileSystem(int killAt) : m_killAt(killAt) {}

    Status writeFile(const std::string& path, const std::string& data) override {
        if (++m_changes == m_killAt) {
            (void)DiskFileSystem::writeFile(path, data.substr(0, data.size() / 2));  // the torn write of a kill
            _exit(0);
        }
        return DiskFileSystem::writeFile(path, data);
    }
    // Lines go through writeFile, so that a kill can tear them as well.
    Status writeLines(const std::string& path, const std::vector<std::string>& lines) override {
        return FileSystem::writeLines(path, lines);
    }
    Status copyFile(const std::string& from, const std::string& to) override {
        if (++m_changes == m_killAt) {
            Result<std::string> data = DiskFileSystem::readFile(from);
            if (data) (void)DiskFileSystem::writeFile(to, data->substr(0, data->size() / 2));  // the torn copy
            _exit(0);
        }
        return DiskFileSystem::copyFile(from, to);
    }
    Status rename(const std::string& from, const std::string& to) override {
        dieHere();
        return DiskFileSystem::rename(from, to);
    }
    Status remove(const std::string& path) override {
        dieHere();
        return DiskFileSystem::remove(path);
    }

private:
    void dieHere() {
        if (++m_changes == m_killAt) _exit(0);
    }
    int m_killAt;
    int m_changes = 0;
};

SentenceLibrary libraryOf(int examples) {
    SentenceLibrary library;
    library.name = "Mem";
    for (int k = 0; k < examples; ++k) {
        const std::string word = "w" + std::to_string(k);
        EXPECT_TRUE(library.addAnalysed(testing::analysisOf({"shared", word}), "译" + word).isOk());
    }
    return library;
}

TEST(InterruptedSaveTest, EveryKillPointLeavesALibraryThatOpensWhole) {
    const SentenceLibrary before = libraryOf(3);
    const SentenceLibrary after = libraryOf(8);
    testing::ScriptedDialogs dialogs;

    bool finished = false;
    for (int killAt = 1; !finished && killAt < 50; ++killAt) {
        testing::TempFolder home;
        DiskFileSystem disk;
        Workspace workspace(disk, home.path());
        ASSERT_TRUE(disk.makeDirectories(workspace.userDataFolder()).isOk());
        ASSERT_TRUE(before.saveFiles(disk, dialogs, workspace.userDataFolder()).isOk());

        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            KillingFileSystem killing(killAt);
            _exit(after.saveFiles(killing, dialogs, workspace.userDataFolder()).isOk() ? kFinished : kSaveFailed);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_NE(WEXITSTATUS(status), kSaveFailed) << "kill at " << killAt;
        finished = WEXITSTATUS(status) == kFinished;

        Result<LibraryFilesOpening> opened =
            openLibraryFiles(workspace, "Mem", {".rf0", ".rf1", ".rf2"}, {".irf"}, "例句库", "stamp");
        ASSERT_TRUE(opened.isOk()) << "kill at " << killAt;
        EXPECT_TRUE(opened->wasComplete) << "kill at " << killAt;
        SentenceLibrary reopened;
        ASSERT_TRUE(reopened.load(disk, workspace.userDataFolder(), "Mem").isOk()) << "kill at " << killAt;
        const bool isBefore = reopened.libSentences == before.libSentences && reopened.libWords == before.libWords &&
                              reopened.libPostings == before.libPostings;
        const bool isAfter = reopened.libSentences == after.libSentences && reopened.libWords == after.libWords &&
                             reopened.libPostings == after.libPostings;
        EXPECT_TRUE(isBefore || isAfter) << "kill at " << killAt;
        // Once every bak file was written, nothing older than them may come back.
        if (finished) {
            EXPECT_TRUE(isAfter);
        }
    }
    EXPECT_TRUE(finished) << "the save never ran to its end";
}

}  // namespace
}  // namespace tavricat
