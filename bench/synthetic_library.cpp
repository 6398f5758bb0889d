#include "synthetic_library.h"

#include <algorithm>
#include <cstdlib>

#include "base/list_order.h"
#include "synthetic_text.h"

namespace tavricat::bench {

namespace {

// Words of a sentence, the final "." not counted: 8-25 tokens in all.
constexpr int kMinWords = 7;
constexpr int kMaxWords = 24;

std::uint32_t mix(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

// One to three GBK level-1 characters (lead 0xB0..0xD7, trail 0xA1..0xFE) chosen by the
// word's id: the same word always gets the same meaning.
std::string pseudoMeaning(std::uint32_t id) {
    std::uint32_t h = mix(id * 2654435761U + 12345U);
    const int chars = 1 + static_cast<int>(h % 3);
    std::string meaning;
    for (int i = 0; i < chars; ++i) {
        h = mix(h + static_cast<std::uint32_t>(i));
        meaning += static_cast<char>(0xB0 + h % 40);
        meaning += static_cast<char>(0xA1 + (h / 40) % 94);
    }
    return meaning;
}

}  // namespace

SyntheticLibrary::SyntheticLibrary(std::uint32_t seed, std::size_t vocabularySize, double variantShare)
    : m_random(seed), m_variantShare(variantShare) {
    if (vocabularySize == 0 || vocabularySize >= 0xFFFF) std::abort();
    // The made-up words of the document generator, so both benches speak one language.
    m_vocabulary = EnglishSentences(seed, vocabularySize).vocabulary();
    m_period = static_cast<std::uint16_t>(m_vocabulary.size());
    m_meanings.reserve(m_vocabulary.size() + 1);
    double total = 0;
    for (std::size_t rank = 1; rank <= m_vocabulary.size(); ++rank) {
        m_meanings.push_back(pseudoMeaning(static_cast<std::uint32_t>(rank)));
        total += 1.0 / static_cast<double>(rank);
        m_cumulative.push_back(total);
    }
    for (double& c : m_cumulative) c /= total;
    m_meanings.push_back("。");
}

std::uint16_t SyntheticLibrary::drawWord(std::mt19937& random) const {
    const double u = std::uniform_real_distribution<double>(0, 1)(random);
    auto it = std::lower_bound(m_cumulative.begin(), m_cumulative.end(), u);
    return static_cast<std::uint16_t>(
        std::min<std::size_t>(static_cast<std::size_t>(it - m_cumulative.begin()), m_vocabulary.size() - 1));
}

std::vector<std::uint16_t> SyntheticLibrary::freshSentence(std::mt19937& random) const {
    const int words = std::uniform_int_distribution<int>(kMinWords, kMaxWords)(random);
    std::vector<std::uint16_t> ids;
    ids.reserve(static_cast<std::size_t>(words) + 1);
    for (int i = 0; i < words; ++i) ids.push_back(drawWord(random));
    ids.push_back(m_period);
    return ids;
}

std::vector<std::uint16_t> SyntheticLibrary::example(std::size_t index) const {
    const std::size_t from = m_starts[index];
    const std::size_t to = index + 1 < m_starts.size() ? m_starts[index + 1] : m_tokens.size();
    return {m_tokens.begin() + static_cast<std::ptrdiff_t>(from), m_tokens.begin() + static_cast<std::ptrdiff_t>(to)};
}

// Replaces `howMany` distinct word positions (never the final ".") by other words.
void SyntheticLibrary::replaceWords(std::vector<std::uint16_t>& ids, std::size_t howMany, std::mt19937& random) const {
    std::vector<std::size_t> positions(ids.size() - 1);
    for (std::size_t i = 0; i < positions.size(); ++i) positions[i] = i;
    std::shuffle(positions.begin(), positions.end(), random);
    howMany = std::min(howMany, positions.size());
    for (std::size_t k = 0; k < howMany; ++k) {
        const std::size_t at = positions[k];
        std::uint16_t word = drawWord(random);
        while (word == ids[at]) word = drawWord(random);
        ids[at] = word;
    }
}

std::string SyntheticLibrary::translationOf(const std::vector<std::uint16_t>& ids) const {
    std::string translation;
    for (std::uint16_t id : ids) translation += m_meanings[id];
    return translation;
}

void SyntheticLibrary::analysisOf(const std::vector<std::uint16_t>& ids, stClass& analysis) const {
    analysis.reset(ids.size() + 1);
    analysis.segCount = static_cast<std::int32_t>(ids.size());
    analysis.wordCount = analysis.segCount;
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const std::string& token = ids[i] == m_period ? std::string(".") : m_vocabulary[ids[i]];
        const std::size_t slot = i + 1;
        analysis.words[slot] = token;
        analysis.baseWords[slot] = token;
        analysis.segKeys[slot] = token;
        analysis.segWords[slot] = token + " ";
        analysis.segText[slot] = token + " ";
        analysis.segTrans[slot] = m_meanings[ids[i]];
        analysis.segClass[slot] = std::string(ids[i] == m_period ? 0 : 1, 'n');
        if (i) analysis.text += ' ';
        analysis.text += token;
    }
}

void SyntheticLibrary::next(stClass& analysis, std::string& translation) {
    std::vector<std::uint16_t> ids;
    if (!m_starts.empty() && std::uniform_real_distribution<double>(0, 1)(m_random) < m_variantShare) {
        ids = example(std::uniform_int_distribution<std::size_t>(0, m_starts.size() - 1)(m_random));
        replaceWords(ids, std::uniform_int_distribution<std::size_t>(1, 3)(m_random), m_random);
    } else {
        ids = freshSentence(m_random);
    }
    m_starts.push_back(static_cast<std::uint32_t>(m_tokens.size()));
    m_tokens.insert(m_tokens.end(), ids.begin(), ids.end());
    analysisOf(ids, analysis);
    translation = translationOf(ids);
}

std::size_t SyntheticLibrary::fill(SentenceLibrary& library, std::size_t count) {
    m_starts.reserve(m_starts.size() + count);
    m_tokens.reserve(m_tokens.size() + count * 17);
    library.libSentences.reserve(library.libSentences.size() + count);
    stClass analysis;
    std::string translation;
    std::size_t refused = 0;
    const SentenceLibrary::BulkAdds bulk(library);
    for (std::size_t i = 0; i < count; ++i) {
        next(analysis, translation);
        if (!library.addAnalysed(analysis, translation)) ++refused;
    }
    return refused;
}

void SyntheticLibrary::exampleAt(std::size_t index, stClass& analysis, std::string& translation) const {
    const std::vector<std::uint16_t> ids = example(index);
    analysisOf(ids, analysis);
    translation = translationOf(ids);
}

std::vector<stClass> SyntheticLibrary::exactQueries(std::size_t count, std::uint32_t seed,
                                                    std::vector<std::size_t>* madeFrom) const {
    std::mt19937 random(seed);
    std::vector<stClass> queries(count);
    if (m_starts.empty()) return {};
    if (madeFrom) madeFrom->clear();
    for (stClass& query : queries) {
        const std::size_t from = std::uniform_int_distribution<std::size_t>(0, m_starts.size() - 1)(random);
        if (madeFrom) madeFrom->push_back(from);
        analysisOf(example(from), query);
    }
    return queries;
}

std::vector<stClass> SyntheticLibrary::similarQueries(std::size_t count, std::uint32_t seed,
                                                      std::vector<std::size_t>* madeFrom) const {
    std::mt19937 random(seed);
    std::vector<stClass> queries(count);
    if (m_starts.empty()) return {};
    if (madeFrom) madeFrom->clear();
    for (stClass& query : queries) {
        const std::size_t from = std::uniform_int_distribution<std::size_t>(0, m_starts.size() - 1)(random);
        if (madeFrom) madeFrom->push_back(from);
        std::vector<std::uint16_t> ids = example(from);
        // Keep 70-95 % of the tokens: at least one word changes, never more than 30 %.
        const double kept = std::uniform_real_distribution<double>(0.70, 0.95)(random);
        const auto n = static_cast<double>(ids.size());
        std::size_t change = static_cast<std::size_t>(n * (1.0 - kept) + 0.5);
        change = std::clamp<std::size_t>(change, 1, static_cast<std::size_t>(n * 0.30));
        replaceWords(ids, change, random);
        analysisOf(ids, query);
    }
    return queries;
}

std::vector<stClass> SyntheticLibrary::freshQueries(std::size_t count, std::uint32_t seed) const {
    std::mt19937 random(seed);
    std::vector<stClass> queries(count);
    for (stClass& query : queries) analysisOf(freshSentence(random), query);
    return queries;
}

void SyntheticLibrary::fillTermBase(TermBase& termBase) const {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(m_vocabulary.size() + 1);
    for (std::size_t id = 0; id < m_vocabulary.size(); ++id) pairs.emplace_back(m_vocabulary[id], m_meanings[id] + "^^n^");
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return compareListOrder(a.first, b.first) < 0; });
    pairs.erase(std::unique(pairs.begin(), pairs.end(),
                            [](const auto& a, const auto& b) { return compareListOrder(a.first, b.first) == 0; }),
                pairs.end());
    termBase.termKeys.clear();
    termBase.termEntries.clear();
    for (auto& [key, entry] : pairs) {
        termBase.termKeys.push_back(std::move(key));
        termBase.termEntries.push_back(std::move(entry));
    }
}

}  // namespace tavricat::bench
