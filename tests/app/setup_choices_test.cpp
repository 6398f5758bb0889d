// The setup wizard's OK and its library lists.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/setup_choices.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::FsOp;

class SetupChoicesTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        home.write("userdata/Law.01", "contract\r\n");
        home.write("userdata/Law.02", "合同\r\n");
        // The file-name line as typed, with blanks and an extension.
        home.write("userdata/Law.inf", "法律\r\nme\r\n  Law.txt \r\n合同用语\r\n第二行\r\n");
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        bench->engine.termBase.insertAt(0, "aaa", "啊");
    }

    SetupChoices current() const {
        SetupChoices c;
        c.direction = bench->direction();
        c.selectedDomains = bench->selectedDomains;
        c.useSysLib = bench->settings.useSysLib;
        c.useUserLib = bench->settings.useUserLib;
        c.termBaseName = bench->settings.curZyname;
        c.sentenceLibraryName = bench->settings.curLiJuKuname;
        c.popwizard = bench->settings.popwizard;
        return c;
    }
    std::unique_ptr<Workbench> bench;
};

TEST_F(SetupChoicesTest, RowsNameTheFilesOfEachLibrary) {
    std::vector<LibraryRow> rows = listLibraries(fs, home.file("userdata"), LibraryKind::TermBase);
    ASSERT_EQ(rows.size(), 2u);  // MyDictEC (made at start) and Law
    const int law = findLibraryRow(rows, "Law");
    ASSERT_GE(law, 0);
    EXPECT_EQ(rows[law].info.title, "法律");
    EXPECT_EQ(rows[law].info.fileName, "  Law.txt ");
    EXPECT_EQ(rows[law].info.description, (LineList{"合同用语", "第二行"}));
    EXPECT_GE(findLibraryRow(rows, "MyDictEC"), 0);
    EXPECT_EQ(findLibraryRow(rows, "Missing"), -1);

    std::vector<LibraryRow> sentences = listLibraries(fs, home.file("userdata"), LibraryKind::SentenceLibrary);
    std::vector<std::string> names;
    for (const LibraryRow& row : sentences) names.push_back(row.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"DemoCE", "DemoEC", "MySentsEC"}));
}

TEST_F(SetupChoicesTest, OkAppliesEveryAnswer) {
    SetupChoices c = current();
    c.direction = Direction::CE;
    c.selectedDomains = {"计算机[JSJ]", "无简称"};
    c.useSysLib = false;
    c.useUserLib = false;
    c.termBaseName = "Law";
    c.termBaseTitle = "法律";
    c.sentenceLibraryName = "DemoCE";
    c.popwizard = false;
    ASSERT_TRUE(applySetupChoices(*bench, c).isOk());

    EXPECT_TRUE(bench->settings.ctoe);
    EXPECT_EQ(bench->statusPanels[0], "汉英");
    EXPECT_EQ(bench->selectedDomainText, "JSJ");
    EXPECT_FALSE(bench->settings.useSysLib);
    EXPECT_FALSE(bench->settings.useUserLib);
    EXPECT_FALSE(bench->settings.popwizard);
    EXPECT_EQ(bench->settings.curZyname, "Law");
    EXPECT_EQ(bench->engine.termBase.lookupKey("contract"), "合同");
    EXPECT_EQ(bench->termBaseInfo.title, "法律");
    EXPECT_EQ(bench->statusPanels[1], "用户库: 法律");
    EXPECT_EQ(bench->settings.curLiJuKuname, "DemoCE");
    // The term base that ended was saved with its new term.
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), "aaa\r\n");
}

TEST_F(SetupChoicesTest, TheCurrentLibrariesAreNeitherSavedNorReloaded) {
    ASSERT_TRUE(applySetupChoices(*bench, current()).isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("aaa"), "啊");
    EXPECT_EQ(home.read("userdata/MyDictEC.01"), "");
}

TEST_F(SetupChoicesTest, AMissingTermBaseFileIsToldAndTheRestStillApplies) {
    std::remove(home.file("userdata/Law.02").c_str());
    SetupChoices c = current();
    c.termBaseName = "Law";
    c.termBaseTitle = "法律";
    c.sentenceLibraryName = "DemoEC";
    c.popwizard = false;
    EXPECT_FALSE(applySetupChoices(*bench, c).isOk());
    EXPECT_EQ(dialogs.messages.back(), "选用法律用户词库失败！请检查文件是否齐全");
    EXPECT_EQ(bench->settings.curZyname, "MyDictEC");
    EXPECT_EQ(bench->engine.termBase.lookupKey("aaa"), "啊");
    EXPECT_EQ(bench->settings.curLiJuKuname, "DemoEC");
    EXPECT_FALSE(bench->settings.popwizard);
}

TEST_F(SetupChoicesTest, AFailedSaveKeepsTheCurrentTermBase) {
    fs.failOn(FsOp::Write, "MyDictEC.01bak");
    fs.failOn(FsOp::Write, "MyDictEC.01bak.tmp-save");
    EXPECT_FALSE(chooseTermBase(*bench, "Law", "法律").isOk());
    EXPECT_EQ(bench->settings.curZyname, "MyDictEC");
    EXPECT_EQ(bench->engine.termBase.lookupKey("aaa"), "啊");
}

}  // namespace
}  // namespace tavricat
