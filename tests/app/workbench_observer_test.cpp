// The workbench tells its observers once per change, after the change, and only while they
// are registered.

#include <gtest/gtest.h>

#include <map>

#include "app/direction_switch.h"
#include "app/sentence_library_switch.h"
#include "app/setup_choices.h"
#include "app/term_journal.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

using testing::FsOp;

// Counts each callback; also records what the workbench showed when the callback came.
class CountingObserver : public WorkbenchObserver {
public:
    explicit CountingObserver(const Workbench& bench) : m_bench(bench) {}
    void directionChanged() override { hear("direction"); }
    void termBaseChanged() override { hear("termBase"); }
    void sentenceLibraryChanged() override { hear("sentenceLibrary"); }
    void settingsChanged() override { hear("settings"); }
    void domainsChanged() override { hear("domains"); }

    std::map<std::string, int> counts;
    std::vector<std::string> panelsSeen;

private:
    void hear(const std::string& what) {
        ++counts[what];
        panelsSeen.push_back(m_bench.statusPanels[0] + "|" + m_bench.statusPanels[2]);
    }
    const Workbench& m_bench;
};

using Counts = std::map<std::string, int>;

class WorkbenchObserverTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        observer = std::make_unique<CountingObserver>(*bench);
        bench->addObserver(*observer);
        bench->addObserver(*observer);  // a second registration is ignored
    }
    void TearDown() override { bench->removeObserver(*observer); }

    std::unique_ptr<Workbench> bench;
    std::unique_ptr<CountingObserver> observer;
};

TEST_F(WorkbenchObserverTest, DirectionOncePerSwitchAndNotForAFailedOrNeedlessOne) {
    ASSERT_TRUE(switchDirection(*bench, Direction::CE).isOk());
    EXPECT_EQ(observer->counts, (Counts{{"direction", 1}}));
    EXPECT_EQ(observer->panelsSeen.front().substr(0, 4), "汉英");  // told after the change

    ASSERT_TRUE(switchDirection(*bench, Direction::CE).isOk());
    fs.failOn(FsOp::Read, "modesEC.m2");
    EXPECT_FALSE(switchDirection(*bench, Direction::EC).isOk());
    EXPECT_EQ(observer->counts, (Counts{{"direction", 1}}));
}

TEST_F(WorkbenchObserverTest, LibrariesTermEditsAndSettings) {
    ASSERT_TRUE(useSentenceLibrary(*bench, "DemoEC").isOk());
    EXPECT_EQ(observer->counts, (Counts{{"sentenceLibrary", 1}}));
    EXPECT_NE(observer->panelsSeen.back().find("例句库: "), std::string::npos);
    EXPECT_EQ(bench->settings.curLiJuKuname, "DemoEC");

    ASSERT_TRUE(addTermEdit(*bench, "contract", "合同").isOk());
    ASSERT_TRUE(deleteTermEdit(*bench, "contract").isOk());
    EXPECT_EQ(observer->counts["termBase"], 2);

    clearLibs(*bench);
    EXPECT_EQ(observer->counts, (Counts{{"sentenceLibrary", 2}, {"termBase", 3}}));
    EXPECT_EQ(bench->engine.termBase.size(), 0u);
    ASSERT_TRUE(restoreLibs(*bench).isOk());
    EXPECT_EQ(observer->counts, (Counts{{"sentenceLibrary", 3}, {"termBase", 4}}));

    // Settings: only an edit that changes something is heard; the direction and the library
    // names cannot be changed this way.
    Settings edited = bench->settings;
    bench->changeSettings(edited);
    edited.matchrate = 90;
    edited.ctoe = true;
    edited.curLiJuKuname = "Elsewhere";
    bench->changeSettings(edited);
    EXPECT_EQ(observer->counts["settings"], 1);
    EXPECT_EQ(bench->settings.matchrate, 90);
    EXPECT_FALSE(bench->settings.ctoe);
    EXPECT_EQ(bench->settings.curLiJuKuname, "DemoEC");
}

TEST_F(WorkbenchObserverTest, TheSetupWizardsOkTellsEachPartThatChanged) {
    home.write("userdata/Law.01", "contract\r\n");
    home.write("userdata/Law.02", "合同\r\n");
    SetupChoices c;
    c.direction = Direction::EC;  // as it is
    c.allDomains = LineList{"计算机[JSJ]", "法律[FL]"};
    c.selectedDomains = {"法律[FL]"};
    c.useSysLib = bench->settings.useSysLib;
    c.useUserLib = !bench->settings.useUserLib;
    c.termBaseName = "Law";
    c.sentenceLibraryName = bench->settings.curLiJuKuname;  // as it is
    c.popwizard = bench->settings.popwizard;
    ASSERT_TRUE(applySetupChoices(*bench, c).isOk());
    EXPECT_EQ(observer->counts, (Counts{{"domains", 1}, {"settings", 1}, {"termBase", 1}}));
    EXPECT_EQ(bench->allDomains.size(), 2u);
    EXPECT_EQ(bench->selectedDomainText, "FL");
}

TEST_F(WorkbenchObserverTest, ARemovedObserverHearsNothing) {
    bench->removeObserver(*observer);
    ASSERT_TRUE(switchDirection(*bench, Direction::CE).isOk());
    bench->setSelectedDomains({});
    EXPECT_TRUE(observer->counts.empty());
}

}  // namespace
}  // namespace tavricat
