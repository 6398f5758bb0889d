// Eight workbenches (separate processes) append to one team library while three others
// synchronise all the while: nothing is lost, nothing is taken twice, and every reader sees
// the records numbered without a gap, whatever order the writers' transactions end in.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "support/temp_folder.h"
#include "team/shared_store.h"
#include "team/team_stores.h"

namespace tavricat::team {
namespace {

constexpr int kWriters = 8;
constexpr int kReaders = 3;
constexpr int kRecordsEach = 3000;
constexpr int kBatch = 10;  // records per append: one transaction each

std::string writerName(int w) { return "writer" + std::to_string(w); }

// A writer's life: log in, append its records in batches. The exit status says how it went.
// A batch refused while others hold the library for longer than the busy timeout (a loaded
// machine) is sent again, as a workbench keeps its queue and sends it at the next
// synchronisation; a refused batch wrote nothing, so sending it again cannot duplicate it.
int writeAll(const std::string& location, int w) {
    auto store = openSharedLibrary(location, writerName(w), "pw");
    if (!store) return 2;
    for (int i = 0; i < kRecordsEach; i += kBatch) {
        std::vector<OutgoingRecord> batch;
        for (int j = i; j < i + kBatch; ++j) batch.push_back({'C', writerName(w) + " " + std::to_string(j) + " ^译"});
        int tries = 0;
        while (!(*store)->append(batch))
            if (++tries == 20) return 3;
    }
    return 0;
}

// A reader's life: synchronise until every writer's records came, checking that each
// synchronisation continues the numbers without a gap and that no record comes twice.
int readAll(const std::string& location, int r) {
    auto store = openSharedLibrary(location, "reader" + std::to_string(r), "pw");
    if (!store) return 2;
    std::int64_t mark = 0;
    std::set<std::string> seen;
    const std::size_t expected = static_cast<std::size_t>(kWriters) * kRecordsEach;
    for (int round = 0; seen.size() < expected; ++round) {
        if (round > 200000) return 4;  // stuck: a record never came
        Result<std::vector<SharedRecord>> records = (*store)->readAfter(mark);
        if (!records) return 3;
        for (const SharedRecord& record : *records) {
            if (record.number != mark + 1) return 5;  // a gap: a record skipped for ever
            mark = record.number;
            if (record.content.rfind(record.author + " ", 0) != 0) return 6;  // forged or garbled
            if (!seen.insert(record.content).second) return 7;  // taken twice
        }
        if (records->empty()) ::usleep(2000);
    }
    return seen.size() == expected ? 0 : 8;
}

class ConcurrentAppendTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ConcurrentAppendTest, EightWritersAndThreeReadersLoseAndDuplicateNothing) {
    if (GetParam() == "postgres" && testing::testServer().empty())
        GTEST_SKIP() << "no PostgreSQL server (scripts/with_postgres.sh starts one; TAVRICAT_TEST_POSTGRES)";
    testing::TempFolder folder;
    const testing::LibraryPlace place = testing::newLibraryPlace(GetParam(), folder);
    ASSERT_TRUE(createSharedLibrary(place.location, place.admin, place.adminPassword).isOk());
    {
        auto admin = openSharedLibrary(place.location, place.admin, place.adminPassword);
        ASSERT_TRUE(admin.isOk());
        for (int w = 0; w < kWriters; ++w) ASSERT_TRUE((*admin)->setMember(writerName(w), "pw", Right::ReadWrite).isOk());
        for (int r = 0; r < kReaders; ++r)
            ASSERT_TRUE((*admin)->setMember("reader" + std::to_string(r), "pw", Right::ReadOnly).isOk());
    }
    std::vector<pid_t> children;
    for (int r = 0; r < kReaders; ++r) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(readAll(place.location, r));
        children.push_back(pid);
    }
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) ::_exit(writeAll(place.location, w));
        children.push_back(pid);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        int status = 0;
        ASSERT_EQ(::waitpid(children[i], &status, 0), children[i]);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << (i < kReaders ? "reader " : "writer ") << (i < kReaders ? i : i - kReaders) << " ended with "
            << (WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status));
    }
    auto admin = openSharedLibrary(place.location, place.admin, place.adminPassword);
    EXPECT_EQ(*(*admin)->lastNumber(), static_cast<std::int64_t>(kWriters) * kRecordsEach);
}

INSTANTIATE_TEST_SUITE_P(Stores, ConcurrentAppendTest, ::testing::Values("sqlite", "postgres"));

}  // namespace
}  // namespace tavricat::team
