#include "memory/concordance.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>

#include "base/gbk.h"
#include "memory/posting_merge.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

const ConcordanceIndex::Examples kNone;

std::vector<std::string> tokensOf(std::string_view text) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') ++i;
        if (i > start) tokens.emplace_back(text.substr(start, i - start));
    }
    return tokens;
}

// A translation's units: each Chinese (double-byte) character, each lower-case ASCII word.
std::vector<std::string> translationUnits(std::string_view text) {
    std::vector<std::string> units;
    std::string word;
    auto flush = [&] {
        if (!word.empty()) units.push_back(std::move(word));
        word.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (gbk::isLeadByte(b) && i + 1 < text.size()) {
            flush();
            units.emplace_back(text.substr(i, 2));
            ++i;
        } else if (std::isalnum(b)) {
            word += static_cast<char>(std::tolower(b));
        } else {
            flush();
        }
    }
    flush();
    return units;
}

struct Parts {
    std::string source;
    std::string translation;
};

std::optional<Parts> partsOf(const std::string& line) {
    const std::size_t caret = findKeySeparator(line);
    if (caret == std::string::npos || line.size() <= 5) return std::nullopt;
    std::string key = line.substr(0, caret);
    Parts parts;
    parts.source = key.size() > 3 ? std::string(gbk::trim(std::string_view(key).substr(3))) : std::string();
    parts.translation = line.substr(caret + 1);
    return parts;
}

// The first place of `needle` in `hay` on a character boundary (ASCII compared without case
// when `fold`); npos when none.
std::size_t findIn(const std::string& hay, const std::string& needle, bool fold) {
    const std::string h = fold ? gbk::asciiLower(hay) : hay;
    const std::string n = fold ? gbk::asciiLower(needle) : needle;
    for (std::size_t at = h.find(n); at != std::string::npos; at = h.find(n, at + 1))
        if (at == 0 || !gbk::isTrailByte(hay, at)) return at;
    return std::string::npos;
}

// The examples of all `lists` (each oldest first).
ConcordanceIndex::Examples intersect(std::vector<const ConcordanceIndex::Examples*> lists) {
    if (lists.empty()) return {};
    std::sort(lists.begin(), lists.end(), [](auto* a, auto* b) { return a->size() < b->size(); });
    ConcordanceIndex::Examples result = *lists.front();
    for (std::size_t i = 1; i < lists.size() && !result.empty(); ++i) {
        ConcordanceIndex::Examples kept;
        std::set_intersection(result.begin(), result.end(), lists[i]->begin(), lists[i]->end(), std::back_inserter(kept));
        result = std::move(kept);
    }
    return result;
}

// The source tokens and translation of a library line, as views of it; false for a tombstone
// or a line too short to be an example.
bool viewParts(std::string_view line, std::string_view& source, std::string_view& translation) {
    const std::size_t caret = findKeySeparator(line);
    if (caret == std::string_view::npos || line.size() <= 5) return false;
    const std::string_view key = line.substr(0, caret);
    source = key.size() > 3 ? gbk::trim(key.substr(3)) : std::string_view();
    translation = line.substr(caret + 1);
    return true;
}

void insertSorted(ConcordanceIndex::Examples& list, std::uint32_t example) {
    if (list.empty() || list.back() < example) {
        list.push_back(example);
        return;
    }
    if (list.back() == example) return;  // the unit again in the same example
    const auto at = std::lower_bound(list.begin(), list.end(), example);
    if (at == list.end() || *at != example) list.insert(at, example);
}

void eraseSorted(ConcordanceIndex::Examples& list, std::uint32_t example) {
    const auto at = std::lower_bound(list.begin(), list.end(), example);
    if (at != list.end() && *at == example) list.erase(at);
}

constexpr std::size_t kCharacterSlots = (0xFE - 0x81 + 1) * 256;

std::size_t characterSlot(unsigned char lead, unsigned char trail) {
    return static_cast<std::size_t>(lead - 0x81) * 256 + trail;
}

}  // namespace

template <typename Change>
void ConcordanceIndex::forEachList(std::string_view line, Change change) {
    std::string_view source, translation;
    if (!viewParts(line, source, translation)) return;
    if (!m_capped.empty()) {
        for (std::size_t i = 0; i < source.size();) {
            while (i < source.size() && source[i] == ' ') ++i;
            const std::size_t from = i;
            while (i < source.size() && source[i] != ' ') ++i;
            if (i == from) continue;
            if (Examples* list = m_capped.find(source.substr(from, i - from))) change(*list);
        }
    }
    if (m_characters.empty()) m_characters.resize(kCharacterSlots);
    std::string word;
    auto flush = [&] {
        if (word.empty()) return;
        change(m_words[word]);
        word.clear();
    };
    for (std::size_t i = 0; i < translation.size(); ++i) {
        const auto b = static_cast<unsigned char>(translation[i]);
        if (gbk::isLeadByte(b) && i + 1 < translation.size()) {
            flush();
            change(m_characters[characterSlot(b, static_cast<unsigned char>(translation[i + 1]))]);
            ++i;
        } else if (std::isalnum(b)) {
            word += static_cast<char>(std::tolower(b));
        } else {
            flush();
        }
    }
    flush();
}

void ConcordanceIndex::build(const SentenceLibrary& library) {
    m_capped.clear();
    m_words.clear();
    m_characters.assign(kCharacterSlots, {});
    // Each character's list reserved at once: grown a step at a time, the lists of a million
    // examples would be copied over and over and end up to twice their size.
    std::vector<std::uint32_t> counts(kCharacterSlots, 0);
    for (const std::string& line : library.libSentences) {
        std::string_view source, translation;
        if (!viewParts(line, source, translation)) continue;
        for (std::size_t i = 0; i + 1 < translation.size(); ++i)
            if (gbk::isLeadByte(static_cast<unsigned char>(translation[i]))) {
                ++counts[characterSlot(static_cast<unsigned char>(translation[i]), static_cast<unsigned char>(translation[i + 1]))];
                ++i;
            }
    }
    for (std::size_t slot = 0; slot < kCharacterSlots; ++slot) m_characters[slot].reserve(counts[slot]);
    for (std::size_t w = 0; w < library.libWords.size() && w < library.libPostings.size(); ++w)
        if (library.libPostings[w] == kStopMarker) m_capped[library.libWords[w]];
    for (std::size_t e = 0; e < library.libSentences.size(); ++e) add(e, library.libSentences[e]);
    m_examples = library.libSentences.size();
}

bool ConcordanceIndex::inStepWith(const SentenceLibrary& library) const {
    return m_examples == library.libSentences.size();
}

void ConcordanceIndex::add(std::size_t example, std::string_view line) {
    const auto e = static_cast<std::uint32_t>(example);
    forEachList(line, [e](Examples& list) { insertSorted(list, e); });
}

void ConcordanceIndex::remove(std::size_t example, std::string_view line) {
    const auto e = static_cast<std::uint32_t>(example);
    forEachList(line, [e](Examples& list) { eraseSorted(list, e); });
}

void ConcordanceIndex::capped(std::string_view token, Examples examples) {
    std::sort(examples.begin(), examples.end());
    examples.erase(std::unique(examples.begin(), examples.end()), examples.end());
    Examples& list = m_capped[token];
    Examples merged;
    std::set_union(list.begin(), list.end(), examples.begin(), examples.end(), std::back_inserter(merged));
    list = std::move(merged);
}

const ConcordanceIndex::Examples& ConcordanceIndex::examplesWith(std::string_view unit, bool translation) const {
    if (!translation) {
        const Examples* list = m_capped.find(unit);
        return list ? *list : kNone;
    }
    if (unit.size() == 2 && gbk::isLeadByte(static_cast<unsigned char>(unit[0]))) {
        if (m_characters.empty()) return kNone;
        return m_characters[characterSlot(static_cast<unsigned char>(unit[0]), static_cast<unsigned char>(unit[1]))];
    }
    const Examples* list = m_words.find(unit);
    return list ? *list : kNone;
}

std::vector<ConcordanceHit> concordance(const SentenceLibrary& library, std::string_view query, bool inTranslation,
                                        std::size_t limit) {
    std::vector<ConcordanceHit> hits;
    const std::string phrase(gbk::trim(query));
    if (phrase.empty() || limit == 0) return hits;
    auto accept = [&](std::size_t e) {
        const std::optional<Parts> parts = partsOf(library.libSentences[e]);
        if (!parts) return;
        const std::string& hay = inTranslation ? parts->translation : parts->source;
        std::size_t at;
        if (inTranslation) {
            at = findIn(hay, phrase, true);
        } else {
            // Whole tokens: the phrase between blanks or the key's edges. The blank found
            // before the phrase in the padded key stands where the phrase starts in the key.
            const std::string padded = " " + gbk::asciiLower(hay) + " ";
            at = padded.find(" " + gbk::asciiLower(phrase) + " ");
        }
        if (at == std::string::npos) return;
        hits.push_back({e, parts->source, parts->translation, inTranslation, at, phrase.size()});
    };

    if (!inTranslation) {
        std::vector<QueryToken> tokens = classifyQueryTokens(library, tokensOf(phrase));
        std::erase_if(tokens, [](const QueryToken& t) { return t.kind != QueryTokenClass::Indexed; });
        if (!tokens.empty()) {
            // Newest first from the postings; every indexed token must name the example.
            PostingMerge merge(tokens);
            std::size_t example = 0;
            std::vector<std::size_t> matched;
            while (hits.size() < limit && merge.next(example, matched)) {
                std::sort(matched.begin(), matched.end());
                matched.erase(std::unique(matched.begin(), matched.end()), matched.end());
                if (matched.size() == tokens.size() && example < library.libSentences.size()) accept(example);
            }
            return hits;
        }
    }
    const ConcordanceIndex& index = library.concordanceIndex();
    std::vector<const ConcordanceIndex::Examples*> lists;
    const std::vector<std::string> units = inTranslation ? translationUnits(phrase) : tokensOf(gbk::asciiLower(phrase));
    for (const std::string& unit : units) lists.push_back(&index.examplesWith(unit, inTranslation));
    const ConcordanceIndex::Examples candidates = intersect(lists);
    for (auto it = candidates.rbegin(); it != candidates.rend() && hits.size() < limit; ++it) accept(*it);
    return hits;
}

}  // namespace tavricat
