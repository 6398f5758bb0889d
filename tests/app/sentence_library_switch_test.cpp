// Choosing, creating, reloading and emptying the current sentence library.

#include <gtest/gtest.h>

#include "base/library_creation.h"
#include "app/sentence_library_switch.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::FsOp;

class SentenceLibrarySwitchTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        home.write("userdata/Other.rf0", "02 good morning ^早上好\r\n");
        home.write("userdata/Other.rf1", "good\r\nmorning\r\n");
        home.write("userdata/Other.rf2", "00000\r\n00000\r\n");
        home.write("userdata/Other.irf", "Greetings\r\nme\r\nOther\r\n");
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        ASSERT_TRUE(bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), "I have it^我有").isOk());
    }
    std::unique_ptr<Workbench> bench;
};

TEST_F(SentenceLibrarySwitchTest, ChoosingAnotherLibrarySavesTheCurrentOneFirst) {
    ASSERT_TRUE(useSentenceLibrary(*bench, "Other").isOk());
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("^我有\r\n"), std::string::npos);
    EXPECT_EQ(bench->sentenceLibrary.libSentences, LineList{"02 good morning ^早上好"});
    EXPECT_EQ(bench->settings.curLiJuKuname, "Other");
    EXPECT_EQ(bench->statusPanels[2], "例句库: Greetings");
    // The choice outlives the run.
    ASSERT_TRUE(bench->shutdown().isOk());
    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->sentenceLibrary.name, "Other");
}

TEST_F(SentenceLibrarySwitchTest, AnIncompleteLibraryOrAFailedSaveKeepsTheCurrentOne) {
    std::remove(home.file("userdata/Other.rf2").c_str());
    EXPECT_FALSE(useSentenceLibrary(*bench, "Other").isOk());
    EXPECT_EQ(dialogs.messages.back(), "选用Greetings例句库时失败，请检查文件是否齐全！");
    EXPECT_EQ(bench->sentenceLibrary.name, "MySentsEC");

    home.write("userdata/Other.rf2", "00000\r\n00000\r\n");
    fs.failOn(FsOp::Write, "MySentsEC.rf0bak.tmp-save");
    EXPECT_FALSE(useSentenceLibrary(*bench, "Other").isOk());
    // Its example exists only in memory: the library must stay current.
    EXPECT_EQ(bench->sentenceLibrary.name, "MySentsEC");
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 1u);
    EXPECT_EQ(dialogs.messages.back(), kSentenceLibrarySaveFailed);
}

TEST_F(SentenceLibrarySwitchTest, ANewLibraryIsCreatedAndOptionallyMadeCurrent) {
    LibraryInfo info{"项目", "me", "  d:\\libs\\Project.rf0 ", {"第一行", "第二行"}};
    dialogs.answers = {false};
    Result<std::string> created = createSentenceLibrary(*bench, info);
    ASSERT_TRUE(created.isOk());
    EXPECT_EQ(*created, "Project");
    EXPECT_EQ(dialogs.questions.back(), kEnableNewSentenceLibrary);
    EXPECT_EQ(bench->sentenceLibrary.name, "MySentsEC");
    EXPECT_EQ(home.read("userdata/Project.irf"), "项目\r\nme\r\n  d:\\libs\\Project.rf0 \r\n第一行\r\n第二行\r\n");
    EXPECT_EQ(home.read("userdata/Project.rf1"), "");

    // The name is taken now, in any case; an empty name is refused.
    EXPECT_FALSE(createSentenceLibrary(*bench, LibraryInfo{"", "", "project", {}}).isOk());
    EXPECT_EQ(dialogs.messages.back(), kLibraryNameExists);
    EXPECT_FALSE(createSentenceLibrary(*bench, LibraryInfo{"", "", " .rf0", {}}).isOk());
    EXPECT_EQ(dialogs.messages.back(), kEmptyLibraryFileName);

    dialogs.answers = {true};
    ASSERT_TRUE(createSentenceLibrary(*bench, LibraryInfo{"", "", "Fresh", {}}).isOk());
    EXPECT_EQ(bench->sentenceLibrary.name, "Fresh");
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 0u);
    EXPECT_EQ(bench->statusPanels[2], "例句库: Fresh");
    // The library it replaced was saved first.
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("^我有\r\n"), std::string::npos);
}

TEST_F(SentenceLibrarySwitchTest, RestoreDropsUnsavedChangesAndClearEmpties) {
    ASSERT_TRUE(bench->sentenceLibrary.saveFiles(fs, dialogs, bench->workspace().userDataFolder()).isOk());
    ASSERT_TRUE(bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), "it^它").isOk());
    SortedFind at = bench->engine.termBase.find("zzunsaved");
    ASSERT_TRUE(bench->engine.termBase.insertAt(at.index, "zzunsaved", "未存"));
    ASSERT_TRUE(restoreLibs(*bench).isOk());
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 1u);
    EXPECT_EQ(bench->engine.termBase.lookupKey("zzunsaved"), "");

    clearLibs(*bench);
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 0u);
    EXPECT_TRUE(bench->sentenceLibrary.libWords.empty());
    EXPECT_EQ(bench->engine.termBase.size(), 0u);
}

}  // namespace
}  // namespace tavricat
