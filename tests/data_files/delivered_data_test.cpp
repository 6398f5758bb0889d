// The data files delivered in data/home: the irregular forms, the abbreviations and the
// starter grammar libraries, checked as the program reads them, and the `data verbs`
// builder that writes verb.dat.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/file_system.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "base/list_order.h"
#include "engine/block_file.h"
#include "engine/tokenizer.h"
#include "engine/verb_forms.h"
#include "support/cli_home_test.h"
#include "support/cli_runner.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

const std::string kDelivered = TAVRICAT_DELIVERED_DIR;
const std::string kDemo = std::string(TAVRICAT_DELIVERED_DIR) + "/demo";

LineList deliveredLines(const std::string& name) {
    DiskFileSystem fs;
    Result<LineList> lines = loadLines(fs, kDelivered + "/" + name);
    EXPECT_TRUE(lines.isOk()) << name;
    return lines ? *lines : LineList{};
}

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

// ---- verb.dat -------------------------------------------------------------------------------

TEST(DeliveredVerbForms, MapsIrregularVerbNounAndAdjectiveForms) {
    DiskFileSystem fs;
    Result<VerbForms> forms = loadVerbForms(fs, kDelivered + "/verb.dat");
    ASSERT_TRUE(forms.isOk());
    EXPECT_GT(forms->formList.size(), 4000u);
    EXPECT_TRUE(isListOrdered(forms->formList));
    EXPECT_EQ(forms->baseOf("went"), "go");
    EXPECT_EQ(forms->baseOf("Went"), "go");
    EXPECT_EQ(forms->baseOf("children"), "child");
    EXPECT_EQ(forms->baseOf("better"), "good");
    EXPECT_EQ(forms->baseOf("was"), "be");
    // A form listed in several lists keeps its verb reading.
    EXPECT_EQ(forms->baseOf("left"), "leave");
    // Regular forms are the morphology's business, and no form maps onto itself.
    EXPECT_EQ(forms->baseOf("walked"), "");
    EXPECT_EQ(forms->baseOf("is"), "be");
    // The rules would read "does" as "doe" + "s".
    EXPECT_EQ(forms->baseOf("does"), "do");
    for (std::size_t i = 0; i < forms->formList.size(); ++i)
        ASSERT_NE(gbk::asciiLower(forms->formList[i]), gbk::asciiLower(forms->baseList[i])) << forms->formList[i];
}

TEST(DeliveredVerbForms, MultiWordFormsKeepTheirBlanks) {
    DiskFileSystem fs;
    Result<VerbForms> forms = loadVerbForms(fs, kDelivered + "/verb.dat");
    ASSERT_TRUE(forms.isOk());
    std::size_t multiWord = 0;
    for (const std::string& form : forms->formList) {
        if (form.find(' ') != std::string::npos) ++multiWord;
        ASSERT_EQ(form.find('_'), std::string::npos) << form;
    }
    EXPECT_GT(multiWord, 0u);
}

// The analysis puts each base form in the place of its form word for word.
TEST(DeliveredVerbForms, BaseFormsHaveTheWordsOfTheirForms) {
    DiskFileSystem fs;
    Result<LineList> lines = loadBlockLines(fs, kDelivered + "/verb.dat");
    ASSERT_TRUE(lines.isOk());
    const VerbForms all = parseVerbForms(*lines);
    EXPECT_EQ(all.formList.size(), lines->size());  // the loader left nothing out
    for (std::size_t i = 0; i < all.formList.size(); ++i)
        ASSERT_EQ(countWords(all.formList[i]), countWords(all.baseList[i])) << all.formList[i];
    EXPECT_EQ(all.baseOf("comics"), "comic");
}

// ---- slAbv.ini ------------------------------------------------------------------------------

TEST(DeliveredAbbreviations, SortedWithTheirFullStops) {
    const LineList abbreviations = deliveredLines("slAbv.ini");
    EXPECT_GE(abbreviations.size(), 150u);
    EXPECT_TRUE(isListOrdered(abbreviations));
    for (const std::string& word : abbreviations) {
        ASSERT_GE(word.size(), 2u);
        EXPECT_EQ(word.back(), '.') << word;
        EXPECT_EQ(word.find(' '), std::string::npos) << word;
    }
    for (std::size_t i = 1; i < abbreviations.size(); ++i)
        EXPECT_NE(compareListOrder(abbreviations[i - 1], abbreviations[i]), 0) << abbreviations[i];
    for (const char* word : {"Mr.", "mr.", "e.g.", "Dr.", "Inc.", "Jan.", "Fig.", "etc."})
        EXPECT_TRUE(findSorted(abbreviations, word).found) << word;
    // Words that often end a sentence are not listed: they would join two sentences.
    for (const char* word : {"in.", "no.", "can.", "sun.", "ill."})
        EXPECT_FALSE(findSorted(abbreviations, word).found) << word;
}

using DeliveredHome = testing::CliHomeTest;

TEST_F(DeliveredHome, AbbreviationsKeepTheDemoDocumentsSentencesWhole) {
    testing::CliRun run = cli({"segment", kDemo + "/sample_en.txt"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("For service, please write to Mr. J. Brown, Customer Service Dept., Riverside Pump Co., "
                           "14 Mill Rd., Springfield, or call us on 555-0142 ext. 21.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("The supply voltage is shown on the rating plate (see Fig. 3). "), std::string::npos);
    // A full stop after an ordinary word still ends the sentence.
    EXPECT_NE(run.out.find("\nNever run the pump dry, not even for a few seconds. \n"), std::string::npos);
}

// ---- starter grammar libraries --------------------------------------------------------------

TEST(DeliveredGrammar, BothDirectionsHoldAlignedSortedLists) {
    for (const char* base : {"userdata/modesEC", "userdata/modesCE"}) {
        const LineList anchors = deliveredLines(std::string(base) + ".m1");
        const LineList entries = deliveredLines(std::string(base) + ".m2");
        EXPECT_GE(anchors.size(), 40u) << base;
        ASSERT_EQ(anchors.size(), entries.size()) << base;
        EXPECT_TRUE(isListOrdered(anchors)) << base;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_FALSE(anchors[i].empty()) << base << " " << i;
            EXPECT_NE(entries[i].find("^<"), std::string::npos) << entries[i];
            EXPECT_NE(entries[i].find("~>"), std::string::npos) << entries[i];
        }
    }
}

TEST_F(DeliveredHome, ReimportingTheGrammarSourcesChangesNothing) {
    const std::string grammar = kDelivered + "/../grammar/";
    testing::CliRun ec = cli({"--json", "grammar", "import", grammar + "starter_EC.sag"});
    ASSERT_EQ(ec.exitCode, 0) << ec.err;
    EXPECT_NE(ec.out.find("\"added\":0"), std::string::npos) << ec.out;
    EXPECT_NE(ec.out.find("\"refused\":0"), std::string::npos) << ec.out;
    testing::CliRun ce = cli({"--json", "--direction", "ce", "grammar", "import", grammar + "starter_CE.sag"});
    ASSERT_EQ(ce.exitCode, 0) << ce.err;
    EXPECT_NE(ce.out.find("\"added\":0"), std::string::npos) << ce.out;
    EXPECT_EQ(home.read("userdata/modesEC.m2"), [] {
        DiskFileSystem fs;
        return *fs.readFile(kDelivered + "/userdata/modesEC.m2");
    }());
}

TEST_F(DeliveredHome, EnglishRulesReorderAnAnalysedSentence) {
    home.write("userdata/MyDictEC.01", "go\r\ni\r\nto\r\nwant\r\nyou\r\n");
    home.write("userdata/MyDictEC.02", "去^^v^\r\n我^^^\r\n到^^^\r\n想要^^v^\r\n你^^^\r\n");
    testing::CliRun run = cli({"mt", "--explain", "I want you to go."});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), utf8("我要你去。"));
    EXPECT_NE(run.out.find("want * to\n"), std::string::npos) << run.out;
}

TEST_F(DeliveredHome, ChineseRulesReorderAndSpanTheirComma) {
    home.write("userdata/MyDictCE.01", "检 查\r\n设 备\r\n我 们\r\n下 雨\r\n");
    home.write("userdata/MyDictCE.02", "inspect^^^\r\nequipment^^^\r\nwe^^^\r\nrain^^^\r\n");
    testing::CliRun run = cli({"--direction", "ce", "mt", "--explain", utf8("我们对设备进行检查。")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find(utf8("对 * 进 行 *\n#2 #1\n")), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("inspect"), std::string::npos);
    EXPECT_LT(run.out.find("inspect"), run.out.find("equipment"));
    // The clause pair holds the comma in its pattern, so the comma does not stop it.
    run = cli({"--direction", "ce", "mt", "--explain", utf8("因为下雨，所以我们检查设备。")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find(' ')), "because");
}

// ---- the verb.dat builder -------------------------------------------------------------------

class VerbBuilder : public ::testing::Test {
protected:
    testing::CliRun cli(std::vector<std::string> arguments) { return testing::runCli(arguments, config.path()); }
    testing::TempFolder work, config;
};

TEST_F(VerbBuilder, SortsTheFormsAndLeavesOutWhatTheFieldsCannotHold) {
    const std::string tooLong(30, 'x');
    work.write("forms.tsv", "went\tgo\r\nchildren\tchild\r\n" + tooLong + "\tlong\r\n\r\nBetter\tgood\n");
    testing::CliRun run = cli({"--json", "data", "verbs", work.file("forms.tsv"), work.file("verb.dat")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "{\"forms\":3,\"skipped\":1}\n");
    EXPECT_NE(run.err.find(":3:"), std::string::npos) << run.err;
    DiskFileSystem fs;
    Result<VerbForms> forms = loadVerbForms(fs, work.file("verb.dat"));
    ASSERT_TRUE(forms.isOk());
    EXPECT_EQ(forms->formList, (LineList{"Better", "children", "went"}));
    EXPECT_EQ(forms->baseOf("better"), "good");
    EXPECT_EQ(forms->baseOf(tooLong), "");
}

TEST_F(VerbBuilder, ALineWithoutTabStopsTheBuild) {
    work.write("forms.tsv", "went\tgo\r\nchildren child\r\n");
    testing::CliRun run = cli({"data", "verbs", work.file("forms.tsv"), work.file("verb.dat")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(":2:"), std::string::npos) << run.err;
    EXPECT_FALSE(work.exists("verb.dat"));
}

// ---- demo sentence libraries -----------------------------------------------------------------

class DeliveredDemoLibraries : public testing::CliHomeTest {};

// Every pair is in its library, and the demo documents find their sentences in it: whole,
// and with a changed word adapted.
TEST_F(DeliveredDemoLibraries, HoldEveryPairAndServeTheDemoDocuments) {
    for (auto [library, pairs] : {std::pair{"DemoEC", "demo_pairs_ec.txt"}, {"DemoCE", "demo_pairs_ce.txt"}}) {
        EXPECT_EQ(deliveredLines(std::string("userdata/") + library + ".rf0").size(),
                  deliveredLines(std::string("demo/") + pairs).size())
            << library;
        EXPECT_EQ(deliveredLines(std::string("userdata/") + library + ".irf")[2], library);
    }
    ASSERT_EQ(cli({"tm", "use", "DemoEC"}).exitCode, 0);
    testing::CliRun exact = cli({"--json", "tm", "search", "Clean the filter once a month."});
    EXPECT_NE(exact.out.find("\"rate\": 100"), std::string::npos) << exact.out;
    testing::CliRun near = cli({"--json", "tm", "search", "Check the filter once a month."});
    EXPECT_NE(near.out.find("\"rate\": 85"), std::string::npos) << near.out;
    EXPECT_NE(near.out.find(utf8("\"adapted\": \"每月检查一次过滤器。\"")), std::string::npos) << near.out;

    ASSERT_EQ(cli({"--direction", "ce", "tm", "use", "DemoCE"}).exitCode, 0);
    testing::CliRun ce = cli({"--direction", "ce", "tm", "search", reinterpret_cast<const char*>(u8"主滤网一般每两个月更换一次。")});
    EXPECT_NE(ce.out.find("every two months"), std::string::npos) << ce.out;
}

}  // namespace
}  // namespace tavricat
