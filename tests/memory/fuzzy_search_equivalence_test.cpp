// The candidate search passes over examples it can prove irrelevant from their line
// summaries, and, when only the best example is wanted, rates the most promising first; it
// reaches examples that share only capped tokens through their own lists, and looks only at
// those that can rate high enough. Here it is compared with a plain rating of every visited
// example (and every example holding a capped token), on seeded
// random libraries full of short words that occur inside other words, tokens of two words,
// frequent words past the posting limit, inline tags and deleted examples.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "base/list_order.h"
#include "document/inline_tags.h"
#include "memory/fuzzy_search.h"
#include "support/analysis_builder.h"

namespace tavricat {
namespace {

using testing::analysisOf;

// The words of a text (runs of non-blank bytes), tags left out on request.
std::vector<std::string> wordsOf(const std::string& text, bool withTags = true) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (end > at && (withTags || !hasTag(text.substr(at, end - at)))) words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// 1-based position of `token` in `key` at or after `start` with a blank or an end of the key
// on either side; 0 when there is none.
std::size_t wholeTokenAt(std::size_t start, const std::string& key, const std::string& token) {
    for (std::size_t p = std::max<std::size_t>(start, 1); p + token.size() <= key.size() + 1; ++p) {
        const std::size_t i = p - 1, end = i + token.size();
        if (key.compare(i, token.size(), token) == 0 && (i == 0 || key[i - 1] == ' ') &&
            (end == key.size() || key[end] == ' '))
            return p;
    }
    return 0;
}

// Every visited example rated in full, in the order of the merge.
FuzzySearch plainSearch(const SentenceLibrary& library, const std::vector<std::string>& tokens, const std::string& text) {
    FuzzySearch search;
    if (library.libSentences.empty()) return search;
    const std::size_t n = tokens.size();
    std::vector<int> kind(n, 0);  // 0 text, 1 indexed, 2 tag
    std::vector<std::string> postings(n);
    std::string key;
    for (std::size_t l = 0; l < n; ++l) {
        key += (l ? " " : "") + tokens[l];
        if (hasTag(tokens[l])) {
            kind[l] = 2;
            continue;
        }
        SortedFind at = findSorted(library.libWords, tokens[l]);
        if (at.found && library.libPostings[at.index] != kStopMarker) {
            kind[l] = 1;
            postings[l] = library.libPostings[at.index];
        }
    }
    key += " ^";
    const int queryTags = countTags(key);
    search.PhraseHits.assign(n, PhraseHit{});
    // The newest example with the sentence's words, visited or not, ends the search when the
    // visits reach it (newest first).
    std::optional<std::size_t> exact;
    for (std::size_t k = library.libSentences.size(); k-- > 0 && !exact;) {
        const std::string& line = library.libSentences[k];
        const std::size_t caret = line.find('^');
        if (caret != std::string::npos && caret > 2 && wordsOf(line.substr(2, caret - 2)) == wordsOf(key.substr(0, key.size() - 2)))
            exact = k;
    }
    auto exactHit = [&] {
        search.CandidateList = {Candidate{1.0, *exact}};
        search.ExactHit = true;
        return search;
    };
    // The visits: the merge of the indexed tokens' postings, newest first; among them, in
    // their place, every other example whose source holds a token whose postings are capped
    // (it can only be a candidate, it sets no phrase hit).
    struct Visit {
        std::size_t example;
        std::vector<std::size_t> matched;
        bool cappedOnly;
    };
    std::vector<Visit> merged;
    std::vector<bool> visited(library.libSentences.size(), false);
    std::vector<std::size_t> cursor(n, 0);
    while (true) {
        std::string head;
        for (std::size_t l = 0; l < n; ++l)
            if (kind[l] == 1 && cursor[l] + 5 <= postings[l].size()) head = std::max(head, postings[l].substr(cursor[l], 5));
        if (head.empty()) break;
        std::vector<std::size_t> matched;
        for (std::size_t l = 0; l < n; ++l) {
            if (kind[l] == 1 && cursor[l] + 5 <= postings[l].size() && postings[l].substr(cursor[l], 5) == head) {
                matched.push_back(l);
                cursor[l] += 5;
            }
        }
        const std::size_t k = std::stoul(head, nullptr, 16);
        visited[k] = true;
        merged.push_back({k, matched, false});
    }
    std::vector<Visit> visits;
    std::size_t next = 0;
    for (std::size_t k = library.libSentences.size(); k-- > 0;) {
        while (next < merged.size() && merged[next].example >= k) visits.push_back(merged[next++]);
        if (visited[k]) continue;
        const std::string& line = library.libSentences[k];
        const std::size_t caret = line.find('^');
        if (caret == std::string::npos || caret <= 2) continue;
        const std::string source = line.substr(2, caret - 2);
        bool holdsCapped = false;
        for (std::size_t l = 0; l < n && !holdsCapped; ++l) {
            if (kind[l] != 0) continue;
            const SortedFind at = findSorted(library.libWords, tokens[l]);
            holdsCapped = at.found && library.libPostings[at.index] == kStopMarker && wholeTokenAt(1, source, tokens[l]);
        }
        if (holdsCapped) visits.push_back({k, {}, true});
    }
    while (next < merged.size()) visits.push_back(merged[next++]);

    double best = 0;
    for (Visit& visit : visits) {
        std::vector<std::size_t>& matched = visit.matched;
        const std::size_t k = visit.example;
        const std::string head = exampleIndexHex(k);
        if (exact && k <= *exact) return exactHit();
        const std::string& line = library.libSentences[k];
        // The example's source: its tokens between the count and the "^".
        const std::string source = line.substr(2, line.find('^') - 2);
        for (std::size_t l = 0; l < n; ++l)
            if (kind[l] == 0 && wholeTokenAt(1, source, tokens[l])) matched.push_back(l);
        int d = std::stoi(line.substr(0, 2), nullptr, 16);
        if (!hasTag(text)) d -= countTags(line);
        d -= countTags(line.substr(0, line.find('^') + 1));
        if (d < static_cast<int>(n)) d = static_cast<int>(n) - queryTags;
        if (d == 0) d = 100;
        double rate = static_cast<double>(matched.size()) / d;
        // Every token found but not the sentence's words in its order: one short of full.
        if (rate >= 1 && wordsOf(source, false) != wordsOf(key.substr(0, key.size() - 2), false))
            rate = static_cast<double>(d - 1) / d;
        std::sort(matched.begin(), matched.end());
        for (std::size_t a = 0; a < matched.size() && !visit.cappedOnly;) {
            std::size_t b = a + 1;
            while (b < matched.size() && matched[b] == matched[b - 1] + 1) ++b;
            if (b - a >= 2 && search.PhraseHits[matched[a]].span < static_cast<int>(b - a))
                search.PhraseHits[matched[a]] = {static_cast<int>(b - a), 0, head};
            a = b;
        }
        if (rate > 0.64 && rate > best) {
            best = rate;
            char entry[16];
            std::snprintf(entry, sizeof entry, "%.6f", rate);
            search.CandidateList.push_back({std::strtod(entry, nullptr), k});
        }
    }
    return exact ? exactHit() : search;
}

std::string describePhraseHits(const FuzzySearch& s) {
    std::string out;
    for (const PhraseHit& h : s.PhraseHits) out += " " + std::to_string(h.span) + (h.span ? ":" + h.example : "");
    return out;
}

std::string describe(const FuzzySearch& s) {
    std::string out = s.ExactHit ? "exact " : "";
    for (const Candidate& c : s.CandidateList) out += c.text() + " ";
    return out + "|" + describePhraseHits(s);
}

TEST(FuzzySearchEquivalenceTest, SkippingExamplesNeverChangesTheResult) {
    // Words that occur inside each other and in the translations; tokens of two words that
    // other examples hold as two tokens.
    const std::vector<std::string> vocabulary = {"a", "an", "and", "the", "then", "he", "hen", "i", "it", "its",
                                                 "<1:>", "<:1>", "<:2:>", "cat", "cats", "at", "to", "top",
                                                 "stop", "pot", "the cat", "to the", "x1", "x2", "x3", "x4",
                                                 "x5", "x6"};
    std::mt19937 random(20261209);
    int withCandidates = 0, exactHits = 0, stopMarkers = 0;
    for (int round = 0; round < 6; ++round) {
        SentenceLibrary library;
        std::vector<std::vector<std::string>> sentences;
        const int examples = round < 3 ? 300 : 2500;  // the larger ones push frequent words past the limit
        // Words early in the list are drawn more often.
        auto draw = [&] { return vocabulary[std::min(random() % vocabulary.size(), random() % vocabulary.size())]; };
        for (int e = 0; e < examples; ++e) {
            std::vector<std::string> tokens;
            if (!sentences.empty() && random() % 3 == 0) {
                tokens = sentences[random() % sentences.size()];
                tokens[random() % tokens.size()] = draw();
            } else {
                const std::size_t length = 2 + random() % 9;
                for (std::size_t t = 0; t < length; ++t) tokens.push_back(draw());
            }
            const std::string translation = random() % 4 == 0 ? "the cat <1:>译<:1>" : "译文" + tokens[0];
            ASSERT_TRUE(library.addAnalysed(analysisOf(tokens), translation).isOk());
            sentences.push_back(tokens);
        }
        stopMarkers += static_cast<int>(std::count(library.libPostings.begin(), library.libPostings.end(), kStopMarker));
        for (int d = 0; d < 20; ++d) ASSERT_TRUE(library.deleteSample(random() % examples).isOk());

        for (int q = 0; q < 300; ++q) {
            std::vector<std::string> query = sentences[random() % sentences.size()];
            const int changes = static_cast<int>(random() % 4);
            for (int c = 0; c < changes; ++c) query[random() % query.size()] = vocabulary[random() % vocabulary.size()];
            if (random() % 5 == 0) query.push_back("x" + std::to_string(random() % 9));
            const stClass sentence = analysisOf(query);

            const FuzzySearch expected = plainSearch(library, query, sentence.text);
            withCandidates += !expected.CandidateList.empty() && !expected.ExactHit;
            exactHits += expected.ExactHit;
            FuzzySearch full;
            rankSimilarExamples(library, sentence, full, SearchScope::Full);
            ASSERT_EQ(describe(full), describe(expected)) << "round " << round << " query " << q;
            FuzzySearch phrases;
            rankSimilarExamples(library, sentence, phrases, SearchScope::PhraseHitsOnly);
            EXPECT_EQ(describePhraseHits(phrases), describePhraseHits(expected)) << "round " << round << " query " << q;
            FuzzySearch candidates;
            rankSimilarExamples(library, sentence, candidates, SearchScope::CandidatesOnly);
            EXPECT_EQ(candidates.CandidateList, expected.CandidateList) << "round " << round << " query " << q;
            EXPECT_EQ(candidates.ExactHit, expected.ExactHit);
            FuzzySearch bestOnly;
            rankSimilarExamples(library, sentence, bestOnly, SearchScope::BestOnly);
            EXPECT_EQ(bestOnly.CandidateList, expected.CandidateList.empty()
                                                  ? std::vector<Candidate>{}
                                                  : std::vector<Candidate>{expected.CandidateList.back()})
                << "round " << round << " query " << q;
            EXPECT_EQ(bestOnly.ExactHit, expected.ExactHit);
        }
    }
    // The comparison covered every kind of outcome.
    EXPECT_GT(withCandidates, 100);
    EXPECT_GT(exactHits, 100);
    EXPECT_GT(stopMarkers, 0);
}

}  // namespace
}  // namespace tavricat
