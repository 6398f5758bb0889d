// One process at a time in a program folder: commands started together take turns, a
// command that finds the folder held names the holder, and no run deletes another's files.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/folder_lock.h"
#include "support/temp_folder.h"
#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using CliFolderLockTest = testing::CliHomeTest;

std::size_t fromEnvironment(const char* name, std::size_t fallback) {
    const char* value = std::getenv(name);
    return value && *value ? static_cast<std::size_t>(std::strtoul(value, nullptr, 10)) : fallback;
}

// A number as a word of letters ("b", "ba", ...): sources that differ in a word, whatever
// the analysis does with digits.
std::string lettersOf(std::size_t n) {
    std::string word;  // "zq" keeps it clear of any English word
    do {
        word.insert(word.begin(), static_cast<char>('a' + n % 26));
        n /= 26;
    } while (n);
    return "zq" + word;
}

// Every file under `folder` with its inode and modification time (a rewrite through a
// scratch file changes the inode, an in-place write the time).
std::map<std::string, std::string> fileStamps(const std::string& folder) {
    std::map<std::string, std::string> stamps;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().filename() == kFolderLockFile) continue;  // names the last holder
        struct stat info {};
        if (::stat(entry.path().c_str(), &info) != 0) continue;
        stamps[entry.path().string()] = std::to_string(info.st_ino) + "@" + std::to_string(info.st_mtim.tv_sec) + "." +
                                        std::to_string(info.st_mtim.tv_nsec);
    }
    return stamps;
}

TEST(FolderLockTest, ASecondHolderIsRefusedWithTheFirstNamedUntilTheFirstLetsGo) {
    testing::TempFolder folder;
    Result<FolderLock> first = FolderLock::acquire(folder.path(), "the window", 0);
    ASSERT_TRUE(first.isOk());
    EXPECT_TRUE(first->held());

    Result<FolderLock> second = FolderLock::acquire(folder.path(), "the command \"tm add\"", 50);
    ASSERT_FALSE(second.isOk());
    EXPECT_EQ(second.status().kind(), ErrorKind::Refused);
    EXPECT_NE(second.status().message().find("in use by the window, process " + std::to_string(::getpid())),
              std::string::npos)
        << second.status().message();

    // Let go while a second one waits without a limit: it gets the folder.
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        FolderLock gone = std::move(*first);
    });
    Result<FolderLock> waited = FolderLock::acquire(folder.path(), "the command \"tm add\"", std::nullopt);
    release.join();
    ASSERT_TRUE(waited.isOk());
    EXPECT_TRUE(waited->held());
    EXPECT_EQ(folder.read(kFolderLockFile), folderLockText(::getpid(), "the command \"tm add\""));
}

TEST(FolderLockTest, AFolderThatIsNotThereIsNotLocked) {
    testing::TempFolder folder;
    Result<FolderLock> lock = FolderLock::acquire(folder.file("missing"), "the window", 0);
    ASSERT_TRUE(lock.isOk());
    EXPECT_FALSE(lock->held());
    EXPECT_FALSE(folder.exists("missing"));
}

TEST_F(CliFolderLockTest, ACommandRefusedByTheWindowNamesItAndWaitsWhenAsked) {
    Result<FolderLock> window = FolderLock::acquire(home.path(), "the window", 0);
    ASSERT_TRUE(window.isOk());
    testing::CliRun refused = cli({"tm", "stats"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find("in use by the window, process " + std::to_string(::getpid())), std::string::npos)
        << refused.err;
    EXPECT_EQ(refused.out, "");

    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        FolderLock gone = std::move(*window);
    });
    testing::CliRun waited = cli({"--wait", "tm", "stats"});
    release.join();
    EXPECT_EQ(waited.exitCode, 0) << waited.err;
    EXPECT_NE(waited.out.find("library: MySentsEC"), std::string::npos) << waited.out;
}

TEST_F(CliFolderLockTest, CommandsThatOnlyReadWriteNothing) {
    ASSERT_EQ(cli({"tm", "add", reinterpret_cast<const char*>(u8"I have a book.^我有一本书。")}).exitCode, 0);
    const std::map<std::string, std::string> before = fileStamps(home.path());
    const std::map<std::string, std::string> settingsBefore = fileStamps(config.path());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"tm", "stats"}, {"tm", "search", "I have a pen."}, {"status"}, {"analyse", "She reads two books."},
                                                 {"dict", "lookup", "book"}, {"mt", "I have a pen."}}) {
        testing::CliRun run = cli(command);
        EXPECT_LE(run.exitCode, 1) << command[0] << ": " << run.err;  // a key not found is 1
    }
    EXPECT_EQ(fileStamps(home.path()), before);
    EXPECT_EQ(fileStamps(config.path()), settingsBefore);
}

// Two loops of adds and an update beside them on one program folder: every add that
// reported success is in the library afterwards, every refusal names the holder, and no file
// of the folder is lost. TAVRICAT_LOCK_ADDS / TAVRICAT_LOCK_PAIRS scale it up (1000 / 20000).
TEST_F(CliFolderLockTest, ConcurrentAddsAndAnUpdateLoseNothing) {
    const std::size_t adds = fromEnvironment("TAVRICAT_LOCK_ADDS", 40);
    const std::size_t pairs = fromEnvironment("TAVRICAT_LOCK_PAIRS", 2000);
    std::string pairText;
    for (std::size_t i = 0; i < pairs; ++i)
        pairText += "The update brings pair " + lettersOf(i) + " today.^uq" + std::to_string(i) + "z\r\n";
    work.write("pairs.exs", pairText);
    const std::map<std::string, std::string> filesBefore = fileStamps(home.path());

    struct Outcome {
        std::string marker;
        testing::CliRun run;
    };
    auto loop = [&](char name, std::vector<Outcome>& outcomes) {
        for (std::size_t i = 0; i < adds; ++i) {
            const std::string marker = std::string("x") + name + std::to_string(i) + "y";
            const std::string pair = std::string("Loop ") + name + " adds sentence " + lettersOf(i) + ".^" + marker;
            outcomes.push_back({marker, cli({"tm", "add", pair})});
        }
    };
    std::vector<Outcome> a, b;
    testing::CliRun update;
    std::thread first([&] { loop('a', a); });
    std::thread second([&] { loop('b', b); });
    std::thread updater([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        update = cli({"--wait", "tm", "update", work.file("pairs.exs")});
    });
    first.join();
    second.join();
    updater.join();

    ASSERT_EQ(update.exitCode, 0) << update.err;
    EXPECT_NE(update.out.find("new: " + std::to_string(pairs)), std::string::npos) << update.out;
    // Every file the folder had is still there; no bak file is left.
    for (const auto& [path, stamp] : filesBefore) EXPECT_TRUE(std::filesystem::exists(path)) << path;
    for (const auto& [path, stamp] : fileStamps(home.path()))
        EXPECT_FALSE(path.size() > 3 && path.compare(path.size() - 3, 3, "bak") == 0) << path;

    const std::string library = home.read("userdata/MySentsEC.rf0");
    std::size_t succeeded = 0;
    for (const std::vector<Outcome>* outcomes : {&a, &b}) {
        for (const Outcome& outcome : *outcomes) {
            if (outcome.run.exitCode == 0) {
                ++succeeded;
                EXPECT_NE(library.find("^" + outcome.marker + "\r\n"), std::string::npos) << outcome.marker;
            } else {
                EXPECT_EQ(outcome.run.exitCode, 1) << outcome.run.err;
                EXPECT_NE(outcome.run.err.find("is in use by"), std::string::npos) << outcome.run.err;
            }
        }
    }
    EXPECT_GT(succeeded, 0u);
    for (std::size_t i = 0; i < pairs; i += pairs / 10 + 1)
        EXPECT_NE(library.find("^uq" + std::to_string(i) + "z\r\n"), std::string::npos) << i;
}

}  // namespace
}  // namespace tavricat
