// Term edits of a run: what they do to the term base, what they journal, and that the
// journal of a run that never shut down gives the next start the same term base.

#include "app/term_journal.h"
#include "engine/term_import.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::WorkbenchFixture;

class TermJournalTest : public WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        // The term base alone decides the keys (the delivered dictionary is large).
        std::remove(home.file("ecdict.IDX").c_str());
        home.write("userdata/MyDictEC.01", "pear\r\nplum\r\n");
        home.write("userdata/MyDictEC.02", "梨^n\r\n李子^n\r\n");
    }
};

TEST_F(TermJournalTest, TermFilesInUtf8AreImportedAsGbk) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    home.write("terms.saw", "\xEF\xBB\xBF" + std::string(reinterpret_cast<const char*>(u8"Apple^苹 果^n\r\n")));
    home.write("more.saw", reinterpret_cast<const char*>(u8"pear^鸭梨^n\r\n"));
    for (const char* name : {"terms.saw", "more.saw"}) {
        Result<TermImportCounts> counts = impAtemfileWord(bench->engine, bench->analysisOptions(), fs, home.file(name));
        ASSERT_TRUE(counts.isOk()) << name;
        EXPECT_EQ(counts->processed, 1u) << name;
    }
    EXPECT_EQ(bench->engine.termBase.lookupKey("apple"), "苹果^n");
    EXPECT_EQ(bench->engine.termBase.lookupKey("pear"), "鸭梨|梨^n");
}

TEST_F(TermJournalTest, EditsChangeTheTermBaseAndAreJournalledAsTheyWereMade) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    ASSERT_TRUE(addTermEdit(*bench, "  Apple ", "苹 果^n").isOk());
    ASSERT_TRUE(addTermEdit(*bench, "pear", "鸭梨^n").isOk());
    ASSERT_TRUE(deleteTermEdit(*bench, "plum").isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("apple"), "苹果^n");
    EXPECT_EQ(bench->engine.termBase.lookupKey("pear"), "鸭梨|梨^n");
    EXPECT_EQ(bench->engine.termBase.lookupKey("plum"), "");
    EXPECT_EQ(bench->newUserWords, (LineList{"Apple^苹 果^n", "pear^鸭梨^n", "dddit plum"}));

    ASSERT_TRUE(bench->shutdown().isOk());
    EXPECT_EQ(home.read("userdata/userlibw.saw"), "Apple^苹 果^n\r\npear^鸭梨^n\r\ndddit plum\r\n");
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), "apple\r\npear\r\n");
}

TEST_F(TermJournalTest, RefusedEditsChangeAndJournalNothing) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(addTermEdit(*bench, "  ", "苹果").kind(), ErrorKind::BadInput);
    EXPECT_EQ(addTermEdit(*bench, "apple", " ").kind(), ErrorKind::BadInput);
    EXPECT_EQ(addTermEdit(*bench, "ap^ple", "苹果").kind(), ErrorKind::BadInput);
    EXPECT_EQ(addTermEdit(*bench, "apple", "苹果\r\ndddit pear").kind(), ErrorKind::BadInput);
    EXPECT_EQ(addTermEdit(*bench, "dddit pear", "梨").kind(), ErrorKind::BadInput);
    EXPECT_EQ(deleteTermEdit(*bench, "apple").kind(), ErrorKind::NotFound);
    EXPECT_TRUE(bench->newUserWords.empty());
    EXPECT_EQ(bench->engine.termBase.size(), 2u);
}

TEST_F(TermJournalTest, AnAbnormalEndIsReplayedIntoTheSameTermBase) {
    LineList keys, entries;
    {
        auto bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        ASSERT_TRUE(addTermEdit(*bench, "Apple", "苹 果^n").isOk());
        ASSERT_TRUE(addTermEdit(*bench, "pear", "鸭梨^n").isOk());
        ASSERT_TRUE(deleteTermEdit(*bench, "plum").isOk());
        ASSERT_TRUE(bench->saveUserTem().isOk());
        keys = bench->engine.termBase.termKeys;
        entries = bench->engine.termBase.termEntries;
        // No shutdown: the process ends here as if killed.
    }
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), "pear\r\nplum\r\n");  // never saved
    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->engine.termBase.termKeys, keys);
    EXPECT_EQ(next->engine.termBase.termEntries, entries);
    EXPECT_EQ(dialogs.messages.back(),
              "由于您的系统上次运行时非正常退出,未保存的自定义词汇现在已经自动恢复.最好先退出TavriCAT再启动!");
}

TEST_F(TermJournalTest, AReplacedEntryIsJournalledAndReplayedIntoTheSameTermBase) {
    LineList entries;
    {
        auto bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        ASSERT_TRUE(addTermEdit(*bench, "pear", "鸭梨|[n.]梨子^n^^专用").isOk());
        const std::string before = bench->engine.termBase.lookupKey("pear");
        ASSERT_TRUE(replaceTermEdit(*bench, "pear", "[n.]梨子|鸭梨|梨^n^^专用").isOk());
        EXPECT_EQ(bench->engine.termBase.lookupKey("pear"), "[n.]梨子|鸭梨|梨^n^^专用") << before;
        EXPECT_EQ(bench->newUserWords.back(), "pear^[n.]梨子|鸭梨|梨^n^^专用");
        EXPECT_EQ(replaceTermEdit(*bench, "apple", "苹果").kind(), ErrorKind::NotFound);
        EXPECT_EQ(replaceTermEdit(*bench, "pear", "梨\r\ndddit plum").kind(), ErrorKind::BadInput);
        EXPECT_EQ(bench->newUserWords.size(), 2u);
        ASSERT_TRUE(bench->saveUserTem().isOk());
        entries = bench->engine.termBase.termEntries;
    }
    auto next = makeWorkbench();
    ASSERT_TRUE(next->start().isOk());
    EXPECT_EQ(next->engine.termBase.termEntries, entries);
}

}  // namespace
}  // namespace tavricat
