#include "synthetic_text.h"

#include <algorithm>

namespace tavricat::bench {

namespace {
const char* const kSyllables[] = {"ka", "ro", "mi", "ten", "sa", "lo", "ver", "an", "di", "pur", "el", "to",
                                  "ni", "gra", "us", "be", "ma", "or", "shi", "fe"};
}  // namespace

EnglishSentences::EnglishSentences(std::uint32_t seed, std::size_t vocabularySize) : m_random(seed) {
    m_vocabulary.reserve(vocabularySize);
    double total = 0;
    for (std::size_t rank = 1; rank <= vocabularySize; ++rank) {
        std::string w;
        std::size_t n = rank;
        do {
            w += kSyllables[n % std::size(kSyllables)];
            n /= std::size(kSyllables);
        } while (n > 0);
        m_vocabulary.push_back(w);
        total += 1.0 / static_cast<double>(rank);
        m_cumulative.push_back(total);
    }
    for (double& c : m_cumulative) c /= total;
}

std::string EnglishSentences::word() {
    double u = std::uniform_real_distribution<double>(0, 1)(m_random);
    auto it = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), u);
    return m_vocabulary[std::min<std::size_t>(static_cast<std::size_t>(it - m_cumulative.begin()), m_vocabulary.size() - 1)];
}

std::string EnglishSentences::sentence() {
    int words = std::uniform_int_distribution<int>(8, 25)(m_random);
    std::string s;
    for (int i = 0; i < words; ++i) {
        if (i) s += (i % 7 == 6) ? ", " : " ";
        std::string w = word();
        if (i == 0) w[0] = static_cast<char>(w[0] - 32);
        s += w;
    }
    static const char* const kEnds[] = {".", ".", ".", "?", "!"};
    return s + kEnds[m_random() % std::size(kEnds)];
}

ChineseSentences::ChineseSentences(std::uint32_t seed) : m_random(seed) {}

std::string ChineseSentences::sentence() {
    // GBK level-1 characters: lead 0xB0..0xD7, trail 0xA1..0xFE.
    int chars = std::uniform_int_distribution<int>(6, 40)(m_random);
    std::string s;
    for (int i = 0; i < chars; ++i) {
        if (i && i % 11 == 10) s += (m_random() % 4 == 0) ? "：" : "，";
        s += static_cast<char>(0xB0 + m_random() % 40);
        s += static_cast<char>(0xA1 + m_random() % 94);
    }
    static const char* const kEnds[] = {"。", "。", "。", "！", "？"};
    return s + kEnds[m_random() % std::size(kEnds)];
}

}  // namespace tavricat::bench
