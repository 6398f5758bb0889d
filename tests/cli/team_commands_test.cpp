// The team library from the command line: a library created, a member added by the super
// user, two program folders logged in, a pair stored in one reaching the other through
// `team sync`, the status, and the password asked on the terminal without echo.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "base/encoding.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"
#include "team/team_stores.h"

namespace tavricat {
namespace {

using testing::CliRun;
using testing::runCli;

// One program folder with its settings.
struct Workstation {
    testing::TempFolder home;
    testing::TempFolder config;
    CliRun run(std::vector<std::string> arguments, const std::vector<std::string>& environment = {}) {
        arguments.insert(arguments.begin(), {"--home", home.path(), "--direction", "ec"});
        return runCli(arguments, config.path(), environment, 120);
    }
};

class TeamCommandsTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "postgres" && testing::testServer().empty())
            GTEST_SKIP() << "no PostgreSQL server (scripts/with_postgres.sh starts one; TAVRICAT_TEST_POSTGRES)";
        place = testing::newLibraryPlace(GetParam(), shared);
        ASSERT_EQ(ann.run({"init"}).exitCode, 0);
        ASSERT_EQ(bob.run({"init"}).exitCode, 0);
    }
    testing::TempFolder shared;
    testing::LibraryPlace place;
    Workstation ann;
    Workstation bob;
};

TEST_P(TeamCommandsTest, APairStoredInOneProgramFolderReachesTheOtherThroughSync) {
    const std::string adminPassword = "TAVRICAT_PASSWORD=" + place.adminPassword;
    CliRun created = ann.run({"team", "create", place.location, "--admin", place.admin}, {adminPassword});
    ASSERT_EQ(created.exitCode, 0) << created.err;
    ASSERT_EQ(ann.run({"team", "login", place.location, "--user", place.admin}, {adminPassword}).exitCode, 0);
    CliRun added = ann.run({"team", "users", "add", "bob", "--right", "2"},
                           {adminPassword, "TAVRICAT_ADMIN_PASSWORD=" + place.adminPassword, "TAVRICAT_MEMBER_PASSWORD=bob-pw"});
    ASSERT_EQ(added.exitCode, 0) << added.err;
    CliRun listed = ann.run({"--json", "team", "users", "list"}, {adminPassword, "TAVRICAT_ADMIN_PASSWORD=" + place.adminPassword});
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(nlohmann::json::parse(listed.out), nlohmann::json::parse(R"([{"name": "bob", "right": 2}])"));

    // A wrong super-user password given by the variable is tried once and refused.
    EXPECT_EQ(ann.run({"team", "users", "list"}, {adminPassword, "TAVRICAT_ADMIN_PASSWORD=guess"}).exitCode, 1);

    ASSERT_EQ(bob.run({"team", "login", place.location, "--user", "bob"}, {"TAVRICAT_PASSWORD=bob-pw"}).exitCode, 0);
    ASSERT_EQ(ann.run({"tm", "add", encoding::gbkToUtf8Lossy("Check the seal of the door.^检查门的密封条。")}, {adminPassword})
                  .exitCode,
              0);
    CliRun status = ann.run({"--json", "team", "status"});
    ASSERT_EQ(status.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(status.out)["queued"], 1);

    CliRun sent = ann.run({"--json", "team", "sync"}, {adminPassword});
    ASSERT_EQ(sent.exitCode, 0) << sent.err;
    EXPECT_EQ(nlohmann::json::parse(sent.out)["sent"], 1);
    CliRun received = bob.run({"--json", "team", "sync"}, {"TAVRICAT_PASSWORD=bob-pw"});
    ASSERT_EQ(received.exitCode, 0) << received.err;
    const nlohmann::json counts = nlohmann::json::parse(received.out);
    EXPECT_EQ(counts["sentences"], 1);
    EXPECT_EQ(counts["mark"], 1);
    CliRun found = bob.run({"--json", "tm", "search", "Check the seal of the door."});
    ASSERT_EQ(found.exitCode, 0);
    EXPECT_EQ(nlohmann::json::parse(found.out)["rate"], 100);

    // A wrong password is refused; sync without any password says how to give one.
    EXPECT_EQ(bob.run({"team", "sync"}, {"TAVRICAT_PASSWORD=nope"}).exitCode, 1);
    EXPECT_EQ(bob.run({"team", "sync"}).exitCode, 2);
    ASSERT_EQ(bob.run({"team", "disconnect"}).exitCode, 0);
    EXPECT_EQ(bob.run({"team", "sync"}, {"TAVRICAT_PASSWORD=bob-pw"}).exitCode, 1);
}

INSTANTIATE_TEST_SUITE_P(Stores, TeamCommandsTest, ::testing::Values("sqlite", "postgres"));

TEST(TeamTerminalTest, ThePasswordIsAskedWithoutEcho) {
    Workstation ann;
    ASSERT_EQ(ann.run({"init"}).exitCode, 0);
    testing::TempFolder shared;
    CliRun created = testing::runCliOnTerminal(
        {"--home", ann.home.path(), "team", "create", shared.file("t.db"), "--admin", "boss"}, ann.config.path(),
        encoding::gbkToUtf8Lossy("超级用户口令: "), "Hidden-Secret-9\n");
    EXPECT_EQ(created.exitCode, 0) << created.out;
    EXPECT_EQ(created.out.find("Hidden-Secret-9"), std::string::npos) << created.out;
}

}  // namespace
}  // namespace tavricat
