// English morphology: irregular forms, inflected look-up, key alignment, word classes,
// inflection tags and the function and measure words they add.

#include <gtest/gtest.h>

#include <map>

#include "base/list_order.h"
#include "engine/morphology.h"

namespace tavricat {
namespace {

// ---- toBaseForms -----------------------------------------------------------------------

class MorphologyBaseFormsTest : public ::testing::Test {
protected:
    void SetUp() override {
        forms = {"went", "were", "looked after", "gone", "went by", "am", "ran"};
        bases = {"go", "be", "look after", "go", "go by", "be", "run"};
        sortWithParallel(forms, {&bases});
    }
    std::string run(std::string_view text) { return toBaseForms(text, {&forms, &bases}); }
    std::vector<std::string> forms, bases;
};

TEST_F(MorphologyBaseFormsTest, ReplacesSingleAndMultiWordForms) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"i went home", "i go home"},
        {"we were gone", "we be go"},
        {"he looked after it", "he look after it"},
        {"he looked after", "he look after"},
        {"he went by bus", "he go by bus"},      // the longer form wins over "went"
        {"Went home", "go home"},                // list order ignores ASCII case
        {"wentworth ran", "wentworth run"},      // single words match exactly
        {"wen looked", "wen looked"},            // a form's start is no match
        {"", ""},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(run(text), expected) << text;
}

TEST_F(MorphologyBaseFormsTest, EmptyListPassesTextAndMissingBaseKeepsForm) {
    std::vector<std::string> none;
    EXPECT_EQ(toBaseForms("a  went ", {&none, &none}), "a  went ");
    EXPECT_EQ(toBaseForms("a went", {nullptr, nullptr}), "a went");
    std::vector<std::string> shortBases = {"be"};  // only the first form ("am") has a base
    EXPECT_EQ(toBaseForms("i am gone", {&forms, &shortBases}), "i be gone");
}

TEST_F(MorphologyBaseFormsTest, BaseFormsOfAnotherNumberOfWordsKeepTheForm) {
    std::vector<std::string> many = {"comics", "gone by", "went"};
    std::vector<std::string> manyBases = {"comic strip", "go", "go"};
    EXPECT_EQ(toBaseForms("kids love comics and went .", {&many, &manyBases}), "kids love comics and go .");
    EXPECT_EQ(toBaseForms("time gone by now", {&many, &manyBases}), "time gone by now");
    EXPECT_EQ(toBaseForms("comics", {&many, &manyBases}), "comics");
}

// ---- lookupInflected -------------------------------------------------------------------

struct Dictionary {
    std::map<std::string, std::string> entries;
    std::vector<std::string> asked;
    KeyLookup lookup() {
        return [this](const std::string& key) {
            asked.push_back(key);
            auto it = entries.find(key);
            return it == entries.end() ? std::string() : it->second;
        };
    }
};

Dictionary sampleDictionary() {
    return {{
        {"city", "[n.]城市"},       {"try", "[v.]尝试"},        {"wolf", "[n.]狼"},
        {"knife", "[n.]刀"},        {"stop", "[v.]停止"},       {"run", "[v.]跑"},
        {"make", "[v.]制造"},       {"big", "[a.]大的"},        {"happy", "[a.]快乐的"},
        {"like", "[v.]喜欢"},       {"box", "[n.]盒子"},        {"play", "[v.]玩"},
        {"large", "[a.]大的"},      {"small", "[a.]小的"},      {"walk", "[v.]走"},
        {"die", "[v.]死"},          {"sing", "[v.]唱"},         {"bu", "[n.]布"},
        {"book", "[n.]书|[v.]预订"}, {"books", "书籍"},
        {"new", "[a.]新的"},        {"news", "[n.]新闻"},
        {"look", "看^^v^"},         {"looks", "外表"},           // class only in field 3
        {"fine", "好^^adj^"},       {"fines", "罚款"},
    }, {}};
}

TEST(MorphologyInflectedTest, ReducesRegularInflectionsToExistingKeys) {
    Dictionary dict = sampleDictionary();
    const std::pair<std::string, std::string> cases[] = {
        {"cities", "city"},   {"tried", "try"},     {"happier", "happy"}, {"wolves", "wolf"},
        {"knives", "knife"},  {"stopped", "stop"},  {"bigger", "big"},    {"running", "run"},
        {"making", "make"},   {"walking", "walk"},  {"biggest", "big"},   {"happiest", "happy"},
        {"largest", "large"}, {"smallest", "small"}, {"likes", "like"},   {"liked", "like"},
        {"boxes", "box"},     {"played", "play"},   {"larger", "large"},  {"dying", "die"},
    };
    for (const auto& [word, base] : cases) {
        InflectedLookup found = lookupInflected(word, dict.lookup(), false);
        EXPECT_EQ(found.base, base) << word;
        EXPECT_EQ(found.entry, dict.entries[base]) << word;
    }
}

TEST(MorphologyInflectedTest, WordsThatAreNotReduced) {
    Dictionary dict = sampleDictionary();
    dict.entries["s"] = "x";
    dict.entries["e.g"] = "x";
    const std::string unreduced[] = {
        "singing",   // its first "ing" is not its ending ("sing" is a key)
        "sing",      // "ing" would leave one letter ("s" is a key)
        "bus",       // three letters ("bu" is a key)
        "e.gs",      // a dot
        "xyzzies",   // no base form is a key
    };
    for (const std::string& word : unreduced) {
        InflectedLookup found = lookupInflected(word, dict.lookup(), true);
        EXPECT_EQ(found.base, word);
        EXPECT_EQ(found.entry, dict.entries[word]) << word;
    }
    // A trail byte that looks like "s" ends no plural.
    dict.entries["abc\xC5"] = "x";
    EXPECT_EQ(lookupInflected("abc\xC5s", dict.lookup(), false).base, "abc\xC5s");
}

TEST(MorphologyInflectedTest, OwnEntryKeptUnlessTheBaseHasTheEndingsClass) {
    Dictionary dict = sampleDictionary();
    struct Case { std::string word; bool ownAllowed; std::string base; };
    const Case cases[] = {
        {"books", false, "books"},  // own entry, reduction not allowed
        {"books", true, "book"},    // base "book" is a noun
        {"news", true, "news"},     // base "new" is only an adjective
        {"looks", true, "look"},    // verb named in field 3 only
        {"fines", true, "fines"},   // field 3 says adjective: no plural of it
    };
    for (const Case& c : cases) {
        InflectedLookup found = lookupInflected(c.word, dict.lookup(), c.ownAllowed);
        EXPECT_EQ(found.base, c.base) << c.word;
        EXPECT_EQ(found.entry, dict.entries[c.base]) << c.word;
    }
}

TEST(MorphologyInflectedTest, ShortWordsNeverReadBeforeTheirStart) {
    // Four-letter words: the letter two places before "est" does not exist.
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"best", {"best", "be", "b"}},
        {"iest", {"iest", "ie", "i", "y"}},
        {"aied", {"aied", "aie", "ai"}},
        {"bing", {"bing"}},
        {"ying", {"ying"}},
    };
    for (const auto& [word, asked] : cases) {
        Dictionary dict;
        InflectedLookup found = lookupInflected(word, dict.lookup(), true);
        EXPECT_EQ(found.base, word);
        EXPECT_EQ(dict.asked, asked) << word;
    }
}

// ---- stripSuffix -----------------------------------------------------------------------

TEST(MorphologyStripSuffixTest, AlignsTextWithTheNearestKey) {
    struct Case { std::string_view text, key; int result; std::string candidate; };
    const Case cases[] = {
        {"books are", "book", 0, "book are"},
        {"Books are", "book", 0, "Book are"},
        {"stopped here", "stop", 0, "stop here"},
        {"running fast", "run", 0, "run fast"},
        {"cities of", "city", 0, "city of"},
        {"happiest day", "happy", 0, "happy day"},
        {"wolves run", "wolf", 0, "wolf run"},
        {"knives cut", "knife", 0, "knife cut"},
        {"making tea", "make", 0, "make tea"},
        {"looked after him", "look after", 0, "look after him"},
        {"xyz abc", "abc", -1, ""},
        {"\xB0\xA1x", "\xB0\xA2x", -1, ""},          // same lead byte, other character
        {"look after him", "look after you", 10, "look after"},
        {"lookout tower", "looking glass", 7, "lookout"},
        {"cars are", "care", 4, "cars"},           // not an inflection of "care"
        {"stops here", "stoop", 5, "stops"},
    };
    for (const Case& c : cases) {
        SuffixAlignment a = stripSuffix(c.text, c.key);
        EXPECT_EQ(a.result, c.result) << c.text << " / " << c.key;
        EXPECT_EQ(a.candidate, c.candidate) << c.text << " / " << c.key;
    }
}

// ---- wordClassesOf ---------------------------------------------------------------------

TEST(MorphologyWordClassesTest, ReadsClassesAndRewritesHeaderForm) {
    struct Case { std::string_view translation; std::string classes, rewritten; };
    const Case cases[] = {
        {"[n.]书|[v.]预订|[a.]好的", "n|v|adj", "[n.]书|[v.]预订|[a.]好的"},
        {"[n.v.:]书|预订", "n|v", "[n.v.]书|[n.v.]预订|"},
        {"[n.:]书|[v.]预订|", "n|v", "[n.]书|[n.v.]预订|"},
        {"[N.A.:]好", "n|adj", "[n.a.]好|"},
        {"书|[V]订|[n.a.]好", "v|n|adj", "书|[V]订|[n.a.]好"},
        {"[n]书|[n.]本子", "n", "[n]书|[n.]本子"},
        {"[n.]书|[v.:]订", "n|v", "[n.]书|[v.:]订"},    // not a header: ":]" closes a later item
        {"书本", "", "书本"},
        {"[1]本|x[n.]y", "", "[1]本|x[n.]y"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        WordClasses wc = wordClassesOf(c.translation);
        EXPECT_EQ(wc.classList, c.classes) << c.translation;
        EXPECT_EQ(wc.translation, c.rewritten) << c.translation;
    }
}

// ---- tagInflections / addFunctionWords -------------------------------------------------

stClass sentenceOf(const std::vector<std::string>& segWords) {
    stClass s;
    s.reset(segWords.size() + 1);
    s.wordCount = s.segCount = static_cast<std::int32_t>(segWords.size());
    for (std::size_t i = 0; i < segWords.size(); ++i) s.segWords[i + 1] = segWords[i] + " ";
    return s;
}

TEST(MorphologyTagsTest, TagsInflectedSegments) {
    struct Case { std::string words, classBefore, classAfter; };
    const Case cases[] = {
        {"4th", "", "no"},
        {"books", "n", "复数|n"},
        {"bigger", "", "比较级"},
        {"biggest", "adj", "最高级|adj"},
        {"looked", "", "pp"},
        {"looked", "pp|v", "pp|v"},
        {"running", "", "ing"},
        {"looking after", "", "ing"},       // the first word's ending decides last
        {"is", "v", "v"},
        {"fourth", "", ""},
        {"ab\xC5s", "", ""},                // trail byte "s"
    };
    for (const Case& c : cases) {
        stClass s = sentenceOf({c.words});
        s.segClass[1] = c.classBefore;
        tagInflections(s);
        EXPECT_EQ(s.segClass[1], c.classAfter) << c.words;
    }
}

TEST(MorphologyTagsTest, FunctionWordsAddedOncePerTag) {
    struct Case { std::string classes, assocBefore, assocAfter; };
    const Case cases[] = {
        {"no", "", "第"},
        {"pp", "的|了|过|完|已经|被", "的|了|过|完|已经|被"},
        {"pp|past", "x", "x|的|了|过|完|已经|被"},          // "了|过" is already inside
        {"复数|ing", "", "正在|着|的|一些|那些|这些|许多|几个|各|各种|等"},
        {"n|v", "y", "y"},
    };
    for (const Case& c : cases) {
        stClass s = sentenceOf({"w"});
        s.segClass[1] = c.classes;
        s.segAssoc[1] = c.assocBefore;
        addFunctionWords(s, {}, {});
        EXPECT_EQ(s.segAssoc[1], c.assocAfter) << c.classes;
    }
    stClass s = sentenceOf({"4th"});
    tagInflections(s);
    addFunctionWords(s, {}, {});
    EXPECT_EQ(s.segAssoc[1], "第");
}

TEST(MorphologyTagsTest, ArticlesTakeTheNounsMeasureWord) {
    std::vector<std::string> keys = {"本", "个", "册"}, words = {"本", "个", "册"};
    sortWithParallel(keys, {&words});
    struct Case { std::vector<std::string> segs; std::string attr; std::size_t article; std::string trans; };
    const Case cases[] = {
        {{"a", "book"}, "[量]本", 1, "一本|一个"},
        {{"the", "big", "book"}, "本", 1, "这本|一个"},
        {{"that", "book"}, "册|本|册", 1, "那册|那本|一个"},   // attribute order, each once
        {{"a", "\"", "book"}, "本", 1, "一个"},                // a quote stops the look-back
        {{"a", "very", "big", "book"}, "本", 1, "一个"},        // three back is too far
        {{"a", "book"}, "[n.]书", 1, "一个"},                   // not a measure word
    };
    for (const Case& c : cases) {
        stClass s = sentenceOf(c.segs);
        for (std::size_t i = 1; i <= c.segs.size(); ++i) s.segTrans[i] = "一个";
        s.segAttr[c.segs.size()] = c.attr;
        addFunctionWords(s, keys, words);
        addFunctionWords(s, keys, words);  // a second run adds nothing
        EXPECT_EQ(s.segTrans[c.article], c.trans) << c.segs.size() << " " << c.attr;
    }
    // A segment count beyond the arrays is read no further than the arrays.
    stClass s = sentenceOf({"a", "book"});
    s.segCount = 9;
    s.segAttr[1] = "本";
    addFunctionWords(s, keys, words);
    tagInflections(s);
    EXPECT_EQ(s.segTrans[1], "");
}

}  // namespace
}  // namespace tavricat
