// Two workbenches (two program folders) sharing one team library file: what one member
// stores reaches the other with its next synchronisation, marks never skip a record, the
// traffic follows shareMode, and a failure keeps the queue.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_folder_setup.h"
#include "app/team_library.h"
#include "app/workbench.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::TempFolder;

// One member's workbench: its own program folder, settings and ports.
struct Member {
    TempFolder home;
    TempFolder config;
    testing::FaultyFileSystem fs;
    testing::ScriptedDialogs dialogs;
    testing::RecordingProgress progress;
    std::unique_ptr<Workbench> bench;

    void start() {
        ASSERT_TRUE(completeProgramFolder(fs, TAVRICAT_DELIVERED_DIR, home.path()).isOk());
        restart();
    }
    void restart() {
        WorkbenchOptions options;
        options.settingsPath = config.file("tavricat25cecmini.ini");
        options.direction = Direction::EC;
        bench = std::make_unique<Workbench>(fs, Workspace(fs, home.path()), dialogs, progress, options);
        ASSERT_TRUE(bench->start().isOk());
    }
    Status login(const std::string& library, const std::string& name, const std::string& password, bool send = true,
                 bool receive = true) {
        return connectTeamLibrary(*bench, {library, name, password, send, receive});
    }
    std::size_t store(const std::string& pair) {
        Result<std::size_t> added = bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), pair);
        EXPECT_TRUE(added.isOk()) << pair;
        queueForTeam(*bench, "C^" + bench->sentenceLibrary.libSentences[*added]);
        return *added;
    }
    bool knows(const std::string& source) {
        return std::any_of(bench->sentenceLibrary.libSentences.begin(), bench->sentenceLibrary.libSentences.end(),
                           [&](const std::string& line) { return line.find(source) != std::string::npos; });
    }
};

class TeamLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(team::createSharedLibrary(library, "boss", "boss-pw").isOk());
        auto admin = team::openSharedLibrary(library, "boss", "boss-pw");
        ASSERT_TRUE((*admin)->setMember("ann", "ann-pw", team::Right::ReadWrite).isOk());
        ASSERT_TRUE((*admin)->setMember("bob", "bob-pw", team::Right::ReadWrite).isOk());
        ASSERT_TRUE((*admin)->setMember("viewer", "v-pw", team::Right::ReadOnly).isOk());
        ann.start();
        bob.start();
    }
    // Records appended by a member of its own, outside both workbenches.
    void appendAs(const std::string& name, const std::string& password, int count, const std::string& prefix) {
        auto store = team::openSharedLibrary(library, name, password);
        ASSERT_TRUE(store.isOk());
        std::vector<team::OutgoingRecord> records;
        for (int i = 0; i < count; ++i) records.push_back({'A', prefix + std::to_string(i) + "^词" + std::to_string(i)});
        ASSERT_TRUE((*store)->append(records).isOk());
    }

    TempFolder shared;
    std::string library = shared.file("team.db");
    Member ann;
    Member bob;
};

TEST_F(TeamLibraryTest, APairStoredByOneMemberReachesTheOtherWithItsNextSynchronisation) {
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    ASSERT_TRUE(bob.login(library, "bob", "bob-pw").isOk());
    ann.store("The pump must be checked every week.^水泵必须每周检查。");
    EXPECT_TRUE(ann.bench->toBeSent.empty()) << "a stored pair is sent at once";
    EXPECT_FALSE(bob.knows("pump"));
    Result<TeamSyncCounts> synced = synchroniseTeamLibrary(*bob.bench);
    ASSERT_TRUE(synced.isOk());
    EXPECT_EQ(synced->sentences, 1u);
    EXPECT_TRUE(bob.knows("pump"));
    EXPECT_EQ(bob.bench->statusPanels[3], "共享库: team");
    EXPECT_EQ(bob.bench->statusPanels[4], "读写");
}

TEST_F(TeamLibraryTest, ReadMarksNeverSkipARecordNorTakeOneTwice) {
    appendAs("boss", "boss-pw", 10, "zzmark");
    // No mark yet: record 1 is taken like the others.
    ASSERT_TRUE(bob.login(library, "bob", "bob-pw").isOk());
    EXPECT_EQ(bob.bench->team.mark, 10);
    EXPECT_TRUE(bob.bench->engine.termBase.find("zzmark0").found);
    // Mark 10 of 10: nothing; the 11th is taken once.
    Result<TeamSyncCounts> none = synchroniseTeamLibrary(*bob.bench);
    ASSERT_TRUE(none.isOk());
    EXPECT_EQ(none->received, 0u);
    appendAs("ann", "ann-pw", 1, "zzeleven");
    EXPECT_EQ(synchroniseTeamLibrary(*bob.bench)->received, 1u);
    EXPECT_EQ(bob.bench->team.mark, 11);
    EXPECT_EQ(synchroniseTeamLibrary(*bob.bench)->received, 0u);
    // The mark outlives the run: the next login goes on after record 11.
    ASSERT_TRUE(bob.bench->shutdown().isOk());
    bob.restart();
    ASSERT_TRUE(bob.login(library, "bob", "bob-pw").isOk());
    EXPECT_EQ(bob.bench->team.mark, 11);
    EXPECT_EQ(storedReadMark(*bob.bench, library), 11);
}

TEST_F(TeamLibraryTest, OwnRecordsAreSkippedBySynchronisingAndTakenByTakeAll) {
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    appendAs("ann", "ann-pw", 2, "zzown");
    ann.bench->engine.termBase = TermBase{};  // as if this workbench had lost them
    EXPECT_EQ(synchroniseTeamLibrary(*ann.bench)->received, 0u);
    EXPECT_FALSE(ann.bench->engine.termBase.find("zzown0").found);
    Result<TeamSyncCounts> all = takeTeamLibrary(*ann.bench, false);
    ASSERT_TRUE(all.isOk());
    EXPECT_EQ(all->received, 2u);
    EXPECT_TRUE(ann.bench->engine.termBase.find("zzown1").found);
    // None is approved: taking the approved records takes nothing.
    EXPECT_EQ(takeTeamLibrary(*ann.bench, true)->received, 0u);
}

TEST_F(TeamLibraryTest, ShareModeDecidesWhatTravels) {
    // Receive only (2): the queue is never sent and is emptied at shutdown.
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw", false, true).isOk());
    EXPECT_EQ(ann.bench->settings.shareMode, 2);
    ann.bench->toBeSent.push_back("A^zzqueued^词");
    ASSERT_TRUE(synchroniseTeamLibrary(*ann.bench).isOk());
    EXPECT_EQ(*ann.bench->team.store->lastNumber(), 0);
    ASSERT_TRUE(ann.bench->shutdown().isOk());
    EXPECT_EQ(ann.home.read("tobesend.sav"), "");

    // Send only (3): nothing comes in.
    appendAs("boss", "boss-pw", 1, "zzincoming");
    ASSERT_TRUE(bob.login(library, "bob", "bob-pw", true, false).isOk());
    EXPECT_EQ(bob.bench->settings.shareMode, 3);
    EXPECT_FALSE(bob.bench->engine.termBase.find("zzincoming0").found);

    // A read-only member who ticks both boxes gets no traffic, and is told why.
    Member viewer;
    viewer.start();
    ASSERT_TRUE(viewer.login(library, "viewer", "v-pw").isOk());
    EXPECT_EQ(viewer.bench->settings.shareMode, 4);
    EXPECT_EQ(viewer.dialogs.messages.front(), kReadOnlyMember);
    EXPECT_EQ(viewer.bench->statusPanels[4], "只读");
}

TEST_F(TeamLibraryTest, AFailedSynchronisationKeepsTheQueueAndSaysSoOnce) {
    ASSERT_TRUE(ann.login(library, "viewer", "v-pw", false, true).isOk());
    // A settings file edited by hand to send: the library refuses the records.
    ann.bench->settings.shareMode = 1;
    ann.bench->toBeSent = {"A^zzkept^词"};
    const std::size_t told = ann.dialogs.messages.size();
    EXPECT_FALSE(synchroniseTeamLibrary(*ann.bench).isOk());
    EXPECT_EQ(ann.bench->toBeSent, LineList{"A^zzkept^词"});
    ASSERT_EQ(ann.dialogs.messages.size(), told + 1);
    EXPECT_EQ(ann.dialogs.messages.back().rfind(kTeamOperationFailed, 0), 0u);
}

TEST_F(TeamLibraryTest, WhatARunCouldNotSendGoesOutWithTheNextRun) {
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    disconnectTeamLibrary(*ann.bench);
    // Not connected, a library chosen: the pair waits in the queue, across the restart.
    ann.store("Keep the filter dry at all times.^过滤器要一直保持干燥。");
    ASSERT_EQ(ann.bench->toBeSent.size(), 1u);
    ASSERT_TRUE(ann.bench->shutdown().isOk());
    ann.restart();
    EXPECT_EQ(ann.bench->toBeSent.size(), 1u);
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    EXPECT_TRUE(ann.bench->toBeSent.empty());
    ASSERT_TRUE(bob.login(library, "bob", "bob-pw").isOk());
    EXPECT_TRUE(bob.knows("filter dry"));
}

TEST_F(TeamLibraryTest, AWrongPasswordChangesNothingAndUserLogKeepsEachNameOnce) {
    EXPECT_FALSE(ann.login(library, "ann", "wrong").isOk());
    EXPECT_EQ(ann.dialogs.messages.back(), team::kWrongUserOrPassword);
    EXPECT_FALSE(ann.bench->team.connected());
    EXPECT_FALSE(ann.login(library, "  ", "x").isOk());
    EXPECT_EQ(ann.dialogs.messages.back(), kNameRequired);
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    ASSERT_TRUE(ann.login(library, "bob", "bob-pw").isOk());
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    EXPECT_EQ(ann.home.read("user.log"), "ann\r\nbob\r\n");
    EXPECT_EQ(lastLoginName(*ann.bench), "ann");
}

TEST_F(TeamLibraryTest, MemberManagementEndsAfterThreeWrongPasswords) {
    ASSERT_TRUE(ann.login(library, "ann", "ann-pw").isOk());
    int asked = 0;
    auto denied = openMemberManagement(*ann.bench, library, [&]() -> std::optional<std::string> {
        ++asked;
        return std::string("nope");
    });
    EXPECT_FALSE(denied.isOk());
    EXPECT_EQ(asked, 3);
    const auto& told = ann.dialogs.messages;
    ASSERT_GE(told.size(), 3u);
    EXPECT_EQ(told[told.size() - 3], kWrongPasswordTryAgain);
    EXPECT_EQ(told[told.size() - 2], kWrongPasswordTryAgain);
    EXPECT_EQ(told.back(), kWrongPasswordGiveUp);
    auto admitted = openMemberManagement(*ann.bench, library, [] { return std::optional<std::string>("boss-pw"); });
    ASSERT_TRUE(admitted.isOk());
    EXPECT_EQ((*admitted)->members()->size(), 3u);
}

}  // namespace
}  // namespace tavricat
