// The document buffer: edits checked against a simple model on generated inputs, protection,
// selection tracking, and copying with formats.

#include <gtest/gtest.h>

#include <random>

#include "document/rich_text.h"

namespace tavricat {
namespace {

CharFormat formatNumber(int n) {
    CharFormat f;
    f.colour = static_cast<std::uint32_t>(n);
    return f;
}

// A byte-per-byte model: the text and one format number per byte.
struct Model {
    std::string text;
    std::vector<int> formats;
};

std::vector<int> formatsOf(const RichText& rt) {
    std::vector<int> out;
    for (const auto& run : rt.runs()) out.insert(out.end(), run.length, static_cast<int>(run.format->colour));
    return out;
}

TEST(RichTextTest, EditsAgreeWithASimpleModel) {
    std::mt19937 random(11);
    RichText rt;
    Model model;
    for (int step = 0; step < 4000; ++step) {
        int op = static_cast<int>(random() % 4);
        std::size_t n = model.text.size();
        std::size_t pos = n ? random() % (n + 1) : 0;
        int f = static_cast<int>(random() % 3);
        if (op <= 1 || n == 0) {
            std::string bytes(1 + random() % 5, static_cast<char>('a' + random() % 26));
            ASSERT_TRUE(rt.insert(pos, bytes, formatNumber(f)));
            model.text.insert(pos, bytes);
            model.formats.insert(model.formats.begin() + static_cast<long>(pos), bytes.size(), f);
        } else if (op == 2) {
            std::size_t len = std::min<std::size_t>(random() % 7, n - std::min(pos, n));
            ASSERT_TRUE(rt.erase(pos, len));
            model.text.erase(pos, len);
            model.formats.erase(model.formats.begin() + static_cast<long>(pos),
                                model.formats.begin() + static_cast<long>(pos + len));
        } else {
            std::size_t len = std::min<std::size_t>(random() % 9, n - std::min(pos, n));
            ASSERT_TRUE(rt.setFormat(pos, len, formatNumber(f)));
            std::fill(model.formats.begin() + static_cast<long>(pos),
                      model.formats.begin() + static_cast<long>(pos + len), f);
        }
        ASSERT_EQ(rt.text(), model.text) << "step " << step;
        ASSERT_EQ(formatsOf(rt), model.formats) << "step " << step;
        if (!model.text.empty()) {
            std::size_t probe = random() % model.text.size();
            ASSERT_EQ(static_cast<int>(rt.formatAt(probe).colour), model.formats[probe]);
        }
    }
    // Adjacent runs never share a format.
    auto runs = rt.runs();
    for (std::size_t i = 1; i < runs.size(); ++i) EXPECT_FALSE(*runs[i - 1].format == *runs[i].format);
}

TEST(RichTextTest, FindSeesAcrossTheGapAndHonoursTheLimit) {
    RichText rt;
    rt.append("abc{*>def<*}ghi", CharFormat{});
    rt.insert(5, "");      // nothing
    rt.insert(4, "X");     // gap now sits inside "{*>"
    ASSERT_EQ(rt.text(), "abc{X*>def<*}ghi");
    rt.erase(4, 1);        // gap between "{" and "*>"
    EXPECT_EQ(rt.find("{*>", 0), 3u);
    EXPECT_EQ(rt.find("<*}", 0), 9u);
    EXPECT_EQ(rt.find("<*}", 0, 11), RichText::npos);  // would end past the limit
    EXPECT_EQ(rt.find("<*}", 0, 12), 9u);
    EXPECT_EQ(rt.find("abc", 1), RichText::npos);
    EXPECT_EQ(rt.findBackward("{*>", 8), 3u);
    EXPECT_EQ(rt.findBackward("{*>", 2), RichText::npos);
}

TEST(RichTextTest, TheTextStampChangesWithTheTextOnly) {
    RichText rt;
    rt.append("abc", CharFormat{});
    const std::uint64_t first = rt.textStamp();
    RichText copy = rt;
    EXPECT_EQ(copy.textStamp(), first);
    CharFormat bold;
    bold.bold = true;
    rt.setFormat(0, 2, bold);
    rt.select(1, 1);
    EXPECT_EQ(rt.textStamp(), first);
    std::vector<std::uint64_t> seen{first};
    auto expectNew = [&](const char* what) {
        for (std::uint64_t s : seen) EXPECT_NE(rt.textStamp(), s) << what;
        seen.push_back(rt.textStamp());
    };
    rt.insert(1, "x");
    expectNew("insert");
    rt.erase(0, 1);
    expectNew("erase");
    rt.replace(0, 1, "y");
    expectNew("replace");
    rt.clear();
    expectNew("clear");
    EXPECT_NE(RichText().textStamp(), RichText().textStamp());
    EXPECT_EQ(copy.textStamp(), first);
}

TEST(RichTextTest, ProtectedTextRefusesEditsUnlessTheProgramEdits) {
    RichText rt;
    CharFormat marker;
    marker.isProtected = true;
    rt.append("ab", CharFormat{});
    rt.append("{*>", marker);
    rt.append("cd", CharFormat{});
    rt.setModified(false);
    EXPECT_FALSE(rt.erase(1, 2));       // touches "{"
    EXPECT_FALSE(rt.insert(3, "x"));    // strictly inside the marker
    EXPECT_FALSE(rt.replace(2, 3, "y"));
    EXPECT_FALSE(rt.setFormat(0, 5, CharFormat{}));
    EXPECT_TRUE(rt.insert(2, "x"));     // at its edge
    EXPECT_TRUE(rt.erase(0, 1));
    EXPECT_EQ(rt.text(), "bx{*>cd");
    // Text typed right after a marker is not protected: it can be deleted again.
    EXPECT_TRUE(rt.insert(5, "t"));
    EXPECT_FALSE(rt.isProtected(5, 1));
    EXPECT_TRUE(rt.erase(5, 1));
    EXPECT_TRUE(rt.modified());
    {
        RichText::ProgramEdit edit(rt);
        EXPECT_TRUE(rt.erase(2, 3));
    }
    EXPECT_EQ(rt.text(), "bxcd");
    RichText view;
    view.setAlwaysEditable(true);
    view.append("{*>", marker);
    EXPECT_TRUE(view.erase(0, 3));
}

TEST(RichTextTest, SelectionFollowsEdits) {
    RichText rt;
    rt.append("0123456789", CharFormat{});
    rt.select(4, 3);
    rt.insert(0, "ab");
    EXPECT_EQ(rt.selStart(), 6u);
    EXPECT_EQ(rt.selectedText(), "456");
    rt.erase(5, 3);  // removes "3", "4", "5"
    EXPECT_EQ(rt.selStart(), 5u);
    EXPECT_EQ(rt.selectedText(), "6");
    rt.select(100, 5);
    EXPECT_EQ(rt.selStart(), rt.size());
    EXPECT_EQ(rt.selLength(), 0u);
}

TEST(RichTextTest, CopiesRangesWithTheirFormats) {
    RichText rt;
    CharFormat bold;
    bold.bold = true;
    rt.append("plain ", CharFormat{});
    rt.append("bold", bold);
    rt.append(" tail", CharFormat{});
    RichText part = rt.copyRange(3, 6);
    EXPECT_EQ(part.text(), "in bol");
    ASSERT_EQ(part.runs().size(), 2u);
    EXPECT_TRUE(part.formatAt(3).bold);
    EXPECT_FALSE(part.modified());
    RichText target;
    target.append("[]", CharFormat{});
    ASSERT_TRUE(target.replaceWith(1, 0, part));
    EXPECT_EQ(target.text(), "[in bol]");
    EXPECT_TRUE(target.formatAt(4).bold);
    EXPECT_FALSE(target.formatAt(1).bold);
    EXPECT_TRUE(rt.changeFormat(0, 3, [](CharFormat& f) { f.italic = true; }));
    EXPECT_TRUE(rt.formatAt(0).italic);
    EXPECT_FALSE(rt.formatAt(3).italic);
}

}  // namespace
}  // namespace tavricat
