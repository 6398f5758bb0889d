#include "interactive/best_example.h"

#include <algorithm>
#include <cmath>

#include "base/gbk.h"
#include "base/ports.h"
#include "document/han_spacing.h"
#include "engine/engine.h"
#include "memory/example_adaptation.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

std::string spaced(const std::string& text, bool spaceInHanChar) {
    return spaceInHanChar ? AddSpaceInCChars(text) : text;
}

// The rate, with the 99 % rule: every word found is a full match only when the example's
// words are the sentence's, in its order.
double rateOf(const TokenMatch& match, int denominator, const std::string& exampleSource) {
    const int found = std::min(match.found, denominator);
    double rate = static_cast<double>(found) / denominator;
    if (static_cast<long>(rate) == 1 && !sameWords(exampleSource, match.sentenceSource, true)) rate -= 0.01;
    return rate;
}

void noExample(const SentenceLibrary& library, stClass& sentence, FuzzySearch& search, BestExample& best) {
    best.path = ExamplePath::None;
    best.AdaptedTarget.clear();
    best.reference = {};
    // Runs of tokens the examples share are collected only now that they are needed.
    rankSimilarExamples(library, sentence, search, SearchScope::PhraseHitsOnly);
    best.phraseMeanings = promotePhraseMeanings(library, sentence, search.PhraseHits, true);
}

// Walks the differences between the sentence and the example: marks the unmatched tokens,
// colours the example's differing words, and replaces them in the translation.
void adaptFuzzy(Engine& engine, const TokenMatch& match, const BestExampleOptions& options, BestExample& best) {
    const stClass& sentence = engine.workSent;
    const std::size_t n = match.pos.size();
    best.reference = referenceOf(best.source, std::lround(best.ExampleRate * 100), spaced(best.translation, options.spaceInHanChar));
    for (std::size_t i = 0; i < n; ++i) {
        if (match.pos[i] != 0) continue;
        std::size_t end = i;
        while (end < n && match.pos[end] == 0) best.differs[end++] = true;

        const SourceGap gap = gapInSource(match, i, best.source.size(), true);
        markDifference(best.reference, gap.offset, gap.length);
        const std::string differing(gbk::trim(std::string_view(best.source).substr(gap.offset, gap.length)));

        // Words the translation holds as they are (numbers, names, untranslated words) take
        // the sentence's word as it is.
        if (!differing.empty() && best.AdaptedTarget.find(differing) != std::string::npos) {
            const std::string word =
                i + 1 < sentence.segText.size() ? std::string(gbk::trim(sentence.segText[i + 1])) : std::string();
            replaceAllOf(best.AdaptedTarget, differing, word);
            continue;  // the next token, even inside this difference, starts a difference of its own
        }
        std::string piece = differing;
        std::string spare;
        normSent(piece, spare, engine, options.analysis);
        const std::string used = meaningsUsedIn(engine.refSent, best.AdaptedTarget, true);
        if (!used.empty() && best.AdaptedTarget.find(used) != std::string::npos) {
            std::size_t after = i;
            replaceAllOf(best.AdaptedTarget, used, gapMeanings(sentence, match, i, after));
        }
        i = end;  // on after the difference
    }
}

}  // namespace

BestExample chooseBestExample(const SentenceLibrary& library, Engine& engine, FuzzySearch& search,
                              const BestExampleOptions& options, Dialogs& dialogs) {
    BestExample best;
    stClass& sentence = engine.workSent;
    best.differs.assign(static_cast<std::size_t>(std::max(sentence.segCount, 0)), false);
    if (search.CandidateList.empty()) {
        noExample(library, sentence, search, best);
        return best;
    }
    std::sort(search.CandidateList.begin(), search.CandidateList.end());
    best.example = search.bestExample();
    const std::string line = best.example && *best.example < library.libSentences.size()
                                 ? library.libSentences[*best.example]
                                 : std::string();
    const StoredExample stored = readStoredExample(line);
    if (!stored.countReadable) dialogs.message(kUnreadableExample);
    best.source = stored.source;
    best.translation = stored.translation;
    best.AdaptedTarget = stored.translation;

    const TokenMatch match = matchTokens(sentence, best.source);
    if (search.ExactHit) {
        best.ExampleRate = 1.0;
    } else {
        best.ExampleRate = rateOf(match, rateDenominator(stored.wordCount, best.source, sentence), best.source);
        if (!passesMatchRate(percentOf(best.ExampleRate), options.matchrate)) best.ExampleRate = kNoExampleRate;
    }

    if (best.ExampleRate == 1.0) {
        best.path = ExamplePath::Full;
        best.reference = referenceOf(best.source, 100, spaced(best.translation, options.spaceInHanChar));
    } else if (best.ExampleRate < 1.1) {
        best.path = ExamplePath::Fuzzy;
        adaptFuzzy(engine, match, options, best);
    } else {
        noExample(library, sentence, search, best);
    }
    return best;
}

}  // namespace tavricat
