// Documents of any bytes end: translate and analyse-project finish in bounded time on text
// that is not what a word processor writes (truncated double-byte characters, random bytes).

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

class CliHostileInputTest : public testing::CliHomeTest {
protected:
    // Runs the command and fails the test when it is still going after `seconds`.
    testing::CliRun within(int seconds, std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--home", home.path()});
        testing::CliRun run = testing::runCli(arguments, config.path(), {}, seconds);
        EXPECT_NE(run.exitCode, 137) << "still running after " << seconds << " s: " << arguments[2];
        return run;
    }
};

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

TEST_F(CliHostileInputTest, BrokenDoubleByteTextIsTranslatedAndAnalysed) {
    ASSERT_EQ(cli({"tm", "use", "DemoEC"}).exitCode, 0);
    // A lone lead byte followed by two blanks; a double-byte character cut in two; no-break
    // spaces of a mail program's code page.
    const std::string text = "The caf\xe9  is open.\r\nA truncated \xc4\r\nTwo\xa0\xa0spaces \xa1\xa1 here.\r\n";
    for (const char* direction : {"ec", "ce"}) {
        const std::string name = std::string("freeze-") + direction;
        work.write(name + ".txt", text);
        testing::CliRun translated = within(60, {"--direction", direction, "--no", "translate", work.file(name + ".txt")});
        EXPECT_EQ(translated.exitCode, 0) << translated.err;
        EXPECT_TRUE(work.exists(name + ".bil"));
        testing::CliRun analysed = within(60, {"--direction", direction, "analyse-project", work.file(name + ".txt")});
        EXPECT_EQ(analysed.exitCode, 0) << analysed.err;
    }
    work.write("pairs.exs", "The caf\xe9  is open.^\xbf\xaa\xc3\xc5\xc1\xcb\xa1\xa3\r\n");
    EXPECT_EQ(within(60, {"tm", "update", work.file("pairs.exs")}).exitCode, 0);
}

TEST_F(CliHostileInputTest, AMegabyteOfRandomBytesEnds) {
    work.write("random.txt", randomBytes(1024 * 1024, 14));
    testing::CliRun translated = within(600, {"--no", "translate", work.file("random.txt")});
    EXPECT_EQ(translated.exitCode, 0) << translated.err;
    testing::CliRun analysed = within(600, {"analyse-project", work.file("random.txt")});
    EXPECT_EQ(analysed.exitCode, 0) << analysed.err;
}

// One sentence of two megabytes of dictionary words, no full stop: every word is a grammar
// trigger, and the run stays linear in the length of the sentence.
TEST_F(CliHostileInputTest, ALongSentenceOfDictionaryWordsIsTranslatedInLinearTime) {
    static const char* const words[] = {"the", "filter", "of", "air", "purifier", "clean", "water", "and",
                                        "keep", "it", "away", "from", "children", "room", "each", "month"};
    std::mt19937 random(15);
    std::string text;
    while (text.size() < 2 * 1024 * 1024) text += std::string(words[random() % 16]) + " ";
    work.write("long.txt", text);
    testing::CliRun translated = within(60, {"translate", work.file("long.txt")});
    EXPECT_EQ(translated.exitCode, 0) << translated.err;
}

}  // namespace
}  // namespace tavricat
