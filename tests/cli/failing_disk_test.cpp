// The CLI on a disk that refuses writes: a library file made immutable, and a program folder
// whose userdata is a full 2 MB tmpfs. Every command that cannot save exits 1 with a message,
// leaves no bak file behind, and the next run opens the same library with everything saved
// before. Both need root (chattr, mount); elsewhere the tests are skipped and say why.

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

namespace fs = std::filesystem;

using CliFailingDiskTest = testing::CliHomeTest;

const char* utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

bool setImmutable(const std::string& path, bool on) {
    const std::string command = std::string("chattr ") + (on ? "+i" : "-i") + " '" + path + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// The bak and scratch files a save left in `folder`.
std::vector<std::string> bakFilesIn(const std::string& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        const bool bak = name.size() > 3 && name.compare(name.size() - 3, 3, "bak") == 0;
        if (bak || name.find(".tmp-save") != std::string::npos) found.push_back(name);
    }
    return found;
}

// `folder` moved onto a tmpfs of `bytes` bytes, with its files; unmounted again at the end.
class SmallDisk {
public:
    SmallDisk(std::string folder, const std::string& aside, std::size_t bytes) : m_folder(std::move(folder)) {
        fs::rename(m_folder, aside);
        fs::create_directory(m_folder);
        const std::string options = "size=" + std::to_string(bytes);
        if (::mount("tavricat-test", m_folder.c_str(), "tmpfs", 0, options.c_str()) != 0) {
            fs::remove(m_folder);
            fs::rename(aside, m_folder);
            return;
        }
        m_mounted = true;
        for (const auto& entry : fs::directory_iterator(aside)) fs::copy(entry.path(), m_folder / entry.path().filename());
    }
    ~SmallDisk() {
        if (m_mounted) ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return m_mounted; }

    // Takes every free byte into one file.
    void fill() {
        std::FILE* out = std::fopen((m_folder / "filler").c_str(), "wb");
        if (!out) return;
        const std::string block(4096, 'f');
        while (std::fwrite(block.data(), 1, block.size(), out) == block.size()) {
        }
        std::fclose(out);
    }
    void makeRoom() { fs::remove(m_folder / "filler"); }

private:
    fs::path m_folder;
    bool m_mounted = false;
};

// The examples the library holds, from `tm stats --json`.
std::string examplesLine(const testing::CliRun& stats) {
    const std::size_t at = stats.out.find("\"examples\":");
    return at == std::string::npos ? std::string() : stats.out.substr(at, stats.out.find('\n', at) - at);
}

TEST_F(CliFailingDiskTest, AnImmutableLibraryFileFailsTheCommandAndTheLibraryOpensAgainWhole) {
    ASSERT_EQ(cli({"tm", "add", utf8(u8"I have a book.^我有一本书。")}).exitCode, 0);
    ASSERT_EQ(cli({"tm", "add", utf8(u8"I have a pen.^我有一支笔。")}).exitCode, 0);
    const std::string savedBefore = home.read("userdata/MySentsEC.rf0");
    const std::string snapshot = work.file("userdata");
    fs::copy(home.file("userdata"), snapshot, fs::copy_options::recursive);

    // (An add does not write the information file .irf.)
    for (const char* extension : {".rf0", ".rf1", ".rf2"}) {
        SCOPED_TRACE(extension);
        const std::string path = home.file(std::string("userdata/MySentsEC") + extension);
        if (!setImmutable(path, true)) GTEST_SKIP() << "chattr +i is not available here (needs root on ext4/tmpfs)";
        testing::CliRun refused = cli({"tm", "add", utf8(u8"I have a cat.^我有一只猫。")});
        setImmutable(path, false);
        EXPECT_EQ(refused.exitCode, 1) << refused.out;
        EXPECT_FALSE(refused.err.empty());

        testing::CliRun stats = cli({"--json", "tm", "stats"});
        ASSERT_EQ(stats.exitCode, 0) << stats.err;
        EXPECT_NE(stats.out.find("\"name\": \"MySentsEC\""), std::string::npos) << stats.out;
        // The two saved pairs are there; the refused one may be too, once, if its save got far
        // enough to write the examples before a later file failed.
        const std::string library = home.read("userdata/MySentsEC.rf0");
        EXPECT_EQ(library.compare(0, savedBefore.size(), savedBefore), 0) << library;
        // A failed copy may leave the bak set as the only copy; the next start put it back.
        EXPECT_TRUE(bakFilesIn(home.file("userdata")).empty());
        // The next file starts from the folder as it was.
        fs::remove_all(home.file("userdata"));
        fs::copy(snapshot, home.file("userdata"), fs::copy_options::recursive);
    }
}

TEST_F(CliFailingDiskTest, OnAFullDiskEverySaveFailsLoudlyAndTheLibrarySurvives) {
    ASSERT_EQ(cli({"tm", "add", utf8(u8"I have a book.^我有一本书。")}).exitCode, 0);
    std::string pairs;
    for (int i = 0; i < 300; ++i) pairs += "The pair number " + std::to_string(i) + " is here.^uq" + std::to_string(i) + "\r\n";
    work.write("pairs.exs", pairs);
    const std::string savedBefore = home.read("userdata/MySentsEC.rf0");
    const testing::CliRun statsBefore = cli({"--json", "tm", "stats"});

    SmallDisk disk(home.file("userdata"), work.file("userdata.disk"), 2 << 20);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    disk.fill();

    const std::vector<std::vector<std::string>> commands = {
        {"tm", "add", utf8(u8"I have a cat.^我有一只猫。")},
        {"tm", "update", work.file("pairs.exs")},
        {"tm", "new", "Other", "--title", "t"},
        {"grammar", "add", "zq one^^zq two"},
        {"dict", "add", "zqword", "meaning^n"},
    };
    for (const std::vector<std::string>& command : commands) {
        SCOPED_TRACE(command[0] + " " + command[1]);
        const testing::CliRun run = cli(command);
        EXPECT_EQ(run.exitCode, 1) << run.out << run.err;
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(bakFilesIn(home.file("userdata")).empty());
    }

    disk.makeRoom();
    const testing::CliRun statsAfter = cli({"--json", "tm", "stats"});
    ASSERT_EQ(statsAfter.exitCode, 0) << statsAfter.err;
    EXPECT_EQ(examplesLine(statsAfter), examplesLine(statsBefore));
    EXPECT_NE(statsAfter.out.find("\"name\": \"MySentsEC\""), std::string::npos) << statsAfter.out;
    EXPECT_EQ(home.read("userdata/MySentsEC.rf0"), savedBefore);
    const testing::CliRun added = cli({"tm", "add", utf8(u8"I have a cat.^我有一只猫。")});
    EXPECT_EQ(added.exitCode, 0) << added.err;
}

}  // namespace
}  // namespace tavricat
