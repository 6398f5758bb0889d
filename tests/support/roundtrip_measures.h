#pragma once
// The measures of the document round trip (tests/data_files/roundtrip_corpus_test.cpp): how
// much of a rendered page and of a document's extracted text changed between an original and
// the target the program wrote of it. Texts here are UTF-8, as pdftotext writes them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavricat::testing {

// A grey picture as pdftoppm -gray writes it (binary PGM, 8 bits), one byte per pixel.
struct GrayPage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;  // row by row, 0 black .. 255 white
};

// Reads a binary PGM file; nullopt when it is missing or not an 8-bit P5 picture.
std::optional<GrayPage> readPgm(const std::string& path);

// Pixels darker than `threshold` are ink. The difference of two pages is the share of the ink
// pixels of both pages that have no ink of the other page within one pixel (the 3 x 3 square
// around them): 0 for the same page drawn again, 1 when no ink is where the other page has
// some; a line of text moved by more than a pixel counts whole. Pages of different sizes are
// laid on each other at their top left corners; what lies outside a page counts as paper.
double inkDifference(const GrayPage& a, const GrayPage& b, int threshold = 128);

// Runs of whitespace (ASCII, no-break space, ideographic space, form feed) become one blank;
// no blank at either end.
std::string normaliseWhitespace(std::string_view text);

// The text without list labels: the first word of a line when it is a bullet or a number,
// letter or roman numeral followed by "." or ")".
std::string withoutListLabels(std::string_view text);

// The words the text-loss check compares: ASCII letters and digits in runs, lower-cased, each
// other character alone; whitespace, ASCII punctuation and hyphens (which a line break may add
// or pdftotext remove) are no words.
std::vector<std::string> textTokens(std::string_view text);

// The words split into their characters: a word a narrow table cell broke in two, or two cell
// texts run together, are still the same characters.
std::vector<std::string> characterTokens(const std::vector<std::string>& words);

struct TokenComparison {
    std::vector<std::string> lost;  // words of the original the target does not have as often, in order
    std::size_t extra = 0;          // words of the target the original does not have as often
};

// Compares the two texts as bags of words: a table whose cells the target reads in another
// order loses nothing, a dropped footnote or a character turned into "?" does.
TokenComparison compareTokens(const std::vector<std::string>& original, const std::vector<std::string>& target);

}  // namespace tavricat::testing
