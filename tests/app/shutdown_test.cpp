// Shutdown: what is written, in which order, and the failure path.

#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::FsOp;
using testing::WorkbenchFixture;

TEST_F(WorkbenchFixture, CleanShutdownWritesListsSettingsAndLogs) {
    home.write("userdata/userlibw.saw", "old^旧\r\n");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    bench->engine.deletedWords.push_back("obsolete");
    bench->newUserWords = {"new^新"};
    bench->newGrammarEntries = {"aa~ * to^^想要~"};
    bench->settings.matchrate = 80;
    bench->settings.ShortCutFC = 0x00FF00;
    bench->recentFiles.touch("/docs/a.txt");
    bench->grammar.anchors = {"want"};
    bench->grammar.entries = {"~ * to^<~>想要"};
    ASSERT_TRUE(bench->saveUserTem().isOk());
    EXPECT_TRUE(home.exists("temlibw.saw"));
    EXPECT_EQ(home.read("lastzyliju.sav"), "MyDictEC\r\nMySentsEC\r\n");
    home.write("temlibs.sas", "x");

    ASSERT_TRUE(bench->shutdown().isOk());
    EXPECT_EQ(home.read("userdata/DeletedWords.ini"), "obsolete\r\n");
    EXPECT_EQ(home.read("userdata/userlibw.saw"), "old^旧\r\nnew^新\r\n");
    EXPECT_EQ(home.read("userdata/userlibg.sag"), "aa~ * to^^想要~\r\n");
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "want\r\n");
    EXPECT_EQ(home.read("userdata/modesEC.m2"), "~ * to^<~>想要\r\n");
    EXPECT_FALSE(home.exists("userdata/modesEC.m1bak"));
    EXPECT_FALSE(home.exists("temlibw.saw"));
    EXPECT_FALSE(home.exists("temlibs.sas"));
    EXPECT_EQ(progress.events, (std::vector<std::string>{"show:正在保存系统文件，请等待.../100@50", "pos:60",
                                                         "pos:70", "pos:80", "pos:100", "hide"}));

    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->settings.matchrate, 80);
    EXPECT_EQ(next->settings.ShortCutFC, 255);
    EXPECT_EQ(next->recentFiles.visibleEntries(), (std::vector<std::string>{"/docs/a.txt"}));
    EXPECT_EQ(next->grammar.anchors, (std::vector<std::string>{"want"}));
}

TEST_F(WorkbenchFixture, FailedGrammarCopyKeepsTheBakFilesAndReportsTheFailure) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    bench->grammar.anchors = {"want"};
    bench->grammar.entries = {"entry"};
    fs.failOn(FsOp::Copy, "modesEC.m2");
    EXPECT_FALSE(bench->shutdown().isOk());
    EXPECT_EQ(dialogs.messages.back().rfind("退出时出错!", 0), 0u);
    EXPECT_NE(dialogs.messages.back().find("modesEC.m2"), std::string::npos);
    EXPECT_EQ(progress.events.back(), "hide");
    EXPECT_FALSE(home.exists("userdata/modesEC.m1"));
    EXPECT_FALSE(home.exists("userdata/modesEC.m2"));
    EXPECT_EQ(home.read("userdata/modesEC.m1bak"), "want\r\n");
    EXPECT_EQ(home.read("userdata/modesEC.m2bak"), "entry\r\n");
    // The steps after the failure ran: the settings were written.
    EXPECT_TRUE(config.exists("tavricat25cecmini.ini"));
}

TEST_F(WorkbenchFixture, UnreadableWordLogIsNotOverwritten) {
    home.write("userdata/userlibw.saw", "every word ever added\r\n");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    bench->newUserWords = {"new^新"};
    fs.failOn(FsOp::Read, "userlibw.saw");
    EXPECT_FALSE(bench->shutdown().isOk());
    EXPECT_EQ(home.read("userdata/userlibw.saw"), "every word ever added\r\n");
    EXPECT_EQ(dialogs.messages.back().rfind("退出时出错!", 0), 0u);
}

TEST_F(WorkbenchFixture, AFailedStepDoesNotCostTheLaterOnesAndEveryFailureIsNamed) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    ASSERT_TRUE(bench->sentenceLibrary
                    .addAsent(bench->engine, bench->analysisOptions(), "I have a book.^我有一本书。")
                    .isOk());
    bench->allDomains.push_back("新领域");
    bench->engine.deletedWords.push_back("obsolete");
    bench->grammar.anchors = {"want"};
    bench->grammar.entries = {"entry"};
    bench->newUserWords = {"new^新"};
    fs.failOn(FsOp::Rename, "allzy.ini");
    fs.failOn(FsOp::Rename, "userlibw.saw");

    Status result = bench->shutdown();
    EXPECT_FALSE(result.isOk());
    const std::string& report = dialogs.messages.back();
    EXPECT_EQ(report.rfind("退出时出错!", 0), 0u);
    EXPECT_NE(report.find("allzy.ini"), std::string::npos) << report;
    EXPECT_NE(report.find("userlibw.saw"), std::string::npos) << report;
    EXPECT_EQ(result.message(), report);
    // Everything after (and beside) the failures was saved.
    EXPECT_EQ(home.read("userdata/DeletedWords.ini"), "obsolete\r\n");
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("^我有一本书。\r\n"), std::string::npos);
    EXPECT_EQ(home.read("userdata/modesEC.m1"), "want\r\n");
    EXPECT_TRUE(config.exists("tavricat25cecmini.ini"));
}

TEST_F(WorkbenchFixture, AFailedLibrarySaveFailsTheShutdownAndNamesTheFiles) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    ASSERT_TRUE(bench->sentenceLibrary
                    .addAsent(bench->engine, bench->analysisOptions(), "I have a book.^我有一本书。")
                    .isOk());
    fs.failOn(FsOp::Write, "MySentsEC.rf1bak.tmp-save");
    EXPECT_FALSE(bench->shutdown().isOk());
    EXPECT_NE(dialogs.messages.back().find("MySentsEC.rf0/.rf1/.rf2"), std::string::npos);
    // The bak file written before the failure is gone; the real files are as they were.
    EXPECT_FALSE(home.exists("userdata/MySentsEC.rf2bak"));
    EXPECT_FALSE(home.exists("userdata/MySentsEC.rf1bak"));
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0").find("我有一本书"), std::string::npos);
}

TEST_F(WorkbenchFixture, AShutdownAfterNoChangeWritesNothing) {
    // A first run writes the settings file; the second changes nothing.
    auto first = makeWorkbench();
    ASSERT_TRUE(first->start().isOk());
    ASSERT_TRUE(first->shutdown().isOk());
    fs.failOn(FsOp::Write, "");
    fs.failOn(FsOp::Rename, "");
    fs.failOn(FsOp::Copy, "");
    fs.failOn(FsOp::Remove, "");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_TRUE(bench->shutdown().isOk()) << (dialogs.messages.empty() ? "" : dialogs.messages.back());
    EXPECT_EQ(fs.failed, std::vector<std::string>{});
}

}  // namespace
}  // namespace tavricat

namespace tavricat {
namespace {

using testing::WorkbenchFixture;

TEST_F(WorkbenchFixture, TheSentenceLibraryIsLoadedAtStartAndSavedAtShutdown) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->sentenceLibrary.exampleCount(), 0u);
    Result<std::size_t> added =
        bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), "I have a book.^我有一本书。");
    ASSERT_TRUE(added.isOk()) << added.status().message();
    ASSERT_TRUE(bench->shutdown().isOk());
    EXPECT_NE(home.read("userdata/MySentsEC.rf0").find("^我有一本书。\r\n"), std::string::npos);
    EXPECT_FALSE(home.exists("userdata/MySentsEC.rf0bak"));

    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->sentenceLibrary.exampleCount(), 1u);
}

}  // namespace
}  // namespace tavricat
