#include "memory/fuzzy_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <iterator>

#include "base/gbk.h"
#include "base/ports.h"
#include "document/inline_tags.h"
#include "engine/engine.h"
#include "engine/find_word.h"
#include "memory/example_adaptation.h"
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
            hits[first] = PhraseHit{static_cast<int>(span), 0, exampleIndexHex(example)};
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

// A rate of 1 says the example is the sentence: every token found is not enough when the
// example's words are not the sentence's in its order (tokens swapped, or one token of the
// sentence twice where the example has it once); such an example counts one token short.
// Inline tags, which the rates leave out, are left out here too.
double cappedRate(double rate, int denominator, std::string_view exampleSource, std::string_view sentenceSource) {
    if (rate < 1 || sameWords(exampleSource, sentenceSource, true)) return rate;
    return static_cast<double>(denominator - 1) / denominator;
}

// At most this many examples reached through capped tokens alone are rated per search (the
// newest of those that hold enough of the sentence's capped tokens), and at most
// kMaxCappedExamined are counted: a sentence of nothing but the commonest words would
// otherwise look at a large part of the library.
constexpr std::size_t kMaxCappedVisits = 20000;
constexpr std::size_t kMaxCappedExamined = 400000;

// Whether the ascending `list` holds `example`, looking only below `end`, which moves down to
// where `example` would go: called with examples going down, each call gallops from where the
// previous one stopped.
template <typename List>
bool holdsGoingDown(const List& list, std::size_t& end, std::size_t example) {
    std::size_t above = end;  // everything from here on is greater than `example`
    for (std::size_t step = 1; above > 0; step *= 2) {
        const std::size_t probe = above > step ? above - step : 0;
        if (list[probe] <= example) {
            end = static_cast<std::size_t>(std::upper_bound(list.begin() + static_cast<std::ptrdiff_t>(probe),
                                                            list.begin() + static_cast<std::ptrdiff_t>(above), example) -
                                           list.begin());
            return list[end - 1] == example;
        }
        above = probe;
    }
    end = 0;
    return false;
}

// The examples the posting merge did not visit (`visited`, ascending) that could still rate
// above the candidate threshold and reach `mustReach`, and only those newer than `newerThan`
// when it is set: they
// hold none of the sentence's indexed tokens, so all they can match are its capped tokens and
// the tokens the library has never seen. Such an example must hold `need` of the c capped
// positions, so it is in the list of at least one of the c - need + 1 positions with the
// shortest lists; those lists are merged, and each example they bring is counted in the
// others (shortest first) until it holds `need` or misses more than c - need. Newest first.
struct CappedOnlyExample {
    std::size_t example;
    std::size_t reachable;  // the most tokens it can match: the capped ones it holds and the unknown ones
};

std::vector<CappedOnlyExample> cappedOnlyExamples(const SentenceLibrary& library, const std::vector<QueryToken>& query,
                                            int leastDenominator, const std::vector<std::size_t>& visited,
                                            std::optional<std::size_t> newerThan, double mustReach) {
    std::vector<CappedOnlyExample> found;
    if (leastDenominator <= 0) return found;
    std::vector<const ExampleList*> lists;
    long unknown = 0;
    const CappedExamples* capped = nullptr;
    for (const QueryToken& token : query) {
        if (token.kind != QueryTokenClass::Unindexed) continue;
        if (!capped) capped = &library.cappedExamples();
        if (const ExampleList* list = capped->examplesOf(token.text)) lists.push_back(list);
        else ++unknown;
    }
    // m matched tokens rate above 0.64 only if 100 m > 64 d, and reach r only if m >= r d; d
    // is at least the least denominator.
    long matchesNeeded = 64L * leastDenominator / 100 + 1;
    if (mustReach > 0)
        matchesNeeded = std::max(matchesNeeded, static_cast<long>(std::ceil(mustReach * leastDenominator - 1e-9)));
    const long need = std::max(1L, matchesNeeded - unknown);
    if (lists.empty() || need > static_cast<long>(lists.size())) return found;
    std::sort(lists.begin(), lists.end(), [](const ExampleList* a, const ExampleList* b) { return a->size() < b->size(); });
    const std::size_t allowedMisses = lists.size() - static_cast<std::size_t>(need);
    const std::size_t seeds = allowedMisses + 1;

    // Per list, the end of the part not passed yet; the seeds are read down to `newerThan`.
    std::vector<std::size_t> ends(lists.size()), floors(seeds, 0);
    for (std::size_t l = 0; l < lists.size(); ++l) ends[l] = lists[l]->size();
    if (newerThan) {
        for (std::size_t l = 0; l < seeds; ++l)
            floors[l] = static_cast<std::size_t>(
                std::upper_bound(lists[l]->begin(), lists[l]->end(), static_cast<std::uint32_t>(*newerThan)) -
                lists[l]->begin());
    }
    std::size_t visitedEnd = visited.size();
    for (std::size_t examined = 0; examined < kMaxCappedExamined && found.size() < kMaxCappedVisits; ++examined) {
        // The newest example left in the seed lists, and how many of them hold it.
        bool any = false;
        std::uint32_t example = 0;
        for (std::size_t l = 0; l < seeds; ++l) {
            if (ends[l] > floors[l] && (!any || (*lists[l])[ends[l] - 1] > example)) {
                example = (*lists[l])[ends[l] - 1];
                any = true;
            }
        }
        if (!any) break;
        std::size_t misses = 0;
        for (std::size_t l = 0; l < seeds; ++l) {
            if (ends[l] > floors[l] && (*lists[l])[ends[l] - 1] == example) --ends[l];
            else ++misses;
        }
        if (holdsGoingDown(visited, visitedEnd, example)) continue;
        for (std::size_t l = seeds; l < lists.size() && misses <= allowedMisses; ++l)
            if (!holdsGoingDown(*lists[l], ends[l], example)) ++misses;
        if (misses <= allowedMisses)
            found.push_back({example, lists.size() - misses + static_cast<std::size_t>(unknown)});
    }
    return found;
}

}  // namespace

std::string Candidate::text() const { return rateText(rate) + exampleIndexHex(example); }

std::optional<std::size_t> FuzzySearch::bestExample() const {
    if (CandidateList.empty()) return std::nullopt;
    return CandidateList.back().example;
}

void rankSimilarExamples(const SentenceLibrary& library, const stClass& sentence, FuzzySearch& search, SearchScope scope) {
    const bool withPhraseHits = scope == SearchScope::Full || scope == SearchScope::PhraseHitsOnly;
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
        bool cappedOnly = false;  // reached through capped tokens: looked at only as a candidate
        std::size_t reachable = SIZE_MAX;  // for those: the most tokens it can match
    };
    // An example with the sentence's source (its words, however the term base cut them into
    // tokens) ends the search: the newest such example, found through the library's index of
    // sources, whether or not the posting merge visits it (its words may all be capped).
    std::optional<std::size_t> exactExample;
    if (const std::vector<std::size_t> same = library.examplesWithSource(querySource); !same.empty())
        exactExample = same.back();
    auto endWithExactHit = [&] {
        search.CandidateList.assign(1, Candidate{1.0, *exactExample});
        search.ExactHit = true;
    };
    // Only phrase hits need the examples visited before it, and only the newer ones.
    if (exactExample && !withPhraseHits) {
        endWithExactHit();
        return;
    }
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
            if (exactExample && example <= *exactExample) break;  // the rating stops there
        }
    }

    // Examples that share only capped tokens with the sentence, newest first. They can rate
    // no higher than all the tokens searched as text over the least denominator.
    const double cappedOnlyHighest =
        leastDenominator > 0 ? static_cast<double>(textPositions.size()) / leastDenominator : 0;
    auto cappedOnlyVisits = [&](std::optional<std::size_t> newerThan, double mustReach) {
        std::vector<Visit> extra;
        if (cappedOnlyHighest <= kCandidateThreshold) return extra;
        std::vector<std::size_t> visited;
        visited.reserve(visits.size());
        for (const Visit& visit : visits) visited.push_back(visit.example);
        std::sort(visited.begin(), visited.end());
        visited.erase(std::unique(visited.begin(), visited.end()), visited.end());
        for (const CappedOnlyExample& found : cappedOnlyExamples(library, query, leastDenominator, visited, newerThan, mustReach))
            extra.push_back({found.example, 0, 0, true, found.reachable});
        return extra;
    };

    const bool bestOnly = scope == SearchScope::BestOnly;
    // When only the best example is wanted, the order of the visits does not matter (the
    // best is the highest rate, the newest among equals, or the newest exact example), so
    // the examples sharing the most indexed tokens go first: a good rate found early lets
    // the rest be passed over.
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
    auto cannotImprove = [&](std::size_t matchedCount, std::size_t example, bool phrases) {
        if (phrases || leastDenominator <= 0) return false;
        const double highest = highestWithout(matchedCount);
        return highest <= kCandidateThreshold || !beats(highest, example);
    };

    constexpr std::size_t kFetchAhead = 8;
    std::vector<std::size_t> matched;
    // The newest example whose rate brought `best` up to what an example sharing only capped
    // tokens can reach: older ones of those cannot become candidates.
    std::optional<std::size_t> cappedOnlyOutrated;
    std::vector<double> candidateRates;  // CandidateList's rates as rated, before rounding
    // Rates `list` in its order, recording phrase hits when `phrases`; true when an exact
    // example ended the search.
    auto rateVisits = [&](const std::vector<Visit>& list, bool phrases) {
        for (std::size_t v = 0; v < list.size(); ++v) {
            if (v + kFetchAhead < list.size()) library.prefetchSignature(list[v + kFetchAhead].example);
            const std::size_t example = list[v].example;
            // Visits go newest first here: the phrase hits of the examples newer than the exact
            // one are recorded, then it ends the search.
            if (exactExample && example <= *exactExample) {
                endWithExactHit();
                return true;
            }
            if (list[v].matchedCount < indexedCount && cannotImprove(list[v].matchedCount, example, phrases)) {
                // Sorted by matched tokens, no later visit can do better.
                if (bestOnly) {
                    const double highest = highestWithout(list[v].matchedCount);
                    if (highest <= kCandidateThreshold || highest < best) break;
                }
                continue;
            }
            const auto firstMatched = matchedPositions.begin() + static_cast<std::ptrdiff_t>(list[v].firstMatched);
            matched.assign(firstMatched, firstMatched + static_cast<std::ptrdiff_t>(list[v].matchedCount));
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
                    reachable = std::min(reachable, list[v].reachable);
                    const double highest = static_cast<double>(reachable) / denominator;
                    const bool mayBeCandidate = highest > kCandidateThreshold && beats(highest, example);
                    if (!mayBeCandidate && (list[v].cappedOnly || !phrases ||
                                            !mayLengthenPhraseHit(mayMatch, search.PhraseHits)))
                        continue;
                }
            }
            const int m = static_cast<int>(readHexNumber(std::string_view(line).substr(0, 2)).value_or(0));
            const std::string_view source = exampleSourceOf(line);

            // A token searched as text counts wherever the source holds it, as an indexed
            // token does: an example's rate must not depend on how common its words are in
            // the rest of the library.
            for (std::size_t t = 0; t < textPositions.size(); ++t) {
                if (!textMayOccur[t]) continue;
                const std::size_t l = textPositions[t];
                if (findTokenFrom(1, source, query[l].text) > 0) matched.push_back(l);
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

            if (phrases && !list[v].cappedOnly) recordRuns(matched, example, search.PhraseHits);

            if (rate > kCandidateThreshold && beats(rate, example)) {
                best = rate;
                bestExample = example;
                if (!bestOnly) {
                    search.CandidateList.push_back(candidate(rate, example));
                    candidateRates.push_back(rate);
                }
                if (!cappedOnlyOutrated && best >= cappedOnlyHighest) cappedOnlyOutrated = example;
            }
        }
        return false;
    };
    // In the newest-first orders the candidates are the examples that rate above every newer
    // visit. Examples sharing only capped tokens that are older than the visit which outrated
    // them cannot be candidates; the newer ones join the visits down to that one in their place,
    // the candidates are worked out again over those, and the older candidates that still rate
    // above them follow. The phrase hits stay: those examples add none.
    auto addCappedOnlyCandidates = [&] {
        const std::vector<Visit> extra = cappedOnlyVisits(cappedOnlyOutrated, 0);
        if (extra.empty()) return;
        auto older = [&](std::size_t example) { return cappedOnlyOutrated && example < *cappedOnlyOutrated; };
        std::vector<Visit> merged;
        std::size_t e = 0;
        for (const Visit& visit : visits) {
            if (older(visit.example)) break;
            while (e < extra.size() && extra[e].example > visit.example) merged.push_back(extra[e++]);
            merged.push_back(visit);
        }
        merged.insert(merged.end(), extra.begin() + static_cast<std::ptrdiff_t>(e), extra.end());
        std::vector<std::pair<Candidate, double>> olderCandidates;
        for (std::size_t c = 0; c < search.CandidateList.size(); ++c)
            if (older(search.CandidateList[c].example)) olderCandidates.emplace_back(search.CandidateList[c], candidateRates[c]);
        search.CandidateList.clear();
        candidateRates.clear();
        best = 0;
        bestExample = 0;
        rateVisits(merged, false);
        for (const auto& [entry, rate] : olderCandidates) {
            if (rate <= best) continue;
            best = rate;
            bestExample = entry.example;
            search.CandidateList.push_back(entry);
        }
    };
    if (rateVisits(visits, withPhraseHits)) return;
    // Examples sharing only capped tokens set no phrase hit.
    if (!exactExample && scope != SearchScope::PhraseHitsOnly) {
        if (bestOnly) {
            // Rated last, and only when the examples the merge found leave room for them.
            if (best <= cappedOnlyHighest) {
                std::optional<std::size_t> newerThan;
                if (best > 0 && best == cappedOnlyHighest) newerThan = bestExample;
                rateVisits(cappedOnlyVisits(newerThan, best), false);
            }
        } else {
            addCappedOnlyCandidates();
        }
    }
    if (exactExample) {
        endWithExactHit();
        return;
    }
    if (bestOnly && best > 0) search.CandidateList.assign(1, candidate(best, bestExample));
}

std::string adaptBestExample(const SentenceLibrary& library, Engine& engine, const SimilarityOptions& options,
                       FuzzySearch& search) {
    stClass& sentence = engine.workSent;
    // Only the best example is rated; phrase hits matter only when no example is usable and
    // are collected then.
    rankSimilarExamples(library, sentence, search, SearchScope::BestOnly);
    if (search.CandidateList.empty()) return {};

    std::sort(search.CandidateList.begin(), search.CandidateList.end());
    const std::optional<std::size_t> best = search.bestExample();
    if (!best || *best >= library.libSentences.size()) {
        if (search.dialogs) search.dialogs->message(kUnreadableCandidate);
        return {};
    }
    const StoredExample example = readStoredExample(library.libSentences[*best]);
    if (!example.countReadable && search.dialogs) search.dialogs->message(kUnreadableCandidate);
    search.StoredTarget = example.translation;
    search.AdaptedTarget = search.StoredTarget;

    const TokenMatch match = matchTokens(sentence, example.source);
    const std::size_t n = match.pos.size();
    const int d = rateDenominator(example.wordCount, example.source, sentence);
    // The example's words are the sentence's: a full match, also when the term base has cut
    // the sentence into other tokens since the example was stored.
    search.ExampleRate = sameWords(example.source, match.sentenceSource, true)
                             ? 1.0
                             : cappedRate(static_cast<double>(match.found) / d, d, example.source, match.sentenceSource);
    if (search.RateOnly) return {};

    if (!passesMatchRate(percentOf(search.ExampleRate), options.matchrate)) search.ExampleRate = kNoExampleRate;

    if (search.ExampleRate < 1.1 && static_cast<long>(search.ExampleRate) == 1) return search.StoredTarget;

    if (search.ExampleRate < 1) {
        // Each gap of unmatched tokens: the example's words between the neighbouring matches
        // are looked up, and their meaning in the stored translation is replaced by the
        // meanings of the sentence's words of the gap.
        for (std::size_t i = 0; i < n; ++i) {
            if (match.pos[i] != 0) continue;
            const SourceGap gap = gapInSource(match, i, example.source.size());
            std::string piece(gbk::trim(std::string_view(example.source).substr(gap.offset, gap.length)));
            std::string spare;
            normSent(piece, spare, engine, options.analysis);

            // A labelled meaning ("[v.]清洁") is looked for as the word the translation holds.
            const std::string replaced = meaningsUsedIn(engine.refSent, search.AdaptedTarget, true);
            if (replaced.empty() || search.AdaptedTarget.find(replaced) == std::string::npos) continue;

            std::size_t end = i;
            const std::string replacement = gapMeanings(sentence, match, i, end);
            replaceAllOf(search.AdaptedTarget, replaced, replacement);
            i = end;  // the loop goes on after the gap
        }
        return search.AdaptedTarget;
    }

    // No usable example: a meaning that an example sharing a run of tokens uses goes first,
    // so the machine translation that follows picks it.
    rankSimilarExamples(library, sentence, search, SearchScope::PhraseHitsOnly);
    promotePhraseMeanings(library, sentence, search.PhraseHits, false);
    return {};
}

}  // namespace tavricat
