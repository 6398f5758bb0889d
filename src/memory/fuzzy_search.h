#pragma once
// Finding earlier translations of a sentence in the sentence library. Similarity is a share
// of tokens: how many of the sentence's tokens an example holds, over a token count. Only
// examples that share an indexed token are visited, newest first, by merging the posting
// lists of the sentence's tokens from their heads; tokens too common to be indexed (and
// tokens the library has never seen) are looked for as whole tokens among the example's
// tokens. Only an example with the sentence's words in the sentence's order rates 100 %.

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "engine/analyser.h"
#include "engine/sentence_analysis.h"
#include "memory/sentence_library.h"

namespace tavricat {

class Dialogs;
class Engine;

inline constexpr const char* kUnreadableCandidate = "errro 803 occur!";
// The lowest rate (exclusive) at which an example becomes a candidate.
inline constexpr double kCandidateThreshold = 0.64;
// ExampleRate when no example is usable; as a percentage its integer part is 999.
inline constexpr double kNoExampleRate = 9.99;

// One record per token position of the sentence: some visited example holds the tokens
// position .. position+span-1 as a run of matched positions.
struct PhraseHit {
    int span = 0;          // 0: none
    int second = 0;        // never set by the search
    std::string example;   // the example's index, 5 hexadecimal digits
};

// An example that rated above every one the search had visited before it.
struct Candidate {
    double rate = 0;          // rounded to six significant digits, as it is shown
    std::size_t example = 0;  // the example's index in the library

    // "0.812500" + the example's 5-digit hexadecimal index, as the rate is shown and logged.
    std::string text() const;
    friend bool operator==(const Candidate&, const Candidate&) = default;
    // By rate, then by index.
    friend bool operator<(const Candidate& a, const Candidate& b) {
        return a.rate != b.rate ? a.rate < b.rate : a.example < b.example;
    }
};

// The state of the last search of one sentence.
struct FuzzySearch {
    // Only improving entries, so after an ascending sort (they are added in ascending order
    // anyway) the last one names the best example.
    std::vector<Candidate> CandidateList;
    std::vector<PhraseHit> PhraseHits;
    bool ExactHit = false;

    // Set by the batch search: the best example's rate (1.0 = 100 %), kNoExampleRate when no
    // example is usable. The caller sets it beforehand; it stays when nothing is found.
    double ExampleRate = kNoExampleRate;
    // The best example's translation with the sentence's words put in, and as stored.
    std::string AdaptedTarget;
    std::string StoredTarget;
    // Stop after rating (library update): the search returns no text.
    bool RateOnly = false;
    // Where "errro 803 occur!" goes; nothing is shown without one.
    Dialogs* dialogs = nullptr;

    // The example the last entry of CandidateList names.
    std::optional<std::size_t> bestExample() const;
};

enum class SearchScope {
    Full,            // CandidateList, ExactHit and PhraseHits
    CandidatesOnly,  // PhraseHits left as n empty records: far fewer lines need reading
    BestOnly,        // CandidateList holds only its last entry (the best example); fewer still
    PhraseHitsOnly,  // PhraseHits as Full's; CandidateList and ExactHit are not to be used
};

// `rankSimilarExamples`: rates every example that shares an indexed token with `sentence` (segKeys
// 1..segCount, text) and fills CandidateList, PhraseHits and ExactHit. An example holding
// exactly the sentence's words (in any cut into tokens) ends the search as the single entry
// 1.000000; any other example rates below 1. Examples whose line summary shows they can
// change neither list are passed over unread.
void rankSimilarExamples(const SentenceLibrary& library, const stClass& sentence, FuzzySearch& search,
                SearchScope scope = SearchScope::Full);

struct SimilarityOptions {
    AnalysisOptions analysis;
    int matchrate = 65;  // percent; a best example rated at or below it is not used (see passesMatchRate)
};

// Whether a best example rated `percent` (the integer part of its rate × 100) is used under
// the setting `matchrate`: a rate above the setting is; the highest setting, 100, takes full
// matches only.
inline bool passesMatchRate(long percent, int matchrate) { return percent > std::min(matchrate, 99); }

// `adaptBestExample`: the batch search over engine.workSent. Returns the translation to use (the
// stored one for a full match, the adapted one for a fuzzy match) or empty. With no usable
// example, items of engine.workSent.segTrans that examples sharing a run of tokens use are
// moved to the front, for the machine translation that follows; PhraseHits are filled only
// then. CandidateList holds the best entry only. Uses engine.refSent.
std::string adaptBestExample(const SentenceLibrary& library, Engine& engine, const SimilarityOptions& options,
                       FuzzySearch& search);

}  // namespace tavricat
