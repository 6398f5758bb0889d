#pragma once
// Seeded generators of synthetic documents: the same seed gives the same text on every
// machine, so figures can be compared between runs.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tavricat::bench {

// English words drawn from a Zipf-distributed vocabulary of `vocabularySize` made-up words.
class EnglishSentences {
public:
    EnglishSentences(std::uint32_t seed, std::size_t vocabularySize = 20000);
    // A sentence of 8..25 words, capitalised, ending in ".", "?" or "!".
    std::string sentence();
    // The vocabulary, most frequent first.
    const std::vector<std::string>& vocabulary() const { return m_vocabulary; }

private:
    std::string word();
    std::mt19937 m_random;
    std::vector<std::string> m_vocabulary;
    std::vector<double> m_cumulative;
};

// Chinese sentences (GBK) from the common characters, ending in "。", "！" or "？", with an
// occasional "，" or "：".
class ChineseSentences {
public:
    explicit ChineseSentences(std::uint32_t seed);
    std::string sentence();

private:
    std::mt19937 m_random;
};

// About `bytes` bytes of text: sentences separated by blanks, a paragraph break (CR LF)
// every few sentences.
template <typename Generator>
std::string document(Generator& generator, std::size_t bytes) {
    std::string text;
    int inParagraph = 0;
    while (text.size() < bytes) {
        text += generator.sentence();
        if (++inParagraph == 6) {
            text += "\r\n";
            inParagraph = 0;
        } else {
            text += ' ';
        }
    }
    return text;
}

}  // namespace tavricat::bench
