#include "memory/example_adaptation.h"

#include <algorithm>
#include <cmath>

#include "base/gbk.h"
#include "document/inline_tags.h"
#include "engine/find_word.h"
#include "engine/morphology.h"
#include "memory/fuzzy_search.h"
#include "memory/sentence_library.h"

namespace tavricat {

std::optional<std::size_t> readHexNumber(std::string_view text) {
    if (text.empty()) return std::nullopt;
    std::size_t value = 0;
    for (char c : text) {
        int digit = (c >= '0' && c <= '9') ? c - '0'
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                              : -1;
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::size_t>(digit);
    }
    return value;
}

long percentOf(double rate) { return static_cast<long>(std::floor(rate * 100 + 1e-9)); }

std::vector<std::string_view> barItems(std::string_view list) {
    std::vector<std::string_view> items;
    std::size_t from = 0;
    while (true) {
        std::size_t bar = list.find('|', from);
        items.push_back(list.substr(from, bar == std::string_view::npos ? std::string_view::npos : bar - from));
        if (bar == std::string_view::npos) return items;
        from = bar + 1;
    }
}

void replaceAllOf(std::string& text, std::string_view what, std::string_view with) {
    if (what.empty()) return;
    std::string result;
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        result.append(text, from, at - from);
        result.append(with);
        from = at + what.size();
    }
    result.append(text, from, std::string::npos);
    text = std::move(result);
}

std::string_view withoutLeadingLabel(std::string_view item) {
    if (item.empty() || item[0] != '[') return item;
    // Walk whole characters: a trail byte may look like "]".
    for (std::size_t at = 1; at < item.size(); at += gbk::charLength(item, at))
        if (item[at] == ']') return item.substr(at + 1);
    return item;
}

StoredExample readStoredExample(std::string_view line, std::size_t translationLimit) {
    StoredExample example;
    const std::optional<std::size_t> count = readHexNumber(line.substr(0, std::min<std::size_t>(2, line.size())));
    example.countReadable = count.has_value();
    example.wordCount = static_cast<int>(count.value_or(0));
    const std::string_view stored = gbk::cutToBytes(line.substr(std::min<std::size_t>(2, line.size())), 3000);
    const std::size_t caret = findKeySeparator(stored);
    example.source = std::string(stored.substr(0, caret));
    if (caret != std::string_view::npos) example.translation = std::string(gbk::cutToBytes(stored.substr(caret + 1), translationLimit));
    return example;
}

TokenMatch matchTokens(const stClass& sentence, std::string_view exampleSource) {
    const auto n = static_cast<std::size_t>(std::max(sentence.segCount, 0));
    TokenMatch match;
    match.pos.assign(n, 0);
    match.len.assign(n, 0);
    std::size_t start = 1;
    for (std::size_t i = 0; i < n && i + 1 < sentence.segKeys.size(); ++i) {
        const std::string_view token = gbk::trim(sentence.segKeys[i + 1]);
        match.sentenceSource.append(" ").append(token);
        if (hasTag(sentence.segKeys[i + 1])) continue;
        match.pos[i] = findTokenFrom(start, exampleSource, token);
        if (match.pos[i] > 0) {
            ++match.found;
            match.len[i] = token.size();
            start = start + match.len[i] - 1;
        }
    }
    return match;
}

int rateDenominator(int wordCount, std::string_view exampleSource, const stClass& sentence) {
    int d = wordCount;
    if (hasTag(exampleSource)) d -= countTags(exampleSource);
    int q = std::max(sentence.segCount, 0);
    if (hasTag(sentence.text)) q -= countTags(sentence.text);
    if (d < q) d = q;
    if (d == 0) d = 100;
    return d;
}

SourceGap gapInSource(const TokenMatch& match, std::size_t i, std::size_t sourceLength, bool afterMatch) {
    const std::size_t n = match.pos.size();
    long from = 1;
    if (i > 0 && match.pos[i - 1] > 0) from = static_cast<long>(match.pos[i - 1] + match.len[i - 1]) - (afterMatch ? 0 : 1);
    else if (i > 0 && !afterMatch) from = -1;  // before the start: the gap is one byte shorter
    long end = static_cast<long>(sourceLength) + 1;
    for (std::size_t e = i; e < n; ++e) {
        if (match.pos[e] > 0) {
            end = static_cast<long>(match.pos[e]);
            break;
        }
    }
    SourceGap gap;
    gap.offset = std::min(static_cast<std::size_t>(std::max(from, 1L) - 1), sourceLength);
    gap.length = std::min(static_cast<std::size_t>(std::max(end - from, 0L)), sourceLength - gap.offset);
    return gap;
}

std::string meaningsUsedIn(const stClass& differing, std::string_view target, bool withoutLabels) {
    std::string used;
    for (std::int32_t k = 1; k <= differing.segCount; ++k) {
        const auto slot = static_cast<std::size_t>(k);
        if (slot >= differing.segKeys.size() || slot >= differing.segTrans.size()) break;
        const std::string items = differing.segKeys[slot] + "|" + differing.segTrans[slot] + "|";
        // The longest item the translation holds: replacing a shorter one found inside it
        // (洁 inside 清洁) would cut a word of the translation in two.
        std::string_view best;
        for (std::string_view item : barItems(items)) {
            if (withoutLabels) item = withoutLeadingLabel(item);
            if (item.size() > best.size() && target.find(item) != std::string_view::npos) best = item;
        }
        used += best;
    }
    return used;
}

std::string gapMeanings(const stClass& sentence, const TokenMatch& match, std::size_t i, std::size_t& end) {
    std::string meanings;
    end = i;
    for (; end < match.pos.size() && match.pos[end] == 0; ++end) {
        if (end + 1 < sentence.segTrans.size()) meanings += meaningOf(sentence.segTrans[end + 1]);
    }
    return meanings;
}

std::vector<std::string> promotePhraseMeanings(const SentenceLibrary& library, stClass& sentence,
                                               const std::vector<PhraseHit>& hits, bool keepFirst) {
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(sentence.segCount, 0)), hits.size());
    std::vector<std::string> promoted(n);
    for (std::size_t u = 0; u + 1 < n;) {
        const PhraseHit& hit = hits[u];
        if (hit.span < 1) {
            ++u;
            continue;
        }
        const std::optional<std::size_t> index = readHexNumber(hit.example);
        const std::string target =
            index && *index < library.libSentences.size() ? readStoredExample(library.libSentences[*index], 3000).translation
                                                          : std::string();
        for (std::size_t j = u; j < u + static_cast<std::size_t>(hit.span) && j < n && j + 1 < sentence.segTrans.size();
             ++j) {
            std::string& meanings = sentence.segTrans[j + 1];
            const std::vector<std::string_view> items = barItems(meanings);
            for (std::size_t k = 0; k < items.size(); ++k) {
                if (items[k].empty() || target.find(items[k]) == std::string::npos) continue;
                promoted[j] = std::string(items[k]);
                if (!(keepFirst && k == 0)) meanings = promoted[j] + "|" + meanings;
                break;
            }
        }
        u += static_cast<std::size_t>(hit.span);
    }
    return promoted;
}

}  // namespace tavricat
