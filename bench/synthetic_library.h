#pragma once
// A seeded generator of synthetic English→Chinese sentence libraries. Examples are built as
// ready analyses (segment keys 1..n as the tokeniser leaves them: lower-case words, then ".")
// so that a library of a million examples fills through addAnalysed in seconds. About a
// third of the examples are variants of an earlier one with 1-3 words changed, so the fuzzy
// search has near matches to find. The translation of an example is the concatenation of a
// fixed per-word pseudo-translation (GBK), so the same seed gives the same library and the
// same queries on every machine.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/sentence_analysis.h"
#include "engine/term_base.h"
#include "memory/sentence_library.h"

namespace tavricat::bench {

class SyntheticLibrary {
public:
    // `vocabularySize` made-up words (those of EnglishSentences, Zipf-distributed); a share
    // `variantShare` of the examples are near-duplicates of an earlier example.
    explicit SyntheticLibrary(std::uint32_t seed, std::size_t vocabularySize = 20000, double variantShare = 0.3);

    // The vocabulary, most frequent first, and the pseudo-translation of each word.
    const std::vector<std::string>& vocabulary() const { return m_vocabulary; }
    const std::vector<std::string>& meanings() const { return m_meanings; }

    // The next example: its analysis and its translation (no "^").
    void next(stClass& analysis, std::string& translation);
    // Examples generated so far.
    std::size_t generated() const { return m_starts.size(); }

    // Generates `count` more examples into `library` (addAnalysed). Returns how many the
    // library refused.
    std::size_t fill(SentenceLibrary& library, std::size_t count);

    // Query sets, `count` analyses each, drawn with their own seed from the examples
    // generated so far:
    //  - exact: an example's own tokens;
    //  - similar: an example with 5-30 % of its words replaced (70-95 % of the tokens shared);
    //  - fresh: new random sentences of the same vocabulary.
    // `madeFrom`, when given, receives the index of the example each query was made from.
    std::vector<stClass> exactQueries(std::size_t count, std::uint32_t seed,
                                      std::vector<std::size_t>* madeFrom = nullptr) const;
    std::vector<stClass> similarQueries(std::size_t count, std::uint32_t seed,
                                        std::vector<std::size_t>* madeFrom = nullptr) const;
    std::vector<stClass> freshQueries(std::size_t count, std::uint32_t seed) const;

    // Puts every vocabulary word into `termBase` with its pseudo-translation as a
    // noun, in list order, so that the tokeniser segments the library's text.
    void fillTermBase(TermBase& termBase) const;

    // The analysis and translation of the example generated `index`-th (from 0).
    void exampleAt(std::size_t index, stClass& analysis, std::string& translation) const;

    // The translation of a token sequence (word ids; the id vocabulary().size() is ".").
    std::string translationOf(const std::vector<std::uint16_t>& ids) const;
    // Builds `analysis` from a token sequence: segKeys, segTrans, words and text as the
    // analyser fills them for a sentence of single-word segments.
    void analysisOf(const std::vector<std::uint16_t>& ids, stClass& analysis) const;

private:
    std::uint16_t drawWord(std::mt19937& random) const;
    std::vector<std::uint16_t> freshSentence(std::mt19937& random) const;
    std::vector<std::uint16_t> example(std::size_t index) const;
    void replaceWords(std::vector<std::uint16_t>& ids, std::size_t howMany, std::mt19937& random) const;

    std::mt19937 m_random;
    double m_variantShare;
    std::vector<std::string> m_vocabulary;
    std::vector<std::string> m_meanings;
    std::vector<double> m_cumulative;
    std::uint16_t m_period;  // the id of "."
    // Every generated example's token ids, flat, and where each starts.
    std::vector<std::uint16_t> m_tokens;
    std::vector<std::uint32_t> m_starts;
};

}  // namespace tavricat::bench
