// Grammar records, pattern keys and anchors, and the operations that change the library.

#include <gtest/gtest.h>

#include "app/workbench_fixture.h"
#include "engine/engine.h"
#include "app/grammar_commands.h"
#include "grammar/grammar_record.h"

namespace tavricat {
namespace {

TEST(GrammarLibraryRecordTest, OptionsFormatAndParse) {
    const struct {
        GrammarOption option;
        const char* text;
    } cases[] = {
        {{GrammarFlag::None, {0, 0, 0}}, ""},
        {{GrammarFlag::Associated, {0, 0, 0}}, "0"},
        {{GrammarFlag::Aligned, {2, 0, 0}}, "1(2 0 0)"},
        {{GrammarFlag::None, {0, 0, 9}}, "(0 0 9)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatGrammarOption(c.option), c.text);
        Result<GrammarOption> parsed = parseGrammarOption(c.text);
        ASSERT_TRUE(parsed.isOk()) << c.text;
        EXPECT_EQ(*parsed, c.option) << c.text;
    }
    EXPECT_EQ(parseGrammarOption("1(2,0,3)")->limits, (std::array<int, 3>{2, 0, 3}));
    for (const char* bad : {"2", "11", "1(12 0 0)", "(1 2)", "1(2 0 0)x", "1 (2 0 0)"})
        EXPECT_EQ(parseGrammarOption(bad).status().kind(), ErrorKind::BadInput) << bad;
}

TEST(GrammarLibraryRecordTest, RecordsSplitAtTheFirstTwoCaretsOnCharacterBoundaries) {
    const struct {
        const char* record;
        GrammarRecord split;
        bool roundTrips;  // a record with both carets is written back as it was
    } cases[] = {
        {"look after {sb}^1^照顾@1", {"look after {sb}", "1", "照顾@1"}, true},
        {"a^^b^c", {"a", "", "b^c"}, true},
        {"a^1", {"a", "1", ""}, false},
        {"a", {"a", "", ""}, false},
        {"\x81^x^^t", {"\x81^x", "", "t"}, true},  // 0x81 0x5E is one character, not a "^"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitGrammarRecord(c.record), c.split) << c.record;
        if (c.roundTrips) {
            EXPECT_EQ(formatGrammarRecord(c.split), c.record);
        }
    }
    EXPECT_TRUE(parseGrammarRecord("a^0(1 0 3)^t").isOk());
    for (const char* bad : {"a^b", "a", " ^^t", "a^2^t", "a^1(12 0 0)^t"})
        EXPECT_EQ(parseGrammarRecord(bad).status().kind(), ErrorKind::BadInput) << bad;

    EXPECT_EQ(grammarDialogRecord("look after {sb}", "照顾＃1，｛·1｝", {GrammarFlag::Aligned, {2, 0, 0}}),
              "look after {sb}^1(2 0 0)^照顾#1，{@1}");
}

TEST(GrammarLibraryKeyTest, PatternKeysAndAnchorsFromTheAnalysis) {
    const struct {
        Direction direction;
        const char* source;
        const char* key;
        const char* anchor;
    } cases[] = {
        {Direction::EC, "Look After {sb}", "look after {sb}", "look after"},  // literal before a group
        {Direction::EC, "It is { adj } to *", "it is {adj} to *", "it is"},
        {Direction::EC, "{ Ing } *", "{ing} *", "lxm"},  // only slots
        {Direction::EC, "{n} of {m}", "{n} of {m}", "of"},
        {Direction::EC, "x {n} of the", "x {n} of the", "of the"},  // the longer stretch after
        {Direction::EC, "ab {n} cd", "ab {n} cd", "ab"},            // a tie keeps the first
        {Direction::EC, "as * as", "as * as", "as"},
        {Direction::EC, "look after", "look after", "look after"},
        {Direction::EC, "It can't be *.", "it can not be * .", "it can not be"},
        {Direction::CE, "把{n}当作*", "把 {n} 当 作 *", "当 作"},
        {Direction::CE, "我们*走", "我 们 * 走", "我 们"},
        // Group names are tags, not words: Chinese class names survive the EC analysis.
        {Direction::EC, "{比较级} than *", "{比较级} than *", "than"},
        {Direction::EC, "the { 复数 } of {N}", "the {复数} of {n}", "the"},
        {Direction::CE, "{复数}的*", "{复数} 的 *", "的"},
        {Direction::EC, "look {after", "look {after", "look"},  // unclosed: the rest analysed
    };
    for (const auto& c : cases) {
        Engine engine;
        const std::string key = grammarPatternKey(c.source, engine, {c.direction, true, true});
        EXPECT_EQ(key, c.key) << c.source;
        EXPECT_EQ(grammarAnchor(key), c.anchor) << c.source;
    }
}

TEST(GrammarLibraryKeyTest, AnchorRuleEdges) {
    EXPECT_EQ(grammarAnchor(""), "lxm");
    EXPECT_EQ(grammarAnchor("{a} {b}"), "lxm");
    EXPECT_EQ(grammarAnchor("a b {c d"), "a b");  // an unclosed group runs to the end
    EXPECT_EQ(grammarAnchor("ab {x} cd {y}"), "ab");   // equal stretches: the first stays
    EXPECT_EQ(grammarAnchor("ab {x} cde {y}"), "cde");
    // 0x81 0x7B is one character: its trail byte does not open a group.
    EXPECT_EQ(grammarAnchor("\x81{ab {n}"), "\x81{ab");
    EXPECT_EQ(removeBlanksInGroups("a { b c } d {e f"), "a {bc} d {ef");
}

TEST(GrammarLibraryKeyTest, EntryLinesReplaceTheAnchorInTheWholeLine) {
    GrammarPlacementLines ec = grammarLinesFor("look after {sb}", "1(2 0 0)", "照 顾 #1 look after", Direction::EC);
    EXPECT_EQ(ec.anchor, "look after");
    EXPECT_EQ(ec.entry, "~ {sb}^<1(2 0 0)~>照顾 #1 ~");  // EC: blanks between Chinese characters go
    EXPECT_EQ(ec.key, "~ {sb}^");

    GrammarPlacementLines ce = grammarLinesFor("把 {n} 当 作 *", "", "take #1 as 当 作", Direction::CE);
    EXPECT_EQ(ce.entry, "把 {n} ~ *^<~>take #1 as ~");
    EXPECT_EQ(grammarLinesFor("{ing} *", "", "正在@1", Direction::EC).entry, "{ing} *^<~>正在@1");
    // "ab" inside 0x81 0x61 + "b" straddles a character boundary and stays.
    EXPECT_EQ(grammarLinesFor("ab {n}", "", "\x81\x61" "b ab", Direction::EC).entry, "~ {n}^<~>\x81\x61" "b ~");
}

class GrammarLibraryEditTest : public ::testing::Test {
protected:
    GrammarChange add(const std::string& record) { return *addGrammarRecord(scope, record); }
    GrammarChange del(const std::string& record) { return *deleteGrammarRecord(scope, record); }

    Engine engine;
    GrammarLibrary library;
    GrammarScope scope{library, engine, {Direction::EC, true, true}};
};

TEST_F(GrammarLibraryEditTest, AddKeepsAnchorsSortedWithTheirEntriesAndNeverTwice) {
    EXPECT_EQ(add("want * to^^想要#1"), GrammarChange::Added);
    EXPECT_EQ(add("look after {sb}^1^照 顾@1"), GrammarChange::Added);
    EXPECT_EQ(add("as * as^^和#1一样"), GrammarChange::Added);
    EXPECT_EQ(add("{ing} *^^正在@1"), GrammarChange::Added);
    EXPECT_EQ(add("as * as^^像#1一样"), GrammarChange::Added);
    EXPECT_EQ(add("Look After {sb}^1^照顾@1"), GrammarChange::AlreadyPresent);
    EXPECT_EQ(library.anchors, (LineList{"as", "as", "look after", "lxm", "want"}));
    EXPECT_EQ(library.entries, (LineList{"~ * ~^<~>和#1一样", "~ * ~^<~>像#1一样", "~ {sb}^<1~>照顾@1",
                                         "{ing} *^<~>正在@1", "~ * to^<~>想要#1"}));
}

TEST_F(GrammarLibraryEditTest, DeleteTakesTheLineOfTheRecordAmongEqualAnchors) {
    add("as * as^^和#1一样");
    add("as * as^^像#1一样");
    add("as {adj} as^^像@1一样");
    add("x {n} of^^x的#1");
    add("{n} of^^#1的");
    // The second of two lines with the same key: its target decides.
    EXPECT_EQ(del("as * as^^像#1一样"), GrammarChange::Deleted);
    // Found by walking back from the last line of its anchor.
    EXPECT_EQ(del("as {adj} as^^"), GrammarChange::Deleted);
    // "{n} ~^" occurs inside "x {n} ~^...", but only a line that begins with it is the one.
    EXPECT_EQ(del("{n} of^^"), GrammarChange::Deleted);
    EXPECT_EQ(library.anchors, (LineList{"as", "of"}));
    EXPECT_EQ(library.entries, (LineList{"~ * ~^<~>和#1一样", "x {n} ~^<~>x的#1"}));

    const GrammarLibrary before = library;
    EXPECT_EQ(del("as {n} as^^"), GrammarChange::NotPresent);
    EXPECT_EQ(del("never added^^"), GrammarChange::NotPresent);
    EXPECT_EQ(library.anchors, before.anchors);
    EXPECT_EQ(library.entries, before.entries);
}

TEST_F(GrammarLibraryEditTest, RefusedAndEmptyRecordsChangeNothing) {
    add("want * to^^想要#1");
    const GrammarLibrary before = library;
    for (const char* bad : {"look after", "^^x", "a^9^x", "，^^x" /* no English left: empty key */}) {
        Result<GrammarChange> change = addGrammarRecord(scope, bad);
        EXPECT_EQ(change.status().kind(), ErrorKind::BadInput) << bad;
        EXPECT_FALSE(change.status().message().empty());
    }
    EXPECT_EQ(deleteGrammarRecord(scope, "^^x").status().kind(), ErrorKind::BadInput);
    EXPECT_EQ(add("  "), GrammarChange::None);
    EXPECT_EQ(del(""), GrammarChange::None);
    EXPECT_EQ(library.anchors, before.anchors);
    EXPECT_EQ(library.entries, before.entries);
}

TEST_F(GrammarLibraryEditTest, ImportedLinesAddDeleteOrAddPlainRecords) {
    EXPECT_EQ(*importGrammarLine(scope, "aalook after {sb}^^照顾@1"), GrammarChange::Added);
    EXPECT_EQ(*importGrammarLine(scope, "want * to^^想要#1"), GrammarChange::Added);
    EXPECT_EQ(*importGrammarLine(scope, "ddlook after {sb}^^照顾@1"), GrammarChange::Deleted);
    EXPECT_EQ(library.entries, (LineList{"~ * to^<~>想要#1"}));

    // A record is cut at 3000 bytes, never inside a character.
    const std::string record = "k {n}^^" + std::string(2992, 'x');  // 2999 bytes
    EXPECT_EQ(*importGrammarLine(scope, "aa" + record + "我tail"), GrammarChange::Added);
    EXPECT_EQ(library.entries[0], "~ {n}^<~>" + std::string(2992, 'x'));
}

class GrammarLibraryWorkbenchTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        // Start from empty libraries rather than the delivered starter grammar.
        for (const char* name : {"modesEC.m1", "modesEC.m2", "modesCE.m1", "modesCE.m2"})
            home.write(std::string("userdata/") + name, "");
    }
    std::unique_ptr<Workbench> started(std::optional<Direction> direction = std::nullopt) {
        auto bench = makeWorkbench(direction);
        EXPECT_TRUE(bench->start().isOk());
        return bench;
    }
};

TEST_F(GrammarLibraryWorkbenchTest, SagImportCountsEveryLineAndIsNotLogged) {
    home.write("g.sag",
               "aalook after {sb}^1^照顾@1\r\n"
               "want * to^^想要#1\r\n"
               "\r\n"
               "aaas * as^^和#1一样\r\n"
               "ddwant * to^^\r\n"
               "ddnever added^^\r\n"
               "aalook after {sb}^1^照顾@1\r\n"
               "no carets here\r\n");
    auto bench = started();
    bench->settings.shareMode = 1;
    bench->settings.curShareLibName = "/shared/team.db";
    progress.events.clear();

    Result<GrammarImportReport> report = importGrammarFile(*bench, home.file("g.sag"));
    ASSERT_TRUE(report.isOk());
    EXPECT_EQ(bench->grammar.anchors, (LineList{"as", "look after"}));
    EXPECT_EQ(bench->grammar.entries, (LineList{"~ * ~^<~>和#1一样", "~ {sb}^<1~>照顾@1"}));
    EXPECT_EQ(report->lines, 8u);
    EXPECT_EQ(report->added, 3u);
    EXPECT_EQ(report->deleted, 1u);
    EXPECT_EQ(report->unchanged, 2u);
    EXPECT_EQ(report->blank, 1u);
    EXPECT_EQ(report->refused.size(), 1u);
    EXPECT_EQ(dialogs.messages.back(), "语法更新完毕！共加入语法8条。");
    EXPECT_EQ(progress.events.front(), "show:正在更新语法库，请等待.../0@0");
    EXPECT_EQ(progress.events.back(), "hide");
    EXPECT_TRUE(bench->newGrammarEntries.empty());
    EXPECT_TRUE(bench->toBeSent.empty());

    EXPECT_EQ(importGrammarFile(*bench, home.file("missing.sag")).status().kind(), ErrorKind::NotFound);
    EXPECT_EQ(bench->grammar.anchors.size(), 2u);
}

TEST_F(GrammarLibraryWorkbenchTest, SagFilesInUtf8AreConvertedAndAMarkIsNoPartOfALine) {
    const std::string utf8 = reinterpret_cast<const char*>(u8"aalook after {sb}^1^照顾@1\r\n");
    home.write("bom.sag", "\xEF\xBB\xBF" + utf8);
    home.write("plain.sag", reinterpret_cast<const char*>(u8"aaas * as^^和#1一样\r\n"));
    home.write("emoji.sag", reinterpret_cast<const char*>(u8"aasmile * now^^\U0001F600#1\r\n"));
    auto bench = started();
    for (const char* name : {"bom.sag", "plain.sag"}) {
        Result<GrammarImportReport> report = importGrammarFile(*bench, home.file(name));
        ASSERT_TRUE(report.isOk()) << name;
        EXPECT_EQ(report->added, 1u) << name;
        EXPECT_TRUE(report->refused.empty()) << name;
    }
    EXPECT_EQ(bench->grammar.anchors, (LineList{"as", "look after"}));
    EXPECT_EQ(bench->grammar.entries, (LineList{"~ * ~^<~>和#1一样", "~ {sb}^<1~>照顾@1"}));

    Result<GrammarImportReport> refused = importGrammarFile(*bench, home.file("emoji.sag"));
    ASSERT_FALSE(refused.isOk());
    EXPECT_NE(refused.status().message().find("U+1F600"), std::string::npos);
    EXPECT_EQ(bench->grammar.anchors.size(), 2u);
}

TEST_F(GrammarLibraryWorkbenchTest, OwnChangesAreLoggedAndQueuedOnlyWhenSending) {
    auto bench = started();
    const struct {
        int shareMode;
        const char* library;
        bool queued;
    } cases[] = {{1, "/s/a.db", true}, {3, "/s/a.db", true}, {2, "/s/a.db", false}, {4, "/s/a.db", false}, {1, "", false}};
    const std::string record = "want * to^^想要#1";
    for (const auto& c : cases) {
        bench->settings.shareMode = c.shareMode;
        bench->settings.curShareLibName = c.library;
        bench->newGrammarEntries.clear();
        bench->toBeSent.clear();
        EXPECT_EQ(*addGrammarPattern(*bench, record), GrammarChange::Added);
        EXPECT_EQ(*addGrammarPattern(*bench, record), GrammarChange::AlreadyPresent);
        EXPECT_EQ(*deleteGrammarPattern(*bench, record), GrammarChange::Deleted);
        EXPECT_EQ(*deleteGrammarPattern(*bench, record), GrammarChange::NotPresent);
        EXPECT_EQ(bench->newGrammarEntries, (LineList{"aa" + record, "dd" + record}));
        const LineList queued = c.queued ? LineList{"B^aa" + record, "B^dd" + record} : LineList{};
        EXPECT_EQ(bench->toBeSent, queued) << c.shareMode;
    }
}

TEST_F(GrammarLibraryWorkbenchTest, ChineseRecordsGetBlanksWhenAddedAndAreDeletedAsTyped) {
    auto bench = started(Direction::CE);
    EXPECT_EQ(*addGrammarPattern(*bench, "我们*走^^we * go"), GrammarChange::Added);
    EXPECT_EQ(bench->grammar.anchors, (LineList{"我 们"}));
    EXPECT_EQ(bench->grammar.entries, (LineList{"~ * 走^<~>we * go"}));
    EXPECT_EQ(*deleteGrammarPattern(*bench, "我们*走^^"), GrammarChange::Deleted);
    EXPECT_EQ(bench->newGrammarEntries, (LineList{"aa我 们 * 走 ^^we * go", "dd我们*走^^"}));
    EXPECT_TRUE(bench->grammar.anchors.empty());
}

TEST_F(GrammarLibraryWorkbenchTest, ReferenceWindowSelectsWholePairs) {
    const LineList four{"p1", "t1", "p2", "t2"};
    const struct {
        long selected;
        std::optional<std::size_t> start;
    } cases[] = {{-1, std::nullopt}, {0, 0}, {1, 0}, {2, 2}, {3, 2}, {4, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(placementPairStart(four, c.selected), c.start) << c.selected;
    EXPECT_EQ(placementPairStart({"p1", "t1", "p2"}, 2), std::nullopt);
}

TEST_F(GrammarLibraryWorkbenchTest, TemporaryAndPermanentDeleteOfAPlacement) {
    auto bench = started();
    ASSERT_EQ(*addGrammarRecord(grammarScope(*bench), "want * to^^想要#1"), GrammarChange::Added);
    std::vector<MatchRecord> table(3);
    table[0].pattern = table[1].pattern = "look after {sb}";
    table[0].templ = table[1].templ = "照顾@1";
    table[2].pattern = "want * to";
    table[2].templ = "想要#1";
    LineList lines{"look after {sb}", "照顾@1", "want * to", "想要#1"};

    EXPECT_FALSE(dropPlacementForSentence(lines, table, 7));
    EXPECT_TRUE(dropPlacementForSentence(lines, table, 1));
    EXPECT_TRUE(table[0].disabled() && table[1].disabled());
    EXPECT_FALSE(table[2].disabled());
    EXPECT_EQ(lines, (LineList{"want * to", "想要#1"}));
    EXPECT_EQ(bench->grammar.anchors.size(), 1u);  // the temporary delete leaves the library

    EXPECT_TRUE(*deletePlacementPermanently(*bench, lines, table, 0));
    EXPECT_TRUE(table[2].disabled());
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(bench->grammar.anchors.empty());
    EXPECT_EQ(bench->newGrammarEntries, (LineList{"ddwant * to^^想要#1"}));
}

TEST_F(GrammarLibraryWorkbenchTest, ModifyReplacesAPatternWithTheSameSourceOnly) {
    auto bench = started();
    ASSERT_TRUE(addGrammarPattern(*bench, "look after {sb}^1^照顾@1").isOk());
    EXPECT_EQ(*modifyPlacement(*bench, "look after {sb}", "照顾@1", "Look after {sb}^1^照料@1"), GrammarChange::Added);
    EXPECT_EQ(bench->grammar.entries, (LineList{"~ {sb}^<1~>照料@1"}));
    // A new source is a new pattern beside the old one.
    EXPECT_EQ(*modifyPlacement(*bench, "look after {sb}", "照料@1", "take care of {sb}^^照顾@1"), GrammarChange::Added);
    EXPECT_EQ(bench->grammar.anchors, (LineList{"look after", "take care of"}));
    // A refused record does not take the old pattern away.
    EXPECT_FALSE(modifyPlacement(*bench, "look after {sb}", "照料@1", "，^^x").isOk());
    EXPECT_EQ(*modifyPlacement(*bench, "look after {sb}", "照料@1", ""), GrammarChange::None);
    EXPECT_EQ(bench->grammar.anchors.size(), 2u);
    EXPECT_EQ(bench->newGrammarEntries,
              (LineList{"aalook after {sb}^1^照顾@1", "ddlook after {sb}^^照顾@1", "aaLook after {sb}^1^照料@1",
                        "aatake care of {sb}^^照顾@1"}));
}

}  // namespace
}  // namespace tavricat
