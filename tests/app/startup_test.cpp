// Start-up: the required-files check, defaults on a fresh folder, the library fallbacks and
// what happens to files that would otherwise be lost.

#include "app/required_files.h"
#include "support/analysis_builder.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::WorkbenchFixture;

TEST_F(WorkbenchFixture, MissingRequiredFilesAreAllNamedAndNothingIsTouched) {
    std::remove(home.file("userdata/modesEC.m2").c_str());
    std::remove(home.file("art.01").c_str());
    auto bench = makeWorkbench();
    Status started = bench->start();
    ASSERT_FALSE(started.isOk());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "系统发现运行所必须的文件: " + home.file("art.01") + " " +
                                       home.file("userdata/modesEC.m2") +
                                       " 不存在。如果您有这些文件的被份，请先复制到正确的位置。也可以重新安装系统。现在系统将退出。");
    EXPECT_FALSE(home.exists("userdata/MyDictEC.01"));
    EXPECT_FALSE(config.exists("tavricat25cecmini.ini"));
    // Shutting down after a failed start writes nothing either.
    EXPECT_TRUE(bench->shutdown().isOk());
    EXPECT_FALSE(config.exists("tavricat25cecmini.ini"));
}

TEST_F(WorkbenchFixture, FirstStartCreatesTheDefaultLibrariesOfTheDirection) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    for (const char* name : {"MyDictEC.01", "MyDictEC.02", "MySentsEC.rf0", "MySentsEC.rf1", "MySentsEC.rf2"}) {
        EXPECT_TRUE(home.exists(std::string("userdata/") + name)) << name;
        EXPECT_EQ(home.read(std::string("userdata/") + name), "") << name;
    }
    EXPECT_EQ(home.read("userdata/MyDictEC.inf"), "我的英-汉词库\r\n我自己\r\nMyDictEC\r\n存放我翻译过的英译汉句子。\r\n");
    EXPECT_EQ(home.read("userdata/MySentsEC.irf"),
              "我的英-汉例句库\r\n我自己\r\nMySentsEC\r\n我自己翻译的英译汉句子。\r\n");
    EXPECT_EQ(bench->statusPanels[0], "英汉");
    EXPECT_EQ(bench->statusPanels[1], "用户库:我的英-汉词库");
    EXPECT_EQ(bench->statusPanels[2], "例句库:我的英-汉例句库");
    EXPECT_EQ(bench->settings.curZyname, "MyDictEC");
    EXPECT_EQ(bench->settings.matchrate, 65);
    EXPECT_EQ(bench->allDomains.size(), 24u);
    EXPECT_TRUE(bench->selectedDomainNames.empty());  // no domain is chosen before the wizard
    // The delivered program folder holds the system dictionary, so a first start says nothing.
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WorkbenchFixture, ChineseToEnglishStartUsesItsOwnDefaults) {
    auto bench = makeWorkbench(Direction::CE);
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->statusPanels[1], "用户库:我的汉-英词库");
    EXPECT_EQ(bench->statusPanels[2], "例句库:我的汉-英例句库");
    EXPECT_EQ(home.read("userdata/MySentsCE.irf"),
              "我的汉-英例句库\r\n我自己\r\nMySentsCE\r\n我自己翻译的汉译英句子。\r\n");
    // The direction was for this run only.
    ASSERT_TRUE(bench->shutdown().isOk());
    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->direction(), Direction::EC);
    EXPECT_EQ(next->settings.curLiJuKuname, "MySentsEC");
    ASSERT_TRUE(next->shutdown().isOk());
    // With the English defaults stored, a Chinese run still takes the Chinese defaults, and
    // leaves the stored names as they were.
    auto chinese = makeWorkbench(Direction::CE);
    ASSERT_TRUE(chinese->start().isOk());
    EXPECT_EQ(chinese->sentenceLibrary.name, "MySentsCE");
    EXPECT_EQ(chinese->engine.termBase.name, "MyDictCE");
    ASSERT_TRUE(chinese->shutdown().isOk());
    EXPECT_NE(config.read("tavricat25cecmini.ini").find("curLiJuKuname=MySentsEC"), std::string::npos);
}

TEST_F(WorkbenchFixture, StoredNamesWithoutTheirKeyFileFallBackToTheDefaults) {
    config.write("tavricat25cecmini.ini", "[inisetup]\r\ncurZyname=Gone\r\ncurLiJuKuname=AlsoGone\r\n");
    home.write("userdata/Gone.02", "kept\r\n");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->settings.curZyname, "MyDictEC");
    EXPECT_EQ(bench->settings.curLiJuKuname, "MySentsEC");
    EXPECT_EQ(home.read("userdata/Gone.02"), "kept\r\n");  // another library's file stays alone
    // Neither library changes without a word.
    bool toldTerms = false, toldSentences = false;
    for (const auto& m : dialogs.messages) {
        if (m.find("Gone") != std::string::npos && m.find("MyDictEC") != std::string::npos) toldTerms = true;
        if (m.find("AlsoGone") != std::string::npos && m.find("MySentsEC") != std::string::npos) toldSentences = true;
    }
    EXPECT_TRUE(toldTerms);
    EXPECT_TRUE(toldSentences);
}

TEST_F(WorkbenchFixture, ADamagedSystemDictionaryIsNamedAndNotUsed) {
    const std::string dat = home.read("ecdict.DAT");
    home.write("ecdict.DAT", dat.substr(0, dat.size() - 5000));
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_FALSE(bench->engine.systemDictionary.isOpen());
    bool named = false;
    for (const auto& m : dialogs.messages)
        if (m.find("ecdict.DAT") != std::string::npos) named = true;
    EXPECT_TRUE(named);
}

TEST_F(WorkbenchFixture, ALibraryLeftAsItsBakSetByAFailedCopyOpensAgainWithItsExamples) {
    config.write("tavricat25cecmini.ini", "[inisetup]\r\ncurLiJuKuname=DemoEC\r\n");
    for (const char* ext : {".rf0", ".rf1", ".rf2"}) home.write(std::string("userdata/DemoEC") + ext, "");
    home.write("userdata/DemoEC.irf", "Demo\r\nme\r\nDemoEC\r\n\r\n");
    {
        auto bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        ASSERT_EQ(bench->settings.curLiJuKuname, "DemoEC");
        ASSERT_TRUE(bench->sentenceLibrary.addAnalysed(testing::analysisOf({"green", "apple"}), "青苹果").isOk());
        // .rf0 cannot be written: the save ends with the bak set as the only copy.
        testing::FaultyFileSystem locked;
        locked.failOn(testing::FsOp::Copy, "DemoEC.rf0");
        EXPECT_FALSE(bench->sentenceLibrary.saveFiles(locked, dialogs, home.file("userdata")).isOk());
    }
    ASSERT_FALSE(home.exists("userdata/DemoEC.rf1"));
    ASSERT_TRUE(home.exists("userdata/DemoEC.rf0bak"));

    {
        // Still not writable: the start stops and says so rather than open another library.
        testing::FaultyFileSystem locked;
        locked.failOn(testing::FsOp::Copy, "DemoEC.rf0");
        WorkbenchOptions options;
        options.settingsPath = config.file("tavricat25cecmini.ini");
        options.stamp = [] { return std::string("20260101-000000"); };
        testing::ScriptedDialogs lockedDialogs;
        Workbench bench(locked, Workspace(locked, home.path()), lockedDialogs, progress, options);
        EXPECT_FALSE(bench.start().isOk());
        ASSERT_FALSE(lockedDialogs.messages.empty());
        EXPECT_NE(lockedDialogs.messages.back().find("DemoEC"), std::string::npos);
        for (const char* ext : {".rf0bak", ".rf1bak", ".rf2bak", ".irfbak"})
            EXPECT_TRUE(home.exists(std::string("userdata/DemoEC") + ext)) << ext;
    }

    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->settings.curLiJuKuname, "DemoEC");
    ASSERT_EQ(bench->sentenceLibrary.exampleCount(), 1u);
    EXPECT_NE(bench->sentenceLibrary.libSentences[0].find("青苹果"), std::string::npos);
    EXPECT_EQ(bench->sentenceLibraryInfo.title, "Demo");
    for (const char* ext : {".rf0bak", ".rf1bak", ".rf2bak", ".irfbak"})
        EXPECT_FALSE(home.exists(std::string("userdata/DemoEC") + ext)) << ext;
}

TEST_F(WorkbenchFixture, InformationFileOfANamedLibraryNamesThatLibrary) {
    config.write("tavricat25cecmini.ini", "[inisetup]\r\ncurZyname=Legal\r\n");
    home.write("userdata/Legal.01", "");
    home.write("userdata/Legal.02", "");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(home.read("userdata/Legal.inf"), "我的英-汉词库\r\n我自己\r\nLegal\r\n存放我翻译过的英译汉句子。\r\n");
    home.write("userdata/Legal.inf", "\r\nme\r\nLegal\r\n");
    auto again = makeWorkbench();
    ASSERT_TRUE(again->start().isOk());
    EXPECT_EQ(again->statusPanels[1], "用户库:Legal");  // an empty title shows the name
}

TEST_F(WorkbenchFixture, SurvivingFilesOfAnIncompleteLibraryAreMovedAsideNotLost) {
    home.write("userdata/MySentsEC.rf0", "sentences\r\n");
    home.write("userdata/MySentsEC.rf1", "words\r\n");  // .rf2 is missing
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0.orphan-20260101-000000"), "sentences\r\n");
    EXPECT_EQ(home.read("userdata/MySentsEC.rf1.orphan-20260101-000000"), "words\r\n");
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), "");
    EXPECT_EQ(home.read("userdata/MySentsEC.rf2"), "");
    ASSERT_GE(dialogs.messages.size(), 1u);
    bool told = false;
    for (const auto& m : dialogs.messages)
        if (m.find("MySentsEC.rf1.orphan-20260101-000000") != std::string::npos) told = true;
    EXPECT_TRUE(told);
}

TEST_F(WorkbenchFixture, AWholeBakSetIsRestoredAndAPartialOneKeptAside) {
    // What a failed copy during a term-base save leaves behind: the bak set only.
    home.write("userdata/MyDictEC.01bak", "pear\r\n");
    home.write("userdata/MyDictEC.02bak", "梨\r\n");
    home.write("userdata/MyDictEC.infbak", "Fruit\r\nme\r\nMyDictEC\r\n");
    std::remove(home.file("userdata/MyDictEC.01").c_str());
    std::remove(home.file("userdata/MyDictEC.02").c_str());
    std::remove(home.file("userdata/MyDictEC.inf").c_str());
    // A sentence-library save stopped while writing its bak files: the real set is whole.
    home.write("userdata/MySentsEC.rf2bak", "00000\r\n");
    {
        auto bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        EXPECT_EQ(bench->engine.termBase.lookupKey("pear"), "梨");
        EXPECT_EQ(bench->termBaseInfo.title, "Fruit");
    }
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), "pear\r\n");
    EXPECT_FALSE(home.exists("userdata/MyDictEC.01bak"));
    EXPECT_FALSE(home.exists("userdata/MyDictEC.infbak"));
    EXPECT_EQ(home.read("userdata/MySentsEC.rf2bak.orphan-20260101-000000"), "00000\r\n");
    EXPECT_FALSE(home.exists("userdata/MySentsEC.rf2bak"));
}

TEST_F(WorkbenchFixture, RecoveryJournalIsReplayedOnceAndLoggedAtACleanShutdown) {
    // The term base alone: entries of the delivered dictionary would join the replayed ones.
    std::remove(home.file("ecdict.IDX").c_str());
    home.write("userdata/MyDictEC.01", "pear\r\n");
    home.write("userdata/MyDictEC.02", "梨\r\n");
    home.write("temlibw.saw", "Apple^苹 果\r\ndddit pear\r\n");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("apple"), "苹果");
    EXPECT_EQ(bench->engine.termBase.lookupKey("pear"), "");
    EXPECT_FALSE(home.exists("temlibw.saw"));
    EXPECT_EQ(dialogs.messages.back(),
              "由于您的系统上次运行时非正常退出,未保存的自定义词汇现在已经自动恢复.最好先退出TavriCAT再启动!");
    ASSERT_TRUE(bench->shutdown().isOk());
    EXPECT_FALSE(home.exists("temlibw.saw"));
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), "apple\r\n");
    EXPECT_EQ(home.read("userdata/MyDictEC.02"), "苹果\r\n");
    EXPECT_EQ(home.read("userdata/userlibw.saw"), "Apple^苹 果\r\ndddit pear\r\n");

    // The next start finds nothing to recover.
    dialogs.messages.clear();
    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    for (const auto& m : dialogs.messages) EXPECT_EQ(m.find("自动恢复"), std::string::npos);
}

TEST_F(WorkbenchFixture, UnreadableListStopsStartUpInsteadOfBeingErased) {
    fs.failOn(testing::FsOp::Read, "DeletedWords.ini");
    auto bench = makeWorkbench();
    EXPECT_FALSE(bench->start().isOk());
    EXPECT_TRUE(bench->shutdown().isOk());  // nothing to write after a failed start
}

TEST_F(WorkbenchFixture, ListsAreFoundInAnySpelling) {
    std::rename(home.file("userdata/userSelZy.ini").c_str(), home.file("userdata/USERSELZY.INI").c_str());
    home.write("userdata/USERSELZY.INI", "法律[法律]\r\n");
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->selectedDomainText, "法律");
    bench->selectedDomains.push_back("医学[医学]");
    ASSERT_TRUE(bench->shutdown().isOk());
    // Written back to the same file, not to a second one in another spelling.
    EXPECT_EQ(home.read("userdata/USERSELZY.INI"), "法律[法律]\r\n医学[医学]\r\n");
    EXPECT_FALSE(home.exists("userdata/userSelZy.ini"));
}

}  // namespace
}  // namespace tavricat

namespace tavricat {
namespace {

using testing::WorkbenchFixture;

TEST_F(WorkbenchFixture, TermEditsOfAKilledRunAreReplayedOnceAtTheNextStart) {
    std::remove(home.file("ecdict.IDX").c_str());
    {
        auto killed = makeWorkbench();
        ASSERT_TRUE(killed->start().isOk());
        killed->newUserWords = {"orange^橙子", "dddit nothing"};
        ASSERT_TRUE(killed->saveUserTem().isOk());
        // No shutdown: the process ends here.
    }
    EXPECT_TRUE(home.exists("temlibw.saw"));
    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->engine.termBase.lookupKey("orange"), "橙子");
    EXPECT_NE(dialogs.messages.back().find("自动恢复"), std::string::npos);
    ASSERT_TRUE(next->shutdown().isOk());
    EXPECT_FALSE(home.exists("temlibw.saw"));
    EXPECT_EQ(home.read("userdata/userlibw.saw"), "orange^橙子\r\ndddit nothing\r\n");
    auto third = makeWorkbench();
    dialogs.messages.clear();
    ASSERT_TRUE(third->start().isOk());
    EXPECT_EQ(third->engine.termBase.lookupKey("orange"), "橙子");
    for (const auto& m : dialogs.messages) EXPECT_EQ(m.find("自动恢复"), std::string::npos);
}

}  // namespace
}  // namespace tavricat
