#pragma once
// The steps of rating a stored example against the sentence and fitting its translation to
// the sentence, shared by the batch search (adaptBestExample) and the interactive translation of a
// sentence, which adds its own display and its literal replacements around them.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/sentence_analysis.h"

namespace tavricat {

class SentenceLibrary;
struct PhraseHit;

// Hexadecimal text as a number; nullopt when it holds anything else (or nothing).
std::optional<std::size_t> readHexNumber(std::string_view text);

// The integer percentage of a rate. A rate such as 57/100 is 56.99999... times 100 in
// floating point; it reads 57, as it is shown.
long percentOf(double rate);

// The items of a "|"-separated list, in order (empty ones included).
std::vector<std::string_view> barItems(std::string_view list);

// Every occurrence of `what` in `text` replaced by `with`; nothing for an empty `what`.
void replaceAllOf(std::string& text, std::string_view what, std::string_view with);

// An item without the bracketed label that may open it ("[n.]书" gives "书").
std::string_view withoutLeadingLabel(std::string_view item);

// A stored library line read back: the token count (two hex digits), the source (the text
// from the third byte up to the first "^", with its blanks) and the translation.
struct StoredExample {
    int wordCount = 0;
    bool countReadable = true;
    std::string source;
    std::string translation;
};
// At most `translationLimit` bytes of the translation are kept.
StoredExample readStoredExample(std::string_view line, std::size_t translationLimit = 2000);

// Where each token of the sentence (segKeys 1..segCount) stands among the example's source
// tokens: 1-based positions, 0 for a tag or a token not found. The search start moves on by
// the token's length less one, not to the match.
struct TokenMatch {
    std::vector<std::size_t> pos;
    std::vector<std::size_t> len;
    int found = 0;
    std::string sentenceSource;  // the trimmed tokens, each after one blank (" a b c")
};
TokenMatch matchTokens(const stClass& sentence, std::string_view exampleSource);

// The count a rate divides by: the example's token count less its tags, or the sentence's
// token count less its tags when that is larger; 100 when both are 0.
int rateDenominator(int wordCount, std::string_view exampleSource, const stClass& sentence);

// The text of the example source that stands where token `i` (not found) would stand: from
// the last byte of the previous token's match, or with `afterMatch` from the byte after it
// (the start of the source after an unfound token or at the first token), to the next found
// token's match (the end of the source when none follows). As a 0-based offset and a
// length, inside the source.
struct SourceGap {
    std::size_t offset = 0;
    std::size_t length = 0;
};
SourceGap gapInSource(const TokenMatch& match, std::size_t i, std::size_t sourceLength, bool afterMatch = false);

// For each segment of `differing` (the example's words of a gap, analysed), the longest item
// of its key and meanings that occurs in `target` (the first of equal length), joined without
// separators. With `withoutLabels`, the items are looked for without a leading bracketed
// label.
std::string meaningsUsedIn(const stClass& differing, std::string_view target, bool withoutLabels);

// The first meanings of the sentence's tokens i, i+1, ... that were not found, joined; `end`
// receives the first position after them.
std::string gapMeanings(const stClass& sentence, const TokenMatch& match, std::size_t i, std::size_t& end);

// With no usable example: for each run of tokens an example shares (PhraseHits), the first
// meaning of each token that the example's translation uses goes in front of the token's
// meanings. With `keepFirst`, a meaning that is first already is left where it is. Returns,
// per token, the meaning that was found (empty where none).
std::vector<std::string> promotePhraseMeanings(const SentenceLibrary& library, stClass& sentence,
                                               const std::vector<PhraseHit>& hits, bool keepFirst);

}  // namespace tavricat
