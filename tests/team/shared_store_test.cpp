// The shared library's two stores behave alike: records numbered in order and taken after a
// mark, the members and their rights, passwords that no file or table gives away. On the
// server the rights hold against plain SQL too.

#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include "support/temp_folder.h"
#include "team/members.h"
#include "team/shared_store.h"
#include "team/team_stores.h"

namespace tavricat::team {
namespace {

class SharedStoreTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "postgres" && testing::testServer().empty())
            GTEST_SKIP() << "no PostgreSQL server (scripts/with_postgres.sh starts one; TAVRICAT_TEST_POSTGRES)";
        place = testing::newLibraryPlace(GetParam(), folder);
        const Status created = createSharedLibrary(place.location, place.admin, place.adminPassword);
        ASSERT_TRUE(created.isOk()) << created.message();
    }
    std::unique_ptr<SharedStore> login(const std::string& name, const std::string& password) {
        Result<std::unique_ptr<SharedStore>> store = openSharedLibrary(place.location, name, password);
        EXPECT_TRUE(store.isOk()) << store.status().message();
        return store ? std::move(*store) : nullptr;
    }
    std::unique_ptr<SharedStore> admin() { return login(place.admin, place.adminPassword); }

    testing::TempFolder folder;
    testing::LibraryPlace place;
};

TEST_P(SharedStoreTest, RecordsAreNumberedInOrderAndTakenOnceAfterTheMark) {
    auto store = admin();
    ASSERT_TRUE(store);
    std::vector<OutgoingRecord> ten;
    for (int i = 1; i <= 10; ++i) ten.push_back({'C', "sentence " + std::to_string(i) + " ^句子"});
    ASSERT_TRUE(store->append(ten).isOk());
    EXPECT_EQ(*store->lastNumber(), 10);
    EXPECT_TRUE(store->readAfter(10)->empty());

    ASSERT_TRUE(store->setMember("lin", "pw-lin", Right::ReadWrite).isOk());
    auto lin = login("lin", "pw-lin");
    ASSERT_TRUE(lin);
    ASSERT_TRUE(lin->append({{'A', "word^词"}}).isOk());
    const auto after = store->readAfter(10);
    ASSERT_TRUE(after.isOk());
    ASSERT_EQ(after->size(), 1u);
    EXPECT_EQ(after->front().number, 11);
    EXPECT_EQ(after->front().author, "lin");
    EXPECT_EQ(after->front().kind, 'A');
    EXPECT_EQ(after->front().content, "word^词");
    EXPECT_TRUE(store->readAfter(11)->empty());

    const auto all = store->readAfter(0);
    ASSERT_EQ(all->size(), 11u);
    for (std::size_t i = 0; i < all->size(); ++i) EXPECT_EQ((*all)[i].number, static_cast<std::int64_t>(i + 1));
    EXPECT_EQ((*all)[0].content, "sentence 1 ^句子");
    EXPECT_FALSE((*all)[0].checked);
}

TEST_P(SharedStoreTest, MembersLogInWithTheirOwnPasswordAndRight) {
    auto store = admin();
    ASSERT_TRUE(store);
    EXPECT_EQ(store->member().right, Right::Reviser);
    ASSERT_TRUE(store->setMember("reader", "r-pass", Right::ReadOnly).isOk());
    ASSERT_TRUE(store->setMember("writer", "w-pass", Right::ReadWrite).isOk());
    EXPECT_EQ(*store->members(), (std::vector<Member>{{"reader", Right::ReadOnly}, {"writer", Right::ReadWrite}}));

    Result<std::unique_ptr<SharedStore>> wrong = openSharedLibrary(place.location, "reader", "w-pass");
    ASSERT_FALSE(wrong.isOk());
    EXPECT_EQ(wrong.status().message(), kWrongUserOrPassword);
    EXPECT_FALSE(openSharedLibrary(place.location, "nobody", "x").isOk());

    auto reader = login("reader", "r-pass");
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->member().right, Right::ReadOnly);
    EXPECT_FALSE(reader->append({{'C', "a ^b"}}).isOk());
    EXPECT_EQ(*store->lastNumber(), 0);
    EXPECT_FALSE(reader->members().isOk()) << "only the super user manages the members";

    // A changed right and password take effect at the next login; a removed member is out.
    ASSERT_TRUE(store->setMember("reader", "new-pass", Right::ReadWrite).isOk());
    EXPECT_FALSE(openSharedLibrary(place.location, "reader", "r-pass").isOk());
    auto promoted = login("reader", "new-pass");
    ASSERT_TRUE(promoted);
    EXPECT_TRUE(promoted->append({{'C', "a ^b"}}).isOk());
    ASSERT_TRUE(store->removeMember("writer").isOk());
    EXPECT_FALSE(openSharedLibrary(place.location, "writer", "w-pass").isOk());
    EXPECT_EQ(*store->members(), (std::vector<Member>{{"reader", Right::ReadWrite}}));

    EXPECT_TRUE(*store->isSuperUserPassword(place.adminPassword));
    EXPECT_FALSE(*store->isSuperUserPassword("guess"));
}

TEST_P(SharedStoreTest, CreatingWhereALibraryIsRefusesAndKeepsIt) {
    auto store = admin();
    ASSERT_TRUE(store->append({{'C', "kept ^留"}}).isOk());
    EXPECT_FALSE(createSharedLibrary(place.location, place.admin, place.adminPassword).isOk());
    EXPECT_EQ(*admin()->lastNumber(), 1);
}

INSTANTIATE_TEST_SUITE_P(Stores, SharedStoreTest, ::testing::Values("sqlite", "postgres"));

TEST(SqliteLibraryTest, NoPasswordIsReadableInTheFile) {
    testing::TempFolder folder;
    const std::string path = folder.file("team.db");
    ASSERT_TRUE(createSharedLibrary(path, "boss", "TopSecret-1").isOk());
    ASSERT_TRUE((*openSharedLibrary(path, "boss", "TopSecret-1"))->setMember("ann", "AnnSecret-2", Right::ReadWrite).isOk());
    for (const std::string& name : {std::string("team.db"), std::string("team.db-wal")}) {
        if (!folder.exists(name)) continue;
        const std::string bytes = folder.read(name);
        EXPECT_EQ(bytes.find("TopSecret-1"), std::string::npos) << name;
        EXPECT_EQ(bytes.find("AnnSecret-2"), std::string::npos) << name;
    }
}

TEST(SqliteLibraryTest, AnOldScrambledUserListIsReadOnceAndRewrittenHashed) {
    EXPECT_EQ(scramble("abcde"), "aebdc");
    EXPECT_EQ(unscramble("aebdc"), "abcde");
    for (const std::string line : {"", "x", "ab", "张三<!>2<!>口令x"}) EXPECT_EQ(unscramble(scramble(line)), line);

    // A library made from the old program's files: no members yet, its user list beside it.
    testing::TempFolder old;
    const std::string oldPath = old.file("old.db");
    ASSERT_TRUE(createSharedLibrary(oldPath, "x", "x").isOk());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(oldPath.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DELETE FROM members", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    old.write("old.ul", scramble("admin<!>3<!>adminpw") + "\r\n" + scramble("王五<!>1<!>wangpw") + "\r\n");
    auto admin = openSharedLibrary(oldPath, "admin", "adminpw");
    ASSERT_TRUE(admin.isOk()) << admin.status().message();
    auto wang = openSharedLibrary(oldPath, "王五", "wangpw");
    ASSERT_TRUE(wang.isOk());
    EXPECT_EQ((*wang)->member().right, Right::ReadOnly);
    const std::string list = old.read("old.ul");
    EXPECT_EQ(list.find("wangpw"), std::string::npos);
    EXPECT_EQ(unscramble(list.substr(0, list.find("\r\n"))).find("admin<!>3<!>$argon2id$"), 0u);
}

TEST(MembersTest, TheLoginBoxesAndTheRightGiveTheTraffic) {
    EXPECT_EQ(shareModeFor(true, true, Right::ReadWrite), 1);
    EXPECT_EQ(shareModeFor(true, true, Right::Reviser), 1);
    EXPECT_EQ(shareModeFor(true, true, Right::ReadOnly), 4);
    EXPECT_EQ(shareModeFor(false, true, Right::ReadOnly), 2);
    EXPECT_EQ(shareModeFor(true, false, Right::ReadWrite), 3);
    EXPECT_EQ(shareModeFor(true, false, Right::ReadOnly), 4);
    EXPECT_EQ(shareModeFor(false, false, Right::Reviser), 4);
    EXPECT_EQ(userListPathOf("/share/team.db"), "/share/team.ul");
    EXPECT_EQ(userListPathOf("/sh.are/team.x.db"), "/sh.are/team.ul");
}

class ServerRightsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (testing::testServer().empty()) GTEST_SKIP() << "no PostgreSQL server (TAVRICAT_TEST_POSTGRES)";
        place = testing::newLibraryPlace("postgres", folder);
        const Status created = createSharedLibrary(place.location, place.admin, place.adminPassword);
        ASSERT_TRUE(created.isOk()) << created.message();
        auto admin = openSharedLibrary(place.location, place.admin, place.adminPassword);
        ASSERT_TRUE(admin.isOk());
        ASSERT_TRUE((*admin)->setMember(reader, "rp", Right::ReadOnly).isOk());
        ASSERT_TRUE((*admin)->setMember(writer, "wp", Right::ReadWrite).isOk());
        ASSERT_TRUE((*admin)->append({{'C', "first ^一"}}).isOk());
        schema = place.location.substr(place.location.find("library=") + 8);
    }
    bool as(const std::string& user, const std::string& password, const std::string& sql) {
        return testing::serverAccepts(place.location, user, password, sql);
    }
    testing::TempFolder folder;
    testing::LibraryPlace place;
    std::string reader = "reader_" + std::to_string(::getpid());
    std::string writer = "writer_" + std::to_string(::getpid());
    std::string schema;
};

TEST_F(ServerRightsTest, TheServerHoldsEachMemberToItsRightWhateverTheClient) {
    const std::string records = schema + ".records";
    const std::string append = "SELECT " + schema + ".append_records(ARRAY['C'], ARRAY['x ^y'])";
    // Receiving is selecting.
    EXPECT_TRUE(as(reader, "rp", "SELECT * FROM " + records));
    EXPECT_TRUE(as(writer, "wp", "SELECT * FROM " + records));
    // A read-only member cannot append, however it tries.
    EXPECT_FALSE(as(reader, "rp", append));
    EXPECT_FALSE(as(reader, "rp", "INSERT INTO " + records + " VALUES (99, 'x', 'C', 'x', false)"));
    // A member who may send appends only through the function, as itself.
    EXPECT_FALSE(as(writer, "wp", "INSERT INTO " + records + " VALUES (99, '" + reader + "', 'C', 'forged', false)"));
    EXPECT_TRUE(as(writer, "wp", append));
    auto admin = openSharedLibrary(place.location, place.admin, place.adminPassword);
    const auto all = (*admin)->readAfter(0);
    ASSERT_EQ(all->size(), 2u);
    EXPECT_EQ(all->back().author, writer);
    EXPECT_EQ(all->back().number, 2);
    // Nobody changes or deletes a record: not the members, not the library's owner.
    for (const auto& [user, password] : {std::pair{reader, std::string("rp")}, std::pair{writer, std::string("wp")},
                                         std::pair{place.admin, place.adminPassword}}) {
        EXPECT_FALSE(as(user, password, "UPDATE " + records + " SET content = 'changed'")) << user;
        EXPECT_FALSE(as(user, password, "DELETE FROM " + records)) << user;
        EXPECT_FALSE(as(user, password, "TRUNCATE " + records)) << user;
    }
    // No member reads another's password: roles' secrets are the server's alone.
    EXPECT_FALSE(as(writer, "wp", "SELECT rolpassword FROM pg_authid"));
    EXPECT_EQ(*(*admin)->lastNumber(), 2);
}

}  // namespace
}  // namespace tavricat::team
