#pragma once
// Concordance search: every example whose source holds a phrase (in the library's key form:
// lower-case base-form tokens) or whose translation holds a text, newest first, with where
// the match stands. Source phrases are found through the library's own word index; the
// words it leaves out (those whose postings reached the cap, kStopMarker) and the
// translations, which it does not index, are found through the library's ConcordanceIndex,
// built in memory at the first search that needs it and kept in step by every change of the
// library from then on.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "memory/word_lists.h"

namespace tavricat {

class SentenceLibrary;

struct ConcordanceHit {
    std::size_t example = 0;
    std::string source;       // the example's source tokens
    std::string translation;
    bool inTranslation = false;
    std::size_t at = 0;       // byte offset of the match in source or translation
    std::size_t length = 0;
};

// The units the library's index leaves out: capped source tokens; the translations' Chinese
// characters and lower-case ASCII words. Each unit's examples are kept in ascending order.
class ConcordanceIndex {
public:
    using Examples = ExampleList;

    void build(const SentenceLibrary& library);
    // Whether the index was built over as many examples as `library` holds now (lines added
    // to the lists from outside the library's methods make it stale).
    bool inStepWith(const SentenceLibrary& library) const;

    // Kept in step by the library: example `example` got the line `line` (added or changed),
    // or lost `line` (deleted or changed), or `token` reached the posting cap while its
    // postings named `examples`.
    void add(std::size_t example, std::string_view line);
    void remove(std::size_t example, std::string_view line);
    void capped(std::string_view token, Examples examples);
    void setExampleCount(std::size_t count) { m_examples = count; }

    // The examples holding `unit`, oldest first; empty when none.
    const Examples& examplesWith(std::string_view unit, bool translation) const;

private:
    template <typename Change>
    void forEachList(std::string_view line, Change change);

    WordLists m_capped;                  // every capped token has an entry
    std::vector<Examples> m_characters;  // by (lead - 0x81) * 256 + trail
    WordLists m_words;                   // lower-case ASCII words of translations
    std::size_t m_examples = 0;
};

// The hits of `query`, newest first, at most `limit`. `query` is a source phrase in key form,
// or with `inTranslation` a text of the translations (Chinese, or English compared without
// case).
std::vector<ConcordanceHit> concordance(const SentenceLibrary& library, std::string_view query, bool inTranslation,
                                        std::size_t limit);

}  // namespace tavricat
