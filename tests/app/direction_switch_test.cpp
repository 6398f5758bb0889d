// Switching between 英译汉 and 汉译英.

#include <gtest/gtest.h>

#include "app/direction_switch.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::FsOp;

class DirectionSwitchTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        ASSERT_EQ(bench->direction(), Direction::EC);
        bench->grammar.anchors.insert(bench->grammar.anchors.begin(), "aaa-new-anchor");
        bench->grammar.entries.insert(bench->grammar.entries.begin(), "aaa-new-entry");
    }
    std::unique_ptr<Workbench> bench;
};

TEST_F(DirectionSwitchTest, SwitchingSavesTheEndingGrammarAndLoadsTheOther) {
    ASSERT_TRUE(switchToCE(*bench).isOk());
    EXPECT_NE(home.read("userdata/modesEC.m1").find("aaa-new-anchor\r\n"), std::string::npos);
    EXPECT_TRUE(bench->settings.ctoe);
    EXPECT_EQ(bench->statusPanels[0], "汉英");
    EXPECT_EQ(directionCaption(bench->direction()), "TavriCAT 2.5[汉英]");
    Result<GrammarLibrary> ce = loadGrammarLibrary(fs, home.file("userdata/modesCE.m1"), home.file("userdata/modesCE.m2"));
    ASSERT_TRUE(ce.isOk());
    EXPECT_EQ(bench->grammar.anchors, ce->anchors);

    ASSERT_TRUE(switchToEC(*bench).isOk());
    EXPECT_FALSE(bench->settings.ctoe);
    EXPECT_EQ(bench->statusPanels[0], "英汉");
    EXPECT_EQ(directionCaption(bench->direction()), "TavriCAT 2.5[英汉]");
    EXPECT_EQ(bench->grammar.anchors.front(), "aaa-new-anchor");
}

TEST_F(DirectionSwitchTest, TheCurrentDirectionOnlySavesItsGrammar) {
    bench->statusPanels[0] = "marker";
    ASSERT_TRUE(switchToEC(*bench).isOk());
    EXPECT_NE(home.read("userdata/modesEC.m1").find("aaa-new-anchor\r\n"), std::string::npos);
    EXPECT_EQ(bench->statusPanels[0], "marker");  // nothing reloaded
    EXPECT_EQ(bench->grammar.anchors.front(), "aaa-new-anchor");
}

TEST_F(DirectionSwitchTest, AFailedGrammarSaveKeepsTheDirectionAndTheGrammar) {
    fs.failOn(FsOp::Write, "modesEC.m1bak");
    fs.failOn(FsOp::Write, "modesEC.m1bak.tmp-save");
    EXPECT_FALSE(switchToCE(*bench).isOk());
    EXPECT_FALSE(bench->settings.ctoe);
    EXPECT_EQ(bench->grammar.anchors.front(), "aaa-new-anchor");
    EXPECT_FALSE(dialogs.messages.empty());
}

TEST_F(DirectionSwitchTest, AnUnreadableGrammarOfTheNewDirectionRestoresTheOld) {
    fs.failOn(FsOp::Read, "modesCE.m2");
    EXPECT_FALSE(switchToCE(*bench).isOk());
    EXPECT_FALSE(bench->settings.ctoe);
    EXPECT_EQ(bench->statusPanels[0], "英汉");
    // The next save writes the EC grammar where it belongs.
    ASSERT_TRUE(bench->saveGrammar().isOk());
    EXPECT_NE(home.read("userdata/modesEC.m1").find("aaa-new-anchor\r\n"), std::string::npos);
    EXPECT_EQ(home.read("userdata/modesCE.m1").find("aaa-new-anchor"), std::string::npos);
}

}  // namespace
}  // namespace tavricat
