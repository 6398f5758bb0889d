// Writing segments, deriving the target and the pairs, inline tags and the markup check.

#include <gtest/gtest.h>

#include "document/inline_tags.h"
#include "document/markup.h"
#include "document/markup_check.h"
#include "document/segment_writer.h"
#include "document/target_conversion.h"

namespace tavricat {
namespace {

RichText bufferOf(const std::string& text) {
    RichText rt;
    rt.append(text, CharFormat{});
    rt.setModified(false);
    return rt;
}

TEST(SegmentWriterTest, WritesASegmentWithProtectedMarkers) {
    RichText rt = bufferOf("Good morning. Next");
    rt.select(0, 13);
    TargetWrite how;
    how.similarity = 0.87;
    ASSERT_TRUE(addatarget(rt, "早上好。", how).isOk());
    EXPECT_EQ(rt.text(), "{*>Good morning.<}87{>早上好。<*} Next");
    EXPECT_EQ(rt.caret(), rt.text().find(" Next"));
    EXPECT_EQ(rt.selLength(), 0u);
    // Markers are protected in the marker format; source and translation are not.
    const std::string text = rt.text();
    for (std::string_view marker : {kSegmentStart, std::string_view("<}87{>"), kSegmentEnd}) {
        std::size_t at = text.find(marker);
        for (std::size_t i = at; i < at + marker.size(); ++i) {
            EXPECT_TRUE(rt.formatAt(i).isProtected) << i;
            EXPECT_EQ(rt.formatAt(i).sizeHalfPoints, 16);
            EXPECT_EQ(rt.formatAt(i).colour, 8388736u);
        }
    }
    EXPECT_FALSE(rt.formatAt(3).isProtected);
    EXPECT_FALSE(rt.formatAt(text.find("早")).isProtected);
    // Typing over a marker is refused.
    EXPECT_FALSE(rt.erase(0, 4));
}

TEST(SegmentWriterTest, RatesAndTheRulesOfAutomaticTranslation) {
    struct Case {
        double similarity;
        bool automatic;
        int mode;
        std::string expected;
    } cases[] = {
        {9.99, false, 1, "{*>Hi.<}999{>嗨。<*}"},
        {1.0, false, 1, "{*>Hi.<}100{>嗨。<*}"},
        {0.29, true, 1, "{*>Hi.<}29{>Hi.<*}"},  // below 65: the source stands as translation
        {0.65, true, 1, "{*>Hi.<}65{>嗨。<*}"},
        {9.99, true, 1, "{*>Hi.<}999{>Hi.<*}"},
        {0.50, true, 2, "Hi."},                  // left as it was
        {0.50, true, 3, "{*>Hi.<}50{>嗨。<*}"},
    };
    for (const Case& c : cases) {
        RichText rt = bufferOf("Hi.");
        rt.select(0, 3);
        TargetWrite how;
        how.similarity = c.similarity;
        how.automatic = c.automatic;
        how.userefmode = c.mode;
        ASSERT_TRUE(addatarget(rt, "嗨。", how).isOk());
        EXPECT_EQ(rt.text(), c.expected) << c.similarity << " mode " << c.mode;
    }
}

TEST(SegmentWriterTest, RevisionReplacesOnlyTheTranslation) {
    RichText rt = bufferOf("");
    rt.append("{*>A.<}90{>甲。<*} B", CharFormat{});
    rt.select(11, 4);  // "甲。"
    TargetWrite how;
    how.revising = true;
    ASSERT_TRUE(addatarget(rt, "乙乙乙。", how).isOk());
    EXPECT_EQ(rt.text(), "{*>A.<}90{>乙乙乙。<*} B");
    EXPECT_EQ(rt.caret(), 11u + 8u + 3u);
}

TEST(SegmentWriterTest, ABlankFollowsATranslationUnlessItEndsInChinese) {
    EXPECT_EQ(withSentenceBlank("Good morning."), "Good morning. ");
    EXPECT_EQ(withSentenceBlank("早上好。"), "早上好。");
    EXPECT_EQ(withSentenceBlank("版本 2"), "版本 2 ");
    EXPECT_EQ(withSentenceBlank("乗"), "乗");    // its trail byte is "\\"
    EXPECT_EQ(withSentenceBlank("a\\"), "a\\ ");
    EXPECT_EQ(withSentenceBlank(""), " ");
}

TEST(SegmentWriterTest, RefusesTextThatWouldBreakTheMarkup) {
    RichText rt = bufferOf("A{*>B");
    rt.select(0, 5);
    EXPECT_EQ(addatarget(rt, "x", TargetWrite{}).status().kind(), ErrorKind::BadInput);
    rt.select(0, 1);
    EXPECT_FALSE(addatarget(rt, "x<*}y", TargetWrite{}).isOk());
    EXPECT_EQ(rt.text(), "A{*>B");
    EXPECT_FALSE(rt.modified());
    rt.select(0, 1);
    ASSERT_TRUE(addatarget(rt, "", TargetWrite{}).isOk());  // empty: only the caret moves
    EXPECT_EQ(rt.caret(), 1u);
}

TEST(TargetConversionTest, CleanupLeavesOnlyTheTranslations) {
    RichText rt = bufferOf("A{*>x<}90{>X<*}B{*>y<}999{>Y<*}C");
    cleanup(rt);
    EXPECT_EQ(rt.text(), "AXBYC");
    RichText broken = bufferOf("A{*>x<}90{>X<*}B{*>unfinished");
    cleanup(broken);
    EXPECT_EQ(broken.text(), "AXB{*>unfinished");  // stops where the markers end
}

TEST(TargetConversionTest, PairsFlattenLineBreaksAndSkipBadSegments) {
    // As long as automatic translation writes for a sentence of 1,100 characters.
    std::string longSource(2100, 'x');
    std::string longTarget;
    for (int i = 0; i < 1100; ++i) longTarget += "长";
    RichText rt = bufferOf("{*>Two\r\nlines  here.<}80{>两行。<*} {*>" + longSource + "<}80{>" + longTarget +
                           "<*}{*>a{*>b<}1{>c<*}{*> ok <}70{> 好 <*}");
    PairExtraction extracted = extractSentencePairs(rt);
    EXPECT_EQ(extracted.pairs,
              (std::vector<std::string>{"Two lines here.^两行。", longSource + "^" + longTarget, "ok^好"}));
    EXPECT_EQ(extracted.nested.size(), 1u);
    EXPECT_TRUE(extracted.refused.empty());

    cleanup(rt);
    EXPECT_NE(rt.text().find(longTarget), std::string::npos);
}

TEST(TargetConversionTest, SegmentsThatMakeNoPairAreRefused) {
    // A "^" in the source would end the pair's source early; empty sides and a marker inside
    // the target make no example either. A "^" in the target is text.
    RichText rt = bufferOf("{*>Clean the ^filter.<}90{>清洁^过滤器。<*}{*>  <}90{>空。<*}{*>Empty.<}90{>\r\n<*}"
                           "{*><}90{><*}{*>Broken.<}90{>坏<}的。<*}{*>Fine.<}90{>好^的。<*}");
    PairExtraction extracted = extractSentencePairs(rt);
    EXPECT_EQ(extracted.pairs, std::vector<std::string>{"Fine.^好^的。"});
    EXPECT_EQ(extracted.refused.size(), 5u);
    EXPECT_TRUE(extracted.nested.empty());
}

TEST(InlineTagsTest, CountsClearsAndChecksTags) {
    EXPECT_EQ(countTags("a<1:>b<:1>c<:2:>"), 3);
    EXPECT_EQ(countTags("a<:1>b"), 1);
    EXPECT_EQ(clearTags("a<1:>b<:1>c<:2:>"), "abc");
    EXPECT_EQ(clearTags("ratio 3:> 2"), "ratio 3 2");  // no "<": only the ":>" goes
    EXPECT_TRUE(hasTag("x<:1>"));
    EXPECT_FALSE(hasTag("a<b>c"));
    EXPECT_TRUE(tagsConsistent("<1:>a<:1>", "x<1:>y<:1>"));
    EXPECT_FALSE(tagsConsistent("<1:>a<:1>", "x<1:>y"));
    EXPECT_FALSE(tagsConsistent("<1:>a<:1>", "x<:2:>y"));
    EXPECT_FALSE(tagsConsistent("<1:>a<:1>", "x<:1>y<1:>"));  // closed before it is opened
    EXPECT_TRUE(tagsConsistent("<:3:>", "<:3:>"));
    EXPECT_EQ(extractTags("a<1:>b<:1>"), (std::vector<std::string>{"<1:>", "<:1>"}));
}

TEST(InlineTagsTest, Classification) {
    struct Case {
        const char* text;
        TagKind kind;
    } cases[] = {
        {"<3:>", TagKind::Opening}, {"<:3>", TagKind::Closing},  {"<:12:>", TagKind::Isolated},
        {"<b>", TagKind::NotATag},  {"<3>", TagKind::NotATag},   {"<:3:x>", TagKind::NotATag},
    };
    for (const Case& c : cases) EXPECT_EQ(classifyTag(c.text).kind, c.kind) << c.text;
}

TEST(MarkupTest, WordFormAndChecks) {
    EXPECT_EQ(fromWordForm("{0>a<}9{>b<0}"), "{*>a<}9{>b<*}");
    EXPECT_EQ(toWordForm("{*>a<}9{>b<*}"), "{0>a<}9{>b<0}");
    EXPECT_TRUE(checkMarkup("x{*>a<}90{>b<*}y").empty());
    EXPECT_TRUE(checkMarkup("{*>" + std::string(3000, 'a') + "<}90{>" + std::string(3000, 'b') + "<*}").empty());
    auto problems = checkMarkup("{*>a<}90{>b<*}{*>c<}8x{>d<*}<*}{*>open");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].position, 18u);  // rate "8x"
    EXPECT_EQ(problems[1].position, 28u);  // stray end
    EXPECT_EQ(problems[2].position, 31u);  // never ended
}

}  // namespace
}  // namespace tavricat
