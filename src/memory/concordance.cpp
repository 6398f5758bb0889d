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

const std::vector<std::size_t> kNone;

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
std::vector<std::size_t> intersect(std::vector<const std::vector<std::size_t>*> lists) {
    if (lists.empty()) return {};
    std::sort(lists.begin(), lists.end(), [](auto* a, auto* b) { return a->size() < b->size(); });
    std::vector<std::size_t> result = *lists.front();
    for (std::size_t i = 1; i < lists.size() && !result.empty(); ++i) {
        std::vector<std::size_t> kept;
        std::set_intersection(result.begin(), result.end(), lists[i]->begin(), lists[i]->end(), std::back_inserter(kept));
        result = std::move(kept);
    }
    return result;
}

}  // namespace

bool ConcordanceIndex::current(const SentenceLibrary& library) const {
    return m_examples == library.libSentences.size() &&
           (library.libSentences.empty() || library.libSentences.back() == m_lastLine);
}

void ConcordanceIndex::build(const SentenceLibrary& library) {
    m_capped.clear();
    m_translations.clear();
    std::unordered_map<std::string, bool> capped;
    for (std::size_t w = 0; w < library.libWords.size() && w < library.libPostings.size(); ++w)
        if (library.libPostings[w] == kStopMarker) capped[gbk::asciiLower(library.libWords[w])] = true;
    for (std::size_t e = 0; e < library.libSentences.size(); ++e) {
        const std::optional<Parts> parts = partsOf(library.libSentences[e]);
        if (!parts) continue;
        if (!capped.empty())
            for (const std::string& token : tokensOf(parts->source)) {
                const std::string folded = gbk::asciiLower(token);
                if (capped.count(folded)) {
                    auto& list = m_capped[folded];
                    if (list.empty() || list.back() != e) list.push_back(e);
                }
            }
        for (const std::string& unit : translationUnits(parts->translation)) {
            auto& list = m_translations[unit];
            if (list.empty() || list.back() != e) list.push_back(e);
        }
    }
    m_examples = library.libSentences.size();
    m_lastLine = library.libSentences.empty() ? std::string() : library.libSentences.back();
}

const std::vector<std::size_t>& ConcordanceIndex::examplesWith(std::string_view unit, bool translation) const {
    const auto& map = translation ? m_translations : m_capped;
    const auto it = map.find(std::string(unit));
    return it == map.end() ? kNone : it->second;
}

std::vector<ConcordanceHit> concordance(const SentenceLibrary& library, ConcordanceIndex& index, std::string_view query,
                                        bool inTranslation, std::size_t limit) {
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
    if (!index.current(library)) index.build(library);
    std::vector<const std::vector<std::size_t>*> lists;
    const std::vector<std::string> units = inTranslation ? translationUnits(phrase) : tokensOf(gbk::asciiLower(phrase));
    for (const std::string& unit : units) lists.push_back(&index.examplesWith(unit, inTranslation));
    const std::vector<std::size_t> candidates = intersect(lists);
    for (auto it = candidates.rbegin(); it != candidates.rend() && hits.size() < limit; ++it) accept(*it);
    return hits;
}

}  // namespace tavricat
