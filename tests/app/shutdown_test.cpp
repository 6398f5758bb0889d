// Shutdown: what is written, in which order, and the failure path.

#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::FaultyFileSystem;
using testing::FsOp;
using testing::RecordingProgress;
using testing::ScriptedDialogs;
using testing::TempFolder;
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

// One step of the shutdown fails; the report names its file and every other step still did
// its work. The tests above cover the lists, the sentence library, the grammar and the word log.
TEST(ShutdownSteps, EachFailingSaveStepIsNamedAndTheOtherStepsStillRun) {
    enum Step { kTermBase, kSettings, kGrammarLog, kTermJournal, kSentenceJournal, kStepCount };
    struct Case {
        Step step;
        FsOp op;
        const char* suffix;
        const char* named;  // in the report
    };
    const Case cases[] = {
        {kTermBase, FsOp::Write, "MyDictEC.02bak.tmp-save", "MyDictEC.01/.02"},
        {kSettings, FsOp::Rename, "tavricat25cecmini.ini", "tavricat25cecmini.ini"},
        {kGrammarLog, FsOp::Rename, "userlibg.sag", "userlibg.sag"},
        {kTermJournal, FsOp::Remove, "temlibw.saw", "temlibw.saw"},
        {kSentenceJournal, FsOp::Remove, "temlibs.sas", "temlibs.sas"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.suffix);
        TempFolder caseHome, caseConfig;
        FaultyFileSystem caseFs;
        ScriptedDialogs caseDialogs;
        RecordingProgress caseProgress;
        ASSERT_TRUE(completeProgramFolder(caseFs, TAVRICAT_DELIVERED_DIR, caseHome.path()).isOk());
        WorkbenchOptions options;
        options.settingsPath = caseConfig.file("tavricat25cecmini.ini");
        options.stamp = [] { return std::string("20260101-000000"); };
        Workbench bench(caseFs, Workspace(caseFs, caseHome.path()), caseDialogs, caseProgress, options);
        ASSERT_TRUE(bench.start().isOk());

        // Every step has something to write or remove.
        bench.engine.deletedWords.push_back("obsolete");
        const SortedFind at = bench.engine.termBase.find("zzterm");
        ASSERT_TRUE(bench.engine.termBase.insertAt(at.index, "zzterm", "术语"));
        ASSERT_TRUE(bench.sentenceLibrary.addAsent(bench.engine, bench.analysisOptions(), "I have a book.^我有一本书。")
                        .isOk());
        bench.grammar.anchors = {"want"};
        bench.grammar.entries = {"~ * to^<~>想要"};
        bench.settings.matchrate = 80;
        bench.newUserWords = {"new^新"};
        bench.newGrammarEntries = {"aa~ * to^^想要~"};
        ASSERT_TRUE(bench.saveUserTem().isOk());
        caseHome.write("temlibs.sas", "x");
        caseFs.failOn(c.op, c.suffix);

        const Status result = bench.shutdown();
        ASSERT_FALSE(result.isOk());
        EXPECT_EQ(result.message().rfind("退出时出错!", 0), 0u);
        EXPECT_NE(result.message().find(c.named), std::string::npos) << result.message();
        ASSERT_FALSE(caseDialogs.messages.empty());
        EXPECT_EQ(caseDialogs.messages.back(), result.message());
        EXPECT_EQ(caseProgress.events.back(), "hide");

        EXPECT_EQ(caseHome.read("userdata/DeletedWords.ini"), "obsolete\r\n");
        EXPECT_NE(caseHome.read("userdata/MySentsEC.rf0").find("^我有一本书。\r\n"), std::string::npos);
        EXPECT_EQ(caseHome.read("userdata/modesEC.m1"), "want\r\n");
        EXPECT_EQ(caseHome.read("userdata/userlibw.saw"), "new^新\r\n");
        for (int other = 0; other < kStepCount; ++other) {
            if (other == c.step) continue;
            switch (static_cast<Step>(other)) {
            case kTermBase:
                EXPECT_NE(caseHome.read("userdata/MyDictEC.01").find("zzterm"), std::string::npos);
                break;
            case kSettings:
                EXPECT_NE(caseConfig.read("tavricat25cecmini.ini").find("80"), std::string::npos);
                break;
            case kGrammarLog:
                EXPECT_EQ(caseHome.read("userdata/userlibg.sag"), "aa~ * to^^想要~\r\n");
                break;
            case kTermJournal:
                EXPECT_FALSE(caseHome.exists("temlibw.saw"));
                break;
            case kSentenceJournal:
                EXPECT_FALSE(caseHome.exists("temlibs.sas"));
                break;
            case kStepCount:
                break;
            }
        }
    }
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
