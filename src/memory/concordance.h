#pragma once
// Concordance search: every example whose source holds a phrase (in the library's key form:
// lower-case base-form tokens) or whose translation holds a text, newest first, with where
// the match stands. Source phrases are found through the library's own word index; the
// words it leaves out (those whose postings reached the cap, kStopMarker) and the
// translations, which it does not index, are found through a ConcordanceIndex built over the
// examples once and built again when the library has changed.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
// characters and lower-case ASCII words.
class ConcordanceIndex {
public:
    // Whether the index describes `library` as it is (same examples, same last line).
    bool current(const SentenceLibrary& library) const;
    void build(const SentenceLibrary& library);
    // The examples holding `unit`, oldest first; empty when none.
    const std::vector<std::size_t>& examplesWith(std::string_view unit, bool translation) const;

private:
    std::unordered_map<std::string, std::vector<std::size_t>> m_capped;
    std::unordered_map<std::string, std::vector<std::size_t>> m_translations;
    std::size_t m_examples = static_cast<std::size_t>(-1);
    std::string m_lastLine;
};

// The hits of `query`, newest first, at most `limit`. `query` is a source phrase in key form,
// or with `inTranslation` a text of the translations (Chinese, or English compared without
// case). `index` is built or rebuilt when it is not current.
std::vector<ConcordanceHit> concordance(const SentenceLibrary& library, ConcordanceIndex& index, std::string_view query,
                                        bool inTranslation, std::size_t limit);

}  // namespace tavricat
