// The measures the document round trip reports: ink difference of rendered pages, and the
// words of an extracted text that a target lost. Texts are UTF-8 bytes written as escapes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/roundtrip_measures.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::GrayPage;

// A white page with black rectangles [x0, x1) x [y0, y1).
GrayPage page(int width, int height, const std::vector<std::vector<int>>& boxes) {
    GrayPage out{width, height, std::vector<unsigned char>(static_cast<std::size_t>(width * height), 255)};
    for (const std::vector<int>& box : boxes)
        for (int y = box[2]; y < box[3]; ++y)
            for (int x = box[0]; x < box[1]; ++x) out.pixels[static_cast<std::size_t>(y * width + x)] = 0;
    return out;
}

TEST(RoundTripMeasures, InkDifferenceIsTheShareOfInkWithNoInkOfTheOtherPageNearby) {
    const GrayPage blank = page(10, 10, {});
    const GrayPage left = page(10, 10, {{0, 4, 0, 10}});      // columns 0..3
    const GrayPage nudged = page(10, 10, {{1, 5, 0, 10}});    // one pixel to the right
    const GrayPage shifted = page(10, 10, {{2, 6, 0, 10}});   // two pixels to the right
    const GrayPage right = page(10, 10, {{6, 10, 0, 10}});
    EXPECT_DOUBLE_EQ(testing::inkDifference(blank, blank), 0.0);
    EXPECT_DOUBLE_EQ(testing::inkDifference(left, left), 0.0);
    EXPECT_DOUBLE_EQ(testing::inkDifference(left, nudged), 0.0);
    // Column 0 of the one and column 5 of the other have no ink of the other page nearby.
    EXPECT_DOUBLE_EQ(testing::inkDifference(left, shifted), 20.0 / 80.0);
    EXPECT_DOUBLE_EQ(testing::inkDifference(left, right), 1.0);
    EXPECT_DOUBLE_EQ(testing::inkDifference(left, blank), 1.0);
    // Light grey is paper.
    GrayPage grey = left;
    for (unsigned char& pixel : grey.pixels) pixel = pixel == 0 ? 200 : pixel;
    EXPECT_DOUBLE_EQ(testing::inkDifference(grey, blank), 0.0);
    // Of two page sizes, the ink beyond the smaller page is ink the other lacks: rows 11..19.
    const GrayPage tall = page(10, 20, {{0, 4, 0, 20}});
    EXPECT_DOUBLE_EQ(testing::inkDifference(left, tall), 36.0 / 120.0);
    EXPECT_DOUBLE_EQ(testing::inkDifference(tall, left), 36.0 / 120.0);
}

TEST(RoundTripMeasures, ReadsTheGreyPicturesPdftoppmWrites) {
    testing::TempFolder folder;
    folder.write("p-1.pgm", std::string("P5\n# made by hand\n3 2\n255\n") + std::string("\x00\xFF\x10\x20\x30\x40", 6));
    std::optional<GrayPage> read = testing::readPgm(folder.file("p-1.pgm"));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->width, 3);
    EXPECT_EQ(read->height, 2);
    EXPECT_EQ(read->pixels, (std::vector<unsigned char>{0x00, 0xFF, 0x10, 0x20, 0x30, 0x40}));

    folder.write("short.pgm", std::string("P5\n3 2\n255\n\x01\x02", 13));
    folder.write("ascii.pgm", "P2\n1 1\n255\n0\n");
    folder.write("deep.pgm", "P5\n1 1\n65535\n\x01\x02");
    EXPECT_FALSE(testing::readPgm(folder.file("short.pgm")).has_value());
    EXPECT_FALSE(testing::readPgm(folder.file("ascii.pgm")).has_value());
    EXPECT_FALSE(testing::readPgm(folder.file("deep.pgm")).has_value());
    EXPECT_FALSE(testing::readPgm(folder.file("missing.pgm")).has_value());
}

TEST(RoundTripMeasures, WhitespaceOfAnyKindCountsAsOneBlank) {
    EXPECT_EQ(testing::normaliseWhitespace("  Keep it\n\n dry.\f\xC2\xA0" "End\xE3\x80\x80 "), "Keep it dry. End");
    EXPECT_EQ(testing::normaliseWhitespace("\n \t"), "");
}

std::vector<std::string> tokens(const std::string& text) {
    return testing::textTokens(testing::withoutListLabels(text));
}

TEST(RoundTripMeasures, WordsIgnoreLineBreaksHyphensCaseAndListLabels) {
    // pdftotext joins a word hyphenated at a line end; a hyphen is no word boundary.
    EXPECT_EQ(tokens("electron-\ndense bodies"), tokens("electrondense bodies"));
    EXPECT_EQ(tokens("BTB-Kelch"), tokens("BTBKelch"));
    EXPECT_EQ(tokens("FORMATTING, done."), (std::vector<std::string>{"formatting", "done"}));
    // Chinese characters and other letters outside ASCII are a word each.
    EXPECT_EQ(testing::textTokens("\xE4\xBD\x8E\xE9\xAB\x98 \xCE\xB1" "b"),
              (std::vector<std::string>{"\xE4\xBD\x8E", "\xE9\xAB\x98", "\xCE\xB1", "b"}));
    // Labels a list drew, whatever their shape, are not the document's words...
    EXPECT_EQ(tokens("1. Take it out.\n2) Plug it in.\n\xE2\x80\xA2 two batteries\niv. last\n(b) more\n"),
              tokens("Take it out.\nPlug it in.\ntwo batteries\nlast\nmore\n"));
    EXPECT_EQ(tokens("\xC2\xB7 one\n\xEF\x82\xB7 two\n- three\n"), tokens("one\ntwo\nthree\n"));
    // ...but numbers inside a line, a table cell of one Chinese character and a lone number are.
    EXPECT_EQ(tokens("It holds 2. Then"), (std::vector<std::string>{"it", "holds", "2", "then"}));
    EXPECT_EQ(tokens("\xE4\xBD\x8E\n42\n"), (std::vector<std::string>{"\xE4\xBD\x8E", "42"}));
}

TEST(RoundTripMeasures, LostWordsAreCountedAsOftenAsTheyAreMissing) {
    const std::vector<std::string> original = tokens("Keep it dry. 1See the manual. Page 1");
    testing::TokenComparison same = testing::compareTokens(original, original);
    EXPECT_TRUE(same.lost.empty());
    EXPECT_EQ(same.extra, 0u);

    // A footnote and a footer gone: their words are lost, and named.
    testing::TokenComparison footnoteGone = testing::compareTokens(original, tokens("Keep it dry."));
    EXPECT_EQ(footnoteGone.lost, (std::vector<std::string>{"1see", "the", "manual", "page", "1"}));
    EXPECT_EQ(footnoteGone.extra, 0u);

    // Hidden text shown: extra words, nothing lost.
    testing::TokenComparison shown = testing::compareTokens(tokens("Small caps."), tokens("secret Small caps."));
    EXPECT_TRUE(shown.lost.empty());
    EXPECT_EQ(shown.extra, 1u);

    // A word a narrow cell broke in two, or two cells run together, keep their characters.
    EXPECT_EQ(testing::compareTokens(testing::characterTokens(tokens("2nd column 3rd Erro r")),
                                     testing::characterTokens(tokens("2nd column3rd Error")))
                  .lost,
              std::vector<std::string>{});
    EXPECT_EQ(testing::characterTokens({"ab", "\xE4\xBD\x8E"}), (std::vector<std::string>{"a", "b", "\xE4\xBD\x8E"}));

    // A word kept fewer times than the original has it is lost as often.
    testing::TokenComparison repeated = testing::compareTokens(tokens("dry, dry and dry"), tokens("dry and"));
    EXPECT_EQ(repeated.lost, (std::vector<std::string>{"dry", "dry"}));

    // The same words in another order (a table read column by column) lose nothing.
    testing::TokenComparison moved = testing::compareTokens(tokens("a b c"), tokens("c a b"));
    EXPECT_TRUE(moved.lost.empty());
    EXPECT_EQ(moved.extra, 0u);
}

}  // namespace
}  // namespace tavricat
