// The sentence getters: whole texts cut sentence by sentence (table: text and the sentences it
// yields), existing segments and revision picks, where a getter starts, the string form, and
// cutting a long document in linear time.
//
// Every table row is cut twice: once moving the caret to the end of each pick, once calling
// the getter again and again without touching the buffer; both walks must agree and end.
// A revision pick is listed as "R:" + the segment's source.

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "document/sentence_getters.h"

namespace tavricat {
namespace {

using Sentences = std::vector<std::string>;
using Getter = std::function<SentencePick(RichText&)>;

constexpr BreakOptions kDefault{};
constexpr BreakOptions kNoLineStop{false, false, false};
constexpr BreakOptions kTabStop{true, true, false};
constexpr BreakOptions kTagStop{false, true, true};

RichText bufferOf(std::string_view text) {
    RichText rt;
    rt.append(text, CharFormat{});
    return rt;
}

// Picks until the empty sentence at the end of the text. With `moveCaret` the caret goes to
// the end of each pick, as a caller cutting a document does.
Sentences cut(std::string_view text, const Getter& get, bool moveCaret) {
    RichText buffer = bufferOf(text);
    Sentences out;
    for (std::size_t guard = 0; guard <= text.size() + 1; ++guard) {
        SentencePick pick = get(buffer);
        if (pick.sentence.empty() && !pick.revision) {
            EXPECT_EQ(buffer.selStart(), buffer.size()) << "an empty pick before the end";
            EXPECT_EQ(buffer.selLength(), 0u);
            return out;
        }
        if (!pick.revision) {
            EXPECT_EQ(buffer.selectedText(), pick.sentence);
        }
        out.push_back(pick.revision ? "R:" + pick.sentence : pick.sentence);
        if (moveCaret) buffer.setCaret(buffer.selStart() + buffer.selLength());
    }
    ADD_FAILURE() << "the getter does not reach the end of: " << text;
    return out;
}

struct CutCase {
    BreakOptions options;
    const char* text;
    Sentences expected;
};

void expectCuts(const CutCase& c, const std::function<Getter(const BreakOptions&)>& makeGetter) {
    const Getter get = makeGetter(c.options);
    EXPECT_EQ(cut(c.text, get, true), c.expected) << c.text;
    EXPECT_EQ(cut(c.text, get, false), c.expected) << "repeated calls: " << c.text;
}

const std::vector<std::string> kAbbreviations = {"Dr.", "Mr."};
const std::vector<std::string> kTermKeys = {"approx.", "vs."};

Getter englishGetter(const BreakOptions& options, bool rawMode = false) {
    return [options, rawMode](RichText& buffer) {
        const SortedListsLookup lookup({&kAbbreviations, &kTermKeys});
        return getASentEC(buffer, options, lookup, rawMode);
    };
}

Getter chineseGetter(const BreakOptions& options, bool rawMode = false) {
    return [options, rawMode](RichText& buffer) { return getASentCE(buffer, options, rawMode); };
}

// --- English source ---------------------------------------------------------------------

TEST(SentenceEnglishTest, CutsTexts) {
    const CutCase cases[] = {
        {kDefault, "Mr. Smith came. He left.", {"Mr. Smith came. ", "He left."}},
        {kDefault, "MR. Smith came.", {"MR. Smith came."}},
        {kDefault, "Ms. Smith came.", {"Ms. ", "Smith came."}},
        {kDefault, "It costs approx. Ten dollars.", {"It costs approx. Ten dollars."}},
        {kDefault, "See e.g. this one. Next", {"See e.g. this one. ", "Next"}},
        {kDefault, "It is 3.5 m.", {"It is 3.5 m."}},
        {kDefault, "It is 3.5 m. More here.", {"It is 3.5 m. More here."}},
        {kDefault, "Is it? Yes.", {"Is it? ", "Yes."}},
        {kDefault, "Wait! it works. Go", {"Wait! it works. ", "Go"}},
        {kDefault, "Note: this; that? End", {"Note: ", "this; ", "that? ", "End"}},
        {kDefault, "Half:way; and?no", {"Half:way; ", "and?no"}},
        {kDefault, "Done.\r\nNext line", {"Done.", "Next line"}},
        {kDefault, "Line one\r\nline two\r\n", {"Line one", "line two"}},
        {kDefault, "One\rtwo\nthree", {"One\rtwo\nthree"}},
        {kNoLineStop, "This is a\r\nlong sentence. Next", {"This is a\r\nlong sentence. ", "Next"}},
        {kNoLineStop, "A list\r\n1) item", {"A list", "1) item"}},
        {kNoLineStop, "A list\r\n  2. item", {"A list", "2. item"}},
        {kNoLineStop, "Words\r\na) b", {"Words", "a) b"}},
        {kNoLineStop, "Title\r\n\r\nBody", {"Title", "Body"}},
        {kNoLineStop, "Ends here\r\n", {"Ends here"}},
        {kDefault, "Cell one\tCell two", {"Cell one\tCell two"}},
        {kTabStop, "Cell one\tCell two\x07" "Three", {"Cell one", "Cell two", "Three"}},
        {kDefault, "Click <1:>here<:1> now.", {"Click <1:>here<:1> now."}},
        {kTagStop, "Click <1:>here<:1> now.", {"Click ", "here", "now."}},
        {kTagStop, "<:3:>Alone", {"Alone"}},
        {kTagStop, "a <b> c", {"a <b> c"}},
        {kDefault, "Hello world{*> x", {"Hello world", "{*> x"}},
        {kDefault, "| ~ } OK", {"OK"}},
        {kDefault, "中文 English here. 中文", {"English here. "}},
        {kDefault, "a <", {"a ", "<"}},
        {kDefault, "x {", {"x ", "{"}},
        {kDefault, "End\x81", {"End\x81"}},
        {kDefault, "\x81", {}},
        {kDefault, "", {}},
        {kDefault, " \r\n\t 中文 ", {}},
        // Trail bytes that look like ASCII: "乗" ends in "\\", "亄" in "{".
        {kDefault, "乗Hello.", {"Hello."}},
        {kDefault, "Say 亄*> now.", {"Say 亄*> now."}},
        {kDefault, "Say 亄", {"Say 亄"}},
        // Existing segments: picked as revisions, never run into.
        {kDefault, "Hello world{*>Good.<}90{>好。<*}", {"Hello world", "R:Good."}},
        {kDefault, "Ab cd. {*>Ce de.<}90{>丙<*}{*>Ef gh.<}90{><*}Gh ij.", {"Ab cd. ", "R:Ce de.", "R:Ef gh.", "Gh ij."}},
        {kDefault, "{*>A.<}999{>甲<*}<*} Tail", {"R:A.", "Tail"}},
    };
    for (const auto& c : cases) expectCuts(c, [](const BreakOptions& o) { return englishGetter(o); });
}

TEST(SentenceEnglishTest, AbbreviationListsAreSearchedWithoutCase) {
    const SortedListsLookup lookup({&kAbbreviations, &kTermKeys});
    EXPECT_TRUE(lookup.contains("mr."));
    EXPECT_TRUE(lookup.contains("VS."));
    EXPECT_FALSE(lookup.contains("Mrs."));
    EXPECT_FALSE(SortedListsLookup({}).contains("Mr."));
}

// --- Chinese source ---------------------------------------------------------------------

TEST(SentenceChineseTest, CutsTexts) {
    const CutCase cases[] = {
        {kDefault, "你好。我们走吧！", {"你好。", "我们走吧！"}},
        {kDefault, "他说：“好。”然后", {"他说：", "“好。”", "然后"}},
        {kDefault, "真的？！）再见", {"真的？！）", "再见"}},
        {kDefault, "好。”」再见", {"好。”」", "再见"}},
        {kDefault, "你好! \"再见", {"你好! \"", "再见"}},
        {kDefault, "一；二。", {"一；二。"}},
        {kDefault, "。开头", {"。开头"}},
        {kDefault, "第3.5节。", {"第3.5节。"}},
        // "啊Ａ" is B0A1 A3C1: its middle bytes spell "。", which is no character here.
        {kDefault, "我啊Ａ好。再见", {"我啊Ａ好。", "再见"}},
        {kDefault, "好。亇乚", {"好。", "亇乚"}},
        {kDefault, "第一行\r\n第二行", {"第一行", "第二行"}},
        {kNoLineStop, "第一行\r\n第二行。", {"第一行\r\n第二行。"}},
        {kNoLineStop, "第一行\r\n 第二行", {"第一行", "第二行"}},
        {kNoLineStop, "第一行\r\n2号线", {"第一行", "2号线"}},
        {kNoLineStop, "标题\r\n\r\n正文", {"标题", "正文"}},
        {kDefault, "甲\t乙", {"甲\t乙"}},
        {kTabStop, "甲\t乙", {"甲", "乙"}},
        {kDefault, "你好<1:>世界<:1>。再见", {"你好<1:>世界<:1>。", "再见"}},
        {kTagStop, "你好<1:>世界<:1>。再见", {"你好", "世界<:1>。", "再见"}},
        {kTagStop, "图<:2:>说明。", {"图<:2:>", "说明。"}},
        {kTagStop, "比较a<:b。", {"比较a<:", "b。"}},
        {kDefault, "　　你好。", {"你好。"}},
        {kDefault, "　\r\n你好。", {"你好。"}},
        {kDefault, "你好\r\n", {"你好"}},
        {kDefault, "你好\xC4", {"你好\xC4"}},
        {kDefault, "", {}},
        {kDefault, " \r\n}<*}", {}},
        {kDefault, "前言{*>你好。<}90{>Hello.<*}后记。", {"前言", "R:你好。", "后记。"}},
    };
    for (const auto& c : cases) expectCuts(c, [](const BreakOptions& o) { return chineseGetter(o); });
}

struct StringCase {
    BreakOptions options;
    const char* text;
    std::size_t position;
    std::size_t limit;
    const char* sentence;
    std::size_t newPosition;
};

TEST(SentenceStringFormTest, AppliesTheChineseRulesBetweenPositionAndLimit) {
    constexpr std::size_t kAll = std::string::npos;
    const StringCase cases[] = {
        {kDefault, "你好。我们走吧！", 0, kAll, "你好。", 6},
        {kDefault, "你好。我们走吧！", 6, kAll, "我们走吧！", 16},
        {kDefault, "他说：“好。”然后", 6, kAll, "“好。”", 14},
        {kDefault, "你好。”」我们", 0, 6, "你好。", 10},  // the marks after the limit move only the position
        {kDefault, "你好。我们", 0, 4, "你好", 4},
        {kDefault, "  \r\n你好", 0, 4, "", 4},
        {kDefault, "你好。", 6, 6, "", 6},
        {kDefault, "你好。再见", 1, kAll, "好。", 6},  // a start on a trail byte moves to the next character
        {kTabStop, "甲\t乙", 0, kAll, "甲\t", 3},
        {kDefault, "　你好\r\n", 0, kAll, "　你好\r\n", 8},
    };
    for (const auto& c : cases) {
        std::size_t position = c.position;
        EXPECT_EQ(nextChineseSentenceIn(c.text, position, c.limit, c.options), c.sentence) << c.text << " from " << c.position;
        EXPECT_EQ(position, c.newPosition) << c.text << " from " << c.position;
    }
}

// --- existing segments ------------------------------------------------------------------

struct CaretCase {
    const char* before;  // the caret stands right before the first occurrence of this
    std::size_t offset;  // ... plus this
    const char* sentence;
    bool revision;
};

TEST(SentenceSegmentTest, CaretInASegmentPicksItsSourceAndSelectsItsTranslation) {
    const std::string text = "Intro. {*>Good morning.<}87{>早上好。<*} Next one.";
    const CaretCase cases[] = {
        {"Good", 2, "Good morning.", true},  {"早上", 2, "Good morning.", true},
        {"<}87", 1, "Good morning.", true},  {"{*>", 0, "Good morning.", true},
        {"{*>", 1, "Good morning.", true},   {" {*>", 0, "Good morning.", true},
        {"<*}", 0, "Next one.", false},      {"<*}", 1, "Next one.", false},
        {"<*}", 2, "Next one.", false},      {"Intro", 0, "Intro. ", false},
    };
    for (const auto& c : cases) {
        RichText buffer = bufferOf(text);
        buffer.setCaret(text.find(c.before) + c.offset);
        SentencePick pick = getASentEC(buffer, kDefault, SortedListsLookup({}));
        EXPECT_EQ(pick.sentence, c.sentence) << c.before << "+" << c.offset;
        EXPECT_EQ(pick.revision, c.revision) << c.before << "+" << c.offset;
        EXPECT_EQ(buffer.selectedText(), c.revision ? "早上好。" : c.sentence) << c.before << "+" << c.offset;
    }
}

TEST(SentenceSegmentTest, ChineseGetterRevisesTheSegmentTheCaretStandsIn) {
    const std::string text = "开始。{*>你好。<}90{>Hello.<*}结束。";
    for (const char* at : {"你好", "Hello", "llo"}) {
        RichText buffer = bufferOf(text);
        buffer.setCaret(text.find(at));
        SentencePick pick = getASentCE(buffer, kDefault);
        EXPECT_TRUE(pick.revision) << at;
        EXPECT_EQ(pick.sentence, "你好。") << at;
        EXPECT_EQ(buffer.selectedText(), "Hello.") << at;
    }
}

TEST(SentenceSegmentTest, RawModeAndBrokenOrDistantSegmentsGiveNoRevision) {
    {
        const std::string text = "{*>Good morning.<}87{>早上好。<*} Next.";
        RichText buffer = bufferOf(text);
        buffer.setCaret(text.find("Good"));
        SentencePick pick = getASentEC(buffer, kDefault, SortedListsLookup({}), true);
        EXPECT_FALSE(pick.revision);
        EXPECT_EQ(pick.sentence.rfind("Good morning.", 0), 0u);
    }
    for (const std::string& text : {std::string("{*>abc<*} Next."), std::string("{*>abc<}90 and a rate that runs on far too long{>x<*}"),
                                    std::string("{*>abc<}90{>x{*>y<}90{>z<*}")}) {
        RichText buffer = bufferOf(text);
        buffer.setCaret(4);
        EXPECT_FALSE(getASentEC(buffer, kDefault, SortedListsLookup({})).revision) << text.substr(0, 20);
        buffer.setCaret(4);
        EXPECT_FALSE(getASentCE(buffer, kDefault).revision) << text.substr(0, 20);
    }
}

// Automatic translation writes a sentence of 1,100 characters as a segment of several
// kilobytes; walking over it again must revise it, not cut into it.
TEST(SentenceSegmentTest, SegmentsOfAnyLengthAreRevised) {
    std::string english, chinese;
    for (int i = 0; i < 220; ++i) english += i ? " word" : "Word";
    english += ".";
    for (int i = 0; i < 1100; ++i) chinese += "长";
    chinese += "。";
    const std::string ec = "Intro. {*>" + english + "<}90{>" + chinese + "<*} Next.";
    EXPECT_EQ(cut(ec, englishGetter(kDefault), true), (Sentences{"Intro. ", "R:" + english, "Next."}));
    EXPECT_EQ(cut(ec, englishGetter(kDefault), false), (Sentences{"Intro. ", "R:" + english, "Next."}));
    const std::string ce = "开始。{*>" + chinese + "<}90{>" + english + "<*}结束。";
    EXPECT_EQ(cut(ce, chineseGetter(kDefault), true), (Sentences{"开始。", "R:" + chinese, "结束。"}));

    for (std::size_t at : {ec.find("word") + 500, ec.find("长") + 1500, ec.find("<}90")}) {
        RichText buffer = bufferOf(ec);
        buffer.setCaret(at);
        SentencePick pick = getASentEC(buffer, kDefault, SortedListsLookup({}));
        EXPECT_TRUE(pick.revision) << at;
        EXPECT_EQ(pick.sentence, english) << at;
        EXPECT_EQ(buffer.selectedText(), chinese) << at;
    }
}

// Segment markers far from the caret are found in a list of the buffer's markers; a change of
// the text must be seen at once.
TEST(SentenceSegmentTest, MarkersWrittenFarAwayAreSeenAtOnce) {
    std::string text;
    while (text.size() < 20000) text += "Some words here. ";
    RichText buffer = bufferOf(text);
    const std::size_t middle = 10000 - 10000 % 17;
    buffer.setCaret(middle);
    EXPECT_FALSE(getASentEC(buffer, kDefault, SortedListsLookup({})).revision);

    RichText copy = buffer;  // the same text: what was found for one holds for the other
    copy.setCaret(middle);
    EXPECT_FALSE(getASentEC(copy, kDefault, SortedListsLookup({})).revision);

    ASSERT_TRUE(buffer.insert(buffer.size(), "<}90{>x<*}"));
    ASSERT_TRUE(buffer.insert(0, "{*>"));
    buffer.setCaret(middle + 3);
    SentencePick pick = getASentEC(buffer, kDefault, SortedListsLookup({}));
    EXPECT_TRUE(pick.revision);
    EXPECT_EQ(pick.sentence, text);
    EXPECT_EQ(buffer.selectedText(), "x");

    copy.setCaret(middle);
    EXPECT_FALSE(getASentEC(copy, kDefault, SortedListsLookup({})).revision);
}

// --- where a getter starts --------------------------------------------------------------

TEST(SentenceStartTest, ShortSelectionIsDroppedLongSelectionIsPassed) {
    const std::string text = "This is one. That is two.";
    RichText buffer = bufferOf(text);
    buffer.select(0, 2);  // a slip: "Th"
    EXPECT_EQ(getASentEC(buffer, kDefault, SortedListsLookup({})).sentence, "This is one. ");
    buffer.select(0, 5);  // "This " marked: the scan goes on after it
    EXPECT_EQ(getASentEC(buffer, kDefault, SortedListsLookup({})).sentence, "is one. ");
    buffer.setCaret(1);  // a caret inside a word starts the sentence there
    EXPECT_EQ(getASentEC(buffer, kDefault, SortedListsLookup({})).sentence, "his is one. ");
}

TEST(SentenceStartTest, CaretOnATrailByteMovesToTheNextCharacter) {
    RichText buffer = bufferOf("乗Hello.");
    buffer.setCaret(1);  // the "\\" of "乗"
    EXPECT_EQ(getASentEC(buffer, kDefault, SortedListsLookup({})).sentence, "Hello.");
    RichText chinese = bufferOf("你好。再见");
    chinese.setCaret(1);
    EXPECT_EQ(getASentCE(chinese, kDefault).sentence, "好。");
}

// --- long documents ---------------------------------------------------------------------

std::size_t countPicks(RichText& buffer, const Getter& get) {
    std::size_t picks = 0;
    for (;;) {
        SentencePick pick = get(buffer);
        if (pick.sentence.empty() && !pick.revision) return picks;
        ++picks;
        buffer.setCaret(buffer.selStart() + buffer.selLength());
    }
}

// Speed is measured by bench/document_bench; this checks a long document is cut completely.
TEST(SentenceLongDocumentTest, CuttingAMegabyteFindsEverySentence) {
    std::string english, chinese;
    std::size_t units = 0;
    while (english.size() < (1u << 20)) {
        english += "The quick fox jumps. Mr. Brown sleeps? ";
        chinese += "我们走吧！他说：好。";
        if (++units % 50 == 0) {
            english += "{*>Done.<}90{>好。<*}\r\n中文段落没有英文。\r\n";
            chinese += "{*>完成。<}90{>Done.<*}\r\n";
        }
    }
    RichText englishBuffer = bufferOf(english);
    RichText chineseBuffer = bufferOf(chinese);
    EXPECT_EQ(countPicks(englishBuffer, englishGetter(kDefault)), units * 2 + units / 50);
    EXPECT_EQ(countPicks(chineseBuffer, chineseGetter(kDefault)), units * 3 + units / 50);
}

}  // namespace
}  // namespace tavricat
