#include "memory/fuzzy_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/gbk.h"
#include "base/ports.h"
#include "document/inline_tags.h"
#include "engine/engine.h"
#include "engine/find_word.h"
#include "memory/line_signature.h"
#include "memory/posting_merge.h"

namespace tavricat {

namespace {

// The rate rounded to six significant digits, written with six decimals.
std::string rateText(double rate) {
    char rounded[32];
    std::snprintf(rounded, sizeof rounded, "%.6g", rate);
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", std::strtod(rounded, nullptr));
    return text;
}

// The candidate as the list keeps it: its rate rounded as it is shown.
Candidate candidate(double rate, std::size_t example) {
    return {std::strtod(rateText(rate).c_str(), nullptr), example};
}

// Reads hexadecimal text; nullopt when it holds anything else.
std::optional<std::size_t> readHex(std::string_view text) {
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

std::vector<std::string> segmentKeys(const stClass& sentence) {
    const auto count = static_cast<std::size_t>(std::max(sentence.segCount, 0));
    std::vector<std::string> keys;
    keys.reserve(count);
    for (std::size_t k = 1; k <= count && k < sentence.segKeys.size(); ++k) keys.push_back(sentence.segKeys[k]);
    return keys;
}

// Marks every maximal run of consecutive matched positions (two or more) as a phrase hit of
// the example, keeping the longer of two runs that start at one position.
void recordRuns(std::vector<std::size_t>& positions, std::size_t example, std::vector<PhraseHit>& hits) {
    std::sort(positions.begin(), positions.end());
    std::size_t runStart = 0;
    for (std::size_t k = 1; k <= positions.size(); ++k) {
        if (k < positions.size() && positions[k] == positions[k - 1] + 1) continue;
        const std::size_t span = k - runStart;
        const std::size_t first = positions[runStart];
        if (span >= 2 && first < hits.size() && hits[first].span < static_cast<int>(span)) {
            hits[first] = PhraseHit{static_cast<int>(span), 0, hex5(example)};
        }
        runStart = k;
    }
}

// Whether some run of positions that may match (`mayMatch`) is long enough to set a longer
// phrase hit than `hits` holds: a run can only grow inside such a run.
bool mayLengthenPhraseHit(const std::vector<bool>& mayMatch, const std::vector<PhraseHit>& hits) {
    const std::size_t n = mayMatch.size();
    for (std::size_t start = 0; start < n;) {
        if (!mayMatch[start]) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < n && mayMatch[end]) ++end;
        for (std::size_t u = start; u + 2 <= end; ++u)
            if (hits[u].span < static_cast<int>(end - u)) return true;
        start = end;
    }
    return false;
}

// The items of a "|"-separated list, in order (empty ones included).
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

// The translation of a stored line: after the first "^" of the line from its third
// character on (at most 3000 characters), cut to `limit`.
std::string_view translationOf(std::string_view line, std::size_t limit) {
    std::string_view rest = gbk::cutToBytes(line.substr(std::min<std::size_t>(2, line.size())), 3000);
    std::size_t caret = findKeySeparator(rest);
    if (caret == std::string_view::npos) return {};
    return gbk::cutToBytes(rest.substr(caret + 1), limit);
}

// A rate of 1 says the example is the sentence: every token found is not enough when the
// example's words are not the sentence's in its order (tokens swapped, or one token of the
// sentence twice where the example has it once); such an example counts one token short.
// Inline tags, which the rates leave out, are left out here too.
double cappedRate(double rate, int denominator, std::string_view exampleSource, std::string_view sentenceSource) {
    if (rate < 1 || sameWords(exampleSource, sentenceSource, true)) return rate;
    return static_cast<double>(denominator - 1) / denominator;
}

}  // namespace

std::string Candidate::text() const { return rateText(rate) + hex5(example); }

std::optional<std::size_t> FuzzySearch::bestExample() const {
    if (CandidateList.empty()) return std::nullopt;
    return CandidateList.back().example;
}

void findsimint(const SentenceLibrary& library, const stClass& sentence, FuzzySearch& search, SearchScope scope) {
    const bool withPhraseHits = scope == SearchScope::Full;
    search.CandidateList.clear();
    search.ExactHit = false;
    if (library.libSentences.empty()) return;

    const std::vector<std::string> tokens = segmentKeys(sentence);
    const std::size_t n = tokens.size();
    const std::vector<QueryToken> query = classifyQueryTokens(library, tokens);

    std::string queryKey;
    for (const QueryToken& token : query) {
        if (!queryKey.empty()) queryKey += ' ';
        queryKey += token.text;
    }
    const std::string querySource = queryKey;
    queryKey += " ^";
    const bool sentenceHasTag = hasTag(sentence.text);
    const int queryTags = countTags(queryKey);

    search.PhraseHits.assign(n, PhraseHit{});
    double best = 0;

    // What an example can reach at most is known from its line's summary: the indexed tokens
    // matched, plus the tokens searched as text whose byte pairs all occur in the line, over
    // the example's denominator. Most visited examples share a word or two and can neither
    // become a candidate nor lengthen a phrase hit; their lines are not read at all.
    std::vector<std::size_t> textPositions;
    std::vector<LineSignature> textWords;
    std::size_t indexedCount = 0;
    for (std::size_t l = 0; l < n; ++l) {
        if (query[l].kind == QueryTokenClass::Indexed) ++indexedCount;
        if (query[l].kind != QueryTokenClass::Unindexed) continue;
        textPositions.push_back(l);
        // A whole token stands between blanks (the line's summary counts the source's ends
        // as blanks), which makes even a one-byte token tell lines apart.
        textWords.push_back(LineSignature::ofWord(" " + query[l].text + " "));
    }
    const int leastDenominator = static_cast<int>(n) - queryTags;
    std::vector<bool> mayMatch(n);
    // Per token searched as text: whether the visited line may hold it; only those are searched.
    std::vector<char> textMayOccur(textPositions.size());

    // The merge runs first and the visits are rated after it, so that the summaries of the
    // next examples can be fetched from memory while one is rated.
    struct Visit {
        std::size_t example;
        std::size_t firstMatched;
        std::size_t matchedCount;
    };
    std::vector<Visit> visits;
    std::vector<std::size_t> matchedPositions;
    {
        PostingMerge merge(query);
        std::size_t example = 0;
        std::vector<std::size_t> matched;
        while (merge.next(example, matched)) {
            if (example >= library.libSentences.size()) continue;  // a stale posting
            visits.push_back({example, matchedPositions.size(), matched.size()});
            matchedPositions.insert(matchedPositions.end(), matched.begin(), matched.end());
        }
    }

    // An example with the sentence's source (its words, however the term base cut them into
    // tokens) ends the search: the newest such example that shares an indexed token.
    std::optional<std::size_t> exactExample;
    if (const std::vector<std::size_t> same = library.examplesWithSource(querySource); !same.empty()) {
        for (const Visit& visit : visits) {  // newest first
            if (std::binary_search(same.begin(), same.end(), visit.example)) {
                exactExample = visit.example;
                break;
            }
        }
    }
    auto endWithExactHit = [&] {
        search.CandidateList.assign(1, Candidate{1.0, *exactExample});
        search.ExactHit = true;
    };
    // Only phrase hits need the examples visited before it.
    if (exactExample && !withPhraseHits) {
        endWithExactHit();
        return;
    }

    // When only the best example is wanted, the order of the visits does not matter (the
    // best is the highest rate, the newest among equals, or the newest exact example), so
    // the examples sharing the most indexed tokens go first: a good rate found early lets
    // the rest be passed over.
    const bool bestOnly = scope == SearchScope::BestOnly;
    if (bestOnly) {
        // A counting sort on the matched count (at most n), newest first within a count.
        std::vector<std::size_t> starts(n + 2, 0);
        for (const Visit& visit : visits) ++starts[n - visit.matchedCount + 1];
        for (std::size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
        std::vector<Visit> sorted(visits.size());
        for (const Visit& visit : visits) sorted[starts[n - visit.matchedCount]++] = visit;
        visits = std::move(sorted);
    }
    std::size_t bestExample = 0;
    auto beats = [&](double rate, std::size_t example) {
        return rate > best || (bestOnly && best > 0 && rate == best && example > bestExample);
    };

    // Without phrase hits, an example that could not beat the best rate even with every
    // token searched as text found and the least denominator is passed over untouched.
    auto highestWithout = [&](std::size_t matchedCount) {
        return static_cast<double>(matchedCount + textPositions.size()) / leastDenominator;
    };
    auto cannotImprove = [&](std::size_t matchedCount, std::size_t example) {
        if (withPhraseHits || leastDenominator <= 0) return false;
        const double highest = highestWithout(matchedCount);
        return highest <= kCandidateThreshold || !beats(highest, example);
    };

    constexpr std::size_t kFetchAhead = 8;
    std::vector<std::size_t> matched;
    for (std::size_t v = 0; v < visits.size(); ++v) {
        if (v + kFetchAhead < visits.size()) library.prefetchSignature(visits[v + kFetchAhead].example);
        const std::size_t example = visits[v].example;
        if (exactExample && example == *exactExample) {
            endWithExactHit();
            return;
        }
        if (visits[v].matchedCount < indexedCount && cannotImprove(visits[v].matchedCount, example)) {
            // Sorted by matched tokens, no later visit can do better.
            if (bestOnly) {
                const double highest = highestWithout(visits[v].matchedCount);
                if (highest <= kCandidateThreshold || highest < best) break;
            }
            continue;
        }
        const auto firstMatched = matchedPositions.begin() + static_cast<std::ptrdiff_t>(visits[v].firstMatched);
        matched.assign(firstMatched, firstMatched + static_cast<std::ptrdiff_t>(visits[v].matchedCount));
        const std::string& line = library.libSentences[example];
        const LineSignature* summary = library.signatureOf(example);
        for (std::size_t t = 0; t < textPositions.size(); ++t)
            textMayOccur[t] = !summary || summary->mayContain(textWords[t]);

        if (summary && summary->tokenCount() >= 0) {
            int denominator = leastDenominator;
            if (!summary->hasTag()) {
                denominator = summary->tokenCount();
                if (denominator < static_cast<int>(n)) denominator = static_cast<int>(n) - queryTags;
                if (denominator == 0) denominator = 100;
            }
            if (denominator > 0) {
                std::fill(mayMatch.begin(), mayMatch.end(), false);
                for (std::size_t position : matched) mayMatch[position] = true;
                std::size_t reachable = matched.size();
                for (std::size_t t = 0; t < textPositions.size(); ++t) {
                    if (textMayOccur[t]) {
                        mayMatch[textPositions[t]] = true;
                        ++reachable;
                    }
                }
                const double highest = static_cast<double>(reachable) / denominator;
                const bool mayBeCandidate = highest > kCandidateThreshold && beats(highest, example);
                if (!mayBeCandidate && !(withPhraseHits && mayLengthenPhraseHit(mayMatch, search.PhraseHits)))
                    continue;
            }
        }
        const int m = static_cast<int>(readHex(std::string_view(line).substr(0, 2)).value_or(0));
        const std::string_view source = exampleSourceOf(line);

        std::size_t last = 0;
        for (std::size_t t = 0; t < textPositions.size(); ++t) {
            if (!textMayOccur[t]) continue;
            const std::size_t l = textPositions[t];
            std::size_t at = findTokenFrom(last + 1, source, query[l].text);
            if (at > 0) {
                last = at;
                matched.push_back(l);
            }
        }

        int d = m;
        if (hasTag(line)) {
            if (!sentenceHasTag) d -= countTags(line);
            const std::size_t caret = findKeySeparator(line);
            d -= countTags(std::string_view(line).substr(0, caret == std::string::npos ? line.size() : caret + 1));
        }
        if (d < static_cast<int>(n)) d = static_cast<int>(n) - queryTags;
        if (d == 0) d = 100;
        const double rate = cappedRate(static_cast<double>(matched.size()) / d, d, source, querySource);

        if (withPhraseHits) recordRuns(matched, example, search.PhraseHits);

        if (rate > kCandidateThreshold && beats(rate, example)) {
            best = rate;
            bestExample = example;
            if (!bestOnly) search.CandidateList.push_back(candidate(rate, example));
        }
    }
    if (bestOnly && best > 0) search.CandidateList.assign(1, candidate(best, bestExample));
}

std::string getsimsent(const SentenceLibrary& library, Engine& engine, const SimilarityOptions& options,
                       FuzzySearch& search) {
    stClass& sentence = engine.workSent;
    // Only the best example is rated; phrase hits matter only when no example is usable and
    // are collected then.
    findsimint(library, sentence, search, SearchScope::BestOnly);
    if (search.CandidateList.empty()) return {};

    std::sort(search.CandidateList.begin(), search.CandidateList.end());
    const std::optional<std::size_t> best = search.bestExample();
    if (!best || *best >= library.libSentences.size()) {
        if (search.dialogs) search.dialogs->message(kUnreadableCandidate);
        return {};
    }
    const std::string_view line = library.libSentences[*best];
    std::optional<std::size_t> count = readHex(line.substr(0, std::min<std::size_t>(2, line.size())));
    if (!count && search.dialogs) search.dialogs->message(kUnreadableCandidate);
    const int m = static_cast<int>(count.value_or(0));

    const std::string_view stored = gbk::cutToBytes(line.substr(std::min<std::size_t>(2, line.size())), 3000);
    const std::size_t caret = findKeySeparator(stored);
    const std::string exampleSource(stored.substr(0, caret));
    search.StoredTarget = caret == std::string_view::npos
                              ? std::string()
                              : std::string(gbk::cutToBytes(stored.substr(caret + 1), 2000));
    search.AdaptedTarget = search.StoredTarget;

    // Where each token of the sentence occurs in the example's source. The search start
    // moves on by the token's length less one, not to the match.
    const std::vector<std::string> tokens = segmentKeys(sentence);
    const std::size_t n = tokens.size();
    std::vector<std::size_t> pos(n, 0), len(n, 0);
    std::size_t start = 1;
    int found = 0;
    std::string sentenceSource;
    for (std::size_t i = 0; i < n; ++i) {
        const std::string_view token = gbk::trim(tokens[i]);
        sentenceSource.append(" ").append(token);
        if (hasTag(tokens[i])) continue;
        pos[i] = findTokenFrom(start, exampleSource, token);
        if (pos[i] > 0) {
            ++found;
            len[i] = token.size();
            start = start + len[i] - 1;
        }
    }

    int d = m;
    if (hasTag(exampleSource)) d -= countTags(exampleSource);
    int q = static_cast<int>(n);
    if (hasTag(sentence.text)) q -= countTags(sentence.text);
    if (d < q) d = q;
    if (d == 0) d = 100;
    // The example's words are the sentence's: a full match, also when the term base has cut
    // the sentence into other tokens since the example was stored.
    search.ExampleRate = sameWords(exampleSource, sentenceSource, true)
                             ? 1.0
                             : cappedRate(static_cast<double>(found) / d, d, exampleSource, sentenceSource);
    if (search.RateOnly) return {};

    const auto percent = static_cast<long>(std::floor(search.ExampleRate * 100));
    if (!passesMatchRate(percent, options.matchrate)) search.ExampleRate = kNoExampleRate;

    if (search.ExampleRate < 1.1 && static_cast<long>(search.ExampleRate) == 1) return search.StoredTarget;

    if (search.ExampleRate < 1) {
        // Each gap of unmatched tokens: the example's words between the neighbouring matches
        // are looked up, and their meaning in the stored translation is replaced by the
        // meanings of the sentence's words of the gap.
        for (std::size_t i = 0; i < n; ++i) {
            if (pos[i] != 0) continue;
            const long from = i == 0 ? 1 : static_cast<long>(pos[i - 1] + len[i - 1]) - 1;
            long end = static_cast<long>(exampleSource.size()) + 1;
            for (std::size_t e = i; e < n; ++e) {
                if (pos[e] > 0) {
                    end = static_cast<long>(pos[e]);
                    break;
                }
            }
            const long first = std::max(from, 1L);
            const long length = std::max(end - from, 0L);
            std::string piece(
                gbk::trim(std::string_view(exampleSource)
                              .substr(std::min<std::size_t>(static_cast<std::size_t>(first - 1), exampleSource.size()),
                                      static_cast<std::size_t>(length))));
            std::string spare;
            normSent(piece, spare, engine, options.analysis);

            std::string replaced;
            const stClass& example = engine.refSent;
            for (std::int32_t k = 1; k <= example.segCount; ++k) {
                const auto slot = static_cast<std::size_t>(k);
                const std::string items = example.segKeys[slot] + "|" + example.segTrans[slot] + "|";
                for (std::string_view item : barItems(items)) {
                    if (!item.empty() && search.AdaptedTarget.find(item) != std::string::npos) {
                        replaced += item;
                        break;
                    }
                }
            }
            if (replaced.empty() || search.AdaptedTarget.find(replaced) == std::string::npos) continue;

            std::string replacement;
            std::size_t e = i;
            for (; e < n && pos[e] == 0; ++e) {
                if (e + 1 < sentence.segTrans.size()) replacement += meaningOf(sentence.segTrans[e + 1]);
            }
            replaceAllOf(search.AdaptedTarget, replaced, replacement);
            i = e;  // the loop goes on after the gap
        }
        return search.AdaptedTarget;
    }

    // No usable example: a meaning that an example sharing a run of tokens uses goes first,
    // so the machine translation that follows picks it.
    findsimint(library, sentence, search, SearchScope::Full);
    for (std::size_t u = 0; u + 1 < n;) {
        const PhraseHit& hit = search.PhraseHits[u];
        if (hit.span < 1) {
            ++u;
            continue;
        }
        const std::optional<std::size_t> index = readHex(hit.example);
        const std::string_view target = index && *index < library.libSentences.size()
                                            ? translationOf(library.libSentences[*index], 3000)
                                            : std::string_view();
        for (std::size_t j = u; j < u + static_cast<std::size_t>(hit.span) && j + 1 < sentence.segTrans.size(); ++j) {
            std::string& meanings = sentence.segTrans[j + 1];
            for (std::string_view item : barItems(meanings)) {
                if (!item.empty() && target.find(item) != std::string_view::npos) {
                    meanings = std::string(item) + "|" + meanings;
                    break;
                }
            }
        }
        u += static_cast<std::size_t>(hit.span);
    }
    return {};
}

}  // namespace tavricat
