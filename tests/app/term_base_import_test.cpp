// "更新词库" over a started workbench: every file in order, one that cannot be read told and
// skipped, the closing message, one notification, and the term base saved.

#include "app/term_base_import.h"
#include "app/term_base_revision.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::WorkbenchFixture;

class Listener : public WorkbenchObserver {
public:
    int termBaseChanges = 0;
    void termBaseChanged() override { ++termBaseChanges; }
};

class TermBaseImportTest : public WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        home.write("userdata/MyDictEC.01", "pear\r\nplum\r\n");
        home.write("userdata/MyDictEC.02", "b|c^^n^\r\n李子^^n^\r\n");
    }
};

TEST_F(TermBaseImportTest, FilesAreMergedToldAndSaved) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    Listener listener;
    bench->addObserver(listener);
    std::string list;
    for (int i = 0; i < 120; ++i) list += "word" + std::to_string(1000 + i) + "\t词" + std::to_string(i) + "\r\n";
    home.write("list.txt", list);
    home.write("log.saw", "pear^a|b^^n^\r\ndddit plum\r\n");
    dialogs.messages.clear();

    const TermImportTotals totals = importTermFiles(
        *bench, {home.file("list.txt"), home.file("missing.saw"), home.file("log.saw")}, false, progress);
    bench->removeObserver(listener);

    EXPECT_TRUE(totals.saved.isOk());
    EXPECT_EQ(totals.failedFiles, (std::vector<std::string>{home.file("missing.saw")}));
    EXPECT_EQ(totals.processed, 122u);
    EXPECT_EQ(totals.added, 120u);
    EXPECT_EQ(totals.termBaseSize, 121u);
    EXPECT_EQ(listener.termBaseChanges, 1);
    EXPECT_EQ(bench->engine.termBase.lookupKey("pear"), "a|b|c^^n^");
    ASSERT_EQ(dialogs.messages.size(), 2u);  // the missing file, then the closing message
    EXPECT_EQ(dialogs.messages[1], termImportMessage(121, 122, 120));
    EXPECT_EQ(dialogs.messages[1], "导入完成！\r\n当前词库共有词条: 121\r\n其中本次共处理词条: 122\r\n其中新词条: 120");
    // The caption names each file; the bar moves every 50 lines and at the file's end.
    auto has = [&](const std::string& event) {
        return std::find(progress.events.begin(), progress.events.end(), event) != progress.events.end();
    };
    EXPECT_TRUE(has("caption:正在导入文件list.txt..."));
    EXPECT_TRUE(has("pos:50") && has("pos:100") && has("pos:120"));
    EXPECT_EQ(progress.events.back(), "hide");
    EXPECT_TRUE(has(std::string("caption:") + kTermImportCaption));
    const std::string saved = home.read("userdata/MyDictEC.01");
    EXPECT_EQ(saved.substr(0, 24), "pear\r\nword1000\r\nword1001");
    EXPECT_EQ(saved.find("plum"), std::string::npos);
}

TEST_F(TermBaseImportTest, RevisedFileIsSavedWhereItWasLoadedAndAskedAbout) {
    home.write("my.terms.01", "b\r\na\r\n");
    home.write("my.terms.02", "乙^^^\r\n甲^^^\r\nkept aside\r\n");
    Result<TermBaseFile> file = loadTermBaseForRevision(fs, dialogs, home.file("my.terms.01"));
    ASSERT_TRUE(file.isOk());
    EXPECT_EQ(file->keys, (LineList{"a", "b"}));  // sorted with their values
    EXPECT_EQ(file->values, (LineList{"甲^^^", "乙^^^"}));
    EXPECT_TRUE(dialogs.questions.empty());

    dialogs.answers = {false};
    EXPECT_FALSE(*saveRevisedTermBase(fs, dialogs, *file, {"a"}, {"甲^^^"}));
    EXPECT_EQ(home.read("my.terms.01"), "b\r\na\r\n");  // not saved
    dialogs.answers = {true, true};
    Result<bool> importIt = saveRevisedTermBase(fs, dialogs, *file, {"a"}, {"甲^^^"});
    ASSERT_TRUE(importIt.isOk());
    EXPECT_TRUE(*importIt);
    EXPECT_EQ(dialogs.questions.back(), "要用校订后的结果（文件：my.terms.01）更新当前词库吗?");
    EXPECT_EQ(home.read("my.terms.01"), "a\r\n");
    EXPECT_EQ(home.read("my.terms.02"), "甲^^^\r\nkept aside\r\n");
}

TEST_F(TermBaseImportTest, ALargeFileIsOpenedOnlyWhenThePersonAgrees) {
    std::string keys;
    for (std::size_t i = 0; i <= kRevisionSizeWarning; ++i) keys += "k" + std::to_string(100000 + i) + "\r\n";
    home.write("big.01", keys);
    home.write("big.02", "");
    Result<TermBaseFile> refused = loadTermBaseForRevision(fs, dialogs, home.file("big.01"));
    EXPECT_EQ(refused.status().kind(), ErrorKind::Refused);
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_NE(dialogs.questions[0].find("共有词条25001个"), std::string::npos);
    dialogs.answers = {true};
    Result<TermBaseFile> taken = loadTermBaseForRevision(fs, dialogs, home.file("big.01"));
    ASSERT_TRUE(taken.isOk());
    EXPECT_EQ(taken->values.size(), kRevisionSizeWarning + 1);
}

}  // namespace
}  // namespace tavricat
