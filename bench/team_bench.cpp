// The team library under load: 8 writer processes append 10,000 records each (in appends of
// 10 records, one transaction each) while this process synchronises all the while, for the
// SQLite file and, when TAVRICAT_TEST_POSTGRES names a server (scripts/with_postgres.sh
// starts one), for PostgreSQL.
//   build/bench/team_bench                                   (SQLite only)
//   scripts/with_postgres.sh build/bench/team_bench          (both)
// records_per_s is what the library took from all writers together; sync_median_us and
// sync_p95_us time one synchronisation (the records after the read mark fetched).

#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "latency.h"
#include "team/shared_store.h"

namespace tavricat::bench {
namespace {

constexpr int kWriters = 8;
constexpr int kRecordsEach = 10000;
constexpr int kBatch = 10;

std::string place(const std::string& kind, const std::string& folder, int run) {
    if (kind == "sqlite") return folder + "/bench" + std::to_string(run) + ".db";
    const std::string server = std::getenv("TAVRICAT_TEST_POSTGRES");
    return server + "&library=bench_" + std::to_string(::getpid()) + "_" + std::to_string(run);
}

void appendAndSync(benchmark::State& state, const std::string& kind) {
    if (kind == "postgres" && !std::getenv("TAVRICAT_TEST_POSTGRES")) {
        state.SkipWithError("no server: run under scripts/with_postgres.sh");
        return;
    }
    char scratch[] = "/tmp/tavricat-team-bench-XXXXXX";
    if (!::mkdtemp(scratch)) return;
    // The server's super user creates the library: it may create roles.
    const std::string server = kind == "postgres" ? std::getenv("TAVRICAT_TEST_POSTGRES") : "";
    const std::string adminPassword = kind == "postgres" ? server.substr(server.find("postgres:") + 9, server.find('@') - server.find("postgres:") - 9) : "pw";
    const std::string admin = kind == "postgres" ? "postgres" : "admin";
    int run = 0;
    for (auto _ : state) {
        const std::string location = place(kind, scratch, run++);
        if (!team::createSharedLibrary(location, admin, adminPassword)) {
            state.SkipWithError("the library could not be created");
            return;
        }
        auto owner = team::openSharedLibrary(location, admin, adminPassword);
        for (int w = 0; w < kWriters; ++w) (void)(*owner)->setMember("w" + std::to_string(w), "pw", team::Right::ReadWrite);
        std::vector<pid_t> writers;
        const double start = seconds();
        for (int w = 0; w < kWriters; ++w) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                auto store = team::openSharedLibrary(location, "w" + std::to_string(w), "pw");
                if (!store) ::_exit(2);
                for (int i = 0; i < kRecordsEach; i += kBatch) {
                    std::vector<team::OutgoingRecord> batch(kBatch, {'C', "some sentence of a test ^一个句子"});
                    if (!(*store)->append(batch)) ::_exit(3);
                }
                ::_exit(0);
            }
            writers.push_back(pid);
        }
        std::vector<double> syncs;
        std::int64_t mark = 0;
        const std::int64_t total = static_cast<std::int64_t>(kWriters) * kRecordsEach;
        while (mark < total) {
            const double t0 = seconds();
            auto records = (*owner)->readAfter(mark);
            syncs.push_back((seconds() - t0) * 1e6);
            if (!records) break;
            if (!records->empty()) mark = records->back().number;
            else ::usleep(1000);
        }
        const double elapsed = seconds() - start;
        for (pid_t pid : writers) ::waitpid(pid, nullptr, 0);
        state.counters["records_per_s"] = static_cast<double>(total) / elapsed;
        state.counters["appends_per_s"] = static_cast<double>(total / kBatch) / elapsed;
        state.counters["sync_median_us"] = quantile(syncs, 0.5);
        state.counters["sync_p95_us"] = quantile(syncs, 0.95);
    }
    (void)std::system(("rm -rf '" + std::string(scratch) + "'").c_str());
}

}  // namespace

BENCHMARK_CAPTURE(appendAndSync, sqlite, std::string("sqlite"))->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_CAPTURE(appendAndSync, postgres, std::string("postgres"))->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace tavricat::bench

BENCHMARK_MAIN();
